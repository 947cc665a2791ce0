#include "data/ui/recordpage.h"

#include "data/datasession.h"
#include "data/formats.h"
#include "data/ui/mainaccess.h"
#include "data/ui/mainevents.h"
#include "platform/desktop/clock.h"
#include "platform/desktop/dialogs.h"
#include "platform/table/dataset.h"
#include "platform/table/query.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flashinglabel.h"
#include "platform/widgets/gradientpanel.h"
#include "platform/widgets/hint.h"
#include "platform/widgets/notesmemo.h"
#include "platform/widgets/recordnavigator.h"
#include "platform/widgets/shapebutton.h"
#include "data/appsettings.h"
#include "data/guard.h"

#include <QApplication>
#include <QTimer>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace Brelvan {

using Table::Dataset;

namespace {

const QString deleteWarning = QStringLiteral(
    "Do NOT completley empty databases (Grids) - the software expects to find a data "
    "record.\r\n\r\nAdd new records first.\r\n\r\nCompletely emptying the database may cause "
    "the program to malfunction !");

const QColor lime(0x00, 0xFF, 0x00);
const QColor red(0xFF, 0x00, 0x00);
// the cells of the summary and tax columns stand out from the amounts beside them
const QColor tintColour(0xC0, 0xDC, 0xC0);

RecordNavigator::Buttons navigatorButtons(const QStringList &names)
{
    static const QHash<QString, RecordNavigator::Button> byName = {
        {QStringLiteral("first"), RecordNavigator::First},
        {QStringLiteral("prior"), RecordNavigator::Prior},
        {QStringLiteral("next"), RecordNavigator::Next},
        {QStringLiteral("last"), RecordNavigator::Last},
        {QStringLiteral("insert"), RecordNavigator::Insert},
        {QStringLiteral("delete"), RecordNavigator::Delete},
        {QStringLiteral("edit"), RecordNavigator::Edit},
        {QStringLiteral("post"), RecordNavigator::Post},
        {QStringLiteral("cancel"), RecordNavigator::Cancel},
        {QStringLiteral("refresh"), RecordNavigator::Refresh},
    };
    if (names.isEmpty())
        return RecordNavigator::First | RecordNavigator::Last | RecordNavigator::Insert
               | RecordNavigator::Delete | RecordNavigator::Post | RecordNavigator::Cancel
               | RecordNavigator::Refresh;
    RecordNavigator::Buttons b;
    for (const QString &n : names)
        b |= byName.value(n.toLower(), RecordNavigator::Button(0));
    return b;
}

void setCheckColour(QCheckBox *box, const QColor &c)
{
    box->setStyleSheet(QStringLiteral("QCheckBox { background: %1; padding: 1px 4px; }")
                           .arg(c.name()));
}

// Draws the text of some columns in their own colour (the grey stamps, the navy tax).
class TextColourDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QHash<int, QColor> colours;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const auto it = colours.constFind(index.column());
        if (it != colours.constEnd())
            option->palette.setColor(QPalette::Text, *it);
    }
};

// What a filter typed for a number field is: a number, the keys on the way to one, or
// neither. Only a number ever reaches the query.
enum class NumberFilter { Number, Typing, NotANumber };

NumberFilter numberFilter(const QString &text)
{
    static const QRegularExpression typing(QStringLiteral("^-?\\.?$"));
    static const QRegularExpression number(QStringLiteral("^-?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (typing.match(text).hasMatch())
        return NumberFilter::Typing;
    return number.match(text).hasMatch() ? NumberFilter::Number : NumberFilter::NotANumber;
}

// The number as the query dialect writes it: a leading point gets its zero.
QString numberLiteral(QString text)
{
    const int point = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.mid(point, 1) == QLatin1String("."))
        text.insert(point, QLatin1Char('0'));
    return text;
}

bool dateEmpty(const Dataset &ds, const QString &field, bool byText)
{
    if (byText)
        return ds.text(field).isEmpty();
    // an empty date counts as day 0, "below 1"
    return !ds.date(field).isValid();
}

} // namespace

// --- walk guard ---------------------------------------------------------------------------

