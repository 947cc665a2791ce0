#include "platform/settings/colortext.h"
#include "platform/settings/fonttext.h"

#include <QTest>

using namespace Brelvan;

class TestColorText : public QObject
{
    Q_OBJECT

private slots:
    void textToColor_data();
    void textToColor();
    void colorToText_data();
    void colorToText();
    void notAColour_data();
    void notAColour();
    void styleBitsToFont_data();
    void styleBitsToFont();
    void fontToStyleBits_data();
    void fontToStyleBits();
};

void TestColorText::textToColor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("color");

    QTest::newRow("clBlue") << "clBlue" << QColor(0, 0, 255);
    QTest::newRow("clLime") << "clLime" << QColor(0, 255, 0);
    QTest::newRow("clRed") << "clRed" << QColor(255, 0, 0);
    QTest::newRow("clGreen") << "clGreen" << QColor(0, 128, 0);
    QTest::newRow("clNavy") << "clNavy" << QColor(0, 0, 128);
    QTest::newRow("clMaroon") << "clMaroon" << QColor(128, 0, 0);
    QTest::newRow("clTeal") << "clTeal" << QColor(0, 128, 128);
    QTest::newRow("clOlive") << "clOlive" << QColor(128, 128, 0);
    QTest::newRow("clSilver") << "clSilver" << QColor(192, 192, 192);
    QTest::newRow("clMoneyGreen") << "clMoneyGreen" << QColor(192, 220, 192);
    QTest::newRow("clSkyBlue") << "clSkyBlue" << QColor(166, 202, 240);
    QTest::newRow("any case, blanks") << "  CLYELLOW " << QColor(255, 255, 0);
    QTest::newRow("alias clLtGray") << "clLtGray" << QColor(192, 192, 192);
    QTest::newRow("system clWindow") << "clWindow" << QColor(255, 255, 255);
    QTest::newRow("system clBtnFace") << "clBtnFace" << QColor(240, 240, 240);
    QTest::newRow("system as number") << "-16777211" << QColor(255, 255, 255);
    QTest::newRow("system as hex") << "$FF00000F" << QColor(240, 240, 240);
    // "$00BBGGRR": blue sits in the high byte.
    QTest::newRow("hex pale yellow") << "$00BBFFFF" << QColor(255, 255, 0xBB);
    QTest::newRow("hex lilac") << "$00FF9191" << QColor(0x91, 0x91, 255);
    QTest::newRow("hex lower case") << "$00c0dcc0" << QColor(192, 220, 192);
    QTest::newRow("hex 0x form") << "0x000000FF" << QColor(255, 0, 0);
    QTest::newRow("decimal blue") << "16711680" << QColor(0, 0, 255);
    QTest::newRow("decimal lime") << "65280" << QColor(0, 255, 0);
    QTest::newRow("decimal black") << "0" << QColor(0, 0, 0);
}

void TestColorText::textToColor()
{
    QFETCH(QString, text);
    QFETCH(QColor, color);
    const std::optional<QColor> c = colorFromText(text);
    QVERIFY(c.has_value());
    QCOMPARE(c->rgb(), color.rgb());
}

void TestColorText::colorToText_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("text");

    QTest::newRow("blue") << QColor(0, 0, 255) << "clBlue";
    QTest::newRow("lime") << QColor(0, 255, 0) << "clLime";
    QTest::newRow("teal") << QColor(0, 128, 128) << "clTeal";
    QTest::newRow("white") << QColor(255, 255, 255) << "clWhite";
    QTest::newRow("grey") << QColor(128, 128, 128) << "clGray";
    QTest::newRow("cream") << QColor(255, 251, 240) << "clCream";
    QTest::newRow("pale yellow") << QColor(255, 255, 0xBB) << "$00BBFFFF";
    QTest::newRow("lilac") << QColor(0x91, 0x91, 255) << "$00FF9191";
    QTest::newRow("near blue") << QColor(1, 0, 255) << "$00FF0001";
    QTest::newRow("alpha ignored") << QColor(0, 0, 255, 10) << "clBlue";
    QTest::newRow("from HSV") << QColor::fromHsv(0, 255, 255) << "clRed";
}

void TestColorText::colorToText()
{
    QFETCH(QColor, color);
    QFETCH(QString, text);
    QCOMPARE(Brelvan::colorToText(color), text);
    // and back again
    QCOMPARE(colorFromText(text)->rgb(), QColor(color.red(), color.green(), color.blue()).rgb());
}

void TestColorText::notAColour_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("unknown name") << "clMauve";
    QTest::newRow("bad hex") << "$00GGFFFF";
    QTest::newRow("words") << "blue";
    QTest::newRow("too big") << "99999999999";
    QTest::newRow("unknown system colour") << "$FF0000FE";
}

void TestColorText::notAColour()
{
    QFETCH(QString, text);
    QVERIFY(!colorFromText(text).has_value());
    QCOMPARE(colorFromText(text, QColor(Qt::magenta)), QColor(Qt::magenta));
}

void TestColorText::styleBitsToFont_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strikeOut");

    QTest::newRow("0 plain") << 0 << false << false << false << false;
    QTest::newRow("1 bold") << 1 << true << false << false << false;
    QTest::newRow("2 italic") << 2 << false << true << false << false;
    QTest::newRow("3 bold italic") << 3 << true << true << false << false;
    QTest::newRow("4 underline") << 4 << false << false << true << false;
    QTest::newRow("8 strike-out") << 8 << false << false << false << true;
    QTest::newRow("15 all") << 15 << true << true << true << true;
    QTest::newRow("16 high bits ignored") << 16 << false << false << false << false;
    QTest::newRow("21 low bits kept") << 21 << true << false << true << false;
}

void TestColorText::styleBitsToFont()
{
    QFETCH(int, bits);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(bool, strikeOut);

    const QFont f = fontFromSettings("Arial", 14, bits);
    QCOMPARE(f.family(), QString("Arial"));
    QCOMPARE(f.pointSize(), 14);
    QCOMPARE(f.bold(), bold);
    QCOMPARE(f.italic(), italic);
    QCOMPARE(f.underline(), underline);
    QCOMPARE(f.strikeOut(), strikeOut);
    QCOMPARE(fontStyleBits(f), bits & 15);

    // Applying new bits clears the old ones.
    QFont g = f;
    applyFontStyleBits(g, 0);
    QCOMPARE(fontStyleBits(g), 0);
}

void TestColorText::fontToStyleBits_data()
{
    QTest::addColumn<int>("weight");
    QTest::addColumn<int>("bits");
    QTest::newRow("normal") << int(QFont::Normal) << 0;
    QTest::newRow("demi-bold is not bold") << int(QFont::DemiBold) << 0;
    QTest::newRow("bold") << int(QFont::Bold) << 1;
    QTest::newRow("black") << int(QFont::Black) << 1;
}

void TestColorText::fontToStyleBits()
{
    QFETCH(int, weight);
    QFETCH(int, bits);
    QFont f("Arial");
    f.setWeight(QFont::Weight(weight));
    f.setUnderline(true);
    QCOMPARE(fontStyleBits(f), bits | StyleUnderline);
}

QTEST_MAIN(TestColorText)
#include "tst_colortext.moc"
