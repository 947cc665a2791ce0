#include "platform/report/code39.h"
#include "platform/report/memorysource.h"
#include "platform/report/report.h"

#include <QBuffer>
#include <QPainter>
#include <QtTest>

using namespace Brelvan;

namespace {

const QDateTime Now(QDate(2026, 3, 15), QTime(9, 30, 5));

QList<QVariantMap> rows(int count)
{
    QList<QVariantMap> list;
    for (int i = 1; i <= count; ++i)
        list.append({{"Name", QStringLiteral("Row %1").arg(i)}, {"Amount", double(i)}});
    return list;
}

// The standard list furniture: title, column header, detail, summary, page footer.
void listReport(Report &r, ReportSource *source)
{
    r.setReportTitle("List Report").now(Now).source(source);
    r.title().height(20).text(0, 2, r.printWidth(), 8, "Title Line").centre();
    r.columnHeader().height(6).text(0, 0, 40, 5, "Name").bold();
    r.detail().height(5).field(0, 0, 40, 5, "Name");
    r.detail().field(50, 0, 30, 5, "Amount").right();
    r.summary().height(8).text(0, 1, 30, 5, "Total Records").bold();
    r.summary().count(32, 1, 20, 5);
    r.summary().sum(50, 1, 30, 5, "Amount").right();
    r.pageFooter().height(10.6).reportTitle(0, 2, 60, 5);
    r.pageFooter().pageNumber(120, 2, 40, 5).prefix("Page ");
    r.pageFooter().printDateTime(200, 2, 80, 5).prefix("Printed ");
}

QStringList lines(const Document &doc, int page)
{
    return doc.pageText(page).split('\n');
}

// The vertical extent of every text run of a page whose text starts with `prefix`.
QList<QRectF> runRects(const Document &doc, int page, const QString &prefix)
{
    QList<QRectF> rects;
    for (const DocItem *run : doc.textsInReadingOrder(page)) {
        if (run->text.startsWith(prefix))
            rects.append(run->rect);
    }
    return rects;
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT

private slots:
    void bandOrder();
    void longListBreaksOverPages();
    void groupBreaks();
    void summaryCountsAndSums_data();
    void summaryCountsAndSums();
    void emptySourcePrintsFurniture();
    void printsOnceFromHandedValues();
    void beforePrintSetsAndSkips();
    void richTextRunsOverPages();
    void wrappedTextPushesElementsDown();
    void labelsFillDownThenAcross();
    void pageFooterSumsItsPage();
    void code39_data();
    void code39();
    void missingPictureAndBarcodeBars();
    void chartPaintsIntoItsBox();
    void savedDocumentLoadsBack();
};

void TestReportEngine::bandOrder()
{
    MemorySource source(rows(2));
    Report r;
    listReport(r, &source);
    r.pageHeader().height(6).text(0, 0, 40, 5, "Header");
    Group &g = r.group([](const RenderState &s) { return s.value("Name"); });
    g.header().height(5).computed(0, 0, 60, 5, [](const RenderState &s) {
        return "Group " + s.groupKey(0).toString();
    });
    g.footer().height(5).count(0, 0, 30, 5).prefix("In group ");
    r.detail().child().height(5).field(10, 0, 60, 5, "Name").prefix("Child of ");

    const Document doc = r.render();
    QCOMPARE(doc.pageCount(), 1);
    QCOMPARE(lines(doc, 0),
             QStringList({"Header", "Title Line", "Name", "Group Row 1", "Row 1", "1.00",
                          "Child of Row 1", "In group 1", "Group Row 2", "Row 2", "2.00",
                          "Child of Row 2", "In group 1", "Total Records", "2", "3.00",
                          "List Report", "Page 1", "Printed 15/03/2026 09:30:05"}));
    QCOMPARE(doc.title(), QString("List Report"));
}

void TestReportEngine::longListBreaksOverPages()
{
    MemorySource source(rows(300));
    Report r;
    r.landscape();
    listReport(r, &source);
    const Document doc = r.render();

    QVERIFY(doc.pageCount() >= 8);
    const double bottom = 210 - 10 - 10.6;
    QStringList printed;
    for (int p = 0; p < doc.pageCount(); ++p) {
        QCOMPARE(doc.page(p).size, QSizeF(297, 210));
        const QStringList text = lines(doc, p);
        QCOMPARE(text.count("Name"), 1);
        QCOMPARE(text.count("Title Line"), p == 0 ? 1 : 0);
        QVERIFY(text.contains(QString("Page %1").arg(p + 1)));
        QCOMPARE(text.last(), QString("Printed 15/03/2026 09:30:05"));
        for (const QRectF &rect : runRects(doc, p, "Row "))
            QVERIFY2(rect.bottom() <= bottom + 0.001, qPrintable(QString::number(p)));
        for (const QString &line : text) {
            if (line.startsWith("Row "))
                printed.append(line);
        }
    }
    QCOMPARE(printed.size(), 300);
    for (int i = 0; i < printed.size(); ++i)
        QCOMPARE(printed.at(i), QString("Row %1").arg(i + 1));
    QVERIFY(lines(doc, doc.pageCount() - 1).contains("Total Records"));
    QVERIFY(lines(doc, doc.pageCount() - 1).contains("45150.00"));
}

void TestReportEngine::groupBreaks()
{
    MemorySource source({{{"Cat", "Fuel"}, {"Amount", 10.0}},
                         {{"Cat", "Fuel"}, {"Amount", 20.5}},
                         {{"Cat", "Paint"}, {"Amount", 5.0}},
                         {{"Cat", "Tools"}, {"Amount", QVariant()}}});
    Report r;
    r.now(Now).source(&source);
    Group &g = r.group("Cat");
    g.header().height(6).field(0, 0, 40, 5, "Cat").prefix("== ");
    g.footer().height(6).field(0, 0, 40, 5, "Cat").suffix(" total");
    g.footer().count(50, 0, 20, 5);
    g.footer().sum(80, 0, 30, 5, "Amount");
    r.detail().height(5).field(10, 0, 30, 5, "Amount");
    r.summary().height(6).sum(80, 0, 30, 5, "Amount");
    r.summary().count(50, 0, 20, 5);

    const Document doc = r.render();
    QCOMPARE(lines(doc, 0),
             QStringList({"== Fuel", "10.00", "20.50", "Fuel total", "2", "30.50",
                          "== Paint", "5.00", "Paint total", "1", "5.00",
                          "== Tools", "Tools total", "1", "0.00", "4", "35.50"}));
}

void TestReportEngine::summaryCountsAndSums_data()
{
    QTest::addColumn<QList<QVariantMap>>("data");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("sum");
    QTest::newRow("none") << QList<QVariantMap>{} << "0" << "0.00";
    QTest::newRow("one") << QList<QVariantMap>{{{"Amount", 12.345}}} << "1" << "12.35";
    QTest::newRow("empty values count, add nothing")
        << QList<QVariantMap>{{{"Amount", 1.5}}, {{"Amount", QVariant()}}, {}} << "3" << "1.50";
    QTest::newRow("negative") << QList<QVariantMap>{{{"Amount", -4.0}}, {{"Amount", 1.0}}}
                              << "2" << "-3.00";
}

void TestReportEngine::summaryCountsAndSums()
{
    QFETCH(QList<QVariantMap>, data);
    QFETCH(QString, count);
    QFETCH(QString, sum);
    MemorySource source(data);
    Report r;
    r.now(Now).source(&source);
    r.summary().height(6).count(0, 0, 20, 5).name("Count");
    r.summary().sum(30, 0, 20, 5, "Amount");
    const Document doc = r.render();
    QCOMPARE(lines(doc, 0), QStringList({count, sum}));
}

void TestReportEngine::emptySourcePrintsFurniture()
{
    MemorySource source;
    Report r;
    listReport(r, &source);
    const Document doc = r.render();
    QCOMPARE(doc.pageCount(), 1);
    QCOMPARE(lines(doc, 0),
             QStringList({"Title Line", "Name", "Total Records", "0", "0.00", "List Report",
                          "Page 1", "Printed 15/03/2026 09:30:05"}));
}

void TestReportEngine::printsOnceFromHandedValues()
{
    Report r;
    r.now(Now).values({{"Client", "Smith"}, {"Due", QDate(2026, 4, 1)}, {"Total", 99.5}});
    r.detail().height(6).field(0, 0, 40, 5, "Client");
    r.detail().field(50, 0, 30, 5, "Due");
    r.detail().field(90, 0, 30, 5, "Total");
    r.detail().field(130, 0, 30, 5, "Nothing");
    r.summary().height(6).count(0, 0, 20, 5);
    const Document doc = r.render();
    QCOMPARE(lines(doc, 0), QStringList({"Smith", "01/04/2026", "99.50", "1"}));
}

void TestReportEngine::beforePrintSetsAndSkips()
{
    MemorySource source(rows(4));
    Report r;
    r.now(Now).source(&source);
    r.title().height(10).text(0, 0, 100, 5, "placeholder").name("CoLab");
    r.title().beforePrint([](BandEvent &e) {
        e.band.find<TextElement>("CoLab")->setText("My Company");
    });
    r.detail().height(5).field(0, 0, 40, 5, "Name");
    // Odd rows only.
    r.detail().beforePrint([](BandEvent &e) {
        e.print = int(e.state.value("Amount").toDouble()) % 2;
    });
    const Document doc = r.render();
    QCOMPARE(lines(doc, 0), QStringList({"My Company", "Row 1", "Row 3"}));
    QVERIFY(r.text("CoLab"));
}

void TestReportEngine::richTextRunsOverPages()
{
    QString html;
    for (int i = 1; i <= 120; ++i)
        html += QString("<p>Paragraph %1 has <b>bold</b> words and enough further words to "
                        "fill a line across the box and wrap onto a second line.</p>").arg(i);
    Report r;
    r.now(Now);
    r.title().height(15).text(0, 0, 100, 8, "To Do");
    r.detail().height(10).richText(0, 0, r.printWidth(), 10, html);
    r.detail().text(0, 10, 60, 5, "After the text");
    r.pageFooter().height(10).pageNumber(0, 2, 40, 5).prefix("Page ");
    const Document doc = r.render();

    QVERIFY2(doc.pageCount() >= 4, qPrintable(QString::number(doc.pageCount())));
    QStringList paragraphs;
    for (int p = 0; p < doc.pageCount(); ++p) {
        QVERIFY(lines(doc, p).contains(QString("Page %1").arg(p + 1)));
        for (const DocItem *run : doc.textsInReadingOrder(p)) {
            if (run->text.startsWith("Paragraph "))
                paragraphs.append(run->text.section(' ', 0, 1));
            if (!run->text.startsWith("Page "))
                QVERIFY(run->rect.bottom() <= 297 - 10 - 10 + 0.001);
            if (run->text == "bold")
                QVERIFY(run->font.bold());
        }
    }
    QCOMPARE(paragraphs.size(), 120);
    QCOMPARE(paragraphs.first(), QString("Paragraph 1"));
    QCOMPARE(paragraphs.last(), QString("Paragraph 120"));
    // The element below the rich text moves down with it onto the last page.
    const QStringList last = lines(doc, doc.pageCount() - 1);
    QVERIFY(last.indexOf("After the text") > last.indexOf(QRegularExpression("^Paragraph 120")));
}

void TestReportEngine::wrappedTextPushesElementsDown()
{
    Report r;
    r.now(Now).values({{"Note", QString("word ").repeated(60).trimmed()}});
    r.detail().height(12).field(0, 0, 50, 5, "Note").wrap();
    r.detail().text(0, 6, 50, 5, "Below");
    const Document doc = r.render();
    const QList<QRectF> note = runRects(doc, 0, "word");
    QVERIFY(note.size() >= 5);
    const QRectF below = runRects(doc, 0, "Below").first();
    QVERIFY(below.top() >= note.last().bottom() - 0.001);
    for (const QRectF &rect : note)
        QCOMPARE(rect.width(), 50.0);
}

void TestReportEngine::labelsFillDownThenAcross()
{
    MemorySource source(rows(15));
    Report r;
    r.now(Now).source(&source).columns(2, 5).margins(10);
    // 297 - 20 = 277 mm high: four labels of 60 mm a column.
    r.detail().height(60).field(2, 2, 60, 5, "Name");
    const Document doc = r.render();
    QCOMPARE(doc.pageCount(), 2);
    const double column2 = 10 + r.columnWidth() + 5;
    QCOMPARE(r.columnWidth(), 92.5);
    auto position = [&](int page, const QString &text) {
        for (const DocItem *run : doc.textsInReadingOrder(page)) {
            if (run->text == text)
                return run->rect.topLeft();
        }
        return QPointF(-1, -1);
    };
    QCOMPARE(position(0, "Row 1"), QPointF(12, 12));
    QCOMPARE(position(0, "Row 4"), QPointF(12, 12 + 180));
    QCOMPARE(position(0, "Row 5"), QPointF(column2 + 2, 12));
    QCOMPARE(position(0, "Row 8"), QPointF(column2 + 2, 192));
    QCOMPARE(position(1, "Row 9"), QPointF(12, 12));
    QCOMPARE(position(1, "Row 13"), QPointF(column2 + 2, 12));
    QCOMPARE(position(1, "Row 15"), QPointF(column2 + 2, 132));
}

void TestReportEngine::pageFooterSumsItsPage()
{
    MemorySource source(rows(60));
    Report r;
    r.now(Now).source(&source);
    r.detail().height(10).field(0, 0, 40, 5, "Amount");
    r.pageFooter().height(10).sum(0, 0, 40, 5, "Amount").prefix("Page total ");
    r.pageFooter().count(50, 0, 40, 5).prefix("Lines ");
    const Document doc = r.render();
    // 277 - 10 = 267 mm: 26 lines a page.
    QCOMPARE(doc.pageCount(), 3);
    QVERIFY(lines(doc, 0).contains("Page total 351.00"));
    QVERIFY(lines(doc, 0).contains("Lines 26"));
    QVERIFY(lines(doc, 1).contains(QString("Page total %1.00").arg((27 + 52) * 26 / 2)));
    QVERIFY(lines(doc, 2).contains("Lines 8"));
}

void TestReportEngine::code39_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("coded");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("empty") << "" << "" << "nwnnwnwnn" "n" "nwnnwnwnn";
    QTest::newRow("one letter") << "a" << "A" << "nwnnwnwnn" "n" "wnnnnwnnw" "n" "nwnnwnwnn";
    QTest::newRow("digits, sign, unknown left out")
        << "1-2_x*" << "1-2X"
        << "nwnnwnwnn" "n" "wnnwnnnnw" "n" "nwnnnnwnw" "n" "nnwwnnnnw" "n" "nwnnwnnnw"
           "n" "nwnnwnwnn";
}

