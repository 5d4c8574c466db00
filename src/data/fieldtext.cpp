// SPDX-License-Identifier: GPL-3.0-or-later

#include "fieldtext.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int kSignificantDigits = 15;

QString decimalSeparator(const QLocale &locale)
{
    return locale.decimalPoint();
}

} // namespace

namespace fieldtext {

QString generalNumber(std::optional<double> value, const QLocale &locale)
{
    if (!value)
        return {};
    const double v = *value;
    if (std::isnan(v))
        return QStringLiteral("NAN");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (v == 0)
        return QStringLiteral("0");

    // Correctly rounded digits d.dddddddddddddde±x, 15 of them.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, std::fabs(v));
    QString digits;
    const char *p = buffer;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits += QLatin1Char(*p);
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);

    QString text = v < 0 ? QStringLiteral("-") : QString();
    if (exponent < -5 || exponent >= kSignificantDigits) {
        text += digits.front();
        if (digits.size() > 1)
            text += decimalSeparator(locale) + digits.mid(1);
        text += u'E' + QString::number(exponent);
        return text;
    }
    if (exponent < 0) {
        text += u'0' + decimalSeparator(locale) + QString(-exponent - 1, u'0') + digits;
        return text;
    }
    const int integerDigits = exponent + 1;
    if (digits.size() <= integerDigits) {
        text += digits + QString(integerDigits - digits.size(), u'0');
        return text;
    }
    text += digits.left(integerDigits) + decimalSeparator(locale) + digits.mid(integerDigits);
    return text;
}

QString percent(std::optional<double> value, const QLocale &locale)
{
    if (!value)
        return {};
    return percentNumber(value, locale) + QStringLiteral(" %");
}

QString percentNumber(std::optional<double> value, const QLocale &locale)
{
    if (!value)
        return {};
    QString number = QString::number(*value, 'f', 2);
    number.replace(u'.', decimalSeparator(locale));
    return number;
}

QByteArray descriptionForDisplay(const QByteArray &description)
{
    return description.left(kDisplayedDescriptionLength);
}

std::optional<double> calculatedPercentage(std::optional<double> oran)
{
    const double rate = oran.value_or(0);
    if (rate > 0)
        return rate * 100;
    return std::nullopt;
}

} // namespace fieldtext
