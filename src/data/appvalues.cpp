#include "data/appvalues.h"

#include <QCoreApplication>
#include <QDir>

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

} // namespace Brelvan
