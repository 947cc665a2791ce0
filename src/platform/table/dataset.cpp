#include "platform/table/dataset.h"

#include "platform/table/engineerror.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlError>
#include <QSqlRecord>

namespace Brelvan::Table {

namespace {

// Empty values order first, as the engine's ORDER BY does.
int compareValues(const FieldDef &f, const QVariant &a, const QVariant &b)
{
    const bool an = !a.isValid(), bn = !b.isValid();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    switch (f.type) {
    case FieldType::Date: {
        const QDate x = a.toDate(), y = b.toDate();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case FieldType::Money:
    case FieldType::Float:
    case FieldType::SmallInt:
    case FieldType::Integer: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    default: {
        const QString x = a.toString(), y = b.toString();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    }
}

// "yyyy-MM-dd" as the local tables hold dates, read without the general date parser
QVariant isoDate(const QVariant &raw)
{
    const QString s = raw.toString();
    if (s.size() >= 10 && s.at(4) == QLatin1Char('-') && s.at(7) == QLatin1Char('-')) {
        auto digits = [&](int from, int count) {
            int v = 0;
            for (int k = from; k < from + count; ++k) {
                const int d = s.at(k).unicode() - '0';
                if (d < 0 || d > 9)
                    return -1;
                v = v * 10 + d;
            }
            return v;
        };
        const int y = digits(0, 4), m = digits(5, 2), d = digits(8, 2);
        if (y >= 0 && m >= 0 && d >= 0) {
            const QDate date(y, m, d);
            if (date.isValid())
                return date;
        }
    }
    const QDate date = QDate::fromString(s.left(10), Qt::ISODate);
    return date.isValid() ? QVariant(date) : QVariant();
}

QString formatNumberForError(const QVariant &v)
{
    return v.toString();
}

} // namespace

Dataset::Dataset(const QString &name, QObject *parent) : QObject(parent)
{
    setObjectName(name);
}

Dataset::~Dataset()
{
    if (m_db && m_lock.active) {
        try {
            m_db->rollbackWrite(m_lock);
        } catch (...) {
        }
    }
}

void Dataset::setDatabase(Database *database)
{
    if (isOpen())
        close();
    m_db = database;
}

void Dataset::setTableName(const QString &table)
{
    m_tableName = table;
}

void Dataset::setSql(const QStringList &lines)
{
    m_sql = lines;
}

int Dataset::checkedIndex(const QString &field) const
{
    const int i = fieldIndex(field);
    if (i < 0)
        throw EngineError(QStringLiteral("%1: Field '%2' not found").arg(name(), field),
                          EngineError::Code::General);
    return i;
}

int Dataset::fieldIndex(const QString &field) const
{
    return m_def ? m_def->indexOf(field) : -1;
}

void Dataset::requireOpen() const
{
    if (!isOpen())
        throw EngineError(QStringLiteral("%1: Cannot perform this operation on a closed dataset")
                              .arg(name()),
                          EngineError::Code::NotOpen);
}

void Dataset::setState(State s)
{
    if (m_state == s)
        return;
    m_state = s;
    emit stateChanged(s);
}

QString Dataset::buildCondition(const Condition &c, QVariantList &binds) const
{
    switch (c.kind) {
    case Condition::Kind::And:
        return QLatin1Char('(') + buildCondition(*c.left, binds) + QStringLiteral(" AND ")
               + buildCondition(*c.right, binds) + QLatin1Char(')');
    case Condition::Kind::Or:
        return QLatin1Char('(') + buildCondition(*c.left, binds) + QStringLiteral(" OR ")
               + buildCondition(*c.right, binds) + QLatin1Char(')');
    case Condition::Kind::Not:
        return QStringLiteral("(NOT ") + buildCondition(*c.left, binds) + QLatin1Char(')');
    case Condition::Kind::IsNull:
        return m_db->quoted(fieldDef(c.field).name)
               + (c.negated ? QStringLiteral(" IS NOT NULL") : QStringLiteral(" IS NULL"));
    case Condition::Kind::Like: {
        const FieldDef &f = fieldDef(c.field);
        QString pattern = c.literal;
        // a lone backslash at the end has nothing to make plain: it stands for itself
        int trailing = 0;
        for (int i = pattern.size() - 1; i >= 0 && pattern.at(i) == QLatin1Char('\\'); --i)
            ++trailing;
        if (trailing % 2 == 1)
            pattern += QLatin1Char('\\');
        binds << pattern;
        QString sql = likeOperandSql(f);
        sql = QStringLiteral("(%1 LIKE ? ESCAPE '\\'").arg(sql);
        // an empty field is empty text: a pattern that matches "" matches it too
        bool onlyAny = true;
        for (const QChar ch : pattern)
            onlyAny = onlyAny && ch == QLatin1Char('%');
        if (onlyAny)
            sql += QStringLiteral(" OR %1 IS NULL").arg(m_db->quoted(f.name));
        sql += QLatin1Char(')');
        return c.negated ? QStringLiteral("(NOT ") + sql + QLatin1Char(')') : sql;
    }
    case Condition::Kind::Compare: {
        const FieldDef &f = fieldDef(c.field);
        const QString col = m_db->quoted(f.name);
        if (c.literal.isEmpty() && (c.op == QLatin1String("=") || c.op == QLatin1String("<>")))
            return col + (c.op == QLatin1String("=") ? QStringLiteral(" IS NULL")
                                                     : QStringLiteral(" IS NOT NULL"));
        QVariant v;
        try {
            v = convert(f, c.literal);
        } catch (const EngineError &e) {
            throw EngineError(QStringLiteral("Query error: ") + e.message(),
                              EngineError::Code::Query);
        }
        binds << m_db->toStored(f, v);
        return QStringLiteral("%1 %2 ?").arg(m_db->dialect().compareOperand(f), c.op);
    }
    }
    return {};
}

QString Dataset::likeOperandSql(const FieldDef &f) const
{
    return m_db->likeOperand(f);
}

QString Dataset::buildSelect(QVariantList &binds) const
{
    QStringList cols;
    for (const FieldDef &f : m_def->fields)
        cols << m_db->quoted(f.name);
    cols << m_db->quoted(QLatin1String(RecIdColumn)) << m_db->quoted(QLatin1String(RecVerColumn));
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(cols.join(QLatin1Char(',')),
                                                         m_db->quoted(m_def->name));
    if (m_query.where)
        sql += QStringLiteral(" WHERE ") + buildCondition(*m_query.where, binds);
    QStringList order;
    QList<int> used;
    for (const OrderItem &o : m_query.order) {
        order << m_db->orderTerm(fieldDef(o.field), o.descending);
        used << o.field;
    }
    // with no order asked for, or between equals, the rows come in key order
    for (const QString &k : m_def->key) {
        const int f = m_def->indexOf(k);
        if (!used.contains(f))
            order << m_db->orderTerm(fieldDef(f), false);
    }
    order << m_db->quoted(QLatin1String(RecIdColumn));
    sql += QStringLiteral(" ORDER BY ") + order.join(QLatin1Char(','));
    return sql;
}

void Dataset::load()
{
    QVariantList binds;
    const QString sql = buildSelect(binds);
    QSqlQuery qy = m_db->exec(sql, binds);
    const int n = int(m_def->fields.size());
    m_rows.clear();
    std::vector<const FieldDef *> defs;
    for (const FieldDef &f : m_def->fields)
        defs.push_back(&f);
    while (qy.next()) {
        Row r;
        r.values.resize(n);
        for (int i = 0; i < n; ++i) {
            QVariant raw = qy.value(i);
            if (raw.isNull())
                continue;
            // most values arrive in the type they are held in: keep them without a copy
            const int t = raw.metaType().id();
            const FieldType ft = defs[i]->type;
            if ((t == QMetaType::QString && (ft == FieldType::Text || ft == FieldType::Memo))
                || (t == QMetaType::Double && (ft == FieldType::Money || ft == FieldType::Float)))
                r.values[i] = std::move(raw);
            else if (t == QMetaType::QString && ft == FieldType::Date)
                r.values[i] = isoDate(raw);
            else
                r.values[i] = m_db->fromStored(*defs[i], raw);
        }
        r.id = qy.value(n).toLongLong();
        r.version = qy.value(n + 1).toLongLong();
        m_rows.push_back(std::move(r));
    }
    // a read that fails part way is no end of the table: what was read is not all of it
    if (qy.lastError().isValid()) {
        m_rows.clear();
        throw EngineError(QStringLiteral("The table %1 could not be read to its end from %2: %3")
                              .arg(m_def->name, m_db->source(),
                                   StatementRunner::reason(qy.lastError())));
    }
}

void Dataset::open()
{
    if (isOpen())
        return;
    if (!m_db)
        throw EngineError(QStringLiteral("%1: no database is open").arg(name()),
                          EngineError::Code::NotOpen);
    if (m_sql.isEmpty()) {
        m_query = ParsedQuery();
        m_query.table = m_db->schema().table(m_tableName);
        if (!m_query.table)
            throw EngineError(QStringLiteral("Table %1 does not exist").arg(m_tableName));
    } else {
        m_query = parseQuery(sqlText(), m_db->schema());
    }
    m_def = m_query.table;
    load();
    m_live = true;
    m_cur = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
    m_modified = false;
    setState(State::Browse);
    emit opened();
    emit rowsReset();
    notifyCurrent();
}

void Dataset::close()
{
    if (!isOpen())
        return;
    if (m_lock.active)
        m_db->rollbackWrite(m_lock);
    m_ahead = {};
    m_rows.clear();
    m_cur = -1;
    m_eof = m_bof = true;
    m_modified = false;
    setState(State::Inactive);
    emit closed();
    emit rowsReset();
}

void Dataset::refresh()
{
    requireOpen();
    checkBrowseMode();
    const qint64 id = m_cur >= 0 ? m_rows[m_cur].id : 0;
    const int oldRow = m_cur;
    try {
        load();
    } catch (const EngineError &) {
        close();
        throw;
    }
    m_cur = -1;
    for (int i = 0; i < int(m_rows.size()); ++i) {
        if (m_rows[i].id == id) {
            m_cur = i;
            break;
        }
    }
    if (m_cur < 0 && !m_rows.empty())
        m_cur = qBound(0, oldRow, int(m_rows.size()) - 1);
    m_eof = m_rows.empty();
    m_bof = m_rows.empty();
    emit rowsReset();
    notifyCurrent();
}

int Dataset::recordCount() const
{
    const int n = int(m_rows.size());
    return m_state == State::Insert ? n - 1 : n;
}

void Dataset::notifyCurrent()
{
    if (m_disabled > 0) {
        m_resetPending = true;
        return;
    }
    emit currentChanged(m_cur);
}

bool Dataset::beginMove()
{
    requireOpen();
    checkBrowseMode();
    if (m_beforeScroll)
        m_beforeScroll(*this);
    return true;
}

void Dataset::endMove(int oldRow, bool oldEof)
{
    if (m_cur != oldRow || m_eof != oldEof) {
        if (m_afterScroll)
            m_afterScroll(*this);
    }
    if (m_cur != oldRow)
        notifyCurrent();
}

void Dataset::first()
{
    beginMove();
    const int old = m_cur;
    const bool oldEof = m_eof;
    m_cur = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
    endMove(old, oldEof);
}

void Dataset::last()
{
    beginMove();
    const int old = m_cur;
    const bool oldEof = m_eof;
    m_cur = int(m_rows.size()) - 1;
    m_eof = true;
    m_bof = m_rows.empty();
    endMove(old, oldEof);
}

// Moving off an untouched new record drops it; the drop itself is then (part of) the move:
// its neighbours are where the user was going.
Dataset::Dropped Dataset::dropUntouchedInsert()
{
    if (m_state != State::Insert || m_modified)
        return Dropped::None;
    const bool atEnd = m_cur == int(m_rows.size()) - 1;
    cancel();
    return atEnd ? Dropped::Appended : Dropped::Inserted;
}

void Dataset::next()
{
    const Dropped dropped = dropUntouchedInsert();
    beginMove();
    const int old = m_cur;
    const bool oldEof = m_eof;
    if (dropped == Dropped::Inserted) {
        m_eof = false; // already on the record that followed the new one
    } else if (dropped == Dropped::None && m_cur + 1 < int(m_rows.size())) {
        ++m_cur;
        m_eof = false;
    } else {
        m_eof = true;
    }
    m_bof = false;
    endMove(old, oldEof);
}

void Dataset::prior()
{
    const Dropped dropped = dropUntouchedInsert();
    beginMove();
    const int old = m_cur;
    const bool oldEof = m_eof;
    if (dropped == Dropped::Appended) {
        m_bof = m_cur <= 0; // already on the record before the new one
    } else if (m_cur > 0) {
        --m_cur;
        m_bof = false;
    } else {
        m_bof = true;
    }
    m_eof = m_rows.empty();
    endMove(old, oldEof);
}

void Dataset::moveTo(int row)
{
    if (row < 0 || row >= int(m_rows.size()) || (row == m_cur && !isEditing()))
        return;
    if (row == m_cur)
        return;
    beginMove();
    const int old = m_cur;
    const bool oldEof = m_eof;
    // an untouched inserted row may have been dropped above, shifting the rows after it
    row = qBound(0, row, int(m_rows.size()) - 1);
    m_cur = row;
    m_eof = false;
    m_bof = false;
    endMove(old, oldEof);
}

void Dataset::edit()
{
    requireOpen();
    if (isEditing())
        return;
    if (m_rows.empty()) {
        append();
        return;
    }
    if (!m_live)
        throw EngineError(QStringLiteral("%1: Cannot modify a read-only dataset").arg(name()),
                          EngineError::Code::State);
    QVariantList current;
    const qint64 id = m_rows[m_cur].id;
    if (m_db->inWalk() && m_db->dialect().hasRowLocks())
        m_lock = lockAhead(id, &current);
    else
        m_lock = m_db->lockRow(*m_def, id, &current);
    try {
        takeCurrent(current);
    } catch (...) {
        m_db->rollbackWrite(m_lock);
        throw;
    }
    m_buffer = m_rows[m_cur];
    m_modified = false;
    setState(State::Edit);
}

// A walk edits row after row: each lock it takes also takes the rows shown after it, twice
// as many each time the walk goes on, so the edits of a long walk cost next to nothing.
Database::WriteToken Dataset::lockAhead(qint64 id, QVariantList *current)
{
    if (m_db->isCurrent(m_ahead.token)) {
        const auto it = m_ahead.rows.find(id);
        if (it != m_ahead.rows.end()) {
            *current = it.value();
            m_ahead.rows.erase(it);
            m_ahead.lastRow = m_cur;
            return m_ahead.token;
        }
    } else {
        m_ahead = {};
    }
    m_ahead.span = m_cur == m_ahead.lastRow + 1 ? qMin(m_ahead.span * 2, 256) : 1;
    QList<qint64> ids{id};
    for (int r = m_cur + 1; r < int(m_rows.size()) && ids.size() < m_ahead.span; ++r) {
        if (m_rows[r].id > 0)
            ids << m_rows[r].id;
    }
    QHash<qint64, QVariantList> rows;
    const Database::WriteToken t = m_db->lockRows(*m_def, ids, &rows);
    *current = rows.take(id);
    m_ahead.token = t;
    m_ahead.rows = std::move(rows);
    m_ahead.lastRow = m_cur;
    return t;
}

bool Dataset::changesKey() const
{
    for (const QString &k : m_def->key) {
        const int i = m_def->indexOf(k);
        const QVariant &a = m_rows[m_cur].values.at(i);
        const QVariant &b = m_buffer.values.at(i);
        if (a.isValid() != b.isValid() || (a.isValid() && a != b))
            return true;
    }
    return false;
}

void Dataset::takeCurrent(const QVariantList &current)
{
    // an edit starts from the record as the table holds it now, not as it was read: under the
    // server's row lock that is final, and on SQLite it narrows the post's change check to
    // what happens during the edit
    if (current.isEmpty())
        throw EngineError(QStringLiteral("The record was deleted by another user."),
                          EngineError::Code::Changed);
    Row &r = m_rows[m_cur];
    const int n = fieldCount();
    const qint64 version = current.at(n).toLongLong();
    if (version == r.version)
        return;
    for (int i = 0; i < n; ++i) {
        const QVariant &raw = current.at(i);
        r.values[i] = raw.isNull() ? QVariant() : m_db->fromStored(fieldDef(i), raw);
    }
    r.version = version;
    if (m_disabled == 0)
        emit rowChanged(m_cur);
    else
        m_resetPending = true;
}

void Dataset::append()
{
    requireOpen();
    checkBrowseMode();
    if (m_beforeScroll)
        m_beforeScroll(*this);
    Row r;
    r.values.resize(fieldCount());
    m_rows.push_back(r);
    m_cur = int(m_rows.size()) - 1;
    m_buffer = r;
    m_modified = false;
    m_eof = true;
    m_bof = false;
    if (m_disabled == 0)
        emit rowInserted(m_cur);
    else
        m_resetPending = true;
    setState(State::Insert);
    notifyCurrent();
}

void Dataset::insert()
{
    requireOpen();
    checkBrowseMode();
    if (m_beforeScroll)
        m_beforeScroll(*this);
    Row r;
    r.values.resize(fieldCount());
    const int at = m_cur < 0 ? 0 : m_cur;
    m_rows.insert(m_rows.begin() + at, r);
    m_cur = at;
    m_buffer = r;
    m_modified = false;
    m_eof = false;
    m_bof = false;
    if (m_disabled == 0)
        emit rowInserted(m_cur);
    else
        m_resetPending = true;
    setState(State::Insert);
    notifyCurrent();
}

QVariant Dataset::value(int field) const
{
    if (!isOpen() || m_cur < 0)
        return {};
    if (isEditing())
        return m_buffer.values.value(field);
    return m_rows[m_cur].values.value(field);
}

QVariant Dataset::valueAt(int row, int field) const
{
    if (row < 0 || row >= int(m_rows.size()))
        return {};
    if (row == m_cur && isEditing())
        return m_buffer.values.value(field);
    return m_rows[row].values.value(field);
}

QString Dataset::text(const QString &field) const
{
    const QVariant v = value(field);
    if (!v.isValid())
        return {};
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    return v.toString();
}

double Dataset::number(const QString &field) const
{
    return value(field).toDouble();
}

QDate Dataset::date(const QString &field) const
{
    return value(field).toDate();
}

QVariant Dataset::convert(const FieldDef &f, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return {};
    const int type = v.metaType().id();
    switch (f.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        QString s = v.metaType().id() == QMetaType::QDate
                        ? v.toDate().toString(QStringLiteral("dd/MM/yyyy"))
                        : v.toString();
        if (f.type == FieldType::Text && f.width > 0 && s.size() > f.width)
            s.truncate(f.width);
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case FieldType::Date: {
        if (type == QMetaType::QDate)
            return v.toDate().isValid() ? v : QVariant();
        if (type == QMetaType::QDateTime)
            return v.toDateTime().date();
        const QString s = v.toString().trimmed();
        if (s.isEmpty())
            return {};
        QDate d = QDate::fromString(s, Qt::ISODate);
        if (!d.isValid())
            d = QDate::fromString(s, QStringLiteral("d/M/yyyy"));
        if (!d.isValid())
            throw EngineError(QStringLiteral("'%1' is not a valid date").arg(s),
                              EngineError::Code::Value);
        return d;
    }
    case FieldType::Money:
    case FieldType::Float: {
        if (type == QMetaType::Double || type == QMetaType::Int || type == QMetaType::LongLong
            || type == QMetaType::Float)
            return v.toDouble();
        QString s = v.toString().trimmed();
        if (s.isEmpty())
            return {};
        bool ok = false;
        double d = s.toDouble(&ok);
        if (!ok)
            d = QLocale().toDouble(s, &ok);
        if (!ok) {
            // money as shown, "$1,234.50" or "($5.00)"
            QString t = s;
            const bool negative = t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')'));
            t.remove(QRegularExpression(QStringLiteral("[$,()\\s]")));
            d = t.toDouble(&ok);
            if (negative)
                d = -d;
        }
        if (!ok)
            throw EngineError(QStringLiteral("'%1' is not a valid floating point value").arg(s),
                              EngineError::Code::Value);
        return d;
    }
    case FieldType::SmallInt:
    case FieldType::Integer: {
        bool ok = false;
        qlonglong n;
        if (type == QMetaType::Double) {
            const double d = v.toDouble();
            n = qRound64(d);
            ok = double(n) == d;
        } else {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return {};
            n = s.toLongLong(&ok);
        }
        const qlonglong lo = f.type == FieldType::SmallInt ? -32768 : INT_MIN;
        const qlonglong hi = f.type == FieldType::SmallInt ? 32767 : INT_MAX;
        if (!ok || n < lo || n > hi)
            throw EngineError(QStringLiteral("'%1' is not a valid integer value")
                                  .arg(formatNumberForError(v)),
                              EngineError::Code::Value);
        return int(n);
    }
    case FieldType::Picture: {
        const QByteArray b = v.toByteArray();
        return b.isEmpty() ? QVariant() : QVariant(b);
    }
    }
    return v;
}

void Dataset::setValue(int field, const QVariant &v)
{
    requireOpen();
    if (field < 0 || field >= fieldCount())
        throw EngineError(QStringLiteral("%1: no such field").arg(name()));
    if (!isEditing())
        throw EngineError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(name()),
                          EngineError::Code::State);
    const QVariant c = convert(fieldDef(field), v);
    QVariant &slot = m_buffer.values[field];
    if (slot == c && slot.isValid() == c.isValid())
        return;
    slot = c;
    m_modified = true;
    if (m_disabled == 0)
        emit rowChanged(m_cur);
}

