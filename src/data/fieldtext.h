// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ratesrecord.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <optional>

// How stored values turn into what the user sees and copies.
namespace fieldtext {

// The general number format: at most 15 significant digits, trailing zeros dropped,
// no grouping, the locale's decimal separator; scientific below 0.00001 or with more
// than 15 integer digits. Null gives the empty string.
QString generalNumber(std::optional<double> value, const QLocale &locale = QLocale());

// "##0.00 %": at least one integer digit, two decimals, a space and a plain percent
// sign. Null gives the empty string.
QString percent(std::optional<double> value, const QLocale &locale = QLocale());
// The number of percent() alone, for texts that place the sign themselves ("%20,00").
QString percentNumber(std::optional<double> value, const QLocale &locale = QLocale());

// The first 255 characters of the description, for the grid.
QByteArray descriptionForDisplay(const QByteArray &description);

inline constexpr qsizetype kDisplayedDescriptionLength = 255;

// The calculated rate: oran as a percentage when it is above zero, otherwise null.
std::optional<double> calculatedPercentage(std::optional<double> oran);

} // namespace fieldtext
