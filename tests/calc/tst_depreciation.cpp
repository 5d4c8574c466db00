// SPDX-License-Identifier: GPL-3.0-or-later

#include "calc/depreciation.h"
#include "calc/moneytext.h"

#include <QTest>

#include <cmath>
#include <limits>

using depreciation::Input;
using depreciation::Refusal;
using depreciation::Result;

Q_DECLARE_METATYPE(depreciation::Input)

namespace {

constexpr qint64 tl(qint64 liras)
{
    return liras * 100;
}

QList<qint64> repeated(qint64 amount, int times)
{
    return QList<qint64>(times, amount);
}

// qint64 is long long, std::int64_t long on 64-bit Linux: QTest columns tell them apart.
constexpr qint64 kMaxCost = depreciation::kMaxCostKurus;

// The refusal columns hold the reason as a number, or this when a value is expected.
constexpr int kAccepted = -1;

constexpr int refused(Refusal refusal)
{
    return static_cast<int>(refusal);
}

template<typename T> int outcome(const Result<T> &result)
{
    return result.ok() ? kAccepted : refused(result.refusal());
}

Input asset(qint64 cost, int life, int rate, int firstYear = 2024)
{
    Input input;
    input.costKurus = cost;
    input.lifeYears = life;
    input.rateBasisPoints = rate;
    input.firstYear = firstYear;
    return input;
}

Input declining(Input input, int switchToNormalFrom = 0)
{
    input.method = depreciation::Method::DecliningBalance;
    if (switchToNormalFrom != 0)
        input.switchToNormalFrom = switchToNormalFrom;
    return input;
}

Input car(Input input, int acquisitionMonth, bool rentalException = false)
{
    input.passengerCar = depreciation::PassengerCar {acquisitionMonth, rentalException};
    return input;
}

} // namespace

