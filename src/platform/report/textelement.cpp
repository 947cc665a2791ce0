#include "platform/report/textelement.h"

#include "platform/report/layoutdevice.h"
#include "platform/report/renderstate.h"

#include <QLocale>
#include <QTextLayout>

namespace Brelvan {

TextElement::TextElement(const QRectF &rect, Content content, const QString &text)
    : Element(rect), m_content(content), m_text(text)
{
}

TextElement &TextElement::font(const QFont &font)
{
    setFont(font);
    return *this;
}

TextElement &TextElement::font(const QString &family, double pointSize)
{
    QFont f(family);
    f.setPointSizeF(pointSize);
    return font(f);
}

TextElement &TextElement::size(double pointSize)
{
    m_size = pointSize;
    return *this;
}

TextElement &TextElement::bold(bool on)
{
    m_bold = on;
    return *this;
}

TextElement &TextElement::italic(bool on)
{
    m_italic = on;
    return *this;
}

TextElement &TextElement::underline(bool on)
{
    m_underline = on;
    return *this;
}

void TextElement::setFont(const QFont &font)
{
    m_font = font;
    m_fontSet = true;
    m_size.reset();
    m_bold.reset();
    m_italic.reset();
    m_underline.reset();
}

QFont TextElement::currentFont(const QFont &fallback) const
{
    QFont f = m_fontSet ? m_font : fallback;
    if (m_size)
        f.setPointSizeF(*m_size);
    if (m_bold)
        f.setBold(*m_bold);
    if (m_italic)
        f.setItalic(*m_italic);
    if (m_underline)
        f.setUnderline(*m_underline);
    return f;
}

TextElement &TextElement::frame(int sides, double width, const QColor &colour)
{
    m_frameSides = sides;
    m_frameWidth = width;
    m_frameColour = colour;
    return *this;
}

TextElement &TextElement::decimals(int places)
{
    m_format = [places](const QVariant &v) {
        return v.isNull() ? QString() : QString::number(v.toDouble(), 'f', places);
    };
    return *this;
}

TextElement &TextElement::dateFormat(const QString &format)
{
    m_format = [format](const QVariant &v) {
        return v.isNull() ? QString() : v.toDate().toString(format);
    };
    return *this;
}

TextElement &TextElement::compute(Compute compute)
{
    m_content = Content::Computed;
    m_compute = std::move(compute);
    return *this;
}

TextElement &TextElement::halign(Qt::Alignment h)
{
    m_align = (m_align & Qt::AlignVertical_Mask) | h;
    return *this;
}

QString TextElement::resolve(const RenderState &state) const
{
    auto formatted = [&](const QVariant &v) {
        return m_format ? m_format(v) : state.format(v);
    };
    QString body;
    switch (m_content) {
    case Content::Fixed:
        body = m_text;
        break;
    case Content::Field:
        body = formatted(state.value(m_text));
        break;
    case Content::Sum:
        body = formatted(state.scopedSum(m_text));
        break;
    case Content::Count:
        body = formatted(state.scopedCount());
        break;
    case Content::PageNumber:
        body = formatted(state.pageNumber());
        break;
    case Content::Date:
        body = formatted(state.now().date());
        break;
    case Content::Time:
        body = state.now().time().toString(QStringLiteral("hh:mm:ss"));
        break;
    case Content::DateTime:
        body = formatted(state.now().date()) + QLatin1Char(' ')
               + state.now().time().toString(QStringLiteral("hh:mm:ss"));
        break;
    case Content::ReportTitle:
        body = state.reportTitle();
        break;
    case Content::Computed:
        body = m_compute ? m_compute(state) : QString();
        break;
    }
    return m_prefix + body + m_suffix;
}

void TextElement::layout(ElementOutput &out, const RenderState &state,
                         LayoutContext &context) const
{
    const QFont f = currentFont(context.defaultFont);
    const QString text = resolve(state);
    QRectF box = rect();
    const Qt::Alignment h = m_align & Qt::AlignHorizontal_Mask;

    QStringList lines;
    if (m_wrap) {
        // Wrap each paragraph at the box width as Qt's own text layout does.
        const double widthPx = ReportLayout::toPx(box.width());
        for (const QString &para : text.split(QLatin1Char('\n'))) {
            QTextLayout layout(para, f, ReportLayout::device());
            QTextOption option;
            option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            layout.setTextOption(option);
            layout.beginLayout();
            int lineCount = 0;
            for (QTextLine line = layout.createLine(); line.isValid();
                 line = layout.createLine()) {
                line.setLineWidth(widthPx);
                lines.append(para.mid(line.textStart(), line.textLength()).trimmed());
                ++lineCount;
            }
            layout.endLayout();
            if (lineCount == 0)
                lines.append(QString());
        }
    } else {
        lines = text.split(QLatin1Char('\n'));
    }

    if (m_autoSize && !m_wrap) {
        double width = 0;
        for (const QString &line : lines)
            width = qMax(width, ReportLayout::textWidth(line, f));
        if (h & Qt::AlignRight)
            box.setLeft(box.right() - width);
        else if (h & Qt::AlignHCenter)
            box = QRectF(box.center().x() - width / 2, box.top(), width, box.height());
        else
            box.setWidth(width);
    }

    const double lineHeight = ReportLayout::lineHeight(f);
    const double textHeight = lineHeight * lines.size();
    if (m_wrap && textHeight > box.height()) {
        box.setHeight(textHeight);
        out.stretches = true;
    }
    out.bottom = box.bottom();

    if (m_background.isValid()) {
        DocItem fill;
        fill.kind = DocItem::Kind::Rect;
        fill.rect = box;
        fill.fill = m_background;
        out.items.append(fill);
    }

    DocItem run;
    run.kind = DocItem::Kind::Text;
    run.font = f;
    run.colour = m_colour;
    if (lines.size() == 1) {
        run.rect = box;
        run.text = lines.first();
        run.flags = int(m_align);
        if (!run.text.isEmpty())
            out.items.append(run);
    } else {
        run.flags = int(h | Qt::AlignTop);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            run.rect = QRectF(box.left(), box.top() + i * lineHeight, box.width(), lineHeight);
            run.text = lines.at(i);
            if (!run.text.isEmpty())
                out.items.append(run);
            if (m_wrap)
                out.breaks.append(run.rect.bottom());
        }
    }

    if (m_frameSides == AllSides) {
        DocItem frame;
        frame.kind = DocItem::Kind::Rect;
        frame.rect = box;
        frame.colour = m_frameColour;
        frame.penWidth = m_frameWidth;
        out.items.append(frame);
    } else if (m_frameSides) {
        DocItem line;
        line.kind = DocItem::Kind::Line;
        line.colour = m_frameColour;
        line.penWidth = m_frameWidth;
        auto add = [&](QPointF a, QPointF b) {
            line.rect = QRectF(a, b);
            out.items.append(line);
        };
        if (m_frameSides & Left)
            add(box.topLeft(), box.bottomLeft());
        if (m_frameSides & Top)
            add(box.topLeft(), box.topRight());
        if (m_frameSides & Right)
            add(box.topRight(), box.bottomRight());
        if (m_frameSides & Bottom)
            add(box.bottomLeft(), box.bottomRight());
    }
}

} // namespace Brelvan
