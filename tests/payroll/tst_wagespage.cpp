#include "../recordpagetest.h"
#include "testing/fixture.h"

#include <QTest>

using namespace Brelvan;
using Brelvan::Testing::Fixture;
using Brelvan::Testing::PageUnderTest;

// What the Wages page takes from the settings beyond the shared record page.
class TestWagesPage : public QObject
{
    Q_OBJECT

private slots:
    void titlesFromSettings();
};

void TestWagesPage::titlesFromSettings()
{
    Fixture f;
    f.writeIni("Detail", "Health", "MediBank");
    f.writeIni("Detail", "Levy", "SSS");
    f.writeIni("Detail", "Super", "");
    f.writeIni("Detail", "TaxFileNo", "TIN");
    f.writeUserValue("SuperFundStr", "Retirement Fund");
    f.start();
    PageUnderTest p(f, "Wages");
    QCOMPARE(p.titleOf("Health"), QStringLiteral("MediBank"));
    QCOMPARE(p.titleOf("Levy"), QStringLiteral("SSS"));
    QCOMPARE(p.titleOf("TFN"), QStringLiteral("TIN"));
    QCOMPARE(p.titleOf("SuperFund"), QStringLiteral("Retirement Fund"));
    // an empty title stays empty rather than falling back to the field's name
    QCOMPARE(p.titleOf("Super").trimmed(), QString());
    QCOMPARE(p.titleOf("Other1"), QStringLiteral("Details"));
}

BRELVAN_TEST_MAIN(TestWagesPage)
#include "tst_wagespage.moc"
