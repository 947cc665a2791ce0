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

    // The data folder the DataStr setting names: relative to the program folder, or an
    // absolute path; empty names the program folder itself.
    QString dataFolderOf(const QString &dataStr) const;
    // The DataStr setting for a chosen folder: empty for the program folder, relative for one
    // below it, its absolute path for one anywhere else.
    QString dataStrFor(const QString &folder) const;
};

} // namespace Brelvan
