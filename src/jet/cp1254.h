// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The Windows-1254 (Turkish) code page, in both directions. Written by hand because
// Qt only reaches it through ICU, which a plain Qt build may lack.
namespace cp1254 {

// Every byte maps to one character; the five bytes the code page leaves undefined map
// to the C1 control of the same value, so that any byte string survives a round trip.
QString toUnicode(QByteArrayView bytes);

// Characters the code page cannot hold become "?". A surrogate pair is one character.
QByteArray fromUnicode(QStringView text);

char16_t toUnicode(unsigned char byte);

// One character; "?" when the code page cannot hold it.
char fromCodePoint(char32_t codePoint);

} // namespace cp1254
