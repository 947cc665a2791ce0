#include "diary/diarypage.h"

#include "platform/widgets/editrefusal.h"

#include "data/appvalues.h"
#include "data/datasession.h"
#include "data/formats.h"
#include "data/ui/mainaccess.h"
#include "data/ui/mainevents.h"
#include "diary/clipboardmenu.h"
#include "diary/datestep.h"
#include "diary/diaryreport.h"
#include "diary/diarytext.h"
#include "diary/tcalform.h"
#include "diary/todolist.h"
#include "platform/desktop/clock.h"
#include "platform/desktop/dialogs.h"
#include "platform/desktop/shell.h"
#include "platform/table/dataset.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flashinglabel.h"
#include "platform/widgets/gradientpanel.h"
#include "platform/widgets/recordnavigator.h"
#include "platform/widgets/shapebutton.h"
#include "data/appsettings.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QClipboard>
#include <QComboBox>
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>

#include <optional>
#include <stdexcept>

namespace Brelvan {

using Table::Dataset;

using namespace DiaryText;

namespace {

const QString selectionFailed = QStringLiteral(
    "Exception 03: Query Error, ensure editing is done in \"All\" records mode.");

} // namespace

DiaryPage *createDiaryPage(MainAccess &main)
{
    auto *page = new DiaryPage(main, main.tab(Page::Diary));
    // the menu's "Calendar": a new calendar window each time, shown modally, then freed
    QAction *calendar = main.calendarCommand();
    calendar->setEnabled(true);
    QObject::connect(calendar, &QAction::triggered, page, [&main] {
        AppSettings &s = main.settings();
        TCalForm form(s.color(QStringLiteral("Grad1Str")), s.color(QStringLiteral("Grad2Str")),
                      s.color(QStringLiteral("Grad3Str")), main.window());
        form.exec();
    });
    return page;
}

DiaryPage::DiaryPage(MainAccess &main, QWidget *tab) : QObject(tab), m_main(main), m_tab(tab)
{
    setObjectName(QStringLiteral("DiaryPage"));
    m_diary = main.session().dataset(QStringLiteral("Diary"));
    m_diaryQ = main.session().dataset(QStringLiteral("DiaryQ"));
    m_source = m_diary;
    build(tab);
    connectButtons();
    useSource(m_diary);

    MainEvents &ev = main.events();
    connect(&ev, &MainEvents::shown, this, [this] {
        applyColours();
        attachClipboardMenu();
        today();
        focusMemoEnd();
    });
    connect(&ev, &MainEvents::activated, this, [this] {
        goToDate();
        m_calHead->setCaption(QStringLiteral("Todays Date ")
                              + clock().today().toString(headingFormat));
        setHeading(QStringLiteral("Diary for ") + calendarDate().toString(headingFormat));
        // the window settles the short date format right after this: the grid follows it
        QTimer::singleShot(0, this, [this] { m_grid->setDateFormat(shortDateFormat()); });
    });
    connect(&ev, &MainEvents::todayRequested, this, &DiaryPage::today);
    connect(&ev, &MainEvents::closing, this, [this] {
        useSource(m_diary);
        try {
            saveToDo();
        } catch (const std::exception &e) {
            // logged and shown by the application once the close sequence is done
            const std::string what = e.what();
            QTimer::singleShot(0, qApp, [what] { throw std::runtime_error(what); });
        }
    });

    // at creation, so the box holds the list before the window is shown
    try {
        loadToDo();
    } catch (const std::exception &e) {
        const std::string what = e.what();
        QTimer::singleShot(0, qApp, [what] { throw std::runtime_error(what); });
    }
}

DiaryPage::~DiaryPage() = default;

void DiaryPage::connectButtons()
{
    auto nav = [this](const char *name) {
        return button(name);
    };
    connect(nav("NowBtn"), &ShapeButton::clicked, this, &DiaryPage::today);
    struct Step { const char *name; QDate (*f)(const QDate &); bool week; };
    static const Step steps[] = {
        {"NextWeekBtn", [](const QDate &d) { return d.addDays(7); }, true},
        {"PrevWeekBtn", [](const QDate &d) { return d.addDays(-7); }, true},
        {"Next2WeekBtn", [](const QDate &d) { return d.addDays(14); }, true},
        {"Prev2WeekBtn", [](const QDate &d) { return d.addDays(-14); }, true},
        {"NextMonthBtn", DateStep::monthOn, false},
        {"PrevMonthBtn", DateStep::monthBack, false},
        {"NextYrBtn", DateStep::yearOn, false},
        {"PrevYrBtn", DateStep::yearBack, false},
    };
    for (const Step &s : steps) {
        ShapeButton *b = nav(s.name);
        const auto f = s.f;
        const bool week = s.week;
        connect(b, &ShapeButton::clicked, this, [this, b, f, week] { step(b, f, week); });
    }
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &DiaryPage::goToDate);
    connect(m_calendar, &QCalendarWidget::clicked, this, [this] {
        setGridColour(Qt::black);
        m_daytime->setFocus();
    });
    connect(nav("ClearDiaryTagsBtn"), &ShapeButton::clicked, this, &DiaryPage::clearTags);
    connect(nav("DayPos"), &ShapeButton::clicked, this, &DiaryPage::dayPos);
    connect(nav("DiaryCopyNotesBtn"), &ShapeButton::clicked, this, &DiaryPage::copyNotes);
    connect(nav("MateBtn"), &ShapeButton::clicked, this, &DiaryPage::mate);
    connect(m_daytime, &QPlainTextEdit::textChanged, this, &DiaryPage::memoEdited);
    const std::pair<const char *, Search> searches[] = {
        {"SearchBtn", Search::FromStart}, {"ScanBtn", Search::Scan},
        {"RevScanBtn", Search::ReverseScan}, {"NextBtn", Search::Next},
        {"PriorBtn", Search::Prior}};
    for (const auto &[name, how] : searches) {
        const Search h = how;
        connect(nav(name), &ShapeButton::clicked, this, [this, h] { search(h); });
    }
    connect(nav("ScrollBtn"), &ShapeButton::clicked, this, &DiaryPage::highlightAll);
    connect(nav("DiaryBtn"), &ShapeButton::clicked, this, &DiaryPage::diaryReport);
    connect(nav("PrintToDoBtn"), &ShapeButton::clicked, this, [this, nav] {
        flip(nav("PrintToDoBtn"));
        previewToDoReport(m_main, m_toDo->toPlainText());
    });
}

