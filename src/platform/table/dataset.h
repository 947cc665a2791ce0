#pragma once

#include "platform/table/database.h"
#include "platform/table/query.h"
#include "platform/table/tabledef.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
#include <vector>

namespace Brelvan::Table {

// The cursor every page, report and tool walks: a live result over one table, opened from
// the SQL text it holds (or over the whole table in key order), with a current record, the
// browse/edit/insert states and the events the pages hang their rules on.
//
// Values: an empty field is an invalid QVariant, kept apart from 0 and from "". Text and
// memo fields hold QString, dates QDate, money and float double, integers int, pictures
// QByteArray.
class Dataset : public QObject
{
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Handler = std::function<void(Dataset &)>;

    explicit Dataset(const QString &name, QObject *parent = nullptr);
    ~Dataset() override;

    QString name() const { return objectName(); }
    void setDatabase(Database *database);
    Database *database() const { return m_db; }

    // A table dataset has no SQL text: it shows the whole table in key order.
    void setTableName(const QString &table);
    QString tableName() const { return m_tableName; }
    // The held SQL text, as lines; kept across close and reopen.
    void setSql(const QStringList &lines);
    QStringList sql() const { return m_sql; }
    QString sqlText() const { return m_sql.join(QLatin1Char('\n')); }

    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    // Reopens with the same text, keeping the current record where it still shows.
    void refresh();
    // Whether edits to this result are saved to the table.
    bool isLive() const { return isOpen() && m_live; }
    const TableDef *table() const { return m_def; }

    // Records: count excludes a record being inserted and not yet posted.
    int recordCount() const;
    int rowCount() const { return int(m_rows.size()); } // rows a grid shows
    int row() const { return m_cur; }                   // -1 when empty
    int recNo() const { return m_cur + 1; }
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return m_rows.empty(); }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);

    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool isModified() const { return m_modified; }
    void edit();
    void append();
    void insert();
    void post();
    void cancel();
    void remove();
    // Before a move: posts a changed record, drops an untouched one.
    void checkBrowseMode();
    // The pages' rule: a record being edited is posted, one being inserted is left alone.
    void postIfEditing();
    // Before the query closes: a record being edited, or a new one with anything typed in
    // it, is posted; an untouched new row is left to be dropped.
    void postPending();

    int fieldCount() const { return m_def ? int(m_def->fields.size()) : 0; }
    int fieldIndex(const QString &field) const; // -1 when unknown
    const FieldDef &fieldDef(int field) const { return m_def->fields.at(field); }

    QVariant value(int field) const;
    QVariant value(const QString &field) const { return value(checkedIndex(field)); }
    QVariant valueAt(int row, int field) const;
    bool isNull(const QString &field) const { return !value(field).isValid(); }
    QString text(const QString &field) const;
    double number(const QString &field) const;
    QDate date(const QString &field) const;
    // Sets a field of the record being edited. Text is cut to the field's width; text
    // given to a number or date field is converted or refused with the conversion error.
    void setValue(int field, const QVariant &value);
    void setValue(const QString &field, const QVariant &value)
    {
        setValue(checkedIndex(field), value);
    }

    // Moves to the first record whose field equals value; false (and no move) when none.
    bool locate(const QString &field, const QVariant &value,
                Qt::CaseSensitivity cs = Qt::CaseSensitive);
    // Table datasets: moves to the first record whose key is at or after the values.
    bool findNearest(const QVariantList &keyValues);
    // Secondary index of a table dataset ("Dates" on Diary); its order equals the key's.
    void setIndexName(const QString &index) { m_indexName = index; }
    QString indexName() const { return m_indexName; }

    void setBeforePost(Handler h) { m_beforePost = std::move(h); }
    void setAfterPost(Handler h) { m_afterPost = std::move(h); }
    void setBeforeDelete(Handler h) { m_beforeDelete = std::move(h); }
    void setBeforeScroll(Handler h) { m_beforeScroll = std::move(h); }
    void setAfterScroll(Handler h) { m_afterScroll = std::move(h); }
    // Runs inside the post's transaction just before the record is written (automatic
    // numbers are taken there): what it sets is written with the record, and is taken back
    // when the post fails.
    using WriteHandler = std::function<void(Dataset &, const Database::WriteToken &)>;
    void setBeforeWrite(WriteHandler h) { m_beforeWrite = std::move(h); }

    // Grids stop redrawing while a walk runs (counted, like the old DisableControls).
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

    // Converts typed text for a field the way an edit box does; throws the conversion error.
    static QVariant convert(const FieldDef &field, const QVariant &value);

    // Many edits in one transaction: fast, and a refused post keeps the records before it.
    // When the tables cannot keep the walk at all (the server went away) the failing post
    // and commit() throw WalkRolledBack: none of the walk's posts were kept.
    class Walk
    {
    public:
        explicit Walk(Dataset &dataset);
        ~Walk();
        Walk(const Walk &) = delete;
        Walk &operator=(const Walk &) = delete;
        // Ends the walk keeping its posts; unlike the destructor it reports a failed commit.
        void commit();
        // Undoes every post of the walk and ends it: for changes that stand only together.
        void rollback();

    private:
        Database *m_db;
        bool m_ended = false;
    };

signals:
    void opened();
    void closed();
    void rowsReset();
    void rowChanged(int row);
    void rowInserted(int row);
    void rowRemoved(int row);
    void currentChanged(int row);
    void stateChanged(Brelvan::Table::Dataset::State state);
    void controlsEnabled();

private:
    struct Row
    {
        qint64 id = 0;
        qint64 version = 0;
        QVector<QVariant> values;
    };

    enum class Dropped { None, Appended, Inserted };
    Dropped dropUntouchedInsert();
    int checkedIndex(const QString &field) const;
    void requireOpen() const;
    void setState(State s);
    bool beginMove();
    void endMove(int oldRow, bool oldEof);
    void load();
    QString buildSelect(QVariantList &binds) const;
    QString buildCondition(const Condition &c, QVariantList &binds) const;
    QString likeOperandSql(const FieldDef &f) const;
    void writeUpdate(const Database::WriteToken &on);
    void writeInsert(const Database::WriteToken &on);
    void takeCurrent(const QVariantList &current);
    Database::WriteToken lockAhead(qint64 id, QVariantList *current);
    bool changesKey() const;
    void notifyCurrent();

    Database *m_db = nullptr;
    QString m_tableName;
    QString m_indexName;
    QStringList m_sql;
    const TableDef *m_def = nullptr;
    ParsedQuery m_query;
    std::vector<Row> m_rows;
    Row m_buffer;
    int m_cur = -1;
    bool m_eof = true;
    bool m_bof = true;
    bool m_modified = false;
    bool m_live = true;
    State m_state = State::Inactive;
    Database::WriteToken m_lock;
    // rows a walk has locked ahead of their edit, with their values read under the lock
    struct LockedAhead
    {
        Database::WriteToken token;
        QHash<qint64, QVariantList> rows;
        int lastRow = -2;
        int span = 1;
    };
    LockedAhead m_ahead;
    WriteHandler m_beforeWrite;
    int m_disabled = 0;
    bool m_resetPending = false;
    Handler m_beforePost, m_afterPost, m_beforeDelete, m_beforeScroll, m_afterScroll;
};

} // namespace Brelvan::Table
