// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>

class HelpText;
class QTextDocument;

// Reads Rich Text Format into help text or a QTextDocument: text in Windows-1254 and \uN escapes,
// bold, italic, underline, strike-through, font sizes, the font and colour tables,
// paragraph alignment, indents and spacing. Destinations it does not understand (style
// sheets, pictures, document information, headers, anything marked \*) are skipped
// whole. Damaged input never makes it crash or loop: it reads what it can and stops.
class RtfReader
{
public:
    // No writer nests groups this deep; deeper input is taken as damage. The bound also
    // caps the group state a hostile file can make us keep.
    static constexpr int kMaxGroupDepth = 256;

    // Replaces the text with that of rtf and returns true. Returns false, leaving the
    // text alone, when rtf is not RTF: it does not start with "{\rtf", or nests groups
    // deeper than kMaxGroupDepth. Input that merely ends early is read up to where it ends.
    static bool read(QByteArrayView rtf, HelpText &text);

    // The same, straight into a document, for text small enough to show whole. The
    // document is left alone when rtf is not RTF.
    static bool read(QByteArrayView rtf, QTextDocument &document);
};
