#pragma once

#include "platform/report/element.h"

namespace Brelvan {

// Formatted text (HTML) laid out at the box's width; it grows downwards and runs on over
// as many pages as it needs, cut between lines.
class RichTextElement : public Element
{
public:
    using Compute = std::function<QString(const RenderState &)>;

    RichTextElement(const QRectF &rect, const QString &html = {}) : Element(rect), m_html(html) {}

    RichTextElement &field(const QString &field) { m_field = field; return *this; }
    RichTextElement &compute(Compute compute) { m_compute = std::move(compute); return *this; }
    RichTextElement &font(const QFont &font) { m_font = font; m_fontSet = true; return *this; }
    RichTextElement &colour(const QColor &colour) { m_colour = colour; return *this; }
    // Plain text rather than HTML: line breaks kept, nothing interpreted.
    RichTextElement &plain(bool on = true) { m_plain = on; return *this; }
    RichTextElement &name(const QString &name) { setName(name); return *this; }

    QString html() const { return m_html; }
    void setHtml(const QString &html) { m_html = html; }

    void layout(ElementOutput &out, const RenderState &state,
                LayoutContext &context) const override;

private:
    QString m_html;
    QString m_field;
    Compute m_compute;
    QFont m_font;
    bool m_fontSet = false;
    QColor m_colour = Qt::black;
    bool m_plain = false;
};

} // namespace Brelvan
