// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "refusal.h"

#include <cstdint>
#include <string>
#include <string_view>

// Amounts as Turkish accountants write them: "." between thousands, "," before the
// kuruş. The dialog reads its cost box through parse() and writes every amount it shows,
// copies or saves through format(), so that what is pasted into a spreadsheet under a
// Turkish locale reads back as the same number.
namespace moneytext {

// "1.234,56", "1234,56", "1234", " 1.234 " → kuruş. Thousands are grouped all the way
// ("1.234.567") or not at all ("1234567"): "1.5" or "12.34" is refused rather than read
// as a decimal point, which is what it usually is. A leading "-" is read, so that a
// negative cost is refused as negative and not as letters. Refusals: CostEmpty,
// CostNotANumber, CostTooManyDecimals, CostTooLarge (beyond 64 bits).
depreciation::Result<std::int64_t> parse(std::string_view text);

// Kuruş → "1.234,56": always two decimals, "." between thousands, "-" before a negative.
std::string format(std::int64_t kurus);

} // namespace moneytext
