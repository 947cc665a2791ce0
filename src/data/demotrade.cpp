// The sample business's trade records: the paint price list, quotes and the jobs won.

#include "data/demobuilder.h"
#include "data/demodata.h"

#include "platform/table/dataset.h"

#include <algorithm>
#include <cmath>

namespace Brelvan::Demo {

using Table::Dataset;

namespace {

constexpr double GstRate = 10;

struct PaintRow
{
    const char *code, *maker, *paint, *type, *size, *colour;
    double cost;
};

// Codes stay within four characters: a quote keeps only that much of them.
const PaintRow paintRows[] = {
    {"D01", "Dulux", "Wash&Wear Advanced", "Low Sheen", "4", "Vivid White", 78.50},
    {"D02", "Dulux", "Wash&Wear Advanced", "Low Sheen", "10", "Natural White", 168.00},
    {"D03", "Dulux", "Wash&Wear Advanced", "Low Sheen", "10", "Lexicon Quarter", 172.00},
    {"D04", "Dulux", "Weathershield", "Low Sheen", "10", "Monument", 189.00},
    {"D05", "Dulux", "Weathershield", "Low Sheen", "15", "Surfmist", 259.00},
    {"D06", "Dulux", "Aquanamel", "Semi Gloss", "4", "Vivid White", 92.00},
    {"D07", "Dulux", "Professional Ceiling", "Flat", "10", "Ceiling White", 118.00},
    {"D08", "Dulux", "1Step Prep", "Primer Sealer Undercoat", "10", "White", 139.00},
    {"T01", "Taubmans", "Endure", "Low Sheen", "4", "Crisp White", 69.90},
    {"T02", "Taubmans", "Endure", "Low Sheen", "10", "Hog Bristle Half", 149.00},
    {"T03", "Taubmans", "Sunproof", "Exterior Low Sheen", "10", "Whisper White", 165.00},
    {"T04", "Taubmans", "All Weather", "Gloss", "4", "Deep Ocean", 84.00},
    {"W01", "Wattyl", "Solagard", "Exterior Gloss", "10", "Stonehenge Grey", 178.00},
    {"W02", "Wattyl", "i.d Advanced", "Low Sheen", "4", "Timeless Grey", 72.00},
    {"W03", "Wattyl", "Killrust", "Epoxy Enamel", "4", "Black", 96.00},
    {"W04", "Wattyl", "Killrust", "Epoxy Enamel", "1", "Safety Yellow", 32.50},
    {"H01", "Haymes", "Ultra Premium Interior", "Low Sheen", "4", "Paperbark", 76.00},
    {"H02", "Haymes", "Ultra Premium Interior", "Low Sheen", "10", "Paperbark", 162.00},
    {"H03", "Haymes", "Solashield", "Exterior Low Sheen", "10", "Dieskau", 181.00},
    {"H04", "Haymes", "Expert Ceiling", "Flat", "15", "Ceiling White", 139.00},
    {"H05", "Haymes", "Expert Primer", "Primer Undercoat", "4", "White", 58.00},
    {"B01", "British Paints", "4 Seasons", "Exterior Low Sheen", "10", "Domino", 142.00},
    {"B02", "British Paints", "Limitless", "Semi Gloss", "4", "Antique White USA", 64.00},
    {"B03", "British Paints", "Ceiling Paint", "Flat", "10", "Ceiling White", 88.00},
    {"C01", "Cabot's", "Deck & Exterior Stain", "Oil Based", "4", "Jarrah", 86.00},
    {"C02", "Cabot's", "Aquadeck", "Water Based", "10", "Natural", 189.00},
    {"C03", "Cabot's", "Cabothane Clear", "Gloss", "1", "Clear", 41.00},
    {"R01", "Rust-Oleum", "Mould Killer", "Ready to Use", "5", "Clear", 29.00},
    {"S01", "Zinsser", "Cover Stain", "Primer Sealer", "4", "White", 89.00},
    {"S02", "Zinsser", "Bulls Eye 1-2-3", "Primer Undercoat", "4", "White", 74.00},
};
static_assert(std::size(paintRows) == DemoCounts::Paints);

} // namespace

void addPaints(Context &c, Dataset &ds)
{
    int n = 0;
    for (const PaintRow &row : paintRows) {
        Paint p;
        p.code = QString::fromLatin1(row.code);
        p.maker = QString::fromLatin1(row.maker);
        p.paint = QString::fromLatin1(row.paint);
        p.type = QString::fromLatin1(row.type);
        p.size = QString::fromLatin1(row.size);
        p.colour = QString::fromLatin1(row.colour);
        p.cost = row.cost;
        p.gst = roundCents(row.cost * GstRate / 100);
        p.prodNo = QStringLiteral("%1-%2").arg(p.maker.left(3).toUpper()).arg(20140 + 37 * n);
        p.gpcNo = QStringLiteral("GPC%1").arg(5200 + 13 * n);
        c.paints << p;
        ds.append();
        put(ds, "Code", p.code);
        put(ds, "Maker", p.maker);
        put(ds, "Paint", p.paint);
        put(ds, "Type", p.type);
        put(ds, "Size", p.size);
        put(ds, "Colour", p.colour);
        put(ds, "Cost", p.cost);
        put(ds, "Flag", QStringLiteral("y"));   // GST already added
        put(ds, "GPCNo", p.gpcNo);
        put(ds, "GST", p.gst);
        put(ds, "ProdNo", p.prodNo);
        // the four tagged paints are the ones the quote demonstration picks up
        if (n == 1 || n == 5 || n == 6 || n == 7)
            put(ds, "Tag", QStringLiteral("y"));
        put(ds, "TotCost", roundCents(p.cost + p.gst));
        ds.post();
        ++n;
    }
}

namespace {

struct Line
{
    int paint = -1;   // index into the paint list; -1: slot unused
    double litres = 0;
};

// One quote's figures, worked out as the Quotes page does.
struct QuoteFigures
{
    Line lines[4];
    double labHrs = 0, labRate = 0, labMargin = 10;
    QString sundry[2];
    double sundryCost[2] = {0, 0};
    double ohMargin = 0, profitMargin = 0;