void Dataset::writeUpdate(const Database::WriteToken &on)
{
    const Row &old = m_rows[m_cur];
    QStringList sets;
    QVariantList binds;
    for (int i = 0; i < fieldCount(); ++i) {
        const QVariant &a = old.values.at(i);
        const QVariant &b = m_buffer.values.at(i);
        if (a.isValid() == b.isValid() && (!a.isValid() || a == b))
            continue;
        sets << m_db->quoted(fieldDef(i).name) + QStringLiteral(" = ?");
        binds << m_db->toStored(fieldDef(i), b);
    }
    if (sets.isEmpty())
        return;
    const QString ver = m_db->quoted(QLatin1String(RecVerColumn));
    const QString id = m_db->quoted(QLatin1String(RecIdColumn));
    sets << QStringLiteral("%1 = %1 + 1").arg(ver);
    binds << old.id << old.version;
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ? AND %4 = ?")
                            .arg(m_db->quoted(m_def->name), sets.join(QLatin1String(", ")), id,
                                 ver);
    QSqlQuery &qy = m_db->execCached(on, sql, binds);
    if (qy.numRowsAffected() != 1) {
        // someone else changed or deleted the row since it was read: refuse, lose nothing
        QSqlQuery probe = m_db->exec(on, QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                         .arg(ver, m_db->quoted(m_def->name), id),
                                     {old.id});
        if (probe.next())
            throw EngineError(QStringLiteral("The record was changed by another user after you "
                                             "began editing it. Your change was not saved: "
                                             "refresh to see theirs, then edit again."),
                              EngineError::Code::Changed);
        throw EngineError(QStringLiteral("The record was deleted by another user. Your change "
                                         "was not saved."),
                          EngineError::Code::Changed);
    }
    m_buffer.version = old.version + 1;
}

