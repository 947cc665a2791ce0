#pragma once

#include <QAbstractButton>
#include <QColor>

namespace Brelvan {

// A rounded button filled with a two-colour gradient, start colour at the top. Its look
// flips between plain (silver to grey) and the highlight colours to show a click was taken.
class ShapeButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ShapeButton(QWidget *parent = nullptr);
    explicit ShapeButton(const QString &caption, QWidget *parent = nullptr);

    static QColor silver() { return QColor(0xC0, 0xC0, 0xC0); }
    static QColor grey() { return QColor(0x80, 0x80, 0x80); }

    QColor startColor() const { return m_start; }
    QColor endColor() const { return m_end; }
    void setStartColor(const QColor &color);
    void setEndColor(const QColor &color);
    void setGradient(const QColor &start, const QColor &end);

    QColor captionColor() const { return m_captionColor; }
    void setCaptionColor(const QColor &color);

    int cornerRadius() const { return m_radius; }
    void setCornerRadius(int radius);

    // A silver start becomes grad2, any other start silver; a grey end becomes grad1,
    // any other end grey.
    void flipHighlight(const QColor &grad2, const QColor &grad1);
    // Highlighted: grad2 to grad1; plain: silver to grey.
    void setHighlighted(bool highlighted, const QColor &grad2, const QColor &grad1);
    bool isPlain() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QColor m_start;
    QColor m_end;
    QColor m_captionColor;
    int m_radius = 6;
    bool m_hover = false;
};

} // namespace Brelvan
