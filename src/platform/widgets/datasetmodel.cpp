#include "platform/widgets/datasetmodel.h"

#include <QDate>

#include <vector>

namespace Brelvan {

using Table::Dataset;
using Table::FieldDef;
using Table::FieldType;

DatasetModel::DatasetModel(QObject *parent) : QAbstractTableModel(parent) {}

void DatasetModel::setDataset(Dataset *dataset)
{
    if (dataset == m_ds)
        return;
    for (const QMetaObject::Connection &c : std::as_const(m_links))
        disconnect(c);
    m_links.clear();
    m_ds = dataset;
    m_forceReset = true;
    if (m_ds) {
        m_links << connect(m_ds, &Dataset::rowsReset, this, &DatasetModel::reset)
                << connect(m_ds, &Dataset::rowChanged, this, &DatasetModel::onRowChanged)
                << connect(m_ds, &Dataset::rowInserted, this, &DatasetModel::onRowInserted)
                << connect(m_ds, &Dataset::rowRemoved, this, &DatasetModel::onRowRemoved)
                << connect(m_ds, &Dataset::currentChanged, this,
                           &DatasetModel::onCurrentChanged)
                << connect(m_ds, &Dataset::stateChanged, this, &DatasetModel::onStateChanged)
                // a walk with the controls off may have changed any row without telling
                << connect(m_ds, &Dataset::controlsEnabled, this, [this] {
                       if (m_rows != m_ds->rowCount())
                           reset();
                       else
                           allChanged();
                   });
    }
    reset();
}

void DatasetModel::setColumns(const QList<GridColumn> &columns)
{
    m_configured = columns;
    m_forceReset = true;
    reset();
}

QList<GridColumn> DatasetModel::columns() const
{
    return m_cols;
}

void DatasetModel::resolveFields(QList<GridColumn> &cols, QList<int> &fields) const
{
    cols = m_configured;
    const Table::TableDef *def = m_ds ? m_ds->table() : nullptr;
    if (cols.isEmpty() && def) {
        for (const FieldDef &f : def->fields) {
            if (f.type != FieldType::Picture)
                cols.append({f.name});
        }
    }
    fields.clear();
    for (GridColumn &c : cols) {
        if (c.title.isEmpty())
            c.title = c.field;
        fields << (m_ds && def ? m_ds->fieldIndex(c.field) : -1);
    }
}

void DatasetModel::reset()
{
    QList<GridColumn> cols;
    QList<int> fields;
    resolveFields(cols, fields);
    bool sameColumns = !m_forceReset && fields == m_fields && cols.size() == m_cols.size();
    for (int i = 0; sameColumns && i < cols.size(); ++i)
        sameColumns = cols.at(i).title == m_cols.at(i).title;
    m_forceReset = false;
    if (!sameColumns) {
        beginResetModel();
        m_cols = cols;
        m_fields = fields;
        m_rows = m_ds ? m_ds->rowCount() : 0;
        m_currentRow = m_ds ? m_ds->row() : -1;
        endResetModel();
        return;
    }
    // A re-query over the same columns: tell the views about rows only, so the columns
    // keep the widths and places the user gave them.
    m_cols = cols;
    const int n = m_ds ? m_ds->rowCount() : 0;
    if (n < m_rows) {
        beginRemoveRows({}, n, m_rows - 1);
        m_rows = n;
        endRemoveRows();
    } else if (n > m_rows) {
        beginInsertRows({}, m_rows, n - 1);
        m_rows = n;
        endInsertRows();
    }
    m_currentRow = m_ds ? m_ds->row() : -1;
    allChanged();
    if (m_rows > 0)
        emit headerDataChanged(Qt::Vertical, 0, m_rows - 1);
}

const FieldDef *DatasetModel::fieldDef(int column) const
{
    const int f = fieldOf(column);
    if (f < 0 || !m_ds || f >= m_ds->fieldCount())
        return nullptr;
    return &m_ds->fieldDef(f);
}

Qt::Alignment DatasetModel::alignment(int column) const
{
    if (column < 0 || column >= m_cols.size())
        return Qt::AlignLeft | Qt::AlignVCenter;
    Qt::Alignment a = m_cols.at(column).alignment;
    if (!(a & Qt::AlignHorizontal_Mask)) {
        const FieldDef *f = fieldDef(column);
        a |= f && f->isNumber() ? Qt::AlignRight : Qt::AlignLeft;
    }
    if (!(a & Qt::AlignVertical_Mask))
        a |= Qt::AlignVCenter;
    return a;
}

bool DatasetModel::isColumnEditable(int column) const
{
    const FieldDef *f = fieldDef(column);
    return f && !m_cols.at(column).readOnly && f->type != FieldType::Picture
           && f->type != FieldType::Memo && m_ds->isLive();
}

void DatasetModel::setDateFormat(const QString &format)
{
    m_dateFormat = format;
    // typing need not give the leading zeros
    m_dateReadFormat = format;
    m_dateReadFormat.replace(QLatin1String("dd"), QLatin1String("d"));
    m_dateReadFormat.replace(QLatin1String("MM"), QLatin1String("M"));
    allChanged();
}

void DatasetModel::setAlternateColor(const QColor &color)
{
    m_alternate = color;
    allChanged({Qt::BackgroundRole});
}

void DatasetModel::allChanged(const QList<int> &roles)
{
    if (m_rows > 0 && !m_cols.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows - 1, int(m_cols.size()) - 1), roles);
}

