// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/amortana/publisherpages.h"

#include <QString>

namespace publisherpages {

QUrl url(std::string_view path)
{
    const auto text = [](std::string_view part) {
        return QString::fromLatin1(part.data(), qsizetype(part.size()));
    };
    return QUrl(text(kScheme) + QStringLiteral("://") + text(kHost) + text(path), QUrl::StrictMode);
}

} // namespace publisherpages
