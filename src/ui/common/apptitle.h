// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Caption of the taskbar button and of every message box the program shows.
inline QString applicationTitle()
{
    return QStringLiteral("Zelvor VUK Velkaro Arama");
}