// --- navigation ----------------------------------------------------------------------------

QDate DiaryPage::calendarDate() const
{
    return m_calendar->selectedDate();
}

void DiaryPage::setHeading(const QString &text)
{
    m_dayHead->setText(text);
}

void DiaryPage::highlightNav(ShapeButton *used)
{
    for (ShapeButton *b : std::as_const(m_navButtons))
        b->setHighlighted(b == used, grad(2), grad(1));
}

void DiaryPage::goToDate()
{
    WaitCursor wait;
    const QDate date = calendarDate();
    if (date != clock().today()) {
        m_dayHead->setFlashing(true);
        setHeading(QStringLiteral("Diary for ") + date.toString(headingFormat));
    } else {
        for (ShapeButton *b : std::as_const(m_navButtons)) {
            if (b->objectName() == QLatin1String("NowBtn"))
                b->setHighlighted(true, grad(2), grad(1));
            else if (!b->objectName().contains(QLatin1String("2Week")))
                b->setHighlighted(false, grad(2), grad(1));
        }
        m_dayHead->setFlashing(false);
        setHeading(QStringLiteral("Diary for ") + date.toString(headingFormat));
    }
    positionDiary(date);
}

void DiaryPage::positionDiary(const QDate &date)
{
    // without tables (the session failed to open) there is nothing to position
    if (!date.isValid() || !m_diary->database())
        return;
    if (!m_diary->isOpen())
        m_diary->open();
    const bool found = m_diary->findNearest({date});
    if (found && m_diary->date(QStringLiteral("DATE")) == date)
        return;
    // insert before the next later day so the table stays in key order
    if (found)
        m_diary->insert();
    else
        m_diary->append();
    m_diary->setValue(QStringLiteral("DATE"), date);
    try {
        m_diary->post();
    } catch (const std::exception &) {
        // another copy on the same tables may have made the day meanwhile: use its record
        m_diary->cancel();
        m_diary->refresh();
        if (!m_diary->findNearest({date}) || m_diary->date(QStringLiteral("DATE")) != date)
            throw;
    }
}

