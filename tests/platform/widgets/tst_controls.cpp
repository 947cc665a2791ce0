#include "platform/desktop/clock.h"
#include "platform/widgets/analogclock.h"
#include "platform/widgets/flashinglabel.h"
#include "platform/widgets/gradientpanel.h"
#include "platform/widgets/hint.h"
#include "platform/widgets/shapebutton.h"

#include <QtTest>

#include <QHBoxLayout>
#include <QLabel>

using namespace Brelvan;

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void hintIsToolTipAndStatusTip();
    void panelPaintsItsGradientAndCaption();
    void panelAndLabelReportClicks();
    void clockShowsTheProgramsTime_data();
    void clockShowsTheProgramsTime();
};

namespace {

class FixedClock final : public Clock
{
public:
    QDateTime at;
    QDateTime now() const override { return at; }
    void wait(int) override {}
};

bool near(const QColor &a, const QColor &b, int tolerance = 24)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
           && qAbs(a.blue() - b.blue()) <= tolerance;
}

int countNear(const QImage &image, const QColor &colour, int tolerance = 24)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += near(image.pixelColor(x, y), colour, tolerance) ? 1 : 0;
    }
    return n;
}

} // namespace

void TestControls::cleanup()
{
    installClock(nullptr);
}

void TestControls::hintIsToolTipAndStatusTip()
{
    QLabel label;
    const QString hint = QStringLiteral("Flashing :=  Edits will NOT be saved.");
    setHint(&label, hint);
    QCOMPARE(label.toolTip(), hint);
    QCOMPARE(label.statusTip(), hint);
    setHint(nullptr, hint); // harmless
}

void TestControls::panelPaintsItsGradientAndCaption()
{
    GradientPanel panel;
    panel.setObjectName(QStringLiteral("CalHead"));
    panel.setGradient(QColor(0, 0, 255), QColor(255, 255, 0));
    panel.setCaption(QStringLiteral("Todays Date  Monday"));
    panel.setCaptionColor(Qt::red);
    panel.resize(300, 40);
    const QImage image = panel.grab().toImage();
    // Inside the bevel: blue at the left, yellow at the right, the caption in between.
    QVERIFY(near(image.pixelColor(4, 20), QColor(0, 0, 255), 30));
    QVERIFY(near(image.pixelColor(295, 20), QColor(255, 255, 0), 30));
    QVERIFY(countNear(image, Qt::red, 60) > 20);

    // Children laid out on it show through.
    auto *layout = new QHBoxLayout(&panel);
    auto *button = new ShapeButton(QStringLiteral("Today"), &panel);
    layout->addWidget(button);
    panel.grab();
    QCOMPARE(button->parentWidget(), &panel);
}

// The Diary's heading hides pages on a click, its date panel shows them on a double click.
void TestControls::panelAndLabelReportClicks()
{
    GradientPanel panel;
    auto *layout = new QHBoxLayout(&panel);
    auto *heading = new FlashingLabel(QStringLiteral("Diary for "), &panel);
    auto *button = new ShapeButton(QStringLiteral("Today"), &panel);
    layout->addWidget(heading);
    layout->addWidget(button);
    panel.resize(300, 40);
    panel.show();
    QSignalSpy panelClicks(&panel, &GradientPanel::clicked);
    QSignalSpy panelDoubles(&panel, &GradientPanel::doubleClicked);
    QSignalSpy headingClicks(heading, &FlashingLabel::clicked);

    QTest::mouseClick(heading, Qt::LeftButton);
    QCOMPARE(headingClicks.size(), 1);
    QCOMPARE(panelClicks.size(), 0);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(panelClicks.size(), 0);
    QTest::mouseDClick(&panel, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(panelDoubles.size(), 1);
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(panelClicks.size(), 1);
}

void TestControls::clockShowsTheProgramsTime_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("morning") << QTime(9, 30, 0) << "09:30:00";
    QTest::newRow("afternoon") << QTime(14, 5, 9) << "14:05:09";
    QTest::newRow("midnight") << QTime(0, 0, 0) << "00:00:00";
}

void TestControls::clockShowsTheProgramsTime()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    FixedClock fixed;
    fixed.at = QDateTime(QDate(2004, 3, 3), time);
    installClock(&fixed);

    AnalogClock clock;
    clock.setObjectName(QStringLiteral("Clock"));
    clock.setHourHandColor(QColor(0, 160, 0));
    clock.resize(120, 140);
    clock.show();
    QCOMPARE(clock.timeText(), text);

    // The next tick of the timer reads the clock again.
    fixed.at = fixed.at.addSecs(61);
    QTRY_COMPARE_WITH_TIMEOUT(clock.timeText(), time.addSecs(61).toString("hh:mm:ss"), 2500);

    const QImage image = clock.grab().toImage();
    QVERIFY2(countNear(image, QColor(0, 160, 0), 30) > 30, "the hour hand in its colour");
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
