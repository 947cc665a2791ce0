#include "data/demodata.h"

#include "data/demobuilder.h"
#include "platform/table/database.h"
#include "platform/table/dataset.h"
#include "platform/table/engineerror.h"

#include <QLocale>
#include <QSqlQuery>

#include <memory>

namespace Brelvan {

using Table::Dataset;
using Table::EngineError;

namespace Demo {

QString stampYear(const QDate &date)
{
    return QString::number(date.year());
}

QString stampPeriod(const QDate &date)
{
    return QStringLiteral("%1%2")
        .arg(date.year() % 100, 2, 10, QLatin1Char('0'))
        .arg((date.month() - 1) / 3 + 1, 2, 10, QLatin1Char('0'));
}

void put(Dataset &ds, const char *field, const QVariant &value)
{
    const int i = ds.fieldIndex(QString::fromLatin1(field));
    if (i < 0)
        throw EngineError(QStringLiteral("Demo data: %1 has no field %2").arg(ds.tableName(),
                                                                              field));
    const Table::FieldDef &f = ds.fieldDef(i);
    if (f.type == Table::FieldType::Text && value.toString().size() > f.width)
        throw EngineError(QStringLiteral("Demo data: \"%1\" is wider than %2.%3 (%4)")
                              .arg(value.toString(), ds.tableName(), f.name)
                              .arg(f.width));
    ds.setValue(i, value);
}

QString moneyText(double v)
{
    static const QLocale au(QLocale::English, QLocale::Australia);
    return au.toCurrencyString(v, QStringLiteral("$"), 2);
}

namespace {

struct Place
{
    const char *suburb;
    const char *postcode;
};

const Place places[] = {
    {"Paddington", "4064"}, {"Ashgrove", "4060"},     {"Red Hill", "4059"},
    {"Bardon", "4065"},     {"Toowong", "4066"},      {"Indooroopilly", "4068"},
    {"Kenmore", "4069"},    {"The Gap", "4061"},      {"Kelvin Grove", "4059"},
    {"Wilston", "4051"},    {"Grange", "4051"},       {"Windsor", "4030"},
    {"Clayfield", "4011"},  {"Ascot", "4007"},        {"Hamilton", "4007"},
    {"New Farm", "4005"},   {"Bulimba", "4171"},      {"Hawthorne", "4171"},
    {"Coorparoo", "4151"},  {"Camp Hill", "4152"},    {"Carina", "4152"},
    {"Holland Park", "4121"}, {"Annerley", "4103"},   {"Fairfield", "4103"},
    {"Yeronga", "4104"},    {"Sherwood", "4075"},     {"Graceville", "4075"},
    {"Chermside", "4032"},  {"Kedron", "4031"},       {"Stafford", "4053"},
    {"Mitchelton", "4053"}, {"Wynnum", "4178"},       {"Manly", "4179"},
    {"Sandgate", "4017"},
};

const char *const streets[] = {
    "Banksia St",    "Jacaranda Ave", "Waratah Cres",   "Macgregor Tce", "Latrobe Tce",
    "Waterworks Rd", "Boundary St",   "Oxley Rd",       "Sherwood Rd",   "Logan Rd",
    "Wattle St",     "Grey Gum Pl",   "Riverview Pde",  "Stanley Tce",   "Frangipani Way",
    "Bottlebrush Ct", "Kedron Brook Rd", "Cavendish Rd", "Milton Rd",    "Enoggera Tce",
};

struct Person
{
    const char *title;
    const char *first;
    const char *surname;
    const char *company;   // empty for a private client
};

// Distinct surnames keep the key of Names unique; Smith is first, the diary talks about her.
const Person people[] = {
    {"Mrs", "Margaret", "Smith", ""},
    {"Mr", "David", "Nguyen", ""},
    {"Ms", "Sarah", "Williams", ""},
    {"Mr", "Peter", "Brown", ""},
    {"Dr", "Emma", "Wilson", "Greenleaf Dental Surgery"},
    {"Mr", "James", "Taylor", ""},
    {"Mrs", "Karen", "Johnson", ""},
    {"Mr", "Andrew", "White", ""},
    {"Ms", "Olivia", "Martin", ""},
    {"The", "The", "Manager", "Bayview Strata Services"},
    {"Mr", "Mark", "Anderson", ""},
    {"Mrs", "Rebecca", "Thompson", ""},
    {"Mr", "Daniel", "Walker", "Redback Real Estate"},
    {"Ms", "Megan", "Harris", ""},
    {"Mr", "Steven", "Lee", ""},
    {"Mrs", "Lisa", "Ryan", ""},
    {"Mr", "Matthew", "Robinson", ""},
    {"Ms", "Kylie", "Kelly", "Kookaburra Childcare Centre"},
    {"Mr", "Ben", "King", ""},
    {"Mrs", "Tanya", "Campbell", ""},
    {"Mr", "Craig", "Mitchell", ""},
    {"Ms", "Nicole", "Young", ""},
    {"Mr", "Sean", "O'Brien", ""},
    {"Mrs", "Amanda", "McDonald", ""},
    {"Mr", "Scott", "Murphy", "Riverside Property Management"},
    {"Ms", "Belinda", "Kennedy", ""},
    {"Mr", "Shane", "Clarke", ""},
    {"Dr", "Anita", "Patel", ""},
    {"Mr", "Kevin", "Chen", "Paddo Corner Cafe Pty Ltd"},
    {"Mrs", "Maria", "Russo", ""},
    {"Mr", "Nick", "Papadopoulos", ""},
    {"Ms", "Leanne", "Fraser", ""},
    {"Mr", "Gary", "Hughes", ""},
    {"Mrs", "Joanne", "Stewart", ""},
    {"Rev", "Michael", "Morrison", "St Aidan's Parish Council"},
    {"Mr", "Luke", "Edwards", ""},
    {"Ms", "Chloe", "Baker", ""},
    {"Mr", "Paul", "Cooper", ""},
    {"Mrs", "Heather", "Bennett", "Summit Body Corporate"},
    {"Mr", "Robert", "Hall", ""},
};
static_assert(std::size(people) == DemoCounts::Clients);

const char *const services[] = {
    "Interior repaint - lounge, dining, hallway and three bedrooms",
    "Exterior repaint of weatherboard house, two coats Weathershield",
    "Kitchen and bathroom repaint, mould treatment to ceilings",
    "Deck and handrail stain, two coats",
    "Roof restoration - pressure clean, seal and two coats",
    "Feature wall and ceiling repaint, patch cracked cornice",
    "Rental vacate repaint - walls, ceilings and doors",
    "Fence and gates - prepare and paint both sides",
    "Water damage repair to ceiling, seal and repaint",
    "Common areas - stairwells, doors and handrails",
};

const char *const clientNotes[] = {
    "Prefers Dulux. Dog in the backyard - close the side gate.",
    "Key under the pot plant by the back door. Works from home Mondays.",
    "Wants colour samples before committing. Call after 4 pm.",
    "Referred by a neighbour. Parking is tight - use the laneway.",
    "Heritage listed - check council rules before exterior work.",
    "Pays promptly. Asked about a repaint of the garage next year.",
};

QString phone(Rng &r)
{
    return QStringLiteral("07 3%1 %2").arg(r.between(100, 999)).arg(r.between(1000, 9999));
}

QString mobile(Rng &r)
{
    return QStringLiteral("04%1 %2 %3")
        .arg(r.between(0, 99), 2, 10, QLatin1Char('0'))
        .arg(r.between(100, 999))
        .arg(r.between(100, 999));
}

QString abn(Rng &r)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(r.between(10, 99))
        .arg(r.between(100, 999))
        .arg(r.between(100, 999))
        .arg(r.between(100, 999));
}

QString emailName(const QString &s)
{
    QString out;
    for (const QChar ch : s)
        if (ch.isLetter())
            out += ch.toLower();
    return out;
}

} // namespace

void addClients(Context &c, Dataset &ds)
{
    Rng &r = c.rng;
    const int span = int(c.first.daysTo(c.last));
    // Invoice numbers follow the entry order, so number the clients as they were entered.
    QList<QDate> entered;
    for (int i = 0; i < DemoCounts::Clients; ++i)
        entered << c.first.addDays(span * i / DemoCounts::Clients + r.between(0, 10));
    int ref = 0;
    for (int i = 0; i < DemoCounts::Clients; ++i) {
        const Person &p = people[i];
        const Place &home = places[r.between(0, int(std::size(places)) - 1)];
        Client cl;
        cl.title = p.title == QLatin1String("The") ? QString() : QString::fromLatin1(p.title);
        cl.firstName = QString::fromLatin1(p.first);
        cl.surname = QString::fromLatin1(p.surname);
        cl.company = QString::fromLatin1(p.company);
        cl.entryDate = entered.at(i);
        cl.haddress = QStringLiteral("%1 %2").arg(r.between(2, 180)).arg(
            QString::fromLatin1(streets[r.between(0, int(std::size(streets)) - 1)]));
        cl.hsuburb = QString::fromLatin1(home.suburb);
        cl.hcity = QStringLiteral("Brisbane");
        cl.hstate = QStringLiteral("QLD");
        cl.hzip = QString::fromLatin1(home.postcode);
        cl.hphone = phone(r);
        cl.mobile = mobile(r);
        cl.code = cl.company.isEmpty() ? QStringLiteral("Res") : QStringLiteral("Com");
        cl.jobAddress = cl.haddress + QStringLiteral(", ") + cl.hsuburb;
        if (cl.company.isEmpty()) {
            cl.email = emailName(cl.firstName.left(1) + cl.surname)
                       + (r.chance(50) ? QStringLiteral("@bigpond.com")
                                       : QStringLiteral("@gmail.com"));
        } else {
            const Place &work = places[r.between(0, int(std::size(places)) - 1)];
            QString domain = emailName(cl.company.section(QLatin1Char(' '), 0, 0));
            if (domain.size() < 4)   // "St Aidan's" makes staidans, not st
                domain += emailName(cl.company.section(QLatin1Char(' '), 1, 1));
            domain += QStringLiteral(".com.au");
            cl.abn = abn(r);
            cl.waddress = QStringLiteral("%1 %2").arg(r.between(1, 400)).arg(
                QString::fromLatin1(streets[r.between(0, int(std::size(streets)) - 1)]));
            cl.wsuburb = QString::fromLatin1(work.suburb);
            cl.wcity = QStringLiteral("Brisbane");
            cl.wstate = QStringLiteral("QLD");
            cl.wzip = QString::fromLatin1(work.postcode);
            cl.wphone = phone(r);
            cl.fax = r.chance(40) ? phone(r) : QString();
            cl.web = QStringLiteral("www.") + domain;
            cl.email = QStringLiteral("office@") + domain;
            cl.jobAddress = cl.waddress + QStringLiteral(", ") + cl.wsuburb;
        }
        c.clients << cl;

        ds.append();
        put(ds, "Surname", cl.surname);
        put(ds, "FirstName", cl.firstName);
        put(ds, "Company", cl.company);
        put(ds, "EntryDate", cl.entryDate);
        put(ds, "ABN", cl.abn);
        put(ds, "AccountNo", QStringLiteral("C%1").arg(i + 1, 4, 10, QLatin1Char('0')));
        put(ds, "Cat", r.chance(30) ? QStringLiteral("Reg") : QStringLiteral("New"));
        put(ds, "Code", cl.code);
        put(ds, "Email", cl.email);
        put(ds, "Fax", cl.fax);
        put(ds, "Haddress", cl.haddress);
        put(ds, "Hsuburb", cl.hsuburb);
        put(ds, "Hcity", cl.hcity);
        put(ds, "Hstate", cl.hstate);
        put(ds, "Hzip", cl.hzip);
        put(ds, "Hphone", cl.hphone);
        put(ds, "Mobile", cl.mobile);
        put(ds, "ID", QStringLiteral("CL%1").arg(i + 1, 3, 10, QLatin1Char('0')));
        put(ds, "JobAddress", cl.jobAddress);
        put(ds, "Title", cl.title);
        put(ds, "Waddress", cl.waddress);
        put(ds, "Wsuburb", cl.wsuburb);
        put(ds, "Wcity", cl.wcity);
        put(ds, "Wstate", cl.wstate);
        put(ds, "Wzip", cl.wzip);
        put(ds, "Wphone", cl.wphone);
        put(ds, "Web", cl.web);
        if (cl.company.isEmpty() && r.chance(35))
            put(ds, "DOB", QDate(r.between(1950, 1990), r.between(1, 12), r.between(1, 28)));
        if (cl.company.isEmpty() && r.chance(30))
            put(ds, "Spouse", r.pick(QStringList{QStringLiteral("John"), QStringLiteral("Sue"),
                                                 QStringLiteral("Chris"), QStringLiteral("Jan"),
                                                 QStringLiteral("Tony"), QStringLiteral("Kim")}));
        if (r.chance(25))
            put(ds, "N1", r.pick(QStringList{QStringLiteral("Referral: neighbour"),
                                             QStringLiteral("Found us on Google"),
                                             QStringLiteral("Letterbox flyer"),
                                             QStringLiteral("Repeat client")}));
        if (r.chance(30))
            put(ds, "Notes", QString::fromLatin1(clientNotes[r.between(0, 5)]));
        // Most clients have had work invoiced: hours at $50 an hour plus GST.
        if (i % 8 != 5) {
            const double hours = r.between(8, 90);
            const double pay = hours * 50;
            put(ds, "Ref", ++ref);
            put(ds, "Hours", hours);
            put(ds, "Pay", pay);
            put(ds, "Tax", roundCents(pay * 10 / 100));
            put(ds, "Service", QString::fromLatin1(services[r.between(0, 9)]));
            if (i % 5 == 1 && cl.entryDate.addDays(30) < c.today) {
                put(ds, "PaidDate", cl.entryDate.addDays(r.between(10, 30)));
                put(ds, "PaidWay", r.pick(QStringList{QStringLiteral("EFT"),
                                                      QStringLiteral("Cheque")}));
            }
        }
        ds.post();
    }
}

void addDiary(Context &c, Dataset &ds)
{
    Rng &r = c.rng;
    const QStringList starts = {QStringLiteral("7:00"), QStringLiteral("7:30"),
                                QStringLiteral("8:00")};
    const QStringList suppliers = {QStringLiteral("Dulux Trade Centre"),
                                   QStringLiteral("Haymes Paint Shop"),
                                   QStringLiteral("Taubmans Trade"),
                                   QStringLiteral("Bunnings")};
    // 100 working days spread over the last five months or so, oldest first
    QList<QDate> days;
    for (QDate d = c.last; days.size() < 150; d = d.addDays(-1))
        if (d.dayOfWeek() <= 5)
            days.prepend(d);
    while (days.size() > DemoCounts::DiaryDays)
        days.removeAt(r.between(0, int(days.size()) - 1));

    for (int i = 0; i < days.size(); ++i) {
        const Client &a = r.pick(c.clients);
        const Client &b = r.pick(c.clients);
        QStringList lines;
        lines << QStringLiteral("%1 Start at %2 - %3.")
                     .arg(r.pick(starts), a.jobAddress, a.displayName());
        switch (i % 9) {
        case 0:
            lines << QStringLiteral("Called Mrs Smith about the start date - she wants it "
                                    "finished before Christmas.");
            break;
        case 3:
            lines << QStringLiteral("2:00 Site meeting with %1 re colour scheme.")
                         .arg(b.displayName());
            break;
        case 6:
            lines << QStringLiteral("4:30 Quote inspection %1, %2.").arg(b.displayName(),
                                                                         b.hsuburb);
            break;
        default:
            lines << QStringLiteral("Picked up %1 x 10L from %2.")
                         .arg(r.between(2, 8))
                         .arg(r.pick(suppliers));
        }
        if (i % 13 == 4)
            lines << QStringLiteral("Committee meeting at Bayview Strata Services - repaint of "
                                    "the stairwells approved.");
        if (i % 11 == 7)
            lines << QStringLiteral("Rain from lunch - no exterior work. Prepped the Smith "
                                    "kitchen instead.");
        if (r.chance(15))
            lines << QStringLiteral("Invoice sent to %1.").arg(a.displayName());
        ds.append();
        put(ds, "DATE", days.at(i));
        put(ds, "Day", lines.join(QLatin1Char('\n')));
        if (i % 10 == 2)
            put(ds, "Tag", QStringLiteral("y"));
        ds.post();
    }
}

} // namespace Demo