void TestReportEngine::code39()
{
    QFETCH(QString, text);
    QFETCH(QString, coded);
    QFETCH(QString, pattern);
    QCOMPARE(code39Text(text), coded);
    QCOMPARE(code39Pattern(text), pattern);
}

void TestReportEngine::missingPictureAndBarcodeBars()
{
    Report r;
    r.now(Now).values({{"Pic", QByteArray("not a picture")}});
    r.title().height(40).image(0, 0, 42.3, 31.75, "/nonexistent/Logo.JPG");
    r.title().image(50, 0, 20, 20).field("Pic");
    r.title().barcode(80, 0, 64, 15, "AB12").showText();
    const Document doc = r.render();
    int bars = 0;
    double left = 1e9, right = 0;
    for (const DocItem &item : doc.page(0).items) {
        QVERIFY(item.kind != DocItem::Kind::Image);
        if (item.kind == DocItem::Kind::Rect) {
            ++bars;
            left = qMin(left, item.rect.left());
            right = qMax(right, item.rect.right());
        }
    }
    // Six characters with the asterisks, five bars each; the symbol fills the box.
    QCOMPARE(bars, 30);
    QCOMPARE(left, 90.0);
    QVERIFY(qAbs(right - 154.0) < 0.001);
    QCOMPARE(lines(doc, 0), QStringList({"*AB12*"}));
}

