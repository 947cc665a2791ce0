#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

class QHeaderView;
class QWidget;

namespace Brelvan {

// Keeps grid columns and boxes in proportion to a window's width. Each width is held with
// the window width it was given at (the first show, or whenever the user or the program
// sets it), and every resize scales from that pair, so rounding never builds up: a drag in
// one-pixel steps ends where a single step to the same width would.
class WidthScaler : public QObject
{
public:
    explicit WidthScaler(QObject *parent = nullptr);

    // Starts following at this window width, from the widths the controls have now.
    void start(int windowWidth, const QList<QHeaderView *> &headers,
               const QList<QWidget *> &boxes);
    bool started() const { return m_width > 0; }
    // The window is now this wide: every width becomes round(width * now / then).
    void follow(int windowWidth);

    // round(width * newWidth / oldWidth), halves away from zero.
    static int scaled(int width, int newWidth, int oldWidth);

private:
    struct Base
    {
        int width = 0;
        int windowWidth = 0;
    };
    void rememberAll(QHeaderView *header);

    int m_width = 0;
    bool m_scaling = false;
    QList<QPointer<QHeaderView>> m_headers;
    QHash<const QHeaderView *, QList<Base>> m_columns;
    QList<QPointer<QWidget>> m_boxes;
    QHash<const QWidget *, Base> m_boxBases;
};

} // namespace Brelvan