void DiaryPage::setCalendarDate(const QDate &date)
{
    if (!date.isValid())
        return;
    if (date == m_calendar->selectedDate())
        goToDate();
    else
        m_calendar->setSelectedDate(date);
}

void DiaryPage::focusMemoEnd()
{
    m_daytime->setFocus();
    m_daytime->moveCursor(QTextCursor::End);
}

void DiaryPage::step(ShapeButton *button, const std::function<QDate(const QDate &)> &newDate,
                     bool weekHeading)
{
    postBoth();
    setGridColour(Qt::black);
    highlightNav(button);
    useSource(m_diary);
    const QDate before = calendarDate();
    const bool wasToday = before == clock().today();
    const QDate after = newDate(before);
    setCalendarDate(after);
    if (weekHeading && !wasToday)
        setHeading(QStringLiteral(" Diary for ") + after.toString(stepHeadingFormat));
    m_dayHead->setFlashing(calendarDate() != clock().today());
    focusMemoEnd();
}

void DiaryPage::today()
{
    postBoth();
    setGridColour(Qt::black);
    highlightNav(button("NowBtn"));
    useSource(m_diary);
    m_diarySel->setCurrentIndex(0);
    m_flashDiary->hide();
    setCalendarDate(clock().today());
    m_dayHead->setFlashing(false);
    focusMemoEnd();
}

void DiaryPage::gridRowChosen()
{
    if (!m_source || !m_source->isOpen() || m_source->isEmpty())
        return;
    const QDate d = m_source->date(QStringLiteral("DATE"));
    if (!d.isValid())
        return;
    setCalendarDate(d);
    if (d == clock().today())
        button("NowBtn")
            ->setHighlighted(true, grad(2), grad(1));
}

void DiaryPage::appendToDay(const QString &lines)
{
    postBoth();
    positionDiary(calendarDate());
    m_diary->edit();
    m_diary->setValue(QStringLiteral("Day"),
                      withLine(m_diary->text(QStringLiteral("Day")), lines));
    m_diary->post();
    if (m_source == m_diaryQ && m_diaryQ->isOpen())
        m_diaryQ->refresh();
    m_main.goToPage(Page::Diary);
}

// --- source, memo and grid -----------------------------------------------------------------

void DiaryPage::useSource(Dataset *dataset)
{
    // the memo and the grid follow only the source in use
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    // notes edited in a selection were written through DiaryQ: Diary reads them again, or
    // its next post of such a day would be refused as changed by someone else
    const bool leavingSelection = m_source == m_diaryQ && dataset == m_diary;
    m_source = dataset;
    if (leavingSelection && m_diary->isOpen())
        m_diary->refresh();
    connect(dataset, &Dataset::currentChanged, this, &DiaryPage::loadMemo);
    connect(dataset, &Dataset::rowsReset, this, &DiaryPage::loadMemo);
    connect(dataset, &Dataset::rowChanged, this, [this](int row) {
        if (m_source && row == m_source->row())
            loadMemo();
    });
    connect(dataset, &Dataset::controlsEnabled, this, &DiaryPage::loadMemo);
    if (m_grid->dataset() != dataset)
        m_grid->setDataset(dataset);
    m_navigator->setDataset(dataset);
    loadMemo();
}

void DiaryPage::postBoth()
{
    for (Dataset *ds : {m_diary, m_diaryQ}) {
        if (ds->isOpen())
            ds->postIfEditing();
    }
}

void DiaryPage::loadMemo()
{
    if (!m_source || m_source->controlsDisabled())
        return;
    QString text;
    bool editable = false;
    if (m_source->isOpen() && !m_source->isEmpty()) {
        text = toEditor(m_source->text(QStringLiteral("Day")));
        editable = m_source->isLive();
    }
    m_daytime->setReadOnly(!editable);
    if (m_daytime->toPlainText() == text)
        return;
    m_loadingMemo = true;
    m_daytime->setPlainText(text);
    m_loadingMemo = false;
}

bool DiaryPage::startEditForKey(QKeyEvent *key)
{
    const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    const bool typing = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete
                        || key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut)
                        || (!command && !key->text().isEmpty());
    if (!typing || m_daytime->isReadOnly() || !m_source || !m_source->isLive()
        || m_source->isEmpty() || m_source->isEditing())
        return true;
    if (EditRefusal::swallowing())
        return false;
    try {
        m_source->edit();
    } catch (const std::exception &refused) {
        // the day keeps its stored text; the key is not applied
        EditRefusal::report(QString::fromUtf8(refused.what()));
        return false;
    }
    return true;
}

