#include "calc/calcreports.h"
#include "calc/calcwindow.h"
#include "calc/loantable.h"
#include "platform/report/memorysource.h"
#include "platform/report/report.h"
#include "reports/reportfurniture.h"
#include "platform/widgets/gradientpanel.h"
#include "office/officepage.h"
#include "platform/widgets/shapebutton.h"
#include "shell/tmainform.h"
#include "testing/fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace Brelvan;
using Brelvan::Testing::Fixture;

namespace {

const QString missing = QStringLiteral("Data is Missing");
const QString unusable = QStringLiteral("ERROR : Check your Requirements");
const QString calculateFirst = QStringLiteral("Check your Requirements and Calculate");

// Types into the focused control as a user would, replacing what it holds.
void type(const QString &text)
{
    QWidget *w = QApplication::focusWidget();
    QVERIFY(w);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w, text);
}

void tab()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

// Picks the frequency by keyboard in the focused chooser.
void chooseFrequency(int item)
{
    QWidget *w = QApplication::focusWidget();
    QVERIFY(qobject_cast<QComboBox *>(w));
    QTest::keyClick(w, Qt::Key_Home);
    for (int i = 0; i < item; ++i)
        QTest::keyClick(w, Qt::Key_Down);
}

void focus(CalcWindow *w, const char *edit)
{
    QWidget *e = w->findChild<QWidget *>(QString::fromLatin1(edit));
    QTest::mouseClick(e, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), e);
}

QString out(CalcWindow *w, const char *edit)
{
    return w->edit(QString::fromLatin1(edit))->text();
}

void click(CalcWindow *w, const char *button)
{
    auto *b = w->findChild<ShapeButton *>(QString::fromLatin1(button));
    QVERIFY2(b && b->isEnabled(), button);
    b->click();
}

ShapeButton *calcButton(CalcWindow *w)
{
    return w->findChild<ShapeButton *>(QStringLiteral("CalcBtn"));
}

// Opens a calculator from the Loans menu, runs the steps on it while it is the modal
// window (when it is the form named, or any form for none), and closes it with its Close
// button even when a step failed.
template<typename Steps>
bool withCalculator(Fixture &f, const QString &command, const QString &form, Steps steps)
{
    QAction *menu = f.form()->menuAction(command);
    if (!menu || !menu->isEnabled())
        return false;
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto *w = qobject_cast<CalcWindow *>(QApplication::activeModalWidget());
        if (!w)
            return;
        if (form.isEmpty() || w->objectName() == form) {
            // the offscreen platform leaves the main window active under a modal one
            QApplication::setActiveWindow(w);
            ran = true;
            steps(w);
        }
        if (w->isVisible())
            w->findChild<ShapeButton *>(QStringLiteral("CloseBtn"))->click();
    });
    menu->trigger();
    return ran && !QApplication::activeModalWidget();
}

const QColor green(0, 0x80, 0);
const QColor blue(0, 0, 0xFF);

} // namespace

class TestCalcWindows : public QObject
{
    Q_OBJECT

private slots:
    void borrowAndDetail();
    void loanRefusals();
    void investAndAnnuities_data();
    void investAndAnnuities();
    void summaryLayout();
    void scheduleColumns();
};

