// The program's own files under faults, through the real window: a full disk at close, a
// damaged INI file, tables that cannot be opened, and two copies over one program folder.

#include "testing/fixture.h"

#include "data/schema.h"
#include "platform/table/database.h"
#include "office/officepage.h"
#include "shell/exceptionlog.h"
#include "shell/tmainform.h"

#include "../smalldisk.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace Brelvan;
using Brelvan::Testing::Fixture;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void putBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QPlainTextEdit *box(Fixture &f, const char *name)
{
    return f.mainForm()->findChild<QPlainTextEdit *>(QLatin1String(name));
}

// Types a line at the end of this copy's to-do box and leaves the box, as a user would.
void typeToDo(Fixture &f, const QString &line)
{
    f.use();
    QApplication::setActiveWindow(f.mainForm());
    QPlainTextEdit *toDo = box(f, "TDo");
    toDo->setFocus();
    toDo->moveCursor(QTextCursor::End);
    QTest::keyClick(toDo, Qt::Key_Return);
    QTest::keyClicks(toDo, line);
    box(f, "Daytime")->setFocus();
}

const QString merged = QStringLiteral(
    "The to-do list was changed by another copy of Brelvan while this copy had it open. Both "
    "are kept: the lines added here now follow the other copy's list.");

} // namespace

class TestFileFaults : public QObject
{
    Q_OBJECT

private slots:
    void fullDiskAtCloseKeepsBothSettingsFiles()
    {
        SmallDisk disk;
        if (!disk.mount(4096))
            QSKIP(qPrintable(disk.why()));
        Fixture f(Fixture::EmptyTables, disk.path());
        f.writeUserValue("NameStr", "Pat Painter");
        f.start();
        const QString ini = f.programFolder() + "brelvan.INI";
        const QString conf = f.programFolder() + "user.conf";
        const QByteArray oldIni = bytesOf(ini);
        const QByteArray oldConf = bytesOf(conf);
        QVERIFY(oldIni.contains("DataStr=Data"));
        // both stores have something new to take
        f.form()->officePage()->edit("Co")->setText(QString(9000, u'c'));
        f.form()->officePage()->edit("OwnerName")->setText(QString(9000, u'n'));
        disk.fill();
        // closing the tables gives their journal's space back: fill it again before the
        // window goes and writes the per-user values
        f.form()->close();
        disk.fill();
        f.close();

        QCOMPARE(bytesOf(ini), oldIni);
        QCOMPARE(bytesOf(conf), oldConf);
        const QStringList shown = f.dialogs().shown(Dialogs::Kind::Error);
        QVERIFY2(shown.contains("Exception: IniFile Write Error."), qPrintable(shown.join('|')));
        QVERIFY2(shown.contains("Registry Exception 02: Information Saving Failed."),
                 qPrintable(shown.join('|')));
        for (const auto &[text, file] : {std::pair{"Exception: IniFile Write Error.", ini},
                                         {"Registry Exception 02: Information Saving Failed.",
                                          conf}}) {
            const QString detail = f.dialogs().detailOf(text);
            QVERIFY2(detail.contains(file), qPrintable(detail));
            QVERIFY2(detail.contains("No space left on device"), qPrintable(detail));
        }
        disk.freeAll();
    }

    void iniReadErrorNamesTheFileAndTheLine()
    {
        Fixture f(Fixture::EmptyTables);
        const QString ini = f.programFolder() + "brelvan.INI";
        putBytes(ini, "[Detail]\r\nDataStr=Data\r\nthis is no ini line\r\nCompany=Acme\r\n");
        // reading stops at the first key the bad line may hide (ABN), so DataStr keeps its
        // default and the tables are not found: the offer to quit follows
        f.dialogs().answer(false);
        f.start();
        const QString failed = QStringLiteral("Exception : Failed to load from IniFile.");
        QCOMPARE(f.dialogs().shown().value(0), failed);
        const QString detail = f.dialogs().detailOf(failed);
        QVERIFY2(detail.contains(ini) && detail.contains("line 3"), qPrintable(detail));
    }

