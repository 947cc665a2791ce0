#include "platform/report/band.h"

#include <algorithm>

namespace Brelvan {

Band &Band::child()
{
    if (!m_child)
        m_child = std::make_unique<Band>(BandKind::Child);
    return *m_child;
}

TextElement &Band::addText(double x, double y, double w, double h,
                           TextElement::Content content, const QString &text)
{
    return add<TextElement>(QRectF(x, y, w, h), content, text);
}

TextElement &Band::text(double x, double y, double w, double h, const QString &text)
{
    return addText(x, y, w, h, TextElement::Content::Fixed, text);
}

TextElement &Band::field(double x, double y, double w, double h, const QString &field)
{
    return addText(x, y, w, h, TextElement::Content::Field, field);
}

TextElement &Band::sum(double x, double y, double w, double h, const QString &field)
{
    return addText(x, y, w, h, TextElement::Content::Sum, field);
}

TextElement &Band::count(double x, double y, double w, double h)
{
    return addText(x, y, w, h, TextElement::Content::Count);
}

TextElement &Band::pageNumber(double x, double y, double w, double h)
{
    return addText(x, y, w, h, TextElement::Content::PageNumber);
}

TextElement &Band::printDate(double x, double y, double w, double h)
{
    return addText(x, y, w, h, TextElement::Content::Date);
}

TextElement &Band::printDateTime(double x, double y, double w, double h)
{
    return addText(x, y, w, h, TextElement::Content::DateTime);
}

TextElement &Band::printTime(double x, double y, double w, double h)
{
    return addText(x, y, w, h, TextElement::Content::Time);
}

TextElement &Band::reportTitle(double x, double y, double w, double h)
{
    return addText(x, y, w, h, TextElement::Content::ReportTitle);
}

TextElement &Band::computed(double x, double y, double w, double h, TextElement::Compute fn)
{
    return addText(x, y, w, h, TextElement::Content::Computed).compute(std::move(fn));
}

ImageElement &Band::image(double x, double y, double w, double h, const QString &file)
{
    return add<ImageElement>(QRectF(x, y, w, h)).file(file);
}

LineElement &Band::line(double x1, double y1, double x2, double y2)
{
    return add<LineElement>(QPointF(x1, y1), QPointF(x2, y2));
}

FrameElement &Band::frame(double x, double y, double w, double h)
{
    return add<FrameElement>(QRectF(x, y, w, h));
}

RichTextElement &Band::richText(double x, double y, double w, double h, const QString &html)
{
    return add<RichTextElement>(QRectF(x, y, w, h), html);
}

ChartElement &Band::chart(double x, double y, double w, double h, ChartElement::Painter fn)
{
    return add<ChartElement>(QRectF(x, y, w, h), std::move(fn));
}

BarcodeElement &Band::barcode(double x, double y, double w, double h, const QString &text)
{
    return add<BarcodeElement>(QRectF(x, y, w, h)).text(text);
}

Band::Layout Band::layout(const RenderState &state, LayoutContext &context) const
{
    Layout result;
    result.height = m_height;

    // Elements below a stretching element move down by as much as it grew.
    std::vector<const Element *> order;
    for (const auto &e : m_elements) {
        if (e->isVisible())
            order.push_back(e.get());
    }
    std::stable_sort(order.begin(), order.end(), [](const Element *a, const Element *b) {
        return a->rect().top() < b->rect().top();
    });
    struct Growth
    {
        double bottom;
        double grown;
    };
    std::vector<Growth> growths;
    double totalGrowth = 0;
    for (const Element *element : order) {
        double shift = 0;
        for (const Growth &g : growths) {
            if (g.bottom <= element->rect().top() + 0.01)
                shift = qMax(shift, g.grown);
        }
        ElementOutput out;
        element->layout(out, state, context);
        for (DocItem &item : out.items) {
            item.rect.translate(0, shift);
            result.items.append(item);
        }
        for (double b : out.breaks)
            result.breaks.append(b + shift);
        if (out.stretches) {
            const double grown = shift + qMax(0.0, out.bottom - element->rect().bottom());
            growths.push_back({element->rect().bottom(), grown});
            totalGrowth = qMax(totalGrowth, grown);
        }
    }
    result.height = m_height + totalGrowth;
    std::sort(result.breaks.begin(), result.breaks.end());
    return result;
}

} // namespace Brelvan