void TestCalcWindows::borrowAndDetail()
{
    Fixture f;
    f.start();
    const QColor grad1 = f.form()->settings().color("Grad1Str");
    const QColor grad2 = f.form()->settings().color("Grad2Str");
    f.form()->officePage()->setText("Co", "Brush & Co"); // typed, not yet saved
    const bool opened = withCalculator(f, "Borrow", "TBorrowForm", [&](CalcWindow *w) {
        QCOMPARE(w->windowTitle(), " Borrowings");
        QCOMPARE(w->findChild<GradientPanel *>("HeadPanel")->caption(), "Reducing  Interest");
        QCOMPARE(w->findChild<QComboBox *>("Period")->currentText(), "Daily");
        QCOMPARE(w->findChild<ShapeButton *>("PrintBtn")->toolTip(),
                 "Print  the current document.");
        QCOMPARE(calcButton(w)->captionColor(), QColor(Qt::red));

        // amount, rate, term and frequency in tab order
        QCOMPARE(QApplication::focusWidget()->objectName(), "EdPrinc");
        type("10000");
        tab();
        type("6");
        tab();
        type("5");
        tab();
        chooseFrequency(2);
        click(w, "CalcBtn");
        QCOMPARE(out(w, "EdPays"), "60");
        QCOMPARE(out(w, "EdR"), "193.33");
        QCOMPARE(out(w, "EdInt"), "1,599.68");
        QCOMPARE(out(w, "EdAI"), "26.66");
        QCOMPARE(out(w, "EdAAI"), "319.94");
        QCOMPARE(out(w, "EdAV"), "11,599.68");
        QCOMPARE(calcButton(w)->startColor(), green);
        QCOMPARE(calcButton(w)->captionColor(), blue);

        // an edited input makes the figures old until calculated again
        focus(w, "EdTime");
        type("50");
        QCOMPARE(calcButton(w)->startColor(), grad2);
        QCOMPARE(calcButton(w)->endColor(), grad1);
        QCOMPARE(calcButton(w)->captionColor(), QColor(Qt::red));
        type("5");
        click(w, "CalcBtn");

        click(w, "PrintBtn");
        QCOMPARE(calcButton(w)->captionColor(), QColor(Qt::red));
        QCOMPARE(calcButton(w)->startColor(), green);
        click(w, "DetailPrintBtn");
    });
    QVERIFY(opened);
    QCOMPARE(f.dialogs().shown(), QStringList());
    QCOMPARE(f.reports().size(), 2);

    const auto summary = f.reports().at(0);
    QCOMPARE(summary.formClass, "TPrintBorrowForm");
    QCOMPARE(summary.title, "Borrowings");
    QCOMPARE(summary.pages.size(), 1);
    for (const char *part :
         {"Borrowing  Requirements\nLoan Amount\n10000\nRate of Interest\n6%\n"
          "Term ( Years )\n5 Years\nRepayments\nMonthly\nLoan Outcome\n"
          "Number of Repayments\n60\nRepayment\n193.33\nTotal Interest Paid\n1,599.68\n"
          "Average Interest\n26.66\nAverage Annual Interest\n319.94\nTotal Repayment\n"
          "11,599.68\nBorrowings\nPrinted 15/03/2026 09:30:00",
          "Brush & Co\nTIN: Tax TIN or ABN\n"}) {
        QVERIFY2(summary.pages.at(0).contains(QString::fromUtf8(part)),
                 qPrintable(summary.pages.at(0)));
    }

    const auto schedule = f.reports().at(1);
    QCOMPARE(schedule.formClass, "TBorrowingForm");
    QCOMPARE(schedule.title, " Repayment Schedule.");
    const QString page = schedule.pages.at(0);
    QVERIFY2(page.contains("10,000.00 at 6%  interest  over 5 Years\nRepayment   193.33\n"),
             qPrintable(page));
    QCOMPARE(page.count("  No.           Balance Owed"), 4);
    QVERIFY(page.contains("    1                  9,833\n"));
    QVERIFY(page.contains("   60                     0"));
    QCOMPARE(page.count(QRegularExpression("^ *[0-9]+ {7,}[0-9,]+$",
                                           QRegularExpression::MultilineOption)), 60);

    // Borrow Detail offers the same three inputs and its own monthly repayments
    QString table;
    QVERIFY(withCalculator(f, "Borrow Detail", "TBorrowDetailForm", [&](CalcWindow *w) {
        QCOMPARE(w->windowTitle(), " Borrowings");
        QCOMPARE(out(w, "EdPrinc"), "10000");
        QCOMPARE(out(w, "EdRate"), "6");
        QCOMPARE(out(w, "EdTime"), "5");
        QCOMPARE(w->findChild<QComboBox *>("Period")->currentText(), "Monthly");
        QCOMPARE(out(w, "StartDate"), "15/03/2026");
        QVERIFY(w->edit("StartDate")->isReadOnly());
        QVERIFY(!w->findChild<ShapeButton *>("DetailedRptBtn")->isEnabled());
        // no calculation in this window yet
        click(w, "PrintBtn");
        auto *box = w->findChild<QPlainTextEdit *>("Borrowings");
        QCOMPARE(box->toolTip(), "Copy to ClipBoard to save");
        click(w, "CalcBtn");
        QCOMPARE(out(w, "EdR"), "193.33");
        table = box->toPlainText();
        QCOMPARE(box->textCursor().position(), 0);
        click(w, "CopyBtn");
        QCOMPARE(QApplication::clipboard()->text(), table);
        click(w, "PrintBtn");
        focus(w, "EdTime");
        tab();
        chooseFrequency(5); // Yearly, stored as the window closes
    }));
    QCOMPARE(f.dialogs().shown(), QStringList{calculateFirst});
    const QStringList lines = table.split('\n');
    QCOMPARE(lines.size(), 65);
    QCOMPARE(lines.at(0), " Loan = $10,000.00 at 6%  Interest  over 5 Years");
    QVERIFY(lines.at(5).startsWith("1       \t15/03/2026      $10,000.00\t  + $50.00    \t"));
    QCOMPARE(f.reports().size(), 3);
    QCOMPARE(f.reports().at(2).formClass, "TPrintBorrowForm");

    // and Borrow takes back the frequency Borrow Detail closed with
    QVERIFY(withCalculator(f, "Borrow", "TBorrowForm", [&](CalcWindow *w) {
        QCOMPARE(w->findChild<QComboBox *>("Period")->currentText(), "Yearly");
        QCOMPARE(out(w, "EdPrinc"), "10000");
        QCOMPARE(out(w, "EdPays"), QString());
        click(w, "CalcBtn");
        QCOMPARE(out(w, "EdR"), "2,373.96");
    }));
}

