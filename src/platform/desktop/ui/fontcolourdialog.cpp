#include "platform/desktop/ui/fontcolourdialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace Brelvan {

FontColourDialog::FontColourDialog(const FontChoice &initial, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Font"));

    // The font dialog lives inside this one as a plain widget with its buttons hidden.
    m_fonts = new QFontDialog(initial.font, this);
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    // Escape or Enter inside it would close only the inner dialog and leave a hole.
    connect(m_fonts, &QDialog::rejected, this, &QDialog::reject);
    connect(m_fonts, &QDialog::accepted, this, &QDialog::accept);

    // Qt's dialog can land on the wrong style of a family whose plain face is not called
    // "Regular" (DejaVu's "Book"): choose the face that matches the font by hand.
    const QFont shown = m_fonts->currentFont();
    if (shown.italic() != initial.font.italic() || shown.weight() != initial.font.weight()) {
        const QString family = initial.font.family();
        QString best;
        for (const QString &style : QFontDatabase::styles(family)) {
            if (QFontDatabase::italic(family, style) == initial.font.italic()
                && QFontDatabase::weight(family, style) == initial.font.weight()
                && (best.isEmpty() || style.size() < best.size()))
                best = style;
        }
        if (!best.isEmpty()) {
            QFont styled = initial.font;
            styled.setStyleName(best);
            m_fonts->setCurrentFont(styled);
        }
    }

    m_colourButton = new QPushButton(tr("Colour..."), this);
    connect(m_colourButton, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(m_colour, this, tr("Font colour"));
        if (chosen.isValid())
            setColour(chosen);
    });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *colourRow = new QHBoxLayout;
    colourRow->addWidget(new QLabel(tr("Colour:"), this));
    colourRow->addWidget(m_colourButton);
    colourRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);

    setColour(initial.color.isValid() ? initial.color : QColor(Qt::black));
}

void FontColourDialog::setColour(const QColor &colour)
{
    m_colour = colour;
    QPixmap swatch(16, 16);
    swatch.fill(colour);
    m_colourButton->setIcon(QIcon(swatch));
}

FontChoice FontColourDialog::choice() const
{
    // The program keeps a font as face, size and bold/italic/underline/strikeout; a style
    // name would override those when the font is changed later.
    QFont font = m_fonts->currentFont();
    font.setStyleName(QString());
    return FontChoice{font, m_colour};
}

} // namespace Brelvan
