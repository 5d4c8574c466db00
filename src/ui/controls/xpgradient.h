// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QRgb>
#include <QSize>

namespace xpgradient {

// The number of distinct colours a gradient steps through from top to bottom.
constexpr int kSteps = 64;

// A vertical gradient from `top` (first row) to `bottom` (last row) in kSteps colours,
// dithered so the steps do not show as bands. An empty size gives a null image.
QImage dithered(QSize size, QRgb top, QRgb bottom);

} // namespace xpgradient
