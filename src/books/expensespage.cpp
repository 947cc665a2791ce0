#include "books/expensespage.h"

#include "books/bookscolumns.h"
#include "books/expensespagespec.h"
#include "data/ui/mainaccess.h"
#include "platform/widgets/hint.h"
#include "platform/widgets/shapebutton.h"
#include "data/appsettings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace Brelvan {

ExpensesPage::ExpensesPage(MainAccess &main) : RecordPage(main, expensesPageSpec())
{
    buildStrips();
}

void ExpensesPage::buildStrips()
{
    QHBoxLayout *h = headTools();
    addButton(h, QStringLiteral("ExpToDiaryBtn"), QStringLiteral("Diary"),
              QStringLiteral("Send current record information to current diary date."));
    addButton(h, QStringLiteral("RepeatExpBtn"), QStringLiteral("Repeat"),
              QStringLiteral("Replicate current record - then EDIT it as necessary."));
    auto *plus = new QComboBox;
    plus->setObjectName(QStringLiteral("PlusExp"));
    plus->addItems(Books::repeatDays());
    plus->setCurrentIndex(-1);
    setHint(plus, QStringLiteral("Recurring Expenses : Replicate current record by this # of "
                                 "days"));
    h->addWidget(plus);

    QHBoxLayout *sub = subHeadTools();
    addButton(sub, QStringLiteral("ExpCopyBtn"), QStringLiteral("Copy"), {}, true);
    addButton(sub, QStringLiteral("GSTBtn"), QStringLiteral("Split"), {}, true);
    m_apply = new QLineEdit;
    m_apply->setObjectName(QStringLiteral("Apply"));
    m_apply->setFixedWidth(36);
    setHint(m_apply, QStringLiteral("Percentage Rate to use for GST."));
    sub->addWidget(m_apply);
    addButton(sub, QStringLiteral("AddGSTBtn"), QStringLiteral("Add"), {}, true);
    addRecordEdit(sub, QStringLiteral("ExpDate"), QStringLiteral("Date"), 80);
    addRecordEdit(sub, QStringLiteral("ExpInvoice"), QStringLiteral("Invoice"), 80);
    addRecordEdit(sub, QStringLiteral("ExpExpense"), QStringLiteral("Expense"), 130);
    addRecordEdit(sub, QStringLiteral("ExpSupplier"), QStringLiteral("Supplier"), 130);
    addButton(sub, QStringLiteral("ListExpBtn"), QStringLiteral("List"),
              QStringLiteral("Listing of Codes and Categories."));
    addButton(sub, QStringLiteral("ExpNoteSrchBtn"), QStringLiteral("Search"),
              QStringLiteral("Search all Record Notes for some text."));
    addButton(sub, QStringLiteral("ExpNextNoteBtn"), QStringLiteral("Next"),
              QStringLiteral("NEXT button, search for next record containing same text."));
    addButton(footerTools(), QStringLiteral("TaxnBtn1"), QStringLiteral("Taxation"), {}, true);
    footerTools()->addStretch(1);
}

void ExpensesPage::startUp()
{
    m_apply->setText(main().settings().value(QStringLiteral("ApplyRate")));
    RecordPage::startUp();
}

ExpensesPage *createExpensesPage(MainAccess &main)
{
    return new ExpensesPage(main);
}

} // namespace Brelvan