QColor DatasetModel::cellBackground(int row, int column) const
{
    // record numbers count from 1: the first row is odd
    if (m_alternate.isValid() && row % 2 == 0)
        return m_alternate;
    if (column >= 0 && column < m_cols.size())
        return m_cols.at(column).tint;
    return {};
}

QString DatasetModel::displayText(const QVariant &v, const FieldDef &f) const
{
    if (!v.isValid())
        return {};
    switch (f.type) {
    case FieldType::Date:
        return v.toDate().toString(m_dateFormat);
    case FieldType::Money:
        return QString::number(v.toDouble(), 'f', 2);
    case FieldType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    case FieldType::SmallInt:
    case FieldType::Integer:
        return QString::number(v.toInt());
    case FieldType::Memo: {
        // one line of a note is all a cell can show
        const QString s = v.toString();
        const qsizetype nl = s.indexOf(QLatin1Char('\n'));
        return nl < 0 ? s : s.left(nl).trimmed();
    }
    case FieldType::Picture:
        return QStringLiteral("(Graphic)");
    case FieldType::Text:
        break;
    }
    return v.toString();
}

QVariant DatasetModel::parseText(const QString &text, const FieldDef &f) const
{
    if (f.type == FieldType::Date) {
        const QString s = text.trimmed();
        if (s.isEmpty())
            return {};
        QDate d = QDate::fromString(s, m_dateReadFormat);
        if (!d.isValid())
            d = QDate::fromString(s, m_dateFormat);
        if (d.isValid())
            return d;
    }
    return text;
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_cols.size());
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!m_ds || !index.isValid())
        return {};
    const int row = index.row(), col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const int f = m_fields.value(col, -1);
        if (f < 0)
            return {};
        return displayText(m_ds->valueAt(row, f), m_ds->fieldDef(f));
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignment(col));
    case Qt::BackgroundRole: {
        const QColor c = cellBackground(row, col);
        return c.isValid() ? QVariant(c) : QVariant();
    }
    default:
        return {};
    }
}

QString DatasetModel::indicator(Dataset::State state)
{
    switch (state) {
    case Dataset::State::Edit:
        return QStringLiteral("I");
    case Dataset::State::Insert:
        return QStringLiteral("\u2731");
    case Dataset::State::Browse:
        return QStringLiteral("\u25B6");
    case Dataset::State::Inactive:
        break;
    }
    return {};
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_cols.size())
            return {};
        if (role == Qt::DisplayRole)
            return m_cols.at(section).title;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        return {};
    }
    if (role == Qt::DisplayRole)
        return m_ds && section == m_currentRow ? indicator(m_ds->state()) : QString();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags fl = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (isColumnEditable(index.column()))
        fl |= Qt::ItemIsEditable;
    return fl;
}

bool DatasetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !isColumnEditable(index.column()))
        return false;
    if (index.row() != m_ds->row())
        m_ds->moveTo(index.row());
    if (index.row() != m_ds->row())
        return false;
    m_ds->edit();
    const FieldDef &f = m_ds->fieldDef(fieldOf(index.column()));
    const QVariant v = value.metaType().id() == QMetaType::QString
                           ? parseText(value.toString(), f)
                           : value;
    m_ds->setValue(fieldOf(index.column()), v);
    return true;
}

void DatasetModel::onRowChanged(int row)
{
    if (row < 0 || row >= m_rows || m_cols.isEmpty())
        return;
    emit dataChanged(index(row, 0), index(row, int(m_cols.size()) - 1));
}

void DatasetModel::onRowInserted(int row)
{
    row = qBound(0, row, m_rows);
    beginInsertRows({}, row, row);
    ++m_rows;
    if (m_currentRow >= row)
        ++m_currentRow;
    endInsertRows();
}

void DatasetModel::onRowRemoved(int row)
{
    if (row < 0 || row >= m_rows)
        return;
    beginRemoveRows({}, row, row);
    --m_rows;
    if (m_currentRow > row)
        --m_currentRow;
    else if (m_currentRow == row)
        m_currentRow = -1;
    endRemoveRows();
}

void DatasetModel::onCurrentChanged(int row)
{
    const int old = m_currentRow;
    m_currentRow = row;
    if (old >= 0 && old < m_rows)
        emit headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0 && row < m_rows && row != old)
        emit headerDataChanged(Qt::Vertical, row, row);
}

void DatasetModel::onStateChanged()
{
    if (m_currentRow >= 0 && m_currentRow < m_rows)
        emit headerDataChanged(Qt::Vertical, m_currentRow, m_currentRow);
}

namespace {

struct PendingWriter
{
    QPointer<Dataset> dataset;
    QPointer<QObject> owner;
    std::function<void()> write;
};

std::vector<PendingWriter> &writers()
{
    static std::vector<PendingWriter> list;
    return list;
}

} // namespace

void addPendingEditWriter(Dataset *dataset, QObject *owner, std::function<void()> write)
{
    removePendingEditWriter(dataset, owner);
    writers().push_back({dataset, owner, std::move(write)});
}

void removePendingEditWriter(Dataset *dataset, QObject *owner)
{
    auto &list = writers();
    std::erase_if(list, [&](const PendingWriter &w) {
        return !w.dataset || !w.owner || (w.dataset == dataset && w.owner == owner);
    });
}

void writePendingEdits(Dataset *dataset)
{
    if (!dataset)
        return;
    // copied: a writer may register or leave while it runs
    const std::vector<PendingWriter> list = writers();
    for (const PendingWriter &w : list) {
        if (w.dataset == dataset && w.owner && w.write)
            w.write();
    }
}

} // namespace Brelvan
