#pragma once

#include "data/guard.h"

#include <QApplication>

namespace Brelvan {

// Catches, in one place, every exception a handler lets out: it is logged and shown, and
// the event loop carries on.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace Brelvan
