#include "platform/report/report.h"

#include "platform/report/reportengine.h"

namespace Brelvan {

Report::Report()
{
    m_font = QFont(QStringLiteral("Arial"));
    m_font.setPointSizeF(10);
}

Report::~Report() = default;

QSizeF Report::pageSizeMm() const
{
    return m_landscape ? m_paper.transposed() : m_paper;
}

double Report::printWidth() const
{
    return pageSizeMm().width() - m_margins.left() - m_margins.right();
}

double Report::printHeight() const
{
    return pageSizeMm().height() - m_margins.top() - m_margins.bottom();
}

Report &Report::columns(int count, double spacingMm)
{
    m_columns = qMax(1, count);
    m_columnSpacing = qMax(0.0, spacingMm);
    return *this;
}

double Report::columnWidth() const
{
    return (printWidth() - (m_columns - 1) * m_columnSpacing) / m_columns;
}

Report &Report::setValue(const QString &name, const QVariant &value)
{
    m_values.insert(name, value);
    return *this;
}

Report &Report::sumField(const QString &field)
{
    if (!m_sumFields.contains(field))
        m_sumFields.append(field);
    return *this;
}

Group &Report::group(const QString &field)
{
    m_groups.push_back(std::make_unique<Group>(field));
    return *m_groups.back();
}

Group &Report::group(Group::Key key)
{
    m_groups.push_back(std::make_unique<Group>(std::move(key)));
    return *m_groups.back();
}

QList<const Band *> Report::allBands() const
{
    QList<const Band *> bands;
    auto add = [&bands](const Band &band) {
        for (const Band *b = &band; b; b = b->childBand())
            bands.append(b);
    };
    add(m_pageHeader);
    add(m_titleBand);
    add(m_columnHeader);
    for (const auto &g : m_groups)
        add(g->header());
    add(m_detail);
    for (const auto &g : m_groups)
        add(g->footer());
    add(m_summary);
    add(m_pageFooter);
    return bands;
}

Document Report::render()
{
    ReportEngine engine(*this);
    return engine.run();
}

} // namespace Brelvan
