#include "platform/chart/chartwidget.h"

#include <QPainter>

namespace Brelvan {

ChartWidget::ChartWidget(QWidget *parent)
    : QWidget(parent)
{
    m_chart.setFont(font());
}

void ChartWidget::setChart(const Chart &chart)
{
    m_chart = chart;
    update();
}

void ChartWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // Scaled down on a small window, never up: text stays at its natural size.
    m_chart.paint(&p, rect(), 1.0);
}

} // namespace Brelvan
