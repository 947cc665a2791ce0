#pragma once

#include "data/ui/recordpage.h"

class QComboBox;
class QLineEdit;

namespace Brelvan {

// The Expenses page: the expense records over Expend with their GST tools, the notes memo
// and the totals footer.
class ExpensesPage : public RecordPage
{
    Q_OBJECT

public:
    explicit ExpensesPage(MainAccess &main);

    QLineEdit *rateEdit() const { return m_apply; }

protected:
    void startUp() override;

private:
    void buildStrips();

    QLineEdit *m_apply = nullptr;
};

ExpensesPage *createExpensesPage(MainAccess &main);

} // namespace Brelvan
