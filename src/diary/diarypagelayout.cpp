// The Diary page's controls: built in code, named, captioned and hinted, then coloured.
#include "diary/diarypage.h"

#include "data/formats.h"
#include "data/ui/mainaccess.h"
#include "diary/clipboardmenu.h"
#include "diary/diarytext.h"
#include "platform/desktop/clock.h"
#include "platform/widgets/analogclock.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flashinglabel.h"
#include "platform/widgets/gradientpanel.h"
#include "platform/widgets/hint.h"
#include "platform/widgets/recordnavigator.h"
#include "platform/widgets/shapebutton.h"
#include "data/appsettings.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace Brelvan {

using namespace DiaryText;

namespace {

void setBase(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
}

} // namespace

// --- layout ------------------------------------------------------------------------------

ShapeButton *DiaryPage::addButton(QWidget *parent, const char *name, const QString &caption,
                                  const QString &hint)
{
    auto *b = new ShapeButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    setHint(b, hint);
    b->setGradient(ShapeButton::silver(), ShapeButton::grey());
    m_buttons << b;
    m_buttonByName.insert(b->objectName(), b);
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
    m_calHead->setCaption(QStringLiteral("Todays Date ")
                          + clock().today().toString(headingFormat));
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
    g->addWidget(m_calendar, 0, 0, 6, 1);
    m_clock = new AnalogClock(m_teal);
    m_clock->setObjectName(QStringLiteral("Clock"));
    g->addWidget(m_clock, 0, 1, 1, 2);

    struct Nav { const char *name; const char *caption; const char *hint; int row, col; };
    static const Nav navs[] = {
        {"NowBtn", "Today", "Return to Today", 1, 1},
        {"Next2WeekBtn", "+2 Wk", "Next Week (from current Calendar date)", 2, 2},
        {"NextWeekBtn", "Week ", "Next Week (from current Calendar date)", 3, 2},
        {"PrevWeekBtn", "Week", "Prior Week (from current Calendar date)", 3, 1},
        {"Prev2WeekBtn", "-2Wk", "Prior Week (from current Calendar date)", 2, 1},
        {"NextMonthBtn", "Month", "Next Month (from current Calendar date)", 4, 2},
        {"PrevMonthBtn", "Month", "Prior Month (from current Calendar date)", 4, 1},
        {"NextYrBtn", "Year ", "Next Year (from current Calendar date)", 5, 2},
        {"PrevYrBtn", " Year", "Prior Year (from current Calendar date)", 5, 1},
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
    f.setPointSize(11);
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
    addButton(m_dayHeadPanel, "PriorBtn", QStringLiteral("\u25C4"),
              QStringLiteral("Search for prior entry."));
    addButton(m_dayHeadPanel, "RevScanBtn", QStringLiteral("\u25C4\u25C4"),
              QStringLiteral("Scan BACKWARDS from current calendar date for some text."));
    addButton(m_dayHeadPanel, "SearchBtn", QStringLiteral("Search"),
              QStringLiteral("Search from beginning of Diary for some text."));
    addButton(m_dayHeadPanel, "ScanBtn", QStringLiteral("\u25BA\u25BA"),
              QStringLiteral("Scan from current calendar date for some text."));
    addButton(m_dayHeadPanel, "NextBtn", QStringLiteral("\u25BA"),
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
        "Pix"};
    for (const char *name : others)
        menu->attach(m_main.window()->findChild<QWidget *>(QString::fromLatin1(name)));
    // and every record grid, so a right click on any cell works the same way
    for (DataGrid *grid : m_main.window()->findChildren<DataGrid *>()) {
        if (grid != m_grid)
            menu->attach(grid);
    }
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
    button("MateBtn")
        ->setHighlighted(true, grad(2), grad(1));
}

} // namespace Brelvan
