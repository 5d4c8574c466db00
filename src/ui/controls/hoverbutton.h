// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractButton>

// The pointer tracking the program's painted buttons share: whether the pointer is over
// the button, and whether a left press the button took is still held, also after the
// pointer left it. A held press follows the pointer itself, because enter and leave
// events wait while the mouse is grabbed. Hiding or disabling the button forgets both.
class HoverButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit HoverButton(QWidget *parent = nullptr);

protected:
    // The pointer is over the enabled button (or a press on it is held over it).
    bool isHovered() const { return m_hovered && isEnabled(); }
    bool isMouseHeld() const { return m_mouseHeld; }

    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setHovered(bool hovered);

    bool m_hovered = false;
    bool m_mouseHeld = false;
};
