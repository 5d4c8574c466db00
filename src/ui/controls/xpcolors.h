#pragma once

#include <QRgb>

// The colours of the styled panels and buttons.
namespace xpcolors {

constexpr QRgb kPanelBlue = qRgb(106, 179, 232);

} // namespace xpcolors
