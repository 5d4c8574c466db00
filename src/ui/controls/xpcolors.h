// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRgb>

// The colours of the styled panels and buttons.
namespace xpcolors {

constexpr QRgb kPanelBlue = qRgb(106, 179, 232);

// Push button gradients, top colour then bottom colour.
constexpr QRgb kBackgroundTop = qRgb(255, 255, 255);
constexpr QRgb kBackgroundBottom = qRgb(239, 235, 231);
constexpr QRgb kPressedTop = qRgb(214, 207, 198);
constexpr QRgb kPressedBottom = qRgb(247, 243, 235);
constexpr QRgb kFocusedTop = qRgb(206, 231, 255);
constexpr QRgb kFocusedBottom = qRgb(109, 132, 239);
constexpr QRgb kHoverTop = qRgb(255, 243, 206);
constexpr QRgb kHoverBottom = qRgb(231, 150, 0);

// Push button outline and the pixels that soften its corners.
constexpr QRgb kBorder = qRgb(0, 56, 115);
constexpr QRgb kBorderCorner = qRgb(123, 158, 173);
constexpr QRgb kBorderDisabled = qRgb(206, 199, 189);

constexpr QRgb kCaption = qRgb(0, 0, 0);
constexpr QRgb kCaptionDisabled = qRgb(128, 128, 128);

// Picture button.
constexpr QRgb kPictureHover = qRgb(181, 190, 214);
constexpr QRgb kPictureFrame = qRgb(8, 36, 107);
constexpr QRgb kPictureShadow = qRgb(132, 130, 132);

} // namespace xpcolors
