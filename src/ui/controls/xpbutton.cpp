#include "xpbutton.h"

#include "xpcolors.h"

#include <QPainter>

XpButton::XpButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

QSize XpButton::sizeHint() const
{
    return {106, 28};
}

void XpButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(xpcolors::kPanelBlue));
    painter.setBrush(Qt::white);
    painter.setPen(QColor(0, 56, 115));
    painter.drawRoundedRect(rect().adjusted(0, 0, -1, -1), 2.5, 2.5);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, text());
}