RecordPage::WalkGuard::WalkGuard(RecordPage &page, bool hourglass, bool postEdit)
    : m_page(page), m_hourglass(hourglass)
{
    Dataset &ds = page.dataset();
    if (!ds.isOpen())
        ds.open(); // nothing is changed yet when this throws
    if (m_hourglass)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    ds.disableControls();
    try {
        if (postEdit)
            ds.postIfEditing();
    } catch (...) {
        // a constructor that throws runs no destructor: give everything back here
        restore();
        throw;
    }
}

RecordPage::WalkGuard::~WalkGuard()
{
    restore();
}

void RecordPage::WalkGuard::restore()
{
    m_page.dataset().enableControls();
    if (m_page.grid())
        m_page.grid()->setFocus();
    if (m_hourglass)
        QApplication::restoreOverrideCursor();
}

// --- construction -------------------------------------------------------------------------

RecordPage::RecordPage(MainAccess &main, const PageSpec &spec)
    : QObject(main.tab(spec.id)), m_main(main), m_spec(spec)
{
    setObjectName(spec.page + QStringLiteral("Page"));
    m_tab = main.tab(spec.id);
    m_ds = main.session().dataset(spec.dataset);
    build();
    wire();

    connect(&main.events(), &MainEvents::shown, this, [this] {
        // the settings are read after the pages are made: titles and colours now
        applyColumnTitles();
        applyColours();
        offerWorkingChooserItems();
        // a dataset the session could not open (no tables there) is left for the user to
        // point the program at a data folder; the session has said so already
        if (m_ds->isOpen())
            startUp();
    });
}

RecordPage::~RecordPage() = default;

bool RecordPage::selects(const QString &item) const
{
    for (const ChooserField &c : m_spec.chooserFields) {
        if (c.item == item)
            return true;
    }
    return false;
}

void RecordPage::offerWorkingChooserItems()
{
    // an item whose selection is not built is shown greyed and cannot be chosen, rather
    // than quietly showing every record
    auto *model = qobject_cast<QStandardItemModel *>(m_sel->model());
    if (!model)
        return;
    for (int i = 2; i < model->rowCount(); ++i)
        model->item(i)->setEnabled(selects(model->item(i)->text()));
}

void RecordPage::connectTool(QAbstractButton *button, std::function<void()> handler)
{
    connect(button, &QAbstractButton::clicked, this, guardedSlot(std::move(handler)));
    button->setEnabled(true);
}

ShapeButton *RecordPage::addButton(QBoxLayout *layout, const QString &name,
                                   const QString &caption, const QString &hint,
                                   bool highlighted)
{
    auto *b = new ShapeButton(caption);
    b->setObjectName(name);
    if (highlighted) {
        m_highlighted << b;
        b->setCaptionColor(Qt::white);
        b->setGradient(settingColor(QStringLiteral("Grad2Str")),
                       settingColor(QStringLiteral("Grad1Str")));
    } else {
        b->setGradient(ShapeButton::silver(), ShapeButton::grey());
    }
    if (!hint.isEmpty())
        setHint(b, hint);
    // a crowded strip squeezes its choosers and the buttons' padding, never a caption
    b->setMinimumWidth(b->sizeHint().width() - 8);
    b->setEnabled(false);
    layout->addWidget(b);
    return b;
}

QLineEdit *RecordPage::addRecordEdit(QBoxLayout *layout, const QString &name,
                                     const QString &field, int width)
{
    auto *e = new QLineEdit;
    e->setObjectName(name);
    e->setFixedWidth(width);
    layout->addWidget(e);
    auto load = [this, e, field] {
        if (m_ds->controlsDisabled())
            return; // a walk: shown again when it ends
        QString t;
        if (m_ds->isOpen() && m_ds->fieldIndex(field) >= 0 && !m_ds->isEmpty()) {
            const QVariant v = m_ds->value(field);
            t = v.typeId() == QMetaType::QDate ? shortDate(v.toDate()) : v.toString();
        }
        if (!e->hasFocus() || !e->isModified())
            e->setText(t);
        e->setModified(false);
    };
    for (auto sig : {&Dataset::opened, &Dataset::rowsReset, &Dataset::controlsEnabled})
        connect(m_ds, sig, e, load);
    connect(m_ds, &Dataset::currentChanged, e, load);
    connect(m_ds, &Dataset::rowChanged, e, load);
    connect(e, &QLineEdit::editingFinished, this, [this, e, field] {
        if (!e->isModified() || !m_ds->isOpen())
            return;
        e->setModified(false);
        if (!m_ds->isEditing())
            m_ds->edit();
        const QString t = e->text();
        const int f = m_ds->fieldIndex(field);
        QVariant v;
        if (!t.isEmpty()) {
            const QDate d = QDate::fromString(t, shortDateFormat());
            v = m_ds->fieldDef(f).type == Table::FieldType::Date && d.isValid() ? QVariant(d)
                                                                                 : QVariant(t);
        }
        m_ds->setValue(f, v);
    });
    return e;
}

