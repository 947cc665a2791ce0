// The Diary page's six search buttons: a walk over the days in date order.
#include "diary/diarypage.h"

#include "data/ui/mainaccess.h"
#include "diary/diarysearch.h"
#include "diary/diarytext.h"
#include "platform/desktop/clock.h"
#include "platform/desktop/dialogs.h"
#include "platform/table/dataset.h"
#include "platform/widgets/flashinglabel.h"
#include "platform/widgets/shapebutton.h"

#include <QCalendarWidget>
#include <QPlainTextEdit>

#include <optional>

namespace Brelvan {

using namespace DiaryText;
using Table::Dataset;

// --- search buttons ------------------------------------------------------------------------

void DiaryPage::search(Search how)
{
    static const char *const names[] = {"SearchBtn", "ScanBtn", "RevScanBtn", "NextBtn",
                                        "PriorBtn"};
    ShapeButton *nowBtn = button("NowBtn");
    flip(button(QString::fromLatin1(names[int(how)])));
    const bool again = how == Search::Next || how == Search::Prior;
    if (again)
        nowBtn->setHighlighted(false, grad(2), grad(1));
    postBoth();
    useSource(m_diary);
    setGridColour(Qt::black);
    if (!again) {
        const std::optional<QString> answer = dialogs().input(
            QStringLiteral("CASE SENSITIVE Search"), QStringLiteral("Enter Text to find"),
            m_searchText);
        m_searchText = answer.value_or(m_searchText);
    }
    if (!m_diary->database())
        return;
    if (!m_diary->isOpen())
        m_diary->open();
    const bool forward = how != Search::ReverseScan && how != Search::Prior;
    std::optional<WaitCursor> wait;
    if (how == Search::ReverseScan)
        wait.emplace();

    // the memo's own wrapping decides what a line is
    const QFont font = m_daytime->font();
    const int width = m_daytime->viewport()->width()
                      - 2 * int(m_daytime->document()->documentMargin());
    const int day = m_diary->fieldIndex(QStringLiteral("Day"));
    QList<int> found;
    m_diary->disableControls();
    try {
        bool passed = m_diary->isEmpty();
        if (!passed) {
            switch (how) {
            case Search::FromStart:
                m_diary->setIndexName(QStringLiteral("Dates"));
                m_diary->first();
                break;
            case Search::Scan:
            case Search::ReverseScan:
                m_diary->setIndexName(QStringLiteral("Dates"));
                // past the last day a forward scan has nothing left; a reverse one starts there
                passed = !m_diary->findNearest({calendarDate()}) && forward;
                break;
            case Search::Next:
                m_diary->next();
                passed = m_diary->eof();
                break;
            case Search::Prior:
                m_diary->prior();
                passed = m_diary->bof();
                break;
            }
        }
        while (!passed) {
            found = DiarySearch::lineMatches(
                toEditor(m_diary->valueAt(m_diary->row(), day).toString()), m_searchText, font,
                width);
            if (!found.isEmpty())
                break;
            if (forward) {
                m_diary->next();
                passed = m_diary->eof();
            } else {
                m_diary->prior();
                passed = m_diary->bof();
            }
        }
    } catch (...) {
        m_diary->enableControls();
        throw;
    }
    m_diary->enableControls();
    wait.reset();

    if (found.isEmpty()) {
        dialogs().information(again ? QStringLiteral("No more entries were found in Diary."
                                                     "\r\n\r\nReturning to Today")
                                    : QStringLiteral("No entries were found in Diary."
                                                     "\r\n\r\nReturning to Today"));
        if (!m_diary->isEmpty())
            setHeading(QStringLiteral(" Diary for ")
                       + m_diary->date(QStringLiteral("DATE")).toString(stepHeadingFormat));
        today();
        return;
    }
    selectMatches(found);
}

void DiaryPage::selectMatches(const QList<int> &positions)
{
    const QDate date = m_diary->date(QStringLiteral("DATE"));
    loadMemo();
    for (int at : positions) {
        m_daytime->setFocus();
        QTextCursor c = m_daytime->textCursor();
        c.setPosition(at);
        c.setPosition(at + int(m_searchText.size()), QTextCursor::KeepAnchor);
        m_daytime->setTextCursor(c);
        setHeading(QStringLiteral(" Diary for ") + date.toString(stepHeadingFormat));
        setCalendarDate(date);
        m_dayHead->setFlashing(date != clock().today());
    }
}

void DiaryPage::highlightAll()
{
    if (m_highlighting)
        return;
    flip(button("ScrollBtn"));
    m_daytime->setFocus();
    if (m_searchText.isEmpty()) {
        m_searchText = dialogs().input(QStringLiteral("CASE SENSITIVE Search"),
                                       QStringLiteral("Enter Text to find"), QString())
                           .value_or(QString());
    }
    // the event loop runs between the steps; a second click waits for this one to end
    m_highlighting = true;
    WaitCursor wait;
    const QString text = m_searchText;
    for (int at : DiarySearch::occurrences(m_daytime->toPlainText(), text)) {
        QTextCursor c = m_daytime->textCursor();
        c.setPosition(at);
        c.setPosition(at + int(text.size()), QTextCursor::KeepAnchor);
        m_daytime->setTextCursor(c);
        clock().wait(1000);
    }
    clock().wait(1000);
    m_highlighting = false;
}

} // namespace Brelvan
