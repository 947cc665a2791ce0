#pragma once

#include "reports/ownerblock.h"

#include <QList>
#include <QString>

namespace Brelvan {

class MainAccess;
class Report;

// One line of a calculator printout's box: a bold label and its value.
struct SummaryLine
{
    QString label;
    QString value;
};

// A headed, framed box of lines.
struct SummaryBox
{
    QString heading;
    QList<SummaryLine> lines;
};

// The one-page printout of a calculator (TPrintBorrowForm, TPrintInvestForm, TPrintAnnRForm,
// TPrintAnnSForm): portrait, the letterhead, the requirements and the outcome boxes, and a
// footer with the report title and the time printed.
void buildCalcSummary(Report &report, const OwnerDetails &owner, const QString &logoFile,
                      const QString &title, const SummaryBox &requirements,
                      const SummaryBox &outcome);
void previewCalcSummary(MainAccess &main, const QString &formClass, const QString &title,
                        const SummaryBox &requirements, const SummaryBox &outcome);

// TBorrowingForm: below the letterhead the loan and its repayment, and the schedule's
// lines in four columns headed "No." and "Balance Owed" on every page. Build adds these to
// a report that has its margins and letterhead.
struct ScheduleHeading
{
    QString loan;      // "10,000.00 at 6%  interest  over 5 Years"
    QString repayment; // "Repayment   193.33"
};
void buildRepaymentSchedule(Report &report, const ScheduleHeading &heading);
void previewRepaymentSchedule(MainAccess &main, const ScheduleHeading &heading,
                              const QStringList &lines);

} // namespace Brelvan
