#include "platform/desktop/scripteddialogs.h"

#include <QtTest>

#include <stdexcept>

using Brelvan::Dialogs;
using Brelvan::FontChoice;
using Brelvan::ScriptedDialogs;

class TestScriptedDialogs : public QObject
{
    Q_OBJECT

private slots:
    void answersInOrderAndRecordsTexts();
    void cancelGivesNothing_data();
    void cancelGivesNothing();
    void unansweredQuestionFails_data();
    void unansweredQuestionFails();
    void handlerReportsInsteadOfThrowing_data();
    void handlerReportsInsteadOfThrowing();
    void installedForTheProgram();
};

void TestScriptedDialogs::answersInOrderAndRecordsTexts()
{
    ScriptedDialogs d;
    d.answer(true);
    d.answer("Smith");
    d.answer(false);
    d.answer(QStringLiteral("/tmp/Letter1.Txt"));
    d.answer(QColor(Qt::blue));
    d.answer(FontChoice{QFont(QStringLiteral("Arial"), 12), QColor(Qt::red)});

    d.information(QStringLiteral("Only records with Tag = y will be sorted and shown."));
    QCOMPARE(d.confirm(QStringLiteral("Delete record?")), true);
    QCOMPARE(d.input(QStringLiteral("CASE SENSITIVE  search for"),
                     QStringLiteral("Enter Search Criteria"), QString()),
             std::optional<QString>(QStringLiteral("Smith")));
    d.warning(QStringLiteral("Data was NOT specified"));
    QCOMPARE(d.confirm(QStringLiteral("Really?"), QStringLiteral("Brelvan")), false);
    d.error(QStringLiteral("Exception 03: Query Error"));
    QCOMPARE(d.openFile(QStringLiteral("Open"), QString(), QStringLiteral("Text|*.Txt"),
                        QString()),
             QStringLiteral("/tmp/Letter1.Txt"));
    QCOMPARE(d.colour(Qt::white), std::optional<QColor>(QColor(Qt::blue)));
    const auto font = d.font(FontChoice{});
    QVERIFY(font.has_value());
    QCOMPARE(font->font.family(), QStringLiteral("Arial"));
    QCOMPARE(font->color, QColor(Qt::red));
    QCOMPARE(d.pending(), 0);

    // The file chooser's caption is not a text the user reads as a message.
    QCOMPARE(d.shown(), QStringList({QStringLiteral("Only records with Tag = y will be sorted "
                                                    "and shown."),
                                     QStringLiteral("Delete record?"),
                                     QStringLiteral("CASE SENSITIVE  search for"),
                                     QStringLiteral("Data was NOT specified"),
                                     QStringLiteral("Really?"),
                                     QStringLiteral("Exception 03: Query Error")}));
    QCOMPARE(d.shown(Dialogs::Kind::Warning),
             QStringList{QStringLiteral("Data was NOT specified")});
    QCOMPARE(d.shown(Dialogs::Kind::Error),
             QStringList{QStringLiteral("Exception 03: Query Error")});
    QCOMPARE(d.entries().size(), 9);
    QCOMPARE(d.entries().at(2).detail, QStringLiteral("Enter Search Criteria"));
    QCOMPARE(d.entries().at(4).caption, QStringLiteral("Brelvan"));
    QCOMPARE(d.entries().at(6).what, ScriptedDialogs::Entry::What::OpenFile);
    QVERIFY(d.failures().isEmpty());
}

void TestScriptedDialogs::cancelGivesNothing_data()
{
    QTest::addColumn<QString>("question");
    for (const char *q : {"input", "open", "save", "folder", "font", "colour"})
        QTest::newRow(q) << QString::fromLatin1(q);
}

void TestScriptedDialogs::cancelGivesNothing()
{
    QFETCH(QString, question);
    ScriptedDialogs d;
    d.answerCancel();
    if (question == QLatin1String("input"))
        QVERIFY(!d.input(QStringLiteral("c"), QStringLiteral("p"), QStringLiteral("x")));
    else if (question == QLatin1String("open"))
        QVERIFY(d.openFile(QStringLiteral("c"), {}, {}, {}).isEmpty());
    else if (question == QLatin1String("save"))
        QVERIFY(d.saveFile(QStringLiteral("c"), {}, {}, {}).isEmpty());
    else if (question == QLatin1String("folder"))
        QVERIFY(d.folder(QStringLiteral("c"), {}).isEmpty());
    else if (question == QLatin1String("font"))
        QVERIFY(!d.font(FontChoice{}));
    else
        QVERIFY(!d.colour(Qt::red));
    QCOMPARE(d.pending(), 0);
    QVERIFY(d.failures().isEmpty());
}