QColor RecordPage::settingColor(const QString &key) const
{
    return m_main.settings().color(key);
}

void RecordPage::flip(ShapeButton *button) const
{
    if (button)
        button->flipHighlight(settingColor(QStringLiteral("Grad2Str")),
                              settingColor(QStringLiteral("Grad1Str")));
}

void RecordPage::build()
{
    auto *v = new QVBoxLayout(m_tab);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->addWidget(buildHead());
    v->addWidget(buildSubHead());
    v->addWidget(buildBody(), 1);
    if (!m_spec.footer.isEmpty()) {
        m_footer = new GradientPanel;
        m_footer->setObjectName(m_spec.footer);
        m_footer->setMinimumHeight(28);
        m_footTools = new QHBoxLayout(m_footer);
        m_footTools->setContentsMargins(4, 2, 4, 2);
        m_footTools->setSpacing(6);
        v->addWidget(m_footer);
    }
    applyColours();
}

QWidget *RecordPage::buildHead()
{
    m_head = new GradientPanel;
    m_head->setObjectName(m_spec.headPanel);
    // a strip wider than the window is cut at the right rather than widening the window
    m_head->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto *h = new QHBoxLayout(m_head);
    h->setContentsMargins(4, 3, 4, 3);
    h->setSpacing(4);

    m_sel = new QComboBox;
    m_sel->setObjectName(m_spec.fieldChooser);
    m_sel->addItems(QStringList{QStringLiteral("All"), QStringLiteral("Tag")}
                    + m_spec.chooserItems);
    m_sel->setMaxVisibleItems(30);
    m_sel->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setHint(m_sel, QStringLiteral("Field to search   ie Which column to look in."));
    h->addWidget(m_sel);

    m_filter = new QLineEdit(QStringLiteral("y"));
    m_filter->setObjectName(m_spec.filterEdit);
    m_filter->setFixedWidth(96);
    setHint(m_filter, QStringLiteral("Records (grid rows) to show - What to look for. - PASTE "
                                     "a copy here. (Right Click)"));
    h->addWidget(m_filter);

    m_combo = new QComboBox;
    m_combo->setObjectName(m_spec.sortChooser);
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    int longest = m_combo->fontMetrics().horizontalAdvance(m_spec.defaultOrderBy);
    for (const SortItem &item : m_spec.sortItems) {
        const QString list = item.orderBy.isEmpty() ? item.caption : item.orderBy;
        m_combo->addItem(item.caption, list);
        longest = qMax(longest, m_combo->fontMetrics().horizontalAdvance(list));
    }
    // wide enough for the longest order list, which is what the box shows, where the strip
    // has the room; a crowded strip narrows it before any caption is cut
    m_combo->setMinimumWidth(160);
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_combo->setMaximumWidth(qBound(160, longest + 36, 340));
    m_combo->setCurrentIndex(m_spec.startSortItem);
    if (m_spec.startSortItem < 0 || !m_spec.startSortText.isEmpty())
        m_combo->setEditText(m_spec.startSortText.isEmpty() ? m_spec.defaultOrderBy
                                                            : m_spec.startSortText);
    else
        showSortList();
    if (!m_spec.sortTyped)
        m_combo->lineEdit()->setReadOnly(true);
    setHint(m_combo, QStringLiteral("Grid / Printed Reports Sort Order."));
    h->addWidget(m_combo);

    if (!m_spec.toggle.isEmpty()) {
        m_toggle = new QCheckBox(QStringLiteral("Toggle"));
        m_toggle->setObjectName(m_spec.toggle);
        setCheckColour(m_toggle, lime);
        setHint(m_toggle, QStringLiteral("No Tick (Lime) = All Records,  Ticked (Red) = show "
                                         "filtered result only. "));
        h->addWidget(m_toggle);
    }

    m_flash = new FlashingLabel(QStringLiteral("Edits Disabled"));
    m_flash->setObjectName(m_spec.flashLabel);
    m_flash->setFlashColors(red, Qt::white);
    m_flash->setShownTime(500);
    m_flash->setHiddenTime(500);
    QFont f = m_flash->font();
    f.setBold(true);
    m_flash->setFont(f);
    setHint(m_flash, QStringLiteral("Flashing :=  Edits will NOT be saved."));
    m_flash->hide();
    h->addWidget(m_flash);

    m_nav = new RecordNavigator(navigatorButtons(m_spec.navigatorButtons));
    m_nav->setObjectName(m_spec.navigator.isEmpty() ? m_spec.page + QStringLiteral("Navigator")
                                                    : m_spec.navigator);
    m_nav->setDataset(m_ds);
    h->addWidget(m_nav);

    m_headTools = new QHBoxLayout;
    m_headTools->setSpacing(4);
    h->addLayout(m_headTools);
    h->addStretch(1);
    return m_head;
}

