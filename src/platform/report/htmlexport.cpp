#include "platform/report/exportwriters.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QtMath>

namespace Brelvan::ExportWriters {

namespace {

QString esc(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default:
            // Control characters have no place in XML.
            if (c.unicode() >= 0x20 || c == QLatin1Char('\t'))
                out += c;
        }
    }
    return out;
}

QString mm(double v)
{
    return QString::number(v, 'f', 2) + QLatin1String("mm");
}

QString colour(const QColor &c)
{
    return (c.isValid() ? c : QColor(Qt::black)).name();
}

QString fontCss(const DocItem &run)
{
    QString css = QStringLiteral("font-family:'%1',sans-serif;font-size:%2pt;color:%3;")
                      .arg(run.font.family(), QString::number(run.font.pointSizeF(), 'f', 1),
                           colour(run.colour));
    if (run.font.bold())
        css += QLatin1String("font-weight:bold;");
    if (run.font.italic())
        css += QLatin1String("font-style:italic;");
    if (run.font.underline() || run.font.strikeOut()) {
        css += QLatin1String("text-decoration:");
        css += run.font.underline() ? QLatin1String("underline") : QLatin1String("line-through");
        css += QLatin1Char(';');
    }
    return css;
}

const char *const Script = R"(// Page navigator: one page at a time, with buttons to move.
(function () {
    var pages = [];
    var current = 0;
    function show(index) {
        if (!pages.length)
            return;
        current = Math.max(0, Math.min(pages.length - 1, index));
        for (var i = 0; i < pages.length; i++)
            pages[i].style.display = i === current ? 'block' : 'none';
        document.getElementById('navPage').textContent =
            'Page ' + (current + 1) + ' of ' + pages.length;
    }
    window.addEventListener('load', function () {
        pages = document.querySelectorAll('div.page');
        document.getElementById('navFirst').onclick = function () { show(0); };
        document.getElementById('navPrev').onclick = function () { show(current - 1); };
        document.getElementById('navNext').onclick = function () { show(current + 1); };
        document.getElementById('navLast').onclick = function () { show(pages.length - 1); };
        document.addEventListener('keydown', function (e) {
            if (e.key === 'PageDown' || e.key === 'ArrowRight') show(current + 1);
            if (e.key === 'PageUp' || e.key === 'ArrowLeft') show(current - 1);
        });
        show(0);
    });
})();
)";

