#include "calc/calcwindow.h"

#include "data/ui/mainaccess.h"
#include "platform/desktop/dialogs.h"
#include "platform/widgets/gradientpanel.h"
#include "platform/widgets/hint.h"
#include "platform/widgets/shapebutton.h"
#include "data/appsettings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace Brelvan {

namespace {

const QColor currentFill(0, 0x80, 0);    // green: the outputs answer the inputs
const QColor currentCaption(0, 0, 0xFF); // blue

void setBase(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colour);
    w->setPalette(p);
}

} // namespace

CalcWindow::CalcWindow(MainAccess &main, const QString &className, const QString &caption,
                       const QString &head, QWidget *parent)
    : QDialog(parent), m_main(main)
{
    setObjectName(className);
    setWindowTitle(caption);
    m_grad1 = main.settings().color(QStringLiteral("Grad1Str"));
    m_grad2 = main.settings().color(QStringLiteral("Grad2Str"));
    m_grad3 = main.settings().color(QStringLiteral("Grad3Str"));

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto *headPanel = new GradientPanel(this);
    headPanel->setObjectName(QStringLiteral("HeadPanel"));
    headPanel->setGradient(m_grad1, m_grad2);
    headPanel->setCaption(head);
    headPanel->setFont(QFont(QStringLiteral("Georgia"), 18, QFont::Bold, true));
    headPanel->setMinimumHeight(52);
    v->addWidget(headPanel);

    m_body = new GradientPanel(this);
    m_body->setObjectName(QStringLiteral("BodyPanel"));
    m_body->setGradient(m_grad1, m_grad2);
    auto *bodyLayout = new QVBoxLayout(m_body);
    bodyLayout->setContentsMargins(16, 12, 16, 12);
    auto *upper = new QHBoxLayout;
    m_rows = new QGridLayout;
    m_rows->setHorizontalSpacing(12);
    m_rows->setColumnMinimumWidth(1, 150);
    upper->addLayout(m_rows);
    upper->addSpacing(24);
    m_buttons = new QVBoxLayout;
    upper->addLayout(m_buttons);
    bodyLayout->addLayout(upper);
    m_lower = new QVBoxLayout;
    bodyLayout->addLayout(m_lower, 1);
    v->addWidget(m_body, 1);
}

QLineEdit *CalcWindow::edit(const QString &name) const
{
    return findChild<QLineEdit *>(name);
}

QLineEdit *CalcWindow::addInput(const char *name, const QString &caption, const QString &hint)
{
    auto *label = new QLabel(caption, m_body);
    auto *e = new QLineEdit(m_body);
    e->setObjectName(QString::fromLatin1(name));
    setHint(e, hint);
    label->setBuddy(e);
    m_rows->addWidget(label, m_row, 0);
    m_rows->addWidget(e, m_row++, 1);
    connect(e, &QLineEdit::textEdited, this, [this] { makeStale(); });
    if (m_inputs.isEmpty())
        e->setFocus();
    m_inputs << e;
    return e;
}

QComboBox *CalcWindow::addFrequency(const QString &caption)
{
    auto *label = new QLabel(caption, m_body);
    m_frequency = new QComboBox(m_body);
    m_frequency->setObjectName(QStringLiteral("Period"));
    m_frequency->addItems(frequencyNames());
    label->setBuddy(m_frequency);
    m_rows->addWidget(label, m_row, 0);
    m_rows->addWidget(m_frequency, m_row++, 1);
    return m_frequency;
}

void CalcWindow::addHeading(const QString &text)
{
    auto *label = new QLabel(text, m_body);
    QFont f = label->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() + 2);
    label->setFont(f);
    m_rows->setRowMinimumHeight(m_row, 8);
    m_rows->addWidget(label, m_row++, 0, 1, 2);
}

QLineEdit *CalcWindow::addOutput(const char *name, const QString &caption, const QString &hint)
{
    auto *label = new QLabel(caption, m_body);
    auto *e = new QLineEdit(m_body);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::ClickFocus);
    setBase(e, m_grad3);
    if (!hint.isEmpty())
        setHint(e, hint);
    m_rows->addWidget(label, m_row, 0);
    m_rows->addWidget(e, m_row++, 1);
    return e;
}

ShapeButton *CalcWindow::addButton(const char *name, const QString &caption,
                                   const QString &hint, std::function<void()> action)
{
    auto *b = new ShapeButton(caption, m_body);
    b->setObjectName(QString::fromLatin1(name));
    b->setGradient(m_grad2, m_grad1);
    if (!hint.isEmpty())
        setHint(b, hint);
    b->setMinimumWidth(150);
    if (action)
        connect(b, &ShapeButton::clicked, this, [action] { action(); });
    else
        b->setEnabled(false); // a button without an action is not offered
    m_buttons->addWidget(b);
    if (!m_calculate) {
        m_calculate = b; // the first button calculates
        b->setCaptionColor(Qt::red);
    }
    return b;
}

void CalcWindow::addCloseButton()
{
    m_buttons->addStretch(1);
    addButton("CloseBtn", QStringLiteral("Close"), {}, [this] { reject(); });
}

void CalcWindow::colourInputs()
{
    for (QLineEdit *e : std::as_const(m_inputs))
        setBase(e, m_grad3);
}

void CalcWindow::restore(const CalcEntry &entry, const char *firstInput)
{
    edit(QString::fromLatin1(firstInput))->setText(entry.first);
    edit(QStringLiteral("EdRate"))->setText(entry.rate);
    edit(QStringLiteral("EdTime"))->setText(entry.term);
    m_frequency->setCurrentIndex(entry.frequency);
    connect(m_frequency, &QComboBox::currentIndexChanged, this, [this] { makeStale(); });
}

CalcEntry CalcWindow::entry(const char *firstInput) const
{
    return {text(firstInput), text("EdRate"), text("EdTime"), frequency()};
}

QString CalcWindow::text(const char *name) const
{
    return edit(QString::fromLatin1(name))->text();
}

QString CalcWindow::frequencyText() const
{
    return m_frequency->currentText();
}

int CalcWindow::frequency() const
{
    return m_frequency->currentIndex();
}

bool CalcWindow::showOutcome(const Calculation &calculation)
{
    switch (calculation.error) {
    case CalcError::Missing:
        dialogs().warning(calcErrorMessage(calculation.error));
        return false;
    case CalcError::Unusable:
        dialogs().error(calcErrorMessage(calculation.error));
        return false;
    case CalcError::None:
        break;
    }
    for (auto it = calculation.texts.cbegin(); it != calculation.texts.cend(); ++it)
        edit(it.key())->setText(it.value());
    // green only once the figures are in: a refused calculation leaves the old ones
    m_calculate->setGradient(currentFill, currentFill);
    m_calculate->setCaptionColor(currentCaption);
    m_current = true;
    return true;
}

void CalcWindow::printed()
{
    m_calculate->setCaptionColor(Qt::red);
}

void CalcWindow::makeStale()
{
    m_current = false;
    m_calculate->setGradient(m_grad2, m_grad1);
    m_calculate->setCaptionColor(Qt::red);
}

void CalcWindow::done(int result)
{
    if (!m_remembered) {
        m_remembered = true;
        remember();
    }
    QDialog::done(result);
}

} // namespace Brelvan
