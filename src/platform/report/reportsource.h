#pragma once

#include <QString>
#include <QVariant>

namespace Brelvan {

// The rows a report's detail band walks, as the caller has them (current filter and
// order). A null QVariant is an empty value; dates are QDate, money double.
class ReportSource
{
public:
    virtual ~ReportSource();
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    virtual QVariant value(const QString &field) const = 0;
};

} // namespace Brelvan
