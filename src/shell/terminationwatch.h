#pragma once

#include <QObject>

class QSocketNotifier;

namespace Brelvan {

// Turns SIGTERM, SIGINT and the end of the desktop session into one signal in the event
// loop, so the program closes as if the window's close button was clicked.
class TerminationWatch : public QObject
{
    Q_OBJECT

public:
    explicit TerminationWatch(QObject *parent = nullptr);
    ~TerminationWatch() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace Brelvan
