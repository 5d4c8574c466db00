#include "turkishfold.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {

constexpr std::array<unsigned char, 256> makeFoldTable()
{
    std::array<unsigned char, 256> table {};
    for (unsigned byte = 0; byte < 256; ++byte)
        table[byte] = static_cast<unsigned char>(byte);
    for (unsigned byte = 'A'; byte <= 'Z'; ++byte)
        table[byte] = static_cast<unsigned char>(byte + 0x20);
    table['I'] = 0xFD; // I -> ı
    table[0xDD] = 'i'; // İ -> i
    table[0xC7] = 0xE7; // Ç -> ç
    table[0xD0] = 0xF0; // Ğ -> ğ
    table[0xD6] = 0xF6; // Ö -> ö
    table[0xDE] = 0xFE; // Ş -> ş
    table[0xDC] = 0xFC; // Ü -> ü
    return table;
}

constexpr std::array<unsigned char, 256> kFold = makeFoldTable();

bool isTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

namespace turkishfold {

QByteArrayView untilZero(QByteArrayView text)
{
    const void *zero = std::memchr(text.data(), 0, size_t(text.size()));
    if (!zero)
        return text;
    return text.first(static_cast<const char *>(zero) - text.data());
}

QByteArrayView trimmed(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text[begin]))
        ++begin;
    while (end > begin && isTrimmed(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

QByteArray lowerCase(QByteArrayView text)
{
    QByteArray folded(text.size(), Qt::Uninitialized);
    auto *out = reinterpret_cast<unsigned char *>(folded.data());
    const auto *in = reinterpret_cast<const unsigned char *>(text.data());
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = kFold[in[i]];
    return folded;
}

QByteArray fold(QByteArrayView text)
{
    return lowerCase(trimmed(text));
}

bool foldedContains(QByteArrayView foldedText, QByteArrayView foldedTerm)
{
    if (foldedTerm.isEmpty() || foldedText.isEmpty())
        return false;
    const std::string_view haystack(foldedText.data(), size_t(foldedText.size()));
    return haystack.find(std::string_view(foldedTerm.data(), size_t(foldedTerm.size())))
        != std::string_view::npos;
}

bool termMatches(QByteArrayView term, QByteArrayView text)
{
    return foldedContains(fold(untilZero(text)), fold(term));
}

} // namespace turkishfold
