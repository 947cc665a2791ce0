#include "diary/todofile.h"
#include "diary/todolist.h"

#include "../smalldisk.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Brelvan;

class TestToDoFile : public QObject
{
    Q_OBJECT

private slots:
    void roundTripThroughTheBox_data();
    void roundTripThroughTheBox();
    void missingFileLoadsEmpty();
    void unwritableFileThrowsAndNothingIsWritten();
    void everyCharacterSurvives();
    void changedLineIsUtf8OthersKeepTheirBytes();
    void fullDiskLeavesTheOldList();
    void twoCopiesOverOneFile_data();
    void twoCopiesOverOneFile();

private:
    QTemporaryDir m_dir;
};

void TestToDoFile::roundTripThroughTheBox_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("no final line break") << QByteArray("Buy paint\r\nRing Mr Smith\r\nQuote");
    QTest::newRow("final line break kept") << QByteArray("Buy paint\r\nRing\r\n");
    QTest::newRow("empty lines") << QByteArray("\r\n\r\nGutters\r\n\r\n");
    QTest::newRow("single-byte accents") << QByteArray("Caf\xe9 job \xa3" "50\r\n\xff");
    QTest::newRow("Windows-1252 quotes, dash, euro")
        << QByteArray("\x93Smith\x94 \x96 \x80" "120\r\nM\xfcller & S\xf6hne");
    QTest::newRow("UTF-8") << QByteArray("\xe2\x80\x9cSmith\xe2\x80\x9d \xe2\x82\xac" "120");
    QTest::newRow("one line") << QByteArray("Sand doors");
    QTest::newRow("empty file") << QByteArray();
}

void TestToDoFile::roundTripThroughTheBox()
{
    // through a real text box, as the page holds it between load and save
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath(QStringLiteral("ToDo.Txt"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QPlainTextEdit box;
    box.setPlainText(ToDoFile::load(path));
    ToDoFile::save(path, box.toPlainText());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), bytes);
}

void TestToDoFile::missingFileLoadsEmpty()
{
    QCOMPARE(ToDoFile::load(m_dir.filePath(QStringLiteral("none.Txt"))), QString());
}

void TestToDoFile::unwritableFileThrowsAndNothingIsWritten()
{
    const QString path = m_dir.filePath(QStringLiteral("NoFolder/ToDo.Txt"));
    bool thrown = false;
    try {
        ToDoFile::save(path, QStringLiteral("Paint fence"));
    } catch (const std::runtime_error &e) {
        thrown = true;
        QVERIFY(QString::fromUtf8(e.what()).contains(path));
    }
    QVERIFY(thrown);
    QVERIFY(!QFile::exists(path));
}

void TestToDoFile::everyCharacterSurvives()
{
    const QString path = m_dir.filePath(QStringLiteral("Chars.Txt"));
    const QString text = QString::fromUtf8("€120 “Smith” ‘job’ – — … Müller & Söhne ñ 日本");
    ToDoFile::save(path, text + "\nnext");
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), (text + "\r\nnext").toUtf8());
    QCOMPARE(ToDoFile::load(path), text + "\nnext");
}

void TestToDoFile::changedLineIsUtf8OthersKeepTheirBytes()
{
    const QString path = m_dir.filePath(QStringLiteral("Mixed.Txt"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("M\xfcller \x96 fence\r\nRing Bob");
    }
    ToDoList list(path);
    const QString text = list.load();
    QCOMPARE(text, QString::fromUtf8("Müller – fence\nRing Bob"));
    QCOMPARE(list.save(text + QString::fromUtf8("\nPay €5")).outcome, ToDoList::Outcome::Written);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("M\xfcller \x96 fence\r\nRing Bob\r\nPay \xe2\x82\xac" "5"));
    // the file holds both encodings now and reads back whole
    QCOMPARE(ToDoFile::load(path), QString::fromUtf8("Müller – fence\nRing Bob\nPay €5"));
}

void TestToDoFile::fullDiskLeavesTheOldList()
{
    SmallDisk disk;
    if (!disk.mount(64))
        QSKIP(qPrintable(disk.why()));
    const QString path = disk.filePath(QStringLiteral("ToDo.Txt"));
    ToDoFile::save(path, QStringLiteral("Buy paint\nRing Mr Smith"));
    disk.fill();
    bool thrown = false;
    try {
        ToDoFile::save(path, QString(9000, u'x'));
    } catch (const std::runtime_error &e) {
        thrown = true;
        QVERIFY2(QString::fromUtf8(e.what()).contains(path), e.what());
        QVERIFY2(QString::fromUtf8(e.what()).contains("No space left on device"), e.what());
    }
    QVERIFY(thrown);
    QCOMPARE(ToDoFile::load(path), QStringLiteral("Buy paint\nRing Mr Smith"));
}

void TestToDoFile::twoCopiesOverOneFile_data()
{
    QTest::addColumn<QString>("mine");     // this copy's box at save; "=" for unchanged
    QTest::addColumn<QString>("theirs");   // the other copy's save before it; "=" for none
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("file");     // the file afterwards, and what the box shows

    const QString base = QStringLiteral("Paint fence\nRing Bob");
    QTest::newRow("nothing changed: nothing written")
        << "=" << "=" << int(ToDoList::Outcome::Unchanged) << base;
    QTest::newRow("only the other copy changed: taken")
        << "=" << "Paint fence\nRing Bob\nSand doors"
        << int(ToDoList::Outcome::Reloaded) << "Paint fence\nRing Bob\nSand doors";
    QTest::newRow("only this copy changed: written")
        << "Paint fence" << "=" << int(ToDoList::Outcome::Written) << "Paint fence";
    QTest::newRow("both changed: both kept")
        << "Paint fence\nRing Bob\nBuy rollers" << "Ring Bob\nSand doors"
        << int(ToDoList::Outcome::Merged) << "Ring Bob\nSand doors\nBuy rollers";
    QTest::newRow("both added the same line: once")
        << "Paint fence\nRing Bob\nSand doors" << "Paint fence\nRing Bob\nSand doors"
        << int(ToDoList::Outcome::Merged) << "Paint fence\nRing Bob\nSand doors";
    QTest::newRow("this copy only deleted: the other's list stands")
        << "Ring Bob" << "Paint fence\nRing Bob\nSand doors"
        << int(ToDoList::Outcome::Merged) << "Paint fence\nRing Bob\nSand doors";
}

void TestToDoFile::twoCopiesOverOneFile()
{
    QFETCH(QString, mine);
    QFETCH(QString, theirs);
    QFETCH(int, outcome);
    QFETCH(QString, file);

    const QString path = m_dir.filePath(QStringLiteral("Shared.Txt"));
    ToDoFile::save(path, QStringLiteral("Paint fence\nRing Bob"));
    ToDoList first(path);
    ToDoList second(path);
    const QString read = first.load();
    second.load();
    if (theirs != "=")
        QCOMPARE(second.save(theirs).outcome, ToDoList::Outcome::Written);
    const ToDoList::Result r = first.save(mine == "=" ? read : mine);
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(r.text, file);
    QCOMPARE(ToDoFile::load(path), file);
    // what the copy now holds counts as read: a second save writes nothing
    QCOMPARE(first.save(r.text).outcome, ToDoList::Outcome::Unchanged);
}

QTEST_MAIN(TestToDoFile)
#include "tst_todofile.moc"
