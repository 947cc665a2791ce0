#include "../recordpagetest.h"
#include "platform/widgets/shapebutton.h"
#include "testing/fixture.h"

#include <QComboBox>
#include <QTest>

using namespace Brelvan;
using Brelvan::Testing::Fixture;
using Brelvan::Testing::PageUnderTest;

// What the Paint price list does beyond the shared record page.
class TestPaintPage : public QObject
{
    Q_OBJECT

private slots:
    void selectionFlipsAll();
};

void TestPaintPage::selectionFlipsAll()
{
    Fixture f;
    f.start();
    PageUnderTest p(f, "Paint");
    ShapeButton *all = p.page->allButton();
    // dressed in the highlight colours at the end of the show sequence
    QCOMPARE(all->startColor(), p.page->settingColor("Grad2Str"));
    QCOMPARE(all->endColor(), p.page->settingColor("Grad1Str"));
    QTest::mouseClick(all, Qt::LeftButton);
    QVERIFY(all->isPlain());
    // any selection flips it, the sort chooser's as well
    p.page->sortChooser()->setCurrentIndex(1);
    emit p.page->sortChooser()->activated(1);
    QCOMPARE(all->startColor(), p.page->settingColor("Grad2Str"));
    QCOMPARE(p.ds().sql().value(1), QStringLiteral("ORDER by ProdNo"));
    // an entry written with semicolons orders by the same fields
    p.page->sortChooser()->setCurrentIndex(2);
    emit p.page->sortChooser()->activated(2);
    QCOMPARE(p.page->sortChooser()->currentText(), QStringLiteral("Code,Maker,Type"));
    QCOMPARE(p.ds().sql().value(1), QStringLiteral("ORDER by Code,Maker,Type"));
    QVERIFY(all->isPlain());
}

BRELVAN_TEST_MAIN(TestPaintPage)
#include "tst_paintpage.moc"