void DiaryPage::memoEdited()
{
    if (m_loadingMemo || !m_source || !m_source->isLive() || m_source->isEmpty())
        return;
    if (!m_source->isEditing()) {
        try {
            m_source->edit();
        } catch (const std::exception &refused) {
            loadMemo();
            EditRefusal::report(QString::fromUtf8(refused.what()));
            return;
        }
    }
    m_source->setValue(QStringLiteral("Day"), toStored(m_daytime->toPlainText()));
}

void DiaryPage::stampMemo()
{
    if (!m_source || !m_source->isOpen() || m_source->isEmpty())
        return;
    m_source->edit();
    const QString note = toStored(m_daytime->toPlainText());
    m_source->setValue(QStringLiteral("Day"), withLine(note, noteStamp(clock().now())));
    m_source->post();
    loadMemo();
    m_daytime->moveCursor(QTextCursor::End);
}

void DiaryPage::setGridColour(const QColor &colour)
{
    QPalette p = m_grid->palette();
    p.setColor(QPalette::Text, colour);
    m_grid->setPalette(p);
}

// --- selection box and head tools ----------------------------------------------------------

void DiaryPage::selectionChosen(int index)
{
    try {
        postBoth();
        if (!m_diary->isOpen())
            m_diary->open();
        int tagged = 0;
        {
            WaitCursor wait;
            useSource(m_diary);
            const int tag = m_diary->fieldIndex(QStringLiteral("Tag"));
            for (int r = 0; r < m_diary->rowCount(); ++r) {
                if (m_diary->valueAt(r, tag).toString() == QLatin1String("y"))
                    ++tagged;
            }
        }
        // only the tagged selection needs a tagged day; "All" and "Find Text" do not
        if (tagged == 0 && index == 1) {
            dialogs().information(QStringLiteral("At least one record must be have a Tag of y"));
            today();
            return;
        }
        if (index == 0) {
            m_diary->postIfEditing();
            setGridColour(Qt::black);
            today();
            return;
        }
        QStringList sql;
        if (index == 1) {
            sql << QStringLiteral("SELECT * FROM Diary WHERE Tag = \"y\"");
        } else {
            const std::optional<QString> answer = dialogs().input(
                QStringLiteral("CASE SENSITIVE  search for"),
                QStringLiteral("Enter Search Criteria"), m_findText);
            // a cancelled box answers with its preset, as the old input box did
            m_findText = answer.value_or(m_findText);
            if (!m_findText.isEmpty())
                sql << QStringLiteral("SELECT * FROM Diary WHERE Day LIKE ")
                           + Table::containsPattern(m_findText);
            else
                sql << QStringLiteral("SELECT * FROM Diary");
        }
        sql << QStringLiteral("ORDER by Date");
        WaitCursor wait;
        useSource(m_diaryQ);
        m_diaryQ->close();
        m_diaryQ->setSql(sql);
        if (index == 2 && m_findText.isEmpty())
            dialogs().information(QStringLiteral("Data was NOT specified"));
        m_diaryQ->open();
        if (!m_diaryQ->isEmpty()) {
            m_diaryQ->first();
            // the calendar stays where it was when nothing matched: no day is made for it
            setCalendarDate(m_diaryQ->date(QStringLiteral("DATE")));
        }
        m_dayHead->setFlashing(calendarDate() != clock().today());
        setGridColour(index == 1 ? QColor(Qt::red) : QColor(Qt::blue));
        m_flashDiary->setVisible(!m_diaryQ->isLive());
    } catch (const std::exception &) {
        dialogs().error(selectionFailed);
    }
}

void DiaryPage::flip(ShapeButton *button)
{
    button->flipHighlight(grad(2), grad(1));
}

void DiaryPage::clearTags()
{
    flip(button("ClearDiaryTagsBtn"));
    auto walk = [this] {
        WaitCursor wait;
        postBoth();
        useSource(m_diary);
        if (!m_diary->isOpen())
            m_diary->open();
        m_diary->disableControls();
        try {
            Dataset::Walk w(*m_diary);
            for (m_diary->first(); !m_diary->eof(); m_diary->next()) {
                if (!m_diary->text(QStringLiteral("Tag")).isEmpty()) {
                    m_diary->edit();
                    m_diary->setValue(QStringLiteral("Tag"), QVariant());
                    m_diary->post();
                }
            }
        } catch (...) {
            m_diary->enableControls();
            throw;
        }
        m_diary->enableControls();
    };
    try {
        walk();
    } catch (...) {
        today();
        throw;
    }
    today();
}

