#pragma once

#include <QString>

class QWidget;

namespace Brelvan {

// A control's hint shows as its tool tip and on the main window's status bar.
void setHint(QWidget *widget, const QString &hint);

} // namespace Brelvan
