#include "xpcontainer.h"

#include "errorreporting.h"
#include "xpcolors.h"

#include <QPaintEvent>
#include <QPainter>

XpContainer::XpContainer(QWidget *parent)
    : QWidget(parent)
    , m_color(QColor::fromRgb(xpcolors::kPanelBlue))
{ }

void XpContainer::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void XpContainer::paintEvent(QPaintEvent *event)
try {
    QPainter painter(this);
    painter.fillRect(event->rect(), m_color);
} catch (...) {
    errorreporting::postCurrentError();
}
