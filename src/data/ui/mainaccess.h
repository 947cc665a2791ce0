#pragma once

#include "data/ui/page.h"
#include "platform/desktop/dialogs.h"

#include <QString>

class QAction;
class QWidget;

namespace Brelvan {

class AppSettings;
class DataSession;
class MainEvents;
struct AppValues;

// The main window's small public face: what a page may ask of the rest of the program.
// The main window implements it, so pages never include the main window's header.
class MainAccess
{
public:
    virtual ~MainAccess() = default;

    virtual DataSession &session() = 0;
    virtual AppSettings &settings() = 0;
    virtual AppValues &values() = 0;
    virtual QWidget *window() = 0;
    virtual MainEvents &events() = 0;
    // The tab of this page, for the page class that fills it.
    virtual QWidget *tab(Page page) const = 0;

    // Makes this page the active one.
    virtual void goToPage(Page page) = 0;
    // Shows or hides a page's tab (the Diary hides Inventory and Wages).
    virtual void setPageVisible(Page page, bool visible) = 0;
    // The menu's "Calendar" command, which the Diary serves.
    virtual QAction *calendarCommand() const = 0;
    // The Office page's owner edits and their fonts as they stand now (for letterheads).
    virtual QString ownerText(const QString &edit) const = 0;
    virtual FontChoice ownerFont(const QString &edit) const = 0;

    // Appends lines to the note of the diary's current day and posts it.
    virtual void appendToDiary(const QString &lines) = 0;
};

} // namespace Brelvan
