#include "../recordpagetest.h"
#include "clients/clientspage.h"
#include "data/appsettings.h"
#include "platform/table/dataset.h"
#include "shell/tmainform.h"
#include "testing/fixture.h"

#include <QComboBox>
#include <QTest>

using namespace Brelvan;
using Brelvan::Testing::Fixture;
using Brelvan::Testing::PageUnderTest;

// What the Clients page adds to the shared record page.
class TestClientsPage : public QObject
{
    Q_OBJECT

private slots:
    void showAllClientsFindsTheEntryClient();
};

void TestClientsPage::showAllClientsFindsTheEntryClient()
{
    Fixture f;
    f.start();
    PageUnderTest p(f, "Clients");
    auto *clients = static_cast<ClientsPage *>(p.page);
    p.ds().moveTo(5);
    const QString id = p.ds().text("ID");
    f.form()->settings().setValue("EntryStr", id);
    p.page->setChooserItem("Tag");
    p.page->applySelection();
    clients->showAllClients();
    QCOMPARE(p.page->fieldChooser()->currentIndex(), 0);
    QCOMPARE(p.ds().sql(), (QStringList{"SELECT * FROM Names",
                                        "ORDER by Surname,FirstName,Company,EntryDate"}));
    QCOMPARE(p.ds().text("ID"), id);
    // no such client: the first record, and nothing said
    const int shown = f.dialogs().shown().size();
    f.form()->settings().setValue("EntryStr", "nobody");
    clients->showAllClients();
    QCOMPARE(p.ds().row(), 0);
    QCOMPARE(f.dialogs().shown().size(), shown);
}

BRELVAN_TEST_MAIN(TestClientsPage)
#include "tst_clientspage.moc"
