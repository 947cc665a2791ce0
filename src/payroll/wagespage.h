#pragma once

#include "data/ui/recordpage.h"

namespace Brelvan {

// The Wages page: one record per employee per pay, on the shared record page.
class WagesPage : public RecordPage
{
    Q_OBJECT

public:
    explicit WagesPage(MainAccess &main);
};

WagesPage *createWagesPage(MainAccess &main);

} // namespace Brelvan
