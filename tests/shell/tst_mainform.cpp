#include "testing/fixture.h"

#include "data/datasession.h"
#include "data/formats.h"
#include "data/schema.h"
#include "platform/settings/inifile.h"
#include "platform/table/database.h"
#include "platform/table/engineerror.h"
#include "office/officepage.h"
#include "shell/tmainform.h"

#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTreeView>
#include <QCheckBox>
#include <QComboBox>
#include <QAbstractButton>
#include <QStandardItemModel>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <cmath>

using namespace Brelvan;
using Brelvan::Testing::Fixture;

namespace {

class Thrower : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw Table::EngineError(QStringLiteral("boom"));
        return QObject::event(e);
    }
};

QString fileText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

private slots:
    void pagesAndMenu()
    {
        Fixture f;
        f.start();
        auto *pages = f.mainForm()->findChild<QTabWidget *>("PageControl");
        QVERIFY(pages);
        const QStringList want = {"Diary", "Clients", "Paint", "Quotes", "Jobs", "Expenses",
                                  "Income", "Inventory", "Wages", "Office"};
        QStringList tabs;
        for (int i = 0; i < pages->count(); ++i)
            tabs << pages->tabText(i);
        QCOMPARE(tabs, want);
        QCOMPARE(pages->widget(9)->objectName(), QStringLiteral("TabOffice"));
        QCOMPARE(pages->currentIndex(), 0);
        QVERIFY(f.form()->menuAction("Local Data")->isChecked());
        QVERIFY(!f.form()->menuAction("Remote (LAN) Data")->isChecked());
        QVERIFY(f.form()->menuAction("Data Folder")->isEnabled());
        QVERIFY(f.dialogs().shown().isEmpty());
        QVERIFY(f.form()->windowTitle().startsWith(QLatin1String("Brelvan - ")));
    }

    void missingIniGivesDefaultsAndIsWrittenAtClose()
    {
        Fixture f;
        QFile::remove(f.programFolder() + "brelvan.INI");
        f.writeUserValue("NameStr", "Pat Painter");
        // without DataStr the tables are looked for in the program folder itself
        f.dialogs().answer(false);
        f.start();
        QCOMPARE(f.dialogs().shown(), QStringList({"Sorry, Nobody Home", "Do you wish to Quit ?"}));
        QCOMPARE(f.form()->settings().value("E3"), QStringLiteral("60%"));
        QCOMPARE(f.form()->settings().value("VAT"), QStringLiteral("VatStr"));
        QCOMPARE(f.form()->officePage()->text("Co"), QStringLiteral("Your Company"));
        QCOMPARE(f.form()->windowTitle(), QStringLiteral("Brelvan - Pat Painter"));
        f.close();
        IniFile ini(f.programFolder() + "brelvan.INI");
        QVERIFY(ini.exists());
        QCOMPARE(ini.readString("Font", "CompanyFont"), QStringLiteral("Arial"));
        QCOMPARE(ini.readString("Detail", "ApplyRate"), QStringLiteral("10"));
        QCOMPARE(ini.readString("Detail", "TIN/ABN#"), QStringLiteral("TIN"));
    }

    void emptyDataStrOpensTheProgramFolder()
    {
        Fixture f(Fixture::NoDataFolder);
        Table::Database::createFolder(f.programFolder(), brelvanSchema());
        f.start();
        QVERIFY(f.dialogs().shown().isEmpty());
        QVERIFY(f.form()->session().dataset("Names")->isOpen());
    }

    void folderMissingATableIsRefused()
    {
        Fixture f(Fixture::EmptyTables);
        {
            auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
            db->exec("DROP TABLE \"Paint\"");
        }
        f.dialogs().answer(false); // stay
        f.start();
        QCOMPARE(f.dialogs().shown(), QStringList({"Sorry, Nobody Home", "Do you wish to Quit ?"}));
        QVERIFY(f.running());
        f.close();
        // nothing was created
        QVERIFY(!Table::Database::checkFolder(f.dataFolder(), brelvanSchema()).isEmpty());
        QVERIFY(fileText(f.programFolder() + "brelvan.Log").contains("Table Paint is missing"));
    }

    void quittingAfterAFailedOpenEndsTheProgram()
    {
        Fixture f(Fixture::NoDataFolder);
        f.dialogs().answer(true);
        f.start();
        QVERIFY(!f.running());
    }

    void password_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("running");
        QTest::newRow("none set") << "" << QStringList() << QStringList() << true;
        QTest::newRow("empty refused, then right")
            << "Secret" << QStringList({"", "secret", "Secret"})
            << QStringList({"You MUST enter the correct PASSWORD.",
                            "You MUST enter the correct PASSWORD."})
            << true;
        QTest::newRow("cancel") << "Secret" << QStringList({"<cancel>"})
                                << QStringList({"Login Failed"}) << false;
    }
    void password()
    {
        QFETCH(QString, password);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, messages);
        QFETCH(bool, running);
        Fixture f;
        f.writeUserValue("EntryStr", password);
        bool prompted = false;
        QTimer driver;
        QStringList queue = typed;
        connect(&driver, &QTimer::timeout, [&] {
            QWidget *w = QApplication::activeModalWidget();
            if (!w || w->objectName() != QLatin1String("TPasswordDlg") || queue.isEmpty())
                return;
            prompted = true;
            const QString t = queue.takeFirst();
            if (t == QLatin1String("<cancel>")) {
                w->findChild<QPushButton *>("CancelBtn")->click();
                return;
            }
            w->findChild<QLineEdit *>("PasswordInfo")->setText(t);
            w->findChild<QPushButton *>("OKBtn")->click();
        });
        driver.start(10);
        f.start();
        driver.stop();
        QCOMPARE(prompted, !password.isEmpty());
        QCOMPARE(f.dialogs().shown(), messages);
        QCOMPARE(f.running(), running);
    }

    void automaticNumbers()
    {
        Fixture f(Fixture::EmptyTables);
        f.start();
        Table::Dataset *names = f.form()->session().dataset("Names");
        names->append();
        names->setValue("Surname", "First");
        names->post();
        QCOMPARE(names->value("Ref").toInt(), 1);
        Table::Dataset *quote = f.form()->session().dataset("Quote");
        quote->append();
        quote->setValue("QuoteNo", 50); // typed: kept, counter stays
        quote->setValue("Surname", "Typed");
        quote->post();
        quote->append();
        quote->setValue("Surname", "Auto");
        quote->post();
        QCOMPARE(quote->value("QuoteNo").toInt(), 1);
        Table::Dataset *income = f.form()->session().dataset("Income");
        for (const char *s : {"A", "B"}) {
            income->append();
            income->setValue("Sourc", s);
            income->post();
        }
        QCOMPARE(income->number("InvoiceNo"), 2.0);
        Table::Dataset *expend = f.form()->session().dataset("Expend");
        for (int i = 0; i < 2; ++i) {
            expend->append();
            expend->setValue("Date", QDate(2026, 1, 1));
            expend->setValue("Supplier", "Same");
            if (i == 0)
                expend->post();
        }
        QVERIFY_THROWS_EXCEPTION(Table::EngineError, expend->post());
    }

    void countersStartFromTheHighestInUse()
    {
        Fixture f;
        f.start();
        Table::Dataset *names = f.form()->session().dataset("Names");
        const double highest = f.form()->session().nextRef();
        QVERIFY(highest > 0);
        names->append();
        names->setValue("Surname", "Newcomer");
        names->post();
        QCOMPARE(names->value("Ref").toDouble(), highest + 1);
    }

    void closingPostsEditsAndTypedInserts()
    {
        Fixture f(Fixture::EmptyTables);
        f.start();
        Table::Dataset &diary = f.form()->session().diary();
        diary.append();
        diary.setValue("DATE", QDate(2026, 3, 1));
        diary.setValue("Day", "posted by hand");
        diary.post();
        diary.edit();
        diary.setValue("Day", "edited, posted at close");
        Table::Dataset *names = f.form()->session().dataset("Names");
        names->append();
        names->setValue("Surname", "Half typed");
        f.close();
        auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
        Table::Dataset check("check");
        check.setDatabase(db.get());
        check.setSql({"SELECT * FROM Diary"});
        check.open();
        QCOMPARE(check.text("Day"), QStringLiteral("edited, posted at close"));
        check.close();
        // a new record with something typed in it is saved too, not dropped
        check.setSql({"SELECT * FROM Names"});
        check.open();
        QCOMPARE(check.recordCount(), 1);
        QCOMPARE(check.text("Surname"), QStringLiteral("Half typed"));
    }

    void resizeScalesColumns_data()
    {
        // window widths in turn from 1000 pixels, with column 1 set to 72 there
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("column");
        QList<int> drag;
        for (int w = 1001; w <= 1500; ++w)
            drag << w;
        QTest::newRow("wider") << QList<int>{1500} << 108;
        QTest::newRow("there and back") << QList<int>{1500, 1000} << 72;
        QTest::newRow("dragged in one-pixel steps") << drag << 108;
        QTest::newRow("narrow then wide") << QList<int>{999, 1003, 1500} << 108;
    }
    void resizeScalesColumns()
    {
        QFETCH(QList<int>, widths);
        QFETCH(int, column);
        Fixture f;
        f.start();
        auto *grid = f.mainForm()->findChild<QTableView *>("ExpendGrid");
        QVERIFY(grid);
        QLineEdit *abn = f.form()->officePage()->edit("ABN");
        const int abnShown = abn->width();
        const int shown = f.form()->width();
        f.form()->resize(1000, 700);
        QCoreApplication::processEvents();
        grid->horizontalHeader()->resizeSection(1, 72);
        for (int w : widths) {
            f.form()->resize(w, 700);
            QCoreApplication::processEvents();
        }
        QCOMPARE(grid->horizontalHeader()->sectionSize(1), column);
        QCOMPARE(abn->width(), int(std::lround(double(abnShown) * widths.last() / shown)));
        // a new selection keeps the widths
        auto *sel = f.mainForm()->findChild<QComboBox *>("ExpendSel");
        sel->setCurrentIndex(1);
        emit sel->activated(1);
        QCOMPARE(grid->horizontalHeader()->sectionSize(1), column);
    }

    void exceptionsAreLoggedAndShown()
    {
        Fixture f(Fixture::EmptyTables);
        f.setNow(QDateTime(QDate(2004, 3, 3), QTime(14, 5, 9)));
        f.start();
        Thrower t;
        QCoreApplication::postEvent(&t, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(f.dialogs().shown(), QStringList({"boom"}));
        QVERIFY(fileText(f.programFolder() + "brelvan.Log").contains("03/03/2004 14:05:09:boom\r\n"));
    }

    void dateFormatSettingIsApplied_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("shown");
        QTest::newRow("day first") << "dd/mm/yyyy" << "03/04/2026";
        QTest::newRow("month first") << "mm/dd/yyyy" << "04/03/2026";
        QTest::newRow("year first counts as day first") << "yyyy-mm-dd" << "03/04/2026";
    }
    void dateFormatSettingIsApplied()
    {
        QFETCH(QString, setting);
        QFETCH(QString, shown);
        Fixture f(Fixture::EmptyTables);
        f.writeIni("Detail", "DateFormat", setting);
        f.start();
        QCoreApplication::sendEvent(f.form(), new QEvent(QEvent::ActivationChange));
        QCOMPARE(shortDate(QDate(2026, 4, 3)), shown);
        setShortDateFormat("dd/MM/yyyy");
    }

    void changePassword()
    {
        Fixture f(Fixture::EmptyTables);
        f.start();
        f.dialogs().answer("");          // current (none)
        f.dialogs().answer("new one");
        f.dialogs().answer("new one");
        f.form()->menuAction("Change")->trigger();
        QCOMPARE(f.form()->settings().value("EntryStr"), QStringLiteral("new one"));
        f.dialogs().answer("wrong");
        f.form()->menuAction("Change")->trigger();
        QVERIFY(f.dialogs().shown().contains("The Password given is incorrect"));
    }

    void remoteModeUnreachableThenLocal()
    {
        Fixture f;
        f.writeIni("Detail", "IPaddr", "127.0.0.1"); // nothing listens on 5432 here
        f.start();
        f.dialogs().answer(false); // do not quit
        QElapsedTimer t;
        t.start();
        f.form()->menuAction("Remote (LAN) Data")->trigger();
        QVERIFY(t.elapsed() < 8000);
        QCOMPARE(f.dialogs().shown(), QStringList({"Reminder :- LAN Server must be active !",
                                                   "Sorry, Nobody Home", "Do you wish to Quit ?"}));
        QVERIFY(f.running());
        QVERIFY(f.form()->menuAction("Remote (LAN) Data")->isChecked());
        QVERIFY(!f.form()->menuAction("Local Data")->isChecked());
        QVERIFY(!f.form()->menuAction("Data Folder")->isEnabled());
        QCOMPARE(f.form()->session().mode(), DataSession::Mode::Remote);
        f.dialogs().clearShown();
        f.form()->menuAction("Local Data")->trigger();
        QVERIFY(f.dialogs().shown().isEmpty());
        QVERIFY(f.form()->menuAction("Data Folder")->isEnabled());
        QVERIFY(f.form()->session().dataset("Expend")->isOpen());
    }

    void reopeningSavesARecordBeingEdited()
    {
        Fixture f(Fixture::EmptyTables);
        f.start();
        Table::Dataset *names = f.form()->session().dataset("Names");
        names->append();
        names->setValue("Surname", "Kept");
        names->post();
        names->edit();
        names->setValue("Surname", "Kept after the switch");
        f.form()->menuAction("Local Data")->trigger();
        names->locate("Surname", "Kept after the switch");
        QCOMPARE(names->text("Surname"), QStringLiteral("Kept after the switch"));
    }

    void remoteAddressIsAskedFor()
    {
        Fixture f;
        f.start();
        f.dialogs().answer(true);          // change it
        f.dialogs().answer("127.0.0.1");   // the new address
        f.dialogs().answer(false);         // do not quit when it cannot be reached
        f.form()->menuAction("Remote IP Address")->trigger();
        const QStringList shown = f.dialogs().shown();
        QVERIFY2(shown.value(0).startsWith("Current IP Address For Remote (LAN Server) Data is  192.168.1.10\r\n\r\nReminder"),
                 qPrintable(shown.value(0)));
        QCOMPARE(shown.mid(1, 2), QStringList({"Do you wish to change this IP Address ?",
                                               "Input New Server IP Address"}));
        QCOMPARE(f.form()->settings().value("IPaddr"), QStringLiteral("127.0.0.1"));
        QCOMPARE(f.form()->session().mode(), DataSession::Mode::Remote);
    }

    void remoteAddressCancelChangesNothing()
    {
        Fixture f;
        f.start();
        f.dialogs().answer(true);  // change it
        f.dialogs().answerCancel(); // then Cancel on the address box
        f.form()->menuAction("Remote IP Address")->trigger();
        QCOMPARE(f.form()->settings().value("IPaddr"), QStringLiteral("192.168.1.10"));
        QCOMPARE(f.form()->session().mode(), DataSession::Mode::Local);
        QVERIFY(f.form()->menuAction("Local Data")->isChecked());
        QVERIFY(f.form()->session().dataset("Expend")->isOpen());
    }

    // The folder chosen is the folder opened, and the one opened after a restart: one
    // elsewhere by its full path, one below the program folder by its relative name.
    void dataFolderChooserOpensTheChosenFolder_data()
    {
        QTest::addColumn<bool>("elsewhere");
        QTest::newRow("a folder on a stick") << true;
        QTest::newRow("a folder below the program folder") << false;
    }
    void dataFolderChooserOpensTheChosenFolder()
    {
        QFETCH(bool, elsewhere);
        QTemporaryDir stick;
        Fixture f;
        const QString folder = elsewhere ? stick.filePath("Backup1")
                                         : f.programFolder() + "Data/Backup1";
        QVERIFY(QDir().mkpath(folder));
        Table::Database::createFolder(folder, brelvanSchema());
        f.start();
        QTimer driver;
        connect(&driver, &QTimer::timeout, [&] {
            auto *form = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!form || form->objectName() != QLatin1String("TDirectForm"))
                return;
            driver.stop();
            auto *tree = form->findChild<QTreeView *>("ShellTreeView");
            auto *model = qobject_cast<QFileSystemModel *>(tree->model());
            tree->setCurrentIndex(model->index(folder));
            form->findChild<QAbstractButton *>("CloseBtn")->click();
        });
        driver.start(20);
        f.form()->menuAction("Data Folder")->trigger();
        QVERIFY2(f.dialogs().shown().isEmpty(), qPrintable(f.dialogs().shown().join("|")));
        const QString stored = elsewhere ? folder : QStringLiteral("Data/Backup1");
        QCOMPARE(f.form()->settings().value("DataStr"), stored);
        QCOMPARE(QDir::cleanPath(f.form()->session().dataFolder()), QDir::cleanPath(folder));
        QVERIFY(f.form()->session().dataset("Names")->isOpen());
        f.close();
        QCOMPARE(IniFile(f.programFolder() + "brelvan.INI").readString("Detail", "DataStr"),
                 stored);
        // the next start opens it again
        Fixture again(Fixture::NoDataFolder, f.programFolder());
        again.start();
        QVERIFY2(again.dialogs().shown().isEmpty(), qPrintable(again.dialogs().shown().join("|")));
        QCOMPARE(QDir::cleanPath(again.form()->session().dataFolder()), QDir::cleanPath(folder));
        QVERIFY(again.form()->session().dataset("Names")->isOpen());
    }

    void pagesGiveTheirFocusOnShow_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("focused");
        QTest::newRow("Office") << int(Page::Office) << "OwnerName";
        QTest::newRow("Clients") << int(Page::Clients) << "NamesGrid";
        QTest::newRow("Paint") << int(Page::Paint) << "PaintGrid";
        QTest::newRow("Inventory") << int(Page::Inventory) << "InventGrid";
    }
    void pagesGiveTheirFocusOnShow()
    {
        QFETCH(int, page);
        QFETCH(QString, focused);
        Fixture f;
        f.start();
        QApplication::setActiveWindow(f.mainForm());
        f.form()->goToPage(Page(page));
        auto focusIsOn = [&focused] {
            QWidget *w = QApplication::focusWidget();
            while (w && w->objectName() != focused)
                w = w->parentWidget();
            return w != nullptr;
        };
        QTRY_VERIFY(focusIsOn());
    }

    // Until their own work builds them, tools and chooser items that would do nothing are
    // not offered.
    void unbuiltToolsAreNotOffered()
    {
        Fixture f;
        f.start();
        for (const char *tool : {"LocateAsurname", "ChekBtn", "ToDiaryBtn", "SendBtn",
                                 "RepeatNameBtn", "CalcBtn", "NamesNoteSrchBtn", "EmailBtn",
                                 "TotExpBtn", "TotIncBtn"}) {
            auto *b = f.mainForm()->findChild<QAbstractButton *>(tool);
            QVERIFY2(b, tool);
            QVERIFY2(!b->isEnabled(), tool);
        }
        for (const char *tool : {"TagExpendBtn", "ClrExpendTagsBtn", "SwapExpBtn"})
            QVERIFY2(f.mainForm()->findChild<QAbstractButton *>(tool)->isEnabled(), tool);
        auto *wages = f.mainForm()->findChild<QComboBox *>("WagesSel");
        auto *model = qobject_cast<QStandardItemModel *>(wages->model());
        const int surname = wages->findText("Surname");
        QVERIFY(surname > 1);
        QVERIFY(!model->item(surname)->isEnabled());
        QVERIFY(model->item(0)->isEnabled() && model->item(1)->isEnabled());
    }

    // With the Toggle ticked by a selection, choosing "All" shows every record in the order
    // the sort chooser shows.
    void allKeepsTheSortOrder()
    {
        Fixture f;
        f.start();
        f.form()->goToPage(Page::Expenses);
        auto *combo = f.mainForm()->findChild<QComboBox *>("ExpendCombo");
        int supplierFirst = -1;
        for (int i = 0; i < combo->count(); ++i) {
            if (combo->itemData(i).toString().startsWith("Supplier"))
                supplierFirst = i;
        }
        QVERIFY(supplierFirst >= 0);
        combo->setCurrentIndex(supplierFirst);
        emit combo->activated(supplierFirst);
        auto *sel = f.mainForm()->findChild<QComboBox *>("ExpendSel");
        sel->setCurrentIndex(1);
        emit sel->activated(1); // Tag
        QVERIFY(f.mainForm()->findChild<QCheckBox *>("ExpendToggle")->isChecked());
        sel->setCurrentIndex(0);
        emit sel->activated(0); // All
        Table::Dataset *ds = f.form()->session().dataset("Expend");
        QStringList suppliers;
        for (ds->first(); !ds->eof(); ds->next())
            suppliers << ds->text("Supplier");
        QVERIFY(suppliers.size() > 10);
        QStringList sorted = suppliers;
        std::stable_sort(sorted.begin(), sorted.end());
        QCOMPARE(suppliers, sorted);
    }

    void updaterMissingKeepsTheProgramOpen()
    {
        Fixture f(Fixture::EmptyTables);
        f.start();
        f.form()->menuAction("UpDater")->trigger();
        QCOMPARE(f.dialogs().shown().size(), 1);
        QVERIFY(f.dialogs().shown().first().contains("UpDater"));
        QVERIFY(f.form()->isVisible());
    }
};

BRELVAN_TEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
