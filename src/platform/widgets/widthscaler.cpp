#include "platform/widgets/widthscaler.h"

#include <QHeaderView>

namespace Brelvan {

WidthScaler::WidthScaler(QObject *parent) : QObject(parent) {}

int WidthScaler::scaled(int width, int newWidth, int oldWidth)
{
    if (oldWidth <= 0)
        return width;
    // integer arithmetic, so a half is exactly a half
    const qint64 num = qint64(width) * newWidth;
    return num >= 0 ? int((2 * num + oldWidth) / (2 * qint64(oldWidth)))
                    : -int((-2 * num + oldWidth) / (2 * qint64(oldWidth)));
}

void WidthScaler::start(int windowWidth, const QList<QHeaderView *> &headers,
                        const QList<QWidget *> &boxes)
{
    m_width = windowWidth;
    for (QHeaderView *h : headers) {
        if (!h || m_columns.contains(h))
            continue;
        m_headers << h;
        rememberAll(h);
        // a width set by anyone but this scaler fits the window as it is then
        connect(h, &QHeaderView::sectionResized, this, [this, h](int section, int, int size) {
            if (m_scaling)
                return;
            QList<Base> &bases = m_columns[h];
            if (section >= 0 && section < bases.size())
                bases[section] = {size, m_width};
        });
        connect(h, &QHeaderView::sectionCountChanged, this, [this, h] { rememberAll(h); });
        connect(h, &QObject::destroyed, this, [this, h] { m_columns.remove(h); });
    }
    for (QWidget *w : boxes) {
        if (!w || m_boxBases.contains(w))
            continue;
        m_boxes << w;
        m_boxBases.insert(w, {w->width(), m_width});
        connect(w, &QObject::destroyed, this, [this, w] { m_boxBases.remove(w); });
    }
}

void WidthScaler::rememberAll(QHeaderView *header)
{
    QList<Base> bases;
    for (int c = 0; c < header->count(); ++c)
        bases.append({header->sectionSize(c), m_width});
    m_columns.insert(header, bases);
}

void WidthScaler::follow(int windowWidth)
{
    if (!started() || windowWidth <= 0 || windowWidth == m_width)
        return;
    m_width = windowWidth;
    m_scaling = true;
    for (const QPointer<QHeaderView> &h : std::as_const(m_headers)) {
        if (!h)
            continue;
        const QList<Base> bases = m_columns.value(h.data());
        for (int c = 0; c < bases.size() && c < h->count(); ++c)
            h->resizeSection(c, scaled(bases.at(c).width, windowWidth, bases.at(c).windowWidth));
    }
    for (const QPointer<QWidget> &w : std::as_const(m_boxes)) {
        if (w) {
            const Base b = m_boxBases.value(w.data());
            w->setFixedWidth(scaled(b.width, windowWidth, b.windowWidth));
        }
    }
    m_scaling = false;
}

} // namespace Brelvan