QWidget *RecordPage::buildSubHead()
{
    m_subHead = new GradientPanel;
    m_subHead->setObjectName(m_spec.subHeadPanel);
    m_subHead->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto *h = new QHBoxLayout(m_subHead);
    h->setContentsMargins(4, 3, 4, 3);
    h->setSpacing(4);
    if (!m_spec.tagAllButton.isEmpty())
        m_tagAllBtn = addButton(h, m_spec.tagAllButton, QStringLiteral("Tag All"),
                                QStringLiteral("Tag all records shown in the grid."));
    if (!m_spec.clearTagsButton.isEmpty())
        m_clearBtn = addButton(h, m_spec.clearTagsButton, QStringLiteral("Clear Tags"),
                               QStringLiteral("Clear the tags of the records shown."));
    if (!m_spec.reverseTagsButton.isEmpty())
        m_reverseBtn = addButton(h, m_spec.reverseTagsButton, QStringLiteral("Reverse"),
                                 QStringLiteral("Reverse the tags of all records."));
    if (!m_spec.allButton.isEmpty())
        m_allBtn = addButton(h, m_spec.allButton, QStringLiteral("All"),
                             QStringLiteral("Show all records."), true);
    if (!m_spec.sumButton.isEmpty())
        m_sumBtn = addButton(h, m_spec.sumButton, QStringLiteral("Sum"),
                             QStringLiteral("Click if Red to recalculate Totals."), true);
    m_subTools = new QHBoxLayout;
    m_subTools->setSpacing(4);
    h->addLayout(m_subTools);
    h->addStretch(1);
    return m_subHead;
}

QWidget *RecordPage::buildBody()
{
    auto *split = new QSplitter(Qt::Horizontal);
    split->setObjectName(m_spec.page + QStringLiteral("Body"));
    m_grid = new DataGrid;
    m_grid->setObjectName(m_spec.grid);
    if (!m_spec.gridHint.isEmpty())
        setHint(m_grid, m_spec.gridHint);
    m_grid->setDataset(m_ds);
    applyColumnTitles();
    split->addWidget(m_grid);

    auto *side = new QWidget;
    m_side = new QVBoxLayout(side);
    m_side->setContentsMargins(0, 0, 0, 0);
    m_side->setSpacing(2);
    if (!m_spec.notesMemo.isEmpty()) {
        m_notes = new NotesMemo;
        m_notes->setObjectName(m_spec.notesMemo);
        m_notes->setDataset(m_ds, m_spec.notesField);
        m_notes->setReadOnly(m_spec.notesReadOnly);
        if (!m_spec.notesHint.isEmpty())
            setHint(m_notes, m_spec.notesHint);
        m_side->addWidget(m_notes, 1);
    }
    split->addWidget(side);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    split->setSizes({780, 240});
    if (m_spec.notesMemo.isEmpty())
        side->hide();
    return split;
}

