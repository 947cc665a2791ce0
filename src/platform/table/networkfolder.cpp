#include "platform/table/networkfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#if defined(Q_OS_LINUX)
#include <sys/vfs.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace Brelvan::Table {

namespace {

constexpr quint64 FuseMagic = 0x65735546;

QString existingFolder(const QString &folder)
{
    QFileInfo fi(QDir::cleanPath(QDir(folder).absolutePath()));
    while (!fi.exists() && !fi.isRoot()) {
        const QString up = fi.absolutePath();
        if (up == fi.absoluteFilePath())
            break;
        fi = QFileInfo(up);
    }
    return fi.absoluteFilePath();
}

} // namespace

bool isNetworkFileSystemType(quint64 magic, const QString &typeName)
{
    switch (magic) {
    case 0x6969:     // NFS
    case 0x517B:     // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
    case 0x5346414F: // AFS
    case 0x73757245: // Coda
    case 0x564C:     // NCP
    case 0x00C36400: // Ceph
    case 0x01021997: // 9P (also how WSL reaches Windows drives)
        return true;
    default: break;
    }
    const QString name = typeName.toLower();
    static const QStringList remote = {
        QStringLiteral("nfs"), QStringLiteral("nfs4"), QStringLiteral("cifs"),
        QStringLiteral("smb"), QStringLiteral("smbfs"), QStringLiteral("smb3"),
        QStringLiteral("afs"), QStringLiteral("coda"), QStringLiteral("ncpfs"),
        QStringLiteral("ceph"), QStringLiteral("9p"), QStringLiteral("glusterfs"),
        QStringLiteral("davfs"), QStringLiteral("lustre"), QStringLiteral("gpfs")};
    if (remote.contains(name))
        return true;
    // a FUSE file system is only as remote as what serves it: sshfs is, ntfs-3g is not
    if (magic == FuseMagic || name.startsWith(QLatin1String("fuse"))) {
        static const QStringList fuseRemote = {
            QStringLiteral("sshfs"), QStringLiteral("rclone"), QStringLiteral("s3fs"),
            QStringLiteral("gcsfuse"), QStringLiteral("glusterfs"), QStringLiteral("cephfs"),
            QStringLiteral("davfs2"), QStringLiteral("smbnetfs"), QStringLiteral("curlftpfs"),
            QStringLiteral("gvfsd-fuse")};
        const QString sub = name.section(QLatin1Char('.'), 1);
        return fuseRemote.contains(sub);
    }
    return false;
}

bool isNetworkFileSystem(const QString &folder, QString *fsName)
{
    const QString path = existingFolder(folder);
    const QStorageInfo storage(path);
    const QString typeName = QString::fromLatin1(storage.fileSystemType());
    if (fsName)
        *fsName = typeName;
    quint64 magic = 0;
#if defined(Q_OS_LINUX)
    struct statfs st {};
    if (::statfs(QFile::encodeName(path).constData(), &st) == 0)
        magic = quint64(quint32(st.f_type));
#elif defined(Q_OS_WIN)
    const QString native = QDir::toNativeSeparators(path);
    if (native.startsWith(QLatin1String("\\\\")))
        return true; // a share named by its server
    const QString root = QDir::toNativeSeparators(storage.rootPath());
    if (GetDriveTypeW(reinterpret_cast<LPCWSTR>(root.utf16())) == DRIVE_REMOTE)
        return true;
#endif
    return isNetworkFileSystemType(magic, typeName);
}

} // namespace Brelvan::Table
