#include "platform/settings/inifile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace Brelvan {

namespace {

IniFileFactory &factory()
{
    static IniFileFactory f;
    return f;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString decodeUtf8(const QByteArray &bytes, bool *bad)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    *bad = decoder.hasError();
    return text;
}

} // namespace

IniFile::IniFile(const QString &path)
    : m_path(path)
{
}

IniFile::~IniFile() = default;

bool IniFile::exists() const
{
    return QFileInfo(m_path).isFile();
}

void IniFile::reload()
{
    m_loaded = false;
    m_lines.clear();
    m_loadError.clear();
}

bool IniFile::ensureLoaded()
{
    if (m_loaded)
        return m_loadError.isEmpty();
    m_loaded = true;
    m_lines.clear();
    m_loadError.clear();
    const QFileInfo info(m_path);
    if (!info.exists())
        return true;   // a missing file is an empty one
    QFile file(m_path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        m_loadError = QStringLiteral("Cannot read %1: %2").arg(m_path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_loadError = QStringLiteral("Cannot read %1: %2").arg(m_path, file.errorString());
        return false;
    }
    parse(bytes, &m_lines);
    return true;
}

void IniFile::parse(const QByteArray &input, QList<Line> *lines) const
{
    QByteArray bytes = input;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QList<QByteArray> raw = bytes.split('\n');
    if (!raw.isEmpty() && raw.last().isEmpty())
        raw.removeLast();   // the final line end
    for (QByteArray r : raw) {
        if (r.endsWith('\r'))
            r.chop(1);
        Line line;
        bool badText = false;
        line.text = decodeUtf8(r, &badText);
        const QString t = line.text.trimmed();
        if (t.isEmpty()) {
            line.kind = Line::Blank;
        } else if (t.startsWith(u';')) {
            line.kind = Line::Comment;
        } else if (t.startsWith(u'[')) {
            if (t.endsWith(u']') && t.size() > 2 && !badText) {
                line.kind = Line::Section;
                line.name = t.mid(1, t.size() - 2).trimmed();
            } else {
                line.kind = Line::Bad;
            }
        } else {
            const qsizetype eq = t.indexOf(u'=');
            if (eq <= 0) {
                line.kind = Line::Bad;
            } else {
                line.kind = Line::Entry;
                line.name = t.left(eq).trimmed();
                line.value = decodeValue(t.mid(eq + 1));
                line.badText = badText;
            }
        }
        lines->append(line);
    }
}

QString IniFile::decodeValue(const QString &raw)
{
    QString v = raw.trimmed();
    if (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"'))
        v = v.mid(1, v.size() - 2);
    return v;
}

QString IniFile::encodeValue(const QString &value)
{
    QString v = value;
    v.replace(QLatin1String("\r\n"), QLatin1String(" "));
    v.replace(u'\r', u' ');
    v.replace(u'\n', u' ');
    // Quotes keep outer blanks and outer quotes, which reading would otherwise strip.
    const bool needsQuotes = (!v.isEmpty() && (v.front().isSpace() || v.back().isSpace()))
                             || (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"'));
    return needsQuotes ? u'"' + v + u'"' : v;
}

IniFile::ReadStatus IniFile::readEntry(const QString &section, const QString &key,
                                       QString *value, QString *error)
{
    if (!ensureLoaded()) {
        *error = m_loadError;
        return ReadStatus::Failed;
    }
    bool inSection = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines.at(i);
        if (line.kind == Line::Section) {
            if (inSection)
                break;   // Windows looks in the first section of that name only
            inSection = sameName(line.name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (line.kind == Line::Bad) {
            // What follows a line we cannot understand cannot be trusted.
            *error = QStringLiteral("%1: line %2 of section [%3] is not an INI line")
                         .arg(m_path).arg(i + 1).arg(section);
            return ReadStatus::Failed;
        }
        if (line.kind == Line::Entry && sameName(line.name, key)) {
            if (line.badText) {
                *error = QStringLiteral("%1: line %2 is not UTF-8 text").arg(m_path).arg(i + 1);
                return ReadStatus::Failed;
            }
            *value = line.value;
            return ReadStatus::Found;
        }
    }
    return ReadStatus::Missing;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def,
                            bool *ok)
{
    if (ok)
        *ok = true;
    for (qsizetype i = m_pending.size() - 1; i >= 0; --i) {
        const Pending &p = m_pending.at(i);
        if (sameName(p.section, section) && sameName(p.key, key))
            return p.value;
    }
    QString value;
    QString error;
    switch (readEntry(section, key, &value, &error)) {
    case ReadStatus::Found:
        return value;
    case ReadStatus::Missing:
        return def;
    case ReadStatus::Failed:
        break;
    }
    m_error = error.isEmpty() ? QStringLiteral("Cannot read %1 of [%2]").arg(key, section) : error;
    if (ok)
        *ok = false;
    return def;
}

int IniFile::readInteger(const QString &section, const QString &key, int def, bool *ok)
{
    const QString text = readString(section, key, QString(), ok);
    bool isNumber = false;
    const int n = text.trimmed().toInt(&isNumber);
    return isNumber ? n : def;
}

bool IniFile::contains(const QString &section, const QString &key)
{
    const QString marker = QStringLiteral("\x01missing");
    bool ok = true;
    return readString(section, key, marker, &ok) != marker && ok;
}

QStringList IniFile::sections()
{
    QStringList names;
    if (ensureLoaded()) {
        for (const Line &line : std::as_const(m_lines)) {
            if (line.kind == Line::Section
                && !names.contains(line.name, Qt::CaseInsensitive))
                names.append(line.name);
        }
    }
    for (const Pending &p : std::as_const(m_pending)) {
        if (!names.contains(p.section, Qt::CaseInsensitive))
            names.append(p.section);
    }
    return names;
}

QStringList IniFile::keys(const QString &section)
{
    QStringList names;
    if (ensureLoaded()) {
        bool inSection = false;
        for (const Line &line : std::as_const(m_lines)) {
            if (line.kind == Line::Section) {
                if (inSection)
                    break;
                inSection = sameName(line.name, section);
            } else if (inSection && line.kind == Line::Entry
                       && !names.contains(line.name, Qt::CaseInsensitive)) {
                names.append(line.name);
            }
        }
    }
    for (const Pending &p : std::as_const(m_pending)) {
        if (sameName(p.section, section) && !names.contains(p.key, Qt::CaseInsensitive))
            names.append(p.key);
    }
    return names;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QString s = section.trimmed();
    if (s.isEmpty() || s != section || s.contains(u']') || s.contains(u'\n')
        || s.contains(u'\r')) {
        m_error = QStringLiteral("\"%1\" cannot be an INI section name").arg(section);
        return false;
    }
    const QString k = key.trimmed();
    if (k.isEmpty() || k != key || k.contains(u'=') || k.contains(u'\n') || k.contains(u'\r')
        || k.startsWith(u'[') || k.startsWith(u';')) {
        m_error = QStringLiteral("\"%1\" cannot be an INI key name").arg(key);
        return false;
    }
    QString v = value;
    v.replace(QLatin1String("\r\n"), QLatin1String(" "));
    v.replace(u'\r', u' ');
    v.replace(u'\n', u' ');
    m_pending.append({section, key, v});
    return true;
}

bool IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}

void IniFile::apply(QList<Line> &lines, const Pending &change) const
{
    qsizetype sectionAt = -1;
    qsizetype insertAt = -1;   // after the last entry of the section
    for (qsizetype i = 0; i < lines.size(); ++i) {
        Line &line = lines[i];
        if (line.kind == Line::Section) {
            if (sectionAt >= 0)
                break;
            if (sameName(line.name, change.section)) {
                sectionAt = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionAt < 0)
            continue;
        if (line.kind == Line::Entry && sameName(line.name, change.key)) {
            // The key keeps the spelling the file already has.
            line.value = change.value;
            line.badText = false;
            line.text = line.name + u'=' + encodeValue(change.value);
            return;
        }
        if (line.kind != Line::Blank)
            insertAt = i + 1;
    }
    Line entry;
    entry.kind = Line::Entry;
    entry.name = change.key;
    entry.value = change.value;
    entry.text = change.key + u'=' + encodeValue(change.value);
    if (sectionAt < 0) {
        Line header;
        header.kind = Line::Section;
        header.name = change.section;
        header.text = u'[' + change.section + u']';
        lines.append(header);
        lines.append(entry);
    } else {
        lines.insert(insertAt, entry);
    }
}

bool IniFile::save()
{
    if (m_pending.isEmpty())
        return true;
    const QList<Pending> pending = std::exchange(m_pending, {});
    // Start from the file as it is now, so keys written meanwhile by others survive.
    reload();
    if (!ensureLoaded()) {
        m_error = m_loadError;
        return false;
    }
    QList<Line> lines = m_lines;
    for (const Pending &p : pending)
        apply(lines, p);
    QString text;
    for (const Line &line : std::as_const(lines))
        text += line.text + QLatin1String("\r\n");
    QString error;
    if (!writeFile(text.toUtf8(), &error)) {
        m_error = error.isEmpty() ? QStringLiteral("Cannot write %1").arg(m_path) : error;
        return false;
    }
    m_lines = lines;
    return true;
}

bool IniFile::writeFile(const QByteArray &text, QString *error)
{
    const QFileInfo info(m_path);
    if (info.exists() && (!info.isFile() || !info.isWritable())) {
        *error = QStringLiteral("Cannot write %1: the file is read-only").arg(m_path);
        return false;
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        *error = QStringLiteral("Cannot write %1: %2").arg(m_path, file.errorString());
        return false;
    }
    return true;
}

std::unique_ptr<IniFile> openIniFile(const QString &path)
{
    if (factory())
        return factory()(path);
    return std::make_unique<IniFile>(path);
}

void installIniFileFactory(IniFileFactory f)
{
    factory() = std::move(f);
}

} // namespace Brelvan
