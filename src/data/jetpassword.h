#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// Reads the database password that a Jet 4 file keeps, obfuscated, in its first page.
// mdbtools opens such files without asking for it, so the check is ours.
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

} // namespace jetpassword
