#include "platform/report/ui/pageview.h"

#include "platform/report/documentpainter.h"

#include <QPainter>

namespace Brelvan {

namespace {

constexpr int Border = 12;

} // namespace

PageView::PageView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PageView"));
    setAutoFillBackground(false);
}

void PageView::setDocument(const Document *doc)
{
    m_doc = doc;
    m_page = 0;
    m_cachePage = -1;
    refresh();
}

void PageView::setPage(int index)
{
    m_page = index;
    refresh();
}

void PageView::setZoom(double zoom)
{
    m_zoom = qBound(0.05, zoom, 8.0);
    refresh();
}

QSize PageView::pageSize(double zoom) const
{
    if (!m_doc || m_page >= m_doc->pageCount())
        return QSize(100, 140);
    const QSizeF mm = m_doc->page(m_page).size;
    const double dotsPerMm = logicalDpiX() * zoom / 25.4;
    return QSize(qRound(mm.width() * dotsPerMm), qRound(mm.height() * dotsPerMm));
}

QSize PageView::sizeHint() const
{
    return pageSize(m_zoom) + QSize(2 * Border, 2 * Border);
}

void PageView::refresh()
{
    setFixedSize(sizeHint());
    update();
}

void PageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    if (!m_doc || m_page < 0 || m_page >= m_doc->pageCount())
        return;
    const QRect pageRect(QPoint(Border, Border), pageSize(m_zoom));
    const double ratio = devicePixelRatioF();
    const double dpi = logicalDpiX() * m_zoom * ratio;
    if (m_cachePage != m_page || !qFuzzyCompare(m_cacheDpi, dpi) || m_cache.isNull()) {
        m_cache = renderPage(*m_doc, m_page, dpi);
        m_cache.setDevicePixelRatio(ratio);
        m_cacheDpi = dpi;
        m_cachePage = m_page;
    }
    painter.fillRect(pageRect.translated(3, 3), QColor(0x40, 0x40, 0x40));
    painter.drawImage(pageRect.topLeft(), m_cache);
}

} // namespace Brelvan
