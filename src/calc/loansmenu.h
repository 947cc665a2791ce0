#pragma once

#include <QList>

namespace Brelvan {

class MainAccess;

// A command of the main menu's "Loans": its caption and what it opens.
struct LoansCommand
{
    const char *caption;
    void (*open)(MainAccess &main);
};

// "Borrow", "Borrow Detail", "Invest", "Rising Annuity", "Sinking Annuity": each shows its
// calculator modally over the main window and frees it when it closes.
const QList<LoansCommand> &loansCommands();

} // namespace Brelvan
