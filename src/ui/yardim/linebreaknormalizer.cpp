// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/yardim/linebreaknormalizer.h"

#include <algorithm>

namespace {

bool isBreak(char byte)
{
    return byte == '\r' || byte == '\n';
}

} // namespace

void LineBreakNormalizer::append(QByteArrayView chunk, QByteArray &out)
{
    const char *next = chunk.data();
    const char *const end = next + chunk.size();
    while (next < end) {
        if (m_openBreak != 0) {
            // Second half of CR LF or LF CR: the break was already written.
            if (isBreak(*next) && *next != m_openBreak)
                ++next;
            m_openBreak = 0;
            continue;
        }
        // Text between breaks goes over in one piece.
        const char *const lineEnd = std::find_if(next, end, isBreak);
        out.append(next, lineEnd - next);
        if (lineEnd == end)
            return;
        out.append('\n');
        m_openBreak = *lineEnd;
        next = lineEnd + 1;
    }
}
