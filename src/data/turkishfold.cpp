// SPDX-License-Identifier: GPL-3.0-or-later

#include "turkishfold.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define VELKARO_FOLD_SSE2 1
#endif
#if defined(VELKARO_FOLD_SSE2) && (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#include <immintrin.h>
#define VELKARO_FOLD_AVX2 1
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

// The inverse of the fold on the bytes it changes; every other byte maps to itself.
constexpr std::array<unsigned char, 256> makeCapitalTable()
{
    std::array<unsigned char, 256> table {};
    for (unsigned byte = 0; byte < 256; ++byte)
        table[byte] = static_cast<unsigned char>(byte);
    for (unsigned byte = 0; byte < 256; ++byte) {
        if (kFold[byte] != byte)
            table[kFold[byte]] = static_cast<unsigned char>(byte);
    }
    return table;
}

constexpr std::array<unsigned char, 256> kCapitalOf = makeCapitalTable();
static_assert(kCapitalOf[0xFD] == 'I' && kCapitalOf['i'] == 0xDD && kCapitalOf['a'] == 'A');

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
    lowerCaseInto(text, folded.data());
    return folded;
}

char capitalOf(char folded)
{
    return char(kCapitalOf[static_cast<unsigned char>(folded)]);
}

void lowerCaseInto(QByteArrayView text, char *folded)
{
    auto *out = reinterpret_cast<unsigned char *>(folded);
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
}

QByteArray fold(QByteArrayView text)
{
    return lowerCase(trimmed(text));
}

#ifdef VELKARO_FOLD_AVX2
namespace {

// Long stretches (a key press searches all descriptions in one go) run twice as wide
// where the processor can; the sixteen-byte search below finishes what is left over.
// Returns the first match among the starts before the returned `from`, or -1.
__attribute__((target("avx2"))) qsizetype findWide(const std::string_view &haystack,
    const std::string_view &needle, turkishfold::Anchors anchors, size_t &from)
{
    const size_t last = needle.size() - 1;
    if (haystack.size() < last + 64)
        return -1;
    const char *text = haystack.data();
    const auto first = size_t(anchors.first);
    const auto second = size_t(anchors.second);
    const auto third = size_t(anchors.third);
    const __m256i firstByte = _mm256_set1_epi8(needle[first]);
    const __m256i secondByte = _mm256_set1_epi8(needle[second]);
    const __m256i thirdByte = _mm256_set1_epi8(needle[third]);
    const size_t starts = haystack.size() - last;
    for (; from + 64 <= starts; from += 64) {
        quint64 candidates = 0;
        for (size_t half = 0; half < 64; half += 32) {
            const char *block = text + from + half;
            const __m256i atFirst
                = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(block + first));
            const __m256i atSecond
                = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(block + second));
            const __m256i atThird
                = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(block + third));
            const __m256i all
                = _mm256_and_si256(_mm256_and_si256(_mm256_cmpeq_epi8(atFirst, firstByte),
                                       _mm256_cmpeq_epi8(atSecond, secondByte)),
                    _mm256_cmpeq_epi8(atThird, thirdByte));
            candidates |= quint64(quint32(_mm256_movemask_epi8(all))) << half;
        }
        for (; candidates; candidates &= candidates - 1) {
            const size_t start = from + size_t(std::countr_zero(candidates));
            if (std::memcmp(text + start, needle.data(), needle.size()) == 0)
                return qsizetype(start);
        }
    }
    return -1;
}

const bool kHasAvx2 = __builtin_cpu_supports("avx2");

} // namespace
#endif

qsizetype findFolded(QByteArrayView foldedText, QByteArrayView foldedTerm)
{
    const qsizetype last = foldedTerm.size() - 1;
    return findFolded(foldedText, foldedTerm, {0, last, last / 2});
}

qsizetype findFolded(QByteArrayView foldedText, QByteArrayView foldedTerm, Anchors anchors)
{
    if (foldedTerm.isEmpty() || foldedText.isEmpty())
        return -1;
    Q_ASSERT(0 <= std::min({anchors.first, anchors.second, anchors.third})
        && std::max({anchors.first, anchors.second, anchors.third}) < foldedTerm.size());
    const std::string_view haystack(foldedText.data(), size_t(foldedText.size()));
    const std::string_view needle(foldedTerm.data(), size_t(foldedTerm.size()));
    size_t from = 0;
#ifdef VELKARO_FOLD_AVX2
    if (kHasAvx2 && haystack.size() >= 1024) {
        const qsizetype at = findWide(haystack, needle, anchors, from);
        if (at >= 0)
            return at;
    }
#endif
#ifdef VELKARO_FOLD_SSE2
    // Searching for one byte alone stops every few bytes when it is a common letter; a
    // position must hold the term's bytes at all three anchors (its first, middle and
    // last byte unless the caller knows rarer ones) before the rest is compared, which
    // leaves few candidates whatever the term.
    const size_t last = needle.size() - 1;
    if (haystack.size() >= last + 16) {
        const char *text = haystack.data();
        const auto first = size_t(anchors.first);
        const auto second = size_t(anchors.second);
        const auto third = size_t(anchors.third);
        const __m128i firstByte = _mm_set1_epi8(needle[first]);
        const __m128i secondByte = _mm_set1_epi8(needle[second]);
        const __m128i thirdByte = _mm_set1_epi8(needle[third]);
        const auto candidatesAt = [&](size_t at) {
            const auto load = [&](size_t offset) {
                return _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at + offset));
            };
            const __m128i all = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(load(first), firstByte),
                                                  _mm_cmpeq_epi8(load(second), secondByte)),
                _mm_cmpeq_epi8(load(third), thirdByte));
            return unsigned(_mm_movemask_epi8(all));
        };
        const auto found = [&](size_t at, unsigned candidates) -> qsizetype {
            for (; candidates; candidates &= candidates - 1) {
                const size_t start = at + size_t(std::countr_zero(candidates));
                if (std::memcmp(text + start, needle.data(), needle.size()) == 0)
                    return qsizetype(start);
            }
            return -1;
        };
        // Two blocks per round halve the branches on the common path, where nothing is
        // a candidate.
        const size_t starts = haystack.size() - last; // positions a match can start at
        for (; from + 32 <= starts; from += 32) {
            const unsigned candidates = candidatesAt(from) | (candidatesAt(from + 16) << 16);
            if (candidates) {
                const qsizetype at = found(from, candidates);
                if (at >= 0)
                    return at;
            }
        }
        for (; from + 16 <= starts; from += 16) {
            const qsizetype at = found(from, candidatesAt(from));
            if (at >= 0)
                return at;
        }
        // The last few starts in one block that overlaps starts already tried: trying a
        // start twice gives the same answer, and it saves a call per text.
        if (from < starts)
            return found(starts - 16, candidatesAt(starts - 16));
        return -1;
    }
#endif
    const size_t at = haystack.find(needle, from);
    return at == std::string_view::npos ? -1 : qsizetype(at);
}

bool foldedContains(QByteArrayView foldedText, QByteArrayView foldedTerm)
{
    return findFolded(foldedText, foldedTerm) >= 0;
}

bool termMatches(QByteArrayView term, QByteArrayView text)
{
    return foldedContains(fold(untilZero(text)), fold(term));
}

} // namespace turkishfold
