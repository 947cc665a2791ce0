#include "reports/ownerblock.h"

namespace Brelvan {

const QStringList &ownerEditNames()
{
    static const QStringList names = {"OwnerName", "Co",     "CoDet",  "ABN",    "Addr1",
                                      "Addr2",     "Addr6",  "Addr3",  "Addr4",  "Addr5",
                                      "HPhone",    "WPhone", "MPhone", "Fax",    "Email",
                                      "Web",       "Services", "Lic"};
    return names;
}

OwnerVariant ownerVariantOf(const QString &formClass)
{
    static const QStringList noMobile = {"TPaidForm", "TUnpaidForm", "TExpForm", "TIncForm"};
    static const QStringList licence = {"TPaintForm", "TJobForm",   "TInvJobForm",
                                        "TJobHrsForm", "TQuoteForm", "TQDetForm"};
    if (noMobile.contains(formClass))
        return OwnerVariant::NoMobile;
    if (licence.contains(formClass))
        return OwnerVariant::Licence;
    if (formClass == QLatin1String("TIncGrpForm"))
        return OwnerVariant::IncomeGroups;
    if (formClass == QLatin1String("TExpGrpForm"))
        return OwnerVariant::ExpenseGroups;
    return OwnerVariant::Standard;
}

OwnerLines ownerLines(const OwnerDetails &o, OwnerVariant variant)
{
    const bool grouped = variant == OwnerVariant::IncomeGroups
                         || variant == OwnerVariant::ExpenseGroups;
    const bool expenseGroups = variant == OwnerVariant::ExpenseGroups;
    OwnerLines l;
    l.company = o["Co"];

    if (!o["ABN"].isEmpty())
        l.taxNumber = (grouped ? QStringLiteral("ABN : ") : o.taxLabel + QStringLiteral(": "))
                      + o["ABN"];

    l.companyDetails = o["CoDet"];
    if (variant == OwnerVariant::Licence && !o["Lic"].isEmpty())
        l.companyDetails += QStringLiteral(";  Lic. No. ") + o["Lic"];

    // empty parts keep their separators, as the letterhead always has
    const QString sp = QStringLiteral(" ");
    if (!o["Addr2"].isEmpty())
        l.address = o["Addr1"] + QStringLiteral("; ") + o["Addr2"] + sp + o["Addr6"] + sp
                    + o["Addr3"] + sp + o["Addr4"] + sp + o["Addr5"];
    else
        l.address = o["Addr1"] + sp + o["Addr6"] + sp + o["Addr3"] + sp + o["Addr4"] + sp
                    + o["Addr5"];

    const QString work = expenseGroups ? QStringLiteral("Work : ") : QStringLiteral("Work ");
    const QString fax = expenseGroups ? QStringLiteral("Fax : ") : QStringLiteral("Fax ");
    const QString between = expenseGroups ? QStringLiteral(" / ") : QStringLiteral(" ");
    // a fax number without a work phone is still printed, rather than dropped
    if (!o["WPhone"].isEmpty())
        l.phone = work + o["WPhone"];
    if (!o["Fax"].isEmpty())
        l.phone += (l.phone.isEmpty() ? QString() : between) + fax + o["Fax"];
    const bool mobile = variant == OwnerVariant::Standard || variant == OwnerVariant::Licence;
    if (mobile && !o["MPhone"].isEmpty())
        l.phone += QStringLiteral(" Mobile ") + o["MPhone"];

    if (!o["Email"].isEmpty())
        l.email = (expenseGroups ? QStringLiteral("Email : ") : QStringLiteral("Email "))
                  + o["Email"];
    return l;
}

} // namespace Brelvan
