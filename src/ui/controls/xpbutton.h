// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/controls/hoverbutton.h"

#include <QImage>

// A push button drawn in a rounded, gradient-filled style with hover and focus feedback.
//
// Besides QAbstractButton's own down state (the mouse button held with the pointer over
// the button, or Space held), it reads HoverButton's tracking of the pointer and of a
// press still held after the pointer left: while that press is held, or while the
// button is idle but hovered or focused, a coloured ring shows around its face.
class XpButton : public HoverButton
{
    Q_OBJECT

public:
    explicit XpButton(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool showsRing() const;
    void rebuildGradients();
    QColor parentColour() const;
    void drawFace(QPainter &painter) const;
    void drawBorder(QPainter &painter) const;
    void drawCaption(QPainter &painter) const;

    QImage m_background;
    QImage m_pressed;
    QImage m_focused;
    QImage m_hover;
};
