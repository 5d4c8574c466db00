// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/common/systemclipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace systemclipboard {

QString withPlatformLineBreaks(const QString &text)
{
#ifdef Q_OS_WIN
    const QString lineBreak = QStringLiteral("\r\n");
#else
    const QString lineBreak = QStringLiteral("\n");
#endif
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            result += lineBreak;
        } else if (c == u'\n') {
            result += lineBreak;
        } else {
            result += c;
        }
    }
    return result;
}

void setText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

} // namespace systemclipboard
