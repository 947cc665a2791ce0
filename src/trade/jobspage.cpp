#include "trade/jobspage.h"

#include "data/ui/mainaccess.h"
#include "data/ui/mainevents.h"
#include "platform/table/dataset.h"
#include "platform/widgets/datagrid.h"
#include "trade/jobspagespec.h"

#include <QSplitter>

namespace Brelvan {

JobsPage *createJobsPage(MainAccess &main)
{
    return new JobsPage(main);
}

JobsPage::JobsPage(MainAccess &main) : RecordPage(main, jobsPageSpec())
{
    m_figures = new DataGrid;
    m_figures->setObjectName(QString::fromLatin1(jobsFiguresGridName));
    m_figures->setDataset(&dataset());
    QList<GridColumn> cols;
    for (const ColumnSpec &c : jobsFiguresColumns()) {
        GridColumn g;
        g.field = c.field;
        g.title = c.title;
        g.readOnly = c.readOnly;
        g.width = c.width;
        cols << g;
    }
    m_figures->setColumns(cols);
    m_figures->setEnterHandler([this](bool shift) { m_figures->moveByEnter(shift); });
    connect(m_figures, &DataGrid::focusLeft, this, &RecordPage::postOnLeave);
    connect(m_figures, &DataGrid::titleClicked, this, [this] { figuresTitleSort(); });

    // the two grids side by side, the notes to their right
    if (auto *split = qobject_cast<QSplitter *>(grid()->parentWidget())) {
        split->insertWidget(1, m_figures);
        split->setStretchFactor(0, 3);
        split->setStretchFactor(1, 3);
        split->setStretchFactor(2, 1);
        split->setSizes({430, 430, 160});
    }
    applyOwnColours();
    connect(&main.events(), &MainEvents::shown, this, &JobsPage::applyOwnColours);
}

void JobsPage::applyOwnColours()
{
    m_figures->setBackgroundColor(settingColor(QStringLiteral("Grad3Str")));
    m_figures->setAlternateColor(settingColor(QStringLiteral("Grad4Str")));
}

void JobsPage::figuresTitleSort()
{
    const QString field = m_figures->currentFieldName();
    Table::Dataset &ds = dataset();
    ds.close();
    ds.setSql({QStringLiteral("SELECT * FROM Jobs"), QStringLiteral("Order by ") + field});
    ds.open();
    ds.last();
    setAllCaptionRed(false);
    updateEditsDisabled();
}

} // namespace Brelvan
