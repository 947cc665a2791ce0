#include "trade/quotespage.h"

#include "data/ui/mainaccess.h"
#include "data/ui/mainevents.h"
#include "platform/widgets/notesmemo.h"
#include "trade/quotespagespec.h"

#include <QKeyEvent>
#include <QVBoxLayout>

namespace Brelvan {

QuotesPage *createQuotesPage(MainAccess &main)
{
    return new QuotesPage(main);
}

QuotesPage::QuotesPage(MainAccess &main) : RecordPage(main, quotesPageSpec())
{
    // its Spec text goes above the pricing notes: it is what the client reads
    m_specs = new NotesMemo;
    m_specs->setObjectName(QStringLiteral("QuoteSpecs"));
    m_specs->setDataset(&dataset(), QStringLiteral("Spec"));
    sideLayout()->insertWidget(0, m_specs, 1);
    connect(m_specs, &NotesMemo::focusLeft, this, &RecordPage::postOnLeave);
    applyOwnColours();
    connect(&main.events(), &MainEvents::shown, this, &QuotesPage::applyOwnColours);

    // The pricing notes are written by the Quote button only. The memo makes itself
    // typeable again whenever its record is live, so what would type, paste or drop into
    // it is kept from it; reading, selecting and copying stay.
    notesMemo()->installEventFilter(this);
    notesMemo()->viewport()->installEventFilter(this);
}

bool QuotesPage::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool copies = key->matches(QKeySequence::Copy)
                            || key->matches(QKeySequence::SelectAll);
        const bool types = !key->text().isEmpty() || key->key() == Qt::Key_Backspace
                           || key->key() == Qt::Key_Delete;
        if (types && !copies)
            return true;
        break;
    }
    case QEvent::InputMethod:
    case QEvent::Drop:
        return true;
    case QEvent::FocusIn:
    case QEvent::MouseButtonPress:
    case QEvent::ContextMenu: // the read-only menu: copy and select all
    case QEvent::DragEnter:
        notesMemo()->setReadOnly(true);
        break;
    default:
        break;
    }
    return RecordPage::eventFilter(watched, event);
}

void QuotesPage::applyOwnColours()
{
    m_specs->setBackgroundColor(settingColor(QStringLiteral("Grad3Str")));
}

} // namespace Brelvan
