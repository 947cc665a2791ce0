#pragma once

#include <QString>

namespace Brelvan::Table {

// Whether a folder lies on a network file system (NFS, SMB/CIFS, sshfs and the like), where
// SQLite's file locking cannot keep several copies of the program apart: those need the
// server mode. fsName, when given, gets the file system's name ("nfs4", "cifs", "ext4").
// A folder that does not exist yet is judged by the nearest folder above it that does.
bool isNetworkFileSystem(const QString &folder, QString *fsName = nullptr);

// The judgement itself, from the statfs type number (0 when unknown) and the mount table's
// name of the file system.
bool isNetworkFileSystemType(quint64 magic, const QString &typeName);

} // namespace Brelvan::Table
