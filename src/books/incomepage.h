#pragma once

#include "data/ui/recordpage.h"

class QLineEdit;

namespace Brelvan {

// The Income page: the income records over Income with their tax tools, the notes memo
// and the totals footer.
class IncomePage : public RecordPage
{
    Q_OBJECT

public:
    explicit IncomePage(MainAccess &main);

    QLineEdit *rateEdit() const { return m_apply; }

protected:
    void startUp() override;

private:
    void buildStrips();

    QLineEdit *m_apply = nullptr;
};

IncomePage *createIncomePage(MainAccess &main);

} // namespace Brelvan
