// SPDX-License-Identifier: GPL-3.0-or-later

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

// The same into `out`, which has room for text.size() bytes.
void lowerCaseInto(QByteArrayView text, char *out);

// The byte a folded byte came from when it was a capital: the fold is one to one on
// the capitals, so a folded text and the positions of its capitals give the text back.
char capitalOf(char folded);

// True when the folded term occurs in the folded text. An empty folded term or text
// matches nothing. The text counts up to its first zero byte.
bool termMatches(QByteArrayView term, QByteArrayView text);

// The same test with both sides folded already.
bool foldedContains(QByteArrayView foldedText, QByteArrayView foldedTerm);

// Where the folded term first occurs in the folded text; -1 when it does not, or when
// either is empty.
qsizetype findFolded(QByteArrayView foldedText, QByteArrayView foldedTerm);

// Three positions in a folded term (they may repeat): the bytes a search looks for
// before it compares the rest. The rarer they are in the text, the fewer positions
// hold all three.
struct Anchors
{
    qsizetype first;
    qsizetype second;
    qsizetype third;
};

// The same search, trying only the positions that hold the term's bytes at the anchors.
qsizetype findFolded(QByteArrayView foldedText, QByteArrayView foldedTerm, Anchors anchors);

// Trims what fold() trims, so that a text folded by lowerCase() once can be matched
// as if fold() had run on it.
QByteArrayView trimmed(QByteArrayView text);

// Cuts the text at its first zero byte.
QByteArrayView untilZero(QByteArrayView text);

} // namespace turkishfold
