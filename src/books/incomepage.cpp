#include "books/incomepage.h"

#include "books/bookscolumns.h"
#include "books/incomepagespec.h"
#include "data/ui/mainaccess.h"
#include "platform/widgets/hint.h"
#include "platform/widgets/shapebutton.h"
#include "data/appsettings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>

namespace Brelvan {

IncomePage::IncomePage(MainAccess &main) : RecordPage(main, incomePageSpec())
{
    buildStrips();
}

void IncomePage::buildStrips()
{
    QHBoxLayout *h = headTools();
    addButton(h, QStringLiteral("IncToDiaryBtn"), QStringLiteral("Diary"),
              QStringLiteral("Send current record information to current diary date."));
    addButton(h, QStringLiteral("RepeatIncBtn"), QStringLiteral("Repeat"),
              QStringLiteral("Replicate current record - then EDIT it as necessary."));
    auto *plus = new QComboBox;
    plus->setObjectName(QStringLiteral("PlusInc"));
    plus->addItems(Books::repeatDays());
    plus->setCurrentIndex(-1);
    setHint(plus, QStringLiteral("Recurring Income : Replicate current record by this # of "
                                 "days"));
    h->addWidget(plus);

    QHBoxLayout *sub = subHeadTools();
    addButton(sub, QStringLiteral("IncCopyBtn"), QStringLiteral("Copy"), {}, true);
    addButton(sub, QStringLiteral("SplitIncGSTBtn"), QStringLiteral("Split"), {}, true);
    m_apply = new QLineEdit;
    m_apply->setObjectName(QStringLiteral("ApplyInc"));
    m_apply->setFixedWidth(36);
    setHint(m_apply, QStringLiteral("Percentage Rate to use for Tax."));
    sub->addWidget(m_apply);
    addButton(sub, QStringLiteral("AddIncGSTBtn"), QStringLiteral("Add"), {}, true);
    addButton(sub, QStringLiteral("WithHoldBtn"), QStringLiteral("With-Held"), {}, true);
    addRecordEdit(sub, QStringLiteral("IncDate"), QStringLiteral("Date"), 80);
    addRecordEdit(sub, QStringLiteral("IncIncom"), QStringLiteral("Incom"), 130);
    addRecordEdit(sub, QStringLiteral("IncSourc"), QStringLiteral("Sourc"), 130);
    addButton(sub, QStringLiteral("ListIncBtn"), QStringLiteral("List"),
              QStringLiteral("Listing of Codes and Categories."));
    addButton(sub, QStringLiteral("IncNoteSrchBtn"), QStringLiteral("Search"),
              QStringLiteral("Search all Record Notes for some text."));
    addButton(sub, QStringLiteral("IncNextNoteBtn"), QStringLiteral("Next"),
              QStringLiteral("NEXT button, search for next record containing same text."));
    addButton(footerTools(), QStringLiteral("TaxnBtn2"), QStringLiteral("Taxation"), {}, true);
    footerTools()->addStretch(1);
}

void IncomePage::startUp()
{
    m_apply->setText(main().settings().value(QStringLiteral("ApplyRate")));
    RecordPage::startUp();
}

IncomePage *createIncomePage(MainAccess &main)
{
    return new IncomePage(main);
}

} // namespace Brelvan
