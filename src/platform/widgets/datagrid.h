#pragma once

#include "platform/widgets/datasetmodel.h"

#include <QTableView>

#include <functional>

class QLineEdit;

namespace Brelvan {

// The record grid of every page: a view of a Dataset in which the grid's current row is
// the dataset's current record. The current cell always carries an editor; typing puts the
// record into edit, and leaving the row posts it (the dataset's own move rules). Columns
// are counted by where they stand on screen, since users move them.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    // Enter or Shift+Enter (shift true); the key is consumed whatever the handler does.
    using EnterHandler = std::function<void(bool shift)>;

    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    void setDataset(Table::Dataset *dataset);
    Table::Dataset *dataset() const;
    DatasetModel *datasetModel() const { return m_model; }
    void setColumns(const QList<GridColumn> &columns);

    void setDateFormat(const QString &format);
    QString dateFormat() const;
    void setAlternateColor(const QColor &color);
    QColor alternateColor() const;
    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;
    // No typing, inserting or deleting from the grid.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    // The current column by its place on screen (0 = leftmost), as the pages count it.
    int currentVisualColumn() const;
    // Writes the cell being left first, so its conversion error stops the move.
    void setCurrentVisualColumn(int visualColumn);
    // Moves to a row (the dataset's move rules run) and a column by place on screen.
    void setCurrentCell(int row, int visualColumn);
    QString currentFieldName() const;
    int lastVisualColumn() const;

    // Widths by column as defined (not as moved).
    QList<int> columnWidths() const;
    void setColumnWidths(const QList<int> &widths);
    // The window-resize rule: every column becomes round(width * newWidth / oldWidth).
    void scaleColumnWidths(int newWidth, int oldWidth);
    // round(width * newWidth / oldWidth), halves away from zero.
    static int scaledWidth(int width, int newWidth, int oldWidth);

    void setEnterHandler(EnterHandler handler) { m_enterHandler = std::move(handler); }
    // The standard Enter movement: right, or on the last column to the next record's
    // first column; with shift left, or on the first column to the previous record's last.
    void moveByEnter(bool shift);

    // Writes the typed text of the current cell into the record; throws the engine's
    // conversion error and keeps the text when it is not a value for the field.
    void commitCell();
    // Asks "Delete record?" and deletes the current record on Yes; true when deleted.
    bool deleteRecord();
    // Whether the current cell's field may be written now (an editable column of a live
    // dataset on a grid that is not read-only).
    bool canWriteCell() const;
    // The clipboard's way into a cell: edit the record, set the current cell's field, post.
    // Text is read as typed text would be; a value the field cannot take leaves the record
    // as it was and raises the conversion error. Nothing happens when the cell cannot be
    // written.
    void writeCell(const QVariant &value);

    QLineEdit *cellEditor() const { return m_editor; }

signals:
    void columnEntered(int visualColumn);
    void titleClicked(int visualColumn);
    // The mouse was released over a cell.
    void cellClicked(int row, int visualColumn);
    // The focus went to a control outside the grid.
    void focusLeft();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void changeEvent(QEvent *event) override;

private:
    bool handleKey(QKeyEvent *event);
    void handleFocusLeft();
    void onTextEdited(const QString &text);
    void ensureEditing();
    bool canChangeRecords() const;
    void goToCell(int row, int logicalColumn);
    void moveToRow(int row);
    void nextRow(bool appendAtEnd);
    void enterColumn(int logicalColumn);
    int visibleVisual(int from, int step) const;
    void syncCurrent();
    void loadEditor();
    void placeEditor();
    bool cellChanged() const;
    void applyColumnWidths();
    int defaultWidth(int column) const;
    void revertCell();

    DatasetModel *m_model;
    QLineEdit *m_editor;
    EnterHandler m_enterHandler;
    QList<QMetaObject::Connection> m_links;
    int m_column = 0;             // logical column of the cell cursor
    bool m_readOnly = false;
    bool m_syncing = false;       // the grid is following the dataset
    bool m_loading = false;       // the editor is being filled from the record
    bool m_writing = false;       // the grid is writing into the record
    bool m_dirty = false;         // the editor holds text not yet in the record
    bool m_cellTouched = false;   // typed into since the cell was entered
    bool m_entryModified = false; // the record was already changed when the cell was entered
    int m_modelChanging = 0;
    QVariant m_cellOriginal;      // the cell's value when it was entered
    QVariant m_cellValue;         // the value the editor's text stands for
};

} // namespace Brelvan
