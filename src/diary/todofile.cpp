#include "diary/todofile.h"

#include <QFile>

#include <stdexcept>

namespace Brelvan::ToDoFile {

QByteArray toFileBytes(const QString &boxText)
{
    QString text = boxText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    // the system's single-byte character set; Latin-1 keeps every byte as it was read
    return text.toLatin1();
}

QString fromFileBytes(const QByteArray &bytes)
{
    QString text = QString::fromLatin1(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString load(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Cannot open file \"%1\". %2")
                                     .arg(path, file.errorString()).toStdString());
    return fromFileBytes(file.readAll());
}

void save(const QString &path, const QString &boxText)
{
    const QByteArray bytes = toFileBytes(boxText);
    QFile file(path);
    // QFile closes itself on every path out, also when writing fails
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error(QStringLiteral("Cannot create file \"%1\". %2")
                                     .arg(path, file.errorString()).toStdString());
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw std::runtime_error(QStringLiteral("Cannot write file \"%1\". %2")
                                     .arg(path, file.errorString()).toStdString());
}

} // namespace Brelvan::ToDoFile