void RecordPage::applyColumnTitles()
{
    AppSettings &s = m_main.settings();
    QList<GridColumn> cols;
    for (const ColumnSpec &c : m_spec.columns) {
        GridColumn g;
        g.field = c.field;
        g.title = c.titleSetting.isEmpty() ? c.title : s.value(c.titleSetting);
        // a title setting left empty keeps the column untitled, not named by its field
        if (!c.titleSetting.isEmpty() && g.title.isEmpty())
            g.title = QStringLiteral(" ");
        g.readOnly = c.readOnly;
        g.width = c.width;
        if (c.centred)
            g.alignment = Qt::AlignHCenter;
        if (c.tint == ColumnSpec::Tint::Tinted)
            g.tint = tintColour;
        cols << g;
    }
    m_grid->setColumns(cols);
    // grey and navy text columns
    auto *delegate = new TextColourDelegate(m_grid);
    for (int i = 0; i < m_spec.columns.size(); ++i) {
        const auto t = m_spec.columns.at(i).tint;
        if (t == ColumnSpec::Tint::Grey)
            delegate->colours.insert(i, QColor(0x80, 0x80, 0x80));
        else if (t == ColumnSpec::Tint::Navy || m_spec.columns.at(i).navyText)
            delegate->colours.insert(i, QColor(0, 0, 0x80));
    }
    QAbstractItemDelegate *old = m_grid->itemDelegate();
    m_grid->setItemDelegate(delegate);
    if (old && old->parent() == m_grid)
        old->deleteLater();
}

void RecordPage::applyColours()
{
    const QColor g1 = settingColor(QStringLiteral("Grad1Str"));
    const QColor g2 = settingColor(QStringLiteral("Grad2Str"));
    const QColor g3 = settingColor(QStringLiteral("Grad3Str"));
    for (GradientPanel *p : {m_head, m_subHead, m_footer}) {
        if (p)
            p->setGradient(g1, g2);
    }
    m_grid->setBackgroundColor(g3);
    m_grid->setAlternateColor(settingColor(QStringLiteral("Grad4Str")));
    if (m_notes)
        m_notes->setBackgroundColor(g3);
    for (ShapeButton *b : std::as_const(m_highlighted))
        b->setGradient(g2, g1);
}

void RecordPage::wire()
{
    connect(m_sel, &QComboBox::activated, this, guardedSlot([this] { applySelection(); }));
    connect(m_combo, &QComboBox::activated, this, guardedSlot([this] { applySelection(); }));
    if (m_spec.sortTyped)
        connect(m_combo->lineEdit(), &QLineEdit::textEdited, this,
                guardedSlot([this] { applySelection(); }));
    if (m_spec.filterTextApplies)
        connect(m_filter, &QLineEdit::textChanged, this,
                guardedSlot([this] { applySelection(); }));
    if (m_toggle)
        connect(m_toggle, &QCheckBox::toggled, this,
                guardedSlot([this](bool on) { toggleChanged(on); }));

    if (m_tagAllBtn)
        connectTool(m_tagAllBtn, [this] { tagAll(); });
    if (m_clearBtn)
        connectTool(m_clearBtn, [this] {
            if (m_spec.clearFlips)
                flip(m_clearBtn);
            clearTags();
        });
    if (m_reverseBtn)
        connectTool(m_reverseBtn, [this] {
            if (m_spec.reverseFlips)
                flip(m_reverseBtn);
            reverseTags();
        });
    if (m_allBtn)
        connectTool(m_allBtn, [this] { showAll(); });
    // the Sum button stays disabled until its page gives it the totals (connectTool)

    if (m_spec.titleSort)
        connect(m_grid, &DataGrid::titleClicked, this, guardedSlot([this] { titleSort(); }));
    connect(m_grid, &DataGrid::columnEntered, this,
            guardedSlot([this](int column) { columnEntered(column); }));
    if (!m_spec.enterMoves)
        m_grid->setEnterHandler([](bool) {}); // the grid keeps the cursor where it is
    else
        m_grid->setEnterHandler([this](bool shift) { m_grid->moveByEnter(shift); });

    connect(m_grid, &DataGrid::focusLeft, this, &RecordPage::postOnLeave);
    if (m_notes) {
        connect(m_notes, &NotesMemo::focusLeft, this, &RecordPage::postOnLeave);
        if (m_spec.notesStamp)
            connect(m_notes, &NotesMemo::doubleClicked, this,
                    guardedSlot([this] { stampNote(); }));
    }
    // leaving the page: the focus goes from a control on it to one elsewhere
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (old && m_tab->isAncestorOf(old) && !(now && m_tab->isAncestorOf(now)))
            postOnLeave();
    });

    m_ds->setBeforeDelete([](Dataset &ds) {
        if (ds.recordCount() == 2)
            dialogs().warning(deleteWarning);
    });
    connect(m_ds, &Dataset::opened, this, &RecordPage::updateEditsDisabled);
    connect(m_ds, &Dataset::closed, this, &RecordPage::updateEditsDisabled);
    if (m_spec.gridFocusOnShow)
        m_tab->installEventFilter(this);
}

