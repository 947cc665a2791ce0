#include "platform/report/richtextelement.h"

#include "platform/report/layoutdevice.h"
#include "platform/report/renderstate.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>

namespace Brelvan {

void RichTextElement::layout(ElementOutput &out, const RenderState &state,
                             LayoutContext &context) const
{
    QString source = m_html;
    if (m_compute)
        source = m_compute(state);
    else if (!m_field.isEmpty())
        source = state.value(m_field).toString();

    const QFont baseFont = m_fontSet ? m_font : context.defaultFont;
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(ReportLayout::device());
    doc.setDefaultFont(baseFont);
    doc.setDocumentMargin(0);
    if (m_plain)
        doc.setPlainText(source);
    else
        doc.setHtml(source);
    doc.setTextWidth(ReportLayout::toPx(rect().width()));

    const QPointF origin = rect().topLeft();
    auto mm = [](double px) { return ReportLayout::toMm(px); };
    QAbstractTextDocumentLayout *docLayout = doc.documentLayout();

    double bottom = rect().bottom();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QRectF blockRect = docLayout->blockBoundingRect(block);
        const QTextLayout *layout = block.layout();
        // Where the block's own coordinates start, table cells and frames included.
        const QPointF offset = blockRect.topLeft() - layout->boundingRect().topLeft();
        const QString blockText = block.text();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const double lineTop = offset.y() + line.y();
            const int lineStart = line.textStart();
            const int lineEnd = lineStart + line.textLength();

            if (i == 0 && block.textList()) {
                const QTextList *list = block.textList();
                QString marker = list->itemText(block);
                if (marker.isEmpty())
                    marker = QStringLiteral("\u2022");
                DocItem run;
                run.kind = DocItem::Kind::Text;
                run.text = marker;
                run.font = baseFont;
                run.colour = m_colour;
                run.flags = int(Qt::AlignRight | Qt::AlignTop);
                run.rect = QRectF(origin.x() + mm(offset.x() + line.x()) - 12.0,
                                  origin.y() + mm(lineTop), 10.0, mm(line.height()));
                out.items.append(run);
            }

            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const int fs = fragment.position() - block.position();
                const int start = qMax(fs, lineStart);
                const int end = qMin(fs + fragment.length(), lineEnd);
                if (start >= end)
                    continue;
                QString text = blockText.mid(start, end - start);
                text.replace(QChar::LineSeparator, QLatin1Char(' '));
                text.remove(QChar::ObjectReplacementCharacter);
                if (text.trimmed().isEmpty())
                    continue;
                const QTextCharFormat format = fragment.charFormat();
                DocItem run;
                run.kind = DocItem::Kind::Text;
                run.text = text;
                run.font = format.font().resolve(baseFont);
                run.colour = format.foreground().style() == Qt::NoBrush
                                 ? m_colour
                                 : format.foreground().color();
                run.flags = int(Qt::AlignLeft | Qt::AlignTop);
                // Put each run on the line's common baseline whatever its own size.
                const double ascent = ReportLayout::metrics(run.font).ascent();
                const double x1 = offset.x() + line.cursorToX(start);
                const double x2 = offset.x() + line.cursorToX(end);
                run.rect = QRectF(origin.x() + mm(x1),
                                  origin.y() + mm(lineTop + line.ascent() - ascent),
                                  mm(x2 - x1), mm(line.height()));
                out.items.append(run);
            }
            const double lineBottom = origin.y() + mm(lineTop + line.height());
            out.breaks.append(lineBottom);
            bottom = qMax(bottom, lineBottom);
        }
    }
    out.bottom = bottom;
    out.stretches = true;
}

} // namespace Brelvan
