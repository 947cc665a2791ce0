#include "platform/widgets/datagrid.h"

#include "platform/widgets/editrefusal.h"

#include "platform/desktop/dialogs.h"
#include "platform/table/engineerror.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTimer>

#include <exception>

namespace Brelvan {

using Table::Dataset;
using Table::FieldDef;
using Table::FieldType;

namespace {

// An error met inside a focus change or a signal of Qt's own is raised again from a clean
// start of the event loop, where the application's handler reports it.
void raiseLater(QObject *context, std::exception_ptr error)
{
    QTimer::singleShot(0, context, [error] { std::rethrow_exception(error); });
}

bool changesText(const QKeyEvent *e)
{
    if (e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut)
        || e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo))
        return true;
    if (e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete)
        return !(e->modifiers() & Qt::ControlModifier) || e->key() == Qt::Key_Backspace;
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString t = e->text();
    return !t.isEmpty() && t.at(0).isPrint();
}

} // namespace

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent), m_model(new DatasetModel(this)), m_editor(new QLineEdit(viewport()))
{
    m_editor->setObjectName(QStringLiteral("CellEditor"));
    m_editor->setFrame(false);
    m_editor->setGeometry(0, 0, 0, 0);
    m_editor->installEventFilter(this);
    // a right click on the cell being edited opens the grid's menu, not the editor's own
    m_editor->setContextMenuPolicy(Qt::NoContextMenu);
    setFocusProxy(m_editor);
    connect(m_editor, &QLineEdit::textEdited, this, &DataGrid::onTextEdited);
    // Counted before the view hears of a change, so the view's own current-index
    // adjustments during it are not taken for the user's moves.
    auto begin = [this] { ++m_modelChanging; };
    auto end = [this] { m_modelChanging = qMax(0, m_modelChanging - 1); };
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this, begin);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, end);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this, begin);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, end);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, begin);
    connect(m_model, &QAbstractItemModel::modelReset, this, end);
    connect(m_model, &QAbstractItemModel::layoutAboutToBeChanged, this, begin);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, end);
    setModel(m_model);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnWidths();
        syncCurrent();
    });

    setEditTriggers(NoEditTriggers); // the grid keeps its own editor on the current cell
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(ScrollPerPixel);

    QHeaderView *h = horizontalHeader();
    h->setSectionsMovable(true);
    h->setSectionsClickable(true);
    h->setHighlightSections(false);
    h->setSortIndicatorShown(false);
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(h, &QHeaderView::sectionClicked, this,
            [this](int logical) { emit titleClicked(horizontalHeader()->visualIndex(logical)); });
    connect(h, &QHeaderView::sectionResized, this, [this] { placeEditor(); });
    connect(h, &QHeaderView::sectionMoved, this, [this] { placeEditor(); });

    QHeaderView *v = verticalHeader();
    v->setSectionResizeMode(QHeaderView::Fixed);
    v->setDefaultSectionSize(fontMetrics().height() + 6);
    v->setFixedWidth(16);
    v->setHighlightSections(false);
    QFont marks = v->font();
    marks.setBold(true); // the edit mark is a single stroke
    v->setFont(marks);
    connect(v, &QHeaderView::sectionClicked, this,
            [this](int row) { goToCell(row, m_column); });
}

DataGrid::~DataGrid()
{
    if (dataset())
        removePendingEditWriter(dataset(), this);
}