void fillDemoData(Table::Database &db, const QDate &today)
{
    if (!today.isValid())
        throw EngineError(QStringLiteral("Demo data needs a valid date."));
    const QStringList tables = {QStringLiteral("Names"),  QStringLiteral("Diary"),
                                QStringLiteral("Paint"),  QStringLiteral("Quote"),
                                QStringLiteral("Jobs"),   QStringLiteral("Expense"),
                                QStringLiteral("Income"), QStringLiteral("Wages"),
                                QStringLiteral("Inventory")};
    for (const QString &t : tables) {
        QSqlQuery q = db.exec(QStringLiteral("SELECT count(*) FROM %1").arg(db.quoted(t)));
        if (q.next() && q.value(0).toInt() > 0)
            throw EngineError(QStringLiteral("The table %1 already holds records; demo "
                                             "records go only into empty tables.").arg(t));
    }

    std::vector<std::unique_ptr<Dataset>> sets;
    auto open = [&](const QString &table) -> Dataset & {
        auto ds = std::make_unique<Dataset>(table);
        ds->setDatabase(&db);
        ds->setTableName(table);
        ds->open();
        ds->disableControls();
        sets.push_back(std::move(ds));
        return *sets.back();
    };
    Dataset &names = open(QStringLiteral("Names"));
    Dataset &diary = open(QStringLiteral("Diary"));
    Dataset &paint = open(QStringLiteral("Paint"));
    Dataset &quote = open(QStringLiteral("Quote"));
    Dataset &jobs = open(QStringLiteral("Jobs"));
    Dataset &expense = open(QStringLiteral("Expense"));
    Dataset &income = open(QStringLiteral("Income"));
    Dataset &wages = open(QStringLiteral("Wages"));
    Dataset &invent = open(QStringLiteral("Inventory"));

    Demo::Context c(today);
    // one transaction for the lot: a business half written is no demo
    Dataset::Walk walk(names);
    try {
        Demo::addClients(c, names);
        Demo::addDiary(c, diary);
        Demo::addPaints(c, paint);
        Demo::addQuotesAndJobs(c, quote, jobs);
        Demo::addExpenses(c, expense);
        Demo::addIncome(c, income);
        Demo::addWages(c, wages);
        Demo::addInventory(c, invent);
        walk.commit();
    } catch (...) {
        walk.rollback();
        throw;
    }
}

} // namespace Brelvan
