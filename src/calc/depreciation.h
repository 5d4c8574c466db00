// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "refusal.h"

#include <cstdint>
#include <optional>
#include <vector>

// The year-by-year depreciation of one asset under VUK 315, 320 and mükerrer 320: amounts
// in whole kuruş, rates in hundredths of a percent, so that every year's amount is exact
// and the years add up to the cost to the kuruş.
namespace depreciation {

inline constexpr std::int64_t kMaxCostKurus = 10'000'000'000'000; // 100 billion TL
inline constexpr int kFirstYearMin = 1950;
inline constexpr int kFirstYearMax = 2100;
inline constexpr int kMaxLifeYears = 100;
inline constexpr int kFullRate = 10'000; // 100 % in hundredths of a percent
inline constexpr int kDecliningRateCap = 5'000; // VUK 320: at most 50 %

enum class Method { Normal, DecliningBalance };

struct PassengerCar
{
    int acquisitionMonth = 1; // 1-12; the month itself counts whole
    // Cars a business that rents or runs cars uses for rental: a full first year.
    bool rentalException = false;
};

struct Input
{
    std::int64_t costKurus = 0;
    int lifeYears = 0;
    int rateBasisPoints = 0; // the listed rate: 6,66 % is 666
    int firstYear = 0;
    Method method = Method::Normal;
    // Declining balance only: the ordinal year (2 to N) from which the remaining net value
    // is spread evenly over the remaining years. Ignored for the normal method.
    std::optional<int> switchToNormalFrom;
    // Passenger cars get the first year pro rata ("kıst amortisman"), normal method only.
    std::optional<PassengerCar> passengerCar;
};

struct Row
{
    int year = 0;
    std::int64_t amount = 0;
    std::int64_t accumulated = 0;
    std::int64_t netValue = 0;
};

using Schedule = std::vector<Row>;

// The row's listed life as whole years. The list stores it as a double and may leave it
// empty (headings) or hold a fraction.
Result<int> lifeYears(std::optional<double> listed);

// The row's listed rate (a fraction: 0.0666 for 6,66 %) in hundredths of a percent. The
// stored double is not exact, so it is rounded to the nearest: 0.0666 → 666.
Result<int> rateBasisPoints(std::optional<double> listed);

// The declining-balance rate for a listed rate: twice it, at most 50 %.
int decliningRate(int rateBasisPoints);

// One row for each of the N years from the first; the total equals the cost. Where the
// rate times the life passes 100 %, the years after the cost is written off show 0.
Result<Schedule> schedule(const Input &input);

} // namespace depreciation
