#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace Brelvan {

enum class BandKind {
    Title,
    PageHeader,
    ColumnHeader,
    Detail,
    Child,
    GroupHeader,
    GroupFooter,
    Summary,
    PageFooter
};

// What a before-print step or a computed text can ask while a report renders.
class RenderState
{
public:
    virtual ~RenderState();

    // The current row's value of `field` (a handed-over value of that name comes first);
    // in a group footer and the summary, the value of the last row printed.
    virtual QVariant value(const QString &field) const = 0;
    virtual int pageNumber() const = 0;
    // Detail records printed so far, the current one included.
    virtual int detailCount() const = 0;
    virtual int pageDetailCount() const = 0;
    // Running SUM(field) over every record so far, and over this page's records.
    virtual double sum(const QString &field) const = 0;
    virtual double pageSum(const QString &field) const = 0;
    // The group at `level` (0 = outermost): its key, detail count and sums.
    virtual QVariant groupKey(int level) const = 0;
    virtual int groupCount(int level) const = 0;
    virtual double groupSum(int level, const QString &field) const = 0;

    virtual BandKind bandKind() const = 0;
    // The group level of the group header or footer printing; -1 for other bands.
    virtual int groupLevel() const = 0;
    virtual QDateTime now() const = 0;
    virtual QString reportTitle() const = 0;
    // A value as text: empty for null, dates in the report's date format, floating-point
    // numbers with two decimals.
    virtual QString format(const QVariant &value) const = 0;

    // The count and sum of the band's own scope: its group in a group band, the page in
    // the page header and footer, the whole report elsewhere.
    int scopedCount() const;
    double scopedSum(const QString &field) const;
};

} // namespace Brelvan
