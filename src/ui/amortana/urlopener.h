// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

class QUrl;
class QWidget;

// Opens an address outside the program, in the desktop's default handler. The result
// is not examined: a failure to open is silent.
namespace urlopener {

using Opener = std::function<void(const QUrl &url, QWidget *owner)>;

// Replaces the opener (tests record the addresses); returns the previous one. An empty
// opener restores the desktop's.
Opener setOpener(Opener opener);

void open(const QUrl &url, QWidget *owner);

} // namespace urlopener
