#pragma once

#include <QString>
#include <QStringList>

namespace Brelvan {

// What the program asks of the desktop: open a document or address with its own program,
// run another program, copy a folder.
class Shell
{
public:
    virtual ~Shell() = default;
    // Opens a file, a web address or a "mailto:" address; false when nothing could open it.
    virtual bool open(const QString &target) = 0;
    // Starts a program detached; false when it could not be started.
    virtual bool run(const QString &program, const QStringList &arguments = {}) = 0;
    // Copies a folder and everything below it into destination; false on any failure.
    virtual bool copyFolder(const QString &source, const QString &destination) = 0;
    // Starts a new e-mail message with the files attached (xdg-email where the desktop has
    // it); false when there is no way to, so the caller can tell the user where they are.
    virtual bool mailFiles(const QStringList &files)
    {
        Q_UNUSED(files);
        return false;
    }
};

Shell &shell();
void installShell(Shell *shell);

// The first calculator program found on this system, or empty.
QString findCalculator();

} // namespace Brelvan
