#include "payroll/wagespage.h"

#include "payroll/wagespagespec.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/shapebutton.h"

#include <QSplitter>

namespace Brelvan {

WagesPage *createWagesPage(MainAccess &main)
{
    return new WagesPage(main);
}

WagesPage::WagesPage(MainAccess &main) : RecordPage(main, wagesPageSpec())
{
    // the pay totals come with the wage calculations, not yet here
    sumButton()->setEnabled(false);
    // the pay notes sit under the grid, which keeps the full width for its 34 columns
    if (auto *split = qobject_cast<QSplitter *>(grid()->parentWidget())) {
        split->setOrientation(Qt::Vertical);
        split->setStretchFactor(0, 5);
        split->setStretchFactor(1, 1);
        split->setSizes({520, 110});
    }
}

} // namespace Brelvan
