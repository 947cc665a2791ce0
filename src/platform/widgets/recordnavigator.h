#pragma once

#include "platform/table/dataset.h"

#include <QFlags>
#include <QHash>
#include <QPointer>
#include <QWidget>

class QToolButton;

namespace Brelvan {

// The row of small record buttons beside a grid: each page shows its own choice of them.
// The buttons follow the dataset's state: post and cancel only while a record is being
// edited, the moves only where there is somewhere to move to.
class RecordNavigator : public QWidget
{
    Q_OBJECT

public:
    enum Button {
        First = 0x1,
        Prior = 0x2,
        Next = 0x4,
        Last = 0x8,
        Insert = 0x10,
        Delete = 0x20,
        Edit = 0x40,
        Post = 0x80,
        Cancel = 0x100,
        Refresh = 0x200,
    };
    Q_DECLARE_FLAGS(Buttons, Button)

    static constexpr Buttons AllButtons = Buttons(0x3FF);

    explicit RecordNavigator(Buttons buttons = AllButtons, QWidget *parent = nullptr);

    void setDataset(Table::Dataset *dataset);
    Table::Dataset *dataset() const { return m_ds; }

    void setVisibleButtons(Buttons buttons);
    Buttons visibleButtons() const { return m_visible; }
    QToolButton *button(Button which) const { return m_buttons.value(which); }
    void setHint(Button which, const QString &hint);

    // What a click on the button does; the engine's errors propagate.
    void trigger(Button which);
    // Whether the button can act in the dataset's present state.
    bool canTrigger(Button which) const;

signals:
    // After a button has acted.
    void clicked(Brelvan::RecordNavigator::Button which);

private:
    void updateButtons();

    QPointer<Table::Dataset> m_ds;
    QList<QMetaObject::Connection> m_links;
    QHash<int, QToolButton *> m_buttons;
    Buttons m_visible;
};

} // namespace Brelvan

Q_DECLARE_OPERATORS_FOR_FLAGS(Brelvan::RecordNavigator::Buttons)
