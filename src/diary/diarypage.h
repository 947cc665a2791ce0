#pragma once

#include <QDate>
#include <QHash>
#include <QObject>

#include <functional>
#include <memory>

class QCalendarWidget;
class QComboBox;
class QKeyEvent;
class QPlainTextEdit;
class QWidget;

namespace Brelvan::Table {
class Dataset;
}

namespace Brelvan {

class AnalogClock;
class DataGrid;
class FlashingLabel;
class GradientPanel;
class RecordNavigator;
class MainAccess;
class ShapeButton;
class ToDoList;

// The Diary page: one note per calendar day, the calendar and its stepping buttons, the
// day grid with its selections, the to-do box. It fills the main window's first tab.
class DiaryPage : public QObject
{
    Q_OBJECT

public:
    DiaryPage(MainAccess &main, QWidget *tab);
    ~DiaryPage() override;

    // The calendar's change: heading, flashing, and Diary positioned on the calendar's date
    // with a record made for a day that has none.
    void goToDate();
    // The "Today" button.
    void today();
    // Appends lines to the note of the calendar's day and posts it.
    void appendToDay(const QString &lines);

    QDate calendarDate() const;
    // Diary, or DiaryQ after a "Tag" or "Find Text" selection.
    Table::Dataset *source() const { return m_source; }
    QString lastFindText() const { return m_findText; }
    // The text the search buttons look for, shared by all six.
    QString lastSearchText() const { return m_searchText; }

    // The to-do list and its file. Saving writes only a changed list, and takes or keeps
    // what another copy wrote to the file meanwhile.
    void loadToDo();
    void saveToDo();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build(QWidget *tab);
    QWidget *buildHead();
    QWidget *buildBand();
    QWidget *buildDayHead();
    ShapeButton *addButton(QWidget *parent, const char *name, const QString &caption,
                           const QString &hint);
    void connectButtons();
    void applyColours();
    void attachClipboardMenu();

    // navigation
    void step(ShapeButton *button, const std::function<QDate(const QDate &)> &newDate,
              bool weekHeading);
    void setCalendarDate(const QDate &date);
    void positionDiary(const QDate &date);
    void highlightNav(ShapeButton *used);
    void setHeading(const QString &text);
    void focusMemoEnd();
    void gridRowChosen();

    // source, memo and grid
    void useSource(Table::Dataset *dataset);
    void postBoth();
    void loadMemo();
    void memoEdited();
    // Puts the day into edit before a typed key changes the memo; false when refused.
    bool startEditForKey(QKeyEvent *key);
    void stampMemo();
    void setGridColour(const QColor &colour);

    // head panel tools
    void selectionChosen(int index);
    void clearTags();
    void dayPos();
    void copyNotes();
    void mate();
    void diaryReport();
    void showHiddenPages(bool show);
    void flip(ShapeButton *button);

    // the search buttons
    enum class Search { FromStart, Scan, ReverseScan, Next, Prior };
    void search(Search how);
    void selectMatches(const QList<int> &positions);
    void highlightAll();

    QColor grad(int n) const;

    // one of the page's own buttons by its name
    ShapeButton *button(const QString &name) const { return m_buttonByName.value(name); }

    MainAccess &m_main;
    QWidget *m_tab = nullptr;
    QHash<QString, ShapeButton *> m_buttonByName;
    Table::Dataset *m_diary = nullptr;
    Table::Dataset *m_diaryQ = nullptr;
    Table::Dataset *m_source = nullptr;
    QString m_searchText;
    bool m_highlighting = false;
    QString m_findText;
    bool m_loadingMemo = false;

    GradientPanel *m_calHead = nullptr;
    FlashingLabel *m_flashDiary = nullptr;
    QComboBox *m_diarySel = nullptr;
    QPlainTextEdit *m_toDo = nullptr;
    std::unique_ptr<ToDoList> m_toDoList;
    GradientPanel *m_teal = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    AnalogClock *m_clock = nullptr;
    DataGrid *m_grid = nullptr;
    RecordNavigator *m_navigator = nullptr;
    GradientPanel *m_dayHeadPanel = nullptr;
    FlashingLabel *m_dayHead = nullptr;
    QPlainTextEdit *m_daytime = nullptr;
    QList<ShapeButton *> m_navButtons;
    QList<ShapeButton *> m_buttons;
};

// Creates the Diary page on the main window's first tab.
DiaryPage *createDiaryPage(MainAccess &main);

} // namespace Brelvan
