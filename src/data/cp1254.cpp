#include "cp1254.h"

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

char byteFor(char32_t codePoint)
{
    // Latin-1 positions that the code page keeps as they are.
    if (codePoint < 0x100 && kToUnicode[codePoint] == codePoint)
        return char(codePoint);
    for (unsigned byte = 0x80; byte < 0x100; ++byte) {
        if (kToUnicode[byte] == codePoint)
            return char(byte);
    }
    return '?';
}

} // namespace

namespace cp1254 {

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
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            bytes.append('?');
            continue;
        }
        bytes.append(byteFor(unit.unicode()));
    }
    return bytes;
}

QByteArray fromUtf8(QByteArrayView utf8)
{
    // Plain ASCII, the common case, needs no decoding.
    bool ascii = true;
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return utf8.toByteArray();
    return fromUnicode(QString::fromUtf8(utf8));
}

} // namespace cp1254
