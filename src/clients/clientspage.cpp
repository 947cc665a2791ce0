#include "clients/clientspage.h"

#include "clients/clientspagespec.h"
#include "data/ui/mainaccess.h"
#include "platform/desktop/dialogs.h"
#include "platform/table/dataset.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/hint.h"
#include "platform/widgets/shapebutton.h"
#include "data/appsettings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace Brelvan {

ClientsPage::ClientsPage(MainAccess &main) : RecordPage(main, clientsPageSpec())
{
    buildStrips();
}

void ClientsPage::buildStrips()
{
    QHBoxLayout *h = headTools();
    addButton(h, QStringLiteral("LocateAsurname"), QStringLiteral("Locate"),
              QStringLiteral("Locate Surname."));
    addButton(h, QStringLiteral("ChekBtn"), QStringLiteral("Dups"),
              QStringLiteral("Filter to hide records with duplicate Names and Company."));
    addButton(h, QStringLiteral("ToDiaryBtn"), QStringLiteral("Diary"),
              QStringLiteral("Send current client record information to current diary date."));
    addButton(h, QStringLiteral("SendBtn"), QStringLiteral("Income"),
              QStringLiteral("Send partial current client record Sales information to Income "
                             "database.  Then check & EDIT the new entry."));
    addButton(h, QStringLiteral("RepeatNameBtn"), QStringLiteral("Repeat"),
              QStringLiteral("Replicate current record for next day - then EDIT new record as "
                             "required."));
    addButton(h, QStringLiteral("CalcBtn"), QStringLiteral("Calc"),
              QStringLiteral("Calculate Pay = Client Hrs or Days * Configuration Form Rate."));

    QHBoxLayout *sub = subHeadTools();
    addButton(sub, QStringLiteral("NamesNoteSrchBtn"), QStringLiteral("Search"),
              QStringLiteral("Search all Client Notes for some text."));
    addButton(sub, QStringLiteral("NamesNextNoteBtn"), QStringLiteral("Next"),
              QStringLiteral("NEXT button, search for next record containing text."));
    addButton(sub, QStringLiteral("EmailBtn"), QStringLiteral("Email"),
              QStringLiteral("Send Email to current Client"));
    addButton(sub, QStringLiteral("ListNamesBtn"), QStringLiteral("List"),
              QStringLiteral("Listing of Codes and Categories."));
    addButton(sub, QStringLiteral("NamesCopyNotesBtn"), QStringLiteral("Copy"),
              QStringLiteral("Copy all Contact Information and Notes to Clipboard"));
    addButton(sub, QStringLiteral("IEbtn"), QStringLiteral("Web"),
              QStringLiteral("Open Client's Web in Browser."));
    for (const char *name :
         {"RptPicker", "OtherRptCombo", "OtherCombo", "HomeRptCombo", "WorkRptCombo"}) {
        auto *c = new QComboBox;
        c->setObjectName(QString::fromLatin1(name));
        c->setMinimumWidth(90);
        sub->addWidget(c);
    }

    // the current client's names above the notes, and the picture box below them
    QVBoxLayout *side = sideLayout();
    int at = 0;
    for (const char *field : {"FirstName", "Surname", "Company"}) {
        auto *e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(field) + QStringLiteral("Text"));
        e->setReadOnly(true);
        auto load = [this, e, f = QString::fromLatin1(field)] {
            Table::Dataset &ds = dataset();
            if (ds.controlsDisabled())
                return;
            e->setText(ds.isOpen() && !ds.isEmpty() ? ds.text(f) : QString());
        };
        connect(&dataset(), &Table::Dataset::currentChanged, e, load);
        connect(&dataset(), &Table::Dataset::rowChanged, e, load);
        connect(&dataset(), &Table::Dataset::opened, e, load);
        connect(&dataset(), &Table::Dataset::controlsEnabled, e, load);
        side->insertWidget(at++, e);
    }
    auto *pix = new QLabel;
    pix->setObjectName(QStringLiteral("Pix"));
    pix->setMinimumHeight(120);
    pix->setAlignment(Qt::AlignCenter);
    pix->setFrameShape(QFrame::StyledPanel);
    side->addWidget(pix);
}

void ClientsPage::showAllClients()
{
    setChooserItem(0);
    applySelection();
    const QString id = main().settings().value(QStringLiteral("EntryStr"));
    try {
        dataset().locate(QStringLiteral("ID"), id);
    } catch (const std::exception &) {
        dialogs().information(QStringLiteral("Cant locate ") + id
                              + QStringLiteral(" - Refresh or Re-Query?"));
    }
}

void ClientsPage::showAllForReverse()
{
    showAllClients();
}

void ClientsPage::startUp()
{
    showAllClients();
}

ClientsPage *createClientsPage(MainAccess &main)
{
    return new ClientsPage(main);
}

} // namespace Brelvan