void Dataset::writeInsert(const Database::WriteToken &on)
{
    QStringList cols, marks;
    QVariantList binds;
    for (int i = 0; i < fieldCount(); ++i) {
        const QVariant &b = m_buffer.values.at(i);
        if (!b.isValid())
            continue;
        cols << m_db->quoted(fieldDef(i).name);
        marks << QStringLiteral("?");
        binds << m_db->toStored(fieldDef(i), b);
    }
    const QString id = m_db->quoted(QLatin1String(RecIdColumn));
    QString sql;
    if (cols.isEmpty())
        sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_db->quoted(m_def->name));
    else
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(m_db->quoted(m_def->name), cols.join(QLatin1Char(',')),
                       marks.join(QLatin1Char(',')));
    const QString returning = m_db->dialect().returningId();
    if (!returning.isEmpty()) {
        sql += returning;
        QSqlQuery &qy = m_db->execCached(on, sql, binds);
        if (qy.next())
            m_buffer.id = qy.value(0).toLongLong();
    } else {
        QSqlQuery &qy = m_db->execCached(on, sql, binds);
        m_buffer.id = qy.lastInsertId().toLongLong();
    }
    m_buffer.version = 0;
}

void Dataset::post()
{
    requireOpen();
    if (!isEditing())
        return;
    if (m_beforePost)
        m_beforePost(*this);
    const bool inserting = m_state == State::Insert;
    const bool locked = m_db->isCurrent(m_lock);
    // under a walk's row lock an update that keeps the key cannot be refused by the tables:
    // it is written straight into the walk's transaction, one statement for the post
    const bool bare = locked && m_lock.heldByWalk && !inserting && !changesKey();
    // under a record's own lock the write is a savepoint of the lock's transaction: a
    // refused post keeps both the edit and the lock
    const bool nested = locked && !m_lock.heldByWalk;
    Database::WriteToken token;
    if (!bare)
        token = nested ? m_db->beginWrite(m_lock) : m_db->beginWrite();
    const QVector<QVariant> asTyped = m_buffer.values;
    try {
        const Database::WriteToken &on = bare ? m_lock : token;
        if (m_beforeWrite)
            m_beforeWrite(*this, on);
        if (inserting)
            writeInsert(on);
        else
            writeUpdate(on);
        if (nested) {
            token = {}; // ending the lock's savepoint or transaction ends the one inside it
            m_db->commitWrite(m_lock);
        } else {
            m_db->commitWrite(token);
            m_lock = {};
        }
    } catch (...) {
        m_db->rollbackWrite(token);
        if (m_buffer.values != asTyped) {
            m_buffer.values = asTyped;
            if (m_disabled == 0)
                emit rowChanged(m_cur);
        }
        throw;
    }
    m_rows[m_cur] = m_buffer;
    m_modified = false;
    setState(State::Browse);
    if (m_disabled == 0)
        emit rowChanged(m_cur);
    else
        m_resetPending = true;
    if (m_afterPost)
        m_afterPost(*this);
}

