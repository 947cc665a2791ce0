#include "platform/chart/chart.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace Brelvan {

namespace {

constexpr qreal DesignWidth = 640;
constexpr qreal DesignHeight = 480;
constexpr qreal Margin = 12;

// Text sizes on the design canvas, in canvas units.
constexpr int TitleSize = 22;
constexpr int SubtitleSize = 15;
constexpr int MarkSize = 13;
constexpr int AxisSize = 12;

QFont sized(const QFont &base, int pixels, bool bold = false)
{
    QFont f(base);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QColor valueColour(const ChartValue &v, int index)
{
    static const QColor fallback[] = {Qt::red, Qt::blue, Qt::green, QColor(0x80, 0x80, 0),
                                      Qt::cyan, Qt::magenta, Qt::darkCyan, Qt::darkMagenta};
    return v.colour.isValid() ? v.colour : fallback[index % 8];
}

QString moneyText(double value)
{
    return QLocale().toString(value, 'f', 2);
}

// A mark: a short text in a light box with a thin border.
void drawMark(QPainter *p, const QRectF &box, const QString &text)
{
    p->setPen(QPen(QColor(0x70, 0x70, 0x70), 0.8));
    p->setBrush(QColor(0xFF, 0xFF, 0xE8, 235));
    p->drawRoundedRect(box, 3, 3);
    p->setPen(Qt::black);
    p->drawText(box, Qt::AlignCenter, text);
}

// Draws title and subtitle at the top of area and returns what is left below them.
QRectF paintTitles(QPainter *p, const QRectF &area, const QFont &base, const QString &title,
                   const QString &subtitle)
{
    qreal y = area.top();
    if (!title.isEmpty()) {
        const QFont f = sized(base, TitleSize, true);
        const qreal h = QFontMetricsF(f).height();
        p->setFont(f);
        p->setPen(QColor(0x10, 0x10, 0x60));
        p->drawText(QRectF(area.left(), y, area.width(), h), Qt::AlignCenter, title);
        y += h + 2;
    }
    if (!subtitle.isEmpty()) {
        const QFont f = sized(base, SubtitleSize);
        const qreal h = QFontMetricsF(f).height();
        p->setFont(f);
        p->setPen(QColor(0x30, 0x30, 0x30));
        p->drawText(QRectF(area.left(), y, area.width(), h), Qt::AlignCenter, subtitle);
        y += h + 2;
    }
    if (y > area.top())
        y += 6;
    return QRectF(area.left(), y, area.width(), area.bottom() - y);
}

// Draws the legend at the right of area and returns the area left of it.
QRectF paintLegend(QPainter *p, const QRectF &area, const QFont &base,
                   const QList<ChartValue> &values)
{
    if (values.isEmpty())
        return area;
    const QFont f = sized(base, MarkSize);
    const QFontMetricsF fm(f);
    const qreal line = fm.height() + 4;
    const qreal swatch = fm.height() * 0.8;
    qreal labelW = 0;
    qreal valueW = 0;
    for (const ChartValue &v : values) {
        labelW = qMax(labelW, fm.horizontalAdvance(v.label));
        valueW = qMax(valueW, fm.horizontalAdvance(moneyText(v.value)));
    }
    const qreal width = qMin(area.width() * 0.4, swatch + labelW + valueW + 30);
    const qreal height = qMin(area.height(), line * values.size() + 10);
    const QRectF box(area.right() - width, area.center().y() - height / 2, width, height);

    p->setPen(QPen(QColor(0x90, 0x90, 0x90), 0.8));
    p->setBrush(QColor(0xFA, 0xFA, 0xFA));
    p->drawRect(box);
    p->setFont(f);
    qreal y = box.top() + 5;
    for (int i = 0; i < values.size() && y + line <= box.bottom() + 1; ++i) {
        const ChartValue &v = values.at(i);
        const QRectF sw(box.left() + 6, y + (line - swatch) / 2, swatch, swatch);
        p->setPen(QPen(QColor(0x40, 0x40, 0x40), 0.6));
        p->setBrush(valueColour(v, i));
        p->drawRect(sw);
        p->setPen(Qt::black);
        const QRectF text(sw.right() + 6, y, box.right() - sw.right() - 12, line);
        p->drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                    fm.elidedText(v.label, Qt::ElideRight, text.width() - valueW - 8));
        p->drawText(text, Qt::AlignRight | Qt::AlignVCenter, moneyText(v.value));
        y += line;
    }
    return QRectF(area.left(), area.top(), area.width() - width - Margin, area.height());
}

void paintNothing(QPainter *p, const QRectF &area, const QFont &base)
{
    p->setFont(sized(base, SubtitleSize));
    p->setPen(QColor(0x90, 0x90, 0x90));
    p->drawText(area, Qt::AlignCenter, QObject::tr("No values to chart"));
}

// ---- pie ---------------------------------------------------------------------------

struct PieMark
{
    QPointF anchor;  // on the slice's outer edge
    qreal y = 0;     // text centre line after spreading
    qreal cosine = 0; // of the slice's middle angle
    bool right = true;
    QString text;
    qreal width = 0;
};

// Moves the marks of one side apart so that none overlaps the next, keeping them inside
// top..bottom where there is room.
void spreadMarks(QList<PieMark *> &marks, qreal height, qreal top, qreal bottom)
{
    std::sort(marks.begin(), marks.end(), [](const PieMark *a, const PieMark *b) {
        return a->y < b->y;
    });
    for (int i = 1; i < marks.size(); ++i)
        marks[i]->y = qMax(marks[i]->y, marks[i - 1]->y + height);
    if (!marks.isEmpty() && marks.last()->y + height / 2 > bottom) {
        marks.last()->y = bottom - height / 2;
        for (int i = marks.size() - 2; i >= 0; --i)
            marks[i]->y = qMin(marks[i]->y, marks[i + 1]->y - height);
    }
    if (!marks.isEmpty() && marks.first()->y - height / 2 < top) {
        marks.first()->y = top + height / 2;
        for (int i = 1; i < marks.size(); ++i)
            marks[i]->y = qMax(marks[i]->y, marks[i - 1]->y + height);
    }
}

void paintPie(QPainter *p, const QRectF &area, const Chart &chart)
{
    const double total = chart.pieTotal();
    if (total <= 0) {
        paintNothing(p, area, chart.font());
        return;
    }
    const QList<ChartValue> &values = chart.values();
    const QFont markFont = sized(chart.font(), MarkSize);
    const QFontMetricsF fm(markFont);
    const qreal markH = fm.height() + 4;

    QList<PieMark> marks;
    qreal markW = 0;
    for (const ChartValue &v : values) {
        if (v.value <= 0)
            continue;
        PieMark m;
        m.text = QStringLiteral("%1 %2").arg(v.label, Chart::percentText(v.value, total));
        m.width = fm.horizontalAdvance(m.text) + 10;
        markW = qMax(markW, m.width);
        marks.append(m);
    }

    const qreal depth = chart.depthPercent() / 100.0;
    const qreal tilt = 1.0 - depth;          // ellipse height over width
    const qreal thicknessFactor = depth * 0.5; // wall height over radius
    const qreal leader = 18;
    const qreal byWidth = (area.width() - 2 * (markW + leader + 8)) / 2;
    const qreal byHeight = (area.height() - 2 * (markH / 2 + leader))
                           / (2 * tilt + thicknessFactor);
    const qreal a = qMax<qreal>(20, qMin(byWidth, byHeight));
    const qreal b = a * tilt;
    const qreal t = a * thicknessFactor;
    const QPointF c(area.center().x(), area.center().y() - t / 2);

    auto at = [&](qreal degrees, qreal drop = 0) {
        const qreal r = qDegreesToRadians(degrees);
        return QPointF(c.x() + a * std::cos(r), c.y() - b * std::sin(r) + drop);
    };
    auto arc = [&](QPainterPath &path, qreal from, qreal to, qreal drop) {
        const int steps = qMax(2, int(std::ceil(std::abs(to - from))));
        for (int s = 0; s <= steps; ++s)
            path.lineTo(at(from + (to - from) * s / steps, drop));
    };

    // Slices run clockwise from twelve o'clock.
    struct Slice { qreal start; qreal end; QColor colour; };
    QList<Slice> slices;
    qreal angle = 90;
    for (int i = 0; i < values.size(); ++i) {
        const ChartValue &v = values.at(i);
        if (v.value <= 0)
            continue;
        const qreal span = 360.0 * v.value / total;
        slices.append({angle, angle - span, valueColour(v, i)});
        angle -= span;
    }

    p->setRenderHint(QPainter::Antialiasing);

    // The walls: only the front half (between nine and three o'clock, below) is seen.
    if (t > 0.5) {
        QLinearGradient shade(c.x() - a, 0, c.x() + a, 0);
        for (const Slice &s : slices) {
            const qreal hi = qMin<qreal>(s.start, 0);
            const qreal lo = qMax<qreal>(s.end, -180);
            if (hi <= lo)
                continue;
            QPainterPath wall;
            wall.moveTo(at(hi));
            arc(wall, hi, lo, 0);
            arc(wall, lo, hi, t);
            wall.closeSubpath();
            shade.setStops({{0, s.colour.darker(190)}, {0.4, s.colour.darker(120)},
                            {1, s.colour.darker(200)}});
            p->setPen(QPen(s.colour.darker(220), 0.8));
            p->setBrush(shade);
            p->drawPath(wall);
        }
    }

    // The top face, lit from the upper left.
    for (const Slice &s : slices) {
        QPainterPath top;
        top.moveTo(c);
        arc(top, s.start, s.end, 0);
        top.closeSubpath();
        QRadialGradient light(c, a, QPointF(c.x() - a * 0.35, c.y() - b * 0.5));
        light.setColorAt(0, s.colour.lighter(150));
        light.setColorAt(1, s.colour);
        p->setPen(QPen(s.colour.darker(170), 0.8));
        p->setBrush(light);
        p->drawPath(top);
    }

    // Marks: label and share beside each slice, joined to it by a leader line.
    QList<PieMark *> left;
    QList<PieMark *> right;
    for (int i = 0; i < slices.size(); ++i) {
        const qreal mid = (slices.at(i).start + slices.at(i).end) / 2;
        const qreal r = qDegreesToRadians(mid);
        const bool front = std::sin(r) < 0;
        PieMark &m = marks[i];
        m.anchor = at(mid, front ? t : 0);
        m.cosine = std::cos(r);
        m.right = m.cosine >= 0;
        const qreal ry = b + leader * tilt;
        m.y = c.y() - ry * std::sin(r) + (front ? t : 0);
        (m.right ? right : left).append(&m);
    }
    const qreal top = area.top() + 2;
    const qreal bottom = area.bottom() - 2;
    spreadMarks(left, markH + 2, top, bottom);
    spreadMarks(right, markH + 2, top, bottom);

    // Half the width of the pie, walls included, at height y.
    auto silhouette = [&](qreal y) {
        auto half = [&](qreal dy) {
            const qreal q = dy / b;
            return std::abs(q) < 1 ? a * std::sqrt(1 - q * q) : 0.0;
        };
        if (y >= c.y() && y <= c.y() + t)
            return a;
        return qMax(half(y - c.y()), half(y - c.y() - t));
    };

    p->setFont(markFont);
    for (const PieMark &m : marks) {
        // Out along the slice's middle, a little beyond the rim, and clear of the pie at
        // the height the spreading gave the mark.
        const qreal clear = silhouette(m.y) + 8;
        const qreal radialX = c.x() + (a + leader) * m.cosine;
        const qreal elbowX = m.right ? std::max({radialX, m.anchor.x() + 6, c.x() + clear})
                                     : std::min({radialX, m.anchor.x() - 6, c.x() - clear});
        const QPointF elbow(elbowX, m.y);
        const QPointF end(m.right ? elbowX + 6 : elbowX - 6, m.y);
        p->setPen(QPen(QColor(0x50, 0x50, 0x50), 0.8));
        p->drawLine(m.anchor, elbow);
        p->drawLine(elbow, end);
        const QRectF box(m.right ? end.x() : end.x() - m.width, m.y - markH / 2, m.width,
                         markH);
        drawMark(p, box, m.text);
    }
}

// ---- bars --------------------------------------------------------------------------

// A round step of about range / 5: 1, 2 or 5 times a power of ten.
double niceStep(double range)
{
    if (range <= 0)
        return 1;
    const double raw = range / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / power;
    const double nice = f < 1.5 ? 1 : f < 3 ? 2 : f < 7 ? 5 : 10;
    return nice * power;
}

void paintBars(QPainter *p, const QRectF &area, const Chart &chart)
{
    const QList<ChartValue> &values = chart.values();
    if (values.isEmpty()) {
        paintNothing(p, area, chart.font());
        return;
    }
    double lo = 0;
    double hi = 0;
    for (const ChartValue &v : values) {
        lo = qMin(lo, v.value);
        hi = qMax(hi, v.value);
    }
    if (lo == hi)
        hi = 1;
    const double step = niceStep(hi - lo);
    lo = std::floor(lo / step) * step;
    hi = std::ceil(hi / step) * step;
    const int decimals = step >= 1 ? 0 : int(std::ceil(-std::log10(step)));

    const QFont axisFont = sized(chart.font(), AxisSize);
    const QFontMetricsF afm(axisFont);
    const QFont markFont = sized(chart.font(), MarkSize);
    const QFontMetricsF mfm(markFont);
    const QLocale locale;

    qreal tickW = 0;
    for (double v = lo; v <= hi + step / 2; v += step)
        tickW = qMax(tickW, afm.horizontalAdvance(locale.toString(v, 'f', decimals)));

    const qreal markH = mfm.height() + 4;
    const QRectF plot(area.left() + tickW + 10, area.top() + markH + 4,
                      area.width() - tickW - 14, area.height() - markH - 8 - 2 * afm.height());
    if (plot.width() < 10 || plot.height() < 10)
        return;
    auto yOf = [&](double v) { return plot.bottom() - (v - lo) / (hi - lo) * plot.height(); };

    p->setRenderHint(QPainter::Antialiasing);

    // Back wall, grid and value axis.
    QLinearGradient wall(plot.topLeft(), plot.bottomLeft());
    wall.setColorAt(0, QColor(0xF4, 0xF6, 0xFA));
    wall.setColorAt(1, QColor(0xE2, 0xE6, 0xEE));
    p->fillRect(plot, wall);
    p->setFont(axisFont);
    for (double v = lo; v <= hi + step / 2; v += step) {
        const qreal y = yOf(v);
        p->setPen(QPen(QColor(0xB8, 0xBC, 0xC4), 0.8, Qt::DashLine));
        p->drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p->setPen(QColor(0x30, 0x30, 0x30));
        p->drawText(QRectF(area.left(), y - afm.height() / 2, tickW + 4, afm.height()),
                    Qt::AlignRight | Qt::AlignVCenter, locale.toString(v, 'f', decimals));
    }
    p->setPen(QPen(QColor(0x50, 0x50, 0x50), 1));
    p->drawLine(plot.topLeft(), plot.bottomLeft());
    const qreal zeroY = yOf(0);
    p->drawLine(QPointF(plot.left(), zeroY), QPointF(plot.right(), zeroY));

    const double total = chart.barTotal();
    const qreal slot = plot.width() / values.size();
    const qreal barW = slot * 0.62;
    for (int i = 0; i < values.size(); ++i) {
        const ChartValue &v = values.at(i);
        const QColor colour = valueColour(v, i);
        const qreal x = plot.left() + slot * i + (slot - barW) / 2;
        const qreal y = yOf(v.value);
        const QRectF bar = QRectF(QPointF(x, qMin(y, zeroY)), QPointF(x + barW, qMax(y, zeroY)));
        if (bar.height() > 0.1) {
            QLinearGradient fill(bar.topLeft(), bar.topRight());
            fill.setColorAt(0, colour.lighter(160));
            fill.setColorAt(0.45, colour);
            fill.setColorAt(1, colour.darker(150));
            p->setPen(QPen(colour.darker(200), 0.8));
            p->setBrush(fill);
            p->drawRect(bar);
        }

        // The share above the bar (below a negative one).
        p->setFont(markFont);
        const QString mark = Chart::percentText(v.value, total);
        const qreal mw = mfm.horizontalAdvance(mark) + 10;
        const qreal my = v.value < 0 ? bar.bottom() + 3 : bar.top() - markH - 3;
        drawMark(p, QRectF(x + barW / 2 - mw / 2, qBound(area.top(), my, plot.bottom()), mw,
                           markH),
                 mark);

        // The label under the axis, on up to two lines.
        p->setFont(axisFont);
        p->setPen(Qt::black);
        const QRectF label(plot.left() + slot * i + 1, plot.bottom() + 3, slot - 2,
                           2 * afm.height());
        p->drawText(label, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, v.label);
    }
}

} // namespace

