#pragma once

#include "data/ui/recordpage.h"

namespace Brelvan {

class NotesMemo;

// The Quotes page: the quotes list on the shared record page, with the quote's
// Spec text beside its generated pricing notes.
class QuotesPage : public RecordPage
{
    Q_OBJECT

public:
    explicit QuotesPage(MainAccess &main);

    NotesMemo *specMemo() const { return m_specs; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyOwnColours();

    NotesMemo *m_specs = nullptr;
};

QuotesPage *createQuotesPage(MainAccess &main);

} // namespace Brelvan