void Dataset::cancel()
{
    if (!isEditing())
        return;
    if (m_lock.active)
        m_db->rollbackWrite(m_lock);
    if (m_state == State::Insert) {
        const int at = m_cur;
        m_rows.erase(m_rows.begin() + at);
        if (m_cur >= int(m_rows.size()))
            m_cur = int(m_rows.size()) - 1;
        m_eof = m_rows.empty();
        setState(State::Browse);
        if (m_disabled == 0)
            emit rowRemoved(at);
        else
            m_resetPending = true;
        notifyCurrent();
    } else {
        setState(State::Browse);
        if (m_disabled == 0)
            emit rowChanged(m_cur);
    }
    m_modified = false;
}

void Dataset::checkBrowseMode()
{
    if (!isEditing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void Dataset::postIfEditing()
{
    if (m_state == State::Edit)
        post();
}

void Dataset::postPending()
{
    if (m_state == State::Edit || (m_state == State::Insert && m_modified))
        post();
}

void Dataset::remove()
{
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_rows.empty())
        throw EngineError(QStringLiteral("%1: Cannot perform this operation on an empty dataset")
                              .arg(name()),
                          EngineError::Code::State);
    checkBrowseMode();
    if (m_beforeDelete)
        m_beforeDelete(*this);
    if (m_beforeScroll)
        m_beforeScroll(*this);
    const Row &r = m_rows[m_cur];
    Database::WriteToken token = m_db->beginWrite();
    try {
        const QString table = m_db->quoted(m_def->name);
        const QString id = m_db->quoted(QLatin1String(RecIdColumn));
        const QString ver = m_db->quoted(QLatin1String(RecVerColumn));
        // only the record as it was read: a change made meanwhile by another user is not
        // thrown away unseen
        QSqlQuery qy = m_db->exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ? AND %3 = ?")
                                      .arg(table, id, ver),
                                  {r.id, r.version});
        if (qy.numRowsAffected() != 1
            && m_db->exec(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(table, id), {r.id})
                   .next())
            throw EngineError(QStringLiteral("The record was changed by another user after it "
                                             "was read. It was not deleted: refresh to see "
                                             "their change."),
                              EngineError::Code::Changed);
        m_db->commitWrite(token);
    } catch (...) {
        m_db->rollbackWrite(token);
        throw;
    }
    const int at = m_cur;
    m_rows.erase(m_rows.begin() + at);
    if (m_cur >= int(m_rows.size()))
        m_cur = int(m_rows.size()) - 1;
    m_eof = m_rows.empty();
    m_bof = m_rows.empty();
    if (m_disabled == 0)
        emit rowRemoved(at);
    else
        m_resetPending = true;
    if (m_afterScroll)
        m_afterScroll(*this);
    notifyCurrent();
}

