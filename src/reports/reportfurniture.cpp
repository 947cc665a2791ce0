#include "reports/reportfurniture.h"

#include "platform/report/report.h"

#include <QFileInfo>
#include <QImageReader>

namespace Brelvan::Furniture {

namespace {

QFont fontOf(const FontChoice &f)
{
    return f.font;
}

} // namespace

void ownerBlock(Report &report, Band &band, const OwnerDetails &owner, const QString &logoFile,
                OwnerVariant variant, double top)
{
    const double width = report.printWidth();
    const OwnerLines lines = ownerLines(owner, variant);
    // the logo is loaded without trusting the file: a bad one prints nothing
    QImage logo;
    if (QFileInfo::exists(logoFile)) {
        QImageReader reader(logoFile);
        logo = reader.read();
    }
    auto &image = band.image(0, top, 42.3, 31.75).name(QStringLiteral("Logo"));
    if (!logo.isNull())
        image.image(logo);

    struct Line { const char *name; double top; QString text; bool company; };
    const Line all[] = {
        {"CoLab", 1.3, lines.company, true},
        {"ABNLab", 10.6, lines.taxNumber, false},
        {"CoDetLab", 15.9, lines.companyDetails, false},
        {"Addr1Lab", 21.2, lines.address, false},
        {"PhoneLab", 27.3, lines.phone, false},
        {"EmailLab", 32.8, lines.email, false},
    };
    for (const Line &l : all) {
        const FontChoice &f = l.company ? owner.companyFont : owner.othersFont;
        const double h = l.company ? 9.0 : 5.2;
        band.text(0, top + l.top, width, h, l.text)
            .name(QString::fromLatin1(l.name))
            .font(fontOf(f))
            .colour(f.color.isValid() ? f.color : QColor(Qt::black))
            .centre();
    }
}

void titleBand(Report &report, const OwnerDetails &owner, const QString &logoFile,
               OwnerVariant variant)
{
    Band &band = report.title().height(41);
    ownerBlock(report, band, owner, logoFile, variant);
}

void pageFooter(Report &report)
{
    const double w = report.printWidth();
    Band &band = report.pageFooter().height(10.6);
    const QFont arial(QStringLiteral("Arial"), 10);
    band.reportTitle(0, 2, w / 3, 5).font(arial).left();
    band.pageNumber(w / 3, 2, w / 3, 5).prefix(QStringLiteral("Page ")).font(arial).centre();
    band.printDateTime(2 * w / 3, 2, w / 3, 5).prefix(QStringLiteral("Printed ")).font(arial)
        .right();
}

void totalRecords(Report &report, double height)
{
    Band &band = report.summary().height(height);
    band.text(0, 1, 30, 5, QStringLiteral("Total Records")).bold();
    band.count(32, 1, 30, 5).bold();
}

} // namespace Brelvan::Furniture
