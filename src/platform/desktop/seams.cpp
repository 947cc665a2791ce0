#include "platform/desktop/clock.h"
#include "platform/desktop/dialogs.h"
#include "platform/desktop/shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <stdexcept>

namespace Brelvan {

namespace {

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    void wait(int ms) override
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
};

class SystemShell final : public Shell
{
public:
    bool open(const QString &target) override
    {
        const QUrl url = target.contains(QLatin1String("://"))
                                 || target.startsWith(QLatin1String("mailto:"))
                             ? QUrl(target)
                             : QUrl::fromLocalFile(target);
        return QDesktopServices::openUrl(url);
    }
    bool run(const QString &program, const QStringList &arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }
    bool mailFiles(const QStringList &files) override
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
        if (program.isEmpty() || files.isEmpty())
            return false;
        QStringList arguments;
        for (const QString &file : files)
            arguments << QStringLiteral("--attach") << QFileInfo(file).absoluteFilePath();
        return QProcess::startDetached(program, arguments);
    }
    bool copyFolder(const QString &source, const QString &destination) override
    {
        const QDir from(source);
        if (!from.exists() || !QDir().mkpath(destination))
            return false;
        QDirIterator it(source, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString target = destination + QLatin1Char('/') + from.relativeFilePath(path);
            const QFileInfo info(path);
            if (info.isDir()) {
                if (!QDir().mkpath(target))
                    return false;
            } else {
                QFile::remove(target);
                if (!QFile::copy(path, target))
                    return false;
            }
        }
        return true;
    }
};

// Used before the program installs its real dialogs: a modal question with nobody to
// answer it is a programming error, never a silent default.
class NoDialogs final : public Dialogs
{
public:
    void message(Kind, const QString &text, const QString &) override
    {
        qWarning("%s", qPrintable(text));
    }
    bool confirm(const QString &text, const QString &) override { fail(text); }
    std::optional<QString> input(const QString &caption, const QString &, const QString &) override
    {
        fail(caption);
    }
    QString openFile(const QString &caption, const QString &, const QString &,
                     const QString &) override
    {
        fail(caption);
    }
    QString saveFile(const QString &caption, const QString &, const QString &,
                     const QString &) override
    {
        fail(caption);
    }
    std::optional<FontChoice> font(const FontChoice &) override { fail(QStringLiteral("font")); }
    std::optional<QColor> colour(const QColor &) override { fail(QStringLiteral("colour")); }
    QString folder(const QString &caption, const QString &) override { fail(caption); }

private:
    [[noreturn]] static void fail(const QString &what)
    {
        throw std::logic_error("No dialogs installed to ask: " + what.toStdString());
    }
};

SystemClock g_systemClock;
SystemShell g_systemShell;
NoDialogs g_noDialogs;
Clock *g_clock = &g_systemClock;
Shell *g_shell = &g_systemShell;
Dialogs *g_dialogs = &g_noDialogs;

} // namespace

Dialogs &dialogs() { return *g_dialogs; }
void installDialogs(Dialogs *d) { g_dialogs = d ? d : &g_noDialogs; }
Clock &clock() { return *g_clock; }
void installClock(Clock *c) { g_clock = c ? c : &g_systemClock; }
Shell &shell() { return *g_shell; }
void installShell(Shell *s) { g_shell = s ? s : &g_systemShell; }

QString findCalculator()
{
    static const char *const candidates[] = {"gnome-calculator", "kcalc", "galculator",
                                             "mate-calc", "qalculate-gtk", "xcalc",
                                             "calc.exe"};
    for (const char *name : candidates) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    const QString windows = QStringLiteral("C:/Windows/System32/Calc.exe");
    return QFileInfo::exists(windows) ? windows : QString();
}

} // namespace Brelvan
