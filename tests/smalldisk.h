#pragma once

// A small disk for the tests of a full disk: a tmpfs mounted on a folder of the test's, which
// the test fills until not one more byte fits. Mounting needs root (as in CI); where it is
// not possible the test says so and skips that case.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class SmallDisk
{
public:
    // Mounts a tmpfs of kilobytes on a new temporary folder; false, with why(), when not.
    bool mount(int kilobytes)
    {
        if (!m_dir.isValid()) {
            m_why = QStringLiteral("no temporary folder");
            return false;
        }
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                 QStringLiteral("-o"), QStringLiteral("size=%1k,mode=0777").arg(kilobytes),
                 QStringLiteral("tmpfs"), m_dir.path()});
        if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit
            || p.exitCode() != 0) {
            m_why = QStringLiteral("no tmpfs can be mounted here (mounting needs root): ")
                    + QString::fromLocal8Bit(p.readAll()).trimmed();
            return false;
        }
        m_mounted = true;
        return true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_dir.path()});
    }

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString why() const { return m_why; }

    // Takes every free byte but keepBytes (rounded down to whole pages, as tmpfs counts).
    void fill(qint64 keepBytes = 0)
    {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return;
        const QByteArray page(4096, 'x');
        while (filler.write(page) == page.size()) {
        }
        // a last part page, then one byte at a time until nothing more goes in
        while (filler.write("x", 1) == 1) {
        }
        if (keepBytes > 0)
            filler.resize(qMax<qint64>(0, filler.size() - keepBytes));
    }
    void freeAll() { QFile::remove(filePath(QStringLiteral("filler"))); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};
