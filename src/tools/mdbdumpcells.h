// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

class JetTableCursor;

// How the dump writes one cell of the current row: UTF-8 text with backslash, tab, CR
// and LF escaped, numbers in the C locale that read back the same, dates to the second,
// "*" for the kinds the program does not read, nothing for NULL.
namespace mdbdumpcells {

QByteArray cell(const JetTableCursor &cursor, int column);

// "YYYY-MM-DD HH:MM:SS" of a Jet date (days since 1899-12-30, the time of day always
// counted forwards, also before that day); nothing when no calendar holds it.
QByteArray dateText(double days);

QByteArray escaped(const QString &text);

} // namespace mdbdumpcells