void Chart::addValue(const QString &label, double value, const QColor &colour)
{
    m_values.append(ChartValue{label, value, colour});
}

QString Chart::percentText(double part, double whole)
{
    if (whole == 0 || !std::isfinite(part / whole))
        return QStringLiteral("0%");
    return QStringLiteral("%1%").arg(qRound(part / whole * 100.0));
}

double Chart::pieTotal() const
{
    double total = 0;
    for (const ChartValue &v : m_values) {
        if (v.value > 0)
            total += v.value;
    }
    return total;
}

double Chart::barTotal() const
{
    double total = 0;
    for (const ChartValue &v : m_values)
        total += std::abs(v.value);
    return total;
}

void Chart::paint(QPainter *painter, const QRectF &rect, qreal maxScale) const
{
    if (!painter || rect.width() <= 0 || rect.height() <= 0)
        return;
    const qreal scale = qMin(maxScale, qMin(rect.width() / DesignWidth,
                                            rect.height() / DesignHeight));
    if (scale <= 0)
        return;

    painter->save();
    painter->setClipRect(rect, Qt::IntersectClip);
    if (m_background.isValid())
        painter->fillRect(rect, m_background);
    painter->translate(rect.topLeft());
    painter->scale(scale, scale);
    const QRectF canvas(0, 0, rect.width() / scale, rect.height() / scale);

    QRectF area = canvas.adjusted(Margin, Margin, -Margin, -Margin);
    area = paintTitles(painter, area, m_font, m_title, m_subtitle);
    if (m_legend)
        area = paintLegend(painter, area, m_font, m_values);
    if (m_kind == Kind::Pie)
        paintPie(painter, area, *this);
    else
        paintBars(painter, area, *this);
    painter->restore();
}

} // namespace Brelvan