void DataGrid::setDataset(Dataset *ds)
{
    if (dataset())
        removePendingEditWriter(dataset(), this);
    for (const QMetaObject::Connection &c : std::as_const(m_links))
        disconnect(c);
    m_links.clear();
    m_dirty = false;
    // the model hears the dataset first, so the grid always follows a model already current
    m_model->setDataset(ds);
    if (ds) {
        auto follow = [this] {
            if (dataset()->controlsDisabled())
                viewport()->setUpdatesEnabled(false);
            syncCurrent();
        };
        m_links << connect(ds, &Dataset::rowsReset, this, follow)
                << connect(ds, &Dataset::currentChanged, this, follow)
                << connect(ds, &Dataset::rowChanged, this,
                           [this](int row) {
                               if (!m_writing && row == dataset()->row() && cellChanged())
                                   loadEditor();
                           })
                // a cancel from elsewhere also drops text the cell could not take
                << connect(ds, &Dataset::stateChanged, this,
                           [this](Dataset::State s) {
                               if (s == Dataset::State::Browse && m_dirty && !m_writing)
                                   loadEditor();
                           })
                << connect(ds, &Dataset::controlsEnabled, this, [this] {
                       viewport()->setUpdatesEnabled(true);
                       syncCurrent();
                   });
        addPendingEditWriter(ds, this, [this] { commitCell(); });
    }
    syncCurrent();
}

Dataset *DataGrid::dataset() const
{
    return m_model->dataset();
}

void DataGrid::setColumns(const QList<GridColumn> &columns)
{
    m_model->setColumns(columns);
}

void DataGrid::setDateFormat(const QString &format)
{
    m_model->setDateFormat(format);
    if (!m_dirty)
        loadEditor();
}

QString DataGrid::dateFormat() const
{
    return m_model->dateFormat();
}

void DataGrid::setAlternateColor(const QColor &color)
{
    m_model->setAlternateColor(color);
    if (!m_dirty)
        loadEditor();
}

QColor DataGrid::alternateColor() const
{
    return m_model->alternateColor();
}

void DataGrid::setBackgroundColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

QColor DataGrid::backgroundColor() const
{
    return palette().color(QPalette::Base);
}

void DataGrid::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    if (!m_dirty)
        loadEditor();
}

int DataGrid::currentVisualColumn() const
{
    if (m_column < 0 || m_column >= m_model->columnCount())
        return -1;
    return horizontalHeader()->visualIndex(m_column);
}

void DataGrid::setCurrentVisualColumn(int visualColumn)
{
    const int logical = horizontalHeader()->logicalIndex(visualColumn);
    if (logical < 0)
        return;
    commitCell();
    enterColumn(logical);
}

void DataGrid::setCurrentCell(int row, int visualColumn)
{
    goToCell(row, horizontalHeader()->logicalIndex(visualColumn));
}

QString DataGrid::currentFieldName() const
{
    if (m_column < 0 || m_column >= m_model->columnCount())
        return {};
    const FieldDef *f = m_model->fieldDef(m_column);
    return f ? f->name : m_model->column(m_column).field;
}

int DataGrid::lastVisualColumn() const
{
    return visibleVisual(m_model->columnCount() - 1, -1);
}

int DataGrid::visibleVisual(int from, int step) const
{
    const QHeaderView *h = horizontalHeader();
    for (int v = from; v >= 0 && v < h->count(); v += step) {
        if (!h->isSectionHidden(h->logicalIndex(v)))
            return v;
    }
    return -1;
}

QList<int> DataGrid::columnWidths() const
{
    QList<int> out;
    for (int c = 0; c < m_model->columnCount(); ++c)
        out << columnWidth(c);
    return out;
}

void DataGrid::setColumnWidths(const QList<int> &widths)
{
    for (int c = 0; c < widths.size() && c < m_model->columnCount(); ++c)
        setColumnWidth(c, widths.at(c));
}

int DataGrid::scaledWidth(int width, int newWidth, int oldWidth)
{
    if (oldWidth == 0)
        return width;
    qint64 num = qint64(width) * newWidth;
    qint64 den = oldWidth;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    // integer arithmetic, so a half is exactly a half
    return num >= 0 ? int((2 * num + den) / (2 * den)) : -int((-2 * num + den) / (2 * den));
}

void DataGrid::scaleColumnWidths(int newWidth, int oldWidth)
{
    if (oldWidth <= 0)
        return;
    for (int c = 0; c < m_model->columnCount(); ++c)
        setColumnWidth(c, scaledWidth(columnWidth(c), newWidth, oldWidth));
}

