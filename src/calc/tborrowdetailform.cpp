#include "calc/tborrowdetailform.h"

#include "calc/loancalc.h"
#include "calc/loantable.h"
#include "data/formats.h"
#include "platform/desktop/clock.h"
#include "platform/widgets/hint.h"

#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace Brelvan {

TBorrowDetailForm::TBorrowDetailForm(MainAccess &main, QWidget *parent)
    : LoanWindow(main, QStringLiteral("TBorrowDetailForm"), QStringLiteral("Reducing  Interest"),
                 parent)
{
    addLoanRows(shortDate(clock().today()));
    addButton("CalcBtn", QStringLiteral("Calculate"), {}, [this] { calculate(); });
    addButton("PrintBtn", QStringLiteral("Print"), QStringLiteral("Print  the current Summary."),
              [this] { print(); });
    addButton("DetailedRptBtn", QStringLiteral("Very Detailed Listing"), {}, nullptr);
    addButton("CopyBtn", QStringLiteral("Copy"), QStringLiteral("Copy Contents to ClipBoard"),
              [this] { QGuiApplication::clipboard()->setText(m_table->toPlainText()); });
    addCloseButton();

    m_table = new QPlainTextEdit(this);
    m_table->setObjectName(QStringLiteral("Borrowings"));
    setHint(m_table, QStringLiteral("Copy to ClipBoard to save"));
    m_table->setReadOnly(true);
    m_table->setLineWrapMode(QPlainTextEdit::NoWrap);
    // fixed pitch and tab stops every eight characters keep the fields in columns
    const QFont mono(QStringLiteral("Courier New"), 9);
    m_table->setFont(mono);
    m_table->setTabStopDistance(QFontMetricsF(mono).horizontalAdvance(QLatin1Char(' ')) * 8);
    m_table->setMinimumSize(880, 260);
    QPalette p = m_table->palette();
    p.setColor(QPalette::Base, m_grad3);
    m_table->setPalette(p);
    lowerArea()->addWidget(m_table);

    // the three texts come back; this window keeps to monthly repayments
    CalcEntry entry = CalcMemory::of(main).loan;
    entry.frequency = 2;
    restore(entry, "EdPrinc");
}

bool TBorrowDetailForm::acceptLoan(const LoanCalculation &c)
{
    if (wholeRepayments(c.figures.repayments) > maxListedRepayments)
        return false;
    m_table->setPlainText(borrowDetailTable(c.figures, text("EdRate"), text("EdTime"),
                                            c.texts.value(QStringLiteral("EdR")),
                                            text("StartDate")));
    m_table->moveCursor(QTextCursor::Start);
    return true;
}

} // namespace Brelvan
