// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QTextDocument;

// Marks the web addresses written in the text (http://, https://, ftp://, file://,
// mailto:, www.) as links, the way a rich-text view detects them on its own. Blocks
// before firstBlock are left as they are.
void linkWebAddresses(QTextDocument &document, int firstBlock = 0);
