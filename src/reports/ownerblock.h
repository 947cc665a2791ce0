#pragma once

#include "platform/desktop/dialogs.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace Brelvan {

// The owner details as the Office page holds them at the moment of printing.
struct OwnerDetails
{
    QMap<QString, QString> text; // by edit name: Co, CoDet, ABN, Addr1 .. Addr6, WPhone ...
    FontChoice companyFont;      // the font of Co
    FontChoice othersFont;       // the font of CoDet, for the other five lines
    QString taxLabel;            // the TIN/ABN# setting

    QString operator[](const char *edit) const { return text.value(QString::fromLatin1(edit)); }
};

// The names of the Office page's owner edits, in the order the page shows them.
const QStringList &ownerEditNames();

// How a report form's letterhead differs from the standard one.
enum class OwnerVariant {
    Standard,
    NoMobile,     // TPaidForm, TUnpaidForm, TExpForm, TIncForm
    IncomeGroups, // TIncGrpForm: fixed "ABN : ", no mobile
    ExpenseGroups,// TExpGrpForm: fixed "ABN : ", "Work : " / " / Fax : ", "Email : ", no mobile
    Licence,      // TPaintForm, TJobForm, TInvJobForm, TJobHrsForm, TQuoteForm, TQDetForm
};

// The variant of a report form by its class name.
OwnerVariant ownerVariantOf(const QString &formClass);

// The six lines of the letterhead.
struct OwnerLines
{
    QString company;
    QString taxNumber;
    QString companyDetails;
    QString address;
    QString phone;
    QString email;
};

// The letterhead lines built from the owner details by the variant's rules.
OwnerLines ownerLines(const OwnerDetails &owner, OwnerVariant variant = OwnerVariant::Standard);

} // namespace Brelvan
