#include "../recordpagetest.h"
#include "platform/widgets/notesmemo.h"
#include "testing/fixture.h"

#include <QTest>

using namespace Brelvan;
using Brelvan::Testing::Fixture;
using Brelvan::Testing::PageUnderTest;

// The two memos of the Quotes page: the generated pricing notes and the typed Spec.
class TestQuotesPage : public QObject
{
    Q_OBJECT

private slots:
    void memos();
};

void TestQuotesPage::memos()
{
    Fixture f;
    f.setNow(QDateTime(QDate(2026, 3, 15), QTime(9, 30)));
    f.start();
    PageUnderTest p(f, "Quotes");
    auto *notes = f.mainForm()->findChild<NotesMemo *>("QuoteNote");
    auto *specs = f.mainForm()->findChild<NotesMemo *>("QuoteSpecs");
    QVERIFY(notes && specs);
    QCOMPARE(notes->fieldName(), QStringLiteral("Notes"));
    QCOMPARE(specs->fieldName(), QStringLiteral("Spec"));
    // typing into the pricing notes changes nothing
    p.ds().last();
    const QString typedOver = p.ds().text("Notes");
    notes->setFocus();
    QTest::keyClicks(notes, "abc");
    QTest::keyClick(notes, Qt::Key_Backspace);
    QCOMPARE(p.ds().text("Notes"), typedOver);
    QVERIFY(notes->isReadOnly());
    QCOMPARE(specs->backgroundColor(), p.page->settingColor("Grad3Str"));
    QCOMPARE(specs->toPlainText(), p.ds().text("Spec"));
    // the generated pricing notes take no time stamp
    const QString before = p.ds().text("Notes");
    QTest::mouseDClick(notes->viewport(), Qt::LeftButton);
    QCOMPARE(p.ds().text("Notes"), before);
    QCOMPARE(p.ds().state(), Table::Dataset::State::Browse);
}

BRELVAN_TEST_MAIN(TestQuotesPage)
#include "tst_quotespage.moc"
