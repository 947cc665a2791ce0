#include "diary/diarypage.h"

#include "data/appvalues.h"
#include "data/datasession.h"
#include "data/formats.h"
#include "data/ui/mainaccess.h"
#include "data/ui/mainevents.h"
#include "diary/clipboardmenu.h"
#include "diary/datestep.h"
#include "diary/diaryreport.h"
#include "diary/diarysearch.h"
#include "diary/tcalform.h"
#include "diary/todofile.h"
#include "platform/desktop/clock.h"
#include "platform/desktop/dialogs.h"
#include "platform/desktop/shell.h"
#include "platform/table/dataset.h"
#include "platform/widgets/analogclock.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flashinglabel.h"
#include "platform/widgets/gradientpanel.h"
#include "platform/widgets/hint.h"
#include "platform/widgets/recordnavigator.h"
#include "platform/widgets/shapebutton.h"
#include "shell/core/appsettings.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>
#include <stdexcept>

namespace Brelvan {

using Table::Dataset;

namespace {

const QString headingFormat = QStringLiteral("dddd d MMMM yyyy");
// the week buttons' and the search's own form, commas and trailing space included
const QString stepHeadingFormat = QStringLiteral("dddd, d MMMM , yyyy ");
const QString selectionFailed = QStringLiteral(
    "Exception 03: Query Error, ensure editing is done in \"All\" records mode.");

struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// Memo texts are kept with "\r\n" breaks; the editor works with "\n".
QString toEditor(const QString &stored)
{
    QString t = stored;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

QString toStored(const QString &edited)
{
    QString t = edited;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

// A new line on the end of a stored note.
QString withLine(const QString &note, const QString &line)
{
    if (note.isEmpty() || note.endsWith(QLatin1String("\r\n")))
        return note + line;
    return note + QStringLiteral("\r\n") + line;
}

void setBase(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
}

} // namespace

DiaryPage *createDiaryPage(MainAccess &main)
{
    auto *page = new DiaryPage(main, main.tab(0));
    // the menu's "Calendar": a new calendar window each time, shown modally, then freed
    for (QAction *a : main.window()->findChildren<QAction *>()) {
        if (a->text() != QLatin1String("Calendar") || a->menu())
            continue;
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, page, [&main] {
            AppSettings &s = main.settings();
            TCalForm form(s.color(QStringLiteral("Grad1Str")), s.color(QStringLiteral("Grad2Str")),
                          s.color(QStringLiteral("Grad3Str")), main.window());
            form.exec();
        });
        break;
    }
    return page;
}

DiaryPage::DiaryPage(MainAccess &main, QWidget *tab) : QObject(tab), m_main(main)
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

// --- layout ------------------------------------------------------------------------------

ShapeButton *DiaryPage::addButton(QWidget *parent, const char *name, const QString &caption,
                                  const QString &hint)
{
    auto *b = new ShapeButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    setHint(b, hint);
    b->setGradient(ShapeButton::silver(), ShapeButton::grey());
    m_buttons << b;
    return b;
}

void DiaryPage::build(QWidget *tab)
{
    auto *v = new QVBoxLayout(tab);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->addWidget(buildHead());
    v->addWidget(buildBand());
    v->addWidget(buildDayHead());

    m_daytime = new QPlainTextEdit(tab);
    m_daytime->setObjectName(QStringLiteral("Daytime"));
    setHint(m_daytime, QStringLiteral("Double click to append Date and Time, Right click to "
                                      "Cut/Copy/Paste hilighted text."));
    m_daytime->installEventFilter(this);
    m_daytime->viewport()->installEventFilter(this);
    v->addWidget(m_daytime, 1);
    tab->installEventFilter(this);
}

QWidget *DiaryPage::buildHead()
{
    m_calHead = new GradientPanel;
    m_calHead->setObjectName(QStringLiteral("CalHead"));
    m_calHead->setCaptionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_calHead->setCaption(QStringLiteral("Todays Date ") + clock().today().toString(headingFormat));
    QFont f = m_calHead->font();
    f.setBold(true);
    f.setPointSize(12);
    m_calHead->setFont(f);
    m_calHead->setMinimumHeight(34);
    auto *h = new QHBoxLayout(m_calHead);
    h->setContentsMargins(6, 3, 6, 3);
    h->addStretch(1);

    ShapeButton *clear = addButton(m_calHead, "ClearDiaryTagsBtn", QStringLiteral("Clear Tags"),
                                   QStringLiteral("Turn Filter off and Clear Tags from all "
                                                  "Records."));
    h->addWidget(clear);

    m_flashDiary = new FlashingLabel(QStringLiteral("Edits Disabled"), m_calHead);
    m_flashDiary->setObjectName(QStringLiteral("FlashDiary"));
    setHint(m_flashDiary, QStringLiteral("Flashing :=  Edits will NOT be saved."));
    m_flashDiary->setFlashing(true);
    m_flashDiary->hide();
    h->addWidget(m_flashDiary);

    using Nav = RecordNavigator;
    auto *nav = new RecordNavigator(Nav::First | Nav::Last | Nav::Delete | Nav::Edit
                                        | Nav::Post | Nav::Cancel | Nav::Refresh,
                                    m_calHead);
    nav->setObjectName(QStringLiteral("DiaryNavigator"));
    m_navigator = nav;
    h->addWidget(nav);

    m_diarySel = new QComboBox(m_calHead);
    m_diarySel->setObjectName(QStringLiteral("DiarySel"));
    m_diarySel->addItems({QStringLiteral("All"), QStringLiteral("Tag"),
                          QStringLiteral("Find Text")});
    setHint(m_diarySel, QStringLiteral("Filter Diary Records / Search for records containing "
                                       "Information."));
    connect(m_diarySel, &QComboBox::activated, this, &DiaryPage::selectionChosen);
    h->addWidget(m_diarySel);
    connect(m_calHead, &GradientPanel::doubleClicked, this, [this] { showHiddenPages(true); });
    return m_calHead;
}

QWidget *DiaryPage::buildBand()
{
    auto *band = new QWidget;
    auto *h = new QHBoxLayout(band);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);

