#include "platform/desktop/shell.h"
#include "platform/report/exporter.h"
#include "platform/report/memorysource.h"
#include "platform/report/printing.h"
#include "platform/report/report.h"

#include <QImageReader>
#include <QPrinter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace Brelvan;

namespace {

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
};

// A three-page list with a logo, texts that need escaping and non-ASCII letters.
Document sampleDocument()
{
    QList<QVariantMap> data;
    for (int i = 1; i <= 120; ++i) {
        data.append({{"Name", i == 7 ? QString("Smith & Sons <Ltd>") : QString("Row %1").arg(i)},
                     {"Place", i == 9 ? QString::fromUtf8("Café Ñandú") : QString("Town")},
                     {"Amount", i * 1.25}});
    }
    MemorySource source(data);
    Report r;
    r.setReportTitle("Sample Report").now(QDateTime(QDate(2026, 3, 15), QTime(9, 30)));
    r.source(&source);
    QImage logo(64, 48, QImage::Format_RGB32);
    logo.fill(QColor(30, 90, 200));
    r.title().height(41).image(0, 0, 42.3, 31.75).image(logo);
    r.title().text(0, 1.3, r.printWidth(), 9, "Your Company").centre().size(20).bold().italic()
        .colour(Qt::blue);
    r.columnHeader().height(7).text(0, 1, 60, 5, "Name").bold();
    r.columnHeader().text(70, 1, 50, 5, "Place").bold();
    r.columnHeader().text(140, 1, 40, 5, "Amount").bold().right();
    r.columnHeader().hline(0, 6.5, r.printWidth());
    r.detail().height(5).field(0, 0, 60, 5, "Name");
    r.detail().field(70, 0, 50, 5, "Place");
    r.detail().field(140, 0, 40, 5, "Amount").right();
    r.summary().height(8).text(0, 1, 40, 5, "Total Records").bold();
    r.summary().count(45, 1, 20, 5);
    r.summary().sum(140, 1, 40, 5, "Amount").right().frame(TextElement::Top);
    r.pageFooter().height(10.6).reportTitle(0, 3, 60, 5);
    r.pageFooter().pageNumber(70, 3, 50, 5).prefix("Page ").centre();
    r.pageFooter().printDateTime(120, 3, 70, 5).prefix("Printed ").right();
    return r.render();
}

QString run(const QString &program, const QStringList &arguments, bool *ok = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool done = process.waitForFinished(60000)
                      && process.exitStatus() == QProcess::NormalExit
                      && process.exitCode() == 0;
    if (ok)
        *ok = done;
    return QString::fromUtf8(process.readAllStandardOutput())
           + QString::fromUtf8(process.readAllStandardError());
}

QString readAll(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

const QStringList SampleTexts{"Your Company", "Row 1", "Row 120", "Smith & Sons <Ltd>",
                              QString::fromUtf8("Café Ñandú"), "Total Records", "9075.00",
                              "Page 3", "Printed 15/03/2026 09:30:00"};

} // namespace

class TestReportExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pdfReadsBack();
    void pdfPageRange();
    void xlsxReadsBack();
    void xhtmlIsXml();
    void htmlParses();
    void rtfStructure();
    void plainText();
    void pictures_data();
    void pictures();
    void gifDecodesToThePage();
    void svgDrawing();
    void openAfterwardsAndRange();
    void printsToPdfPrinter();

private:
    QTemporaryDir m_dir;
    Document m_doc;
    QString path(const QString &name) const { return m_dir.filePath(name); }
};

void TestReportExport::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_doc = sampleDocument();
    QCOMPARE(m_doc.pageCount(), 3);
}

