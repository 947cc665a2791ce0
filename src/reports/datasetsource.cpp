#include "reports/datasetsource.h"

#include "platform/table/dataset.h"

namespace Brelvan {

// Reads rows by index: the dataset's cursor, its events and its grids stay where they are.
DatasetSource::DatasetSource(Table::Dataset &dataset) : m_ds(dataset), m_startRow(dataset.row()) {}

DatasetSource::~DatasetSource() = default;

// a record being inserted and not yet posted is not printed
static bool isPending(const Table::Dataset &ds, int row)
{
    return ds.state() == Table::Dataset::State::Insert && row == ds.row();
}

void DatasetSource::first()
{
    m_row = 0;
    if (isPending(m_ds, m_row))
        ++m_row;
}

void DatasetSource::next()
{
    ++m_row;
    if (isPending(m_ds, m_row))
        ++m_row;
}

bool DatasetSource::eof() const
{
    return !m_ds.isOpen() || m_row >= m_ds.rowCount();
}

QVariant DatasetSource::value(const QString &field) const
{
    const int f = m_ds.fieldIndex(field);
    if (f < 0)
        return {};
    return m_ds.valueAt(m_row, f);
}

} // namespace Brelvan
