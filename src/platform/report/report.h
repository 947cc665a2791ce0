#pragma once

#include "platform/report/band.h"
#include "platform/report/document.h"
#include "platform/report/group.h"

#include <QDateTime>
#include <QMarginsF>
#include <QVariantMap>

#include <memory>
#include <vector>

namespace Brelvan {

class ReportSource;

// A band report: its page, its bands and where its rows come from. render() lays it out
// into a Document.
//
//     Report r;
//     r.setReportTitle("Expense Report").landscape();
//     r.columnHeader().height(6).text(0, 0, 30, 5, "Date").bold();
//     r.detail().height(5).field(0, 0, 30, 5, "Date");
//     r.summary().height(6).sum(100, 0, 30, 5, "Amount").right();
//     Document doc = r.render();
class Report
{
public:
    Report();
    ~Report();
    Report(const Report &) = delete;
    Report &operator=(const Report &) = delete;

    Report &setReportTitle(const QString &title) { m_title = title; return *this; }
    QString reportTitle() const { return m_title; }

    // A4; portrait unless landscape.
    Report &landscape(bool on = true) { m_landscape = on; return *this; }
    bool isLandscape() const { return m_landscape; }
    Report &pageSize(const QSizeF &portraitMm) { m_paper = portraitMm; return *this; }
    Report &margins(double mm) { m_margins = QMarginsF(mm, mm, mm, mm); return *this; }
    Report &margins(const QMarginsF &mm) { m_margins = mm; return *this; }
    QSizeF pageSizeMm() const;
    QMarginsF marginsMm() const { return m_margins; }
    // The width between the margins.
    double printWidth() const;
    double printHeight() const;

    // Detail records in `count` columns, filled down then across.
    Report &columns(int count, double spacingMm = 0);
    int columnCount() const { return m_columns; }
    double columnSpacing() const { return m_columnSpacing; }
    double columnWidth() const;

    Report &font(const QFont &font) { m_font = font; return *this; }
    QFont defaultFont() const { return m_font; }
    Report &dateFormat(const QString &format) { m_dateFormat = format; return *this; }
    QString dateFormatText() const { return m_dateFormat; }
    // The printing time; the program's clock when not set.
    Report &now(const QDateTime &now) { m_now = now; return *this; }
    QDateTime nowValue() const { return m_now; }

    // The rows the detail band walks from the first; without a source the detail band
    // prints once.
    Report &source(ReportSource *source) { m_source = source; return *this; }
    ReportSource *sourceValue() const { return m_source; }
    // Values handed to the report; they answer before the source's fields of that name.
    Report &values(const QVariantMap &values) { m_values = values; return *this; }
    Report &setValue(const QString &name, const QVariant &value);
    const QVariantMap &handedValues() const { return m_values; }
    // A field code sums with RenderState::sum() though no SUM text names it.
    Report &sumField(const QString &field);
    const QStringList &extraSumFields() const { return m_sumFields; }

    Band &title() { return m_titleBand; }
    Band &pageHeader() { return m_pageHeader; }
    Band &columnHeader() { return m_columnHeader; }
    Band &detail() { return m_detail; }
    Band &summary() { return m_summary; }
    Band &pageFooter() { return m_pageFooter; }
    const Band &title() const { return m_titleBand; }
    const Band &pageHeader() const { return m_pageHeader; }
    const Band &columnHeader() const { return m_columnHeader; }
    const Band &detail() const { return m_detail; }
    const Band &summary() const { return m_summary; }
    const Band &pageFooter() const { return m_pageFooter; }

    // Groups nest in the order they are added, the first outermost.
    Group &group(const QString &field);
    Group &group(Group::Key key);
    int groupCount() const { return int(m_groups.size()); }
    Group &groupAt(int level) { return *m_groups.at(level); }
    const Group &groupAt(int level) const { return *m_groups.at(level); }

    // Every band, groups' bands and child bands included.
    QList<const Band *> allBands() const;
    // The element named `name` on any band.
    template<typename T = Element>
    T *find(const QString &name) const
    {
        for (const Band *band : allBands()) {
            if (T *found = band->find<T>(name))
                return found;
        }
        return nullptr;
    }
    TextElement *text(const QString &name) const { return find<TextElement>(name); }

    Document render();

private:
    QString m_title;
    bool m_landscape = false;
    QSizeF m_paper{210, 297};
    QMarginsF m_margins{10, 10, 10, 10};
    int m_columns = 1;
    double m_columnSpacing = 0;
    QFont m_font;
    QString m_dateFormat = QStringLiteral("dd/MM/yyyy");
    QDateTime m_now;
    ReportSource *m_source = nullptr;
    QVariantMap m_values;
    QStringList m_sumFields;

    Band m_titleBand{BandKind::Title};
    Band m_pageHeader{BandKind::PageHeader};
    Band m_columnHeader{BandKind::ColumnHeader};
    Band m_detail{BandKind::Detail};
    Band m_summary{BandKind::Summary};
    Band m_pageFooter{BandKind::PageFooter};
    std::vector<std::unique_ptr<Group>> m_groups;
};

} // namespace Brelvan
