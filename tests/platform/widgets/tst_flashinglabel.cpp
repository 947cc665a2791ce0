#include "platform/widgets/flashinglabel.h"

#include <QtTest>

using Brelvan::FlashingLabel;

namespace {

// Polls until pred holds or the time is up.
template<typename Pred>
bool waitFor(Pred pred, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QTest::qWait(2);
    }
    return true;
}

} // namespace

class TestFlashingLabel : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void blinksAtItsTimes();
    void stopsShown();
    void timerOnlyWhileOnScreen();
    void noFlashColourHidesText();
};

void TestFlashingLabel::defaults()
{
    FlashingLabel label(QStringLiteral("Edits Disabled"));
    QCOMPARE(label.shownTime(), 500);
    QCOMPARE(label.hiddenTime(), 500);
    QVERIFY(!label.isFlashing());
    QCOMPARE(label.textColor(), QColor(Qt::red));
    QCOMPARE(label.flashColor(), QColor(Qt::white));
    label.show();
    QTest::qWait(700);
    QVERIFY(label.isVisible());
    QVERIFY(label.isTextShown());
    QVERIFY(!label.isBlinkTimerActive());
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(Qt::red));
}

void TestFlashingLabel::blinksAtItsTimes()
{
    FlashingLabel label(QStringLiteral("Edits Disabled"));
    label.setShownTime(300);
    label.setHiddenTime(150);
    label.show();

    // each phase is timed by the label's own timer: its length is what is checked, not the
    // machine's speed
    label.setFlashing(true);
    QVERIFY(label.isTextShown());
    QCOMPARE(label.phaseLength(), 300);

    QVERIFY(waitFor([&] { return !label.isTextShown(); }, 5000));
    QCOMPARE(label.phaseLength(), 150);
    QCOMPARE(label.currentColor(), QColor(Qt::white));
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(Qt::white));

    QVERIFY(waitFor([&] { return label.isTextShown(); }, 5000));
    QCOMPARE(label.phaseLength(), 300);
    QCOMPARE(label.currentColor(), QColor(Qt::red));
    QVERIFY(label.isBlinkTimerActive());
}

void TestFlashingLabel::stopsShown()
{
    FlashingLabel label(QStringLiteral("Diary for"));
    label.setFlashColors(Qt::white, QColor());
    label.setShownTime(50);
    label.setHiddenTime(1000);
    label.show();
    label.setFlashing(true);
    QTRY_VERIFY_WITH_TIMEOUT(!label.isTextShown(), 1000);

    label.setFlashing(false);
    QVERIFY(!label.isFlashing());
    QVERIFY(label.isTextShown());
    QVERIFY(!label.isBlinkTimerActive());
    QCOMPARE(label.currentColor(), QColor(Qt::white));
    QTest::qWait(200);
    QVERIFY(label.isTextShown());
    QVERIFY(label.isVisible());
}

// A hidden "Edits Disabled" label keeps its flashing but costs no timer.
void TestFlashingLabel::timerOnlyWhileOnScreen()
{
    QWidget window;
    auto *label = new FlashingLabel(QStringLiteral("Edits Disabled"), &window);
    label->setFlashing(true);
    QVERIFY(!label->isBlinkTimerActive());
    window.show();
    QVERIFY(label->isBlinkTimerActive());
    label->hide();
    QVERIFY(label->isFlashing());
    QVERIFY(!label->isBlinkTimerActive());
    label->show();
    QVERIFY(label->isBlinkTimerActive());
    QVERIFY(label->isTextShown());
}

void TestFlashingLabel::noFlashColourHidesText()
{
    FlashingLabel label(QStringLiteral("Diary for Monday"));
    label.setFlashColors(Qt::white, QColor());
    label.setShownTime(30);
    label.show();
    label.setFlashing(true);
    QTRY_VERIFY_WITH_TIMEOUT(!label.isTextShown(), 1000);
    QCOMPARE(label.currentColor().alpha(), 0);
    QCOMPARE(label.text(), QStringLiteral("Diary for Monday"));
}

QTEST_MAIN(TestFlashingLabel)
#include "tst_flashinglabel.moc"
