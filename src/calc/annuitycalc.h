#pragma once

#include "calc/calcnumbers.h"

#include <optional>

namespace Brelvan {

// The value of `amount` after `years` at compound interest, `perYear` periods a year.
std::optional<double> compoundValue(double amount, double ratePercent, double years,
                                    int perYear);
// The end-of-term value of a regular payment made each period.
std::optional<double> annuityValue(double payment, double ratePercent, double years,
                                   int perYear);
// The regular payment that grows to `futureValue` by the end of the term.
std::optional<double> sinkingPayment(double futureValue, double ratePercent, double years,
                                     int perYear);

// Calculate of the invest window: EdPays, EdR, EdInt, EdAI, EdAAI, EdAV.
Calculation calculateInvest(const QString &amount, const QString &rate, const QString &term,
                            int frequency);
// Calculate of the rising annuity: EdPays, EdFV, EdInputs, EdIR, EdAI, EdAIR.
Calculation calculateRisingAnnuity(const QString &payment, const QString &rate,
                                   const QString &term, int frequency);
// Calculate of the sinking annuity: EdPays, EdPMT, EdTI, EdInt, EdAI, EdAAI.
Calculation calculateSinkingAnnuity(const QString &futureValue, const QString &rate,
                                    const QString &term, int frequency);

} // namespace Brelvan
