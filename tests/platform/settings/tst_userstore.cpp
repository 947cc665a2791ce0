#include "platform/settings/userstore.h"

#include "../../smalldisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Brelvan;

class TestUserStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void valuesRoundTripAsText_data();
    void valuesRoundTripAsText();
    void missingValueReadsEmpty();
    void currentUserStoreFollowsConfigHome();
    void failuresAreReported();
    void fullDiskLeavesTheOldFile_data();
    void fullDiskLeavesTheOldFile();
    void installedStoreIsUsed();

private:
    QTemporaryDir m_dir;
};

void TestUserStore::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // Before any QSettings exists, so the per-user store lands here and not in the home.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath("config")));
}

void TestUserStore::valuesRoundTripAsText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "NameStr" << "Jo Bloggs";
    QTest::newRow("commas") << "Addr1Str" << "PO Box 123, Sometown";
    QTest::newRow("hex colour") << "Grad3Str" << "$00BBFFFF";
    QTest::newRow("number") << "QdayStr" << "90";
    QTest::newRow("path") << "MateStr" << "C:\\Brelvan\\Letters\\Bas.Xls";
    QTest::newRow("empty") << "LicStr" << "";
    QTest::newRow("line breaks") << "R1Str" << "one\r\ntwo";
    QTest::newRow("non-ASCII") << "NameStr" << QString::fromUtf8("José Ñoño");
}

void TestUserStore::valuesRoundTripAsText()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    const QString path = m_dir.filePath("roundtrip.conf");
    {
        UserStore store(path);
        QVERIFY(store.write(name, value));
        QVERIFY(store.flush());
    }
    UserStore store(path);
    QString read = "stale";
    QVERIFY(store.read(name, &read));
    QCOMPARE(read, value);
}

void TestUserStore::missingValueReadsEmpty()
{
    UserStore store(m_dir.filePath("none.conf"));
    QString read = "stale";
    QVERIFY(store.read("NameStr", &read));
    QCOMPARE(read, QString());
    QVERIFY(!QFile::exists(m_dir.filePath("none.conf")));
}

void TestUserStore::currentUserStoreFollowsConfigHome()
{
    UserStore store;
    QCOMPARE(QDir::cleanPath(store.location()),
             QDir::cleanPath(m_dir.filePath("config/Tamblow/Brelvan.conf")));
    QVERIFY(store.write("NameStr", "Owner"));
    QVERIFY(store.flush());
    QVERIFY(QFile::exists(m_dir.filePath("config/Tamblow/Brelvan.conf")));
}

void TestUserStore::failuresAreReported()
{
    // A store whose folder cannot exist, because a file stands where the folder should.
    const QString blocker = m_dir.filePath("blocker");
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    UserStore unwritable(blocker + "/Brelvan.conf");
    QVERIFY(!(unwritable.write("NameStr", "x") && unwritable.flush()));
    QVERIFY(!unwritable.errorString().isEmpty());

    // A store that cannot be read: damaged, or a folder where the file should be.
    const QString damaged = m_dir.filePath("damaged.conf");
    QFile d(damaged);
    QVERIFY(d.open(QIODevice::WriteOnly));
    d.write("[General]\nNameStr=x\n[unclosed\n");
    d.close();
    QVERIFY(QDir(m_dir.path()).mkpath("folder.conf"));
    for (const QString &path : {damaged, m_dir.filePath("folder.conf")}) {
        UserStore broken(path);
        QString read = "stale";
        QVERIFY2(!broken.read("NameStr", &read), qPrintable(path));
        QCOMPARE(read, QString());
        QVERIFY(!broken.errorString().isEmpty());
    }
}

void TestUserStore::fullDiskLeavesTheOldFile_data()
{
    QTest::addColumn<int>("freeBytes");
    QTest::newRow("not a byte free") << 0;
    // room for the lock file, none for the new file beside the old
    QTest::newRow("one page free") << 4096;
}

void TestUserStore::fullDiskLeavesTheOldFile()
{
    QFETCH(int, freeBytes);
    SmallDisk disk;
    if (!disk.mount(64))
        QSKIP(qPrintable(disk.why()));
    const QString path = disk.filePath("Brelvan.conf");
    {
        UserStore store(path);
        QVERIFY(store.write("NameStr", "Jo Bloggs"));
        QVERIFY(store.write("EntryStr", "secret"));
        QVERIFY(store.flush());
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray old = f.readAll();
    f.close();
    QVERIFY(old.contains("Jo Bloggs"));
    disk.fill(freeBytes);

    UserStore store(path);
    QVERIFY(store.write("NameStr", QString(12000, u'x')));
    QVERIFY(!store.flush());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);
    f.close();
    QVERIFY2(store.errorString().contains(path), qPrintable(store.errorString()));
    QVERIFY2(store.errorString().contains("No space left on device"),
             qPrintable(store.errorString()));
}

void TestUserStore::installedStoreIsUsed()
{
    UserStore mine(m_dir.filePath("installed.conf"));
    installUserStore(&mine);
    QCOMPARE(&userStore(), &mine);
    installUserStore(nullptr);
    QVERIFY(&userStore() != &mine);
}

QTEST_GUILESS_MAIN(TestUserStore)
#include "tst_userstore.moc"