void TestReportExport::pdfReadsBack()
{
    const ExportResult result = exportDocument(m_doc, ExportFormat::Pdf, path("list.pdf"));
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.files, QStringList{path("list.pdf")});
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext is not installed");
    bool ok = false;
    const QString text = run("pdftotext", {"-layout", path("list.pdf"), "-"}, &ok);
    QVERIFY2(ok, qPrintable(text));
    for (const QString &expected : SampleTexts)
        QVERIFY2(text.contains(expected), qPrintable(expected));
    const QString info = run("pdfinfo", {path("list.pdf")});
    QVERIFY2(info.contains(QRegularExpression("Creator:\\s+Brelvan\\n")), qPrintable(info));
    QVERIFY(info.contains(QRegularExpression("Pages:\\s+3\\n")));
    QVERIFY(info.contains(QRegularExpression("Title:\\s+Sample Report\\n")));
    QVERIFY2(info.contains(QRegularExpression("Page size:\\s+595 x 842 pts \\(A4\\)")),
             qPrintable(info));
    QFile file(path("list.pdf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("/FlateDecode"));
}

void TestReportExport::pdfPageRange()
{
    ExportOptions options;
    options.firstPage = 2;
    options.lastPage = 3;
    QVERIFY(exportDocument(m_doc, ExportFormat::Pdf, path("range.pdf"), options).ok);
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext is not installed");
    const QString text = run("pdftotext", {path("range.pdf"), "-"});
    QVERIFY(!text.contains("Your Company"));
    QVERIFY(text.contains("Page 2"));
    QVERIFY(text.contains("Page 3"));
    QVERIFY(run("pdfinfo", {path("range.pdf")}).contains(QRegularExpression("Pages:\\s+2\\n")));
}

void TestReportExport::xlsxReadsBack()
{
    const ExportResult result = exportDocument(m_doc, ExportFormat::Xlsx, path("list.xlsx"));
    QVERIFY2(result.ok, qPrintable(result.error));
    const QString python = QFile::exists("/usr/bin/python3") ? QString("/usr/bin/python3")
                                                             : QString("python3");
    const QString script = R"(
import sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
sheet = book.active
for row in sheet.iter_rows():
    print('|'.join('' if c.value is None else repr(c.value) for c in row))
)";
    bool ok = false;
    const QString out = run(python, {"-c", script, path("list.xlsx")}, &ok);
    if (!ok && out.contains("No module named 'openpyxl'"))
        QSKIP("openpyxl is not installed");
    QVERIFY2(ok, qPrintable(out));
    for (const QString &expected : SampleTexts) {
        if (expected != "9075.00")
            QVERIFY2(out.contains("'" + expected + "'"), qPrintable(expected));
    }
    // Amounts are numbers in their own column, beside the name and the place.
    QVERIFY2(out.contains(QRegularExpression("\n'Row 2'\\|+'Town'\\|+2\\.5\n")),
             qPrintable(out.left(600)));
    QVERIFY(out.contains(QRegularExpression("\\|9075(\\.0)?\n")));
}

