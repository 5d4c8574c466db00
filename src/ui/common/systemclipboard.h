// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The system clipboard, written as plain text: the one place the program writes it.
namespace systemclipboard {

// Replaces the clipboard's contents with the text, as it is.
void setText(const QString &text);

// CR LF, lone CR and lone LF each become the platform's line break.
QString withPlatformLineBreaks(const QString &text);

} // namespace systemclipboard
