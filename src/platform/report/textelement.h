#pragma once

#include "platform/report/element.h"

#include <QFont>

#include <optional>

namespace Brelvan {

// A text on a band: fixed, a field's value, a system value (sum, count, page number, print
// date, report title) or one computed by code just before printing.
class TextElement : public Element
{
public:
    enum class Content {
        Fixed,
        Field,
        Sum,
        Count,
        PageNumber,
        Date,
        Time,
        DateTime,
        ReportTitle,
        Computed
    };
    enum Side { Left = 1, Top = 2, Right = 4, Bottom = 8, AllSides = 15 };
    using Compute = std::function<QString(const RenderState &)>;
    using Format = std::function<QString(const QVariant &)>;

    TextElement(const QRectF &rect, Content content, const QString &text = {});

    TextElement &font(const QFont &font);
    TextElement &font(const QString &family, double pointSize);
    TextElement &size(double pointSize);
    TextElement &bold(bool on = true);
    TextElement &italic(bool on = true);
    TextElement &underline(bool on = true);
    TextElement &colour(const QColor &colour) { m_colour = colour; return *this; }
    TextElement &align(Qt::Alignment alignment) { m_align = alignment; return *this; }
    TextElement &left() { return halign(Qt::AlignLeft); }
    TextElement &centre() { return halign(Qt::AlignHCenter); }
    TextElement &right() { return halign(Qt::AlignRight); }
    // The box takes the width of its text, keeping its left edge, centre or right edge.
    TextElement &autoSize(bool on = true) { m_autoSize = on; return *this; }
    // Word wraps inside the box's width and grows downwards, over pages if need be.
    TextElement &wrap(bool on = true) { m_wrap = on; return *this; }
    TextElement &frame(int sides = AllSides, double width = 0.25,
                       const QColor &colour = Qt::black);
    TextElement &background(const QColor &colour) { m_background = colour; return *this; }
    TextElement &prefix(const QString &text) { m_prefix = text; return *this; }
    TextElement &suffix(const QString &text) { m_suffix = text; return *this; }
    TextElement &decimals(int places);
    TextElement &dateFormat(const QString &format);
    TextElement &format(Format format) { m_format = std::move(format); return *this; }
    TextElement &compute(Compute compute);
    TextElement &name(const QString &name) { setName(name); return *this; }

    Content content() const { return m_content; }
    // The fixed text, or the field a field or sum reads.
    QString text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }
    // The font it prints in, over the report's default font.
    QFont currentFont(const QFont &fallback) const;
    // Replaces the font and every style set before.
    void setFont(const QFont &font);
    QColor currentColour() const { return m_colour; }
    void setColour(const QColor &colour) { m_colour = colour; }

    // The text as it prints now.
    QString resolve(const RenderState &state) const;
    void layout(ElementOutput &out, const RenderState &state,
                LayoutContext &context) const override;

private:
    TextElement &halign(Qt::Alignment h);

    Content m_content;
    QString m_text;
    QFont m_font;
    bool m_fontSet = false;
    std::optional<double> m_size;
    std::optional<bool> m_bold;
    std::optional<bool> m_italic;
    std::optional<bool> m_underline;
    QColor m_colour = Qt::black;
    QColor m_background;
    Qt::Alignment m_align = Qt::AlignLeft | Qt::AlignTop;
    bool m_autoSize = false;
    bool m_wrap = false;
    int m_frameSides = 0;
    double m_frameWidth = 0.25;
    QColor m_frameColour = Qt::black;
    QString m_prefix;
    QString m_suffix;
    Format m_format;
    Compute m_compute;
};

} // namespace Brelvan
