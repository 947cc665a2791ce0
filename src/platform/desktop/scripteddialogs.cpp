#include "platform/desktop/scripteddialogs.h"

#include <stdexcept>

namespace Brelvan {

namespace {

template<typename V>
QString describeAnswer(const V &answer)
{
    if (const bool *yes = std::get_if<bool>(&answer))
        return *yes ? QStringLiteral("Yes") : QStringLiteral("No");
    if (const QString *text = std::get_if<QString>(&answer))
        return QStringLiteral("text \"%1\"").arg(*text);
    if (std::holds_alternative<FontChoice>(answer))
        return QStringLiteral("a font");
    if (std::holds_alternative<QColor>(answer))
        return QStringLiteral("a colour");
    return QStringLiteral("Cancel");
}

} // namespace

void ScriptedDialogs::answer(bool yes) { m_answers.append(Answer(yes)); }
void ScriptedDialogs::answer(const QString &text) { m_answers.append(Answer(text)); }
void ScriptedDialogs::answer(const FontChoice &font) { m_answers.append(Answer(font)); }
void ScriptedDialogs::answer(const QColor &colour) { m_answers.append(Answer(colour)); }
void ScriptedDialogs::answerCancel() { m_answers.append(Answer(Cancel{})); }

QStringList ScriptedDialogs::shown() const
{
    QStringList texts;
    for (const Entry &e : m_entries) {
        if (e.what == Entry::What::Message || e.what == Entry::What::Question
            || e.what == Entry::What::Input)
            texts.append(e.text);
    }
    return texts;
}

QStringList ScriptedDialogs::shown(Kind kind) const
{
    QStringList texts;
    for (const Entry &e : m_entries) {
        if (e.what == Entry::What::Message && e.kind == kind)
            texts.append(e.text);
    }
    return texts;
}

QString ScriptedDialogs::detailOf(const QString &text) const
{
    for (auto it = m_entries.crbegin(); it != m_entries.crend(); ++it) {
        if (it->what == Entry::What::Message && it->text == text)
            return it->detail;
    }
    return {};
}

void ScriptedDialogs::record(Entry::What what, const QString &text, const QString &caption,
                             const QString &detail)
{
    Entry e;
    e.what = what;
    e.text = text;
    e.caption = caption;
    e.detail = detail;
    m_entries.append(e);
}

void ScriptedDialogs::fail(const QString &reason)
{
    m_failures.append(reason);
    if (!m_onUnanswered)
        throw std::runtime_error(reason.toStdString());
    m_onUnanswered(reason);
}

template<typename... Accepted>
ScriptedDialogs::Answer ScriptedDialogs::take(const QString &question, const char *wanted)
{
    if (m_answers.isEmpty()) {
        fail(QStringLiteral("Unanswered: \"%1\" (no answer queued)").arg(question));
        return Cancel{};
    }
    const Answer next = m_answers.first();
    if (!(std::holds_alternative<Accepted>(next) || ...)) {
        fail(QStringLiteral("Unanswered: \"%1\" wants %2 but the next answer is %3")
                 .arg(question, QLatin1String(wanted), describeAnswer(next)));
        return Cancel{};
    }
    m_answers.removeFirst();
    return next;
}

void ScriptedDialogs::message(Kind kind, const QString &text, const QString &caption)
{
    record(Entry::What::Message, text, caption);
    m_entries.last().kind = kind;
}

void ScriptedDialogs::detailedMessage(Kind kind, const QString &text, const QString &detail)
{
    record(Entry::What::Message, text, {}, detail);
    m_entries.last().kind = kind;
}

bool ScriptedDialogs::confirm(const QString &text, const QString &caption)
{
    record(Entry::What::Question, text, caption);
    m_entries.last().kind = Kind::Confirmation;
    const Answer a = take<bool>(text, "Yes or No");
    const bool *yes = std::get_if<bool>(&a);
    return yes && *yes;
}

std::optional<QString> ScriptedDialogs::input(const QString &caption, const QString &prompt,
                                              const QString &preset)
{
    Q_UNUSED(preset)
    record(Entry::What::Input, caption, caption, prompt);
    const Answer a = take<QString, Cancel>(caption, "input text or Cancel");
    if (const QString *text = std::get_if<QString>(&a))
        return *text;
    return std::nullopt;
}

QString ScriptedDialogs::openFile(const QString &caption, const QString &folder,
                                  const QString &filter, const QString &fileName)
{
    Q_UNUSED(folder)
    Q_UNUSED(fileName)
    record(Entry::What::OpenFile, caption, caption, filter);
    const Answer a = take<QString, Cancel>(QStringLiteral("open file: ") + caption,
                                           "a path or Cancel");
    const QString *path = std::get_if<QString>(&a);
    return path ? *path : QString();
}

QString ScriptedDialogs::saveFile(const QString &caption, const QString &folder,
                                  const QString &filter, const QString &fileName)
{
    Q_UNUSED(folder)
    Q_UNUSED(fileName)
    record(Entry::What::SaveFile, caption, caption, filter);
    const Answer a = take<QString, Cancel>(QStringLiteral("save file: ") + caption,
                                           "a path or Cancel");
    const QString *path = std::get_if<QString>(&a);
    return path ? *path : QString();
}

std::optional<FontChoice> ScriptedDialogs::font(const FontChoice &initial)
{
    record(Entry::What::Font, QStringLiteral("font"), {}, initial.font.family());
    const Answer a = take<FontChoice, Cancel>(QStringLiteral("font"), "a font or Cancel");
    if (const FontChoice *f = std::get_if<FontChoice>(&a))
        return *f;
    return std::nullopt;
}

std::optional<QColor> ScriptedDialogs::colour(const QColor &initial)
{
    record(Entry::What::Colour, QStringLiteral("colour"), {}, initial.name());
    const Answer a = take<QColor, Cancel>(QStringLiteral("colour"), "a colour or Cancel");
    if (const QColor *c = std::get_if<QColor>(&a))
        return *c;
    return std::nullopt;
}

QString ScriptedDialogs::folder(const QString &caption, const QString &start)
{
    record(Entry::What::Folder, caption, caption, start);
    const Answer a = take<QString, Cancel>(QStringLiteral("folder: ") + caption,
                                           "a folder or Cancel");
    const QString *path = std::get_if<QString>(&a);
    return path ? *path : QString();
}

} // namespace Brelvan