int DataGrid::defaultWidth(int column) const
{
    const QFontMetrics fm = fontMetrics();
    const FieldDef *f = m_model->fieldDef(column);
    int chars = 10;
    if (f) {
        switch (f->type) {
        case FieldType::Text:
            chars = qBound(1, f->width, 40);
            break;
        case FieldType::Float:
            chars = 8;
            break;
        case FieldType::SmallInt:
        case FieldType::Integer:
            chars = 6;
            break;
        case FieldType::Memo:
            chars = 20;
            break;
        default:
            break;
        }
    }
    // figures are wider than the average letter
    const bool figures = f && (f->isNumber() || f->type == FieldType::Date);
    const int charWidth = figures ? fm.horizontalAdvance(QLatin1Char('0')) : fm.averageCharWidth();
    const int byValue = chars * charWidth + 10;
    const int byTitle = fm.horizontalAdvance(m_model->column(column).title) + 12;
    return qMax(byValue, byTitle);
}

void DataGrid::applyColumnWidths()
{
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const int w = m_model->column(c).width;
        setColumnWidth(c, w > 0 ? w : defaultWidth(c));
    }
}

void DataGrid::moveByEnter(bool shift)
{
    Dataset *ds = dataset();
    const int v = currentVisualColumn();
    if (!shift) {
        const int right = visibleVisual(v + 1, 1);
        if (right >= 0) {
            setCurrentVisualColumn(right);
            return;
        }
        commitCell();
        if (ds && ds->isOpen())
            ds->next();
        setCurrentVisualColumn(visibleVisual(0, 1));
        return;
    }
    const int left = v > 0 ? visibleVisual(v - 1, -1) : -1;
    if (left >= 0) {
        setCurrentVisualColumn(left);
        return;
    }
    commitCell();
    if (ds && ds->isOpen())
        ds->prior();
    setCurrentVisualColumn(lastVisualColumn());
}

void DataGrid::ensureEditing()
{
    Dataset *ds = dataset();
    if (ds && !ds->isEditing())
        ds->edit(); // an empty dataset appends instead
}

bool DataGrid::canChangeRecords() const
{
    const Dataset *ds = dataset();
    return ds && ds->isOpen() && ds->isLive() && !m_readOnly;
}

void DataGrid::commitCell()
{
    if (!m_dirty)
        return;
    Dataset *ds = dataset();
    const int f = m_model->fieldOf(m_column);
    if (!ds || !ds->isOpen() || f < 0) {
        m_dirty = false;
        return;
    }
    ensureEditing();
    QScopedValueRollback writing(m_writing, true);
    // the engine's conversion error goes to the caller; the text stays for correcting
    ds->setValue(f, m_model->parseText(m_editor->text(), ds->fieldDef(f)));
    m_cellValue = ds->value(f);
    m_dirty = false;
}

void DataGrid::onTextEdited(const QString &text)
{
    Dataset *ds = dataset();
    if (m_loading || !ds)
        return;
    m_cellTouched = true;
    if (!ds->isEditing()) {
        try {
            ensureEditing();
        } catch (...) {
            loadEditor();
            raiseLater(this, std::current_exception());
            return;
        }
    }
    const int f = m_model->fieldOf(m_column);
    if (f < 0 || !ds->isEditing())
        return;
    const FieldDef &def = ds->fieldDef(f);
    QVariant value;
    try {
        value = Dataset::convert(def, m_model->parseText(text, def));
    } catch (const Table::EngineError &) {
        // half a number or date: written, and refused, when the cell is left
        m_dirty = true;
        return;
    }
    QScopedValueRollback writing(m_writing, true);
    ds->setValue(f, value);
    m_cellValue = ds->value(f);
    m_dirty = false;
}

