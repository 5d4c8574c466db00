#include "turkishfold.h"

#include <array>
#include <bit>
#include <cstring>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define VELKARO_FOLD_SSE2 1
#endif

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
    // An empty text may have no storage at all, and memchr wants a pointer even for none.
    if (text.isEmpty())
        return text;
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
    const qsizetype size = text.size();
    qsizetype i = 0;
#ifdef VELKARO_FOLD_SSE2
    // A table lookup per byte cannot keep up with the search; sixteen bytes at a time
    // compute the same table: A-Z and the five Turkish capitals move up by 0x20, then
    // I and İ are put right.
    const __m128i upperA = _mm_set1_epi8('A');
    const __m128i signFlip = _mm_set1_epi8(char(0x80));
    const __m128i belowLetterCount = _mm_set1_epi8(char(0x80 + 26));
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const __m128i capitalI = _mm_set1_epi8('I');
    const __m128i dotlessI = _mm_set1_epi8(char(0xFD));
    const __m128i capitalDottedI = _mm_set1_epi8(char(0xDD));
    const __m128i smallI = _mm_set1_epi8('i');
    // A plain array: std::array<__m128i> drops the vector type's alignment attribute.
    const __m128i turkishCapitals[] = {_mm_set1_epi8(char(0xC7)), _mm_set1_epi8(char(0xD0)),
        _mm_set1_epi8(char(0xD6)), _mm_set1_epi8(char(0xDE)), _mm_set1_epi8(char(0xDC))};
    for (; i + 16 <= size; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        // Unsigned "byte - 'A' < 26" through a signed compare.
        __m128i raise = _mm_cmplt_epi8(
            _mm_xor_si128(_mm_sub_epi8(bytes, upperA), signFlip), belowLetterCount);
        for (const __m128i &capital : turkishCapitals)
            raise = _mm_or_si128(raise, _mm_cmpeq_epi8(bytes, capital));
        __m128i lowered = _mm_add_epi8(bytes, _mm_and_si128(raise, caseBit));
        const __m128i isI = _mm_cmpeq_epi8(bytes, capitalI);
        lowered = _mm_or_si128(_mm_andnot_si128(isI, lowered), _mm_and_si128(isI, dotlessI));
        const __m128i isDottedI = _mm_cmpeq_epi8(bytes, capitalDottedI);
        lowered
            = _mm_or_si128(_mm_andnot_si128(isDottedI, lowered), _mm_and_si128(isDottedI, smallI));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), lowered);
    }
#endif
    for (; i < size; ++i)
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
    const std::string_view needle(foldedTerm.data(), size_t(foldedTerm.size()));
    size_t from = 0;
#ifdef VELKARO_FOLD_SSE2
    // Searching for the first byte alone stops every few bytes when the term starts with
    // a common letter; a position must hold both the term's first and its last byte
    // before the rest is compared, which leaves few candidates whatever the term.
    const size_t last = needle.size() - 1;
    if (haystack.size() >= last + 16) {
        const char *text = haystack.data();
        const __m128i firstByte = _mm_set1_epi8(needle.front());
        const __m128i lastByte = _mm_set1_epi8(needle.back());
        const auto candidatesAt = [&](size_t at) {
            const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at));
            const __m128i ending
                = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at + last));
            return unsigned(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(first, firstByte), _mm_cmpeq_epi8(ending, lastByte))));
        };
        const auto found = [&](size_t at, unsigned candidates) {
            for (; candidates; candidates &= candidates - 1) {
                const char *start = text + at + size_t(std::countr_zero(candidates));
                if (last < 2 || std::memcmp(start + 1, needle.data() + 1, last - 1) == 0)
                    return true;
            }
            return false;
        };
        // Two blocks per round halve the branches on the common path, where nothing is
        // a candidate.
        const size_t starts = haystack.size() - last; // positions a match can start at
        for (; from + 32 <= starts; from += 32) {
            const unsigned candidates = candidatesAt(from) | (candidatesAt(from + 16) << 16);
            if (candidates && found(from, candidates))
                return true;
        }
        for (; from + 16 <= starts; from += 16) {
            if (found(from, candidatesAt(from)))
                return true;
        }
        // The last few starts in one block that overlaps starts already tried: trying a
        // start twice gives the same answer, and it saves a call per text.
        if (from < starts)
            return found(starts - 16, candidatesAt(starts - 16));
        return false;
    }
#endif
    return haystack.find(needle, from) != std::string_view::npos;
}

bool termMatches(QByteArrayView term, QByteArrayView text)
{
    return foldedContains(fold(untilZero(text)), fold(term));
}

} // namespace turkishfold
