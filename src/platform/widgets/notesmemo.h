#pragma once

#include "platform/table/dataset.h"

#include <QPlainTextEdit>
#include <QPointer>

namespace Brelvan {

// A memo bound to a text field of a Dataset (a record's Notes, a diary day). It shows the
// current record's field; typing puts the record into edit and writes every change at
// once, so nothing typed waits on the focus leaving and the grid shows it straight away.
class NotesMemo : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit NotesMemo(QWidget *parent = nullptr);

    void setDataset(Table::Dataset *dataset, const QString &field);
    Table::Dataset *dataset() const { return m_ds; }
    QString fieldName() const { return m_field; }

    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

    // Adds one line at the end of the note and writes it into the record (which is put into
    // edit; posting is the caller's). The caret goes to the end.
    void appendLine(const QString &line);
    // Shows the field of the current record again.
    void reload();

signals:
    void doubleClicked();
    // The focus went to another control.
    void focusLeft();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    int fieldIndex() const;
    bool canType() const;
    void ensureEditing();
    void onTextChanged();

    QPointer<Table::Dataset> m_ds;
    QString m_field;
    QList<QMetaObject::Connection> m_links;
    bool m_loading = false;
    bool m_writing = false;
};

} // namespace Brelvan
