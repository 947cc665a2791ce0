#include "platform/report/memorysource.h"
#include "platform/report/report.h"
#include "reports/ownerblock.h"
#include "reports/reportfurniture.h"
#include "reports/reportlaunch.h"
#include "testing/fixture.h"
#include "shell/tmainform.h"
#include "office/officepage.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Brelvan::OwnerDetails)

using namespace Brelvan;

namespace {

OwnerDetails owner(std::initializer_list<std::pair<const char *, const char *>> values)
{
    OwnerDetails o;
    o.taxLabel = QStringLiteral("TIN");
    for (const auto &[k, v] : values)
        o.text.insert(QString::fromLatin1(k), QString::fromLatin1(v));
    return o;
}

const DocItem *runWithText(const Document &doc, int page, const QString &text)
{
    for (const DocItem *item : doc.textsInReadingOrder(page))
        if (item->text == text)
            return item;
    return nullptr;
}

} // namespace

class TestFurniture : public QObject
{
    Q_OBJECT

private slots:
    void ownerLines_data()
    {
        QTest::addColumn<OwnerDetails>("details");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("lines"); // company, tax, details, address, phone, email
        const OwnerDetails full = owner({{"Co", "Brush & Co"}, {"ABN", "12 345"}, {"CoDet", "Trading as Brush"},
                                         {"Addr1", "PO Box 1"}, {"Addr2", "2 High St"}, {"Addr6", "Kew"},
                                         {"Addr3", "Melbourne"}, {"Addr4", "VIC"}, {"Addr5", "3101"},
                                         {"WPhone", "9111"}, {"Fax", "9222"}, {"MPhone", "0400"},
                                         {"Email", "a@b.c"}, {"Lic", "L77"}});
        QTest::newRow("standard") << full << "TDiaryForm"
            << QStringList{"Brush & Co", "TIN: 12 345", "Trading as Brush",
                           "PO Box 1; 2 High St Kew Melbourne VIC 3101",
                           "Work 9111 Fax 9222 Mobile 0400", "Email a@b.c"};
        QTest::newRow("no mobile on the account lists") << full << "TExpForm"
            << QStringList{"Brush & Co", "TIN: 12 345", "Trading as Brush",
                           "PO Box 1; 2 High St Kew Melbourne VIC 3101", "Work 9111 Fax 9222",
                           "Email a@b.c"};
        QTest::newRow("income groups: fixed ABN label") << full << "TIncGrpForm"
            << QStringList{"Brush & Co", "ABN : 12 345", "Trading as Brush",
                           "PO Box 1; 2 High St Kew Melbourne VIC 3101", "Work 9111 Fax 9222",
                           "Email a@b.c"};
        QTest::newRow("expense groups") << full << "TExpGrpForm"
            << QStringList{"Brush & Co", "ABN : 12 345", "Trading as Brush",
                           "PO Box 1; 2 High St Kew Melbourne VIC 3101",
                           "Work : 9111 / Fax : 9222", "Email : a@b.c"};
        QTest::newRow("licence on trade forms") << full << "TQuoteForm"
            << QStringList{"Brush & Co", "TIN: 12 345", "Trading as Brush;  Lic. No. L77",
                           "PO Box 1; 2 High St Kew Melbourne VIC 3101",
                           "Work 9111 Fax 9222 Mobile 0400", "Email a@b.c"};
        QTest::newRow("fax without work phone, mobile kept")
            << owner({{"Fax", "9222"}, {"MPhone", "0400"}, {"Addr1", "PO Box 1"}, {"Addr3", "Perth"}})
            << "TDiaryForm"
            << QStringList{"", "", "", "PO Box 1  Perth  ", "Fax 9222 Mobile 0400", ""};
        QTest::newRow("fax without work phone, no mobile")
            << owner({{"Fax", "9222"}}) << "TDiaryForm"
            << QStringList{"", "", "", "    ", "Fax 9222", ""};
        QTest::newRow("fax without work phone on the expense groups")
            << owner({{"Fax", "9222"}, {"MPhone", "0400"}}) << "TExpGrpForm"
            << QStringList{"", "", "", "    ", "Fax : 9222", ""};
        QTest::newRow("work phone alone") << owner({{"WPhone", "9111"}}) << "TDiaryForm"
            << QStringList{"", "", "", "    ", "Work 9111", ""};
    }
    void ownerLines()
    {
        QFETCH(OwnerDetails, details);
        QFETCH(QString, form);
        QFETCH(QStringList, lines);
        const OwnerLines l = Brelvan::ownerLines(details, ownerVariantOf(form));
        QCOMPARE((QStringList{l.company, l.taxNumber, l.companyDetails, l.address, l.phone, l.email}),
                 lines);
    }

