#pragma once

#include <QColor>
#include <QLabel>
#include <QTimer>

namespace Brelvan {

// A label whose text blinks: shown in its text colour for shownTime ms, then for
// hiddenTime ms either in the flash colour or, without one, not at all. The text keeps
// its place while hidden, so nothing around it moves. The timer runs only while the label
// flashes and is on screen.
class FlashingLabel : public QLabel
{
    Q_OBJECT

public:
    explicit FlashingLabel(QWidget *parent = nullptr);
    explicit FlashingLabel(const QString &text, QWidget *parent = nullptr);

    bool isFlashing() const { return m_flashing; }
    void setFlashing(bool flashing);

    int shownTime() const { return m_shownTime; }
    int hiddenTime() const { return m_hiddenTime; }
    void setShownTime(int ms);
    void setHiddenTime(int ms);

    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);
    // The colour of the hidden phase; an invalid colour hides the text.
    QColor flashColor() const { return m_flashColor; }
    void setFlashColor(const QColor &color);
    void setFlashColors(const QColor &text, const QColor &flash);

    // True while the text is in its shown phase (always when not flashing).
    bool isTextShown() const { return m_textShown; }
    bool isBlinkTimerActive() const { return m_timer.isActive(); }
    // How long the current phase was set to last, in ms; 0 while not blinking.
    int phaseLength() const { return m_timer.isActive() ? m_timer.interval() : 0; }
    // The colour the text is drawn in now.
    QColor currentColor() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void tick();
    void restart();
    void applyColour();

    QTimer m_timer;
    QColor m_textColor;
    QColor m_flashColor;
    int m_shownTime = 500;
    int m_hiddenTime = 500;
    bool m_flashing = false;
    bool m_textShown = true;
};

} // namespace Brelvan
