// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// Reads what a Jet 4 or ACE file's first page says of its protection: the database
// password a Jet 4 file keeps, obfuscated, and whether the pages are enciphered.
namespace jetpassword {

inline constexpr qsizetype kHeaderSize = 0x80 + 0x18;

enum class Format {
    NotJet, // no "Standard Jet DB" signature
    Jet3,
    Jet4,
    Ace, // Access 2007 and later
};

Format formatOf(QByteArrayView firstPage);

// The password of a Jet 4 header (empty when the file has none); nothing when the
// header is not a Jet 4 one or is too short.
std::optional<QString> passwordOf(QByteArrayView firstPage);

// Whether the pages are enciphered (Jet 4's "Encrypt Database", or an ACE file saved
// with a password): the header then holds the key the pages are coded with.
bool isEncrypted(QByteArrayView firstPage);

} // namespace jetpassword
