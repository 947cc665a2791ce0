#include "platform/table/networkfolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Brelvan::Table;

class TestNetworkFolder : public QObject
{
    Q_OBJECT

private slots:
    void judgesTheFileSystemType_data()
    {
        QTest::addColumn<quint64>("magic");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("network");
        QTest::newRow("NFS") << quint64(0x6969) << "nfs4" << true;
        QTest::newRow("SMB") << quint64(0x517B) << "smbfs" << true;
        QTest::newRow("CIFS") << quint64(0xFF534D42) << "cifs" << true;
        QTest::newRow("SMB2") << quint64(0xFE534D42) << "smb3" << true;
        QTest::newRow("sshfs") << quint64(0x65735546) << "fuse.sshfs" << true;
        QTest::newRow("rclone") << quint64(0x65735546) << "fuse.rclone" << true;
        QTest::newRow("NFS by name only") << quint64(0) << "nfs" << true;
        QTest::newRow("ntfs-3g") << quint64(0x65735546) << "fuseblk" << false;
        QTest::newRow("local FUSE") << quint64(0x65735546) << "fuse.encfs" << false;
        QTest::newRow("ext4") << quint64(0xEF53) << "ext4" << false;
        QTest::newRow("tmpfs") << quint64(0x01021994) << "tmpfs" << false;
        QTest::newRow("overlay") << quint64(0x794C7630) << "overlay" << false;
        QTest::newRow("unknown") << quint64(0) << "" << false;
    }
    void judgesTheFileSystemType()
    {
        QFETCH(quint64, magic);
        QFETCH(QString, name);
        QFETCH(bool, network);
        QCOMPARE(isNetworkFileSystemType(magic, name), network);
    }

    void localFoldersAreNotNetwork()
    {
        QTemporaryDir dir;
        QString fs;
        QVERIFY(!isNetworkFileSystem(dir.path(), &fs));
        QVERIFY(!fs.isEmpty());
        // a folder still to be made is judged by the one above it
        QString above;
        QVERIFY(!isNetworkFileSystem(dir.filePath(QStringLiteral("Data/Later")), &above));
        QCOMPARE(above, fs);
        if (QDir(QStringLiteral("/dev/shm")).exists()) {
            QVERIFY(!isNetworkFileSystem(QStringLiteral("/dev/shm"), &fs));
            QCOMPARE(fs, QStringLiteral("tmpfs"));
        }
    }
};

QTEST_GUILESS_MAIN(TestNetworkFolder)
#include "tst_networkfolder.moc"
