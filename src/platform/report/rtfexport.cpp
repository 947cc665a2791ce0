#include "platform/report/exportwriters.h"

#include <QSaveFile>

namespace Brelvan::ExportWriters {

namespace {

constexpr double TwipsPerMm = 1440.0 / 25.4;
constexpr double MarginMm = 10.0;

int twips(double mm)
{
    return qMax(0, qRound(mm * TwipsPerMm));
}

QByteArray esc(const QString &text)
{
    QByteArray out;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u < 0x20) {
            continue;
        } else if (u < 0x80) {
            out += char(u);
        } else {
            // RTF's Unicode escape takes a signed 16-bit number and a plain-text fallback.
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return out;
}

} // namespace

bool writeRtf(const Document &doc, const QList<int> &pages, const QString &path,
              QStringList &files, QString &error)
{
    QStringList fonts;
    QList<QColor> colours{QColor(Qt::black)};
    QByteArray body;
    const QSizeF firstSize = doc.page(pages.first()).size;

    for (qsizetype p = 0; p < pages.size(); ++p) {
        double previousBottom = MarginMm;
        const auto rows = textRows(doc, pages.at(p));
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const auto &row = rows.at(r);
            double top = row.first()->rect.top(), bottom = row.first()->rect.bottom();
            for (const DocItem *run : row) {
                top = qMin(top, run->rect.top());
                bottom = qMax(bottom, run->rect.bottom());
            }
            // One paragraph a printed line: the gap above it as space before, each run at
            // a tab stop of its own kind.
            body += "\\pard\\plain\\sb" + QByteArray::number(twips(top - previousBottom));
            body += "\\sa0\\sl-" + QByteArray::number(qMax(1, twips(bottom - top))) + "\\slmult0";
            QByteArray text;
            int lastStop = 0;
            for (const DocItem *run : row) {
                int stop;
                QByteArray kind;
                if (run->flags & Qt::AlignRight) {
                    stop = twips(run->rect.right() - MarginMm);
                    kind = "\\tqr";
                } else if (run->flags & Qt::AlignHCenter) {
                    stop = twips(run->rect.center().x() - MarginMm);
                    kind = "\\tqc";
                } else {
                    stop = twips(run->rect.left() - MarginMm);
                }
                if (stop > lastStop) {
                    body += kind + "\\tx" + QByteArray::number(stop);
                    lastStop = stop;
                    text += "\\tab";
                } else if (!text.isEmpty()) {
                    text += ' ';
                }
                QString family = run->font.family();
                qsizetype f = fonts.indexOf(family);
                if (f < 0) {
                    fonts.append(family);
                    f = fonts.size() - 1;
                }
                const QColor c = run->colour.isValid() ? run->colour : QColor(Qt::black);
                qsizetype ci = colours.indexOf(c);
                if (ci < 0) {
                    colours.append(c);
                    ci = colours.size() - 1;
                }
                text += "{\\f" + QByteArray::number(f) + "\\fs"
                        + QByteArray::number(qRound(run->font.pointSizeF() * 2)) + "\\cf"
                        + QByteArray::number(ci + 1);
                if (run->font.bold())
                    text += "\\b";
                if (run->font.italic())
                    text += "\\i";
                if (run->font.underline())
                    text += "\\ul";
                text += ' ' + esc(run->text) + '}';
            }
            body += ' ' + text;
            if (r + 1 < rows.size())
                body += "\\par\n";
            previousBottom = bottom;
        }
        body += p + 1 < pages.size() ? "\\page\\par\n" : "\\par\n";
    }

    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    if (fonts.isEmpty())
        fonts.append(QStringLiteral("Arial"));
    for (qsizetype i = 0; i < fonts.size(); ++i)
        rtf += "{\\f" + QByteArray::number(i) + "\\fswiss " + esc(fonts.at(i)) + ";}";
    rtf += "}\n{\\colortbl;";
    for (const QColor &c : colours) {
        rtf += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green())
               + "\\blue" + QByteArray::number(c.blue()) + ';';
    }
    rtf += "}\n{\\info{\\title " + esc(doc.title()) + "}{\\doccomm Brelvan}}\n";
    rtf += "\\paperw" + QByteArray::number(twips(firstSize.width())) + "\\paperh"
           + QByteArray::number(twips(firstSize.height()));
    if (firstSize.width() > firstSize.height())
        rtf += "\\landscape";
    const QByteArray margin = QByteArray::number(twips(MarginMm));
    rtf += "\\margl" + margin + "\\margr" + margin + "\\margt" + margin + "\\margb" + margin;
    rtf += "\\widowctrl\\viewkind1\n" + body + "}\n";

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size() || !file.commit()) {
        error = QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    files.append(path);
    return true;
}

} // namespace Brelvan::ExportWriters
