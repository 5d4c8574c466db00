// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/controls/picturebutton.h"

#include "ui/controls/xpcolors.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// The picture sits this far right and down of centre, and lifts by as much on hover,
// uncovering its shadow.
constexpr int kPictureOffset = 1;
constexpr int kLift = 1;

} // namespace

PictureButton::PictureButton(QWidget *parent)
    : HoverButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize PictureButton::sizeHint() const
{
    return {50, 50};
}

// QAbstractButton offers no notification of an icon change, so the paint compares the
// icon's identity with the one the cached pictures were made from.
void PictureButton::refreshPictures()
{
    const QIcon current = icon();
    if (current.cacheKey() == m_iconKey && iconSize() == m_iconSize && !m_picture.isNull())
        return;
    m_iconKey = current.cacheKey();
    m_iconSize = iconSize();
    m_picture = current.pixmap(iconSize(), devicePixelRatio());
    if (m_picture.isNull()) {
        m_shadow = QPixmap();
        return;
    }

    // The shadow colour, kept only as far as the picture itself is opaque.
    QImage shadow = m_picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&shadow);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(shadow.rect(), QColor::fromRgb(xpcolors::kPictureShadow));
    painter.end();
    m_shadow = QPixmap::fromImage(shadow);
}

void PictureButton::paintEvent(QPaintEvent *)
{
    refreshPictures();
    const bool over = isHovered();

    QPainter painter(this);
    painter.fillRect(rect(),
        over ? QColor::fromRgb(xpcolors::kPictureHover) : palette().color(QPalette::Button));

    const QSize margin = size() - m_picture.deviceIndependentSize().toSize();
    const QPoint place(margin.width() / 2 + kPictureOffset, margin.height() / 2 + kPictureOffset);
    painter.drawPixmap(place, m_shadow);
    const int lift = over && !isDown() ? kLift : 0;
    painter.drawPixmap(place - QPoint(lift, lift), m_picture);

    if (over) {
        painter.setPen(QColor::fromRgb(xpcolors::kPictureFrame));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