class TestDepreciation : public QObject
{
    Q_OBJECT

private slots:
    void schedule_data()
    {
        QTest::addColumn<Input>("input");
        QTest::addColumn<QList<qint64>>("amounts");
        // The worked examples.
        QTest::newRow("normal") << asset(tl(5000), 5, 2000) << repeated(tl(1000), 5);
        QTest::newRow("declining") << declining(asset(tl(1000), 5, 2000))
                                   << QList<qint64> {tl(400), tl(240), tl(144), 8640, 12960};
        QTest::newRow("passenger car, August") << car(asset(tl(60000), 5, 2000, 2010),
            8) << QList<qint64> {tl(5000), tl(12000), tl(12000), tl(12000), tl(19000)};
        QTest::newRow("declining capped at 50 %") << declining(
            asset(tl(100000), 3, 3333)) << QList<qint64> {tl(50000), tl(25000), tl(25000)};
        QTest::newRow("rate cut to two decimals")
            << asset(tl(100000), 15, 666) << repeated(tl(6660), 14) + QList<qint64> {tl(6760)};
        QTest::newRow("declining, normal from year 3") << declining(asset(tl(1000), 5, 2000),
            3) << QList<qint64> {tl(400), tl(240), tl(120), tl(120), tl(120)};
        // Faults the examples would let through.
        QTest::newRow("half a kuruş rounds up")
            << asset(1005, 10, 1000) << repeated(101, 9) + QList<qint64> {96};
        QTest::newRow("rate × life over 100 %: no year below zero")
            << asset(tl(1000), 4, 4000) << QList<qint64> {tl(400), tl(400), tl(200), 0};
        QTest::newRow("uneven switch: the last year absorbs the kuruş") << declining(
            asset(100001, 5, 2000), 3) << QList<qint64> {40000, 24000, 12000, 12000, 12001};
        QTest::newRow("rental car: a full first year")
            << car(asset(tl(60000), 5, 2000), 8, true) << repeated(tl(12000), 5);
        QTest::newRow("largest cost, car, December") << car(asset(kMaxCost, 3, 3333),
            12) << QList<qint64> {277'750'000'000, 3'333'000'000'000, 6'389'250'000'000};
    }

    void schedule()
    {
        QFETCH(Input, input);
        QFETCH(QList<qint64>, amounts);
        const auto result = depreciation::schedule(input);
        QCOMPARE(outcome(result), kAccepted);
        const depreciation::Schedule &rows = result.value();
        QCOMPARE(qsizetype(rows.size()), amounts.size());
        qint64 accumulated = 0;
        for (qsizetype i = 0; i < amounts.size(); ++i) {
            const depreciation::Row &row = rows[std::size_t(i)];
            accumulated += amounts[i];
            QCOMPARE(row.year, input.firstYear + i);
            QCOMPARE(row.amount, amounts[i]);
            QCOMPARE(row.accumulated, accumulated);
            QCOMPARE(row.netValue, input.costKurus - accumulated);
        }
        QCOMPARE(accumulated, input.costKurus);
    }

    void refusals_data()
    {
        QTest::addColumn<Input>("input");
        QTest::addColumn<int>("refusal");
        QTest::newRow("zero cost") << asset(0, 5, 2000) << refused(Refusal::CostZero);
        QTest::newRow("negative cost") << asset(-1, 5, 2000) << refused(Refusal::CostNegative);
        QTest::newRow("cost over the limit")
            << asset(kMaxCost + 1, 5, 2000) << refused(Refusal::CostTooLarge);
        QTest::newRow("1949") << asset(tl(1), 5, 2000, 1949) << refused(Refusal::YearOutOfRange);
        QTest::newRow("1950") << asset(tl(1), 5, 2000, 1950) << kAccepted;
        QTest::newRow("2100") << asset(tl(1), 5, 2000, 2100) << kAccepted;
        QTest::newRow("2101") << asset(tl(1), 5, 2000, 2101) << refused(Refusal::YearOutOfRange);
        QTest::newRow("month 0") << car(asset(tl(1), 5, 2000), 0)
                                 << refused(Refusal::MonthOutOfRange);
        QTest::newRow("month 13") << car(asset(tl(1), 5, 2000), 13)
                                  << refused(Refusal::MonthOutOfRange);
        QTest::newRow("life 0") << asset(tl(1), 0, 2000) << refused(Refusal::LifeZero);
        QTest::newRow("life 101") << asset(tl(1), 101, 2000) << refused(Refusal::LifeTooLong);
        QTest::newRow("rate 0") << asset(tl(1), 5, 0) << refused(Refusal::RateZero);
        QTest::newRow("rate 100 %") << asset(tl(1), 1, 10000) << kAccepted;
        QTest::newRow("rate over 100 %")
            << asset(tl(1), 1, 10001) << refused(Refusal::RateOverHundred);
        QTest::newRow("declining for a car")
            << declining(car(asset(tl(1), 5, 2000), 8)) << refused(Refusal::DecliningNotForCars);
        QTest::newRow("switch in year 1")
            << declining(asset(tl(1), 5, 2000), 1) << refused(Refusal::SwitchYearOutOfRange);
        QTest::newRow("switch in year N") << declining(asset(tl(1), 5, 2000), 5) << kAccepted;
        QTest::newRow("switch after year N")
            << declining(asset(tl(1), 5, 2000), 6) << refused(Refusal::SwitchYearOutOfRange);
    }

    void refusals()
    {
        QFETCH(Input, input);
        QFETCH(int, refusal);
        QCOMPARE(outcome(depreciation::schedule(input)), refusal);
    }

    // The list's own values as the schedule takes them.
    void listedValues_data()
    {
        QTest::addColumn<bool>("isLife");
        QTest::addColumn<double>("listed"); // NaN stands for a null cell
        QTest::addColumn<int>("expected"); // whole years or hundredths of a percent
        QTest::addColumn<int>("refusal");
        const double null = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("life 5") << true << 5.0 << 5 << kAccepted;
        QTest::newRow("life missing") << true << null << 0 << refused(Refusal::LifeMissing);
        QTest::newRow("life 0") << true << 0.0 << 0 << refused(Refusal::LifeZero);
        QTest::newRow("life 6,5") << true << 6.5 << 0 << refused(Refusal::LifeNotWhole);
        QTest::newRow("life 1e300") << true << 1e300 << 0 << refused(Refusal::LifeTooLong);
        QTest::newRow("6,66 % stored inexactly") << false << 0.0666 << 666 << kAccepted;
        QTest::newRow("100 %") << false << 1.0 << 10000 << kAccepted;
        QTest::newRow("rate missing") << false << null << 0 << refused(Refusal::RateMissing);
        QTest::newRow("rate negative") << false << -0.2 << 0 << refused(Refusal::RateZero);
        QTest::newRow("rate over 100 %") << false << 1.01 << 0 << refused(Refusal::RateOverHundred);
    }

    void listedValues()
    {
        QFETCH(bool, isLife);
        QFETCH(double, listed);
        QFETCH(int, expected);
        QFETCH(int, refusal);
        const std::optional<double> cell
            = std::isnan(listed) ? std::nullopt : std::optional<double>(listed);
        const Result<int> result
            = isLife ? depreciation::lifeYears(cell) : depreciation::rateBasisPoints(cell);
        QCOMPARE(outcome(result), refusal);
        if (result.ok())
            QCOMPARE(result.value(), expected);
    }

    void parseMoney_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("kurus");
        QTest::addColumn<int>("refusal");
        QTest::newRow("grouped, kuruş") << QByteArray("1.234,56") << qint64(123456) << kAccepted;
        QTest::newRow("ungrouped") << QByteArray("1234,56") << qint64(123456) << kAccepted;
        QTest::newRow("whole liras") << QByteArray("1234") << tl(1234) << kAccepted;
        QTest::newRow("spaces around") << QByteArray(" 1.234 ") << tl(1234) << kAccepted;
        QTest::newRow("one decimal is tens of kuruş")
            << QByteArray("1.234.567,8") << qint64(123456780) << kAccepted;
        QTest::newRow("negative, for the cost check")
            << QByteArray("-1.234") << -tl(1234) << kAccepted;
        QTest::newRow("largest") << QByteArray("92.233.720.368.547.758,07")
                                 << std::numeric_limits<qint64>::max() << kAccepted;
        const qint64 none = 0;
        QTest::newRow("empty") << QByteArray("") << none << refused(Refusal::CostEmpty);
        QTest::newRow("letters") << QByteArray("12a") << none << refused(Refusal::CostNotANumber);
        QTest::newRow("a point for a comma")
            << QByteArray("12.34") << none << refused(Refusal::CostNotANumber);
        QTest::newRow("a group of four")
            << QByteArray("1.2345") << none << refused(Refusal::CostNotANumber);
        QTest::newRow("a leading group of four")
            << QByteArray("1234.567") << none << refused(Refusal::CostNotANumber);
        QTest::newRow("nothing before the comma")
            << QByteArray(",50") << none << refused(Refusal::CostNotANumber);
        QTest::newRow("nothing after the comma")
            << QByteArray("12,") << none << refused(Refusal::CostNotANumber);
        QTest::newRow("three decimals")
            << QByteArray("1,234") << none << refused(Refusal::CostTooManyDecimals);
        QTest::newRow("one kuruş over 64 bits")
            << QByteArray("92233720368547758,08") << none << refused(Refusal::CostTooLarge);
        QTest::newRow("letters after too many digits")
            << QByteArray("99999999999999999999x") << none << refused(Refusal::CostNotANumber);
    }

