#include "platform/report/reportengine.h"

#include "platform/desktop/clock.h"
#include "platform/report/reportsource.h"

namespace Brelvan {

namespace {

constexpr double Epsilon = 0.001;

double itemTop(const DocItem &item)
{
    return item.kind == DocItem::Kind::Line ? qMin(item.rect.top(), item.rect.bottom())
                                            : item.rect.top();
}

} // namespace

ReportEngine::ReportEngine(Report &report) : m_report(report), m_source(report.sourceValue())
{
    m_context.document = &m_doc;
    m_context.defaultFont = report.defaultFont();
    m_now = report.nowValue().isValid() ? report.nowValue() : clock().now();
}

void ReportEngine::collectFields()
{
    m_sumFields = m_report.extraSumFields();
    for (const Band *band : m_report.allBands()) {
        const bool keeps = band->kind() == BandKind::GroupFooter
                           || band->kind() == BandKind::Summary;
        for (const auto &e : band->elements()) {
            const auto *text = dynamic_cast<const TextElement *>(e.get());
            if (!text)
                continue;
            if (text->content() == TextElement::Content::Sum
                && !m_sumFields.contains(text->text()))
                m_sumFields.append(text->text());
            if (keeps && text->content() == TextElement::Content::Field)
                m_keptFields.insert(text->text());
        }
    }
    for (int i = 0; i < m_report.groupCount(); ++i) {
        for (const QString &field : m_report.groupAt(i).keptFields())
            m_keptFields.insert(field);
    }
}

Document ReportEngine::run()
{
    m_doc.setTitle(m_report.reportTitle());
    collectFields();
    const Band &footer = m_report.pageFooter();
    m_bottom = m_report.pageSizeMm().height() - m_report.marginsMm().bottom()
               - (footer.isEnabled() ? footer.heightMm() : 0);

    startPage();
    if (m_source) {
        for (m_source->first(); !m_source->eof(); m_source->next())
            processRecord();
    } else {
        processRecord();
    }
    // The footers after the last record and the summary read that last record.
    m_useKept = true;
    if (m_started)
        closeGroups(0);
    printBand(m_report.summary());
    finishPage();
    return m_doc;
}

void ReportEngine::processRecord()
{
    m_useKept = false;
    QList<QVariant> keys;
    for (int i = 0; i < m_report.groupCount(); ++i)
        keys.append(m_report.groupAt(i).key(*this));

    if (!m_started) {
        m_started = true;
        openGroups(0, keys);
    } else {
        int changed = 0;
        while (changed < keys.size() && keys.at(changed) == m_groups.at(changed).key)
            ++changed;
        if (changed < keys.size()) {
            m_useKept = true;
            closeGroups(changed);
            m_useKept = false;
            openGroups(changed, keys);
        }
    }
    accumulate();
    for (const QString &field : std::as_const(m_keptFields))
        m_kept.insert(field, value(field));
    printBand(m_report.detail());
}

void ReportEngine::openGroups(int from, const QList<QVariant> &keys)
{
    for (int level = from; level < keys.size(); ++level) {
        m_groups.append(OpenGroup{keys.at(level), 0, {}});
        printBand(m_report.groupAt(level).header(), level);
    }
}

void ReportEngine::closeGroups(int from)
{
    for (int level = int(m_groups.size()) - 1; level >= from; --level) {
        printBand(m_report.groupAt(level).footer(), level);
        m_groups.removeLast();
    }
}

void ReportEngine::accumulate()
{
    ++m_count;
    m_recordValues.clear();
    for (const QString &field : std::as_const(m_sumFields)) {
        const QVariant v = value(field);
        const double amount = v.isNull() ? 0.0 : v.toDouble();
        m_recordValues.insert(field, amount);
        m_sums[field] += amount;
    }
    for (OpenGroup &group : m_groups) {
        ++group.count;
        for (auto it = m_recordValues.cbegin(); it != m_recordValues.cend(); ++it)
            group.sums[it.key()] += it.value();
    }
}

QVariant ReportEngine::value(const QString &field) const
{
    if (m_useKept) {
        const auto kept = m_kept.constFind(field);
        if (kept != m_kept.cend())
            return kept.value();
    }
    const QVariantMap &values = m_report.handedValues();
    const auto handed = values.constFind(field);
    if (handed != values.cend())
        return handed.value();
    if (m_source && !m_source->eof())
        return m_source->value(field);
    return {};
}

QVariant ReportEngine::groupKey(int level) const
{
    return level >= 0 && level < m_groups.size() ? m_groups.at(level).key : QVariant();
}

int ReportEngine::groupCount(int level) const
{
    return level >= 0 && level < m_groups.size() ? m_groups.at(level).count : 0;
}

double ReportEngine::groupSum(int level, const QString &field) const
{
    return level >= 0 && level < m_groups.size() ? m_groups.at(level).sums.value(field) : 0.0;
}

QString ReportEngine::format(const QVariant &value) const
{
    if (value.isNull())
        return {};
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate().toString(m_report.dateFormatText());
    case QMetaType::QDateTime:
        return value.toDateTime().toString(m_report.dateFormatText()
                                           + QStringLiteral(" hh:mm:ss"));
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'f', 2);
    case QMetaType::QByteArray:
        return {};
    default:
        return value.toString();
    }
}

