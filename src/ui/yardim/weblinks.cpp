// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/yardim/weblinks.h"

#include <QColor>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

constexpr QRgb kLinkBlue = qRgb(0, 0, 255);

// Punctuation that ends a sentence rather than the address it follows.
bool isTrailingPunctuation(QChar c)
{
    return QStringView(u".,;:!?)]}'\"").contains(c);
}

} // namespace

void linkWebAddresses(QTextDocument &document, int firstBlock)
{
    static const QRegularExpression address(
        QStringLiteral(R"(((?:https?|ftp|file)://|mailto:|www\.)[^\s<>"\x{00A0}\x{2028}]+)"),
        QRegularExpression::CaseInsensitiveOption);

    QTextCharFormat link;
    link.setAnchor(true);
    link.setFontUnderline(true);
    link.setForeground(QColor(kLinkBlue));

    // All links become one change of the document, laid out once.
    QTextCursor edit(&document);
    edit.beginEditBlock();
    for (QTextBlock block = document.findBlockByNumber(firstBlock); block.isValid();
         block = block.next()) {
        const QString text = block.text();
        for (auto matches = address.globalMatch(text); matches.hasNext();) {
            const QRegularExpressionMatch match = matches.next();
            QStringView found = match.capturedView();
            while (!found.isEmpty() && isTrailingPunctuation(found.back()))
                found.chop(1);
            if (found.size() <= match.capturedLength(1)) // a bare "http://" points nowhere
                continue;

            // A document counts its positions in int, and a block's text fits in one.
            const int start = block.position() + static_cast<int>(match.capturedStart());
            QTextCursor cursor(block);
            cursor.setPosition(start);
            cursor.setPosition(start + static_cast<int>(found.size()), QTextCursor::KeepAnchor);
            link.setAnchorHref(found.toString());
            cursor.mergeCharFormat(link);
        }
    }
    edit.endEditBlock();
}
