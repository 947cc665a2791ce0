// The text files and the logo the program reads from its own folder.

#include "data/demodata.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <functional>

namespace Brelvan {

namespace {

const char *const quoteSpec[] = {
    "Wash down all surfaces with sugar soap and rinse.",
    "Fill cracks and nail holes, sand smooth.",
    "Treat mould with mould killer before painting.",
    "Spot prime bare timber and filled areas.",
    "Two full coats to walls in the colours chosen.",
    "Two coats of ceiling white to all ceilings.",
    "Doors, frames and skirtings in semi gloss enamel.",
    "Scrape and sand flaking paint back to a sound edge.",
    "Pressure clean exterior walls, eaves and gutters.",
    "Protect floors, gardens and furniture with drop sheets.",
    "Remove and refit switch plates, door furniture and fittings.",
    "Clean up daily and remove all rubbish on completion.",
};

const char *const sundrySpec[] = {
    "Drop sheets & plastic", "Masking tape",   "Fillers & sealants", "Sandpaper & abrasives",
    "Scaffold hire",         "Ladder hire",    "Sugar soap",         "Mould treatment",
    "Rubbish removal",       "Pressure washer hire",
};

const char *const letter[] = {
    "Thank you for choosing Coastline Painting for your recent work. We hope you are "
    "enjoying the fresh new look of your property.",
    "",
    "As the cooler, drier months arrive it is the ideal time to plan exterior painting, deck "
    "staining and roof restoration. Bookings made this month receive a free colour "
    "consultation and a 10% discount on materials.",
    "",
    "All of our work is carried out by licensed tradesmen, is fully insured, and comes with "
    "a written five year workmanship guarantee.",
    "",
    "Please call us to arrange an obligation free quote at a time that suits you.",
    "",
    "Yours sincerely,",
    "",
    "",
    "Coastline Painting",
};

const char *const toDo[] = {
    "Order 4 x 10L Weathershield Monument for the Nguyen exterior",
    "Ring Mrs Smith re colour samples",
    "Service the airless spray unit - new filter and tip",
    "Renew public liability insurance before August",
    "BAS due on the 28th",
};

// Lines joined by CR LF, in the single-byte character set the program reads. No break
// after the last line: the to-do box saves its exact text that way, and a list read by
// splitting on breaks gets no empty last entry.
QByteArray crlf(const char *const *lines, int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            out += "\r\n";
        out += QString::fromUtf8(lines[i]).toLatin1();
    }
    return out;
}

QImage logo()
{
    QImage img(320, 240, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(0x1e, 0x5a, 0x96));
    sky.setColorAt(1, QColor(0x7f, 0xc8, 0xe6));
    p.fillRect(img.rect(), sky);

    // a wave of fresh paint across the lower part
    QPainterPath wave;
    wave.moveTo(0, 170);
    wave.cubicTo(80, 130, 160, 210, 320, 150);
    wave.lineTo(320, 240);
    wave.lineTo(0, 240);
    wave.closeSubpath();
    p.fillPath(wave, QColor(0xf2, 0xb1, 0x34));

    // a paint roller
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(250, 62, 250, 40);
    p.drawLine(250, 40, 200, 40);
    p.drawLine(200, 40, 200, 100);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawRoundedRect(194, 98, 12, 44, 4, 4);
    p.setBrush(QColor(0xf2, 0xb1, 0x34));
    p.drawRoundedRect(180, 60, 140, 26, 10, 10);

    QFont name(QStringLiteral("DejaVu Serif"));
    name.setPixelSize(34);
    name.setBold(true);
    p.setFont(name);
    p.setPen(Qt::white);
    p.drawText(QRect(16, 96, 300, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Coastline"));
    QFont trade(QStringLiteral("DejaVu Sans"));
    trade.setPixelSize(20);
    p.setFont(trade);
    p.setPen(QColor(0x1e, 0x3a, 0x5a));
    p.drawText(QRect(16, 196, 300, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("PAINTING  -  Est. 2009"));
    p.end();
    return img;
}

bool save(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = QStringLiteral("%1 cannot be written: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

} // namespace

bool writeProgramFolderFiles(const QString &programFolder, QString *error, QStringList *written,
                             QStringList *kept)
{
    const QDir root(programFolder);
    for (const char *sub : {"Letters", "Data"}) {
        if (!root.mkpath(QString::fromLatin1(sub))) {
            if (error)
                *error = QStringLiteral("The folder %1 cannot be made.")
                             .arg(root.filePath(QString::fromLatin1(sub)));
            return false;
        }
    }
    struct File
    {
        const char *name;
        std::function<QByteArray()> make;
    };
    const File files[] = {
        {"Letters/QuoteSpec.Txt",
         [] { return crlf(quoteSpec, int(std::size(quoteSpec))); }},
        {"Letters/SundrySpec.Txt",
         [] { return crlf(sundrySpec, int(std::size(sundrySpec))); }},
        {"Letters/Letter1.Txt", [] { return crlf(letter, int(std::size(letter))); }},
        {"Data/ToDo.Txt", [] { return crlf(toDo, int(std::size(toDo))); }},
        {"Logo.JPG", [] {
             QByteArray bytes;
             QBuffer buffer(&bytes);
             buffer.open(QIODevice::WriteOnly);
             logo().save(&buffer, "JPG", 90);
             return bytes;
         }},
    };
    for (const File &f : files) {
        const QString name = QString::fromLatin1(f.name);
        const QString path = root.filePath(name);
        if (QFileInfo::exists(path)) {
            if (kept)
                *kept << name;
            continue;
        }
        const QByteArray bytes = f.make();
        if (bytes.isEmpty()) {
            if (error)
                *error = QStringLiteral("%1 could not be made.").arg(path);
            return false;
        }
        if (!save(path, bytes, error))
            return false;
        if (written)
            *written << name;
    }
    return true;
}

} // namespace Brelvan
