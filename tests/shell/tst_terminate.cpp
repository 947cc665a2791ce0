// The real program, started as a process over a demo data folder, closes on SIGTERM as if
// its close button was clicked: settings and to-do list written, tables flushed.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestTerminate : public QObject
{
    Q_OBJECT

private slots:
    void sigtermRunsTheCloseSequence()
    {
        QTemporaryDir home;
        const QString bin = QStringLiteral(BRELVAN_BIN_DIR);
        QCOMPARE(QProcess::execute(bin + "/brelvan-data",
                                   {"create", home.filePath("Data"), "--demo"}), 0);
        QCOMPARE(QProcess::execute(bin + "/brelvan-data",
                                   {"set-data-folder", home.path(), "Data"}), 0);
        QFile todo(home.filePath("Data/ToDo.Txt"));
        QVERIFY(todo.open(QIODevice::ReadOnly));
        const QByteArray todoBefore = todo.readAll();
        todo.close();

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("BRELVAN_HOME", home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        p.setProcessEnvironment(env);
        p.start(bin + "/brelvan");
        QVERIFY(p.waitForStarted());
        // the window is up once the log of a started program would be quiet: give it time
        QTest::qWait(1500);
        QCOMPARE(p.state(), QProcess::Running);
        ::kill(pid_t(p.processId()), SIGTERM);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);

        QFile ini(home.filePath("brelvan.INI"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray text = ini.readAll();
        QVERIFY(text.contains("[Font]"));
        QVERIFY(text.contains("CompanyFont=Arial"));
        QVERIFY(text.contains("DataStr=Data"));
        QVERIFY(todo.open(QIODevice::ReadOnly));
        QCOMPARE(todo.readAll(), todoBefore);
        QVERIFY(QFile::exists(home.filePath("config/Tamblow/Brelvan.conf")));
    }
};

QTEST_GUILESS_MAIN(TestTerminate)
#include "tst_terminate.moc"
