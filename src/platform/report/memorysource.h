#pragma once

#include "platform/report/reportsource.h"

#include <QList>
#include <QVariantMap>

namespace Brelvan {

// A report source over rows held in memory, one map of field values a row.
class MemorySource : public ReportSource
{
public:
    MemorySource() = default;
    explicit MemorySource(const QList<QVariantMap> &rows) : m_rows(rows) {}

    void append(const QVariantMap &row) { m_rows.append(row); }
    int count() const { return int(m_rows.size()); }

    void first() override { m_row = 0; }
    void next() override
    {
        if (m_row < m_rows.size())
            ++m_row;
    }
    bool eof() const override { return m_row >= m_rows.size(); }
    QVariant value(const QString &field) const override
    {
        return eof() ? QVariant() : m_rows.at(m_row).value(field);
    }

private:
    QList<QVariantMap> m_rows;
    qsizetype m_row = 0;
};

} // namespace Brelvan