void TestReportExport::xhtmlIsXml()
{
    const ExportResult result = exportDocument(m_doc, ExportFormat::Xhtml, path("web/list.xhtml"));
    QVERIFY(!result.ok); // the folder does not exist
    QVERIFY(QDir(m_dir.path()).mkpath("web"));
    const ExportResult written = exportDocument(m_doc, ExportFormat::Xhtml,
                                                path("web/list.xhtml"));
    QVERIFY2(written.ok, qPrintable(written.error));
    QCOMPARE(written.files.mid(0, 3), QStringList({path("web/list.xhtml"), path("web/list.css"),
                                                   path("web/list.js")}));
    QVERIFY(QFile::exists(path("web/list_files/image1.jpg")));

    QFile file(path("web/list.xhtml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString text;
    QStringList links;
    int pages = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters())
            text += xml.text().toString() + '\n';
        if (xml.isStartElement()) {
            QCOMPARE(xml.namespaceUri(), QString("http://www.w3.org/1999/xhtml"));
            for (const char *attr : {"href", "src"}) {
                if (xml.attributes().hasAttribute(attr))
                    links.append(xml.attributes().value(attr).toString());
            }
            if (xml.attributes().value("class") == QString("page"))
                ++pages;
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(pages, 3);
    for (const QString &expected : SampleTexts)
        QVERIFY2(text.contains(expected), qPrintable(expected));
    QVERIFY(links.contains("list.css"));
    QVERIFY(links.contains("list.js"));
    QVERIFY(links.contains("list_files/image1.jpg"));
    QVERIFY(readAll(path("web/list.css")).contains("div.page"));
    QVERIFY(readAll(path("web/list.js")).contains("navNext"));
}

void TestReportExport::htmlParses()
{
    const ExportResult result = exportDocument(m_doc, ExportFormat::Html, path("list.html"));
    QVERIFY2(result.ok, qPrintable(result.error));
    const QString python = QFile::exists("/usr/bin/python3") ? QString("/usr/bin/python3")
                                                             : QString("python3");
    // Python's own HTML parser: every element closed in order, and the page's texts.
    const QString script = R"(
import sys
from html.parser import HTMLParser
VOID = {'meta', 'link', 'img', 'br', 'hr', 'input'}
class P(HTMLParser):
    def __init__(self):
        super().__init__(); self.stack = []; self.text = []; self.errors = []
    def handle_starttag(self, tag, attrs):
        if tag not in VOID: self.stack.append(tag)
    def handle_startendtag(self, tag, attrs): pass
    def handle_endtag(self, tag):
        if not self.stack or self.stack.pop() != tag: self.errors.append(tag)
    def handle_data(self, data): self.text.append(data)
p = P(); p.feed(open(sys.argv[1], encoding='utf-8').read()); p.close()
print('ERRORS', p.errors, p.stack)
print('\n'.join(p.text))
)";
    bool ok = false;
    const QString out = run(python, {"-c", script, path("list.html")}, &ok);
    QVERIFY2(ok, qPrintable(out));
    QVERIFY2(out.startsWith("ERRORS [] []"), qPrintable(out.left(200)));
    for (const QString &expected : SampleTexts)
        QVERIFY2(out.contains(expected), qPrintable(expected));
    const QString html = readAll(path("list.html"));
    QVERIFY(html.startsWith("<!DOCTYPE html>"));
    QVERIFY(html.contains("Smith &amp; Sons &lt;Ltd&gt;"));
    QVERIFY(html.contains("href=\"list.css\""));
    QVERIFY(html.contains("src=\"list.js\""));
}

void TestReportExport::rtfStructure()
{
    const ExportResult result = exportDocument(m_doc, ExportFormat::Rtf, path("list.rtf"));
    QVERIFY2(result.ok, qPrintable(result.error));
    QFile file(path("list.rtf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi"));
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf.at(i) == '\\') {
            ++i; // an escaped brace or backslash is text
            continue;
        }
        if (rtf.at(i) == '{')
            ++depth;
        if (rtf.at(i) == '}') {
            --depth;
            QVERIFY(depth >= 0);
            if (depth == 0)
                QCOMPARE(rtf.mid(i + 1).trimmed(), QByteArray());
        }
    }
    QCOMPARE(depth, 0);
    QCOMPARE(rtf.count("\\page"), 2);
    for (const char *expected : {"Your Company", "Row 120", "Smith & Sons <Ltd>", "Total Records",
                                 "Caf\\u233?", "\\u209?and\\u250?", "Printed 15/03/2026"})
        QVERIFY2(rtf.contains(expected), expected);
    QVERIFY(rtf.contains("\\tqr\\tx"));
    QVERIFY(rtf.contains("\\b "));
}

void TestReportExport::plainText()
{
    const ExportResult result = exportDocument(m_doc, ExportFormat::Text, path("list.txt"));
    QVERIFY2(result.ok, qPrintable(result.error));
    const QString text = readAll(path("list.txt"));
    for (const QString &expected : SampleTexts)
        QVERIFY2(text.contains(expected), qPrintable(expected));
    const QStringList lines = text.split('\n');
    const QString row2 = lines.at(lines.indexOf(QRegularExpression("^Row 2 .*")));
    // Columns keep their places: the place at 70 mm, the amount ending at 180 mm.
    QCOMPARE(row2.indexOf("Town"), 35);
    QVERIFY(row2.endsWith(" 2.50"));
    QCOMPARE(row2.size(), 90);
    QVERIFY(!text.contains('\f'));
}

void TestReportExport::pictures_data()
{
    QTest::addColumn<ExportFormat>("format");
    QTest::addColumn<QByteArray>("readerFormat");
    QTest::newRow("png") << ExportFormat::Png << QByteArray("png");
    QTest::newRow("jpeg") << ExportFormat::Jpeg << QByteArray("jpeg");
    QTest::newRow("bmp") << ExportFormat::Bmp << QByteArray("bmp");
    QTest::newRow("gif") << ExportFormat::Gif << QByteArray("gif");
}

