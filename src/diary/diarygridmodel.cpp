#include "diary/diarygridmodel.h"

#include "data/formats.h"
#include "platform/table/dataset.h"

namespace Brelvan {

using Table::Dataset;

namespace {
const char *const columns[] = {"Tag", "DATE"};
}

DiaryGridModel::DiaryGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void DiaryGridModel::setDataset(Dataset *dataset)
{
    if (dataset == m_ds)
        return;
    beginResetModel();
    for (const auto &c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_ds = dataset;
    if (m_ds) {
        m_connections << connect(m_ds, &Dataset::rowsReset, this, &DiaryGridModel::reset)
                      << connect(m_ds, &Dataset::rowInserted, this, &DiaryGridModel::reset)
                      << connect(m_ds, &Dataset::rowRemoved, this, &DiaryGridModel::reset)
                      << connect(m_ds, &Dataset::rowChanged, this, [this](int row) {
                             emit dataChanged(index(row, 0), index(row, 1));
                         });
    }
    endResetModel();
}

void DiaryGridModel::reset()
{
    beginResetModel();
    endResetModel();
}

QString DiaryGridModel::fieldOf(int column) const
{
    return column >= 0 && column < 2 ? QString::fromLatin1(columns[column]) : QString();
}

int DiaryGridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_ds || !m_ds->isOpen())
        return 0;
    return m_ds->rowCount();
}

int DiaryGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant DiaryGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_ds || !m_ds->isOpen())
        return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == 0 ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const QVariant v = m_ds->valueAt(index.row(), m_ds->fieldIndex(fieldOf(index.column())));
    if (index.column() == 1)
        return role == Qt::EditRole ? v : QVariant(shortDate(v.toDate()));
    return v.toString();
}

QVariant DiaryGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == 0 ? QStringLiteral("Tag") : QStringLiteral("Date ");
}

Qt::ItemFlags DiaryGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_ds && m_ds->isLive())
        f |= Qt::ItemIsEditable;
    return f;
}

bool DiaryGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !m_ds || !m_ds->isLive())
        return false;
    m_ds->moveTo(index.row());
    m_ds->edit();
    try {
        // typed text is converted by the field, which refuses what it cannot take
        m_ds->setValue(fieldOf(index.column()), value);
        m_ds->post();
    } catch (...) {
        m_ds->cancel();
        throw;
    }
    return true;
}

} // namespace Brelvan
