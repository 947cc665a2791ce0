#include "diary/todofile.h"

#include "platform/settings/linetext.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>

#include <stdexcept>

namespace Brelvan::ToDoFile {

namespace {

const QByteArray crlf = QByteArrayLiteral("\r\n");

QList<QByteArray> fileLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype at = 0;
    for (;;) {
        const qsizetype end = bytes.indexOf(crlf, at);
        if (end < 0) {
            lines.append(bytes.mid(at));
            return lines;
        }
        lines.append(bytes.mid(at, end - at));
        at = end + 2;
    }
}

[[noreturn]] void fail(const char *what, const QString &path, const QString &reason)
{
    throw std::runtime_error(QStringLiteral("%1 file \"%2\". %3")
                                 .arg(QLatin1String(what), path, reason).toStdString());
}

} // namespace

QString fromFileBytes(const QByteArray &bytes)
{
    QStringList lines;
    for (const QByteArray &line : fileLines(bytes))
        lines.append(decodeLine(line));
    return lines.join(QLatin1Char('\n'));
}

QByteArray toFileBytes(const QString &boxText, const QList<QByteArray> &originals)
{
    QHash<QString, QByteArray> kept;
    for (const QByteArray &original : originals) {
        for (const QByteArray &line : fileLines(original)) {
            bool utf8 = true;
            const QString text = decodeLine(line, &utf8);
            if (!utf8)
                kept.insert(text, line);
        }
    }
    QString text = boxText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QByteArray bytes;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            bytes += crlf;
        const auto it = kept.constFind(lines.at(i));
        bytes += it != kept.constEnd() ? *it : lines.at(i).toUtf8();
    }
    return bytes;
}

std::optional<QByteArray> read(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        fail("Cannot open", path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail("Cannot read", path, file.errorString());
    return bytes;
}

void write(const QString &path, const QByteArray &bytes)
{
    // a new file beside the old one, put in its place only once written whole: a full disk
    // leaves the old list instead of an empty one (unbuffered, so that every failed write
    // shows at once, not in a flush at commit that may go unreported)
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail("Cannot create", path, file.errorString());
    if (!writeAll(file, bytes) || !file.commit())
        fail("Cannot write", path, file.errorString());
}

QString load(const QString &path)
{
    const std::optional<QByteArray> bytes = read(path);
    return bytes ? fromFileBytes(*bytes) : QString();
}

void save(const QString &path, const QString &boxText)
{
    const std::optional<QByteArray> old = read(path);
    write(path, toFileBytes(boxText, old ? QList<QByteArray>{*old} : QList<QByteArray>{}));
}

} // namespace Brelvan::ToDoFile
