#pragma once

#include "platform/report/renderstate.h"
#include "platform/report/report.h"

#include <QHash>
#include <QSet>

namespace Brelvan {

// One rendering of a report: walks the rows, breaks groups, places bands on pages and
// columns, and keeps the counts and sums that the report's texts read.
class ReportEngine final : public RenderState
{
public:
    explicit ReportEngine(Report &report);
    Document run();

    QVariant value(const QString &field) const override;
    int pageNumber() const override { return m_page; }
    int detailCount() const override { return m_count; }
    int pageDetailCount() const override { return m_pageCount; }
    double sum(const QString &field) const override { return m_sums.value(field); }
    double pageSum(const QString &field) const override { return m_pageSums.value(field); }
    QVariant groupKey(int level) const override;
    int groupCount(int level) const override;
    double groupSum(int level, const QString &field) const override;
    BandKind bandKind() const override { return m_kind; }
    int groupLevel() const override { return m_level; }
    QDateTime now() const override { return m_now; }
    QString reportTitle() const override { return m_report.reportTitle(); }
    QString format(const QVariant &value) const override;

private:
    struct OpenGroup
    {
        QVariant key;
        int count = 0;
        QHash<QString, double> sums;
    };

    void collectFields();
    void processRecord();
    void openGroups(int from, const QList<QVariant> &keys);
    void closeGroups(int from);
    void accumulate();
    void printBand(const Band &band, int level = -1);
    void printFixed(const Band &band, double y);
    void place(const Band::Layout &layout, bool columnar, bool detailRecord);
    void emitItems(const Band::Layout &layout, double from, double to, double x, double y);
    void breakColumnOrPage(bool columnar);
    void startPage();
    void finishPage();
    bool isColumnar(BandKind kind) const;

    Report &m_report;
    ReportSource *m_source;
    Document m_doc;
    LayoutContext m_context;
    QDateTime m_now;

    QStringList m_sumFields;
    QSet<QString> m_keptFields;
    QHash<QString, QVariant> m_kept;
    bool m_useKept = false;

    QHash<QString, double> m_sums;
    QHash<QString, double> m_pageSums;
    QHash<QString, double> m_recordValues;
    int m_count = 0;
    int m_pageCount = 0;
    QList<OpenGroup> m_groups;
    bool m_started = false;

    BandKind m_kind = BandKind::Title;
    int m_level = -1;
    int m_page = 0;
    int m_column = 0;
    double m_y = 0;
    double m_columnTop = 0;
    double m_pageMaxY = 0;
    double m_bottom = 0;
    bool m_pageHasRecords = false;
};

} // namespace Brelvan
