#pragma once

#include "reports/ownerblock.h"

#include <QString>

namespace Brelvan {

class Band;
class Report;

// The letterhead and footer every report form shares.
namespace Furniture {

// The 41 mm title band: the logo box at the top left and the six centred owner lines
// (CoLab, ABNLab, CoDetLab, Addr1Lab, PhoneLab, EmailLab), filled from the owner details
// as they stand when the report prints. A missing or unreadable logo prints no logo.
void titleBand(Report &report, const OwnerDetails &owner, const QString &logoFile,
               OwnerVariant variant);
// The same six lines and logo on another band, at its top.
void ownerBlock(Report &report, Band &band, const OwnerDetails &owner,
                const QString &logoFile, OwnerVariant variant, double top = 0);
// The 10.6 mm page footer: report title, "Page " and the number, "Printed " and the time.
void pageFooter(Report &report);
// "Total Records" and the number of detail records printed.
void totalRecords(Report &report, double height = 6);

} // namespace Furniture
} // namespace Brelvan
