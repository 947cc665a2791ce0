#pragma once

#include "platform/table/dataset.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

namespace Brelvan {

// One column of a record grid: the field it shows and how.
struct GridColumn
{
    QString field;
    QString title;                 // empty: the field name
    Qt::Alignment alignment = {};  // empty: numbers right, everything else left
    bool readOnly = false;
    QColor tint;                   // cell background; invalid: the grid's own
    int width = 0;                 // pixels; 0: from the field's width
};

// A Dataset seen as a table: one row per record (a record being inserted included), one
// column per configured field. Values are read straight from the dataset's rows, so a grid
// over tens of thousands of records only pays for the cells it draws.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit DatasetModel(QObject *parent = nullptr);

    void setDataset(Table::Dataset *dataset);
    Table::Dataset *dataset() const { return m_ds; }

    // No columns set: every field of the table except pictures, in table order.
    void setColumns(const QList<GridColumn> &columns);
    QList<GridColumn> columns() const;
    const GridColumn &column(int column) const { return m_cols.at(column); }
    // The dataset's field index of a column; -1 while the dataset is closed.
    int fieldOf(int column) const { return m_fields.value(column, -1); }
    const Table::FieldDef *fieldDef(int column) const;
    Qt::Alignment alignment(int column) const;
    bool isColumnEditable(int column) const;

    void setDateFormat(const QString &format);
    QString dateFormat() const { return m_dateFormat; }
    // Odd record numbers (the first, third ... row) are painted in this colour.
    void setAlternateColor(const QColor &color);
    QColor alternateColor() const { return m_alternate; }
    // The background of a cell as drawn: alternate colour, column tint, or invalid.
    QColor cellBackground(int row, int column) const;

    // A field value as the grid shows and edits it.
    QString displayText(const QVariant &value, const Table::FieldDef &field) const;
    // Typed text to a value for the field: dates are read in the grid's own format first,
    // everything else (and dates in other forms) is left to the engine's conversion.
    QVariant parseText(const QString &text, const Table::FieldDef &field) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Puts the dataset into edit and sets the field; the engine's errors propagate.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole)
        override;

    // The record indicator of the current row: browse, edit or insert mark.
    static QString indicator(Table::Dataset::State state);

private:
    void resolveFields(QList<GridColumn> &cols, QList<int> &fields) const;
    void reset();
    void allChanged(const QList<int> &roles = {});
    void onRowChanged(int row);
    void onRowInserted(int row);
    void onRowRemoved(int row);
    void onCurrentChanged(int row);
    void onStateChanged();

    QPointer<Table::Dataset> m_ds;
    QList<QMetaObject::Connection> m_links;
    QList<GridColumn> m_configured;
    QList<GridColumn> m_cols;
    QList<int> m_fields;
    QString m_dateFormat = QStringLiteral("dd/MM/yyyy");
    QString m_dateReadFormat = QStringLiteral("d/M/yyyy");
    QColor m_alternate;
    // rows announced to the views; the dataset may run ahead while its controls are off
    int m_rows = 0;
    int m_currentRow = -1;
    bool m_forceReset = true;
};

// Controls that hold typed text not yet in the record (a grid cell with half a number in
// it) register a writer here, so a post from a navigator writes that text first and its
// conversion error stops the post.
void addPendingEditWriter(Table::Dataset *dataset, QObject *owner, std::function<void()> write);
void removePendingEditWriter(Table::Dataset *dataset, QObject *owner);
void writePendingEdits(Table::Dataset *dataset);

} // namespace Brelvan
