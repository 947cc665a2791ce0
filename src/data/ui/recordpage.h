#pragma once

// The record-page base: what every record page (Clients, Paint, Quotes, Jobs, Expenses,
// Income, Inventory, Wages) does alike, built once from a PageSpec.
//
// How a page uses it:
//   class ExpensesPage : public RecordPage {
//   public:
//       explicit ExpensesPage(MainAccess &main) : RecordPage(main, expensesPageSpec()) { ... }
//   };
//   - The constructor fills main.tab(spec.id): the head strip (field chooser with
//     "All", "Tag" and spec.chooserItems, filter edit "y", sort chooser, Toggle, the
//     "Edits Disabled" label, navigator), the sub-header strip with the tag tools named in
//     the page description, the grid with spec.columns, the notes memo and the footer
//     when named.
//   - Add the page's own controls with addButton(headTools() / subHeadTools(), ...), or
//     put widgets into sideLayout() (beside the memo) and footerPanel().
//   - Override applySelection() with the page's own selection; the base's runs "All",
//     "Tag" and spec.chooserFields, and the "All" case for anything else. Override sum()
//     for the Sum button, afterSelection() for the totals after every selection, and
//     showAllForReverse() where the show-all step of reverse tags differs (Clients).
//   - The tag tools, title sort, Toggle, date defaults, Enter movement, alternate rows,
//     note stamp, post on leaving, the before-delete warning and the "Edits Disabled"
//     label are wired by the base as the page description's switches say; call them
//     from code freely.
//   - Start-up (MainEvents::shown) runs startUp(): field chooser "All", applySelection(),
//     then the last record where spec.startAtLast. Override to add to it.
//   - Every walk over records opens a WalkGuard first: hourglass, grid redrawing
//     suspended, pending edit posted; focus, cursor and redrawing come back even when that
//     post, or a later one, throws.

#include "data/ui/pagespec.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <functional>

class QAbstractButton;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QProgressDialog;
class QVBoxLayout;
class QWidget;

namespace Brelvan::Table {
class Dataset;
}

namespace Brelvan {

class DataGrid;
class FlashingLabel;
class GradientPanel;
class MainAccess;
class NotesMemo;
class RecordNavigator;
class ShapeButton;

class RecordPage : public QObject
{
    Q_OBJECT

public:
    RecordPage(MainAccess &main, const PageSpec &spec);
    ~RecordPage() override;

    const PageSpec &spec() const { return m_spec; }
    MainAccess &main() const { return m_main; }
    Table::Dataset &dataset() const { return *m_ds; }

    // the controls the base built (null where the page description names none)
    QWidget *tabPage() const { return m_tab; }
    GradientPanel *headPanel() const { return m_head; }
    GradientPanel *subHeadPanel() const { return m_subHead; }
    GradientPanel *footerPanel() const { return m_footer; }
    QHBoxLayout *headTools() const { return m_headTools; }
    QHBoxLayout *subHeadTools() const { return m_subTools; }
    QHBoxLayout *footerTools() const { return m_footTools; }
    QVBoxLayout *sideLayout() const { return m_side; }
    DataGrid *grid() const { return m_grid; }
    QComboBox *fieldChooser() const { return m_sel; }
    QLineEdit *filterEdit() const { return m_filter; }
    QComboBox *sortChooser() const { return m_combo; }
    QCheckBox *toggle() const { return m_toggle; }
    FlashingLabel *flashLabel() const { return m_flash; }
    RecordNavigator *navigator() const { return m_nav; }
    NotesMemo *notesMemo() const { return m_notes; }
    ShapeButton *tagAllButton() const { return m_tagAllBtn; }
    ShapeButton *clearTagsButton() const { return m_clearBtn; }
    ShapeButton *reverseTagsButton() const { return m_reverseBtn; }
    ShapeButton *allButton() const { return m_allBtn; }
    ShapeButton *sumButton() const { return m_sumBtn; }

    // A shape button on a strip, with its name and hint: plain (silver to grey), or
    // highlighted (Grad2Str to Grad1Str, white caption) for the page's action buttons.
    // It starts disabled: connectTool gives it its handler and enables it, so a tool whose
    // behaviour is not built yet never looks as if it worked.
    ShapeButton *addButton(QBoxLayout *layout, const QString &name, const QString &caption,
                           const QString &hint = {}, bool highlighted = false);
    // Runs handler (guarded) on each click of button, and enables it.
    void connectTool(QAbstractButton *button, std::function<void()> handler);
    // An edit box bound to a field of the current record: it shows the field, and text
    // typed into it is written to the record (put into edit) when the box is left.
    QLineEdit *addRecordEdit(QBoxLayout *layout, const QString &name, const QString &field,
                             int width = 90);
    // The button highlight flip with this program's Grad2Str / Grad1Str.
    void flip(ShapeButton *button) const;
    QColor settingColor(const QString &key) const;

