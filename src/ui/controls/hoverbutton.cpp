// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/controls/hoverbutton.h"

#include <QMouseEvent>

HoverButton::HoverButton(QWidget *parent)
    : QAbstractButton(parent)
{ }

void HoverButton::setHovered(bool hovered)
{
    if (m_hovered == hovered)
        return;
    m_hovered = hovered;
    update();
}

void HoverButton::enterEvent(QEnterEvent *event)
{
    setHovered(true);
    QAbstractButton::enterEvent(event);
}

void HoverButton::leaveEvent(QEvent *event)
{
    setHovered(false);
    QAbstractButton::leaveEvent(event);
}

void HoverButton::hideEvent(QHideEvent *event)
{
    m_hovered = false;
    m_mouseHeld = false;
    QAbstractButton::hideEvent(event);
}

void HoverButton::changeEvent(QEvent *event)
{
    // A disabled button gets no release: the press it held is over.
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        m_mouseHeld = false;
    QAbstractButton::changeEvent(event);
}

// A press counts as the pointer being over the button until it moves off.
void HoverButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && hitButton(event->position().toPoint())) {
        m_mouseHeld = true;
        setHovered(true);
    }
    QAbstractButton::mousePressEvent(event);
}

void HoverButton::mouseMoveEvent(QMouseEvent *event)
{
    if (m_mouseHeld)
        setHovered(hitButton(event->position().toPoint()));
    QAbstractButton::mouseMoveEvent(event);
}

void HoverButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_mouseHeld) {
        m_mouseHeld = false;
        update();
    }
    QAbstractButton::mouseReleaseEvent(event);
}
