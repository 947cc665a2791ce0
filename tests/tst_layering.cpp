// The shape of the source holds by construction: every #include of src/ runs one way
// (app -> testing -> shell -> pages -> reports -> data -> platform), a page folder never
// includes another, and the program itself carries no test code.
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {

const QStringList pageFolders = {"diary", "clients", "books", "payroll", "inventory",
                                 "trade",  "calc",    "tools", "office"};

// The folder a path of src/ belongs to for layering: its first component.
QString topFolder(const QString &path)
{
    return path.section(QLatin1Char('/'), 0, 0);
}

int layerOf(const QString &top)
{
    if (top == "platform")
        return 0;
    if (top == "data")
        return 1;
    if (top == "reports")
        return 2;
    if (pageFolders.contains(top))
        return 3;
    if (top == "shell")
        return 4;
    if (top == "testing")
        return 5;
    if (top == "app")
        return 6;
    return -1;
}

// The rule an include of `included` from the file `file` breaks, or an empty text.
QString brokenRule(const QString &file, const QString &included)
{
    const QString from = topFolder(file);
    const QString to = topFolder(included);
    const int fromLayer = layerOf(from);
    const int toLayer = layerOf(to);
    if (fromLayer < 0 || toLayer < 0)
        return {};
    if (to == "shell" && from != "shell" && from != "app" && from != "testing")
        return QStringLiteral("nothing outside shell/, app/ and testing/ includes shell/");
    if (from == "platform" && to != "platform")
        return QStringLiteral("platform/ includes only platform/");
    if (fromLayer == 3 && toLayer == 3 && from != to)
        return QStringLiteral("a page folder never includes another page folder "
                              "(pages meet through MainAccess and data/)");
    if (toLayer > fromLayer)
        return QStringLiteral("imports run one way: app -> testing -> shell -> pages -> "
                              "reports -> data -> platform");
    return {};
}

QString sourceDir()
{
    // A tree other than the built one can be checked by naming it.
    const QString other = qEnvironmentVariable("BRELVAN_LAYERING_SOURCE_DIR");
    return other.isEmpty() ? QStringLiteral(BRELVAN_SOURCE_DIR) : other;
}

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return {};
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

} // namespace

class TstLayering : public QObject
{
    Q_OBJECT

private slots:
    void rules_data();
    void rules();
    void includesRunOneWay();
    void programCarriesNoTestCode();
};

void TstLayering::rules_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("included");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("page to data") << "books/expensespage.cpp" << "data/ui/recordpage.h" << true;
    QTest::newRow("page to reports") << "diary/diaryreport.cpp" << "reports/reportlaunch.h"
                                     << true;
    QTest::newRow("shell to a page") << "shell/tmainform.cpp" << "diary/diarypage.h" << true;
    QTest::newRow("app to testing") << "app/brelvan-bench.cpp" << "testing/fixture.h" << true;
    QTest::newRow("page to shell") << "books/expensespage.cpp" << "shell/tmainform.h" << false;
    QTest::newRow("data to shell") << "data/ui/recordpage.cpp" << "shell/tmainform.h" << false;
    QTest::newRow("platform to data") << "platform/widgets/datagrid.cpp" << "data/schema.h"
                                      << false;
    QTest::newRow("page to page") << "books/incomepage.cpp" << "clients/clientspage.h" << false;
    QTest::newRow("reports to a page") << "reports/reportlaunch.cpp" << "diary/diarypage.h"
                                       << false;
    QTest::newRow("data to reports") << "data/ui/recordpage.cpp" << "reports/ownerblock.h"
                                     << false;
    QTest::newRow("shell to testing") << "shell/tmainform.cpp" << "testing/fixture.h" << false;
}

void TstLayering::rules()
{
    QFETCH(QString, file);
    QFETCH(QString, included);
    QFETCH(bool, allowed);
    QCOMPARE(brokenRule(file, included).isEmpty(), allowed);
}

void TstLayering::includesRunOneWay()
{
    const QString root = sourceDir();
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"([^\"]+)\""));
    QStringList broken;
    int files = 0;
    QDirIterator it(root, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString file = QDir(root).relativeFilePath(path);
        QFile f(path);
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(path));
        ++files;
        int lineNo = 0;
        while (!f.atEnd()) {
            const QString line = QString::fromUtf8(f.readLine());
            ++lineNo;
            const auto m = include.match(line);
            if (!m.hasMatch() || !m.captured(1).contains(QLatin1Char('/')))
                continue;
            const QString rule = brokenRule(file, m.captured(1));
            if (!rule.isEmpty())
                broken << QStringLiteral("src/%1:%2: includes %3: %4")
                              .arg(file).arg(lineNo).arg(m.captured(1), rule);
        }
    }
    QVERIFY2(files > 50, qPrintable(QStringLiteral("only %1 files under %2").arg(files)
                                        .arg(root)));
    for (const QString &b : broken)
        qWarning().noquote() << b;
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1Char('\n'))));
}

void TstLayering::programCarriesNoTestCode()
{
    const QString exe = QStringLiteral(BRELVAN_EXE);
    QVERIFY(QFile::exists(exe));
    const QString libs = run(QStringLiteral("ldd"), {exe});
    QVERIFY2(libs.contains(QLatin1String("libQt6Core")), qPrintable(libs));
    QVERIFY2(!libs.contains(QLatin1String("libQt6Test")), qPrintable(libs));
    if (QStandardPaths::findExecutable(QStringLiteral("nm")).isEmpty())
        QSKIP("nm is not installed");
    const QString symbols = run(QStringLiteral("nm"), {QStringLiteral("-C"), exe});
    QVERIFY(symbols.contains(QLatin1String("TMainForm")));
    QVERIFY2(!symbols.contains(QLatin1String("Brelvan::Testing::")),
             "the program links the window-test fixture");
}

QTEST_GUILESS_MAIN(TstLayering)
#include "tst_layering.moc"
