#include "platform/widgets/shapebutton.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Brelvan {

namespace {

bool sameColour(const QColor &a, const QColor &b)
{
    return a.isValid() && b.isValid() && a.rgb() == b.rgb();
}

} // namespace

ShapeButton::ShapeButton(QWidget *parent)
    : QAbstractButton(parent)
    , m_start(silver())
    , m_end(grey())
    , m_captionColor(Qt::black)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    setAttribute(Qt::WA_Hover);
}

ShapeButton::ShapeButton(const QString &caption, QWidget *parent)
    : ShapeButton(parent)
{
    setText(caption);
}

void ShapeButton::setStartColor(const QColor &color)
{
    m_start = color;
    update();
}

void ShapeButton::setEndColor(const QColor &color)
{
    m_end = color;
    update();
}

void ShapeButton::setGradient(const QColor &start, const QColor &end)
{
    m_start = start;
    m_end = end;
    update();
}

void ShapeButton::setCaptionColor(const QColor &color)
{
    m_captionColor = color;
    update();
}

void ShapeButton::setCornerRadius(int radius)
{
    m_radius = qMax(0, radius);
    update();
}

void ShapeButton::flipHighlight(const QColor &grad2, const QColor &grad1)
{
    const QColor start = sameColour(m_start, silver()) ? grad2 : silver();
    const QColor end = sameColour(m_end, grey()) ? grad1 : grey();
    setGradient(start, end);
}

void ShapeButton::setHighlighted(bool highlighted, const QColor &grad2, const QColor &grad1)
{
    if (highlighted)
        setGradient(grad2, grad1);
    else
        setGradient(silver(), grey());
}

bool ShapeButton::isPlain() const
{
    return sameColour(m_start, silver()) && sameColour(m_end, grey());
}

QSize ShapeButton::sizeHint() const
{
    const QFontMetrics fm(font());
    int w = fm.horizontalAdvance(text()) + 2 * m_radius + 12;
    if (!icon().isNull())
        w += iconSize().width() + (text().isEmpty() ? 0 : 4);
    const int h = qMax(fm.height(), icon().isNull() ? 0 : iconSize().height()) + 10;
    return QSize(qMax(w, h), h);
}

QSize ShapeButton::minimumSizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(2 * m_radius + 8, fm.height() + 4);
}

void ShapeButton::enterEvent(QEnterEvent *event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ShapeButton::leaveEvent(QEvent *event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void ShapeButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = qMin<qreal>(m_radius, qMin(r.width(), r.height()) / 2);
    QPainterPath shape;
    shape.addRoundedRect(r, radius, radius);

    const bool down = isDown() || isChecked();
    QColor top = down ? m_end : m_start;
    QColor bottom = down ? m_start : m_end;
    if (m_hover && isEnabled() && !down) {
        top = top.lighter(112);
        bottom = bottom.lighter(112);
    }
    if (!isEnabled()) {
        // washed out towards grey, so a disabled highlighted button does not look ready
        auto faded = [](const QColor &c) {
            return QColor::fromHsv(c.hsvHue(), c.hsvSaturation() / 4, c.value()).lighter(120);
        };
        top = faded(top);
        bottom = faded(bottom);
    }
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.fillPath(shape, fill);

    // A thin light rim on the upper edge and a darker outline give the raised look.
    p.setPen(QPen(m_end.darker(170), 1));
    p.drawPath(shape);
    if (!down) {
        QPainterPath rim;
        rim.addRoundedRect(r.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
        p.setPen(QPen(QColor(255, 255, 255, 90), 1));
        p.drawPath(rim);
    }

    QRectF content = r.adjusted(radius / 2 + 3, 2, -(radius / 2 + 3), -2);
    if (down)
        content.translate(1, 1);

    const QString caption = text();
    // A disabled caption fades but stays readable on the light fill.
    QColor ink = m_captionColor;
    if (!isEnabled())
        ink = QColor(80, 80, 80, 150); // also a white caption, on the washed-out fill
    if (!icon().isNull()) {
        const QSize is = iconSize();
        const QFontMetrics fm(font());
        const qreal textW = caption.isEmpty() ? 0 : fm.horizontalAdvance(caption) + 4;
        const qreal x = content.center().x() - (is.width() + textW) / 2;
        const QRectF iconRect(qMax(content.left(), x), content.center().y() - is.height() / 2.0,
                              is.width(), is.height());
        icon().paint(&p, iconRect.toRect(), Qt::AlignCenter,
                     isEnabled() ? QIcon::Normal : QIcon::Disabled);
        content.setLeft(iconRect.right() + 4);
        if (!caption.isEmpty()) {
            p.setPen(ink);
            p.drawText(content, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, caption);
        }
    } else if (!caption.isEmpty()) {
        p.setPen(ink);
        p.drawText(content, Qt::AlignCenter | Qt::TextShowMnemonic, caption);
    }

    if (hasFocus()) {
        p.setRenderHint(QPainter::Antialiasing, false);
        QPen focus(m_captionColor, 1, Qt::DotLine);
        p.setPen(focus);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(rect().adjusted(3, 3, -4, -4), radius / 2, radius / 2);
    }
}

} // namespace Brelvan
