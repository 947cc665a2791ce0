#include "platform/settings/inifile.h"

#include "platform/settings/linetext.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    m_bytes.clear();
    m_lineEnd = "\r\n";
    m_bom = false;
    m_loadError.clear();
}

bool IniFile::ensureLoaded()
{
    if (m_loaded)
        return m_loadError.isEmpty();
    reload();
    m_loaded = true;
    const QFileInfo info(m_path);
    if (!info.exists())
        return true;   // a missing file is an empty one
    QFile file(m_path);
    if (!info.isFile()) {
        m_loadError = QStringLiteral("Cannot read %1: it is a folder, not a file").arg(m_path);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
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

void IniFile::parse(const QByteArray &input, QList<Line> *lines)
{
    m_bytes = input;
    QByteArray bytes = input;
    m_bom = bytes.startsWith("\xEF\xBB\xBF");
    if (m_bom)
        bytes.remove(0, 3);
    bool endSeen = false;
    qsizetype at = 0;
    while (at < bytes.size()) {
        qsizetype nl = bytes.indexOf('\n', at);
        Line line;
        if (nl < 0) {
            line.bytes = bytes.mid(at);
            at = bytes.size();
        } else {
            line.bytes = bytes.mid(at, nl - at);
            line.end = "\n";
            if (line.bytes.endsWith('\r')) {
                line.bytes.chop(1);
                line.end = "\r\n";
            }
            at = nl + 1;
            if (!endSeen) {
                m_lineEnd = line.end;   // new lines follow the file's own line ends
                endSeen = true;
            }
        }
        line.text = decodeLine(line.bytes);
        const QString t = line.text.trimmed();
        if (t.isEmpty()) {
            line.kind = Line::Blank;
        } else if (t.startsWith(u';')) {
            line.kind = Line::Comment;
        } else if (t.startsWith(u'[')) {
            if (t.endsWith(u']') && t.size() > 2) {
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
            *error = QStringLiteral("%1, line %2 (in section [%3]) is not an INI line: \"%4\"")
                         .arg(m_path).arg(i + 1).arg(section, line.text.trimmed().left(80));
            return ReadStatus::Failed;
        }
        if (line.kind == Line::Entry && sameName(line.name, key)) {
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
            if (line.value == change.value)
                return;   // an unchanged value keeps its line byte for byte
            // The key keeps the spelling the file already has.
            line.value = change.value;
            line.text = line.name + u'=' + encodeValue(change.value);
            line.bytes = line.text.toUtf8();
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
    entry.bytes = entry.text.toUtf8();
    entry.end = m_lineEnd;
    if (sectionAt < 0) {
        Line header;
        header.kind = Line::Section;
        header.name = change.section;
        header.text = u'[' + change.section + u']';
        header.bytes = header.text.toUtf8();
        header.end = m_lineEnd;
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
    const QByteArray bytes = assemble(lines);
    if (bytes == m_bytes && exists())
        return true;   // nothing changed: the file is not touched
    QString error;
    if (!writeFile(bytes, &error)) {
        m_error = error.isEmpty() ? QStringLiteral("Cannot write %1").arg(m_path) : error;
        return false;
    }
    m_lines = lines;
    m_bytes = bytes;
    return true;
}

QByteArray IniFile::assemble(const QList<Line> &lines) const
{
    QByteArray bytes = m_bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line &line = lines.at(i);
        bytes += line.bytes;
        // a last line without its end gets one when lines now follow it
        bytes += line.end.isEmpty() && i + 1 < lines.size() ? m_lineEnd : line.end;
    }
    return bytes;
}

bool IniFile::writeFile(const QByteArray &text, QString *error)
{
    const QFileInfo info(m_path);
    if (info.exists() && (!info.isFile() || !info.isWritable())) {
        *error = QStringLiteral("%1 could not be written: it is %2; the file was left as it was.")
                     .arg(m_path, info.isFile() ? QStringLiteral("read-only")
                                                : QStringLiteral("a folder"));
        return false;
    }
    // A new file beside the old one replaces it only once it is written whole, so a full
    // disk leaves the old settings in place. Unbuffered: a buffered write that fails only
    // when commit() flushes it is not always reported, and the short file would replace
    // the old one.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        || !writeAll(file, text) || !file.commit()) {
        *error = QStringLiteral("%1 could not be written: %2; the file was left as it was.")
                     .arg(m_path, file.errorString());
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
