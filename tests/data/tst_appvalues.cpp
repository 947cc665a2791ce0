#include "data/appvalues.h"
#include "data/datasession.h"

#include <QTest>

using namespace Brelvan;

class TestAppValues : public QObject
{
    Q_OBJECT

private slots:
    void dataFolderSetting_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("dataStr");
        QTest::newRow("below the program folder") << "/opt/brelvan/Data" << "Data";
        QTest::newRow("two below") << "/opt/brelvan/Data/2025" << "Data/2025";
        QTest::newRow("the program folder itself") << "/opt/brelvan" << "";
        QTest::newRow("with a trailing slash") << "/opt/brelvan/" << "";
        QTest::newRow("a USB stick") << "/media/pat/STICK/Data" << "/media/pat/STICK/Data";
        QTest::newRow("a sibling with a like name") << "/opt/brelvan2/Data"
                                                    << "/opt/brelvan2/Data";
    }
    void dataFolderSetting()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, dataStr);
        const AppValues v = AppValues::forFolder(QStringLiteral("/opt/brelvan/"));
        QCOMPARE(v.dataStrFor(chosen), dataStr);
        // the setting opens the folder chosen
        QCOMPARE(QDir::cleanPath(v.dataFolderOf(dataStr)), QDir::cleanPath(chosen));
    }

    void serverAddress_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("address alone") << "192.168.1.20" << "192.168.1.20" << 5432;
        QTest::newRow("with a port") << "192.168.1.20:5433" << "192.168.1.20" << 5433;
        QTest::newRow("a name with a port") << " office-pc:6000 " << "office-pc" << 6000;
        QTest::newRow("not a port") << "office-pc:abc" << "office-pc:abc" << 5432;
        QTest::newRow("IPv6") << "fe80::1" << "fe80::1" << 5432;
        QTest::newRow("IPv6 with a port") << "[fe80::1]:5433" << "fe80::1" << 5433;
    }
    void serverAddress()
    {
        QFETCH(QString, setting);
        QFETCH(QString, host);
        QFETCH(int, port);
        const Table::ServerAddress s = serverAddressOf(setting);
        QCOMPARE(s.host, host);
        QCOMPARE(s.port, port);
    }
};

QTEST_GUILESS_MAIN(TestAppValues)
#include "tst_appvalues.moc"
