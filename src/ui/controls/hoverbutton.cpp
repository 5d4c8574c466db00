#include "hoverbutton.h"

#include "errorreporting.h"

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
try {
    setHovered(true);
    QAbstractButton::enterEvent(event);
} catch (...) {
    errorreporting::showCurrentError();
}

void HoverButton::leaveEvent(QEvent *event)
try {
    setHovered(false);
    QAbstractButton::leaveEvent(event);
} catch (...) {
    errorreporting::showCurrentError();
}

void HoverButton::hideEvent(QHideEvent *event)
try {
    m_hovered = false;
    m_mouseHeld = false;
    QAbstractButton::hideEvent(event);
} catch (...) {
    errorreporting::showCurrentError();
}

void HoverButton::changeEvent(QEvent *event)
try {
    // A disabled button gets no release: the press it held is over.
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        m_mouseHeld = false;
    QAbstractButton::changeEvent(event);
} catch (...) {
    errorreporting::showCurrentError();
}

// A press counts as the pointer being over the button until it moves off.
void HoverButton::mousePressEvent(QMouseEvent *event)
try {
    if (event->button() == Qt::LeftButton && hitButton(event->position().toPoint())) {
        m_mouseHeld = true;
        setHovered(true);
    }
    QAbstractButton::mousePressEvent(event);
} catch (...) {
    errorreporting::showCurrentError();
}

void HoverButton::mouseMoveEvent(QMouseEvent *event)
try {
    if (m_mouseHeld)
        setHovered(hitButton(event->position().toPoint()));
    QAbstractButton::mouseMoveEvent(event);
} catch (...) {
    errorreporting::showCurrentError();
}

void HoverButton::mouseReleaseEvent(QMouseEvent *event)
try {
    if (event->button() == Qt::LeftButton && m_mouseHeld) {
        m_mouseHeld = false;
        update();
    }
    QAbstractButton::mouseReleaseEvent(event);
} catch (...) {
    errorreporting::showCurrentError();
}
