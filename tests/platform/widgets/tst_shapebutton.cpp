#include "platform/widgets/shapebutton.h"

#include <QtTest>

#include <QPushButton>

using Brelvan::ShapeButton;

Q_DECLARE_METATYPE(QColor)

class TestShapeButton : public QObject
{
    Q_OBJECT

private slots:
    void flipOnClicks_data();
    void flipOnClicks();
    void highlightOneOfAGroup();
    void captionColour();
};

namespace {
const QColor Silver(0xC0, 0xC0, 0xC0);
const QColor Grey(0x80, 0x80, 0x80);
const QColor Grad2(0x00, 0x80, 0xFF);
const QColor Grad1(0xFF, 0xFF, 0x80);
const QColor Other(Qt::white);
} // namespace

void TestShapeButton::flipOnClicks_data()
{
    QTest::addColumn<QColor>("start");
    QTest::addColumn<QColor>("end");
    QTest::addColumn<QColor>("start1");
    QTest::addColumn<QColor>("end1");
    QTest::addColumn<QColor>("start2");
    QTest::addColumn<QColor>("end2");

    QTest::newRow("plain") << Silver << Grey << Grad2 << Grad1 << Silver << Grey;
    QTest::newRow("highlighted") << Grad2 << Grad1 << Silver << Grey << Grad2 << Grad1;
    // Start and end flip on their own, so a half-highlighted button stays half.
    QTest::newRow("silver start, other end") << Silver << Grad1 << Grad2 << Grey << Silver
                                             << Grad1;
    QTest::newRow("other start, grey end") << Other << Grey << Silver << Grad1 << Grad2
                                           << Grey;
    QTest::newRow("neither") << Other << Other << Silver << Grey << Grad2 << Grad1;
    // Colours read from settings text compare by value.
    QTest::newRow("from text") << QColor(QStringLiteral("#c0c0c0"))
                               << QColor(QStringLiteral("#808080")) << Grad2 << Grad1
                               << Silver << Grey;
    // Highlight colours equal to the plain ones leave the button plain.
    QTest::newRow("grad equals plain") << Silver << Grey << Silver << Grey << Silver << Grey;
}

void TestShapeButton::flipOnClicks()
{
    QFETCH(QColor, start);
    QFETCH(QColor, end);
    QFETCH(QColor, start1);
    QFETCH(QColor, end1);
    QFETCH(QColor, start2);
    QFETCH(QColor, end2);

    const bool plainGrads = QByteArray(QTest::currentDataTag()) == "grad equals plain";
    const QColor g2 = plainGrads ? Silver : Grad2;
    const QColor g1 = plainGrads ? Grey : Grad1;

    ShapeButton button(QStringLiteral("Clear"));
    button.setObjectName(QStringLiteral("ClrExpendTagsBtn"));
    button.setGradient(start, end);
    QObject::connect(&button, &ShapeButton::clicked, &button,
                     [&button, g2, g1] { button.flipHighlight(g2, g1); });
    button.resize(button.sizeHint());
    button.show();

    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(button.startColor().rgb(), start1.rgb());
    QCOMPARE(button.endColor().rgb(), end1.rgb());
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(button.startColor().rgb(), start2.rgb());
    QCOMPARE(button.endColor().rgb(), end2.rgb());
}

// The navigation buttons: the one used takes the highlight, every other one is plain.
void TestShapeButton::highlightOneOfAGroup()
{
    QWidget page;
    QList<ShapeButton *> buttons;
    for (int i = 0; i < 4; ++i)
        buttons.append(new ShapeButton(QString::number(i), &page));
    auto use = [&](ShapeButton *used) {
        for (ShapeButton *b : buttons)
            b->setHighlighted(b == used, Grad2, Grad1);
    };
    // Pages find their buttons by name and type.
    buttons.at(3)->setObjectName(QStringLiteral("NowBtn"));
    QCOMPARE(page.findChild<ShapeButton *>(QStringLiteral("NowBtn")), buttons.at(3));
    auto *plain = new QPushButton(&page);
    plain->setObjectName(QStringLiteral("MateBtn"));
    QVERIFY(!page.findChild<ShapeButton *>(QStringLiteral("MateBtn")));
    use(buttons.at(2));
    use(buttons.at(1));
    for (int i = 0; i < buttons.size(); ++i) {
        const bool used = i == 1;
        QCOMPARE(buttons.at(i)->startColor(), used ? Grad2 : Silver);
        QCOMPARE(buttons.at(i)->endColor(), used ? Grad1 : Grey);
        QCOMPARE(buttons.at(i)->isPlain(), !used);
    }
}

void TestShapeButton::captionColour()
{
    ShapeButton all(QStringLiteral("All"));
    QCOMPARE(all.captionColor(), QColor(Qt::black));
    QVERIFY(all.isPlain());
    all.setCaptionColor(Qt::red);
    all.resize(60, 24);
    const QImage image = all.grab().toImage();
    bool red = false;
    for (int y = 0; y < image.height() && !red; ++y) {
        for (int x = 0; x < image.width() && !red; ++x) {
            const QColor c = image.pixelColor(x, y);
            red = c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    }
    QVERIFY2(red, "the caption is drawn in its colour");
    QCOMPARE(all.captionColor(), QColor(Qt::red));
}

QTEST_MAIN(TestShapeButton)
#include "tst_shapebutton.moc"