bool RecordPage::eventFilter(QObject *watched, QEvent *event)
{
    // once the tab has settled, so the tab bar's own focus handling does not take it back
    if (watched == m_tab && event->type() == QEvent::Show)
        QTimer::singleShot(0, m_grid, [grid = m_grid] { grid->setFocus(); });
    return QObject::eventFilter(watched, event);
}

void RecordPage::startUp()
{
    setChooserItem(0);
    applySelection();
    if (m_spec.startAtLast && m_ds->isOpen())
        m_ds->last();
}

// --- selection ----------------------------------------------------------------------------

QString RecordPage::sortOrder() const
{
    return m_combo->currentText();
}

void RecordPage::showSortList()
{
    const int i = m_combo->currentIndex();
    QString list = i >= 0 ? m_combo->itemData(i).toString() : m_spec.defaultOrderBy;
    if (i < 0 && list.isEmpty())
        list = m_combo->currentText();
    if (m_combo->currentText() != list)
        m_combo->setEditText(list);
}

void RecordPage::setChooserItem(int index)
{
    const QSignalBlocker block(m_sel);
    m_sel->setCurrentIndex(index);
}

void RecordPage::setChooserItem(const QString &item)
{
    setChooserItem(m_sel->findText(item));
}

void RecordPage::requery(const QStringList &sql)
{
    // closing the query would drop a record being typed: it is saved first, and when it is
    // refused the query stays open on it
    m_ds->postPending();
    m_ds->close();
    m_ds->setSql(sql);
    m_ds->open();
    updateEditsDisabled();
}

void RecordPage::updateEditsDisabled()
{
    const bool off = !m_ds->isLive();
    m_flash->setFlashing(off);
    m_flash->setVisible(off);
}

void RecordPage::setAllCaptionRed(bool redCaption)
{
    if (m_allBtn)
        m_allBtn->setCaptionColor(redCaption ? red : QColor(Qt::white));
}

QString RecordPage::selectedField(bool *number, int *column) const
{
    *number = false;
    *column = -1;
    const QString item = m_sel->currentText();
    if (m_sel->currentIndex() == 1)
        return QStringLiteral("Tag");
    for (const ChooserField &c : m_spec.chooserFields) {
        if (c.item == item) {
            *number = c.number;
            *column = c.column;
            return c.field;
        }
    }
    return {};
}

void RecordPage::selectAll()
{
    m_filter->setText(QStringLiteral("y"));
    requery({QStringLiteral("SELECT * FROM ") + m_spec.table,
             QStringLiteral("ORDER by ") + sortOrder()});
    m_grid->setCurrentVisualColumn(0);
    if (m_toggle && m_spec.allUnticksToggle)
        m_toggle->setChecked(false);
    setAllCaptionRed(false);
}

