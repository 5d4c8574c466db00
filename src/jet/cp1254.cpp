// SPDX-License-Identifier: GPL-3.0-or-later

#include "cp1254.h"

#include <algorithm>
#include <array>

namespace {

// 0x80..0x9F; the undefined positions keep their C1 code point.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x008E,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x009E,
    0x0178,
};

constexpr char16_t mapByte(unsigned byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    switch (byte) {
    case 0xD0:
        return 0x011E; // Ğ
    case 0xDD:
        return 0x0130; // İ
    case 0xDE:
        return 0x015E; // Ş
    case 0xF0:
        return 0x011F; // ğ
    case 0xFD:
        return 0x0131; // ı
    case 0xFE:
        return 0x015F; // ş
    default:
        return char16_t(byte); // the rest is Latin-1
    }
}

constexpr std::array<char16_t, 256> makeTable()
{
    std::array<char16_t, 256> table {};
    for (unsigned byte = 0; byte < 256; ++byte)
        table[byte] = mapByte(byte);
    return table;
}

constexpr std::array<char16_t, 256> kToUnicode = makeTable();

struct Reverse
{
    char32_t codePoint;
    unsigned char byte;
};

// The characters outside Latin-1 that the code page holds, sorted for a binary search.
constexpr size_t countBeyondLatin1()
{
    size_t count = 0;
    for (unsigned byte = 0; byte < 0x100; ++byte)
        count += kToUnicode[byte] >= 0x100 ? 1 : 0;
    return count;
}

constexpr auto makeReverseTable()
{
    std::array<Reverse, countBeyondLatin1()> reverse {};
    size_t count = 0;
    for (unsigned byte = 0x80; byte < 0x100; ++byte) {
        if (kToUnicode[byte] >= 0x100)
            reverse[count++] = {kToUnicode[byte], static_cast<unsigned char>(byte)};
    }
    for (size_t i = 1; i < count; ++i) {
        for (size_t j = i; j > 0 && reverse[j - 1].codePoint > reverse[j].codePoint; --j) {
            const Reverse swap = reverse[j];
            reverse[j] = reverse[j - 1];
            reverse[j - 1] = swap;
        }
    }
    return reverse;
}

constexpr auto kReverse = makeReverseTable();
static_assert(kReverse.back().codePoint == 0x2122, "every non-Latin-1 character is in the table");

char byteFor(char32_t codePoint)
{
    // Latin-1 positions that the code page keeps as they are.
    if (codePoint < 0x100) {
        if (kToUnicode[codePoint] == codePoint)
            return char(codePoint);
        return '?';
    }
    const auto *found = std::lower_bound(kReverse.begin(), kReverse.end(), codePoint,
        [](const Reverse &entry, char32_t wanted) { return entry.codePoint < wanted; });
    if (found != kReverse.end() && found->codePoint == codePoint)
        return char(found->byte);
    return '?';
}

} // namespace

namespace cp1254 {

char fromCodePoint(char32_t codePoint)
{
    return byteFor(codePoint);
}

char16_t toUnicode(unsigned char byte)
{
    return kToUnicode[byte];
}

QString toUnicode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(kToUnicode[static_cast<unsigned char>(bytes[i])]);
    return text;
}

QByteArray fromUnicode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    qsizetype length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            bytes[length++] = '?';
            continue;
        }
        bytes[length++] = byteFor(unit.unicode());
    }
    bytes.truncate(length);
    return bytes;
}

} // namespace cp1254
