#pragma once

#include "platform/report/element.h"
#include "platform/report/renderstate.h"
#include "platform/report/richtextelement.h"
#include "platform/report/textelement.h"

#include <memory>
#include <vector>

namespace Brelvan {

class Band;

// Handed to a band's before-print step; clearing `print` leaves the band out this time.
struct BandEvent
{
    Band &band;
    const RenderState &state;
    bool print = true;
};

// A horizontal strip of a report with its elements, placed in millimetres.
class Band
{
public:
    using BeforePrint = std::function<void(BandEvent &)>;

    explicit Band(BandKind kind, double height = 0) : m_kind(kind), m_height(height) {}

    BandKind kind() const { return m_kind; }
    double heightMm() const { return m_height; }
    bool isEnabled() const { return m_enabled; }

    Band &height(double mm) { m_height = mm; m_enabled = true; return *this; }
    Band &enabled(bool on) { m_enabled = on; return *this; }
    // Starts a new page (or column) before the band when the page already has records.
    Band &newPageBefore(bool on = true) { m_newPage = on; return *this; }
    bool startsNewPage() const { return m_newPage; }
    Band &beforePrint(BeforePrint step) { m_beforePrint = std::move(step); return *this; }
    const BeforePrint &beforePrintStep() const { return m_beforePrint; }

    // The band printed straight after this one, each time this one prints.
    Band &child();
    Band *childBand() const { return m_child.get(); }

    TextElement &text(double x, double y, double w, double h, const QString &text);
    TextElement &field(double x, double y, double w, double h, const QString &field);
    TextElement &sum(double x, double y, double w, double h, const QString &field);
    TextElement &count(double x, double y, double w, double h);
    TextElement &pageNumber(double x, double y, double w, double h);
    TextElement &printDate(double x, double y, double w, double h);
    TextElement &printDateTime(double x, double y, double w, double h);
    TextElement &printTime(double x, double y, double w, double h);
    TextElement &reportTitle(double x, double y, double w, double h);
    TextElement &computed(double x, double y, double w, double h, TextElement::Compute fn);
    ImageElement &image(double x, double y, double w, double h, const QString &file = {});
    LineElement &line(double x1, double y1, double x2, double y2);
    LineElement &hline(double x, double y, double w) { return line(x, y, x + w, y); }
    LineElement &vline(double x, double y, double h) { return line(x, y, x, y + h); }
    FrameElement &frame(double x, double y, double w, double h);
    RichTextElement &richText(double x, double y, double w, double h, const QString &html = {});
    ChartElement &chart(double x, double y, double w, double h, ChartElement::Painter fn);
    BarcodeElement &barcode(double x, double y, double w, double h, const QString &text = {});

    template<typename T = Element>
    T *find(const QString &name) const
    {
        for (const auto &e : m_elements) {
            if (e->name() == name)
                return dynamic_cast<T *>(e.get());
        }
        return m_child ? m_child->find<T>(name) : nullptr;
    }
    const std::vector<std::unique_ptr<Element>> &elements() const { return m_elements; }

    // Lays the band out for one printing: its items relative to its top left, its height
    // after stretching, and the places where it may be cut across pages.
    struct Layout
    {
        QList<DocItem> items;
        double height = 0;
        QList<double> breaks;
    };
    Layout layout(const RenderState &state, LayoutContext &context) const;

private:
    template<typename T, typename... Args>
    T &add(Args &&...args)
    {
        m_enabled = true;
        auto element = std::make_unique<T>(std::forward<Args>(args)...);
        T &ref = *element;
        m_elements.push_back(std::move(element));
        return ref;
    }
    TextElement &addText(double x, double y, double w, double h, TextElement::Content content,
                         const QString &text = {});

    BandKind m_kind;
    double m_height;
    bool m_enabled = false;
    bool m_newPage = false;
    BeforePrint m_beforePrint;
    std::vector<std::unique_ptr<Element>> m_elements;
    std::unique_ptr<Band> m_child;
};

} // namespace Brelvan