bool Dataset::locate(const QString &field, const QVariant &v, Qt::CaseSensitivity cs)
{
    requireOpen();
    const int f = checkedIndex(field);
    const FieldDef &def = fieldDef(f);
    const QVariant want = convert(def, v);
    checkBrowseMode();
    for (int i = 0; i < int(m_rows.size()); ++i) {
        const QVariant &have = m_rows[i].values.at(f);
        bool match;
        if (!want.isValid() || !have.isValid())
            match = want.isValid() == have.isValid();
        else if (def.isText())
            match = have.toString().compare(want.toString(), cs) == 0;
        else
            match = compareValues(def, have, want) == 0;
        if (match) {
            if (i != m_cur) {
                beginMove();
                const int old = m_cur;
                const bool oldEof = m_eof;
                m_cur = i;
                m_eof = m_bof = false;
                endMove(old, oldEof);
            }
            return true;
        }
    }
    return false;
}

bool Dataset::findNearest(const QVariantList &keyValues)
{
    requireOpen();
    checkBrowseMode();
    QList<int> keyFields;
    for (const QString &k : m_def->key)
        keyFields << m_def->indexOf(k);
    QVector<QVariant> want;
    for (int i = 0; i < keyValues.size() && i < keyFields.size(); ++i)
        want << convert(fieldDef(keyFields[i]), keyValues[i]);
    auto less = [&](const Row &r) {
        for (int i = 0; i < want.size(); ++i) {
            const int c = compareValues(fieldDef(keyFields[i]), r.values.at(keyFields[i]), want[i]);
            if (c != 0)
                return c < 0;
        }
        return false;
    };
    // the rows of a table dataset are in key order
    int lo = 0, hi = int(m_rows.size());
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (less(m_rows[mid]))
            lo = mid + 1;
        else
            hi = mid;
    }
    beginMove();
    const int old = m_cur;
    const bool oldEof = m_eof;
    if (lo >= int(m_rows.size())) {
        m_cur = int(m_rows.size()) - 1;
        m_eof = true;
    } else {
        m_cur = lo;
        m_eof = false;
    }
    m_bof = false;
    endMove(old, oldEof);
    return lo < int(m_rows.size());
}

void Dataset::disableControls()
{
    ++m_disabled;
}

void Dataset::enableControls()
{
    if (m_disabled == 0 || --m_disabled > 0)
        return;
    if (m_resetPending) {
        m_resetPending = false;
        emit rowsReset();
    }
    emit currentChanged(m_cur);
    emit controlsEnabled();
}

Dataset::Walk::Walk(Dataset &dataset) : m_db(dataset.database())
{
    if (!m_db)
        throw EngineError(QStringLiteral("%1: no database is open").arg(dataset.name()),
                          EngineError::Code::NotOpen);
    m_db->beginWalk();
}

Dataset::Walk::~Walk()
{
    if (m_ended)
        return;
    try {
        m_db->endWalk();
    } catch (...) {
    }
}

void Dataset::Walk::commit()
{
    if (m_ended)
        return;
    m_ended = true;
    m_db->endWalk();
}

void Dataset::Walk::rollback()
{
    if (m_ended)
        return;
    m_ended = true;
    m_db->cancelWalk();
}

} // namespace Brelvan::Table
