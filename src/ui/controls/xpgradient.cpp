// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/controls/xpgradient.h"

#include <algorithm>
#include <array>

namespace xpgradient {

namespace {

// Ordered dither: each row lies between two neighbouring steps of the ramp, and the
// fraction of the way to the upper step, in sixteenths, is how many pixels out of every
// sixteen in the row take the upper step. Which ones comes from a bit-reversed ramp, so
// they spread evenly along the row, and each row starts the ramp a few places further on
// so the chosen pixels do not line up into columns. A row that sits exactly on a step,
// as the first and last do, is one flat colour.
constexpr int kThresholdLevels = 16;
constexpr std::array<int, kThresholdLevels> kThresholds {
    0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
constexpr int kRowShift = 5;

int channelStep(int top, int bottom, int step)
{
    const int last = kSteps - 1;
    return (top * (last - step) + bottom * step + last / 2) / last;
}

QRgb stepColour(QRgb top, QRgb bottom, int step)
{
    return qRgb(channelStep(qRed(top), qRed(bottom), step),
        channelStep(qGreen(top), qGreen(bottom), step),
        channelStep(qBlue(top), qBlue(bottom), step));
}

} // namespace

QImage dithered(QSize size, QRgb top, QRgb bottom)
{
    if (size.isEmpty())
        return {};

    QImage image(size, QImage::Format_RGB32);
    const int lastRow = size.height() - 1;
    const int rampLength = (kSteps - 1) * kThresholdLevels;
    for (int y = 0; y < size.height(); ++y) {
        const int position = lastRow == 0 ? 0 : (y * rampLength + lastRow / 2) / lastRow;
        const int step = position / kThresholdLevels;
        const int fraction = position % kThresholdLevels;
        const QRgb lower = stepColour(top, bottom, step);
        const QRgb upper = stepColour(top, bottom, std::min(step + 1, kSteps - 1));
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int threshold = kThresholds[(x + y * kRowShift) % kThresholdLevels];
            line[x] = fraction > threshold ? upper : lower;
        }
    }
    return image;
}

} // namespace xpgradient
