#include "platform/desktop/ui/fontcolourdialog.h"
#include "platform/desktop/ui/qtdialogs.h"

#include <QtTest>

#include <QApplication>
#include <QFontDatabase>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <functional>

using Brelvan::Dialogs;
using Brelvan::FontChoice;
using Brelvan::QtDialogs;

class TestQtDialogs : public QObject
{
    Q_OBJECT

private slots:
    void fileFilter_data();
    void fileFilter();
    void messageCaption_data();
    void messageCaption();
    void confirmYesNo_data();
    void confirmYesNo();
    void inputTextOrCancel_data();
    void inputTextOrCancel();
    void fontKeepsColour();
    void fontUnchangedOnOk_data();
    void fontUnchangedOnOk();
};

namespace {

// Acts on the modal window as soon as it is up, from inside its event loop.
void whenModal(std::function<void(QWidget *)> act)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start();
}

} // namespace

void TestQtDialogs::fileFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one") << "Text|*.Txt" << "Text (*.Txt)";
    QTest::newRow("all files") << "All|*.*" << "All (*)";
    QTest::newRow("two") << "Text|*.Txt|All|*.*" << "Text (*.Txt);;All (*)";
    QTest::newRow("several patterns") << "Pictures|*.jpg;*.bmp" << "Pictures (*.jpg *.bmp)";
    QTest::newRow("patterns in the name") << "Text files (*.txt)|*.txt"
                                          << "Text files (*.txt)";
    QTest::newRow("no pattern") << "Text|" << "Text (*)";
    QTest::newRow("already Qt form") << "Text (*.txt);;All (*)" << "Text (*.txt);;All (*)";
    QTest::newRow("empty") << "" << "";
}

void TestQtDialogs::fileFilter()
{
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(Brelvan::qtFileFilter(filter), expected);
}

void TestQtDialogs::messageCaption_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::newRow("information") << int(Dialogs::Kind::Information) << QString() << "Brelvan"
                                 << int(QMessageBox::Information);
    QTest::newRow("warning") << int(Dialogs::Kind::Warning) << "Backup" << "Backup"
                             << int(QMessageBox::Warning);
    QTest::newRow("error") << int(Dialogs::Kind::Error) << QString() << "Brelvan"
                           << int(QMessageBox::Critical);
}

void TestQtDialogs::messageCaption()
{
    QFETCH(int, kind);
    QFETCH(QString, caption);
    QFETCH(QString, title);
    QFETCH(int, icon);

    QString seenTitle;
    QString seenText;
    int seenIcon = -1;
    whenModal([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    QtDialogs d;
    d.message(Dialogs::Kind(kind), QStringLiteral("Add new records first."), caption);
    QCOMPARE(seenTitle, title);
    QCOMPARE(seenText, QStringLiteral("Add new records first."));
    QCOMPARE(seenIcon, icon);
}

void TestQtDialogs::confirmYesNo_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestQtDialogs::confirmYesNo()
{
    QFETCH(bool, yes);
    // Asked in the middle of a walk that shows the hourglass.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Qt::CursorShape asking = Qt::WaitCursor;
    whenModal([yes, &asking](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        asking = QApplication::overrideCursor()->shape();
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    QtDialogs d;
    QCOMPARE(d.confirm(QStringLiteral("Delete?")), yes);
    QCOMPARE(asking, Qt::ArrowCursor);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
}

void TestQtDialogs::inputTextOrCancel_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("typed");
    QTest::newRow("typed") << true << "Smith";
    QTest::newRow("emptied") << true << "";
    QTest::newRow("cancelled") << false << "Smith";
}

void TestQtDialogs::inputTextOrCancel()
{
    QFETCH(bool, accept);
    QFETCH(QString, typed);
    QString preset;
    QString prompt;
    whenModal([&](QWidget *w) {
        auto *dialog = qobject_cast<QInputDialog *>(w);
        QVERIFY(dialog);
        preset = dialog->textValue();
        prompt = dialog->labelText();
        dialog->setTextValue(typed);
        accept ? dialog->accept() : dialog->reject();
    });
    QtDialogs d;
    const std::optional<QString> result = d.input(QStringLiteral("CASE SENSITIVE  search for"),
                                                  QStringLiteral("Enter Search Criteria"),
                                                  QStringLiteral("last"));
    QCOMPARE(preset, QStringLiteral("last"));
    QCOMPARE(prompt, QStringLiteral("Enter Search Criteria"));
    if (accept)
        QCOMPARE(result, std::optional<QString>(typed));
    else
        QVERIFY(!result.has_value());
}

void TestQtDialogs::fontKeepsColour()
{
    const FontChoice initial{QFont(QStringLiteral("DejaVu Sans"), 14), QColor(Qt::darkGreen)};
    whenModal([](QWidget *w) {
        auto *dialog = qobject_cast<QDialog *>(w);
        QVERIFY(dialog);
        dialog->accept();
    });
    QtDialogs d;
    const std::optional<FontChoice> chosen = d.font(initial);
    QVERIFY(chosen.has_value());
    QCOMPARE(chosen->color, QColor(Qt::darkGreen));
    QCOMPARE(chosen->font.pointSize(), 14);

    whenModal([](QWidget *w) { static_cast<QDialog *>(w)->reject(); });
    QVERIFY(!d.font(initial).has_value());
}

void TestQtDialogs::fontUnchangedOnOk_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    // DejaVu names its plain face "Book", which Qt's own dialog mistakes for "Oblique".
    QTest::newRow("DejaVu plain") << "DejaVu Sans" << false << false;
    QTest::newRow("DejaVu bold") << "DejaVu Sans" << true << false;
    QTest::newRow("DejaVu italic") << "DejaVu Sans" << false << true;
    QTest::newRow("Liberation plain") << "Liberation Sans" << false << false;
    QTest::newRow("Liberation bold italic") << "Liberation Sans" << true << true;
}

void TestQtDialogs::fontUnchangedOnOk()
{
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    if (!QFontDatabase::hasFamily(family))
        QSKIP("font not installed");
    QFont font(family, 11);
    font.setBold(bold);
    font.setItalic(italic);
    Brelvan::FontColourDialog dialog(FontChoice{font, QColor(Qt::black)});
    const QFont chosen = dialog.choice().font;
    QCOMPARE(chosen.family(), family);
    QCOMPARE(chosen.pointSize(), 11);
    QCOMPARE(chosen.bold(), bold);
    QCOMPARE(chosen.italic(), italic);
    QVERIFY(chosen.styleName().isEmpty());
}

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