void DataGrid::revertCell()
{
    Dataset *ds = dataset();
    if (!ds || !ds->isOpen())
        return;
    const int f = m_model->fieldOf(m_column);
    if (m_cellTouched && m_entryModified && f >= 0 && ds->isEditing()) {
        // only this cell's typing goes; the record keeps its other changes
        {
            QScopedValueRollback writing(m_writing, true);
            ds->setValue(f, m_cellOriginal);
        }
        loadEditor();
        return;
    }
    m_dirty = false;
    if (ds->isEditing())
        ds->cancel();
    loadEditor();
}

void DataGrid::moveToRow(int row)
{
    Dataset *ds = dataset();
    if (!ds || !ds->isOpen())
        return;
    if (ds->state() == Dataset::State::Insert && !ds->isModified() && row != ds->row()) {
        // the untouched new row goes, and the rows below it move up one
        const int at = ds->row();
        ds->cancel();
        if (row > at)
            --row;
    }
    row = qBound(0, row, ds->rowCount() - 1);
    if (row >= 0 && row != ds->row())
        ds->moveTo(row);
}

void DataGrid::nextRow(bool appendAtEnd)
{
    Dataset *ds = dataset();
    if (!ds || !ds->isOpen())
        return;
    if (ds->row() < ds->rowCount() - 1) {
        moveToRow(ds->row() + 1);
        return;
    }
    const bool untouchedNew = ds->state() == Dataset::State::Insert && !ds->isModified();
    if (appendAtEnd && canChangeRecords() && !untouchedNew)
        ds->append();
}

void DataGrid::goToCell(int row, int logicalColumn)
{
    commitCell();
    Dataset *ds = dataset();
    if (ds && ds->isOpen() && row >= 0 && row != ds->row())
        moveToRow(row);
    if (logicalColumn >= 0 && logicalColumn < m_model->columnCount())
        enterColumn(logicalColumn);
    else
        syncCurrent();
}

void DataGrid::enterColumn(int logicalColumn)
{
    if (logicalColumn == m_column) {
        syncCurrent();
        return;
    }
    m_column = logicalColumn;
    syncCurrent();
    emit columnEntered(currentVisualColumn());
}

void DataGrid::syncCurrent()
{
    if (m_syncing)
        return;
    QScopedValueRollback syncing(m_syncing, true);
    const int cols = m_model->columnCount();
    if (m_column < 0 || m_column >= cols) {
        const int first = visibleVisual(0, 1);
        m_column = first >= 0 ? horizontalHeader()->logicalIndex(first) : 0;
    }
    const Dataset *ds = dataset();
    const int row = ds && ds->isOpen() ? ds->row() : -1;
    const QModelIndex idx = row < m_model->rowCount() ? m_model->index(row, m_column)
                                                      : QModelIndex();
    if (selectionModel() && selectionModel()->currentIndex() != idx)
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::NoUpdate);
    if (idx.isValid() && !ds->controlsDisabled())
        scrollTo(idx);
    loadEditor();
    placeEditor();
}

void DataGrid::loadEditor()
{
    QScopedValueRollback loading(m_loading, true);
    const Dataset *ds = dataset();
    const QModelIndex idx = currentIndex();
    const bool valid = ds && idx.isValid() && idx.row() == ds->row();
    const FieldDef *f = m_model->fieldDef(m_column);
    // typing into an empty grid makes its first record
    const bool empty = ds && ds->isOpen() && ds->rowCount() == 0;
    const bool editable = f && (valid || empty) && canChangeRecords()
                          && m_model->isColumnEditable(m_column);
    m_cellOriginal = valid && f ? ds->valueAt(idx.row(), m_model->fieldOf(m_column)) : QVariant();
    m_cellValue = m_cellOriginal;
    m_editor->setMaxLength(f && f->type == FieldType::Text && f->width > 0 ? f->width : 32767);
    m_editor->setText(valid && f ? m_model->displayText(m_cellOriginal, *f) : QString());
    m_editor->setAlignment(m_model->alignment(m_column) & Qt::AlignHorizontal_Mask);
    m_editor->setReadOnly(!editable);
    QPalette p = palette();
    const QColor bg = valid ? m_model->cellBackground(idx.row(), idx.column()) : QColor();
    if (bg.isValid())
        p.setColor(QPalette::Base, bg);
    m_editor->setPalette(p);
    m_editor->setCursorPosition(m_editor->text().size());
    m_editor->selectAll();
    m_dirty = false;
    m_cellTouched = false;
    m_entryModified = ds && ds->isModified();
}

