#include "testing/fixture.h"

#include "data/demodata.h"
#include "data/schema.h"
#include "platform/desktop/clock.h"
#include "platform/report/reportviewer.h"
#include "platform/settings/inifile.h"
#include "platform/settings/userstore.h"
#include "platform/table/database.h"
#include "shell/tmainform.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace Brelvan::Testing {

namespace {

class FixedClock final : public Clock
{
public:
    QDateTime now() const override { return m_now; }
    // time moves on as the program waits, and the event loop keeps running
    void wait(int ms) override
    {
        m_now = m_now.addMSecs(ms);
        QCoreApplication::processEvents();
    }
    QDateTime m_now = QDateTime(QDate(2026, 3, 15), QTime(9, 30));
};

class KeepingViewer final : public ReportViewer
{
public:
    void preview(const QString &formClass, const QString &title, const Document &doc) override
    {
        m_reports.append({formClass, title, doc.pageTexts()});
    }
    QList<RenderedReport> m_reports;
};

} // namespace

struct Fixture::Impl
{
    std::unique_ptr<QTemporaryDir> dir;   // none when the test gave the folder
    QString folder;
    FixedClock clock;
    KeepingViewer viewer;
    std::unique_ptr<UserStore> store;
    Kind kind;
    // what was in force before, put back at the end
    Dialogs *previousDialogs = nullptr;
    Clock *previousClock = nullptr;
    ReportViewer *previousViewer = nullptr;
    UserStore *previousStore = nullptr;
    QByteArray previousHome;
};

Fixture::Fixture(Kind kind) : Fixture(kind, QString())
{
}

Fixture::Fixture(Kind kind, const QString &folder) : d(std::make_unique<Impl>())
{
    d->kind = kind;
    if (folder.isEmpty()) {
        d->dir = std::make_unique<QTemporaryDir>();
        d->folder = d->dir->path();
    } else {
        d->folder = folder;
    }
    d->previousDialogs = &dialogs();
    d->previousClock = &clock();
    d->previousViewer = &reportViewer();
    d->previousStore = &userStore();
    d->previousHome = qgetenv("BRELVAN_HOME");
    // a question nobody answered fails the test where it was asked, instead of hanging
    m_dialogs.setUnansweredHandler([](const QString &question) {
        QTest::qFail(qPrintable(QStringLiteral("unanswered: ") + question), __FILE__, __LINE__);
    });
    d->store = std::make_unique<UserStore>(QDir(d->folder).filePath(QStringLiteral("user.conf")));
    use();
    if (kind == NoDataFolder)
        return;
    const QString data = dataFolder();
    if (QFileInfo::exists(QDir(data).filePath(QLatin1String(Table::Database::FileName))))
        return;   // a second copy over the first one's tables
    auto db = Table::Database::createFolder(data, brelvanSchema());
    if (kind == Demo) {
        fillDemoData(*db, d->clock.now().date());
        writeProgramFolderFiles(programFolder());
    }
    db.reset();
    writeIni(QStringLiteral("Detail"), QStringLiteral("DataStr"), QStringLiteral("Data"));
}

Fixture::~Fixture()
{
    if (m_form) {
        use();
        close();
    }
    installUserStore(d->previousStore);
    installDialogs(d->previousDialogs);
    installReportViewer(d->previousViewer);
    installClock(d->previousClock);
    if (d->previousHome.isEmpty())
        qunsetenv("BRELVAN_HOME");
    else
        qputenv("BRELVAN_HOME", d->previousHome);
}

void Fixture::use()
{
    installClock(&d->clock);
    installDialogs(&m_dialogs);
    installReportViewer(&d->viewer);
    installUserStore(d->store.get());
    qputenv("BRELVAN_HOME", QFile::encodeName(d->folder));
}

void Fixture::setNow(const QDateTime &now)
{
    d->clock.m_now = now;
}

void Fixture::writeIni(const QString &section, const QString &key, const QString &value)
{
    IniFile ini(programFolder() + QStringLiteral("brelvan.INI"));
    ini.writeString(section, key, value);
    ini.save();
}

void Fixture::writeUserValue(const QString &name, const QString &value)
{
    d->store->write(name, value);
    d->store->flush();
}

void Fixture::start()
{
    use();
    m_form = std::make_unique<TMainForm>(AppValues::forFolder(d->folder));
    if (!m_form->create())
        return;
    m_form->show();
    m_form->activateWindow();
    QApplication::setActiveWindow(m_form.get());
    QCoreApplication::processEvents();
}

QWidget *Fixture::mainForm() const
{
    return m_form.get();
}

bool Fixture::running() const
{
    return m_form && !m_form->terminated();
}

QString Fixture::programFolder() const
{
    return QDir(d->folder).absolutePath() + QLatin1Char('/');
}

QString Fixture::dataFolder() const
{
    return programFolder() + QStringLiteral("Data");
}

QList<RenderedReport> Fixture::reports() const
{
    return d->viewer.m_reports;
}

void Fixture::close()
{
    if (!m_form)
        return;
    use();
    m_form->close();
    QCoreApplication::processEvents();
    m_form.reset();
}

} // namespace Brelvan::Testing
