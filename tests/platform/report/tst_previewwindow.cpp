#include "platform/desktop/dialogs.h"
#include "platform/desktop/shell.h"
#include "platform/report/memorysource.h"
#include "platform/report/report.h"
#include "platform/report/reportviewer.h"
#include "platform/report/ui/exportdialog.h"
#include "platform/report/ui/pageview.h"
#include "platform/report/ui/previewviewer.h"
#include "platform/report/ui/previewwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace Brelvan;

namespace {

// Answers file choosers from a queue and keeps every message and caption asked.
class ScriptedDialogs : public Dialogs
{
public:
    QStringList paths;
    QStringList shown;
    QStringList filters;

    void message(Kind, const QString &text, const QString &) override { shown.append(text); }
    bool confirm(const QString &text, const QString &) override
    {
        shown.append(text);
        return false;
    }
    std::optional<QString> input(const QString &caption, const QString &, const QString &) override
    {
        shown.append(caption);
        return std::nullopt;
    }
    QString openFile(const QString &caption, const QString &, const QString &filter,
                     const QString &) override
    {
        return next(caption, filter);
    }
    QString saveFile(const QString &caption, const QString &, const QString &filter,
                     const QString &fileName) override
    {
        shown.append(fileName);
        return next(caption, filter);
    }
    std::optional<FontChoice> font(const FontChoice &) override { return std::nullopt; }
    std::optional<QColor> colour(const QColor &) override { return std::nullopt; }
    QString folder(const QString &, const QString &) override { return {}; }

private:
    QString next(const QString &caption, const QString &filter)
    {
        shown.append(caption);
        filters.append(filter);
        if (paths.isEmpty())
            qFatal("unanswered file chooser: %s", qPrintable(caption));
        return paths.takeFirst();
    }
};

class RecordingShell : public Shell
{
public:
    QStringList opened;
    bool open(const QString &target) override
    {
        opened.append(target);
        return true;
    }
    bool run(const QString &, const QStringList &) override { return true; }
    bool copyFolder(const QString &, const QString &) override { return true; }
    QList<QStringList> mailed;
    bool canMail = true;
    bool mailFiles(const QStringList &files) override
    {
        mailed.append(files);
        return canMail;
    }
};

Document threePages()
{
    QList<QVariantMap> rows;
    for (int i = 1; i <= 130; ++i)
        rows.append({{"Name", QString("Row %1").arg(i)}});
    MemorySource source(rows);
    Report r;
    r.setReportTitle("Client List").source(&source);
    r.now(QDateTime(QDate(2026, 3, 15), QTime(9, 30)));
    r.detail().height(5).field(0, 0, 60, 5, "Name");
    r.pageFooter().height(10).pageNumber(0, 2, 40, 5).prefix("Page ");
    return r.render();
}

void click(QWidget *window, const char *name)
{
    auto *button = window->findChild<QToolButton *>(name);
    QVERIFY2(button, name);
    QVERIFY2(button->isEnabled(), name);
    button->click();
}

} // namespace

class TestPreviewWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void movesThroughPages();
    void zooms();
    void savesAndLoads();
    void loadRefusesOtherFiles();
    void exportsThroughItsDialog();
    void exportDialogOptions();
    void mailsTheExportedFile();
    void mailsThroughTheDesktopsMailer();
    void viewerShowsModalPreview();

private:
    ScriptedDialogs m_dialogs;
    RecordingShell m_shell;
    QTemporaryDir m_dir;
};

void TestPreviewWindow::init()
{
    m_dialogs = ScriptedDialogs();
    m_shell.opened.clear();
    m_shell.mailed.clear();
    m_shell.canMail = true;
    installDialogs(&m_dialogs);
    installShell(&m_shell);
}

void TestPreviewWindow::cleanup()
{
    installDialogs(nullptr);
    installShell(nullptr);
    installReportViewer(nullptr);
}

void TestPreviewWindow::movesThroughPages()
{
    PreviewWindow w(threePages());
    w.show();
    QCOMPARE(w.windowTitle(), QString("Print Preview"));
    auto *label = w.findChild<QLabel *>("PageLabel");
    QCOMPARE(label->text(), QString("Page 1 of 3"));
    QVERIFY(!w.findChild<QToolButton *>("PriorPageBtn")->isEnabled());
    click(&w, "NextPageBtn");
    QCOMPARE(w.currentPage(), 1);
    click(&w, "LastPageBtn");
    QCOMPARE(label->text(), QString("Page 3 of 3"));
    QVERIFY(!w.findChild<QToolButton *>("NextPageBtn")->isEnabled());
    click(&w, "PriorPageBtn");
    QCOMPARE(w.currentPage(), 1);
    click(&w, "FirstPageBtn");
    QCOMPARE(w.currentPage(), 0);
    QTest::keyClick(&w, Qt::Key_PageDown);
    QCOMPARE(w.currentPage(), 1);
    QCOMPARE(w.findChild<PageView *>()->page(), 1);
}

