// SPDX-License-Identifier: GPL-3.0-or-later

#include "depreciation.h"

#include <algorithm>
#include <cmath>

namespace depreciation {

namespace {

#ifndef __SIZEOF_INT128__
#error "The schedule's products need a 128-bit integer (g++, clang, MinGW-w64 on 64 bits)"
#endif
// Cost × rate × months stays below 2^63 within the cost limit, with a factor of 7 to spare;
// the wider product keeps the rounding exact whatever a later limit becomes.
__extension__ using Wide = __int128;

// a × b / c rounded half-up, for a, b ≥ 0 and c > 0: the half is added as 2ab + c over
// 2c, exact for odd divisors too (an even spread over 3 or 5 years).
std::int64_t mulDivHalfUp(std::int64_t a, std::int64_t b, std::int64_t c)
{
    const Wide twice = Wide(2) * a * b;
    return static_cast<std::int64_t>((twice + c) / (Wide(2) * c));
}

std::optional<Refusal> refusalOf(const Input &input)
{
    if (input.costKurus == 0)
        return Refusal::CostZero;
    if (input.costKurus < 0)
        return Refusal::CostNegative;
    if (input.costKurus > kMaxCostKurus)
        return Refusal::CostTooLarge;
    if (input.firstYear < kFirstYearMin || input.firstYear > kFirstYearMax)
        return Refusal::YearOutOfRange;
    if (input.passengerCar
        && (input.passengerCar->acquisitionMonth < 1 || input.passengerCar->acquisitionMonth > 12))
        return Refusal::MonthOutOfRange;
    if (input.lifeYears <= 0)
        return Refusal::LifeZero;
    if (input.lifeYears > kMaxLifeYears)
        return Refusal::LifeTooLong;
    if (input.rateBasisPoints <= 0)
        return Refusal::RateZero;
    if (input.rateBasisPoints > kFullRate)
        return Refusal::RateOverHundred;
    if (input.method == Method::DecliningBalance) {
        if (input.passengerCar)
            return Refusal::DecliningNotForCars;
        // Year 1 would be the normal method, which is offered as such; year N writes
        // off the rest either way, so switching there changes nothing but is harmless.
        if (input.switchToNormalFrom
            && (*input.switchToNormalFrom < 2 || *input.switchToNormalFrom > input.lifeYears))
            return Refusal::SwitchYearOutOfRange;
    }
    return std::nullopt;
}

// Appends the years, each amount cut to what remains so that no year goes below zero.
class Writer
{
public:
    explicit Writer(const Input &input)
        : m_input(input)
        , m_net(input.costKurus)
    {
        m_rows.reserve(static_cast<std::size_t>(input.lifeYears));
    }

    std::int64_t net() const { return m_net; }
    int nextOrdinal() const { return static_cast<int>(m_rows.size()) + 1; }
    bool atLastYear() const { return nextOrdinal() == m_input.lifeYears; }

    void add(std::int64_t amount)
    {
        amount = std::min(amount, m_net);
        m_net -= amount;
        m_rows.push_back({m_input.firstYear + static_cast<int>(m_rows.size()), amount,
            m_input.costKurus - m_net, m_net});
    }

    Schedule take() { return std::move(m_rows); }

private:
    const Input &m_input;
    std::int64_t m_net;
    Schedule m_rows;
};

Schedule normal(const Input &input)
{
    Writer writer(input);
    const std::int64_t annual = mulDivHalfUp(input.costKurus, input.rateBasisPoints, kFullRate);
    std::int64_t first = annual;
    if (input.passengerCar && !input.passengerCar->rentalException) {
        // Rounded once from the cost rather than from the rounded annual amount.
        const int months = 13 - input.passengerCar->acquisitionMonth;
        first = mulDivHalfUp(input.costKurus, std::int64_t(input.rateBasisPoints) * months,
            std::int64_t {kFullRate} * 12);
    }
    // The last year takes whatever remains: the part of a car's first year not taken,
    // and what the list's rates lose by being cut to two decimals (6,66 % × 15 years).
    while (!writer.atLastYear())
        writer.add(writer.nextOrdinal() == 1 ? first : annual);
    writer.add(writer.net());
    return writer.take();
}

Schedule decliningBalance(const Input &input)
{
    Writer writer(input);
    const int rate = decliningRate(input.rateBasisPoints);
    const int switchAt = input.switchToNormalFrom.value_or(input.lifeYears + 1);
    std::int64_t evenShare = 0;
    while (!writer.atLastYear()) {
        const int ordinal = writer.nextOrdinal();
        if (ordinal < switchAt) {
            writer.add(mulDivHalfUp(writer.net(), rate, kFullRate));
            continue;
        }
        if (ordinal == switchAt)
            evenShare = mulDivHalfUp(writer.net(), 1, input.lifeYears - switchAt + 1);
        writer.add(evenShare);
    }
    writer.add(writer.net());
    return writer.take();
}

} // namespace

Result<int> lifeYears(std::optional<double> listed)
{
    if (!listed || !std::isfinite(*listed))
        return Refusal::LifeMissing;
    const double years = *listed;
    if (years <= 0)
        return Refusal::LifeZero;
    const double whole = std::round(years);
    // A whole number read back from the list is exact; the margin is for one written as
    // the result of a sum.
    if (std::abs(years - whole) > 1e-9)
        return Refusal::LifeNotWhole;
    if (whole < 1)
        return Refusal::LifeZero;
    if (whole > kMaxLifeYears)
        return Refusal::LifeTooLong;
    return static_cast<int>(whole);
}

Result<int> rateBasisPoints(std::optional<double> listed)
{
    if (!listed || !std::isfinite(*listed))
        return Refusal::RateMissing;
    const double scaled = *listed * kFullRate;
    if (scaled >= kFullRate + 0.5)
        return Refusal::RateOverHundred;
    if (scaled < 0.5)
        return Refusal::RateZero;
    return static_cast<int>(std::lround(scaled));
}

int decliningRate(int rateBasisPoints)
{
    return std::min(2 * rateBasisPoints, kDecliningRateCap);
}

Result<Schedule> schedule(const Input &input)
{
    if (const auto refusal = refusalOf(input))
        return *refusal;
    return input.method == Method::Normal ? normal(input) : decliningBalance(input);
}

} // namespace depreciation
