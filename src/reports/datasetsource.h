#pragma once

#include "platform/report/reportsource.h"

namespace Brelvan {

namespace Table {
class Dataset;
}

// A report walks a page's dataset as it stands: its filter, its order. The walk leaves the
// grids alone and puts the cursor back where it was.
class DatasetSource final : public ReportSource
{
public:
    explicit DatasetSource(Table::Dataset &dataset);
    ~DatasetSource() override;

    void first() override;
    void next() override;
    bool eof() const override;
    QVariant value(const QString &field) const override;

private:
    Table::Dataset &m_ds;
    int m_row = 0;
    int m_startRow;
};

} // namespace Brelvan