void TestReportExport::pictures()
{
    QFETCH(ExportFormat, format);
    QFETCH(QByteArray, readerFormat);
    const QString name = path("page." + exportSuffix(format));
    const ExportResult result = exportDocument(m_doc, format, name);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.files.size(), 3);
    QCOMPARE(result.files.at(1), path("page_2." + exportSuffix(format)));
    for (const QString &file : result.files) {
        QImageReader reader(file);
        QCOMPARE(reader.format(), readerFormat);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), QSize(1240, 1754)); // A4 at 150 dpi
        QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));
    }
    // The blue logo in the top left corner of page 1, 10 mm in.
    const QColor logo = QImage(result.files.first()).pixelColor(120, 120);
    QVERIFY2(qAbs(logo.blue() - 200) < 30 && logo.red() < 60, qPrintable(logo.name()));
    if (format == ExportFormat::Jpeg) {
        QFile file(result.files.first());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("\xff\xc2")); // progressive frame
    }
    if (format == ExportFormat::Bmp) {
        QFile file(result.files.first());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(30);
        QCOMPARE(int(uchar(head.at(28))), 24); // bits a pixel
    }
}

void TestReportExport::gifDecodesToThePage()
{
    // Every pixel decodes to the palette colour nearest the page's own.
    Document doc;
    doc.addPage(QSizeF(40, 30));
    QImage gradient(256, 64, QImage::Format_RGB32);
    for (int x = 0; x < 256; ++x)
        for (int y = 0; y < 64; ++y)
            gradient.setPixelColor(x, y, QColor(x, (x * 7 + y * 3) % 256, 255 - x));
    DocItem picture;
    picture.kind = DocItem::Kind::Image;
    picture.rect = QRectF(0, 0, 40, 20);
    picture.image = doc.addImage(gradient);
    doc.page(0).items.append(picture);
    DocItem text;
    text.rect = QRectF(2, 21, 30, 6);
    text.text = "GIF text";
    text.font = QFont("Arial", 12);
    text.colour = Qt::red;
    doc.page(0).items.append(text);

    const ExportResult result = exportDocument(doc, ExportFormat::Gif, path("one.gif"));
    QVERIFY(result.ok);
    const QImage gif(path("one.gif"));
    QVERIFY(!gif.isNull());
    ExportResult png = exportDocument(doc, ExportFormat::Png, path("one.png"));
    QVERIFY(png.ok);
    const QImage page(path("one.png"));
    QCOMPARE(gif.size(), page.size());
    int worst = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor a = page.pixelColor(x, y), b = gif.pixelColor(x, y);
            worst = std::max({worst, qAbs(a.red() - b.red()), qAbs(a.green() - b.green()),
                              qAbs(a.blue() - b.blue())});
        }
    QVERIFY2(worst <= 40, qPrintable(QString::number(worst)));
}

void TestReportExport::svgDrawing()
{
    ExportOptions options;
    options.lastPage = 1;
    const ExportResult result = exportDocument(m_doc, ExportFormat::Svg, path("page1.svg"),
                                               options);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.files, QStringList{path("page1.svg")});
    QSvgRenderer renderer(path("page1.svg"));
    QVERIFY(renderer.isValid());
    QFile file(path("page1.svg"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters())
            text += xml.text();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    for (const char *expected : {"Your Company", "Row 1", "Smith & Sons <Ltd>", "Page 1"})
        QVERIFY2(text.contains(expected), expected);
}

void TestReportExport::openAfterwardsAndRange()
{
    RecordingShell shell;
    installShell(&shell);
    ExportOptions options;
    options.firstPage = 2;
    options.openAfterwards = true;
    ExportResult result = exportDocument(m_doc, ExportFormat::Html, path("open.html"), options);
    QVERIFY(result.ok);
    QCOMPARE(shell.opened, QStringList{path("open.html")});
    QVERIFY(!readAll(path("open.html")).contains("Your Company"));

    options.firstPage = 4;
    result = exportDocument(m_doc, ExportFormat::Pdf, path("none.pdf"), options);
    QVERIFY(!result.ok);
    QCOMPARE(result.error, QString("There are no pages in the chosen range."));
    QVERIFY(!QFile::exists(path("none.pdf")));

    options = {};
    options.openAfterwards = true;
    result = exportDocument(m_doc, ExportFormat::Pdf, path("missing/dir/x.pdf"), options);
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(shell.opened.size(), 1);
    installShell(nullptr);
}

void TestReportExport::printsToPdfPrinter()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("printed.pdf"));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(3, 3);
    QVERIFY(printDocument(m_doc, printer));
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext is not installed");
    const QString text = run("pdftotext", {"-layout", path("printed.pdf"), "-"});
    QVERIFY(text.contains("Page 3"));
    QVERIFY(text.contains("Total Records"));
    QVERIFY(!text.contains("Page 2"));
}

QTEST_MAIN(TestReportExport)
#include "tst_reportexport.moc"
