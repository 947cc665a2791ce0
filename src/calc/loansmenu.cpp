#include "calc/loansmenu.h"

#include "calc/tannrform.h"
#include "calc/tannsform.h"
#include "calc/tborrowdetailform.h"
#include "calc/tborrowform.h"
#include "calc/tinvestform.h"
#include "data/ui/mainaccess.h"

namespace Brelvan {

namespace {

template<typename Form>
void open(MainAccess &main)
{
    Form form(main, main.window());
    form.exec();
}

} // namespace

const QList<LoansCommand> &loansCommands()
{
    static const QList<LoansCommand> commands = {
        {"Borrow", open<TBorrowForm>},
        {"Borrow Detail", open<TBorrowDetailForm>},
        {"Invest", open<TInvestForm>},
        {"Rising Annuity", open<TAnnRForm>},
        {"Sinking Annuity", open<TAnnSForm>},
    };
    return commands;
}

} // namespace Brelvan