bool ReportEngine::isColumnar(BandKind kind) const
{
    switch (kind) {
    case BandKind::Detail:
    case BandKind::Child:
    case BandKind::GroupHeader:
    case BandKind::GroupFooter:
        return m_report.columnCount() > 1;
    default:
        return false;
    }
}

void ReportEngine::printBand(const Band &band, int level)
{
    if (!band.isEnabled())
        return;
    const BandKind kind = band.kind() == BandKind::Child ? m_kind : band.kind();
    m_kind = kind;
    m_level = level;
    if (const auto &step = band.beforePrintStep()) {
        BandEvent event{const_cast<Band &>(band), *this};
        step(event);
        if (!event.print)
            return;
    }
    const bool columnar = isColumnar(kind);
    if (band.startsNewPage() && m_pageHasRecords && band.kind() != BandKind::Child)
        breakColumnOrPage(columnar);
    const Band::Layout layout = band.layout(*this, m_context);
    place(layout, columnar, kind == BandKind::Detail && band.kind() == BandKind::Detail);
    if (const Band *child = band.childBand()) {
        m_kind = kind;
        m_level = level;
        printBand(*child, level);
    }
}

void ReportEngine::printFixed(const Band &band, double y)
{
    if (!band.isEnabled())
        return;
    m_kind = band.kind();
    m_level = -1;
    for (const Band *b = &band; b; b = b->childBand()) {
        if (const auto &step = b->beforePrintStep()) {
            BandEvent event{const_cast<Band &>(*b), *this};
            step(event);
            if (!event.print)
                continue;
        }
        const Band::Layout layout = b->layout(*this, m_context);
        emitItems(layout, 0, 1e9, m_report.marginsMm().left(), y);
        y += layout.height;
    }
    m_y = qMax(m_y, y);
}

void ReportEngine::place(const Band::Layout &layout, bool columnar, bool detailRecord)
{
    if (!columnar && m_report.columnCount() > 1) {
        // A full-width band after columns goes below the longest column.
        m_y = qMax(m_y, m_pageMaxY);
        m_column = 0;
    }
    bool first = true;
    auto startBand = [&] {
        if (first && detailRecord) {
            ++m_pageCount;
            for (auto it = m_recordValues.cbegin(); it != m_recordValues.cend(); ++it)
                m_pageSums[it.key()] += it.value();
            m_pageHasRecords = true;
        }
        first = false;
    };
    double offset = 0;
    for (;;) {
        const double x = m_report.marginsMm().left()
                         + (columnar ? m_column * (m_report.columnWidth()
                                                   + m_report.columnSpacing())
                                     : 0.0);
        const double space = m_bottom - m_y;
        const double remaining = layout.height - offset;
        const bool atTop = m_y <= m_columnTop + Epsilon;
        if (remaining <= space + Epsilon) {
            startBand();
            emitItems(layout, offset, 1e9, x, m_y - offset);
            m_y += remaining;
            break;
        }
        double cut = -1;
        for (double b : layout.breaks) {
            if (b > offset + Epsilon && b <= offset + space + Epsilon)
                cut = b;
        }
        if (cut < 0) {
            if (!atTop) {
                breakColumnOrPage(columnar);
                continue;
            }
            // Not even an empty page holds the next piece: print it and let it overflow.
            for (double b : layout.breaks) {
                if (b > offset + Epsilon) {
                    cut = b;
                    break;
                }
            }
            if (cut < 0) {
                startBand();
                emitItems(layout, offset, 1e9, x, m_y - offset);
                m_y += remaining;
                break;
            }
        }
        startBand();
        emitItems(layout, offset, cut, x, m_y - offset);
        breakColumnOrPage(columnar);
        offset = cut;
    }
    m_pageMaxY = qMax(m_pageMaxY, m_y);
}

void ReportEngine::emitItems(const Band::Layout &layout, double from, double to, double x,
                             double y)
{
    DocPage &page = m_doc.page(m_doc.pageCount() - 1);
    for (const DocItem &item : layout.items) {
        const double top = itemTop(item);
        if (top < from - Epsilon || top >= to - Epsilon)
            continue;
        DocItem placed = item;
        placed.rect.translate(x, y);
        page.items.append(placed);
    }
}

void ReportEngine::breakColumnOrPage(bool columnar)
{
    if (columnar && m_column + 1 < m_report.columnCount()) {
        ++m_column;
        m_y = m_columnTop;
        return;
    }
    finishPage();
    startPage();
}

void ReportEngine::startPage()
{
    ++m_page;
    m_pageCount = 0;
    m_pageSums.clear();
    m_pageHasRecords = false;
    m_doc.addPage(m_report.pageSizeMm());
    m_column = 0;
    m_y = m_report.marginsMm().top();

    const BandKind kind = m_kind;
    const int level = m_level;
    const bool useKept = m_useKept;
    m_useKept = false;
    printFixed(m_report.pageHeader(), m_y);
    if (m_page == 1)
        printFixed(m_report.title(), m_y);
    printFixed(m_report.columnHeader(), m_y);
    m_columnTop = m_y;
    m_pageMaxY = m_y;
    m_kind = kind;
    m_level = level;
    m_useKept = useKept;
}

void ReportEngine::finishPage()
{
    const BandKind kind = m_kind;
    const int level = m_level;
    const double y = m_y;
    printFixed(m_report.pageFooter(), m_bottom);
    m_y = y;
    m_kind = kind;
    m_level = level;
}

} // namespace Brelvan
