#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

#include <limits>

class QPainter;
class QRectF;

namespace Brelvan {

// One slice of a pie or one bar.
struct ChartValue
{
    QString label;
    double value = 0;
    QColor colour;
};

// A pie chart with depth or a bar chart of labelled values, painted into any painter and
// rectangle, so the same chart serves a window and a report band. Everything is laid out
// on a canvas of at least 640 x 480 units scaled into the rectangle, so text keeps its
// proportion to the chart whatever the device.
class Chart
{
public:
    enum class Kind { Pie, Bar };

    Kind kind() const { return m_kind; }
    void setKind(Kind kind) { m_kind = kind; }

    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    QString subtitle() const { return m_subtitle; }
    void setSubtitle(const QString &subtitle) { m_subtitle = subtitle; }

    const QList<ChartValue> &values() const { return m_values; }
    void setValues(const QList<ChartValue> &values) { m_values = values; }
    void addValue(const QString &label, double value, const QColor &colour);
    void clear() { m_values.clear(); }

    // The pie's thickness as a percentage of its radius-based depth (0 draws it flat).
    int depthPercent() const { return m_depth; }
    void setDepthPercent(int percent) { m_depth = qBound(0, percent, 100); }

    // A legend of colours, labels and values at the right; off by default.
    bool isLegendVisible() const { return m_legend; }
    void setLegendVisible(bool visible) { m_legend = visible; }

    // The background filled before drawing; an invalid colour leaves it transparent.
    QColor background() const { return m_background; }
    void setBackground(const QColor &colour) { m_background = colour; }

    // The face and weight of the chart's text; the sizes follow the chart's size.
    QFont font() const { return m_font; }
    void setFont(const QFont &font) { m_font = font; }

    // Paints the chart filling rect. maxScale caps the canvas' magnification: a window
    // passes 1 so text stays at its natural size on a large window.
    void paint(QPainter *painter, const QRectF &rect,
               qreal maxScale = std::numeric_limits<qreal>::infinity()) const;

    // The share of part in whole as the marks show it: "##0%" (a whole of 0 gives "0%").
    static QString percentText(double part, double whole);
    // The total the pie divides: the sum of the positive values (others get no slice).
    double pieTotal() const;
    // The total the bar marks divide: the sum of the values' sizes.
    double barTotal() const;

private:
    Kind m_kind = Kind::Pie;
    QString m_title;
    QString m_subtitle;
    QList<ChartValue> m_values;
    int m_depth = 35;
    bool m_legend = false;
    QColor m_background = Qt::white;
    QFont m_font;
};

} // namespace Brelvan