    m_toDo = new QPlainTextEdit(band);
    m_toDo->setObjectName(QStringLiteral("TDo"));
    setHint(m_toDo, QStringLiteral("ToDo List: Right click to Copy/Cut/Paste hilighted text.\n"
                                   "Automatically saved on exit."));
    m_toDo->setFont(QFont(QStringLiteral("Arial"), 10));
    m_toDo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_toDo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_toDo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_toDo->installEventFilter(this);
    m_toDo->viewport()->installEventFilter(this);
    h->addWidget(m_toDo, 1);

    m_teal = new GradientPanel(band);
    m_teal->setObjectName(QStringLiteral("TealPanel"));
    auto *g = new QGridLayout(m_teal);
    g->setContentsMargins(4, 4, 4, 4);
    g->setSpacing(3);
    m_calendar = new QCalendarWidget(m_teal);
    m_calendar->setObjectName(QStringLiteral("Calendar"));
    setHint(m_calendar, QStringLiteral("Click to Select"));
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setSelectedDate(clock().today());
    g->addWidget(m_calendar, 0, 0, 5, 1);
    m_clock = new AnalogClock(m_teal);
    m_clock->setObjectName(QStringLiteral("Clock"));
    g->addWidget(m_clock, 0, 1, 1, 2);

    struct Nav { const char *name; const char *caption; const char *hint; int row, col; };
    static const Nav navs[] = {
        {"NowBtn", "Today", "Return to Today", 1, 1},
        {"Next2WeekBtn", "+2 Wk", "Next Week (from current Calendar date)", 1, 2},
        {"NextWeekBtn", "Week ", "Next Week (from current Calendar date)", 2, 2},
        {"PrevWeekBtn", "Week", "Prior Week (from current Calendar date)", 2, 1},
        {"Prev2WeekBtn", "-2Wk", "Prior Week (from current Calendar date)", 1, 3},
        {"NextMonthBtn", "Month", "Next Month (from current Calendar date)", 3, 2},
        {"PrevMonthBtn", "Month", "Prior Month (from current Calendar date)", 3, 1},
        {"NextYrBtn", "Year ", "Next Year (from current Calendar date)", 4, 2},
        {"PrevYrBtn", " Year", "Prior Year (from current Calendar date)", 4, 1},
    };
    for (const Nav &n : navs) {
        ShapeButton *b = addButton(m_teal, n.name, QString::fromLatin1(n.caption),
                                   QString::fromLatin1(n.hint));
        m_buttons.removeOne(b);
        m_navButtons << b;
        g->addWidget(b, n.row, n.col);
    }
    h->addWidget(m_teal, 0);

