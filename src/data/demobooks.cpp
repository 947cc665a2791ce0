// The sample business's books: expenses, income, wages and inventory.

#include "data/demobuilder.h"
#include "data/demodata.h"

#include "platform/table/dataset.h"

#include <algorithm>
#include <array>

namespace Brelvan::Demo {

using Table::Dataset;

namespace {

constexpr double GstRate = 10;
constexpr double WagesTaxRate = 20;

// Expense amount columns in summing order; F7 is the tax-free one.
enum ExpCol { Office, Other, Phone, F1, F2, F3, F4, F5, F6, F7, ExpCols };
const char *const expColNames[ExpCols] = {"Office", "Other", "Phone", "F1", "F2",
                                          "F3",     "F4",    "F5",    "F6", "F7"};

struct Expense
{
    QDate date;
    QString expense, supplier, invoice, code, cat, paidBy, notes;
    std::array<double, ExpCols> amounts{};   // as on the receipt, GST included
    bool gst = true;                         // false: booked with no tax (Copy)
};

void writeExpense(Dataset &ds, const Expense &e)
{
    std::array<double, ExpCols> a = e.amounts;
    QVariant tax;
    if (e.gst) {
        // the Split tool: tax-exclusive columns, the tax worked out once from their total
        long double t = 0;
        for (int i = 0; i < F7; ++i) {
            t += a[i];
            if (a[i] != 0)
                a[i] = roundCents(a[i] * 100 / (GstRate + 100));
        }
        tax = t == 0 ? 0.0 : roundCents(double(GstRate * t / (GstRate + 100)));
    }
    long double sum = 0;
    for (double v : a)
        sum += v;
    ds.append();
    put(ds, "Date", e.date);
    put(ds, "Expense", e.expense);
    put(ds, "Supplier", e.supplier);
    put(ds, "Invoice", e.invoice);
    put(ds, "Bank", roundCents(double(tax.toDouble() + sum)));
    put(ds, "Cat", e.cat);
    put(ds, "Code", e.code);
    for (int i = 0; i < ExpCols; ++i)
        put(ds, expColNames[i], amountOrEmpty(a[i]));
    put(ds, "Notes", e.notes);
    put(ds, "PaidBy", e.paidBy);
    put(ds, "Period", stampPeriod(e.date));
    put(ds, "Tax", tax);
    put(ds, "Year", stampYear(e.date));
    ds.post();
}

struct Kind
{
    int weight;
    ExpCol column;
    double lo, hi;
    const char *code;
    const char *cat;
    QStringList expenses;
    QStringList suppliers;
    QStringList paidBy;
};

QList<Kind> kinds()
{
    const QString card = QStringLiteral("Card");
    const QString cash = QStringLiteral("Cash");
    const QString account = QStringLiteral("Account");
    return {
        {45, F1, 45, 950, "Material", "Paint",
         {QStringLiteral("Paint - Wash&Wear"), QStringLiteral("Paint - Weathershield"),
          QStringLiteral("Primer undercoat"), QStringLiteral("Ceiling white 15L"),
          QStringLiteral("Fillers and sealants"), QStringLiteral("Masking tape & plastic"),
          QStringLiteral("Sandpaper & abrasives"), QStringLiteral("Mould treatment"),
          QStringLiteral("Enamel - Aquanamel")},
         {QStringLiteral("Dulux Trade Centre"), QStringLiteral("Haymes Paint Shop"),
          QStringLiteral("Taubmans Trade"), QStringLiteral("Wattyl Trade"),
          QStringLiteral("Bunnings Warehouse")},
         {account, account, card}},
        {28, F2, 65, 145, "Vehicle", "Fuel", {QStringLiteral("Fuel - Hilux")},
         {QStringLiteral("Ampol"), QStringLiteral("BP"), QStringLiteral("Shell Coles Express"),
          QStringLiteral("7-Eleven")},
         {card}},
        {7, F6, 25, 650, "Tools", "Equip",
         {QStringLiteral("Spray tips"), QStringLiteral("Roller frames & covers"),
          QStringLiteral("Brushes"), QStringLiteral("Extension pole"),
          QStringLiteral("Cordless sander"), QStringLiteral("Drop sheets")},
         {QStringLiteral("Total Tools"), QStringLiteral("Sydney Tools"),
          QStringLiteral("Bunnings Warehouse")},
         {card}},
        {5, F3, 180, 890, "Vehicle", "Service",
         {QStringLiteral("Service - Hilux"), QStringLiteral("Tyres x 2"),
          QStringLiteral("Brake pads")},
         {QStringLiteral("Ultra Tune Newmarket"), QStringLiteral("Bob Jane T-Marts"),
          QStringLiteral("Toyota Service Centre")},
         {card}},
        {7, Office, 15, 220, "Office", "Admin",
         {QStringLiteral("Printer ink"), QStringLiteral("Invoice books"),
          QStringLiteral("Paper and envelopes"), QStringLiteral("Accounting software")},
         {QStringLiteral("Officeworks"), QStringLiteral("MYOB Australia")},
         {card}},
        {4, F5, 40, 220, "Clothing", "Work",
         {QStringLiteral("Work shirts"), QStringLiteral("Safety boots"),
          QStringLiteral("Painter's overalls")},
         {QStringLiteral("Workwear Hub"), QStringLiteral("Mitre 10 Ashgrove")},
         {card, cash}},
        {4, Other, 8, 45, "Travel", "Tolls",
         {QStringLiteral("Tolls"), QStringLiteral("Parking")},
         {QStringLiteral("Linkt"), QStringLiteral("Secure Parking")},
         {card}},
    };
}

QDate clampDay(int year, int month, int day)
{
    const QDate first(year, month, 1);
    return QDate(year, month, std::min(day, first.daysInMonth()));
}

} // namespace

void addExpenses(Context &c, Dataset &ds)
{
    Rng &r = c.rng;
    QList<Expense> list;
    int invoiceSeq = 41000;
    auto ref = [&](const char *prefix) {
        return QString::fromLatin1(prefix) + QString::number(++invoiceSeq);
    };

    // the bills that come every month, quarter or year
    for (QDate m(c.first.year(), c.first.month(), 1); m <= c.last; m = m.addMonths(1)) {
        const QDate phone = clampDay(m.year(), m.month(), 12);
        if (phone >= c.first && phone <= c.last) {
            Expense e{phone, QStringLiteral("Mobile & internet"), QStringLiteral("Telstra"),
                      ref("TEL"), QStringLiteral("Phone"), QStringLiteral("Comms"),
                      QStringLiteral("Debit"), {}};
            e.amounts[Phone] = phone < c.today.addYears(-1) ? 89.00 : 95.00;
            list << e;
        }
        const QDate fee = clampDay(m.year(), m.month(), 28);
        if (fee >= c.first && fee <= c.last) {
            Expense e{fee, QStringLiteral("Account keeping fee"),
                      QStringLiteral("Commonwealth Bank"), ref("CBA"), QStringLiteral("Bank"),
                      QStringLiteral("Fees"), QStringLiteral("Debit"), {}};
            e.amounts[F7] = 10.00;
            e.gst = false;
            list << e;
        }
        if (m.month() % 3 == 2) {
            const QDate power = clampDay(m.year(), m.month(), 20);
            if (power >= c.first && power <= c.last) {
                Expense e{power, QStringLiteral("Electricity - home office"),
                          QStringLiteral("Origin Energy"), ref("ORG"), QStringLiteral("Power"),
                          QStringLiteral("Home"), QStringLiteral("Debit"), {}};
                e.amounts[F4] = r.cents(280, 420);
                list << e;
            }
        }
        if (m.month() == 8) {
            const QDate rego = clampDay(m.year(), m.month(), 3);
            if (rego >= c.first && rego <= c.last) {
                // the registration fee carries no GST, the compulsory insurance does
                Expense e{rego, QStringLiteral("Registration - Hilux"),
                          QStringLiteral("Qld Transport"), ref("REG"), QStringLiteral("Vehicle"),
                          QStringLiteral("Rego"), QStringLiteral("Card"),
                          QStringLiteral("Fee and CTP insurance, 12 months")};
                e.amounts[F7] = 760.40;
                e.amounts[F3] = 395.30;
                list << e;
            }
            const QDate cover = clampDay(m.year(), m.month(), 15);
            if (cover >= c.first && cover <= c.last) {
                Expense e{cover, QStringLiteral("Public liability insurance"),
                          QStringLiteral("QBE Insurance"), ref("QBE"), QStringLiteral("Insure"),
                          QStringLiteral("Cover"), QStringLiteral("EFT"),
                          QStringLiteral("$20M cover, renewed for 12 months")};
                e.amounts[F6] = 1386.00;
                list << e;
            }
        }
    }

    const QList<Kind> ks = kinds();
    int totalWeight = 0;
    for (const Kind &k : ks)
        totalWeight += k.weight;
    while (list.size() < DemoCounts::Expenses) {
        int w = r.between(1, totalWeight);
        const Kind *k = &ks.first();
        for (const Kind &each : ks) {
            k = &each;
            if ((w -= each.weight) <= 0)
                break;
        }
        Expense e;
        e.date = c.anyDay();
        e.expense = r.pick(k->expenses);
        e.supplier = r.pick(k->suppliers);
        e.invoice = ref(k->column == F2 ? "R" : "INV");
        e.code = QString::fromLatin1(k->code);
        e.cat = QString::fromLatin1(k->cat);
        e.paidBy = r.pick(k->paidBy);
        e.amounts[k->column] = r.cents(k->lo, k->hi);
        // a hardware run often buys a tool with the materials
        if (k->column == F1 && e.supplier.startsWith(QLatin1String("Bunnings")) && r.chance(40))
            e.amounts[F6] = r.cents(20, 180);
        if (k->column == F1 && r.chance(20)) {
            const Client &cl = r.pick(c.clients);
            e.notes = QStringLiteral("For the %1 job at %2").arg(cl.surname, cl.hsuburb);
        }
        list << e;
    }
    for (const Expense &e : list)
        writeExpense(ds, e);
}

namespace {

// Income amount columns in summing order; F5 is the tax-free one.
enum IncCol { Interest, Sales, I1, I2, I3, I4, I5, IncCols };
const char *const incColNames[IncCols] = {"Interest", "Sales", "F1", "F2", "F3", "F4", "F5"};

struct Income
{
    QDate date;
    QString incom, sourc, abn, orderNo, code, cat, paidBy, notes;
    QDate orderDate;
    std::array<double, IncCols> amounts{};
    enum Tool { Add, Split, Copy } tool = Add;
};

void writeIncome(Dataset &ds, const Income &in, int invoiceNo)
{
    std::array<double, IncCols> a = in.amounts;
    long double t = 0;
    for (int i = 0; i < I5; ++i)
        t += a[i];
    QVariant tax;
    if (in.tool == Income::Add) {
        tax = t == 0 ? 0.0 : roundCents(double(GstRate * t / 100));
    } else if (in.tool == Income::Split) {
        for (int i = 0; i < I5; ++i)
            if (a[i] != 0)
                a[i] = roundCents(a[i] * 100 / (GstRate + 100));
        tax = t == 0 ? 0.0 : roundCents(double(GstRate * t / (GstRate + 100)));
    }
    long double sum = 0;
    for (double v : a)
        sum += v;
    ds.append();
    put(ds, "Date", in.date);
    put(ds, "Incom", in.incom);
    put(ds, "Sourc", in.sourc);
    put(ds, "InvoiceNo", double(invoiceNo));
    put(ds, "ABN", in.abn);
    put(ds, "Bank", roundCents(double(tax.toDouble() + sum)));
    put(ds, "Cat", in.cat);
    put(ds, "Code", in.code);
    for (int i = 0; i < IncCols; ++i)
        put(ds, incColNames[i], amountOrEmpty(a[i]));
    put(ds, "Notes", in.notes);
    put(ds, "OrderDate", in.orderDate);
    put(ds, "OrderNo", in.orderNo);
    put(ds, "PaidBy", in.paidBy);
    put(ds, "Period", stampPeriod(in.date));
    put(ds, "Tax", tax);
    put(ds, "Year", stampYear(in.date));
    ds.post();
}

} // namespace

void addIncome(Context &c, Dataset &ds)
{
    Rng &r = c.rng;
    QList<Income> list;
    for (QDate m(c.first.year(), c.first.month(), 1); m <= c.last; m = m.addMonths(1)) {
        const QDate d = clampDay(m.year(), m.month(), 31);
        if (d < c.first || d > c.last)
            continue;
        Income in;
        in.date = d;
        in.incom = QStringLiteral("Interest - business saver");
        in.sourc = QStringLiteral("Commonwealth Bank");
        in.code = QStringLiteral("Bank");
        in.cat = QStringLiteral("Interest");
        in.paidBy = QStringLiteral("Direct");
        in.amounts[Interest] = r.cents(1.50, 14.00);
        in.tool = Income::Copy;   // interest carries no GST
        list << in;
    }
    {
        Income grant;
        grant.date = c.first.addDays(200);
        grant.incom = QStringLiteral("Small business grant");
        grant.sourc = QStringLiteral("Queensland Government");
        grant.code = QStringLiteral("Grant");
        grant.cat = QStringLiteral("Govt");
        grant.paidBy = QStringLiteral("EFT");
        grant.amounts[I5] = 2000.00;
        grant.notes = QStringLiteral("Equipment grant towards the airless spray unit.");
        list << grant;
        Income claim = grant;
        claim.date = c.first.addDays(430);
        claim.incom = QStringLiteral("Insurance claim - ladder");
        claim.sourc = QStringLiteral("QBE Insurance");
        claim.code = QStringLiteral("Claim");
        claim.cat = QStringLiteral("Insure");
        claim.amounts[I5] = 465.00;
        claim.notes.clear();
        list << claim;
    }
    for (const PaidJob &j : c.paidJobs) {
        Income in;
        in.date = j.paidUp;
        in.incom = QStringLiteral("Quote %1").arg(j.quoteNo);
        in.sourc = j.source;
        in.abn = j.abn;
        in.orderNo = j.orderNo;
        in.orderDate = j.awarded;
        in.code = QStringLiteral("Job");
        in.cat = QStringLiteral("Paint");
        in.paidBy = QStringLiteral("EFT");
        in.amounts[Sales] = j.received;
        in.tool = Income::Split;   // the receipt includes GST
        list << in;
    }
    const QStringList works = {
        QStringLiteral("Interior repaint"),    QStringLiteral("Exterior repaint"),
        QStringLiteral("Deck and fence stain"), QStringLiteral("Roof painting"),
        QStringLiteral("Feature wall"),         QStringLiteral("Rental repaint"),
        QStringLiteral("Ceiling repairs"),      QStringLiteral("Common areas repaint"),
        QStringLiteral("Kitchen cabinets"),     QStringLiteral("Doors and trims")};
    int orderSeq = 3100;
    while (list.size() < DemoCounts::Incomes) {
        const Client &cl = r.pick(c.clients);
        Income in;
        in.date = c.anyDay();
        in.incom = r.pick(works);
        in.sourc = cl.displayName();
        in.abn = cl.abn;
        in.code = QStringLiteral("Job");
        in.cat = in.incom.contains(QLatin1String("repairs")) ? QStringLiteral("Repair")
                                                             : QStringLiteral("Paint");
        const int how = r.between(1, 100);
        in.paidBy = how <= 70 ? QStringLiteral("EFT")
                              : how <= 85 ? QStringLiteral("Cheque") : QStringLiteral("Cash");
        if (!cl.company.isEmpty()) {
            in.orderNo = QStringLiteral("PO-%1").arg(++orderSeq);
            in.orderDate = in.date.addDays(-r.between(10, 40));
        }
        in.amounts[Sales] = r.between(8, 150) * 50.0;   // labour at whole hours
        if (r.chance(20)) {
            in.amounts[I1] = r.cents(150, 1200);       // materials supplied
            in.notes = QStringLiteral("Materials charged at cost.");
        }
        list << in;
    }
    // reference numbers run with the dates, as they were given out
    std::stable_sort(list.begin(), list.end(),
                     [](const Income &a, const Income &b) { return a.date < b.date; });
    for (int i = 0; i < list.size(); ++i)
        writeIncome(ds, list.at(i), i + 1);
}

void addWages(Context &c, Dataset &ds)
{
    Rng &r = c.rng;
    struct Employee
    {
        QString title, first, surname, tfn, code, cat, phone, mobile, address, city, fund;
        QDate entry, dob;
        double rate;
        int minHrs, maxHrs;
        double union_;
        double bonus;
    };
    const QList<Employee> staff = {
        {QStringLiteral("Mr"), QStringLiteral("Liam"), QStringLiteral("O'Connor"),
         QStringLiteral("412 658 903"), QStringLiteral("FT"), QStringLiteral("Trd"),
         QStringLiteral("07 3356 2281"), QStringLiteral("0413 227 905"),
         QStringLiteral("14 Kedron Brook Rd"), QStringLiteral("Wilston"),
         QStringLiteral("Cbus"), c.first.addDays(-400), QDate(1988, 4, 17), 34.50, 72, 80,
         12.50, 250},
        {QStringLiteral("Mr"), QStringLiteral("Tyler"), QStringLiteral("Brooks"),
         QStringLiteral("538 119 472"), QStringLiteral("App"), QStringLiteral("App"),
         QStringLiteral("07 3300 4127"), QStringLiteral("0432 980 116"),
         QStringLiteral("3/27 Enoggera Tce"), QStringLiteral("Red Hill"),
         QStringLiteral("AustralianSuper"), c.first.addDays(60), QDate(2004, 9, 2), 19.80, 70,
         76, 0, 150},
        {QStringLiteral("Ms"), QStringLiteral("Priya"), QStringLiteral("Sharma"),
         QStringLiteral("627 340 885"), QStringLiteral("Cas"), QStringLiteral("Cas"),
         QString(), QStringLiteral("0450 613 772"), QStringLiteral("88 Milton Rd"),
         QStringLiteral("Toowong"), QStringLiteral("Hostplus"), c.first.addDays(120),
         QDate(1996, 1, 23), 32.00 * 1.2, 16, 48, 0, 100},   // casual loading 20 %
    };
    // fortnightly, on Thursdays, the last before today
    QDate pay = c.last;
    while (pay.dayOfWeek() != 4)
        pay = pay.addDays(-1);
    const int pays = DemoCounts::Pays / int(staff.size());
    QList<QDate> dates;
    for (int i = 0; i < pays; ++i)
        dates.prepend(pay.addDays(-14 * i));
    bool bonusPaid = false;
    for (const QDate &d : dates) {
        const bool christmas = !bonusPaid && d.month() == 12 && d.day() >= 8;
        bonusPaid = bonusPaid || christmas;
        for (const Employee &e : staff) {
            const double hrs = r.between(e.minHrs, e.maxHrs);
            const double wage = roundCents(hrs * e.rate);
            const double bonus = christmas ? e.bonus : 0;
            const double gross = wage + bonus;
            const double tax = roundCents(gross * WagesTaxRate / 100);
            ds.append();
            put(ds, "DatePaid", d);
            put(ds, "Surname", e.surname);
            put(ds, "FirstName", e.first);
            put(ds, "TFN", e.tfn);
            put(ds, "PaidBy", QStringLiteral("EFT"));
            put(ds, "Cat", e.cat);
            put(ds, "Code", e.code);
            put(ds, "Active", QStringLiteral("y"));
            put(ds, "Period", stampPeriod(d));
            put(ds, "Year", stampYear(d));
            put(ds, "Hrs", hrs);
            put(ds, "Wage", wage);
            put(ds, "Bonus", amountOrEmpty(bonus));
            put(ds, "Gross", gross);
            put(ds, "Tax", tax);
            put(ds, "Union", amountOrEmpty(e.union_));
            put(ds, "Net", roundCents(gross - tax - e.union_));
            put(ds, "Hphone", e.phone);
            put(ds, "Mobile", e.mobile);
            put(ds, "Haddress", e.address);
            put(ds, "Hcity", e.city);
            put(ds, "Hstate", QStringLiteral("QLD"));
            put(ds, "EntryDate", e.entry);
            put(ds, "Title", e.title);
            put(ds, "DOB", e.dob);
            put(ds, "SuperFund", e.fund);
            if (christmas)
                put(ds, "Notes", QStringLiteral("Christmas bonus."));
            ds.post();
        }
    }
}

void addInventory(Context &c, Dataset &ds)
{
    Rng &r = c.rng;
    struct Item
    {
        const char *item, *units, *cat, *code;
        int minQty, maxQty;
        double lo, hi;
    };
    const Item items[] = {
        {"Extension ladder 3.8m", "ea", "Eq", "Access", 1, 2, 320, 480},
        {"Trestle set", "pair", "Eq", "Access", 1, 2, 260, 390},
        {"Airless spray unit", "ea", "Eq", "Spray", 1, 1, 2400, 3600},
        {"Canvas drop sheets", "ea", "Eq", "Cover", 6, 12, 28, 45},
        {"Roller frames 270mm", "ea", "Eq", "Roll", 4, 10, 12, 22},
        {"Brushes 63mm", "ea", "Con", "Brush", 6, 20, 14, 26},
        {"Masking tape 48mm", "roll", "Con", "Tape", 24, 72, 4.50, 7.90},
        {"Sugar soap 5L", "tin", "Con", "Prep", 4, 12, 18, 26},
        {"Filler 1kg", "tub", "Con", "Prep", 6, 18, 11, 16},
        {"Sandpaper P120", "pk", "Con", "Prep", 5, 15, 9, 14},
        {"Scaffold plank 3.6m", "ea", "Eq", "Access", 2, 4, 180, 260},
        {"Pressure washer", "ea", "Eq", "Prep", 1, 1, 450, 890},
        {"Wash&Wear 15L stock", "tin", "Stk", "Paint", 4, 10, 160, 210},
        {"Undercoat 10L stock", "tin", "Stk", "Paint", 3, 8, 95, 140},
        {"Heat gun", "ea", "Eq", "Prep", 1, 2, 65, 120},
        {"Orbital sander", "ea", "Eq", "Prep", 1, 2, 150, 320},
        {"Caulking gun", "ea", "Eq", "Prep", 2, 4, 18, 35},
        {"Gap filler 450g", "tube", "Con", "Prep", 12, 36, 6.50, 9.80},
        {"Plastic sheeting roll", "roll", "Con", "Cover", 2, 6, 32, 55},
        {"Paint pot hooks", "ea", "Con", "Sundry", 10, 20, 3, 6},
    };
    static_assert(std::size(items) == DemoCounts::InventoryLots);
    int seq = 0;
    for (const Item &it : items) {
        const QDate in = c.first.addDays(r.between(0, int(c.first.daysTo(c.last)) - 60));
        const double qty = r.between(it.minQty, it.maxQty);
        const double cost = r.cents(it.lo, it.hi);
        const double total = roundCents(cost * qty);
        ds.append();
        put(ds, "ID", QStringLiteral("INV%1").arg(++seq, 3, 10, QLatin1Char('0')));
        put(ds, "DateIn", in);
        put(ds, "Cat", QString::fromLatin1(it.cat));
        put(ds, "Code", QString::fromLatin1(it.code));
        put(ds, "Cost", cost);
        put(ds, "Item", QString::fromLatin1(it.item));
        put(ds, "Quantity", qty);
        put(ds, "Year", stampYear(in));
        put(ds, "Period", stampPeriod(in));
        put(ds, "TotalCost", total);
        put(ds, "Units", QString::fromLatin1(it.units));
        // as the inventory Sum leaves a lot: some part sold, some worth less now
        if (seq % 5 == 2 && qty > 1) {
            const double sold = std::max(1.0, std::floor(qty / 2));
            const double price = roundCents(cost * 0.6);
            const double onHand = qty - sold;
            const double valueOnHand = roundCents(price * onHand);
            const double loss = roundCents(qty * cost - sold * price - valueOnHand);
            put(ds, "DateOut", in.addDays(r.between(20, 50)));
            put(ds, "NoSold", sold);
            put(ds, "SoldPrice", price);
            put(ds, "ValueNow", price);
            put(ds, "Redeemed", roundCents(sold * price));
            put(ds, "NoOnHand", amountOrEmpty(onHand));
            put(ds, "ValueOnHand", amountOrEmpty(valueOnHand));
            put(ds, "Loss", amountOrEmpty(loss));
            put(ds, "Notes", QStringLiteral("Part of the lot sold to a subcontractor."));
        } else {
            const bool worn = it.cat == QLatin1String("Eq") && r.chance(50);
            const double now = worn ? roundCents(cost * 0.7) : 0;
            const double valueOnHand = roundCents((worn ? now : cost) * qty);
            put(ds, "ValueNow", amountOrEmpty(now));
            put(ds, "NoOnHand", qty);
            put(ds, "ValueOnHand", valueOnHand);
            put(ds, "Loss", amountOrEmpty(roundCents(total - valueOnHand)));
        }
        if (seq % 7 == 3)
            put(ds, "Tag", QStringLiteral("y"));
        ds.post();
    }
}

} // namespace Brelvan::Demo