    void taxLabelFollowsTheSetting()
    {
        OwnerDetails o = owner({{"ABN", "99"}});
        o.taxLabel = QStringLiteral("ABN");
        QCOMPARE(Brelvan::ownerLines(o).taxNumber, QStringLiteral("ABN: 99"));
        QCOMPARE(Brelvan::ownerLines(o, OwnerVariant::ExpenseGroups).taxNumber, QStringLiteral("ABN : 99"));
        o.taxLabel = QStringLiteral("TIN");
        QCOMPARE(Brelvan::ownerLines(o).taxNumber, QStringLiteral("TIN: 99"));
        QCOMPARE(Brelvan::ownerLines(o, OwnerVariant::IncomeGroups).taxNumber, QStringLiteral("ABN : 99"));
    }

    void letterheadPrintsWithoutALogoFile_data()
    {
        QTest::addColumn<QByteArray>("logo"); // file content; empty: no file
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("not a picture") << QByteArray("this is no JPEG");
    }
    void letterheadPrintsWithoutALogoFile()
    {
        QFETCH(QByteArray, logo);
        QTemporaryDir dir;
        const QString file = dir.filePath("Logo.JPG");
        if (!logo.isEmpty()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(logo);
        }
        MemorySource rows({{{"Name", "one"}}, {{"Name", "two"}}});
        Report r;
        r.setReportTitle("Test Report").source(&rows);
        Furniture::titleBand(r, owner({{"Co", "Brush & Co"}}), file, OwnerVariant::Standard);
        r.detail().height(5).field(0, 0, 50, 5, "Name");
        Furniture::totalRecords(r);
        Furniture::pageFooter(r);
        const Document doc = r.render();
        QCOMPARE(doc.pageCount(), 1);
        const QString text = doc.pageText(0);
        QVERIFY2(text.contains("Brush & Co") && text.contains("Total Records")
                     && text.contains("Page 1") && text.contains("Test Report"),
                 qPrintable(text));
        const DocItem *company = runWithText(doc, 0, "Brush & Co");
        QVERIFY(company);
        QVERIFY(qAbs(company->rect.center().x() - 105) < 1.0); // centred on the A4 page
    }

    void newCompanyFontIsUsedAtOnce()
    {
        Testing::Fixture f(Testing::Fixture::EmptyTables);
        f.start();
        QFont chosen(QStringLiteral("DejaVu Serif"), 18);
        chosen.setItalic(true);
        f.dialogs().answer(FontChoice{chosen, QColor(Qt::darkRed)});
        f.mainForm()->findChild<QAbstractButton *>("FontBtn2")->click();
        f.mainForm()->findChild<QLineEdit *>("Co")->setText("Fresh Coat");
        Report r;
        r.setReportTitle("Fonts");
        standardFurniture(r, *f.form(), "TDiaryForm");
        launchReport(*f.form(), "TDiaryForm", r);
        QCOMPARE(f.reports().size(), 1);
        QCOMPARE(f.reports().first().formClass, QStringLiteral("TDiaryForm"));
        QVERIFY(f.reports().first().pages.first().contains("Fresh Coat"));
        const Document doc = r.render();
        const DocItem *company = runWithText(doc, 0, "Fresh Coat");
        QVERIFY(company);
        QCOMPARE(company->font.family(), QStringLiteral("DejaVu Serif"));
        QVERIFY(company->font.italic());
        QCOMPARE(company->colour, QColor(Qt::darkRed));
    }
};

BRELVAN_TEST_MAIN(TestFurniture)
#include "tst_furniture.moc"
