#pragma once

// Pieces the demo generator shares between its files; not for use elsewhere.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cmath>

namespace Brelvan {

namespace Table {
class Dataset;
}

namespace Demo {

// splitmix64: the same numbers on every compiler and library, unlike the std distributions
class Rng
{
public:
    explicit Rng(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // a whole number from lo to hi, both included
    int between(int lo, int hi) { return lo + int(next() % quint64(hi - lo + 1)); }
    // an amount from lo to hi in whole cents
    double cents(double lo, double hi)
    {
        return between(int(std::lround(lo * 100)), int(std::lround(hi * 100))) / 100.0;
    }
    bool chance(int percent) { return between(1, 100) <= percent; }
    template<typename T>
    const T &pick(const QList<T> &list) { return list.at(between(0, int(list.size()) - 1)); }

private:
    quint64 m_state;
};

// Halves away from zero, as the bookkeeping tools round.
inline double roundCents(double v)
{
    const double t = v * 100 + (v < 0 ? -0.5 : 0.5);
    return std::trunc(t) / 100;
}
inline double roundWhole(double v)
{
    return std::trunc(v + (v < 0 ? -0.5 : 0.5));
}

// Year and Period of a date with FiscalYr "Cal" and Period "3", the settings' defaults.
QString stampYear(const QDate &date);
QString stampPeriod(const QDate &date);

// Sets a field of the record being appended; refuses text wider than the field so that a
// slip in the sample texts shows up instead of being cut silently.
void put(Table::Dataset &ds, const char *field, const QVariant &value);
// Empty for zero, so unused money columns stay empty rather than 0.
inline QVariant amountOrEmpty(double v)
{
    return v == 0 ? QVariant() : QVariant(v);
}
QString moneyText(double v);   // "$1,234.56"

struct Client
{
    QString title, firstName, surname, company, abn;
    QString haddress, hsuburb, hcity, hstate, hzip, hphone, mobile, email;
    QString waddress, wsuburb, wcity, wstate, wzip, wphone, fax, web;
    QString jobAddress, code;
    QDate entryDate;

    QString displayName() const   // as an income source or a diary note names the client
    {
        return company.isEmpty() ? firstName + QLatin1Char(' ') + surname : company;
    }
};

struct Paint
{
    QString code, maker, paint, type, size, colour, prodNo, gpcNo;
    double cost = 0;   // one container, GST excluded
    double gst = 0;
};

// A job that has been paid, so the income table can show its receipt.
struct PaidJob
{
    int quoteNo = 0;
    QDate paidUp, awarded;
    double received = 0;
    QString source, abn, orderNo;
};

struct Context
{
    explicit Context(const QDate &t)
        : rng(0x42524C56414E0001ull), today(t), first(t.addYears(-2)), last(t.addDays(-1))
    {}
    // a day in the two years before today
    QDate anyDay() { return first.addDays(rng.between(0, int(first.daysTo(last)))); }

    Rng rng;
    QDate today, first, last;
    QList<Client> clients;
    QList<Paint> paints;
    QList<PaidJob> paidJobs;
};

void addClients(Context &c, Table::Dataset &ds);
void addDiary(Context &c, Table::Dataset &ds);
void addExpenses(Context &c, Table::Dataset &ds);
void addIncome(Context &c, Table::Dataset &ds);      // after addJobs: it books paid jobs
void addWages(Context &c, Table::Dataset &ds);
void addInventory(Context &c, Table::Dataset &ds);
void addPaints(Context &c, Table::Dataset &ds);
void addQuotesAndJobs(Context &c, Table::Dataset &quotes, Table::Dataset &jobs);

} // namespace Demo
} // namespace Brelvan
