#include "platform/settings/userstore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QTemporaryFile>

namespace Brelvan {

namespace {

UserStore *&installed()
{
    static UserStore *store = nullptr;
    return store;
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
    QTemporaryFile probe(QDir(folder).filePath(info.fileName() + QStringLiteral(".XXXXXX")));
    if (!probe.open())
        return probe.errorString();
    const QByteArray block(info.size() + 4096, ' ');
    if (probe.write(block) != block.size() || !probe.flush())
        return probe.errorString();
    return QStringLiteral("the settings could not be stored");
}

} // namespace

UserStore::UserStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Tamblow"),
                                             QStringLiteral("Brelvan")))
{
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
    const QVariant v = m_settings->value(name);
    // A hand-edited value with commas comes back as a list; it was one text.
    if (v.metaType().id() == QMetaType::QStringList)
        *value = v.toStringList().join(QLatin1String(", "));
    else
        *value = v.toString();
    return true;
}

bool UserStore::write(const QString &name, const QString &value)
{
    if (!m_settings->isWritable()) {
        m_error = QStringLiteral("Cannot write %1").arg(location());
        return false;
    }
    m_settings->setValue(name, value);
    return checkStatus();
}

bool UserStore::flush()
{
    // QSettings writes a new file beside the old one and renames it only when it was
    // written whole, so a failed sync leaves the stored values as they were.
    m_settings->sync();
    if (m_settings->status() == QSettings::AccessError) {
        m_error = QStringLiteral("%1 could not be written: %2; the file was left as it was.")
                      .arg(location(), writeProblem(location()));
        return false;
    }
    return checkStatus();
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