bool DataGrid::cellChanged() const
{
    const Dataset *ds = dataset();
    const int f = m_model->fieldOf(m_column);
    if (!ds || f < 0)
        return true;
    const QVariant now = ds->valueAt(ds->row(), f);
    return now.isValid() != m_cellValue.isValid() || now != m_cellValue;
}

void DataGrid::placeEditor()
{
    const QModelIndex idx = currentIndex();
    QRect r = idx.isValid() ? visualRect(idx) : QRect();
    if (r.isValid() && showGrid())
        r.adjust(0, 0, -1, -1);
    // kept shown when there is no cell, so the grid can still take the focus and keys
    m_editor->setGeometry(r.isValid() ? r : QRect(0, 0, 0, 0));
}

bool DataGrid::deleteRecord()
{
    Dataset *ds = dataset();
    if (!canChangeRecords() || ds->row() < 0)
        return false;
    if (!dialogs().confirm(QStringLiteral("Delete record?")))
        return false;
    m_dirty = false; // the record goes, and the text typed into it
    ds->remove();
    return true;
}

bool DataGrid::canWriteCell() const
{
    return canChangeRecords() && m_model->fieldDef(m_column)
           && m_model->isColumnEditable(m_column);
}

void DataGrid::writeCell(const QVariant &value)
{
    if (!canWriteCell())
        return;
    Dataset *ds = dataset();
    ds->checkBrowseMode(); // the record's pending edit, typed text included, is posted first
    const int f = m_model->fieldOf(m_column);
    ds->edit();
    try {
        const FieldDef &def = ds->fieldDef(f);
        {
            QScopedValueRollback writing(m_writing, true);
            ds->setValue(f, value.typeId() == QMetaType::QString
                                ? m_model->parseText(value.toString(), def)
                                : value);
        }
        ds->post();
    } catch (...) {
        ds->cancel();
        throw;
    }
    loadEditor();
}

bool DataGrid::handleKey(QKeyEvent *e)
{
    Dataset *ds = dataset();
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const int rows = ds && ds->isOpen() ? ds->rowCount() : 0;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        commitCell();
        if (m_enterHandler)
            m_enterHandler(shift);
        else
            moveByEnter(shift);
        return true;
    case Qt::Key_Tab: {
        commitCell();
        const int right = visibleVisual(currentVisualColumn() + 1, 1);
        if (right >= 0) {
            setCurrentVisualColumn(right);
        } else {
            nextRow(true);
            setCurrentVisualColumn(visibleVisual(0, 1));
        }
        return true;
    }
    case Qt::Key_Backtab: {
        commitCell();
        const int v = currentVisualColumn();
        const int left = v > 0 ? visibleVisual(v - 1, -1) : -1;
        if (left >= 0) {
            setCurrentVisualColumn(left);
        } else if (ds && ds->isOpen() && ds->row() > 0) {
            moveToRow(ds->row() - 1);
            setCurrentVisualColumn(lastVisualColumn());
        }
        return true;
    }
    case Qt::Key_Up:
        commitCell();
        if (ds && ds->isOpen())
            moveToRow(ds->row() - 1);
        return true;
    case Qt::Key_Down:
        commitCell();
        nextRow(true);
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        commitCell();
        const int page = qMax(1, viewport()->height() / qMax(1, rowHeight(0)) - 1);
        if (ds && ds->isOpen())
            moveToRow(ds->row() + (e->key() == Qt::Key_PageUp ? -page : page));
        return true;
    }
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!ctrl)
            return false;
        commitCell();
        moveToRow(e->key() == Qt::Key_Home ? 0 : rows - 1);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        // inside the text the caret moves; at its edge, or with all of it chosen, the cell
        const bool left = e->key() == Qt::Key_Left;
        const QString t = m_editor->text();
        const bool all = m_editor->hasSelectedText() && m_editor->selectedText() == t;
        const bool edge = !m_editor->hasSelectedText()
                          && m_editor->cursorPosition() == (left ? 0 : int(t.size()));
        if (shift || ctrl || !(all || edge || t.isEmpty()))
            return false;
        commitCell();
        const int v = currentVisualColumn();
        const int to = left ? (v > 0 ? visibleVisual(v - 1, -1) : -1) : visibleVisual(v + 1, 1);
        if (to >= 0)
            setCurrentVisualColumn(to);
        return true;
    }
    case Qt::Key_Escape:
        revertCell();
        return true;
    case Qt::Key_Insert:
        if (mods != Qt::NoModifier)
            return false;
        commitCell();
        if (canChangeRecords())
            ds->insert();
        return true;
    case Qt::Key_Delete:
        if (ctrl) {
            deleteRecord();
            return true;
        }
        break;
    default:
        break;
    }
    if (!m_editor->isReadOnly() && changesText(e)) {
        const Dataset *ds = dataset();
        if (ds && !ds->isEditing()) {
            if (EditRefusal::swallowing())
                return true;
            try {
                ensureEditing();
            } catch (const std::exception &refused) {
                // the key stops here and the cell keeps the stored text
                EditRefusal::report(QString::fromUtf8(refused.what()));
                return true;
            }
        }
    }
    return false;
}

