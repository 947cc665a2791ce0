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
    // A message with a detail text (what failed, where and why) that the real box keeps
    // under "Show Details..."; a message keeps its own wording and the detail adds to it.
    // Dialogs that have no place for it show the message alone.
    virtual void detailedMessage(Kind kind, const QString &text, const QString &detail)
    {
        Q_UNUSED(detail)
        message(kind, text);
    }
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
    // The same with a detail text; an empty detail gives the plain message.
    void information(const QString &text, const QString &detail)
    {
        withDetail(Kind::Information, text, detail);
    }
    void warning(const QString &text, const QString &detail)
    {
        withDetail(Kind::Warning, text, detail);
    }
    void error(const QString &text, const QString &detail)
    {
        withDetail(Kind::Error, text, detail);
    }

private:
    void withDetail(Kind kind, const QString &text, const QString &detail)
    {
        if (detail.isEmpty())
            message(kind, text);
        else
            detailedMessage(kind, text, detail);
    }
};

// The dialogs in force; the program installs the real ones at start, tests a script.
Dialogs &dialogs();
void installDialogs(Dialogs *dialogs);

} // namespace Brelvan