    void parseMoney()
    {
        QFETCH(QByteArray, text);
        QFETCH(qint64, kurus);
        QFETCH(int, refusal);
        const Result<std::int64_t> result = moneytext::parse(text.toStdString());
        QCOMPARE(outcome(result), refusal);
        if (result.ok())
            QCOMPARE(result.value(), kurus);
    }

    void formatMoney_data()
    {
        QTest::addColumn<qint64>("kurus");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("kuruş only") << qint64(5) << QByteArray("0,05");
        QTest::newRow("below a thousand") << qint64(99999) << QByteArray("999,99");
        QTest::newRow("a thousand") << tl(1000) << QByteArray("1.000,00");
        QTest::newRow("billions") << qint64(123456789012) << QByteArray("1.234.567.890,12");
        QTest::newRow("negative") << qint64(-123456) << QByteArray("-1.234,56");
        QTest::newRow("most negative")
            << std::numeric_limits<qint64>::min() << QByteArray("-92.233.720.368.547.758,08");
    }

    void formatMoney()
    {
        QFETCH(qint64, kurus);
        QFETCH(QByteArray, text);
        QCOMPARE(QByteArray::fromStdString(moneytext::format(kurus)), text);
    }
};

QTEST_GUILESS_MAIN(TestDepreciation)
#include "tst_depreciation.moc"
