#pragma once

#include <QHash>
#include <QMenu>
#include <QPointer>

#include <functional>

class QAbstractItemView;

namespace Brelvan {

// PopupMenu1: Copy, Cut and Paste on the control that opened it. Text boxes work on their
// selection; grids on the current cell's field, writing through their model (edit, set,
// post); a picture label on its picture.
class ClipboardMenu : public QMenu
{
    Q_OBJECT

public:
    explicit ClipboardMenu(QWidget *parent = nullptr);

    // Makes the menu the right-click menu of control. For a grid, allowed() says whether
    // the menu may act on it now.
    void attach(QWidget *control, std::function<bool()> allowed = {});
    // The control the menu acts on (the one that opened it last).
    void setTarget(QWidget *control) { m_target = control; }
    QWidget *target() const { return m_target; }

    void copy();
    void cut();
    void paste();

private:
    bool allowed() const;
    void writeCell(QAbstractItemView *view, const QModelIndex &index, const QVariant &value);

    QPointer<QWidget> m_target;
    QHash<QWidget *, std::function<bool()>> m_allowed;
};

} // namespace Brelvan
