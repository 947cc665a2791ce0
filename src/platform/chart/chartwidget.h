#pragma once

#include "platform/chart/chart.h"

#include <QWidget>

namespace Brelvan {

// A window's view of a Chart.
class ChartWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ChartWidget(QWidget *parent = nullptr);

    const Chart &chart() const { return m_chart; }
    // Changes the chart and repaints.
    void setChart(const Chart &chart);
    Chart &chart() { return m_chart; }

    QSize sizeHint() const override { return QSize(560, 420); }
    QSize minimumSizeHint() const override { return QSize(160, 120); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Chart m_chart;
};

} // namespace Brelvan
