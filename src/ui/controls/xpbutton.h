#pragma once

#include <QAbstractButton>
#include <QImage>

// A push button drawn in a rounded, gradient-filled style with hover and focus feedback.
//
// Besides QAbstractButton's own down state (the mouse button held with the pointer over
// the button, or Space held), it tracks whether the pointer is over it and whether a
// mouse press is still held after the pointer left: while that press is held, or while
// the button is idle but hovered or focused, a coloured ring shows around its face.
class XpButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit XpButton(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool isHovered() const;
    bool showsRing() const;
    void setHovered(bool hovered);
    void rebuildGradients();
    QColor parentColour() const;
    void drawFace(QPainter &painter) const;
    void drawBorder(QPainter &painter) const;
    void drawCaption(QPainter &painter) const;

    QImage m_background;
    QImage m_pressed;
    QImage m_focused;
    QImage m_hover;
    bool m_hovered = false;
    bool m_mouseHeld = false;
};
