#include "platform/widgets/hint.h"

#include <QWidget>

namespace Brelvan {

void setHint(QWidget *widget, const QString &hint)
{
    if (!widget)
        return;
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

} // namespace Brelvan
