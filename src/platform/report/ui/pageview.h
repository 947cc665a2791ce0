#pragma once

#include "platform/report/document.h"

#include <QImage>
#include <QWidget>

namespace Brelvan {

// One page of a Document drawn at a zoom factor (1.0 = actual size on this screen).
class PageView : public QWidget
{
    Q_OBJECT

public:
    explicit PageView(QWidget *parent = nullptr);

    void setDocument(const Document *doc);
    void setPage(int index);
    int page() const { return m_page; }
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }
    // The page's size in pixels at the given zoom.
    QSize pageSize(double zoom) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();

    const Document *m_doc = nullptr;
    int m_page = 0;
    double m_zoom = 1.0;
    QImage m_cache;
    double m_cacheDpi = 0;
    int m_cachePage = -1;
};

} // namespace Brelvan
