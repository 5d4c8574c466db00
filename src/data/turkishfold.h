#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Case-insensitive comparison the Turkish way, on Windows-1254 bytes: capital I folds
// to dotless ı and İ to i, the Turkish capitals to their own smalls, nothing else
// changes (Â stays Â) and nothing is ever folded upward.
namespace turkishfold {

// Trims every byte <= 32 from both ends, then lower-cases byte by byte.
QByteArray fold(QByteArrayView text);

// Lower-cases without trimming; used where the text is folded once and kept.
QByteArray lowerCase(QByteArrayView text);

// True when the folded term occurs in the folded text. An empty folded term or text
// matches nothing. The text counts up to its first zero byte.
bool termMatches(QByteArrayView term, QByteArrayView text);

// The same test with both sides folded already.
bool foldedContains(QByteArrayView foldedText, QByteArrayView foldedTerm);

// Trims what fold() trims, so that a text folded by lowerCase() once can be matched
// as if fold() had run on it.
QByteArrayView trimmed(QByteArrayView text);

// Cuts the text at its first zero byte.
QByteArrayView untilZero(QByteArrayView text);

} // namespace turkishfold
