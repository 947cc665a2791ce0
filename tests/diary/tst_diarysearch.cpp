#include "diary/diarysearch.h"

#include <QFontMetrics>
#include <QTest>

using namespace Brelvan;

class TestDiarySearch : public QObject
{
    Q_OBJECT

private slots:
    void stepsByTheLineWhereAMatchStarts_data();
    void stepsByTheLineWhereAMatchStarts();
    void occurrencesFromTheStart();
};

void TestDiarySearch::stepsByTheLineWhereAMatchStarts_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wrapped");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("first occurrence per line")
        << "ab ab\nxx\nab" << "ab" << false << QList<int>{0, 9};
    QTest::newRow("case sensitive") << "Meeting at 2" << "meeting" << false << QList<int>{};
    QTest::newRow("empty text never matches") << "anything" << "" << false << QList<int>{};
    QTest::newRow("a line break of the note is no blank") << "paint\njob" << "paint job"
                                                          << false << QList<int>{};
    QTest::newRow("across a wrap found on its first line")
        << "aaaa bbbb" << "aaaa bbbb" << true << QList<int>{0};
    QTest::newRow("a wrapped phrase starting late in its line")
        << "cc aa bbbb" << "aa bbbb" << true << QList<int>{3};
    QTest::newRow("second shown line found") << "aaaa bbbb" << "bbbb" << true << QList<int>{5};
    QTest::newRow("a line holding only the end of a match is no step")
        << "aaaa bbbb bbbb" << "aaaa bbbb" << true << QList<int>{0};
    QTest::newRow("unwrapped finds it") << "aaaa bbbb" << "aaaa bbbb" << false << QList<int>{0};
}

void TestDiarySearch::stepsByTheLineWhereAMatchStarts()
{
    QFETCH(QString, note);
    QFETCH(QString, text);
    QFETCH(bool, wrapped);
    QFETCH(QList<int>, expected);
    const QFont font(QStringLiteral("DejaVu Sans"), 10);
    // room for "aaaa " and a little, not for "aaaa b"
    const int width = wrapped ? QFontMetrics(font).horizontalAdvance(QStringLiteral("aaaa ")) + 2
                              : 0;
    QCOMPARE(DiarySearch::lineMatches(note, text, font, width), expected);
}

void TestDiarySearch::occurrencesFromTheStart()
{
    QCOMPARE(DiarySearch::occurrences(QStringLiteral("aaaa"), QStringLiteral("aa")),
             QList<int>({0, 2}));
    QCOMPARE(DiarySearch::occurrences(QStringLiteral("x"), QString()), QList<int>());
}

QTEST_MAIN(TestDiarySearch)
#include "tst_diarysearch.moc"
