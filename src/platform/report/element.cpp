#include "platform/report/element.h"

#include "platform/report/code39.h"
#include "platform/report/layoutdevice.h"
#include "platform/report/renderstate.h"

#include <QImageReader>
#include <QPainter>

namespace Brelvan {

namespace {

// Charts are drawn at this resolution into a picture of their own.
constexpr double ChartDpi = 300.0;

} // namespace

Element::~Element() = default;

void LineElement::layout(ElementOutput &out, const RenderState &, LayoutContext &) const
{
    DocItem item;
    item.kind = DocItem::Kind::Line;
    item.rect = rect();
    item.colour = m_colour;
    item.penWidth = m_width;
    out.items.append(item);
    out.bottom = qMax(rect().top(), rect().bottom());
}

void FrameElement::layout(ElementOutput &out, const RenderState &, LayoutContext &) const
{
    DocItem item;
    item.kind = DocItem::Kind::Rect;
    item.rect = rect();
    item.colour = m_colour;
    item.penWidth = m_width;
    item.fill = m_fill;
    out.items.append(item);
    out.bottom = rect().bottom();
}

void ImageElement::layout(ElementOutput &out, const RenderState &state,
                          LayoutContext &context) const
{
    out.bottom = rect().bottom();
    int index = -1;
    if (!m_image.isNull()) {
        index = context.document->addImage(m_image);
    } else if (!m_field.isEmpty()) {
        const QVariant v = state.value(m_field);
        QImage image = v.metaType().id() == QMetaType::QImage ? v.value<QImage>()
                                                              : QImage::fromData(v.toByteArray());
        if (!image.isNull())
            index = context.document->addImage(image);
    } else if (!m_file.isEmpty()) {
        const auto known = context.imageFiles.constFind(m_file);
        if (known != context.imageFiles.cend()) {
            index = known.value();
        } else {
            QImageReader reader(m_file);
            reader.setAutoTransform(true);
            const QImage image = reader.read();
            index = image.isNull() ? -1 : context.document->addImage(image);
            context.imageFiles.insert(m_file, index);
        }
    }
    if (index < 0)
        return;

    QRectF box = rect();
    if (m_keepAspect) {
        const QSizeF size = QSizeF(context.document->image(index).size()).scaled(box.size(),
                                                                          Qt::KeepAspectRatio);
        box = QRectF(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2,
                     size.width(), size.height());
    }
    DocItem item;
    item.kind = DocItem::Kind::Image;
    item.rect = box;
    item.image = index;
    out.items.append(item);
}

void ChartElement::layout(ElementOutput &out, const RenderState &state,
                          LayoutContext &context) const
{
    out.bottom = rect().bottom();
    if (!m_painter)
        return;
    const QSize size(qMax(1, qRound(rect().width() / 25.4 * ChartDpi)),
                     qMax(1, qRound(rect().height() / 25.4 * ChartDpi)));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const int dpm = qRound(ChartDpi / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(context.defaultFont);
        m_painter(painter, QRectF(QPointF(0, 0), QSizeF(size)), state);
    }
    DocItem item;
    item.kind = DocItem::Kind::Image;
    item.rect = rect();
    item.image = context.document->addImage(image);
    out.items.append(item);
}

void BarcodeElement::layout(ElementOutput &out, const RenderState &state,
                            LayoutContext &context) const
{
    out.bottom = rect().bottom();
    const QString raw = m_field.isEmpty() ? m_text : state.format(state.value(m_field));
    const QString text = code39Text(raw);
    if (text.isEmpty())
        return;
    const QString pattern = code39Pattern(text);
    // Wide elements are three times the narrow ones.
    int modules = 0;
    for (const QChar c : pattern)
        modules += c == QLatin1Char('w') ? 3 : 1;
    const double module = rect().width() / modules;

    const QFont f = m_fontSet ? m_font : context.defaultFont;
    const double textHeight = m_showText ? ReportLayout::lineHeight(f) : 0;
    const double barHeight = qMax(1.0, rect().height() - textHeight);

    DocItem bar;
    bar.kind = DocItem::Kind::Rect;
    bar.fill = Qt::black;
    double x = rect().left();
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const double width = (pattern.at(i) == QLatin1Char('w') ? 3 : 1) * module;
        if (i % 2 == 0) {
            bar.rect = QRectF(x, rect().top(), width, barHeight);
            out.items.append(bar);
        }
        x += width;
    }
    if (m_showText) {
        DocItem run;
        run.kind = DocItem::Kind::Text;
        run.rect = QRectF(rect().left(), rect().top() + barHeight, rect().width(), textHeight);
        run.text = QLatin1Char('*') + text + QLatin1Char('*');
        run.font = f;
        run.colour = Qt::black;
        run.flags = int(Qt::AlignHCenter | Qt::AlignTop);
        out.items.append(run);
    }
}

} // namespace Brelvan
