#pragma once

#include "data/appvalues.h"
#include "data/datasession.h"
#include "data/ui/mainaccess.h"
#include "data/ui/mainevents.h"
#include "data/appsettings.h"
#include "platform/widgets/widthscaler.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QMenu;
class QTabWidget;

namespace Brelvan {

class OfficePage;

// The main window: tab pages, menu and status bar, and the state every page shares —
// the data session, the settings in memory and the application values.
class TMainForm : public QMainWindow, public MainAccess
{
    Q_OBJECT

public:
    explicit TMainForm(const AppValues &values, QWidget *parent = nullptr);
    ~TMainForm() override;

    // The creation sequence up to showing the window. False when the program must end
    // (the start-up password was refused, or the user chose to quit).
    bool create();
    bool terminated() const { return m_terminated; }

    // MainAccess
    DataSession &session() override { return m_session; }
    AppSettings &settings() override { return m_settings; }
    AppValues &values() override { return m_values; }
    QWidget *window() override { return this; }
    MainEvents &events() override { return m_events; }
    void goToPage(Page page) override;
    void setPageVisible(Page page, bool visible) override;
    QAction *calendarCommand() const override { return m_calendarAction; }
    QString ownerText(const QString &edit) const override;
    FontChoice ownerFont(const QString &edit) const override;
    void appendToDiary(const QString &lines) override;

    void openDataSession();
    // A menu command by its caption (the first one when captions repeat).
    QAction *menuAction(const QString &caption) const;
    QTabWidget *pages() const { return m_pages; }
    OfficePage *officePage() const { return m_office; }
    QWidget *tab(Page page) const override;
    // The diary page takes over appending to the day's note.
    void setDiaryAppender(std::function<void(const QString &)> appender)
    {
        m_diaryAppender = std::move(appender);
    }

    // The close sequence's data part; also run on SIGTERM and at the session's end.
    void writeIniAtClose();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildPages();
    // Each subsystem's page class fills its tab.
    void installPages();
    void buildMenu();
    void applyColours();
    void settingsToBoxes();
    void boxesToSettings();
    // the creation sequence's steps, in their order
    void startInLocalMode();
    void readIniFile();
    void setDefaultDateFormat();
    void readUserStore();
    void setCaption();
    bool askStartUpPassword();
    void postEditingDatasets();
    void onShown();
    void onActivated();
    void terminate();

    // menu commands
    void localData();
    void remoteData();
    void remoteAddress();
    void dataFolder();
    void changePassword();
    void upDater();
    void upDate();
    void calculator();
    void about();

    AppValues m_values;
    AppSettings m_settings;
    MainEvents m_events;
    std::function<void(const QString &)> m_diaryAppender;
    DataSession m_session;
    QTabWidget *m_pages = nullptr;
    OfficePage *m_office = nullptr;
    QAction *m_localAction = nullptr;
    QAction *m_remoteAction = nullptr;
    QAction *m_folderAction = nullptr;
    QAction *m_calendarAction = nullptr;
    WidthScaler m_widthScaler;
    bool m_shown = false;
    bool m_closed = false;
    bool m_terminated = false;
};

} // namespace Brelvan
