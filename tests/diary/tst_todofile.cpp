#include "diary/todofile.h"

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

QTEST_MAIN(TestToDoFile)
#include "tst_todofile.moc"