void TestReportEngine::chartPaintsIntoItsBox()
{
    Report r;
    r.now(Now).values({{"Share", 0.5}});
    QRectF given;
    r.summary().height(60).chart(10, 5, 50.8, 25.4, [&](QPainter &p, const QRectF &box,
                                                        const RenderState &s) {
        given = box;
        p.fillRect(QRectF(box.topLeft(), QSizeF(box.width() * s.value("Share").toDouble(),
                                                box.height())), Qt::green);
    });
    const Document doc = r.render();
    QCOMPARE(given, QRectF(0, 0, 600, 300)); // 300 dpi
    QCOMPARE(doc.page(0).items.size(), 1);
    const DocItem &item = doc.page(0).items.first();
    QCOMPARE(item.kind, DocItem::Kind::Image);
    QCOMPARE(item.rect, QRectF(20, 15, 50.8, 25.4));
    QCOMPARE(doc.image(item.image).pixelColor(100, 100), QColor(Qt::green));
    QCOMPARE(doc.image(item.image).pixelColor(500, 100).alpha(), 0);
}

void TestReportEngine::savedDocumentLoadsBack()
{
    MemorySource source(rows(70));
    Report r;
    listReport(r, &source);
    QImage logo(40, 30, QImage::Format_RGB32);
    logo.fill(Qt::red);
    r.title().image(0, 0, 40, 30).image(logo);
    const Document doc = r.render();

    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    QVERIFY(doc.save(&buffer));
    buffer.seek(0);
    Document loaded;
    QVERIFY(loaded.load(&buffer));
    QCOMPARE(loaded.pageCount(), doc.pageCount());
    QCOMPARE(loaded.pageTexts(), doc.pageTexts());
    QCOMPARE(loaded.title(), doc.title());
    QCOMPARE(loaded.imageCount(), 1);
    QCOMPARE(loaded.image(0).pixelColor(5, 5), QColor(Qt::red));
    QCOMPARE(loaded.page(0).items.first().font, doc.page(0).items.first().font);

    QByteArray bytes = buffer.data();
    QBuffer damaged;
    damaged.setData(bytes.left(bytes.size() / 2));
    damaged.open(QIODevice::ReadOnly);
    QString error;
    QVERIFY(!loaded.load(&damaged, &error));
    QCOMPARE(error, QString("The saved report is damaged."));
    QCOMPARE(loaded.pageCount(), doc.pageCount());
    QBuffer other;
    other.setData("hello world, not a report");
    other.open(QIODevice::ReadOnly);
    QVERIFY(!loaded.load(&other, &error));
    QCOMPARE(error, QString("This file is not a saved report."));
}

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
