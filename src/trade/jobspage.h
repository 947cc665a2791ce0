#pragma once

#include "data/ui/recordpage.h"

namespace Brelvan {

// The Jobs page: the jobs list on the shared record page, and beside it a second grid over
// the same records with each job's quoted figures.
class JobsPage : public RecordPage
{
    Q_OBJECT

public:
    explicit JobsPage(MainAccess &main);

    DataGrid *figuresGrid() const { return m_figures; }
    // The figures grid's title click: every job, sorted by the field of the figures grid's
    // current column (no tag restriction, no message).
    void figuresTitleSort();

private:
    void applyOwnColours();

    DataGrid *m_figures = nullptr;
};

JobsPage *createJobsPage(MainAccess &main);

} // namespace Brelvan
