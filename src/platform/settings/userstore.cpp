#include "platform/settings/userstore.h"

#include "platform/settings/linetext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QCoreApplication>

#include <filesystem>
#include <system_error>

namespace Brelvan {

namespace {

UserStore *&installed()
{
    static UserStore *store = nullptr;
    return store;
}

// A new file of our own beside path, opened unbuffered so that every failed write shows at
// once (a buffered one that fails only at the end is not always reported); removed again
// unless kept.
class StagedFile
{
public:
    explicit StagedFile(const QString &path)
    {
        for (int i = 0; i < 100 && !m_file.isOpen(); ++i) {
            m_file.setFileName(QStringLiteral("%1.new%2-%3")
                                   .arg(path).arg(QCoreApplication::applicationPid()).arg(i));
            m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered);
        }
    }
    ~StagedFile()
    {
        if (!m_keep)
            QFile::remove(m_file.fileName());
    }
    QFile &file() { return m_file; }
    void keep() { m_keep = true; }

private:
    QFile m_file;
    bool m_keep = false;
};

QString textOf(const QVariant &v)
{
    // A hand-edited value with commas comes back as a list; it was one text.
    if (v.metaType().id() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1String(", "));
    return v.toString();
}

// QSettings says only that a write failed; a trial write of the same size in the same folder
// finds the system's reason (a full disk, a read-only file) to tell the user.
QString writeProblem(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    const QFileInfo folderInfo(folder);
    if (folderInfo.exists() && !folderInfo.isDir())
        return QStringLiteral("%1 is a file, not a folder").arg(folder);
    if (!folderInfo.exists())
        return QStringLiteral("its folder %1 cannot be made").arg(folder);
    if (info.exists() && !info.isWritable())
        return QStringLiteral("the file is read-only");
    StagedFile probe(path);
    if (!probe.file().isOpen())
        return probe.file().errorString();
    const QByteArray block(info.size() + 4096, ' ');
    if (!writeAll(probe.file(), block))
        return probe.file().errorString();
    return QStringLiteral("the settings could not be stored");
}

} // namespace

UserStore::UserStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Tamblow"),
                                             QStringLiteral("Brelvan")))
{
#ifdef Q_OS_WIN
    m_fileBacked = false;
#endif
}

UserStore::UserStore(const QString &filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
}

UserStore::~UserStore() = default;

QString UserStore::location() const
{
    return m_settings->fileName();
}

bool UserStore::checkStatus()
{
    switch (m_settings->status()) {
    case QSettings::NoError:
        return true;
    case QSettings::AccessError:
        m_error = QStringLiteral("Cannot access %1").arg(location());
        return false;
    case QSettings::FormatError:
        m_error = QStringLiteral("%1 is not in settings form").arg(location());
        return false;
    }
    return false;
}

bool UserStore::read(const QString &name, QString *value)
{
    value->clear();
    if (!checkStatus())
        return false;
    const auto it = m_pending.constFind(name);
    *value = it != m_pending.constEnd() ? *it : textOf(m_settings->value(name));
    return true;
}

bool UserStore::write(const QString &name, const QString &value)
{
    if (m_fileBacked) {
        m_pending.insert(name, value);
        return true;
    }
    if (!m_settings->isWritable()) {
        m_error = QStringLiteral("Cannot write %1").arg(location());
        return false;
    }
    m_settings->setValue(name, value);
    return checkStatus();
}

bool UserStore::flush()
{
    if (!m_fileBacked) {
        m_settings->sync();
        if (m_settings->status() == QSettings::AccessError) {
            m_error = QStringLiteral("%1 could not be written: %2.")
                          .arg(location(), writeProblem(location()));
            return false;
        }
        return checkStatus();
    }
    if (m_pending.isEmpty())
        return true;
    QString why;
    if (!storeFile(&why)) {
        m_error = QStringLiteral("%1 could not be written: %2; the file was left as it was.")
                      .arg(location(), why);
        return false;
    }
    m_pending.clear();
    m_settings->sync();   // reads the new file
    return checkStatus();
}

bool UserStore::storeFile(QString *why)
{
    const QString path = location();
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (folder.exists() && !folder.isDir()) {
        *why = QStringLiteral("%1 is a file, not a folder").arg(folder.filePath());
        return false;
    }
    if (!QDir().mkpath(folder.filePath())) {
        *why = QStringLiteral("its folder %1 cannot be made").arg(folder.filePath());
        return false;
    }
    if (info.exists() && (!info.isFile() || !info.isWritable())) {
        *why = info.isFile() ? QStringLiteral("the file is read-only")
                             : QStringLiteral("it is a folder");
        return false;
    }
    // the new file starts as a copy of the stored one, so values of other programs' runs
    // and keys this run never touched stay
    StagedFile staged(path);
    if (!staged.file().isOpen()) {
        *why = staged.file().errorString();
        return false;
    }
    if (info.exists()) {
        QFile old(path);
        if (!old.open(QIODevice::ReadOnly)) {
            *why = old.errorString();
            return false;
        }
        const QByteArray bytes = old.readAll();
        if (!writeAll(staged.file(), bytes)) {
            *why = staged.file().errorString();
            return false;
        }
    }
    staged.file().close();
    const QString stagedPath = staged.file().fileName();
    {
        QSettings s(stagedPath, QSettings::IniFormat);
        for (auto it = m_pending.constBegin(); it != m_pending.constEnd(); ++it)
            s.setValue(it.key(), it.value());
        s.sync();
        if (s.status() != QSettings::NoError) {
            *why = writeProblem(path);
            return false;
        }
    }
    {
        // QSettings may report success for a file the disk could not take: read it back
        QSettings s(stagedPath, QSettings::IniFormat);
        for (auto it = m_pending.constBegin(); it != m_pending.constEnd(); ++it) {
            if (s.status() != QSettings::NoError || textOf(s.value(it.key())) != it.value()) {
                *why = writeProblem(path);
                return false;
            }
        }
    }
    if (info.exists())
        QFile::setPermissions(stagedPath, info.permissions());
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(stagedPath).toStdString(),
                            QFile::encodeName(path).toStdString(), ec);
    if (ec) {
        *why = QString::fromStdString(ec.message());
        return false;
    }
    staged.keep();   // it is the stored file now
    // Qt's settings cache knows a file by its size and modification time: a rewrite of the
    // same size within the same millisecond would be taken for the file it replaced
    if (info.exists() && QFileInfo(path).lastModified() <= info.lastModified()) {
        QFile stored(path);
        if (stored.open(QIODevice::ReadWrite))
            stored.setFileTime(info.lastModified().addMSecs(1),
                               QFileDevice::FileModificationTime);
    }
    return true;
}

UserStore &userStore()
{
    if (installed())
        return *installed();
    static UserStore user;
    return user;
}

void installUserStore(UserStore *store)
{
    installed() = store;
}

} // namespace Brelvan
