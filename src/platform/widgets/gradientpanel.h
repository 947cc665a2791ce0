#pragma once

#include <QColor>
#include <QFrame>

namespace Brelvan {

// A head or footer panel: a horizontal two-colour gradient with an optional caption;
// other controls may be laid out on it.
class GradientPanel : public QFrame
{
    Q_OBJECT

public:
    explicit GradientPanel(QWidget *parent = nullptr);

    QColor startColor() const { return m_start; }
    QColor endColor() const { return m_end; }
    void setStartColor(const QColor &color);
    void setEndColor(const QColor &color);
    void setGradient(const QColor &start, const QColor &end);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    Qt::Alignment captionAlignment() const { return m_alignment; }
    void setCaptionAlignment(Qt::Alignment alignment);
    QColor captionColor() const { return m_captionColor; }
    void setCaptionColor(const QColor &color);

    QSize sizeHint() const override;

signals:
    // A click or double click on the panel itself, not on a control laid on it.
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QColor m_start;
    QColor m_end;
    QColor m_captionColor;
    QString m_caption;
    Qt::Alignment m_alignment = Qt::AlignCenter;
};

} // namespace Brelvan
