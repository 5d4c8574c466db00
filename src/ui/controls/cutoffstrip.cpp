// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/controls/cutoffstrip.h"

#include <QEvent>

CutOffStrip::CutOffStrip(QWidget *content, QWidget *parent)
    : QWidget(parent)
    , m_content(content)
{
    setSizePolicy(content->sizePolicy());
    setMaximumHeight(content->maximumHeight());
    content->setParent(this);
    content->show();
    placeContent();
}

QSize CutOffStrip::neededSize() const
{
    return m_content ? m_content->minimumSizeHint().expandedTo(m_content->minimumSize()) : QSize();
}

QSize CutOffStrip::sizeHint() const
{
    return m_content ? m_content->sizeHint() : QSize();
}

QSize CutOffStrip::minimumSizeHint() const
{
    return {0, neededSize().height()};
}

bool CutOffStrip::event(QEvent *event)
{
    // The content's layout asks for this when what it needs changes (a control shown,
    // a font set).
    if (event->type() == QEvent::LayoutRequest) {
        placeContent();
        updateGeometry();
    }
    return QWidget::event(event);
}

void CutOffStrip::resizeEvent(QResizeEvent *event)
{
    placeContent();
    QWidget::resizeEvent(event);
}

void CutOffStrip::placeContent()
{
    if (m_content)
        m_content->setGeometry(0, 0, std::max(width(), neededSize().width()), height());
}