void TestCalcWindows::loanRefusals()
{
    Fixture f(Fixture::EmptyTables);
    f.start();
    QVERIFY(withCalculator(f, "Borrow", "TBorrowForm", [&](CalcWindow *w) {
        click(w, "PrintBtn");
        click(w, "DetailPrintBtn");
        click(w, "CalcBtn");
        QCOMPARE(f.dialogs().shown(), (QStringList{calculateFirst, calculateFirst, missing}));
        f.dialogs().clearShown();

        // the first window of a run repays daily
        type("10000");
        tab();
        type("6");
        tab();
        type("1");
        click(w, "CalcBtn");
        QCOMPARE(out(w, "EdPays"), "365");
        QCOMPARE(out(w, "EdR"), "28.23");

        // refused figures leave the last ones, and the button does not claim them current
        for (const char *rate : {"0", "six"}) {
            focus(w, "EdRate");
            type(QString::fromLatin1(rate));
            click(w, "CalcBtn");
            QCOMPARE(out(w, "EdR"), "28.23");
            QCOMPARE(calcButton(w)->captionColor(), QColor(Qt::red));
        }
        click(w, "PrintBtn");
        click(w, "DetailPrintBtn");
        QCOMPARE(f.dialogs().shown(), (QStringList{unusable, unusable, calculateFirst,
                                                   calculateFirst}));
        QCOMPARE(f.dialogs().entries().at(0).kind, Dialogs::Kind::Error);

        // 1.3 years weekly: 67.6 repayments shown, 68 listed
        type("6");
        tab();
        type("1.3");
        tab();
        chooseFrequency(1);
        click(w, "CalcBtn");
        QCOMPARE(out(w, "EdPays"), "67.6");
        click(w, "DetailPrintBtn");

        // two centuries of daily repayments are worked out, but not listed
        f.dialogs().clearShown();
        focus(w, "EdTime");
        type("200");
        tab();
        chooseFrequency(0);
        click(w, "CalcBtn");
        QCOMPARE(out(w, "EdPays"), "73000");
        click(w, "DetailPrintBtn");
        QCOMPARE(f.dialogs().shown(), QStringList{unusable});
    }));
    QCOMPARE(f.reports().size(), 1);
    QCOMPARE(f.reports().at(0).pages.join('\n').count(
                 QRegularExpression("^ *[0-9]+ {7,}[0-9,]+$",
                                    QRegularExpression::MultilineOption)),
             68);
    // nor tabled by Borrow Detail, whose last figures stay
    QVERIFY(withCalculator(f, "Borrow Detail", "TBorrowDetailForm", [&](CalcWindow *w) {
        click(w, "CalcBtn");
        QCOMPARE(out(w, "EdPays"), "2400");
        focus(w, "EdTime");
        tab();
        chooseFrequency(0);
        click(w, "CalcBtn");
        QCOMPARE(out(w, "EdPays"), "2400");
        QCOMPARE(w->findChild<QPlainTextEdit *>("Borrowings")->toPlainText().count('\n'),
                 4 + 2400);
    }));
    QCOMPARE(f.dialogs().shown(), (QStringList{unusable, unusable}));
}

