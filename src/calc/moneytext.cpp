// SPDX-License-Identifier: GPL-3.0-or-later

#include "moneytext.h"

#include <limits>

namespace moneytext {

using depreciation::Refusal;

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view text)
{
    for (const char c : text) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

std::string_view trimmed(std::string_view text)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Whole liras without their group separators, or empty when the grouping is wrong:
// either none at all, or 1-3 digits followed by groups of exactly three.
std::string ungrouped(std::string_view whole)
{
    if (whole.find('.') == std::string_view::npos)
        return allDigits(whole) ? std::string(whole) : std::string();
    std::string digits;
    std::size_t start = 0;
    for (bool first = true;; first = false) {
        const std::size_t dot = whole.find('.', start);
        const std::string_view group = whole.substr(start, dot - start);
        const bool sized = first ? !group.empty() && group.size() <= 3 : group.size() == 3;
        if (!sized || !allDigits(group))
            return {};
        digits += group;
        if (dot == std::string_view::npos)
            return digits;
        start = dot + 1;
    }
}

// Appends decimal digits to a non-negative value; false once it no longer fits.
bool appendDigits(std::int64_t &value, std::string_view digits)
{
    constexpr std::int64_t max = std::numeric_limits<std::int64_t>::max();
    for (const char c : digits) {
        const int digit = c - '0';
        if (value > (max - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

} // namespace

depreciation::Result<std::int64_t> parse(std::string_view text)
{
    text = trimmed(text);
    if (text.empty())
        return Refusal::CostEmpty;
    const bool negative = text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    const std::size_t comma = text.find(',');
    const std::string_view whole = text.substr(0, comma);
    const std::string_view fraction
        = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    const std::string wholeDigits = ungrouped(whole);
    // A comma with nothing after it is as unfinished as one with nothing before it.
    if (wholeDigits.empty() || !allDigits(fraction)
        || (comma != std::string_view::npos && fraction.empty()))
        return Refusal::CostNotANumber;
    if (fraction.size() > 2)
        return Refusal::CostTooManyDecimals;
    std::int64_t kurus = 0;
    if (!appendDigits(kurus, wholeDigits) || !appendDigits(kurus, fraction)
        || !appendDigits(kurus, std::string(2 - fraction.size(), '0')))
        return Refusal::CostTooLarge;
    return negative ? -kurus : kurus;
}

std::string format(std::int64_t kurus)
{
    // Through the unsigned magnitude, which also holds the most negative value.
    const std::uint64_t magnitude
        = kurus < 0 ? 0 - static_cast<std::uint64_t>(kurus) : static_cast<std::uint64_t>(kurus);
    const std::string whole = std::to_string(magnitude / 100);
    const unsigned cents = static_cast<unsigned>(magnitude % 100);
    std::string text = kurus < 0 ? "-" : "";
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            text += '.';
        text += whole[i];
    }
    text += ',';
    text += static_cast<char>('0' + cents / 10);
    text += static_cast<char>('0' + cents % 10);
    return text;
}

} // namespace moneytext
