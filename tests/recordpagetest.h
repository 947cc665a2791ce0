#pragma once

// The record pages as the window tests drive them: every page's description, and the page
// of a started fixture made current.

#include "books/expensespagespec.h"
#include "books/incomepagespec.h"
#include "clients/clientspagespec.h"
#include "data/ui/recordpage.h"
#include "inventory/inventorypagespec.h"
#include "payroll/wagespagespec.h"
#include "platform/table/dataset.h"
#include "platform/widgets/datagrid.h"
#include "shell/tmainform.h"
#include "storedrecords.h"
#include "trade/jobspagespec.h"
#include "trade/paintpagespec.h"
#include "trade/quotespagespec.h"

#include <QHeaderView>
#include <QList>
#include <QTest>

namespace Brelvan::Testing {

// The descriptions of the eight record pages, in tab order.
inline const QList<const PageSpec *> &recordPageSpecs()
{
    static const QList<const PageSpec *> specs = {
        &clientsPageSpec(),  &paintPageSpec(),  &quotesPageSpec(),    &jobsPageSpec(),
        &expensesPageSpec(), &incomePageSpec(), &inventoryPageSpec(), &wagesPageSpec()};
    return specs;
}

inline const PageSpec &recordPageSpec(const QString &page)
{
    for (const PageSpec *s : recordPageSpecs()) {
        if (s->page == page)
            return *s;
    }
    qFatal("no record page %s", qPrintable(page));
}

// The page of a started fixture, made current.
struct PageUnderTest
{
    PageUnderTest(Fixture &f, const QString &name) : spec(recordPageSpec(name))
    {
        page = f.mainForm()->findChild<RecordPage *>(name + QStringLiteral("Page"));
        if (!page)
            qFatal("no %sPage in the main window", qPrintable(name));
        f.form()->goToPage(spec.id);
        QCoreApplication::processEvents();
    }
    Table::Dataset &ds() const { return page->dataset(); }
    DataGrid *grid() const { return page->grid(); }
    QString title(int column) const
    {
        return grid()->model()->headerData(column, Qt::Horizontal).toString();
    }
    QString titleOf(const QString &field) const
    {
        for (int c = 0; c < grid()->model()->columnCount(); ++c) {
            if (grid()->datasetModel()->column(c).field == field)
                return title(c);
        }
        return QStringLiteral("<none>");
    }
    QStringList shownValues(const QString &field) const
    {
        QStringList t;
        const int f = ds().fieldIndex(field);
        for (int r = 0; r < ds().rowCount(); ++r)
            t << ds().valueAt(r, f).toString();
        return t;
    }
    QStringList shownTags() const { return shownValues(QStringLiteral("Tag")); }
    // A click on the title of a column, as the user gives it.
    static void clickTitle(DataGrid *grid, int visualColumn)
    {
        QHeaderView *h = grid->horizontalHeader();
        const int logical = h->logicalIndex(visualColumn);
        grid->scrollTo(grid->model()->index(0, logical));
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(logical) + 5, h->height() / 2));
    }
    void clickTitle(int visualColumn) const { clickTitle(grid(), visualColumn); }

    const PageSpec &spec;
    RecordPage *page = nullptr;
};

} // namespace Brelvan::Testing