bool writeFile(const QString &path, const QByteArray &data, QString &error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        error = QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool writeHtml(const Document &doc, const QList<int> &pages, const QString &path, bool xhtml,
               QStringList &files, QString &error)
{
    const QFileInfo info(path);
    const QString base = info.completeBaseName();
    const QString dir = info.absolutePath();
    const QString cssName = base + QStringLiteral(".css");
    const QString jsName = base + QStringLiteral(".js");
    const QString imageDir = base + QStringLiteral("_files");
    if (!QFileInfo(dir).isDir()) {
        error = QStringLiteral("The folder \"%1\" does not exist.")
                    .arg(QDir::toNativeSeparators(dir));
        return false;
    }

    // Every distinct font and colour becomes one class of the style sheet.
    QHash<QString, int> classes;
    QStringList classCss;
    QHash<int, QString> imageFiles;

    QString body;
    body += QStringLiteral("<div id=\"nav\"><button type=\"button\" id=\"navFirst\">First"
                           "</button> <button type=\"button\" id=\"navPrev\">Previous</button> "
                           "<span id=\"navPage\">Page 1 of %1</span> <button type=\"button\" "
                           "id=\"navNext\">Next</button> <button type=\"button\" id=\"navLast\">"
                           "Last</button></div>\n")
                .arg(pages.size());
    for (int index : pages) {
        const DocPage &page = doc.page(index);
        body += QStringLiteral("<div class=\"page\" id=\"page%1\" style=\"width:%2;height:%3\">\n")
                    .arg(index + 1)
                    .arg(mm(page.size.width()), mm(page.size.height()));
        for (const DocItem &item : page.items) {
            switch (item.kind) {
            case DocItem::Kind::Text: {
                const QString css = fontCss(item);
                int cls = classes.value(css, -1);
                if (cls < 0) {
                    cls = int(classes.size());
                    classes.insert(css, cls);
                    classCss.append(QStringLiteral(".f%1 { %2 }").arg(cls).arg(css));
                }
                QString align;
                if (item.flags & Qt::AlignRight)
                    align = QStringLiteral(";text-align:right");
                else if (item.flags & Qt::AlignHCenter)
                    align = QStringLiteral(";text-align:center");
                if (item.flags & (Qt::AlignVCenter | Qt::AlignBottom))
                    align += QStringLiteral(";line-height:") + mm(item.rect.height());
                body += QStringLiteral("<div class=\"t f%1\" style=\"left:%2;top:%3;width:%4;"
                                       "height:%5%6\">%7</div>\n")
                            .arg(cls)
                            .arg(mm(item.rect.left()), mm(item.rect.top()),
                                 mm(item.rect.width()), mm(item.rect.height()), align,
                                 esc(item.text));
                break;
            }
            case DocItem::Kind::Line: {
                const QLineF line = item.line();
                const double angle = qRadiansToDegrees(qAtan2(line.dy(), line.dx()));
                body += QStringLiteral("<div class=\"l\" style=\"left:%1;top:%2;width:%3;"
                                       "border-top:%4 solid %5;transform:rotate(%6deg)\"></div>\n")
                            .arg(mm(line.p1().x()), mm(line.p1().y()), mm(line.length()),
                                 mm(qMax(item.penWidth, 0.1)), colour(item.colour),
                                 QString::number(angle, 'f', 2));
                break;
            }
            case DocItem::Kind::Rect: {
                QString style = QStringLiteral("left:%1;top:%2;width:%3;height:%4")
                                    .arg(mm(item.rect.left()), mm(item.rect.top()),
                                         mm(item.rect.width()), mm(item.rect.height()));
                if (item.penWidth > 0)
                    style += QStringLiteral(";border:%1 solid %2")
                                 .arg(mm(item.penWidth), colour(item.colour));
                if (item.fill.isValid())
                    style += QStringLiteral(";background:") + item.fill.name();
                body += QStringLiteral("<div class=\"r\" style=\"%1\"></div>\n").arg(style);
                break;
            }
            case DocItem::Kind::Image: {
                if (item.image < 0)
                    break;
                QString name = imageFiles.value(item.image);
                if (name.isEmpty()) {
                    name = imageDir + QStringLiteral("/image%1.jpg").arg(imageFiles.size() + 1);
                    if (!QDir(dir).mkpath(imageDir)) {
                        error = QStringLiteral("Cannot make the folder \"%1\".").arg(imageDir);
                        return false;
                    }
                    QImage picture = doc.image(item.image);
                    if (picture.hasAlphaChannel()) {
                        QImage flat(picture.size(), QImage::Format_RGB888);
                        flat.fill(Qt::white);
                        QPainter painter(&flat);
                        painter.drawImage(0, 0, picture);
                        painter.end();
                        picture = flat;
                    }
                    QImageWriter writer(dir + QLatin1Char('/') + name, "jpeg");
                    writer.setQuality(100);
                    if (!writer.write(picture.convertToFormat(QImage::Format_RGB888))) {
                        error = writer.errorString();
                        return false;
                    }
                    files.append(dir + QLatin1Char('/') + name);
                    imageFiles.insert(item.image, name);
                }
                body += QStringLiteral("<img class=\"i\" src=\"%1\" alt=\"\" style=\"left:%2;"
                                       "top:%3;width:%4;height:%5\" />\n")
                            .arg(esc(name), mm(item.rect.left()), mm(item.rect.top()),
                                 mm(item.rect.width()), mm(item.rect.height()));
                break;
            }
            }
        }
        body += QStringLiteral("</div>\n");
    }

    QString html;
    if (xhtml) {
        html = QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
            "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
            "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\n<head>\n"
            "<meta http-equiv=\"Content-Type\" content=\"application/xhtml+xml; "
            "charset=UTF-8\" />\n");
    } else {
        html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n"
                              "<meta charset=\"utf-8\" />\n");
    }
    html += QStringLiteral("<meta name=\"generator\" content=\"Brelvan\" />\n"
                           "<title>%1</title>\n"
                           "<link rel=\"stylesheet\" type=\"text/css\" href=\"%2\" />\n"
                           "<script type=\"text/javascript\" src=\"%3\"></script>\n"
                           "</head>\n<body>\n")
                .arg(esc(doc.title()), esc(cssName), esc(jsName));
    html += body;
    html += QStringLiteral("</body>\n</html>\n");

    QString css = QStringLiteral(
        "body { background: #808080; margin: 0; padding: 8px; }\n"
        "#nav { text-align: center; margin-bottom: 8px; font-family: sans-serif; }\n"
        "#nav span { color: white; margin: 0 1em; }\n"
        "div.page { position: relative; background: white; margin: 0 auto 12px auto; "
        "overflow: hidden; box-shadow: 2px 2px 6px #333; }\n"
        ".t { position: absolute; white-space: pre; line-height: 1.15; overflow: visible; }\n"
        ".l { position: absolute; height: 0; transform-origin: 0 0; }\n"
        ".r { position: absolute; box-sizing: border-box; }\n"
        ".i { position: absolute; }\n"
        "@media print { body { background: white; padding: 0; } #nav { display: none; } "
        "div.page { display: block !important; box-shadow: none; margin: 0; "
        "page-break-after: always; } }\n");
    css += classCss.join(QLatin1Char('\n')) + QLatin1Char('\n');

    if (!writeFile(path, html.toUtf8(), error)
        || !writeFile(dir + QLatin1Char('/') + cssName, css.toUtf8(), error)
        || !writeFile(dir + QLatin1Char('/') + jsName, QByteArray(Script), error))
        return false;
    files.prepend(dir + QLatin1Char('/') + jsName);
    files.prepend(dir + QLatin1Char('/') + cssName);
    files.prepend(path);
    return true;
}

} // namespace Brelvan::ExportWriters
