#pragma once

#include "data/ui/page.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace Brelvan {

// How one grid column looks: its field, its title (fixed, or the setting that names it),
// its colour and whether the grid may edit it.
struct ColumnSpec
{
    enum class Tint { None, Grey, Tinted, Navy };

    QString field;
    QString title;        // empty: the field name
    QString titleSetting; // a settings key whose value is the title (E1, VAT, Alpha ...)
    Tint tint = Tint::None;
    bool readOnly = false;
    int width = 0;        // pixels; 0: the grid's default
    bool centred = false;
    bool navyText = false; // with the tint: the tax columns' navy text on a tinted cell
};

// An item of a sort chooser: what the list shows and the ORDER BY list it stands for
// (the same text on most pages).
struct SortItem
{
    QString caption;
    QString orderBy;
};

// A field chooser item the shared selection can run by itself: a text field is searched
// by containment (LIKE "%text%"), a number field by equality; after the query the cell
// cursor goes to column (a position of the standard order; -1 leaves it).
struct ChooserField
{
    QString item;   // "Summary"
    QString field;  // "Bank"
    bool number = false;
    int column = -1;
};

// What a record page is made of, as data: the names of its controls, the columns of its
// grid in their standard order, its choosers' items and the per-page differences of the
// shared grid rules. The record-page base builds the page from it.
struct PageSpec
{
    QString page;        // "Expenses"
    Page id = Page::Diary; // the tab it fills
    QString dataset;     // "Expend"
    QString table;       // "Expense"

    // controls
    QString grid;        // "ExpendGrid"
    QString gridHint;
    QString headPanel;   // "ExpHeadPanel"
    QString subHeadPanel;// "ExpSubHead"
    QString footer;      // "ExpendFooter", empty when none
    QString fieldChooser;// "ExpendSel"
    QString filterEdit;  // "ExpendFilter"
    QString sortChooser; // "ExpendCombo"
    QString toggle;      // "ExpendToggle", empty when none
    QString flashLabel;  // "FlashExp"
    QString navigator;   // "ExpNavigator" (name left to the page when not given)
    QStringList navigatorButtons; // "first","prior","next","last","insert","delete","edit",
                                  // "post","cancel","refresh"
    QString notesMemo;   // "NoteExp", empty when none
    QString notesHint;

    // the tag tools and their per-page behaviour
    QString tagAllButton, clearTagsButton, reverseTagsButton, allButton, sumButton;
    bool clearFlips = false;    // the highlight flip on clear tags
    bool reverseFlips = false;  // ... and on reverse tags
    bool clearGoesToLast = true;// else to the first record

    QList<ColumnSpec> columns;  // standard order
    QStringList chooserItems;   // after "All" and "Tag"
    QList<SortItem> sortItems;
    int startSortItem = 0;
    // date defaults on entering a column position: the positions and the date field of each
    QList<QPair<int, QString>> dateDefaults;
    bool dateDefaultWhenTextEmpty = false; // Jobs: the text is empty; others: the value < 1
    bool enterMoves = true;                // QuoteGrid takes no Enter movement

    // the sort chooser's text at start when it is none of its items (Inventory's
    // "ID,DateIn,DateOut"); empty: the text of startSortItem
    QString startSortText;
    bool sortTyped = false;        // the sort chooser takes typed text (Inventory, Wages)
    bool filterTextApplies = true; // Jobs: typed filter text waits for the next selection
    bool notesStamp = true;        // a double click on the memo appends date and time
    bool notesReadOnly = false;    // Quotes: the generated pricing notes are not typed
    // chooser items the shared selection runs by itself (besides "All" and "Tag"); any
    // other item runs the "All" case until the page gives its own selection
    QList<ChooserField> chooserFields;
    QString defaultOrderBy;       // the ORDER BY while no sort item is chosen
    enum class AfterTagAll { Nothing, ApplySelection, AllCaptionRed };
    AfterTagAll afterTagAll = AfterTagAll::Nothing;
    bool tagAllHourglass = true;  // Clients' tag all shows none
    bool titleSort = true;        // Quotes has none
    bool allUnticksToggle = true; // the "All" selection unticks the Toggle (not on Clients)
    bool postInsertOnLeave = false;         // Clients also posts a record being inserted
    bool reverseShowsAllBeforePost = false; // Wages clicks All before posting its edit
    bool startAtLast = true;      // the page goes to its last record after start-up
    bool gridFocusOnShow = false; // Clients, Paint, Inventory: the grid takes the focus
    QString notesField = QStringLiteral("Notes");
};

} // namespace Brelvan
