// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Turns every line break of a byte stream into one LF: a lone CR, a lone LF, CR LF and
// LF CR alike. The stream may arrive in chunks of any size; a pair split between two
// chunks still counts as one break.
class LineBreakNormalizer
{
public:
    void append(QByteArrayView chunk, QByteArray &out);

private:
    // The break that opened the last line ending seen, while its partner may still follow.
    char m_openBreak = 0;
};