    double pcost[4] = {}, pgst[4] = {};
    double paintTotal = 0, paintGst = 0, labTotal = 0, labGst = 0, sundryGst[2] = {};
    double inputCost = 0, subTotal = 0, quote = 0, profit = 0, gstPaid = 0;

    void work(const QList<Paint> &paints)
    {
        for (int n = 0; n < 4; ++n) {
            if (lines[n].paint < 0)
                continue;
            const Paint &p = paints.at(lines[n].paint);
            const double cans = lines[n].litres / p.size.toDouble();
            paintTotal += cans * (p.cost + p.gst);
            paintGst += cans * p.cost * GstRate / 100;
            pcost[n] = roundCents(cans * p.cost);
            pgst[n] = roundCents(cans * p.cost * GstRate / 100);
            gstPaid += cans * p.gst;
        }
        labTotal = labHrs * labRate * (1 + labMargin / 100);
        labGst = labMargin * labHrs * labRate / 100;
        gstPaid += labGst;
        for (int n = 0; n < 2; ++n) {
            sundryGst[n] = sundryCost[n] * GstRate / (GstRate + 100);
            gstPaid += sundryGst[n];
        }
        inputCost = paintTotal + labTotal + sundryCost[0] + sundryCost[1];
        subTotal = inputCost * (1 + ohMargin / 100);
        quote = roundWhole(subTotal * (1 + profitMargin / 100));
        profit = roundWhole(profitMargin / 100 * subTotal);
    }

