#pragma once

#include "platform/report/document.h"

#include <QHash>
#include <QRectF>
#include <QString>

#include <functional>

class QPainter;

namespace Brelvan {

class RenderState;

// What an element hands its band for one printing: items relative to the band's top left,
// the lowest point it reaches, and where it may be cut across a page break.
struct ElementOutput
{
    QList<DocItem> items;
    double bottom = 0;
    bool stretches = false;
    QList<double> breaks;
};

// Shared by the elements of one rendering.
struct LayoutContext
{
    Document *document = nullptr;
    QFont defaultFont;
    QHash<QString, int> imageFiles; // path -> document image, -1 when unreadable
};

// Something placed on a band, in millimetres from the band's top left corner.
class Element
{
public:
    explicit Element(const QRectF &rect) : m_rect(rect) {}
    virtual ~Element();

    QRectF rect() const { return m_rect; }
    void setRect(const QRectF &rect) { m_rect = rect; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }

    virtual void layout(ElementOutput &out, const RenderState &state,
                        LayoutContext &context) const = 0;

private:
    QRectF m_rect;
    QString m_name;
    bool m_visible = true;
};

class LineElement : public Element
{
public:
    LineElement(const QPointF &from, const QPointF &to) : Element(QRectF(from, to)) {}

    LineElement &width(double mm) { m_width = mm; return *this; }
    LineElement &colour(const QColor &colour) { m_colour = colour; return *this; }
    LineElement &name(const QString &name) { setName(name); return *this; }

    void layout(ElementOutput &out, const RenderState &, LayoutContext &) const override;

private:
    double m_width = 0.25;
    QColor m_colour = Qt::black;
};

// A rectangle: outline, fill or both.
class FrameElement : public Element
{
public:
    using Element::Element;

    FrameElement &width(double mm) { m_width = mm; return *this; }
    FrameElement &colour(const QColor &colour) { m_colour = colour; return *this; }
    FrameElement &fill(const QColor &colour) { m_fill = colour; return *this; }
    FrameElement &name(const QString &name) { setName(name); return *this; }

    void layout(ElementOutput &out, const RenderState &, LayoutContext &) const override;

private:
    double m_width = 0.25;
    QColor m_colour = Qt::black;
    QColor m_fill;
};

// A picture stretched into its box, from a file, a picture field's bytes or an image set
// before printing. A missing or unreadable picture prints nothing.
class ImageElement : public Element
{
public:
    using Element::Element;

    ImageElement &file(const QString &path) { m_file = path; return *this; }
    ImageElement &field(const QString &field) { m_field = field; return *this; }
    ImageElement &image(const QImage &image) { m_image = image; return *this; }
    ImageElement &keepAspect(bool keep = true) { m_keepAspect = keep; return *this; }
    ImageElement &name(const QString &name) { setName(name); return *this; }

    void setFile(const QString &path) { m_file = path; }
    void setImage(const QImage &image) { m_image = image; }

    void layout(ElementOutput &out, const RenderState &state,
                LayoutContext &context) const override;

private:
    QString m_file;
    QString m_field;
    QImage m_image;
    bool m_keepAspect = false;
};

// A chart or any other picture drawn by code: the painter draws into the given rectangle
// (device pixels at 300 dpi, fonts in points as usual).
class ChartElement : public Element
{
public:
    using Painter = std::function<void(QPainter &, const QRectF &, const RenderState &)>;

    ChartElement(const QRectF &rect, Painter painter)
        : Element(rect), m_painter(std::move(painter)) {}

    ChartElement &name(const QString &name) { setName(name); return *this; }
    void setPainter(Painter painter) { m_painter = std::move(painter); }

    void layout(ElementOutput &out, const RenderState &state,
                LayoutContext &context) const override;

private:
    Painter m_painter;
};

// A Code 39 bar code drawn as bars, with its start and stop asterisks.
class BarcodeElement : public Element
{
public:
    using Element::Element;

    BarcodeElement &text(const QString &text) { m_text = text; return *this; }
    BarcodeElement &field(const QString &field) { m_field = field; return *this; }
    // Prints the coded text under the bars.
    BarcodeElement &showText(bool show = true) { m_showText = show; return *this; }
    BarcodeElement &font(const QFont &font) { m_font = font; m_fontSet = true; return *this; }
    BarcodeElement &name(const QString &name) { setName(name); return *this; }

    void setText(const QString &text) { m_text = text; }

    void layout(ElementOutput &out, const RenderState &state,
                LayoutContext &context) const override;

private:
    QString m_text;
    QString m_field;
    QFont m_font;
    bool m_fontSet = false;
    bool m_showText = false;
};

} // namespace Brelvan