void RecordPage::applySelection()
{
    m_ds->postIfEditing();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Restore
    {
        ~Restore() { QApplication::restoreOverrideCursor(); }
    } restore;

    if (m_filter->text().isEmpty())
        m_filter->setText(QStringLiteral("y"));
    const QString filter = m_filter->text();
    showSortList();
    bool number = false;
    int column = -1;
    const QString field = m_sel->currentIndex() > 0 ? selectedField(&number, &column) : QString();
    if (number) {
        const QChar first = filter.at(0);
        if (first != QLatin1Char('-') && first != QLatin1Char('.') && !first.isDigit()) {
            m_filter->setText(QStringLiteral("1")); // applies the selection again
            return;
        }
        // the shown records stay as they are until the text is a number
        switch (numberFilter(filter.trimmed())) {
        case NumberFilter::Typing:
            return;
        case NumberFilter::NotANumber:
            dialogs().warning(QStringLiteral("\"%1\" is not a number.\r\n\r\n%2 holds numbers: "
                                             "type one, such as 120 or -12.50, to show the "
                                             "records holding it.")
                                  .arg(filter, m_sel->currentText()));
            return;
        case NumberFilter::Number:
            break;
        }
    }
    if (m_sel->currentIndex() > 0 && m_toggle)
        m_toggle->setChecked(true);

    if (field.isEmpty()) {
        selectAll();
    } else if (number) {
        requery({QStringLiteral("SELECT * FROM ") + m_spec.table + QStringLiteral(" WHERE ")
                     + field + QStringLiteral(" = "),
                 numberLiteral(filter.trimmed()), QStringLiteral("ORDER by ") + sortOrder()});
        m_filter->setFocus();
        if (column >= 0)
            m_grid->setCurrentVisualColumn(column);
        setAllCaptionRed(true);
    } else {
        requery({QStringLiteral("SELECT * FROM ") + m_spec.table + QStringLiteral(" WHERE ")
                     + field + QStringLiteral(" LIKE ") + Table::containsPattern(filter),
                 QStringLiteral("ORDER by ") + sortOrder()});
        m_filter->setFocus();
        setAllCaptionRed(true);
    }
    updateEditsDisabled();
    afterSelection();
}

void RecordPage::showAll()
{
    setChooserItem(0);
    applySelection();
}

// --- the tag tools ------------------------------------------------------------------------

void RecordPage::walkRecords(const QString &label, const std::function<void()> &step)
{
    Dataset &ds = *m_ds;
    const int n = ds.rowCount();
    std::unique_ptr<QProgressDialog> progress;
    if (n > progressThreshold()) {
        progress = std::make_unique<QProgressDialog>(label, QString(), 0, n, m_main.window());
        progress->setObjectName(QStringLiteral("WalkProgress"));
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
        progress->setCancelButton(nullptr);
        progress->setValue(0);
    }
    try {
        Dataset::Walk walk(ds);
        ds.first();
        int done = 0;
        QElapsedTimer shown;
        shown.start();
        while (!ds.eof() && !ds.isEmpty()) {
            step();
            ++done;
            // a few updates a second: each one runs the event loop and repaints
            if (progress && shown.elapsed() >= 150) {
                progress->setValue(done);
                shown.restart();
            }
            if (ds.row() >= ds.rowCount() - 1)
                break;
            ds.next();
        }
        walk.commit();
    } catch (...) {
        showStoredAfterFailedWalk();
        throw;
    }
    if (progress)
        progress->setValue(n);
}

void RecordPage::showStoredAfterFailedWalk()
{
    // The walk kept some posts, or lost them all with the connection: either way the grid
    // shows the records as the tables now hold them, or nothing when they cannot be read.
    try {
        if (m_ds->isEditing())
            m_ds->cancel();
        m_ds->refresh();
    } catch (const std::exception &) {
        m_ds->close();
    }
}

void RecordPage::tagAll()
{
    {
        WalkGuard guard(*this, m_spec.tagAllHourglass);
        walkRecords(QStringLiteral("Tagging records ..."), [this] {
            m_ds->edit();
            m_ds->setValue(QStringLiteral("Tag"), QStringLiteral("y"));
            m_ds->post();
        });
        m_ds->first();
        setChooserItem(1);
    }
    switch (m_spec.afterTagAll) {
    case PageSpec::AfterTagAll::ApplySelection:
        applySelection();
        break;
    case PageSpec::AfterTagAll::AllCaptionRed:
        setAllCaptionRed(true);
        break;
    case PageSpec::AfterTagAll::Nothing:
        break;
    }
}