    QString notes() const
    {
        const double r = GstRate;
        return QStringList{
            QStringLiteral("Quoted Price (Incl GST) = ") + moneyText(quote),
            QStringLiteral("Paint Actual Cost (Excluding GST) = ")
                + moneyText(paintTotal * 100 / (r + 100)),
            QStringLiteral("Paint GST = ") + moneyText(paintGst),
            QStringLiteral("Paint Total Cost = ") + moneyText(paintTotal),
            QStringLiteral("Labour Actual Cost (Excluding GST) = ")
                + moneyText(labTotal * 100 / (r + 100)),
            QStringLiteral("Labour GST = ") + moneyText(labGst),
            QStringLiteral("Labour Total Cost = ") + moneyText(labTotal),
            QStringLiteral("Sundry Expense 1 GST = ") + moneyText(sundryGst[0]),
            QStringLiteral("Sundry Expense 2 GST = ") + moneyText(sundryGst[1]),
            QStringLiteral("Profit from Margin = ") + moneyText(profit),
            QStringLiteral("GST Expended = ")
                + moneyText(paintGst + labGst + sundryGst[0] + sundryGst[1]),
        }.join(QLatin1Char('\n'));
    }
};

QString marginText(double v)
{
    return QString::number(int(v));
}

// The fields a quote and its job share, written to either table.
void putCommon(Dataset &ds, const Client &cl, const QuoteFigures &q, const QList<Paint> &paints,
               const QDate &date)
{
    put(ds, "Surname", cl.surname);
    put(ds, "FirstName", cl.firstName);
    put(ds, "Company", cl.company);
    put(ds, "ABN", cl.abn);
    put(ds, "Code", cl.code);
    put(ds, "Date", date);
    put(ds, "Email", cl.email);
    put(ds, "Fax", cl.fax);
    put(ds, "GstPaid", roundCents(q.gstPaid));
    put(ds, "Haddress", cl.haddress);
    put(ds, "Hcity", cl.hcity);
    put(ds, "Hphone", cl.hphone);
    put(ds, "Hstate", cl.hstate);
    put(ds, "Hzip", cl.hzip);
    put(ds, "InputCost", roundCents(q.inputCost));
    put(ds, "JobAddress", cl.jobAddress);
    put(ds, "LabHrs", q.labHrs);
    put(ds, "LabMargin", marginText(q.labMargin));
    put(ds, "LabRate", q.labRate);
    put(ds, "LabTot", roundWhole(q.labTotal));
    put(ds, "Mobile", cl.mobile);
    put(ds, "OHMargin", marginText(q.ohMargin));
    put(ds, "PaintCost", roundCents(q.paintTotal));
    put(ds, "ProfitMargin", marginText(q.profitMargin));
    put(ds, "Quote", q.quote);
    put(ds, "SubTotal", roundCents(q.subTotal));
    put(ds, "SundryCost1", amountOrEmpty(q.sundryCost[0]));
    put(ds, "SundryCost2", amountOrEmpty(q.sundryCost[1]));
    put(ds, "SundryExp1", q.sundry[0]);
    put(ds, "SundryExp2", q.sundry[1]);
    put(ds, "Title", cl.title);
    put(ds, "Waddress", cl.waddress);
    put(ds, "Wcity", cl.wcity);
    put(ds, "Wphone", cl.wphone);
    put(ds, "Wstate", cl.wstate);
    put(ds, "Wzip", cl.wzip);
    put(ds, "Notes", q.notes());
    for (int n = 0; n < 4; ++n) {
        const QByteArray i = QByteArray::number(n + 1);
        if (q.lines[n].paint < 0)
            continue;
        const Paint &p = paints.at(q.lines[n].paint);
        put(ds, ("QP" + i).constData(), q.lines[n].litres);
        put(ds, ("Pcode" + i).constData(), p.code);
        put(ds, ("Maker" + i).constData(), p.maker);
        put(ds, ("Paint" + i).constData(), p.paint);
        put(ds, ("Type" + i).constData(), p.type);
        if (n > 0)
            put(ds, ("Colour" + i).constData(), p.colour);
        put(ds, ("Pcost" + i).constData(), q.pcost[n]);
        put(ds, ("Pgst" + i).constData(), q.pgst[n]);
    }
}

const char *const specLines[] = {
    "Wash down all surfaces with sugar soap and rinse.",
    "Fill cracks and nail holes, sand smooth.",
    "Treat mould with mould killer before painting.",
    "Spot prime bare timber and filled areas.",
    "Two full coats to walls in the colours chosen.",
    "Two coats of ceiling white to all ceilings.",
    "Doors, frames and skirtings in semi gloss enamel.",
    "Protect floors and furniture with drop sheets.",
};

const char *const sundryNames[] = {"Drop sheets & plastic", "Masking tape", "Fillers & sealants",
                                   "Scaffold hire",        "Sugar soap",   "Mould treatment"};

} // namespace

void addQuotesAndJobs(Context &c, Dataset &quotes, Dataset &jobs)
{
    Rng &r = c.rng;
    // which clients asked for a quote, and which quotes were won
    const int quoted[DemoCounts::Quotes] = {0, 9, 3, 12, 6, 24, 15, 38, 20, 4};
    const int won[DemoCounts::Jobs] = {1, 2, 3, 5, 6, 8};
    const double litres[] = {4, 10, 20, 30, 40, 50, 60, 80, 100};
    // indexes into the price list above
    const QList<int> wallPaints = {0, 1, 2, 3, 4, 8, 9, 10, 13, 16, 17, 18, 21};
    const QList<int> ceilingPaints = {6, 19, 23};
    const QList<int> trimPaints = {5, 7, 11, 20, 22, 28, 29};
    const double rates[] = {45, 50, 55, 60};
    const double margins[] = {10, 15, 20};
    const double sundryAmounts[] = {20, 40, 60, 80, 100, 150, 200};

    QList<QuoteFigures> figures;
    QList<QDate> dates;
    for (int i = 0; i < DemoCounts::Quotes; ++i) {
        const Client &cl = c.clients.at(quoted[i]);
        QuoteFigures q;
        // walls, then ceilings, then trims or primer, in whole containers
        const int nPaints = r.between(1, 3);
        for (int n = 0; n < nPaints; ++n) {
            const QList<int> &pool = n == 0 ? wallPaints : n == 1 ? ceilingPaints : trimPaints;
            const int p = r.pick(pool);
            const double size = c.paints.at(p).size.toDouble();
            QList<double> fits;
            for (double l : litres)
                if (std::fmod(l, size) == 0 && (n == 0 || l <= 40))
                    fits << l;
            q.lines[n].paint = p;
            q.lines[n].litres = r.pick(fits);
        }
        // about an hour a litre on site, in whole days
        double totalLitres = 0;
        for (const Line &l : q.lines)
            totalLitres += l.litres;
        q.labHrs = std::max(1.0, std::round((totalLitres * 0.9 + r.between(8, 24)) / 8)) * 8;
        q.labRate = rates[r.between(0, 3)];
        q.labMargin = 10;
        const int nSundries = r.between(0, 2);
        for (int n = 0; n < nSundries; ++n) {
            q.sundry[n] = QString::fromLatin1(sundryNames[r.between(0, 5)]);
            q.sundryCost[n] = sundryAmounts[r.between(0, 6)];
        }
        q.ohMargin = margins[r.between(0, 2)];
        q.profitMargin = margins[r.between(0, 2)] + 5;
        q.work(c.paints);
        const QDate date = c.today.addDays(-(330 - 32 * i) + r.between(-5, 5));
        figures << q;
        dates << date;

        QStringList spec;
        const int first = r.between(0, 3);
        for (int s = first; s < first + 4; ++s)
            spec << QString::fromLatin1(specLines[s]);
        quotes.append();
        put(quotes, "QuoteNo", i + 1);
        putCommon(quotes, cl, q, c.paints, date);
        for (int n = 0; n < 4; ++n) {
            if (q.lines[n].paint < 0)
                continue;
            const QByteArray k = QByteArray::number(n + 1);
            put(quotes, ("GPC" + k).constData(), c.paints.at(q.lines[n].paint).gpcNo);
            put(quotes, ("ProdNo" + k).constData(), c.paints.at(q.lines[n].paint).prodNo);
        }
        put(quotes, "Profit", q.profit);
        put(quotes, "Spec", spec.join(QLatin1Char('\n')));
        // the Quote button tags the quote it has just made and clears the others
        if (i == DemoCounts::Quotes - 1)
            put(quotes, "Tag", QStringLiteral("y"));
        quotes.post();
    }

    for (int j = 0; j < DemoCounts::Jobs; ++j) {
        const int i = won[j];
        const Client &cl = c.clients.at(quoted[i]);
        const QuoteFigures &q = figures.at(i);
        const QDate awarded = dates.at(i).addDays(r.between(5, 15));
        const QDate started = awarded.addDays(r.between(7, 21));
        const int workDays = int(q.labHrs / 16) + 1;   // two painters on site
        const QDate finished = started.addDays(workDays + 2);
        const bool paid = j < 4;
        const bool done = j < 5;   // the last job is still under way
        jobs.append();
        put(jobs, "QuoteNo", double(i + 1));
        putCommon(jobs, cl, q, c.paints, dates.at(i));
        put(jobs, "QuotedProfit", q.profit);
        put(jobs, "Awarded", awarded);
        put(jobs, "Started", started);
        if (!cl.company.isEmpty())
            put(jobs, "OrderNo", QStringLiteral("PO-%1").arg(2900 + 11 * j));
        if (done) {
            put(jobs, "Finished", finished);
            put(jobs, "JobHrs", q.labHrs + r.between(-8, 12));
        }
        if (paid) {
            const double adjust = j == 1 ? 150.0 : j == 3 ? -80.0 : 0.0;
            const double received = q.quote + adjust;
            const QDate paidUp = finished.addDays(r.between(3, 14));
            put(jobs, "Adjust", amountOrEmpty(adjust));
            put(jobs, "PaidUp", paidUp);
            put(jobs, "Recd", received);
            put(jobs, "FinYr", stampYear(paidUp));
            put(jobs, "Period", stampPeriod(paidUp));
            PaidJob pj;
            pj.quoteNo = i + 1;
            pj.paidUp = paidUp;
            pj.awarded = awarded;
            pj.received = received;
            pj.source = cl.displayName();
            pj.abn = cl.abn;
            if (!cl.company.isEmpty())
                pj.orderNo = QStringLiteral("PO-%1").arg(2900 + 11 * j);
            c.paidJobs << pj;
        }
        if (j == 1)
            put(jobs, "Notes", q.notes() + QStringLiteral("\nExtra: two doors replaced and "
                                                          "painted, $150 agreed on site."));
        jobs.post();
    }
}

} // namespace Brelvan::Demo
