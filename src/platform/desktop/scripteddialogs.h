#pragma once

#include "platform/desktop/dialogs.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <variant>

namespace Brelvan {

// The dialogs a test installs: every question is answered from a queue filled beforehand,
// and every text the program shows is recorded in order. A question with no fitting answer
// queued never waits for a click that cannot come: it is recorded in failures() and, by
// default, throws std::runtime_error carrying the question's text. An exception cannot pass
// through Qt's event handling (the process terminates there, though still naming the
// question), so a window test installs a handler instead, which reports the failure to
// the test; the question then gets the cautious answer: No, Cancel or an empty path.
class ScriptedDialogs final : public Dialogs
{
public:
    // What the program did, in order.
    struct Entry
    {
        enum class What { Message, Question, Input, OpenFile, SaveFile, Font, Colour, Folder };
        What what = What::Message;
        Kind kind = Kind::Information; // messages only
        QString text;                  // message or question text, input or chooser caption
        QString caption;               // the window caption handed over (may be empty)
        QString detail;                // input prompt, file filter, start folder, or the
                                       // detail text of a message
    };

    // Queue answers; each question takes the next one.
    void answer(bool yes);                  // Yes/No question
    void answer(const QString &text);       // input box text, file path or folder
    void answer(const char *text) { answer(QString::fromUtf8(text)); }
    void answer(const FontChoice &font);    // font dialog
    void answer(const QColor &colour);      // colour dialog
    void answerCancel();                    // input, file, font, colour or folder cancelled
    int pending() const { return int(m_answers.size()); }
    void clearAnswers() { m_answers.clear(); }

    // Messages, questions and input captions, in the order shown.
    QStringList shown() const;
    // Only the messages (information, warning, error) of the given kind.
    QStringList shown(Kind kind) const;
    // The detail text of the last message whose text is text; empty when it had none.
    QString detailOf(const QString &text) const;
    const QList<Entry> &entries() const { return m_entries; }
    // Every question asked that found no fitting answer, with the reason.
    const QStringList &failures() const { return m_failures; }
    void clearShown() { m_entries.clear(); }
    // Called with the reason in place of throwing; an empty handler restores throwing.
    void setUnansweredHandler(std::function<void(const QString &reason)> handler)
    {
        m_onUnanswered = std::move(handler);
    }

    void message(Kind kind, const QString &text, const QString &caption = {}) override;
    void detailedMessage(Kind kind, const QString &text, const QString &detail) override;
    bool confirm(const QString &text, const QString &caption = {}) override;
    std::optional<QString> input(const QString &caption, const QString &prompt,
                                 const QString &preset) override;
    QString openFile(const QString &caption, const QString &folder, const QString &filter,
                     const QString &fileName) override;
    QString saveFile(const QString &caption, const QString &folder, const QString &filter,
                     const QString &fileName) override;
    std::optional<FontChoice> font(const FontChoice &initial) override;
    std::optional<QColor> colour(const QColor &initial) override;
    QString folder(const QString &caption, const QString &start) override;

private:
    struct Cancel
    {
    };
    using Answer = std::variant<bool, QString, FontChoice, QColor, Cancel>;

    void record(Entry::What what, const QString &text, const QString &caption = {},
                const QString &detail = {});
    // The next answer, which must hold one of the types the question accepts; Cancel when
    // there is none and the handler has been told.
    template<typename... Accepted>
    Answer take(const QString &question, const char *wanted);
    void fail(const QString &reason);

    QList<Answer> m_answers;
    QList<Entry> m_entries;
    QStringList m_failures;
    std::function<void(const QString &)> m_onUnanswered;
};

} // namespace Brelvan
