#include "diary/todolist.h"

#include "diary/todofile.h"

#include <QHash>
#include <QList>
#include <QStringList>

namespace Brelvan {

ToDoList::ToDoList(const QString &path) : m_path(path)
{
}

void ToDoList::take(const QByteArray &bytes)
{
    m_read = bytes;
    m_text = ToDoFile::fromFileBytes(bytes);
}

QString ToDoList::load()
{
    m_read = ToDoFile::read(m_path);
    m_text = m_read ? ToDoFile::fromFileBytes(*m_read) : QString();
    return m_text;
}

std::optional<QByteArray> ToDoList::changedOnDisk() const
{
    std::optional<QByteArray> now = ToDoFile::read(m_path);
    if (!now || now == m_read)
        return std::nullopt;
    return now;
}

ToDoList::Result ToDoList::save(const QString &boxText)
{
    const std::optional<QByteArray> disk = changedOnDisk();
    if (!changed(boxText)) {
        if (!disk)
            return {Outcome::Unchanged, boxText};
        take(*disk);
        return {Outcome::Reloaded, m_text};
    }
    QList<QByteArray> originals;
    if (m_read)
        originals.append(*m_read);
    QString text = boxText;
    Outcome outcome = Outcome::Written;
    if (disk) {
        originals.append(*disk);
        text = merge(ToDoFile::fromFileBytes(*disk), m_text, boxText);
        outcome = Outcome::Merged;
    }
    const QByteArray bytes = ToDoFile::toFileBytes(text, originals);
    ToDoFile::write(m_path, bytes);
    m_read = bytes;
    m_text = text;
    return {outcome, text};
}

std::optional<QString> ToDoList::refresh(const QString &boxText)
{
    if (changed(boxText))
        return std::nullopt;
    const std::optional<QByteArray> disk = changedOnDisk();
    if (!disk)
        return std::nullopt;
    take(*disk);
    return m_text;
}

QString ToDoList::merge(const QString &theirs, const QString &base, const QString &mine)
{
    // counted, so that a line typed twice here is kept twice
    QHash<QString, int> inBase;
    QHash<QString, int> inTheirs;
    for (const QString &line : base.split(QLatin1Char('\n')))
        ++inBase[line];
    for (const QString &line : theirs.split(QLatin1Char('\n')))
        ++inTheirs[line];
    QStringList added;
    for (const QString &line : mine.split(QLatin1Char('\n'))) {
        if (inBase.value(line) > 0)
            --inBase[line];
        else if (inTheirs.value(line) > 0)
            --inTheirs[line];
        else if (!line.trimmed().isEmpty())
            added.append(line);
    }
    if (added.isEmpty())
        return theirs;
    QString text = theirs;
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    return text + added.join(QLatin1Char('\n'));
}

} // namespace Brelvan
