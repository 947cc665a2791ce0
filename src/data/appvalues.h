#pragma once

#include <QString>

namespace Brelvan {

// The application values held for the whole run.
struct AppValues
{
    QString programFolder; // with a trailing separator
    QString settingsFile;
    QString logFile;
    QString toDoFile;
    QString lettersFolder;
    QString helpMessage;

    // Formed from BRELVAN_HOME, or the folder of the running program.
    static AppValues fromEnvironment();
    static AppValues forFolder(const QString &programFolder);
};

} // namespace Brelvan
