// SPDX-License-Identifier: GPL-3.0-or-later

#include "jetpassword.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// RC4 keystream for the key C7 DA 39 6B, applied to file bytes 0x18..0x97.
constexpr std::array<unsigned char, 4> kRc4Key = {0xC7, 0xDA, 0x39, 0x6B};
constexpr qsizetype kMaskedStart = 0x18;
constexpr qsizetype kMaskedSize = 128;
constexpr qsizetype kEncodingKeyOffset = 0x3E;
constexpr qsizetype kEncodingKeySize = 4;
constexpr qsizetype kPasswordOffset = 0x42;
constexpr qsizetype kPasswordSize = 40;
constexpr qsizetype kCreationDateOffset = 0x72;
constexpr qsizetype kVersionOffset = 0x14;
constexpr char kJetSignature[] = "Standard Jet DB";
constexpr char kAceSignature[] = "Standard ACE DB";

constexpr std::array<unsigned char, kMaskedSize> makeKeystream()
{
    std::array<unsigned char, 256> state {};
    for (unsigned i = 0; i < 256; ++i)
        state[i] = static_cast<unsigned char>(i);
    unsigned j = 0;
    for (unsigned i = 0; i < 256; ++i) {
        j = (j + state[i] + kRc4Key[i % kRc4Key.size()]) & 0xFF;
        const unsigned char swap = state[i];
        state[i] = state[j];
        state[j] = swap;
    }
    std::array<unsigned char, kMaskedSize> stream {};
    unsigned a = 0;
    unsigned b = 0;
    for (auto &byte : stream) {
        a = (a + 1) & 0xFF;
        b = (b + state[a]) & 0xFF;
        const unsigned char swap = state[a];
        state[a] = state[b];
        state[b] = swap;
        byte = state[(state[a] + state[b]) & 0xFF];
    }
    return stream;
}

constexpr std::array<unsigned char, kMaskedSize> kKeystream = makeKeystream();
static_assert(kKeystream[0] == 0xB5 && kKeystream[1] == 0x6F && kKeystream[15] == 0x9C,
    "RC4 keystream of the Jet header");

unsigned char unmasked(QByteArrayView header, qsizetype offset)
{
    return static_cast<unsigned char>(header[offset]) ^ kKeystream[offset - kMaskedStart];
}

} // namespace

namespace jetpassword {

Format formatOf(QByteArrayView firstPage)
{
    if (firstPage.size() < kHeaderSize || firstPage[0] != 0)
        return Format::NotJet;
    const QByteArrayView signature = firstPage.sliced(4, 16);
    if (std::memcmp(signature.data(), kAceSignature, sizeof kAceSignature) == 0)
        return Format::Ace;
    if (std::memcmp(signature.data(), kJetSignature, sizeof kJetSignature) != 0)
        return Format::NotJet;
    switch (static_cast<unsigned char>(firstPage[kVersionOffset])) {
    case 0x00:
        return Format::Jet3;
    case 0x01:
        return Format::Jet4;
    default:
        return Format::Ace;
    }
}

std::optional<QString> passwordOf(QByteArrayView firstPage)
{
    if (formatOf(firstPage) != Format::Jet4)
        return std::nullopt;

    std::uint64_t dateBits = 0;
    for (int i = 7; i >= 0; --i)
        dateBits = (dateBits << 8) | unmasked(firstPage, kCreationDateOffset + i);
    const auto creationDate = std::bit_cast<double>(dateBits);
    // The mask is the creation date's whole days; a damaged date must not make the
    // conversion undefined.
    std::int32_t days = 0;
    if (std::isfinite(creationDate) && std::fabs(creationDate) < 2147483647.0)
        days = static_cast<std::int32_t>(creationDate);
    const auto mask = static_cast<std::uint32_t>(days);

    QString password;
    for (qsizetype unit = 0; unit < kPasswordSize / 2; ++unit) {
        const qsizetype low = 2 * unit;
        const qsizetype high = low + 1;
        const unsigned lowByte
            = unmasked(firstPage, kPasswordOffset + low) ^ ((mask >> (8 * (low % 4))) & 0xFF);
        const unsigned highByte
            = unmasked(firstPage, kPasswordOffset + high) ^ ((mask >> (8 * (high % 4))) & 0xFF);
        const char16_t codeUnit = char16_t(lowByte | (highByte << 8));
        if (codeUnit == 0)
            break;
        password += QChar(codeUnit);
    }
    return password;
}

bool isEncrypted(QByteArrayView firstPage)
{
    if (formatOf(firstPage) == Format::NotJet)
        return false;
    for (qsizetype i = 0; i < kEncodingKeySize; ++i) {
        if (unmasked(firstPage, kEncodingKeyOffset + i) != 0)
            return true;
    }
    return false;
}

} // namespace jetpassword
