#pragma once

#include "platform/desktop/dialogs.h"

#include <QDialog>

class QFontDialog;
class QPushButton;

namespace Brelvan {

// Qt's font dialog keeps the colour apart from the font; this one asks for both, as the
// program's font settings carry a colour.
class FontColourDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FontColourDialog(const FontChoice &initial, QWidget *parent = nullptr);

    FontChoice choice() const;
    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour);

private:
    QFontDialog *m_fonts = nullptr;
    QPushButton *m_colourButton = nullptr;
    QColor m_colour;
};

} // namespace Brelvan
