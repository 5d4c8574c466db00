// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <utility>

namespace depreciation {

// Why no schedule (or no amount) can be made, one reason a field, so that the dialog can
// put a sentence beside the box that caused it. Nothing here throws: every entry is
// answered with a value or one of these.
enum class Refusal {
    CostEmpty,
    CostNotANumber, // letters, stray signs, a group separator out of place
    CostTooManyDecimals, // kuruş are the smallest unit: two decimals at most
    CostZero,
    CostNegative,
    CostTooLarge, // over 10^13 kuruş (100 billion TL): a typing slip, not an asset
    YearOutOfRange, // the first year outside 1950-2100
    MonthOutOfRange, // the passenger car's acquisition month outside 1-12
    LifeMissing, // no life in the row (a heading) or not a finite number
    LifeZero, // zero or negative
    LifeNotWhole, // e.g. 6,5 years: the schedule runs in whole years
    LifeTooLong, // over 100 years: no listed asset, and it would only make a long table
    RateMissing, // no rate in the row or not a finite number
    RateZero, // zero, negative, or less than half a hundredth of a percent
    RateOverHundred,
    DecliningNotForCars, // the published rules do not settle a car's first declining year
    SwitchYearOutOfRange, // the switch to normal must fall in years 2 to N
};

// A value, or the reason there is none.
template<typename T> class Result
{
public:
    Result(T value)
        : m_value(std::move(value))
    { }
    Result(Refusal refusal)
        : m_refused(true)
        , m_refusal(refusal)
    { }

    bool ok() const { return !m_refused; }
    // Only meaningful when ok().
    const T &value() const { return m_value; }
    // Only meaningful when !ok().
    Refusal refusal() const { return m_refusal; }

private:
    T m_value {};
    bool m_refused = false;
    Refusal m_refusal = Refusal::CostZero;
};

} // namespace depreciation