void RecordPage::clearTags()
{
    WalkGuard guard(*this);
    walkRecords(QStringLiteral("Clearing tags ..."), [this] {
        if (m_ds->text(QStringLiteral("Tag")).isEmpty())
            return;
        m_ds->edit();
        m_ds->setValue(QStringLiteral("Tag"), QVariant());
        m_ds->post();
    });
    if (m_spec.clearGoesToLast)
        m_ds->last();
    else
        m_ds->first();
}

void RecordPage::showAllForReverse()
{
    if (m_allBtn) {
        showAll();
        return;
    }
    setChooserItem(0);
    applySelection();
}

void RecordPage::reverseTags()
{
    if (m_spec.reverseShowsAllBeforePost)
        showAllForReverse();
    auto showTagged = [this] {
        setChooserItem(1);
        applySelection();
    };
    try {
        WalkGuard guard(*this);
        if (!m_spec.reverseShowsAllBeforePost)
            showAllForReverse();
        walkRecords(QStringLiteral("Reversing tags ..."), [this] {
            const bool tagged = !m_ds->text(QStringLiteral("Tag")).isEmpty();
            m_ds->edit();
            m_ds->setValue(QStringLiteral("Tag"),
                           tagged ? QVariant() : QVariant(QStringLiteral("y")));
            m_ds->post();
        });
    } catch (...) {
        showTagged();
        if (!m_sumBtn && m_ds->isOpen())
            m_ds->first();
        m_grid->setFocus();
        throw;
    }
    showTagged();
    if (m_sumBtn)
        sum();
    else if (m_ds->isOpen())
        m_ds->first();
}

void RecordPage::titleSort()
{
    // the cursor's column, not the title clicked
    const QString field = m_grid->currentFieldName();
    // a record being typed is saved before the query closes, rather than lost with it
    m_ds->postPending();
    m_ds->close();
    dialogs().information(QStringLiteral("Only records with Tag = y will be sorted and shown."));
    m_ds->setSql({QStringLiteral("SELECT * FROM ") + m_spec.table
                      + QStringLiteral(" WHERE Tag LIKE \"y\""),
                  QStringLiteral("Order by ") + field});
    m_ds->open();
    m_ds->last();
    if (m_allBtn)
        setAllCaptionRed(false);
    updateEditsDisabled();
}

void RecordPage::toggleChanged(bool ticked)
{
    m_ds->postIfEditing();
    if (ticked) {
        setCheckColour(m_toggle, red);
        applySelection();
        return;
    }
    setCheckColour(m_toggle, lime);
    // every record again, in the order the sort chooser shows
    requery({QStringLiteral("SELECT * FROM ") + m_spec.table,
             QStringLiteral("ORDER by ") + sortOrder()});
    if (m_sumBtn)
        sum();
}

// --- grid, memo and leaving ---------------------------------------------------------------

void RecordPage::columnEntered(int visualColumn)
{
    for (const auto &d : m_spec.dateDefaults) {
        if (d.first != visualColumn)
            continue;
        if (!m_ds->isOpen() || (m_ds->isEmpty() && !m_ds->isEditing()))
            return;
        if (!dateEmpty(*m_ds, d.second, m_spec.dateDefaultWhenTextEmpty))
            return;
        if (!m_ds->isEditing())
            m_ds->edit();
        m_ds->setValue(d.second, clock().today());
        return;
    }
}

void RecordPage::stampNote()
{
    if (!m_ds->isOpen())
        m_ds->open();
    if (!m_ds->isEditing())
        m_ds->edit();
    m_notes->appendLine(noteStamp(clock().now()));
    m_ds->post();
}

void RecordPage::postOnLeave()
{
    // run by focus changes, outside any caller: a refused post is told and logged here, and
    // the record stays in edit with what was typed
    guarded([this] {
        if (!m_ds->isOpen())
            return;
        if (m_ds->state() == Dataset::State::Edit)
            m_ds->post();
        else if (m_spec.postInsertOnLeave && m_ds->state() == Dataset::State::Insert
                 && m_ds->isModified())
            m_ds->post();
    });
}

} // namespace Brelvan
