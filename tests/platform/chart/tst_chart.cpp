#include "platform/chart/chart.h"
#include "platform/chart/chartwidget.h"

#include <QtTest>

#include <QImage>
#include <QPainter>

using Brelvan::Chart;
using Brelvan::ChartWidget;

class TestChart : public QObject
{
    Q_OBJECT

private slots:
    void percentText_data();
    void percentText();
    void drawsEveryColour_data();
    void drawsEveryColour();
    void oddValuesDoNotBreakIt_data();
    void oddValuesDoNotBreakIt();
    void paintsInsideItsRectangleOnly();
    void widgetShowsItsChart();
};

namespace {

Chart expenseChart(Chart::Kind kind)
{
    Chart chart;
    chart.setKind(kind);
    chart.setTitle(QStringLiteral("Expense"));
    chart.addValue(QStringLiteral("Office"), 1200, Qt::red);
    chart.addValue(QStringLiteral("Other"), 800, Qt::blue);
    chart.addValue(QStringLiteral("Phone"), 450, Qt::green);
    chart.addValue(QStringLiteral("Fuel"), 300, QColor(0x80, 0x80, 0x00));
    chart.addValue(QStringLiteral("Tools"), 250, Qt::cyan);
    return chart;
}

QImage render(const Chart &chart, QSize size = QSize(640, 480))
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    chart.paint(&p, QRectF(QPointF(0, 0), size));
    return image;
}

int countNear(const QImage &image, const QColor &c, int tolerance)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            n += qAbs(qRed(line[x]) - c.red()) <= tolerance
                         && qAbs(qGreen(line[x]) - c.green()) <= tolerance
                         && qAbs(qBlue(line[x]) - c.blue()) <= tolerance
                     ? 1
                     : 0;
        }
    }
    return n;
}

// Pixels of the colour's hue: the lit and shaded parts of a slice or bar keep it.
int countHue(const QImage &image, const QColor &c)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            const int d = qAbs(p.hsvHue() - c.hsvHue());
            n += p.hsvSaturation() > 100 && p.value() > 60 && qMin(d, 360 - d) <= 12 ? 1 : 0;
        }
    }
    return n;
}

int nonWhite(const QImage &image)
{
    return image.width() * image.height() - countNear(image, Qt::white, 0);
}

} // namespace

void TestChart::percentText_data()
{
    QTest::addColumn<double>("part");
    QTest::addColumn<double>("whole");
    QTest::addColumn<QString>("text");
    QTest::newRow("quarter") << 25.0 << 100.0 << "25%";
    QTest::newRow("all") << 3.0 << 3.0 << "100%";
    QTest::newRow("rounds half up") << 1.0 << 8.0 << "13%";   // 12.5
    QTest::newRow("under a half") << 0.4 << 100.0 << "0%";
    QTest::newRow("third") << 1.0 << 3.0 << "33%";
    QTest::newRow("whole zero") << 5.0 << 0.0 << "0%";
    QTest::newRow("negative") << -25.0 << 100.0 << "-25%";
}

void TestChart::percentText()
{
    QFETCH(double, part);
    QFETCH(double, whole);
    QFETCH(QString, text);
    QCOMPARE(Chart::percentText(part, whole), text);
}

void TestChart::drawsEveryColour_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("pie") << int(Chart::Kind::Pie);
    QTest::newRow("bar") << int(Chart::Kind::Bar);
}

void TestChart::drawsEveryColour()
{
    QFETCH(int, kind);
    const Chart chart = expenseChart(Chart::Kind(kind));
    const QImage image = render(chart);
    if (qEnvironmentVariableIsSet("BRELVAN_GRAB_DIR")) {
        image.save(qEnvironmentVariable("BRELVAN_GRAB_DIR") + "/chart-"
                   + QTest::currentDataTag() + ".png");
    }
    QVERIFY(nonWhite(image) > 640 * 480 / 10);
    // The smallest value (250 of 3000) still shows its colour over a fair area.
    for (const auto &v : chart.values()) {
        const int n = countHue(image, v.colour);
        QVERIFY2(n > 300, qPrintable(v.label + ": " + QString::number(n)));
    }
}

void TestChart::oddValuesDoNotBreakIt_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<QSize>("size");
    for (int k : {int(Chart::Kind::Pie), int(Chart::Kind::Bar)}) {
        const char *name = k == int(Chart::Kind::Pie) ? "pie" : "bar";
        auto row = [&](const char *what) -> QTestData & {
            return QTest::addRow("%s %s", name, what);
        };
        row("none") << k << QList<double>{} << QSize(400, 300);
        row("all zero") << k << QList<double>{0, 0, 0} << QSize(400, 300);
        row("one value") << k << QList<double>{42} << QSize(400, 300);
        row("negatives") << k << QList<double>{-50, 120, -10, 0} << QSize(400, 300);
        row("tiny slices") << k << QList<double>{1e6, 1, 1, 1, 1, 1, 1, 1, 1, 1}
                           << QSize(400, 300);
        row("huge") << k << QList<double>{1e15, 3e14} << QSize(400, 300);
        row("tiny area") << k << QList<double>{1, 2, 3} << QSize(12, 8);
        row("tall") << k << QList<double>{1, 2, 3} << QSize(150, 900);
    }
}

void TestChart::oddValuesDoNotBreakIt()
{
    QFETCH(int, kind);
    QFETCH(QList<double>, values);
    QFETCH(QSize, size);
    Chart chart;
    chart.setKind(Chart::Kind(kind));
    chart.setTitle(QStringLiteral("Income"));
    chart.setLegendVisible(true);
    for (int i = 0; i < values.size(); ++i)
        chart.addValue(QStringLiteral("Column %1").arg(i), values.at(i), QColor());
    const QImage image = render(chart, size);
    // Some ink always: at least the title or the "nothing to chart" note.
    if (size.width() > 100)
        QVERIFY(nonWhite(image) > 50);
}

// In a report band the chart is painted at an offset, scaled to millimetres.
void TestChart::paintsInsideItsRectangleOnly()
{
    Chart chart = expenseChart(Chart::Kind::Pie);
    chart.setBackground(QColor());
    QImage image(800, 600, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.scale(4, 4); // 4 pixels a millimetre
        chart.paint(&p, QRectF(20, 30, 120, 90));
    }
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = x >= 80 && x < 560 && y >= 120 && y < 480;
            if (!inside && image.pixel(x, y) != qRgb(255, 255, 255))
                QFAIL(qPrintable(QStringLiteral("ink outside at %1,%2").arg(x).arg(y)));
        }
    }
    QVERIFY(countHue(image, Qt::red) > 2000);
}

void TestChart::widgetShowsItsChart()
{
    ChartWidget widget;
    widget.setObjectName(QStringLiteral("Chart"));
    widget.setChart(expenseChart(Chart::Kind::Bar));
    widget.resize(500, 380);
    const QImage image = widget.grab().toImage();
    QVERIFY(countHue(image, Qt::blue) > 300);
    QCOMPARE(widget.chart().values().size(), 5);
}

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
