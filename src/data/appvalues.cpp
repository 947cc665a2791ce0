#include "data/appvalues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Brelvan {

AppValues AppValues::forFolder(const QString &folder)
{
    AppValues v;
    v.programFolder = QDir(folder).absolutePath();
    if (!v.programFolder.endsWith(QLatin1Char('/')))
        v.programFolder += QLatin1Char('/');
    // the program file is "brelvan" whatever runs it (a test binary, say)
    v.settingsFile = v.programFolder + QStringLiteral("brelvan.INI");
    v.logFile = v.programFolder + QStringLiteral("brelvan.Log");
    v.toDoFile = v.programFolder + QStringLiteral("Data/ToDo.Txt");
    v.lettersFolder = v.programFolder + QStringLiteral("Letters");
    return v;
}

AppValues AppValues::fromEnvironment()
{
    const QString home = qEnvironmentVariable("BRELVAN_HOME");
    return forFolder(home.isEmpty() ? QCoreApplication::applicationDirPath() : home);
}

QString AppValues::dataFolderOf(const QString &dataStr) const
{
    if (QDir::isAbsolutePath(dataStr))
        return QDir::cleanPath(dataStr);
    return programFolder + dataStr;
}

QString AppValues::dataStrFor(const QString &folder) const
{
    const QString chosen = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString program = QDir::cleanPath(QFileInfo(programFolder).absoluteFilePath());
    if (chosen == program)
        return {};
    const QString relative = QDir(program).relativeFilePath(chosen);
    if (relative.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(relative))
        return chosen;
    return relative;
}

} // namespace Brelvan
