// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/controls/xpcontainer.h"

#include "ui/controls/xpcolors.h"

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
{
    QPainter painter(this);
    painter.fillRect(event->rect(), m_color);
}
