#include "diary/tcalform.h"

#include "diary/datestep.h"
#include "platform/desktop/clock.h"
#include "platform/widgets/analogclock.h"
#include "platform/widgets/flashinglabel.h"
#include "platform/widgets/gradientpanel.h"
#include "platform/widgets/hint.h"
#include "platform/widgets/shapebutton.h"

#include <QCalendarWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace Brelvan {

namespace {

QDate today(const QDate &)
{
    return clock().today();
}

} // namespace

TCalForm::TCalForm(const QColor &grad1, const QColor &grad2, const QColor &grad3,
                   QWidget *parent)
    : QDialog(parent), m_grad1(grad1), m_grad2(grad2)
{
    setObjectName(QStringLiteral("TCalForm"));
    setWindowTitle(QStringLiteral(" Calendar"));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto *headPanel = new GradientPanel(this);
    headPanel->setObjectName(QStringLiteral("CalHeadPanel"));
    headPanel->setGradient(grad1, grad2);
    auto *hh = new QHBoxLayout(headPanel);
    m_head = new FlashingLabel(headPanel);
    m_head->setObjectName(QStringLiteral("CalHead"));
    m_head->setFont(QFont(QStringLiteral("Georgia"), 12, QFont::Bold));
    m_head->setAlignment(Qt::AlignCenter);
    m_head->setFlashColors(Qt::black, Qt::white);
    m_head->setText(clock().today().toString(QStringLiteral("dddd, d MMMM, yyyy,")));
    hh->addWidget(m_head);
    v->addWidget(headPanel);

    auto *body = new GradientPanel(this);
    body->setObjectName(QStringLiteral("CalBody"));
    body->setGradient(grad1, grad2);
    auto *g = new QGridLayout(body);
    m_calendar = new QCalendarWidget(body);
    m_calendar->setObjectName(QStringLiteral("Calendar"));
    m_calendar->setFirstDayOfWeek(Qt::Sunday);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    QPalette base = m_calendar->palette();
    base.setColor(QPalette::Base, grad3);
    m_calendar->setPalette(base);
    m_calendar->setSelectedDate(clock().today());
    g->addWidget(m_calendar, 0, 0, 6, 1);
    m_clock = new AnalogClock(body);
    m_clock->setObjectName(QStringLiteral("Clock"));
    m_clock->setHourHandColor(grad1);
    g->addWidget(m_clock, 0, 1, 1, 2);

    struct Def
    {
        const char *name, *caption, *hint;
        QDate (*step)(const QDate &);
        bool highlight;
        int row, col;
    };
    static const Def defs[] = {
        {"NowBtn", "Today", "Return to Today", today, true, 1, 1},
        {"NextWeekBtn", "Week", "Next Week", [](const QDate &d) { return d.addDays(7); }, true,
         2, 2},
        {"PrevWeekBtn", "Week", "Prior Week", [](const QDate &d) { return d.addDays(-7); },
         false, 2, 1},
        {"Next2WeekBtn", "+2 Wk", "Next Week (from current Calendar date)",
         [](const QDate &d) { return d.addDays(14); }, false, 1, 2},
        {"Prev2WeekBtn", "-2 Wk", "Prior Week (from current Calendar date)",
         [](const QDate &d) { return d.addDays(-14); }, false, 5, 1},
        {"NextMonthBtn", "Month", "Next Month", DateStep::monthOn, false, 3, 2},
        {"PrevMonthBtn", "Month", "Prior Month", DateStep::monthBack, false, 3, 1},
        {"NextYrBtn", "Year ", "Next Year", DateStep::yearOn, false, 4, 2},
        {"PrevYrBtn", " Year", "Prior Year", DateStep::yearBack, false, 4, 1},
    };
    for (const Def &d : defs) {
        auto *b = new ShapeButton(QString::fromLatin1(d.caption), body);
        b->setObjectName(QString::fromLatin1(d.name));
        setHint(b, QString::fromLatin1(d.hint));
        const auto f = d.step;
        const bool highlight = d.highlight;
        connect(b, &ShapeButton::clicked, this,
                [this, b, f, highlight] { step(b, f, highlight); });
        g->addWidget(b, d.row, d.col);
        m_buttons << b;
    }
    auto *close = new ShapeButton(QStringLiteral("Close"), body);
    close->setObjectName(QStringLiteral("CloseBtn"));
    connect(close, &ShapeButton::clicked, this, &QDialog::accept);
    g->addWidget(close, 5, 2);
    m_buttons << close;
    v->addWidget(body, 1);

    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &TCalForm::dateChanged);
}

QDate TCalForm::date() const
{
    return m_calendar->selectedDate();
}

void TCalForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_head->setFlashing(false);
    for (ShapeButton *b : std::as_const(m_buttons))
        b->setHighlighted(true, m_grad2, m_grad1);
}

void TCalForm::dateChanged()
{
    const QDate d = date();
    m_head->setText(d.toString(QStringLiteral("dddd, d MMMM , yyyy")));
    m_head->setFlashing(d != clock().today());
}

void TCalForm::step(ShapeButton *button, QDate (*newDate)(const QDate &), bool highlight)
{
    m_calendar->setSelectedDate(newDate(date()));
    m_head->setFlashing(date() != clock().today());
    if (highlight)
        button->setHighlighted(true, m_grad2, m_grad1);
}

} // namespace Brelvan
