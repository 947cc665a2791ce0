#include "payroll/wagespage.h"

#include "payroll/wagespagespec.h"
#include "platform/widgets/shapebutton.h"

namespace Brelvan {

WagesPage *createWagesPage(MainAccess &main)
{
    return new WagesPage(main);
}

WagesPage::WagesPage(MainAccess &main) : RecordPage(main, wagesPageSpec())
{
    // the pay totals come with the wage calculations, not yet here
    sumButton()->setEnabled(false);
}

} // namespace Brelvan
