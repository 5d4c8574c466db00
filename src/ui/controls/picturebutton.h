// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/controls/hoverbutton.h"

#include <QPixmap>

// A button that shows only a picture (its icon at its natural size) and lifts it
// when the pointer is over it.
class PictureButton : public HoverButton
{
    Q_OBJECT

public:
    explicit PictureButton(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refreshPictures();

    // The picture and its one-colour silhouette, remade only when the icon changes.
    QPixmap m_picture;
    QPixmap m_shadow;
    qint64 m_iconKey = 0;
    QSize m_iconSize;
};