void DataGrid::handleFocusLeft()
{
    try {
        commitCell();
    } catch (...) {
        raiseLater(this, std::current_exception());
        return;
    }
    Dataset *ds = dataset();
    if (ds && ds->state() == Dataset::State::Insert && !ds->isModified())
        ds->cancel();
    emit focusLeft();
}

bool DataGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor) {
        switch (event->type()) {
        case QEvent::KeyPress:
            return handleKey(static_cast<QKeyEvent *>(event));
        case QEvent::ShortcutOverride: {
            // keys the grid acts on are not the window's shortcuts while it has the focus
            auto *ke = static_cast<QKeyEvent *>(event);
            const bool ctrl = ke->modifiers() & Qt::ControlModifier;
            if ((ke->key() == Qt::Key_Delete && ctrl) || ke->key() == Qt::Key_Insert
                || ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter
                || ke->key() == Qt::Key_Escape) {
                event->accept();
                return true;
            }
            break;
        }
        case QEvent::FocusOut: {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
                break;
            QWidget *now = QApplication::focusWidget();
            if (!now || (now != this && !isAncestorOf(now)))
                handleFocusLeft();
            break;
        }
        default:
            break;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void DataGrid::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    event->accept();
    // the right button, too, puts the cell cursor on the cell its menu is to work on
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    const QModelIndex idx = indexAt(event->position().toPoint());
    if (idx.isValid())
        goToCell(idx.row(), idx.column());
}

void DataGrid::mouseMoveEvent(QMouseEvent *event)
{
    // no drag selection: the grid has one current cell and nothing else
    event->accept();
}

void DataGrid::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const QModelIndex idx = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && idx.isValid()) {
        emit clicked(idx);
        emit cellClicked(idx.row(), horizontalHeader()->visualIndex(idx.column()));
    }
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
    const QModelIndex idx = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && idx.isValid())
        emit doubleClicked(idx);
}

void DataGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    placeEditor();
}

void DataGrid::updateGeometries()
{
    QTableView::updateGeometries();
    placeEditor();
}

void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || m_modelChanging > 0)
        return;
    // the view's index was set from outside the grid's own moves: the record follows
    try {
        if (current.isValid())
            goToCell(current.row(), current.column());
        else
            syncCurrent();
    } catch (...) {
        syncCurrent();
        raiseLater(this, std::current_exception());
    }
}

void DataGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !m_dirty && !m_loading)
        loadEditor();
    else if (event->type() == QEvent::FontChange)
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

} // namespace Brelvan