void TestCalcWindows::investAndAnnuities_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("head");
    QTest::addColumn<QStringList>("inputs");   // "Edit=text", in tab order, frequency between
    QTest::addColumn<QStringList>("outputs");  // "Edit=text"
    QTest::addColumn<QString>("zeroRate");     // EdAV with no interest, or empty for refused
    QTest::addColumn<QString>("printClass");
    QTest::addColumn<QString>("printed");      // a run of the printout's lines

    QTest::newRow("invest") << "Invest" << "TInvestForm" << " Investments" << "Compound  Interest"
        << QStringList{"EdPrinc=10000", "EdRate=6", "EdTime=5", "Period"}
        << QStringList{"EdPays=60", "EdAV=13,488.50", "EdInt=3,488.50", "EdR=224.81",
                       "EdAAI=697.70"}
        << "10,000.00" << "TPrintInvestForm"
        << "Investment  Requirements\nInvestment Amount\n10000\nRate of Interest\n6%\n"
           "Term ( Years )\n5 Years\nPayments Received\nMonthly\nInvestment  Outcome\n"
           "Number of Payments\n60\nAverage Payment Received\n224.81\n"
           "Total Interest Received\n3,488.50\nAverage Interest Received\n58.14\n"
           "Average Annual Interest\n697.70\nAccumulated Value\n13,488.50\nInvestments\n";
    QTest::newRow("rising annuity") << "Rising Annuity" << "TAnnRForm" << " Annuity - Rising"
        << "Rising  Annuity" << QStringList{"EdRate=6", "EdTime=5", "Period", "EdPMT=100"}
        << QStringList{"EdPays=60", "EdFV=6,977", "EdInputs=6,000", "EdIR=977", "EdAI=1,200",
                       "EdAIR=195"}
        << "" << "TPrintAnnRForm"
        << "Rising Annuity Requirements\nRate of Interest ( % )\n6%\nTerm ( Years )\n5 Years\n"
           "Repayments made\nMonthly\nPayment made\n100\nInvestment  Outcome\n"
           "Number of Repayments\n60\nFuture Value\n6,977\nTotal Inputs\n6,000\n"
           "Interest Received\n977\nAnnual Inputs\n1,200\nAnnual Interest Received\n195\n"
           "Rising Annuity\n";
    QTest::newRow("sinking annuity") << "Sinking Annuity" << "TAnnSForm" << " Annuity - Sinking"
        << "Reducing  Interest" << QStringList{"EdFV=10000", "EdRate=6", "EdTime=5", "Period"}
        << QStringList{"EdPays=60", "EdPMT=143.33", "EdTI=8,599.68", "EdInt=1,400.32"}
        << "" << "TPrintAnnSForm"
        << "Sinking Annuity - Requirements\nFuture Value\n10000\nRate of Interest\n6%\n"
           "Term ( Years )\n5 Years\nRepayments made\nMonthly\nAnnuity Outcome\n"
           "Number of Repayments\n60\nRequired Deposit\n143.33\nTotal Inputs\n8,599.68\n"
           "Total Interest Received\n1,400.32\nAverage Interest\n23.34\n"
           "Average Annual Interest\n280.06\nSinking Annuity\n";
}

