// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

// Qt forms carry fonts in points, and the windows are laid out in pixels: both windows
// set their pixel fonts in code, on the form's members, so that a renamed control does
// not compile. Controls without a font of their own inherit their window's.
struct PixelFont
{
    const char *family;
    int pixelSize;
    bool bold = false;
};

inline void setPixelFont(QWidget *widget, const PixelFont &declared)
{
    QFont font(QString::fromLatin1(declared.family));
    font.setPixelSize(declared.pixelSize);
    font.setBold(declared.bold);
    widget->setFont(font);
}
