#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace Brelvan {

// The to-do list as this copy of the program holds it: its file, and the file's bytes as
// this copy last read or wrote them. Two copies may share one program folder, so the file
// is written only when this copy's text changed, and never over lines another copy wrote
// meanwhile. No widgets: the Diary page hands the box's text in and shows what comes back.
class ToDoList
{
public:
    enum class Outcome {
        Unchanged,   // nothing to write, and the file is as this copy read it
        Written,     // this copy's text is in the file
        Reloaded,    // the box was unchanged and another copy's text is taken
        Merged,      // both copies changed the list: the file now holds both
    };
    struct Result
    {
        Outcome outcome = Outcome::Unchanged;
        QString text;   // what the box is to show
    };

    explicit ToDoList(const QString &path);

    QString path() const { return m_path; }
    // The file's text, remembered as read; empty when there is no file. Throws
    // std::runtime_error when the file cannot be read.
    QString load();
    // The text as the box shows it after load() or save(), which a text box may have
    // normalised; a box still holding it counts as unchanged.
    void settle(const QString &boxText) { m_text = boxText; }
    bool changed(const QString &boxText) const { return boxText != m_text; }

    // Stores the box's text. Unchanged box: nothing is written, and when the file changed
    // on disk its text is taken (Reloaded). Changed box over an unchanged file: written.
    // Changed box over a file another copy changed: the other copy's list, then the lines
    // added here that it lacks (Merged); nothing typed in either copy is lost. Throws
    // std::runtime_error when the file cannot be read or written; it then stays as it was.
    Result save(const QString &boxText);
    // Before the user edits: the file's text when the box is unchanged and the file
    // changed on disk, else nothing.
    std::optional<QString> refresh(const QString &boxText);

    // The merged list: theirs, then the lines of mine that are neither in base (the text
    // both started from) nor in theirs, blank lines left out.
    static QString merge(const QString &theirs, const QString &base, const QString &mine);

private:
    // The file as it is now when it differs from what this copy read or wrote; a file that
    // has gone is no other copy's list.
    std::optional<QByteArray> changedOnDisk() const;
    void take(const QByteArray &bytes);

    QString m_path;
    std::optional<QByteArray> m_read;   // nothing: there was no file
    QString m_text;
};

} // namespace Brelvan