void TestScriptedDialogs::unansweredQuestionFails_data()
{
    QTest::addColumn<QString>("queued"); // "" for nothing queued
    QTest::addColumn<bool>("input");     // ask an input box rather than Yes/No
    QTest::addColumn<QString>("reason");

    QTest::newRow("nothing queued") << QString() << false << "no answer queued";
    QTest::newRow("text for a question") << "abc" << false << "wants Yes or No";
    QTest::newRow("cancel for a question") << "cancel" << false << "wants Yes or No";
    QTest::newRow("yes for an input box") << "yes" << true << "wants input text";
    QTest::newRow("input, nothing queued") << QString() << true << "no answer queued";
}

void TestScriptedDialogs::unansweredQuestionFails()
{
    QFETCH(QString, queued);
    QFETCH(bool, input);
    QFETCH(QString, reason);

    ScriptedDialogs d;
    if (queued == QLatin1String("cancel"))
        d.answerCancel();
    else if (queued == QLatin1String("yes"))
        d.answer(true);
    else if (!queued.isEmpty())
        d.answer(queued);
    d.information(QStringLiteral("before"));

    const QString question = QStringLiteral("Save changes to Smith?");
    QString thrown;
    try {
        if (input)
            d.input(question, QStringLiteral("prompt"), QString());
        else
            d.confirm(question);
    } catch (const std::runtime_error &e) {
        thrown = QString::fromStdString(e.what());
    }
    QVERIFY2(thrown.contains(question), qPrintable(thrown));
    QVERIFY2(thrown.contains(reason), qPrintable(thrown));
    QCOMPARE(d.failures(), QStringList{thrown});
    // The question is recorded as shown, and the misfitting answer stays for the next one.
    QCOMPARE(d.shown(), QStringList({QStringLiteral("before"), question}));
    QCOMPARE(d.pending(), queued.isEmpty() ? 0 : 1);
}

void TestScriptedDialogs::handlerReportsInsteadOfThrowing_data()
{
    QTest::addColumn<QString>("question");
    for (const char *q : {"confirm", "input", "open", "folder", "colour"})
        QTest::newRow(q) << QString::fromLatin1(q);
}

// A question asked from inside the event loop, where no exception may pass: the handler
// hears of it and the program gets the cautious answer.
void TestScriptedDialogs::handlerReportsInsteadOfThrowing()
{
    QFETCH(QString, question);
    ScriptedDialogs d;
    QStringList reported;
    d.setUnansweredHandler([&reported](const QString &reason) { reported.append(reason); });
    d.answer(QColor(Qt::red)); // fits none but the colour question

    bool cautious = false;
    QTimer::singleShot(0, [&] {
        if (question == QLatin1String("confirm"))
            cautious = !d.confirm(QStringLiteral("Empty the table?"));
        else if (question == QLatin1String("input"))
            cautious = !d.input(QStringLiteral("Empty the table?"), {}, {}).has_value();
        else if (question == QLatin1String("open"))
            cautious = d.openFile(QStringLiteral("Empty the table?"), {}, {}, {}).isEmpty();
        else if (question == QLatin1String("folder"))
            cautious = d.folder(QStringLiteral("Empty the table?"), {}).isEmpty();
        else
            cautious = d.colour(Qt::white) == QColor(Qt::red);
    });
    QTest::qWait(20);
    QVERIFY(cautious);
    if (question == QLatin1String("colour")) {
        QVERIFY(reported.isEmpty());
        return;
    }
    QCOMPARE(reported.size(), 1);
    QVERIFY2(reported.first().contains(QStringLiteral("Empty the table?")),
             qPrintable(reported.first()));
    QCOMPARE(d.failures(), reported);
    QCOMPARE(d.pending(), 1);
}

void TestScriptedDialogs::installedForTheProgram()
{
    ScriptedDialogs d;
    Brelvan::installDialogs(&d);
    Brelvan::dialogs().warning(QStringLiteral("Add new records first."));
    d.answer(true);
    QVERIFY(Brelvan::dialogs().confirm(QStringLiteral("Continue?")));
    Brelvan::installDialogs(nullptr);
    QCOMPARE(d.shown(), QStringList({QStringLiteral("Add new records first."),
                                     QStringLiteral("Continue?")}));
}

QTEST_MAIN(TestScriptedDialogs)
#include "tst_scripteddialogs.moc"
