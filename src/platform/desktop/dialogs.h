#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

namespace Brelvan {

// A font as the program's font dialog hands it back: the face, size and style, and the
// colour, which Qt keeps apart from QFont.
struct FontChoice
{
    QFont font;
    QColor color;
};

// Every modal interaction of the program goes through this one interface, so that window
// tests can answer from a script and read back every text shown.
class Dialogs
{
public:
    enum class Kind { Information, Warning, Error, Confirmation };

    virtual ~Dialogs() = default;

    virtual void message(Kind kind, const QString &text, const QString &caption = {}) = 0;
    // Yes/No question; true for Yes.
    virtual bool confirm(const QString &text, const QString &caption = {}) = 0;
    // Input box; nothing when cancelled.
    virtual std::optional<QString> input(const QString &caption, const QString &prompt,
                                         const QString &preset) = 0;
    // File choosers; an empty path when cancelled.
    virtual QString openFile(const QString &caption, const QString &folder,
                             const QString &filter, const QString &fileName) = 0;
    virtual QString saveFile(const QString &caption, const QString &folder,
                             const QString &filter, const QString &fileName) = 0;
    virtual std::optional<FontChoice> font(const FontChoice &initial) = 0;
    virtual std::optional<QColor> colour(const QColor &initial) = 0;
    // Folder chooser; an empty path when cancelled.
    virtual QString folder(const QString &caption, const QString &start) = 0;

    void information(const QString &text) { message(Kind::Information, text); }
    void warning(const QString &text) { message(Kind::Warning, text); }
    void error(const QString &text) { message(Kind::Error, text); }
};

// The dialogs in force; the program installs the real ones at start, tests a script.
Dialogs &dialogs();
void installDialogs(Dialogs *dialogs);

} // namespace Brelvan
