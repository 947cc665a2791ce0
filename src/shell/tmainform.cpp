#include "shell/tmainform.h"

#include "books/expensespage.h"
#include "books/incomepage.h"
#include "calc/loansmenu.h"
#include "clients/clientspage.h"
#include "data/formats.h"
#include "diary/diarypage.h"
#include "inventory/inventorypage.h"
#include "payroll/wagespage.h"
#include "platform/desktop/clock.h"
#include "platform/desktop/dialogs.h"
#include "platform/desktop/shell.h"
#include "platform/settings/colortext.h"
#include "platform/settings/inifile.h"
#include "platform/settings/userstore.h"
#include "platform/table/database.h"
#include "platform/table/engineerror.h"
#include "platform/table/networkfolder.h"
#include "office/officepage.h"
#include "shell/application.h"
#include "shell/exceptionlog.h"
#include "shell/tdirectform.h"
#include "shell/tpassworddlg.h"
#include "trade/jobspage.h"
#include "trade/paintpage.h"
#include "trade/quotespage.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

#include <cmath>

namespace Brelvan {

namespace {

// Each page's tab: its object name and caption, in the order of Page.
const char *const pageNames[pageCount][2] = {
    {"TabDiary", "Diary"},   {"TabClients", "Clients"},   {"TabPaint", "Paint"},
    {"TabQuotes", "Quotes"}, {"TabJobs", "Jobs"},         {"TabExpenses", "Expenses"},
    {"TabIncome", "Income"}, {"TabInventory", "Inventory"}, {"TabWages", "Wages"},
    {"TabOffice", "Office"},
};

const char *const scaledGrids[] = {"NamesGrid",  "PaintGrid",  "QuoteGrid",
                                   "JobsGrid",   "JobsGrid2",  "ExpendGrid",
                                   "IncomeGrid", "InventGrid", "WagesGrid"};

const QString remoteReminder = QStringLiteral("Reminder :- LAN Server must be active !");


} // namespace

TMainForm::TMainForm(const AppValues &values, QWidget *parent)
    : QMainWindow(parent), m_values(values)
{
    setObjectName(QStringLiteral("TMainForm"));
    m_settings.setLettersFolder(m_values.lettersFolder);
    buildPages();
    buildMenu();
    installPages();
    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(status);
    resize(1024, 768);
}

TMainForm::~TMainForm()
{
    // destruction: the per-user values from the Office boxes and the held values
    boxesToSettings();
    const QString failure = m_settings.writeUserStore(userStore());
    if (!failure.isEmpty())
        dialogs().error(failure, m_settings.failureDetail());
    m_session.closeAll();
}

void TMainForm::buildPages()
{
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl"));
    m_pages->setDocumentMode(true);
    m_pages->tabBar()->setStyleSheet(QStringLiteral(
        "QTabBar::tab { min-width: 70px; height: 20px; font-family: Georgia; font-weight: bold;"
        " padding: 0 6px; border: 1px solid #808080; border-radius: 3px; margin: 2px;"
        " background: #d8d8d8; }"
        "QTabBar::tab:selected { background: #ffffff; }"
        "QTabBar::tab:hover { background: #f0f0a0; }"));
    for (const auto &names : pageNames) {
        auto *page = new QWidget;
        page->setObjectName(QString::fromLatin1(names[0]));
        m_pages->addTab(page, QString::fromLatin1(names[1]));
    }
    setCentralWidget(m_pages);
}

void TMainForm::installPages()
{
    // one line per page class: createXxxPage(*this);
    DiaryPage *diary = createDiaryPage(*this);
    setDiaryAppender([diary](const QString &lines) { diary->appendToDay(lines); });
    createClientsPage(*this);
    createExpensesPage(*this);
    createIncomePage(*this);
    createPaintPage(*this);
    createQuotesPage(*this);
    createJobsPage(*this);
    createInventoryPage(*this);
    createWagesPage(*this);
    m_office = createOfficePage(*this);
}

QWidget *TMainForm::tab(Page page) const
{
    return m_pages->widget(int(page));
}

void TMainForm::setPageVisible(Page page, bool visible)
{
    m_pages->setTabVisible(int(page), visible);
}

void TMainForm::buildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto add = [this](QMenu *menu, const char *caption, auto handler) {
        QAction *a = menu->addAction(QString::fromLatin1(caption));
        if constexpr (std::is_same_v<decltype(handler), std::nullptr_t>)
            a->setEnabled(false); // comes with the subsystem that owns it
        else
            connect(a, &QAction::triggered, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
        return a;
    };
    auto later = nullptr;

    QMenu *file = bar->addMenu(QStringLiteral("File"));
    add(file, "Backup Folders", later);
    add(file, "Save", later);
    QAction *exit = file->addAction(QStringLiteral("Exit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    add(file, "UpDater", &TMainForm::upDater);

    QAction *calc = bar->addAction(QStringLiteral("Calculator"));
    connect(calc, &QAction::triggered, this, [this] { guarded([&] { calculator(); }); });
    // served by the Diary page, which enables it
    m_calendarAction = bar->addAction(QStringLiteral("Calendar"));
    m_calendarAction->setEnabled(false);

    QMenu *config = bar->addMenu(QStringLiteral("Configure"));
    add(config, "Colors", later);
    m_folderAction = add(config, "Data Folder", &TMainForm::dataFolder);
    add(config, "Program", later);
    config->addSeparator();
    add(config, "Remote IP Address", &TMainForm::remoteAddress);
    m_localAction = add(config, "Local Data", &TMainForm::localData);
    m_remoteAction = add(config, "Remote (LAN) Data", &TMainForm::remoteData);
    m_localAction->setCheckable(true);
    m_remoteAction->setCheckable(true);
    m_localAction->setChecked(true);
    config->addSeparator();
    add(config, "Modify Records", later);
    add(config, "UpDate", &TMainForm::upDate);

    QMenu *demo = bar->addMenu(QStringLiteral("Demo"));
    for (const char *c : {"Client Filtering", "Expense Filtering", "Record Entry",
                          "Period Dissection", "Quoting"})
        add(demo, c, later);
    QMenu *filter = bar->addMenu(QStringLiteral("Filter"));
    for (const char *c : {"Clients Dual Field Filtering", "Expenses Dual Field Filtering",
                          "Income Dual Field Filtering", "Inventory Dual Field Filtering",
                          "Wages Dual Field Filtering"})
        add(filter, c, later);
    QMenu *help = bar->addMenu(QStringLiteral("Help"));
    for (const char *c : {"Beginners", "Business Activity Statement - BAS", "Business Cards",
                          "Colors / Display", "Configuration", "Editing", "Filtering", "Grids",
                          "Hints", "LAN Server", "Loans / Formulas", "Logo", "Prepare a Quote",
                          "Printing", "Client Tab", "Diary Tab", "Expenses Tab", "Income Tab",
                          "Inventory Tab", "Jobs Tab", "Office Tab", "Paint Page", "Quotes Tab",
                          "Wages Tab", "Grouped Reports", "Invoices, Receipts"})
        add(help, c, later);
    QMenu *loans = bar->addMenu(QStringLiteral("Loans"));
    for (const LoansCommand &c : loansCommands()) {
        QAction *a = loans->addAction(QString::fromLatin1(c.caption));
        connect(a, &QAction::triggered, this,
                [this, open = c.open] { guarded([&] { open(*this); }); });
    }
    QMenu *manuals = bar->addMenu(QStringLiteral("Manuals"));
    for (const char *c : {"Administration", "Columns", "Deployment", "Examples", "Fields",
                          "Manual", "BAS"})
        add(manuals, c, later);
    QMenu *password = bar->addMenu(QStringLiteral("Password"));
    add(password, "Change", &TMainForm::changePassword);
    QAction *tools = bar->addAction(QStringLiteral("Tools"));
    tools->setEnabled(false);
    QAction *aboutAction = bar->addAction(QStringLiteral("About"));
    connect(aboutAction, &QAction::triggered, this, [this] { about(); });
    QAction *email = bar->addAction(QStringLiteral("Email"));
    email->setVisible(false);
}

QAction *TMainForm::menuAction(const QString &caption) const
{
    // the top-level commands, then the commands of each menu
    for (QAction *a : menuBar()->actions()) {
        if (a->text() == caption)
            return a;
        if (QMenu *menu = a->menu()) {
            for (QAction *b : menu->actions()) {
                if (b->text() == caption)
                    return b;
            }
        }
    }
    return nullptr;
}

bool TMainForm::create()
{
    startInLocalMode();
    readIniFile();
    setDefaultDateFormat();
    readUserStore();
    applyColours();
    settingsToBoxes();
    setCaption();
    if (!askStartUpPassword()) {
        terminate();
        return false;
    }
    openDataSession();
    return !m_terminated;
}

void TMainForm::startInLocalMode()
{
    m_session.setMode(DataSession::Mode::Local);
    ExceptionLog::setFile(m_values.logFile);
}

void TMainForm::readIniFile()
{
    // the Font section, then Detail
    const auto ini = openIniFile(m_values.settingsFile);
    const QString failure = m_settings.readIni(*ini);
    if (!failure.isEmpty())
        dialogs().error(failure, m_settings.failureDetail());
}

void TMainForm::setDefaultDateFormat()
{
    setShortDateFormat(QStringLiteral("dd/MM/yyyy"));
}

void TMainForm::readUserStore()
{
    const QString failure = m_settings.readUserStore(userStore());
    if (!failure.isEmpty())
        dialogs().error(failure, m_settings.failureDetail());
}

void TMainForm::setCaption()
{
    setWindowTitle(QStringLiteral("Brelvan - ") + m_settings.value(QStringLiteral("NameStr")));
}

bool TMainForm::askStartUpPassword()
{
    const QString password = m_settings.value(QStringLiteral("EntryStr"));
    if (password.isEmpty())
        return true;
    TPasswordDlg dlg(password, m_settings.color(QStringLiteral("Grad2Str")), this);
    dlg.exec();
    return !dlg.loginFailed() && dlg.result() == QDialog::Accepted;
}

void TMainForm::postEditingDatasets()
{
    // each failure is logged and shown on its own, so one refused post keeps no other unsaved
    m_session.postEditing([](const std::exception &e) {
        ExceptionLog::report(QString::fromUtf8(e.what()));
    });
}

void TMainForm::applyColours()
{
    m_office->setColours(m_settings.color(QStringLiteral("Grad1Str")),
                         m_settings.color(QStringLiteral("Grad2Str")),
                         m_settings.color(QStringLiteral("Grad3Str")));
}

void TMainForm::settingsToBoxes()
{
    m_office->readSettings(m_settings);
}

void TMainForm::boxesToSettings()
{
    m_office->writeSettings(m_settings);
}

void TMainForm::openDataSession()
{
    // reopening closes every dataset: a record being edited is saved first, not dropped
    postEditingDatasets();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString tables;   // where the tables are, for the detail of a failure
    if (m_session.mode() == DataSession::Mode::Local) {
        const QString folder = m_values.dataFolderOf(m_settings.value(QStringLiteral("DataStr")));
        m_session.setDataFolder(folder);
        tables = QStringLiteral("Data file: ")
                 + QDir::toNativeSeparators(QDir(folder).filePath(
                     QLatin1String(Table::Database::FileName)));
        QString fs;
        if (Table::isNetworkFileSystem(folder, &fs)) {
            // SQLite's locks are not safe across a network file system
            QApplication::restoreOverrideCursor();
            dialogs().warning(QStringLiteral(
                "The data folder %1 is on a network file system (%2).\r\n\r\nOnly one copy "
                "of Brelvan may use it at a time. For several copies on a network use the LAN "
                "server: Configure, Remote (LAN) Data.").arg(folder, fs));
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    } else {
        const Table::ServerAddress server =
            serverAddressOf(m_settings.value(QStringLiteral("IPaddr")));
        m_session.setServer(server);
        tables = QStringLiteral("Server: %1:%2, database %3")
                     .arg(server.host).arg(server.port).arg(server.database);
    }
    const QString failure = m_session.open();
    QApplication::restoreOverrideCursor();
    if (!failure.isEmpty()) {
        QString detail = failure + QStringLiteral("\n\n") + tables;
        QString logError;
        if (!ExceptionLog::append(failure, &logError))
            detail += QStringLiteral("\n\n") + logError;
        statusBar()->showMessage(failure.section(QLatin1Char('\n'), 0, 0));
        dialogs().information(QStringLiteral("Sorry, Nobody Home"), detail);
        if (dialogs().confirm(QStringLiteral("Do you wish to Quit ?")))
            terminate();
    }
}

void TMainForm::terminate()
{
    m_terminated = true;
    m_closed = true; // ending this way runs no close sequence
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    if (isVisible())
        hide();
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    guarded([this] { onShown(); });
}

void TMainForm::onShown()
{
    // the width the resize rule scales from
    const int shownWidth = width();
    m_session.findCounters();
    m_office->setTaxLabel(m_settings.value(QStringLiteral("TIN/ABN#")));
    goToPage(Page::Diary);
    // each page brings itself to its full record set (and its last record) here
    emit m_events.shown();
    // every resize scales from the widths the pages have set up by now
    QList<QHeaderView *> headers;
    for (const char *name : scaledGrids) {
        if (auto *grid = findChild<QTableView *>(QString::fromLatin1(name)))
            headers << grid->horizontalHeader();
    }
    QList<QWidget *> boxes;
    for (const char *name : {"ABN", "Addr1", "Addr2", "Addr3", "Addr4", "Addr5", "Addr6"})
        boxes << m_office->edit(QString::fromLatin1(name));
    m_widthScaler.start(shownWidth, headers, boxes);
}

void TMainForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_shown && !m_closed)
        guarded([this] { onActivated(); });
}

void TMainForm::onActivated()
{
    emit m_events.activated();
    m_settings.normaliseDateFormat();
    setShortDateFormat(m_settings.qtDateFormat());
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    m_widthScaler.follow(event->size().width());
}

void TMainForm::writeIniAtClose()
{
    boxesToSettings();
    const auto ini = openIniFile(m_values.settingsFile);
    const QString failure = m_settings.writeIniAtClose(*ini);
    if (!failure.isEmpty())
        dialogs().error(failure, m_settings.failureDetail());
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        QMainWindow::closeEvent(event);
        return;
    }
    m_closed = true;
    guarded([this] { writeIniAtClose(); });
    postEditingDatasets();
    // the pages' part (the diary's source, the to-do list)
    emit m_events.closing();
    guarded([this] { m_session.flush(); });
    QMainWindow::closeEvent(event);
}

void TMainForm::goToPage(Page page)
{
    m_pages->setCurrentIndex(int(page));
}

QString TMainForm::ownerText(const QString &edit) const
{
    return m_office->text(edit);
}

FontChoice TMainForm::ownerFont(const QString &edit) const
{
    return m_office->fontOf(edit);
}

void TMainForm::appendToDiary(const QString &lines)
{
    // the Diary page owns the day's note and the calendar it is positioned by
    if (m_diaryAppender)
        m_diaryAppender(lines);
}

// --- menu commands ---------------------------------------------------------------------

void TMainForm::localData()
{
    m_localAction->setChecked(true);
    m_remoteAction->setChecked(false);
    m_session.setMode(DataSession::Mode::Local);
    openDataSession();
    m_folderAction->setEnabled(true);
    emit m_events.todayRequested();
}

void TMainForm::remoteData()
{
    dialogs().information(remoteReminder);
    m_remoteAction->setChecked(true);
    m_localAction->setChecked(false);
    m_session.setMode(DataSession::Mode::Remote);
    openDataSession();
    m_folderAction->setEnabled(false);
    emit m_events.todayRequested();
}

void TMainForm::remoteAddress()
{
    dialogs().information(QStringLiteral("Current IP Address For Remote (LAN Server) Data is  ")
                          + m_settings.value(QStringLiteral("IPaddr")) + QStringLiteral("\r\n\r\n")
                          + remoteReminder);
    if (!dialogs().confirm(QStringLiteral("Do you wish to change this IP Address ?")))
        return;
    const QString preset = AppSettings::iniDefault(QStringLiteral("IPaddr"));
    const auto answer = dialogs().input(
        QStringLiteral("Input New Server IP Address"),
        QStringLiteral("Address format  nnn.nnn.nnn.nnn   eg.  ") + preset, preset);
    // Cancel leaves the address and the data mode as they were
    if (!answer)
        return;
    m_settings.setValue(QStringLiteral("IPaddr"), answer->trimmed());
    remoteData();
}

void TMainForm::dataFolder()
{
    TDirectForm form(m_session.dataFolder(), m_settings.color(QStringLiteral("Grad1Str")),
                     m_settings.color(QStringLiteral("Grad2Str")),
                     m_settings.color(QStringLiteral("Grad3Str")), this);
    form.exec();
    // the folder chosen is the folder opened, wherever it is (a USB stick, say)
    const QString path = form.selectedPath();
    if (path.isEmpty())
        dialogs().error(QStringLiteral("Ensure Data Files Exist "));
    else
        m_settings.setValue(QStringLiteral("DataStr"), m_values.dataStrFor(path));
    openDataSession();
    goToPage(Page::Diary);
    emit m_events.todayRequested();
}

void TMainForm::changePassword()
{
    const QString current = dialogs()
                                .input(QStringLiteral("Enter Your Current Password"),
                                       QStringLiteral("Enter (CASE SENSITIVE) Password"), QString())
                                .value_or(QString());
    if (current != m_settings.value(QStringLiteral("EntryStr"))) {
        dialogs().information(QStringLiteral("The Password given is incorrect"));
        return;
    }
    const QString first = dialogs()
                              .input(QStringLiteral("Enter New (case sensitive) Password"),
                                     QStringLiteral("Enter New Password"), QString())
                              .value_or(QString());
    const QString second = dialogs()
                               .input(QStringLiteral("Confirm (case sensitive) New Password"),
                                      QStringLiteral("Re-Enter New Password"), QString())
                               .value_or(QString());
    if (first != second) {
        dialogs().information(QStringLiteral("The Password Was NOT changed "));
        return;
    }
    m_settings.setValue(QStringLiteral("EntryStr"), first);
    dialogs().information(QStringLiteral("The Password has been changed.\r\n\r\nA non-existant "
                                         "password stops the software startup prompt from "
                                         "appearing."));
}

void TMainForm::upDater()
{
    const QString updater = QDir::current().filePath(QStringLiteral("UpDater.Exe"));
    if (!QFileInfo::exists(updater)) {
        dialogs().information(QStringLiteral(
            "The UpDater program was not found.\r\n\r\nDownload UpDater.Exe from the Tamblow "
            "web site and place it in the program's folder, then choose UpDater again."));
        return;
    }
    if (!dialogs().confirm(QStringLiteral("Close and then use the UpGrader program (which opens "
                                          "now) to download the product update?")))
        return;
    if (!shell().run(updater)) {
        dialogs().error(QStringLiteral("The UpDater program could not be started."));
        return;
    }
    close();
}

void TMainForm::upDate()
{
    const QString updater = QDir::current().filePath(QStringLiteral("UpDater.exe"));
    if (!shell().run(updater)) {
        dialogs().error(QStringLiteral("The UpDater program could not be started."));
        return;
    }
    close();
}

void TMainForm::calculator()
{
    const QString program = findCalculator();
    if (program.isEmpty() || !shell().run(program))
        dialogs().information(QStringLiteral("No calculator program was found on this system."));
}

void TMainForm::about()
{
    dialogs().information(QStringLiteral(
        "Brelvan\r\n\r\nThe office of a one-person trade business: diary, clients, expenses and "
        "income with GST, wages, inventory, paint quotes and jobs, and a printout for nearly "
        "everything."));
}

} // namespace Brelvan
