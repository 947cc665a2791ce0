#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace Brelvan {

// The repayment frequencies of every calculator, item 0 first.
const QStringList &frequencyNames();
// Periods a year of frequency item `item`: Daily 365 ... Yearly 1; 12 when none is chosen.
int periodsPerYear(int item);

// A number typed in an edit, read by the system's conventions; nothing when it is not one.
std::optional<double> readNumber(const QString &text);

// value rounded to `places` decimals, halves away from zero, taken as the 15-digit decimal
// it is shown as (1.005 is 1.01); exact for large figures too.
double roundDecimal(double value, int places);

// value with thousands separators and `decimals` places, first rounded to `precision`
// significant digits; scientific when it has more whole digits than that.
QString formatFixed(double value, int precision, int decimals);
// Money in the system currency format with two decimals, rounded as roundDecimal.
QString formatCurrency(double value);
// The general form of a number: up to 15 significant digits, no separators (60, 67.6).
QString formatGeneral(double value);

// Why a calculation gave no figures.
enum class CalcError { None, Missing, Unusable };

// The message box text of an error; empty for none.
QString calcErrorMessage(CalcError error);

// The typed inputs, all required, as numbers: Missing when one is empty, else Unusable
// when one is not a finite number.
struct CalcInputs
{
    CalcError error = CalcError::None;
    QList<double> values;
};
CalcInputs readInputs(const QStringList &texts);

// What a calculation shows: the text of each output edit by the edit's name, or the error
// that leaves the previous texts in place.
struct Calculation
{
    CalcError error = CalcError::None;
    QMap<QString, QString> texts;
};

} // namespace Brelvan