    void startUpFailureCarriesTheReasonAndTheFile()
    {
        Fixture f(Fixture::EmptyTables);
        {
            auto db = Table::Database::openFolder(f.dataFolder(), brelvanSchema());
            db->exec("DROP TABLE \"Paint\"");
        }
        f.dialogs().answer(false);
        f.start();
        QCOMPARE(f.dialogs().shown(), QStringList({"Sorry, Nobody Home", "Do you wish to Quit ?"}));
        const QString detail = f.dialogs().detailOf("Sorry, Nobody Home");
        QVERIFY2(detail.contains("Table Paint is missing"), qPrintable(detail));
        QVERIFY2(detail.contains(QDir::toNativeSeparators(f.dataFolder() + "/Brelvan.db")),
                 qPrintable(detail));
        QVERIFY(bytesOf(f.programFolder() + "brelvan.Log").contains("Table Paint is missing"));
    }

    void failedLogAppendIsToldAndCutsNothing()
    {
        SmallDisk disk;
        if (!disk.mount(64))
            QSKIP(qPrintable(disk.why()));
        const QString log = disk.filePath("brelvan.Log");
        putBytes(log, "11/12/2026 09:00:00:an earlier error\r\n");
        ExceptionLog::setFile(log);
        ScriptedDialogs dialogs;
        installDialogs(&dialogs);
        disk.fill();
        ExceptionLog::report(QString(9000, u'e'));
        installDialogs(nullptr);
        QCOMPARE(bytesOf(log), QByteArray("11/12/2026 09:00:00:an earlier error\r\n"));
        QCOMPARE(dialogs.shown(), QStringList{QString(9000, u'e')});
        const QString detail = dialogs.detailOf(QString(9000, u'e'));
        QVERIFY2(detail.contains(log) && detail.contains("No space left on device"),
                 qPrintable(detail));
        disk.freeAll();
    }

    void copyThatTypedNothingKeepsTheOthersToDo()
    {
        Fixture first(Fixture::EmptyTables);
        putBytes(first.dataFolder() + "/ToDo.Txt", "Paint fence");
        first.start();
        Fixture second(Fixture::EmptyTables, first.programFolder());
        second.start();
        typeToDo(second, "Ring the council");
        second.close();
        QCOMPARE(bytesOf(first.dataFolder() + "/ToDo.Txt"),
                 QByteArray("Paint fence\r\nRing the council"));
        // the first copy, untouched, closes last: its stale text is not written
        first.close();
        QCOMPARE(bytesOf(first.dataFolder() + "/ToDo.Txt"),
                 QByteArray("Paint fence\r\nRing the council"));
        QVERIFY(first.dialogs().shown().isEmpty());
    }

    void copiesThatBothTypedKeepBothLists()
    {
        Fixture first(Fixture::EmptyTables);
        putBytes(first.dataFolder() + "/ToDo.Txt", "Paint fence");
        first.start();
        Fixture second(Fixture::EmptyTables, first.programFolder());
        second.start();
        typeToDo(second, "Ring the council");
        // typed in the first copy after the second saved, with the box never left
        first.use();
        QApplication::setActiveWindow(first.mainForm());
        box(first, "TDo")->appendPlainText("Buy rollers");
        first.close();
        QCOMPARE(bytesOf(first.dataFolder() + "/ToDo.Txt"),
                 QByteArray("Paint fence\r\nRing the council\r\nBuy rollers"));
        QCOMPARE(first.dialogs().shown(), QStringList{merged});
        QVERIFY(second.dialogs().shown().isEmpty());
        // the second copy, unchanged since, takes the merged list when its box is entered
        second.use();
        QApplication::setActiveWindow(second.mainForm());
        box(second, "TDo")->setFocus();
        QCOMPARE(box(second, "TDo")->toPlainText(),
                 QStringLiteral("Paint fence\nRing the council\nBuy rollers"));
    }
};

BRELVAN_TEST_MAIN(TestFileFaults)
#include "tst_filefaults.moc"