void TestPreviewWindow::zooms()
{
    PreviewWindow w(threePages());
    w.resize(900, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *area = w.findChild<QScrollArea *>("PageArea");
    auto *view = w.findChild<PageView *>();
    QCOMPARE(w.zoomMode(), PreviewWindow::ZoomMode::Fit);
    QVERIFY(view->width() <= area->viewport()->width());
    QVERIFY(view->height() <= area->viewport()->height());
    click(&w, "ZoomWidthBtn");
    QVERIFY(view->height() > area->viewport()->height());
    QVERIFY(view->width() <= area->viewport()->width());
    QVERIFY(view->width() > area->viewport()->width() - 60);
    click(&w, "Zoom100Btn");
    QCOMPARE(w.zoom(), 1.0);
    QCOMPARE(view->pageSize(1.0).width(), qRound(210 * view->logicalDpiX() / 25.4));
    click(&w, "ZoomFitBtn");
    QVERIFY(w.zoom() < 1.0);
}

void TestPreviewWindow::savesAndLoads()
{
    const Document doc = threePages();
    PreviewWindow w(doc);
    const QString path = m_dir.filePath("saved");
    m_dialogs.paths = {path};
    click(&w, "SaveBtn");
    QCOMPARE(m_dialogs.shown, QStringList({"Client List.brp", "Save Report"}));
    QCOMPARE(m_dialogs.filters.last(), QString("Brelvan report (*.brp)"));
    QVERIFY(QFile::exists(path + ".brp"));

    PreviewWindow other(Document{});
    QCOMPARE(other.findChild<QLabel *>("PageLabel")->text(), QString("No pages"));
    m_dialogs.paths = {QString()};
    click(&other, "LoadBtn");
    QCOMPARE(other.document().pageCount(), 0);
    m_dialogs.paths = {path + ".brp"};
    click(&other, "LoadBtn");
    QCOMPARE(other.document().pageTexts(), doc.pageTexts());
    QCOMPARE(other.findChild<QLabel *>("PageLabel")->text(), QString("Page 1 of 3"));
}

void TestPreviewWindow::loadRefusesOtherFiles()
{
    const QString path = m_dir.filePath("notes.brp");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("just some notes");
    file.close();
    PreviewWindow w(threePages());
    m_dialogs.paths = {path};
    click(&w, "LoadBtn");
    QCOMPARE(m_dialogs.shown.last(),
             QString("The report \"%1\" could not be loaded: This file is not a saved report.")
                 .arg(QDir::toNativeSeparators(path)));
    QCOMPARE(w.document().pageCount(), 3);
}

void TestPreviewWindow::exportsThroughItsDialog()
{
    PreviewWindow w(threePages());
    w.show();
    click(&w, "NextPageBtn");
    m_dialogs.paths = {m_dir.filePath("page2")};
    bool answered = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<ExportDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto *format = dialog->findChild<QComboBox *>("FormatBox");
        format->setCurrentIndex(format->findText("Plain text"));
        dialog->findChild<QRadioButton *>("CurrentPageBtn")->setChecked(true);
        answered = true;
        dialog->accept();
    });
    click(&w, "ExportBtn");
    QVERIFY(answered);
    QCOMPARE(m_dialogs.filters.last(), QString("Plain text (*.txt)"));
    QCOMPARE(m_dialogs.shown.mid(0, 2), QStringList({"Client List.txt", "Export Report"}));
    QFile file(m_dir.filePath("page2.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains("Page 2"));
    QVERIFY(!text.contains("Page 1\n"));
    QCOMPARE(m_shell.opened, QStringList{m_dir.filePath("page2.txt")});

    // A failing export is reported, not opened.
    m_dialogs.paths = {m_dir.filePath("no/such/folder/x.pdf")};
    w.exportAs(ExportFormat::Pdf, ExportOptions{1, 0, true});
    QVERIFY(m_dialogs.shown.last().startsWith("The report could not be exported: "));
    QCOMPARE(m_shell.opened.size(), 1);
    // Cancelling the file chooser writes nothing.
    m_dialogs.paths = {QString()};
    w.exportAs(ExportFormat::Pdf, {});
    QCOMPARE(QDir(m_dir.path()).entryList({"*.pdf"}), QStringList());
}

void TestPreviewWindow::exportDialogOptions()
{
    ExportDialog dialog(5, 3);
    QCOMPARE(dialog.format(), ExportFormat::Pdf);
    ExportOptions options = dialog.options();
    QCOMPARE(options.firstPage, 1);
    QCOMPARE(options.lastPage, 0);
    QVERIFY(options.openAfterwards);
    QVERIFY(!options.mailAfterwards);
    dialog.findChild<QRadioButton *>("RangeBtn")->setChecked(true);
    auto *from = dialog.findChild<QSpinBox *>("FromPage");
    auto *to = dialog.findChild<QSpinBox *>("ToPage");
    QVERIFY(from->isEnabled());
    to->setValue(2);
    from->setValue(4); // the end follows a start moved past it
    dialog.findChild<QCheckBox *>("OpenAfterwards")->setChecked(false);
    dialog.findChild<QCheckBox *>("MailAfterwards")->setChecked(true);
    options = dialog.options();
    QVERIFY(options.mailAfterwards);
    QCOMPARE(options.firstPage, 4);
    QCOMPARE(options.lastPage, 4);
    QVERIFY(!options.openAfterwards);
    dialog.setFormat(ExportFormat::Gif);
    QCOMPARE(dialog.format(), ExportFormat::Gif);
}

void TestPreviewWindow::mailsTheExportedFile()
{
    PreviewWindow w(threePages());
    ExportOptions mail;
    mail.mailAfterwards = true;
    m_dialogs.paths = {m_dir.filePath("mailed")};
    w.exportAs(ExportFormat::Text, mail);
    QCOMPARE(m_shell.mailed, QList<QStringList>{{m_dir.filePath("mailed.txt")}});
    QCOMPARE(m_dialogs.shown.size(), 2); // only the file chooser
    QVERIFY(m_shell.opened.isEmpty());

    // no mail program: the user is told where the file is; every page file of a picture
    m_shell.canMail = false;
    m_dialogs.paths = {m_dir.filePath("pages")};
    w.exportAs(ExportFormat::Png, mail);
    const QStringList pages = {m_dir.filePath("pages_1.png"), m_dir.filePath("pages_2.png"),
                               m_dir.filePath("pages_3.png")};
    QCOMPARE(m_shell.mailed.last(), pages);
    QStringList native;
    for (const QString &p : pages)
        native << QDir::toNativeSeparators(p);
    QCOMPARE(m_dialogs.shown.last(),
             "No e-mail program could be started. The report was saved as:\r\n\r\n"
                 + native.join("\r\n") + "\r\n\r\nAttach it to a new e-mail message from there.");
    // nothing is mailed when the export fails, nor when not asked
    m_shell.mailed.clear();
    m_dialogs.paths = {m_dir.filePath("no/such/folder/x"), m_dir.filePath("plain")};
    w.exportAs(ExportFormat::Text, mail);
    w.exportAs(ExportFormat::Text, {});
    QVERIFY(m_shell.mailed.isEmpty());
}

void TestPreviewWindow::mailsThroughTheDesktopsMailer()
{
    // the system's own shell, with a stand-in xdg-email that writes down what it was given
    installShell(nullptr);
    const QByteArray path = qgetenv("PATH");
    QDir(m_dir.path()).mkpath("bin");
    QDir(m_dir.path()).mkpath("empty");
    const QString args = m_dir.filePath("args.txt");
    QFile script(m_dir.filePath("bin/xdg-email"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + args.toUtf8() + "'\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    PreviewWindow w(threePages());
    ExportOptions mail;
    mail.mailAfterwards = true;
    qputenv("PATH", m_dir.filePath("bin").toUtf8());
    m_dialogs.paths = {m_dir.filePath("report")};
    w.exportAs(ExportFormat::Text, mail);
    QTRY_VERIFY(QFile::exists(args) && QFileInfo(args).size() > 0);
    QFile got(args);
    QVERIFY(got.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(got.readAll()),
             "--attach\n" + m_dir.filePath("report.txt") + "\n");
    const int shown = m_dialogs.shown.size();
    // without xdg-email the program says where the file is
    qputenv("PATH", m_dir.filePath("empty").toUtf8());
    m_dialogs.paths = {m_dir.filePath("again")};
    w.exportAs(ExportFormat::Text, mail);
    qputenv("PATH", path);
    QCOMPARE(m_dialogs.shown.size(), shown + 3); // the file chooser and the message
    const QString again = QDir::toNativeSeparators(m_dir.filePath("again.txt"));
    QVERIFY(m_dialogs.shown.last().contains(again));
}

void TestPreviewWindow::viewerShowsModalPreview()
{
    // Until the program installs its viewer, a preview goes nowhere.
    reportViewer().preview("TDiaryForm", "Diary Report", threePages());

    PreviewViewer viewer;
    installReportViewer(&viewer);
    QString caption;
    int pages = 0;
    QTimer::singleShot(0, this, [&] {
        auto *window = qobject_cast<PreviewWindow *>(QApplication::activeModalWidget());
        QVERIFY(window);
        caption = window->windowTitle();
        pages = window->document().pageCount();
        window->findChild<QToolButton *>("CloseBtn")->click();
    });
    reportViewer().preview("TDiaryForm", "Diary Report", threePages());
    QCOMPARE(caption, QString("Print Preview"));
    QCOMPARE(pages, 3);
}

QTEST_MAIN(TestPreviewWindow)
#include "tst_previewwindow.moc"
