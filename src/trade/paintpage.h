#pragma once

#include "data/ui/recordpage.h"

namespace Brelvan {

// The Paint page: the paint price list on the shared record page.
class PaintPage : public RecordPage
{
    Q_OBJECT

public:
    explicit PaintPage(MainAccess &main);

    void applySelection() override;

protected:
    void startUp() override;
};

PaintPage *createPaintPage(MainAccess &main);

} // namespace Brelvan
