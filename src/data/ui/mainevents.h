#pragma once

#include <QObject>

namespace Brelvan {

// The main window's life as the pages see it: each page hangs its part of the show,
// activate and close sequences on these.
class MainEvents : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void shown();          // once, at the end of the window's show sequence
    void activated();      // every time the main window becomes the active window
    void closing();        // the close sequence, after the datasets were posted
    void todayRequested(); // the Diary's "Today" after a reopen or a mode change
};

} // namespace Brelvan