void DiaryPage::dayPos()
{
    flip(button("DayPos"));
    if (m_daytime->textCursor().position() != 0)
        m_daytime->moveCursor(QTextCursor::Start);
    else
        m_daytime->moveCursor(QTextCursor::End);
    m_daytime->setFocus();
}

void DiaryPage::copyNotes()
{
    flip(button("DiaryCopyNotesBtn"));
    m_daytime->selectAll();
    QApplication::clipboard()->setText(toStored(m_daytime->toPlainText()));
}

void DiaryPage::mate()
{
    flip(button("MateBtn"));
    const QString file = dialogs().openFile(QString(), m_main.values().lettersFolder,
                                            QStringLiteral("All|*.*"),
                                            m_main.settings().value(QStringLiteral("MateStr")));
    if (file.isEmpty())
        return;
    m_main.settings().setValue(QStringLiteral("MateStr"), file);
    shell().open(file);
}

void DiaryPage::diaryReport()
{
    flip(button("DiaryBtn"));
    postBoth();
    Dataset &rows = m_source == m_diaryQ ? *m_diaryQ : *m_diary;
    if (!rows.isOpen())
        return;
    previewDiaryReport(m_main, rows);
    // back on the calendar's day rather than the first one, so the memo keeps editing the
    // day the heading names
    positionDiary(calendarDate());
}

void DiaryPage::showHiddenPages(bool show)
{
    m_main.setPageVisible(Page::Inventory, show);
    m_main.setPageVisible(Page::Wages, show);
}

// --- to-do list ----------------------------------------------------------------------------

void DiaryPage::loadToDo()
{
    m_toDo->clear();
    m_toDoList = std::make_unique<ToDoList>(m_main.values().toDoFile);
    m_toDo->setPlainText(m_toDoList->load());
    m_toDoList->settle(m_toDo->toPlainText());
}

void DiaryPage::saveToDo()
{
    if (!m_toDoList)
        return;
    const ToDoList::Result r = m_toDoList->save(m_toDo->toPlainText());
    if (r.outcome != ToDoList::Outcome::Reloaded && r.outcome != ToDoList::Outcome::Merged)
        return;
    m_toDo->setPlainText(r.text);
    m_toDoList->settle(m_toDo->toPlainText());
    if (r.outcome == ToDoList::Outcome::Merged) {
        dialogs().information(
            QStringLiteral("The to-do list was changed by another copy of Brelvan while this "
                           "copy had it open. Both are kept: the lines added here now follow "
                           "the other copy's list."),
            m_toDoList->path());
    }
}

bool DiaryPage::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type t = event->type();
    if (t == QEvent::KeyPress && watched == m_daytime)
        return !startEditForKey(static_cast<QKeyEvent *>(event));
    if (t == QEvent::MouseButtonDblClick) {
        if (watched == m_daytime->viewport()) {
            stampMemo();
            return true;
        }
        if (watched == m_toDo->viewport()) {
            m_toDo->moveCursor(QTextCursor::End);
            QString text = m_toDo->toPlainText();
            if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
                m_toDo->insertPlainText(QStringLiteral("\n"));
            m_toDo->insertPlainText(noteStamp(clock().now()));
            return true;
        }
    } else if (t == QEvent::FocusIn && watched == m_toDo && m_toDoList) {
        // another copy's list is taken before this one is edited, as long as it is unchanged
        if (const auto text = m_toDoList->refresh(m_toDo->toPlainText())) {
            m_toDo->setPlainText(*text);
            m_toDoList->settle(m_toDo->toPlainText());
            m_toDo->moveCursor(QTextCursor::End);
        }
    } else if (t == QEvent::FocusOut) {
        if (watched == m_toDo)
            saveToDo();
        else if (watched == m_daytime)
            postBoth();
    } else if (t == QEvent::Hide && watched == m_tab) {
        postBoth();
    } else if (t == QEvent::Show && watched == m_tab) {
        m_daytime->setFocus();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Brelvan