    m_grid = new DataGrid(band);
    m_grid->setObjectName(QStringLiteral("DiaryGrid"));
    setHint(m_grid, QStringLiteral("Tag with   y   as required for filtering and printing.   "
                                   "Change field to update Diary Notes heading and Calendar "
                                   "Date."));
    m_grid->setColumns({{QStringLiteral("Tag"), QStringLiteral("Tag"), Qt::AlignCenter},
                        {QStringLiteral("DATE"), QStringLiteral("Date ")}});
    m_grid->setDateFormat(shortDateFormat());
    m_grid->setMinimumWidth(160);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    connect(m_grid, &DataGrid::cellClicked, this, [this] { gridRowChosen(); });
    connect(m_grid, &DataGrid::columnEntered, this, [this] { gridRowChosen(); });
    connect(m_grid, &DataGrid::focusLeft, this, &DiaryPage::postBoth);
    h->addWidget(m_grid, 1);
    return band;
}

QWidget *DiaryPage::buildDayHead()
{
    m_dayHeadPanel = new GradientPanel;
    m_dayHeadPanel->setObjectName(QStringLiteral("DiaryHeadPanel"));
    auto *h = new QHBoxLayout(m_dayHeadPanel);
    h->setContentsMargins(6, 3, 6, 3);
    h->setSpacing(3);
    m_dayHead = new FlashingLabel(m_dayHeadPanel);
    m_dayHead->setObjectName(QStringLiteral("DiaryHead"));
    m_dayHead->setShownTime(500);
    m_dayHead->setHiddenTime(500);
    m_dayHead->setFlashColors(QColor(Qt::black), QColor(Qt::white));
    m_dayHead->setAutoFillBackground(true);
    QFont f = m_dayHead->font();
    f.setBold(true);
    f.setPointSize(12);
    m_dayHead->setFont(f);
    // the heading gives way to the buttons on a narrow window
    m_dayHead->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_dayHead->setMinimumWidth(160);
    h->addWidget(m_dayHead, 1);
    connect(m_dayHead, &FlashingLabel::clicked, this, [this] { showHiddenPages(false); });
    connect(m_dayHeadPanel, &GradientPanel::clicked, this, [this] { showHiddenPages(false); });

    addButton(m_dayHeadPanel, "DayPos", QStringLiteral("Pos"),
              QStringLiteral("Toggle Top to bottom of Diary Notes "));
    addButton(m_dayHeadPanel, "DiaryCopyNotesBtn", QStringLiteral("Copy"),
              QStringLiteral("Copy all notes to Clipboard"));
    addButton(m_dayHeadPanel, "PriorBtn", QStringLiteral("Prior"),
              QStringLiteral("Search for prior entry."));
    addButton(m_dayHeadPanel, "RevScanBtn", QStringLiteral("<< Scan"),
              QStringLiteral("Scan BACKWARDS from current calendar date for some text."));
    addButton(m_dayHeadPanel, "SearchBtn", QStringLiteral("Search"),
              QStringLiteral("Search from beginning of Diary for some text."));
    addButton(m_dayHeadPanel, "ScanBtn", QStringLiteral("Scan >>"),
              QStringLiteral("Scan from current calendar date for some text."));
    addButton(m_dayHeadPanel, "NextBtn", QStringLiteral("Next"),
              QStringLiteral("Search for next."));
    addButton(m_dayHeadPanel, "ScrollBtn", QStringLiteral("HiLite"),
              QStringLiteral("HighLight search text ON CURRENT DATE  -  Cycles thru this Diary "
                             "date."));
    addButton(m_dayHeadPanel, "DiaryBtn", QStringLiteral("Diary"),
              QStringLiteral("Preview / Print Diary Report"));
    addButton(m_dayHeadPanel, "PrintToDoBtn", QStringLiteral("ToDo"),
              QStringLiteral("Preview / Print ToDo Report"));
    addButton(m_dayHeadPanel, "MateBtn", QStringLiteral("Mate"),
              QStringLiteral("Start another program file."));
    addButton(m_dayHeadPanel, "BusCardBtn", QStringLiteral("Cards"),
              QStringLiteral("Preview / Print Business Cards on Avery J8413 Pre-Cut Card "
                             "Medium "));
    for (ShapeButton *b : std::as_const(m_buttons)) {
        if (b->parentWidget() == m_dayHeadPanel)
            h->addWidget(b);
    }
    return m_dayHeadPanel;
}

void DiaryPage::attachClipboardMenu()
{
    // every page has built its controls by the time the window shows
    auto *menu = new ClipboardMenu(m_main.window());
    menu->attach(m_toDo);
    menu->attach(m_daytime);
    // the grid's cells only while it shows the diary itself, not a selection
    menu->attach(m_grid, [this] { return m_source == m_diary; });
    static const char *const others[] = {
        "ClientNotes", "NoteExp",      "NoteInc",      "InventNotes", "WageNote",
        "NamesFilter", "ExpendFilter", "IncomeFilter", "InventFilter", "WagesFilter",
        "NamesGrid",   "ExpendGrid",   "IncomeGrid",   "InventGrid",  "WagesGrid",
        "Pix"};
    for (const char *name : others)
        menu->attach(m_main.window()->findChild<QWidget *>(QString::fromLatin1(name)));
}

QColor DiaryPage::grad(int n) const
{
    return m_main.settings().color(QStringLiteral("Grad%1Str").arg(n));
}

void DiaryPage::applyColours()
{
    for (GradientPanel *p : {m_calHead, m_teal, m_dayHeadPanel})
        p->setGradient(grad(1), grad(2));
    m_clock->setHourHandColor(grad(2));
    for (QWidget *w : {static_cast<QWidget *>(m_toDo), static_cast<QWidget *>(m_calendar),
                       static_cast<QWidget *>(m_daytime)})
        setBase(w, grad(3));
    m_grid->setBackgroundColor(grad(3));
    m_grid->setAlternateColor(grad(4));
    QPalette p = m_dayHead->palette();
    p.setColor(QPalette::Window, grad(3));
    m_dayHead->setPalette(p);
    // highlighted at the show; the navigation shows which one was used last
    m_main.tab(0)->findChild<ShapeButton *>(QStringLiteral("MateBtn"))
        ->setHighlighted(true, grad(2), grad(1));
}

void DiaryPage::connectButtons()
{
    auto nav = [this](const char *name) {
        return m_main.tab(0)->findChild<ShapeButton *>(QString::fromLatin1(name));
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
    m_diary->post();
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
    highlightNav(m_main.tab(0)->findChild<ShapeButton *>(QStringLiteral("NowBtn")));
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
        m_main.tab(0)->findChild<ShapeButton *>(QStringLiteral("NowBtn"))
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
    m_main.goToPage(0);
}

// --- source, memo and grid -----------------------------------------------------------------

void DiaryPage::useSource(Dataset *dataset)
{
    // the memo and the grid follow only the source in use
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = dataset;
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

void DiaryPage::memoEdited()
{
    if (m_loadingMemo || !m_source || !m_source->isLive() || m_source->isEmpty())
        return;
    if (!m_source->isEditing())
        m_source->edit();
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
        if (tagged == 0) {
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
    flip(m_main.tab(0)->findChild<ShapeButton *>(QStringLiteral("ClearDiaryTagsBtn")));
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
    flip(m_main.tab(0)->findChild<ShapeButton *>(QStringLiteral("DayPos")));
    if (m_daytime->textCursor().position() != 0)
        m_daytime->moveCursor(QTextCursor::Start);
    else
        m_daytime->moveCursor(QTextCursor::End);
    m_daytime->setFocus();
}

void DiaryPage::copyNotes()
{
    flip(m_main.tab(0)->findChild<ShapeButton *>(QStringLiteral("DiaryCopyNotesBtn")));
    m_daytime->selectAll();
    QApplication::clipboard()->setText(toStored(m_daytime->toPlainText()));
}

void DiaryPage::mate()
{
    flip(m_main.tab(0)->findChild<ShapeButton *>(QStringLiteral("MateBtn")));
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
    flip(m_main.tab(0)->findChild<ShapeButton *>(QStringLiteral("DiaryBtn")));
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
    auto *pages = m_main.window()->findChild<QTabWidget *>(QStringLiteral("PageControl"));
    if (!pages)
        return;
    pages->setTabVisible(7, show);
    pages->setTabVisible(8, show);
}

// --- search buttons ------------------------------------------------------------------------

void DiaryPage::search(Search how)
{
    static const char *const names[] = {"SearchBtn", "ScanBtn", "RevScanBtn", "NextBtn",
                                        "PriorBtn"};
    ShapeButton *nowBtn = m_main.tab(0)->findChild<ShapeButton *>(QStringLiteral("NowBtn"));
    flip(m_main.tab(0)->findChild<ShapeButton *>(QString::fromLatin1(names[int(how)])));
    const bool again = how == Search::Next || how == Search::Prior;
    if (again)
        nowBtn->setHighlighted(false, grad(2), grad(1));
    postBoth();
    useSource(m_diary);
    setGridColour(Qt::black);
    if (!again) {
        const std::optional<QString> answer = dialogs().input(
            QStringLiteral("CASE SENSITIVE Search"), QStringLiteral("Enter Text to find"),
            m_searchText);
        m_searchText = answer.value_or(m_searchText);
    }
    if (!m_diary->database())
        return;
    if (!m_diary->isOpen())
        m_diary->open();
    const bool forward = how != Search::ReverseScan && how != Search::Prior;
    std::optional<WaitCursor> wait;
    if (how == Search::ReverseScan)
        wait.emplace();

    // the memo's own wrapping decides what a line is
    const QFont font = m_daytime->font();
    const int width = m_daytime->viewport()->width()
                      - 2 * int(m_daytime->document()->documentMargin());
    const int day = m_diary->fieldIndex(QStringLiteral("Day"));
    QList<int> found;
    m_diary->disableControls();
    try {
        bool passed = m_diary->isEmpty();
        if (!passed) {
            switch (how) {
            case Search::FromStart:
                m_diary->setIndexName(QStringLiteral("Dates"));
                m_diary->first();
                break;
            case Search::Scan:
            case Search::ReverseScan:
                m_diary->setIndexName(QStringLiteral("Dates"));
                // past the last day a forward scan has nothing left; a reverse one starts there
                passed = !m_diary->findNearest({calendarDate()}) && forward;
                break;
            case Search::Next:
                m_diary->next();
                passed = m_diary->eof();
                break;
            case Search::Prior:
                m_diary->prior();
                passed = m_diary->bof();
                break;
            }
        }
        while (!passed) {
            found = DiarySearch::lineMatches(
                toEditor(m_diary->valueAt(m_diary->row(), day).toString()), m_searchText, font,
                width);
            if (!found.isEmpty())
                break;
            if (forward) {
                m_diary->next();
                passed = m_diary->eof();
            } else {
                m_diary->prior();
                passed = m_diary->bof();
            }
        }
    } catch (...) {
        m_diary->enableControls();
        throw;
    }
    m_diary->enableControls();
    wait.reset();

    if (found.isEmpty()) {
        dialogs().information(again ? QStringLiteral("No more entries were found in Diary."
                                                     "\r\n\r\nReturning to Today")
                                    : QStringLiteral("No entries were found in Diary."
                                                     "\r\n\r\nReturning to Today"));
        if (!m_diary->isEmpty())
            setHeading(QStringLiteral(" Diary for ")
                       + m_diary->date(QStringLiteral("DATE")).toString(stepHeadingFormat));
        today();
        return;
    }
    selectMatches(found);
}

void DiaryPage::selectMatches(const QList<int> &positions)
{
    const QDate date = m_diary->date(QStringLiteral("DATE"));
    loadMemo();
    for (int at : positions) {
        m_daytime->setFocus();
        QTextCursor c = m_daytime->textCursor();
        c.setPosition(at);
        c.setPosition(at + int(m_searchText.size()), QTextCursor::KeepAnchor);
        m_daytime->setTextCursor(c);
        setHeading(QStringLiteral(" Diary for ") + date.toString(stepHeadingFormat));
        setCalendarDate(date);
        m_dayHead->setFlashing(date != clock().today());
    }
}

void DiaryPage::highlightAll()
{
    if (m_highlighting)
        return;
    flip(m_main.tab(0)->findChild<ShapeButton *>(QStringLiteral("ScrollBtn")));
    m_daytime->setFocus();
    if (m_searchText.isEmpty()) {
        m_searchText = dialogs().input(QStringLiteral("CASE SENSITIVE Search"),
                                       QStringLiteral("Enter Text to find"), QString())
                           .value_or(QString());
    }
    // the event loop runs between the steps; a second click waits for this one to end
    m_highlighting = true;
    WaitCursor wait;
    const QString text = m_searchText;
    for (int at : DiarySearch::occurrences(m_daytime->toPlainText(), text)) {
        QTextCursor c = m_daytime->textCursor();
        c.setPosition(at);
        c.setPosition(at + int(text.size()), QTextCursor::KeepAnchor);
        m_daytime->setTextCursor(c);
        clock().wait(1000);
    }
    clock().wait(1000);
    m_highlighting = false;
}

// --- to-do list ----------------------------------------------------------------------------

void DiaryPage::loadToDo()
{
    m_toDo->clear();
    m_toDo->setPlainText(ToDoFile::load(m_main.values().toDoFile));
}

void DiaryPage::saveToDo()
{
    ToDoFile::save(m_main.values().toDoFile, m_toDo->toPlainText());
}

bool DiaryPage::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type t = event->type();
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
    } else if (t == QEvent::FocusOut) {
        if (watched == m_toDo)
            saveToDo();
        else if (watched == m_daytime)
            postBoth();
    } else if (t == QEvent::Hide && watched == m_main.tab(0)) {
        postBoth();
    } else if (t == QEvent::Show && watched == m_main.tab(0)) {
        m_daytime->setFocus();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Brelvan