void TestCalcWindows::investAndAnnuities()
{
    QFETCH(QString, command);
    QFETCH(QString, form);
    QFETCH(QString, caption);
    QFETCH(QString, head);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, outputs);
    QFETCH(QString, zeroRate);
    QFETCH(QString, printClass);
    QFETCH(QString, printed);
    Fixture f(Fixture::EmptyTables);
    f.start();
    auto checkOutputs = [&](CalcWindow *w) {
        for (const QString &o : outputs)
            QCOMPARE(o.section('=', 0, 0) + '=' + w->edit(o.section('=', 0, 0))->text(), o);
    };
    QVERIFY(withCalculator(f, command, form, [&](CalcWindow *w) {
        QCOMPARE(w->windowTitle(), caption);
        QCOMPARE(w->findChild<GradientPanel *>("HeadPanel")->caption(), head);
        QCOMPARE(w->findChild<QComboBox *>("Period")->currentText(), "Daily");
        click(w, "CalcBtn");
        QCOMPARE(f.dialogs().shown(), QStringList{missing});
        for (const QString &in : inputs) {
            const QString name = in.section('=', 0, 0);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
            if (name == QLatin1String("Period"))
                chooseFrequency(2);
            else
                type(in.section('=', 1));
            tab();
        }
        click(w, "CalcBtn");
        checkOutputs(w);
        QCOMPARE(calcButton(w)->captionColor(), blue);
        click(w, "PrintBtn");

        focus(w, "EdRate");
        type("0");
        click(w, "CalcBtn");
        if (zeroRate.isEmpty()) {
            QCOMPARE(f.dialogs().shown().last(), unusable);
            checkOutputs(w);
        } else {
            QCOMPARE(out(w, "EdAV"), zeroRate);
        }
        type("6");
        focus(w, "EdTime");
        type("0");
        click(w, "CalcBtn");
        QCOMPARE(f.dialogs().shown().last(), unusable);
        type("5");
    }));
    QCOMPARE(f.reports().size(), 1);
    QCOMPARE(f.reports().at(0).formClass, printClass);
    const QString first = f.reports().at(0).pages.at(0);
    QVERIFY2(first.contains(printed), qPrintable(first));

    // its own inputs come back, and no other calculator's
    QVERIFY(withCalculator(f, command, form, [&](CalcWindow *w) {
        for (const QString &in : inputs) {
            if (in != QLatin1String("Period"))
                QCOMPARE(out(w, qPrintable(in.section('=', 0, 0))), in.section('=', 1));
        }
        QCOMPARE(w->findChild<QComboBox *>("Period")->currentText(), "Monthly");
        // printing needs no calculation: the edits print as they stand
        click(w, "PrintBtn");
    }));
    QCOMPARE(f.reports().size(), 2);
    const QString again = f.reports().at(1).pages.at(0);
    QVERIFY(again.contains(printed.left(printed.indexOf("Number of"))));
    QVERIFY(!again.contains(outputs.at(1).section('=', 1)));
    for (const char *other : {"Borrow", "Invest", "Rising Annuity", "Sinking Annuity"}) {
        if (command == QLatin1String(other))
            continue;
        QVERIFY(withCalculator(f, other, {}, [&](CalcWindow *w) {
            QCOMPARE(out(w, "EdRate"), QString());
            QCOMPARE(w->findChild<QComboBox *>("Period")->currentText(), "Daily");
        }));
    }
}

