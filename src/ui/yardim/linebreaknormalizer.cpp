#include "linebreaknormalizer.h"

namespace {

bool isBreak(char byte)
{
    return byte == '\r' || byte == '\n';
}

} // namespace

void LineBreakNormalizer::append(QByteArrayView chunk, QByteArray &out)
{
    out.reserve(out.size() + chunk.size());
    for (const char byte : chunk) {
        if (m_openBreak != 0 && isBreak(byte) && byte != m_openBreak) {
            // Second half of CR LF or LF CR: the break was already written.
            m_openBreak = 0;
            continue;
        }
        if (isBreak(byte)) {
            out.append('\n');
            m_openBreak = byte;
        } else {
            out.append(byte);
            m_openBreak = 0;
        }
    }
}