    // --- the selection -----------------------------------------------------------------
    // Runs on a change of the field chooser, the filter text or the sort chooser.
    virtual void applySelection();
    // The sort chooser's displayed text: the ORDER BY of the query and the reports.
    QString sortOrder() const;
    // Puts the chosen sort item's ORDER BY list (or the default) into the displayed text.
    void showSortList();
    // Sets the field chooser's item from code (its change handler does not run).
    void setChooserItem(int index);
    void setChooserItem(const QString &item);
    // The "All" case: filter "y", all records in the sort order, column 0, Toggle
    // unticked where the page does so, All caption white.
    void selectAll();
    // Replaces the query text and reopens it; the "Edits Disabled" label follows.
    void requery(const QStringList &sql);
    void updateEditsDisabled();
    void setAllCaptionRed(bool red);

    // --- the shared rules ----------------------------------------------------------------
    void tagAll();
    void clearTags();
    void reverseTags();
    // The title click: tagged records sorted by the field of the cursor's column.
    void titleSort();
    // The All button: field chooser "All" and the selection applied.
    void showAll();
    // The Toggle's click handler (runs whenever its tick changes).
    void toggleChanged(bool ticked);
    void columnEntered(int visualColumn);
    void stampNote();
    // A record being edited is posted (and on Clients one being inserted).
    void postOnLeave();
    // Sets the grid's columns again with their titles from the settings as they are now
    // (at start-up, and after the configuration window changed them).
    void applyColumnTitles();
    // The Sum button's click; nothing on pages without totals.
    virtual void sum() {}

    // The walks of more than this many records show a progress window.
    static int progressThreshold() { return 300; }

    // Hourglass, grid redrawing suspended and a pending edit posted for the length of a
    // walk; redrawing, focus and cursor restored however it ends.
    class WalkGuard
    {
    public:
        explicit WalkGuard(RecordPage &page, bool hourglass = true, bool postEdit = true);
        ~WalkGuard();
        WalkGuard(const WalkGuard &) = delete;
        WalkGuard &operator=(const WalkGuard &) = delete;

    private:
        void restore();

        RecordPage &m_page;
        bool m_hourglass;
    };

    // Runs step on each shown record, first to last (step edits and posts by itself), in
    // one transaction, with a progress window for long walks. A throw ends the walk and
    // keeps the posts before it.
    void walkRecords(const QString &label, const std::function<void()> &step);
    void showStoredAfterFailedWalk();
    void offerWorkingChooserItems();
    bool eventFilter(QObject *watched, QEvent *event) override;

protected:
    // After every selection (the totals of Expenses and Income).
    virtual void afterSelection() {}
    // The first step of reverse tags: every record of the table shown.
    virtual void showAllForReverse();
    virtual void startUp();
    // Whether choosing this field-chooser item (after "All" and "Tag") runs a selection of
    // its own; the others are not offered.
    virtual bool selects(const QString &item) const;

private:
    void build();
    QWidget *buildHead();
    QWidget *buildSubHead();
    QWidget *buildBody();
    void wire();
    void applyColours();
    QString selectedField(bool *number, int *column) const;

    MainAccess &m_main;
    PageSpec m_spec;
    Table::Dataset *m_ds = nullptr;
    QWidget *m_tab = nullptr;
    GradientPanel *m_head = nullptr;
    GradientPanel *m_subHead = nullptr;
    GradientPanel *m_footer = nullptr;
    QHBoxLayout *m_headTools = nullptr;
    QHBoxLayout *m_subTools = nullptr;
    QHBoxLayout *m_footTools = nullptr;
    QList<ShapeButton *> m_highlighted;
    QVBoxLayout *m_side = nullptr;
    DataGrid *m_grid = nullptr;
    QComboBox *m_sel = nullptr;
    QLineEdit *m_filter = nullptr;
    QComboBox *m_combo = nullptr;
    QCheckBox *m_toggle = nullptr;
    FlashingLabel *m_flash = nullptr;
    RecordNavigator *m_nav = nullptr;
    NotesMemo *m_notes = nullptr;
    ShapeButton *m_tagAllBtn = nullptr;
    ShapeButton *m_clearBtn = nullptr;
    ShapeButton *m_reverseBtn = nullptr;
    ShapeButton *m_allBtn = nullptr;
    ShapeButton *m_sumBtn = nullptr;
};

} // namespace Brelvan