void TestCalcWindows::summaryLayout()
{
    OwnerDetails owner;
    owner.taxLabel = "TIN";
    owner.text = {{"Co", "Brush & Co"}, {"Email", "a@b.c"}};
    owner.companyFont.font = QFont("Arial", 16, QFont::Bold);
    Report report;
    report.now(QDateTime(QDate(2026, 3, 15), QTime(9, 30)));
    buildCalcSummary(report, owner, {}, "Borrowings",
                     {"Borrowing  Requirements",
                      {{"Loan Amount", "10000"}, {"Repayments", "Monthly"}}},
                     {"Loan Outcome",
                      {{"Repayment", "193.33"}, {"Total Repayment", "11,599.68"}}});
    const Document doc = report.render();
    QCOMPARE(doc.pageCount(), 1);
    QCOMPARE(doc.page(0).size, QSizeF(210, 297));
    auto find = [&](const QString &text) -> const DocItem * {
        for (const DocItem *item : doc.textsInReadingOrder(0)) {
            if (item->text == text)
                return item;
        }
        return nullptr;
    };
    // the letterhead from the top margin of 20 mm
    QVERIFY(find("Brush & Co"));
    QCOMPARE(find("Brush & Co")->rect.top(), 21.3);
    const DocItem *heading = find("Loan Outcome");
    QVERIFY(heading && heading->font.bold() && heading->font.pointSizeF() == 14);
    QCOMPARE(heading->font.family(), "Arial");
    // labels bold at 21.2 mm and values at 91.0 mm of the printed width, side by side
    const char *const lines[][2] = {{"Loan Amount", "10000"}, {"Repayments", "Monthly"},
                                    {"Repayment", "193.33"}, {"Total Repayment", "11,599.68"}};
    for (const auto &[label, value] : lines) {
        const DocItem *l = find(label);
        const DocItem *v = find(value);
        QVERIFY(l && v);
        QVERIFY(l->font.bold() && !v->font.bold());
        QCOMPARE(l->rect.left(), 10 + 21.2);
        QCOMPARE(v->rect.left(), 10 + 91.0);
        QCOMPARE(v->rect.top(), l->rect.top());
    }
    // each box framed round its lines
    int frames = 0;
    for (const DocItem &item : doc.page(0).items) {
        if (item.kind != DocItem::Kind::Rect)
            continue;
        ++frames;
        QVERIFY(item.rect.contains(find(frames == 1 ? "Loan Amount" : "Total Repayment")->rect));
    }
    QCOMPARE(frames, 2);
    QVERIFY(find("Printed 15/03/2026 09:30:00"));
    QVERIFY(find("Borrowings"));
    QVERIFY(!doc.pageText(0).contains("Page "));
}

void TestCalcWindows::scheduleColumns()
{
    OwnerDetails owner;
    owner.taxLabel = "TIN";
    owner.text = {{"Co", "Brush & Co"}};
    Report report;
    report.margins(QMarginsF(10, 15, 15, 10));
    Furniture::titleBand(report, owner, {}, OwnerVariant::Standard);
    Furniture::pageFooter(report);
    buildRepaymentSchedule(report, {"250,000.00 at 5.75%  interest  over 30 Years",
                                    "Repayment   1,458.93"});
    // the widest balance and the widest number the listing prints
    const QStringList lines = repaymentSchedule(999999999999.0, 1, 600);
    MemorySource rows;
    for (const QString &line : lines)
        rows.append({{"Line", line}});
    report.source(&rows);
    const Document doc = report.render();
    QVERIFY(doc.pageCount() >= 3);
    const double column = (210 - 25) / 4.0;
    int listed = 0;
    for (int p = 0; p < doc.pageCount(); ++p) {
        QList<double> heads;
        for (const DocItem *item : doc.textsInReadingOrder(p)) {
            if (item->text.contains("Balance Owed")) {
                heads << item->rect.left();
                continue;
            }
            if (!item->text.contains(QRegularExpression("^ *[0-9]+ {7,}[0-9,]+$")))
                continue;
            ++listed;
            // a line keeps inside its column
            const QFontMetricsF metrics(item->font);
            const double width = metrics.horizontalAdvance(item->text) * 25.4 / metrics.fontDpi();
            const double left = item->rect.left() - 10;
            const int col = int(left / column + 0.01);
            QVERIFY2(left + width <= (col + 1) * column, qPrintable(item->text));
        }
        QCOMPARE(heads, (QList<double>{10, 10 + column, 10 + 2 * column, 10 + 3 * column}));
        QCOMPARE(doc.pageText(p).contains("Repayment   1,458.93"), p == 0);
        QVERIFY(doc.pageText(p).contains("Page " + QString::number(p + 1)));
    }
    QCOMPARE(listed, 600);
    QVERIFY(doc.pageText(doc.pageCount() - 1).contains("  600       999,999,999,399"));
}

BRELVAN_TEST_MAIN(TestCalcWindows)
#include "tst_calcwindows.moc"
