// SPDX-License-Identifier: GPL-3.0-or-later

#include "data/fieldtext.h"

#include <QTest>

#include <limits>

class TestFieldText : public QObject
{
    Q_OBJECT

private slots:
    void generalNumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("turkish");
        QTest::addColumn<QString>("english");
        QTest::newRow("whole number") << 5.0 << "5"
                                      << "5";
        QTest::newRow("decimal separator from the locale") << 6.5 << "6,5"
                                                           << "6.5";
        QTest::newRow("zero") << 0.0 << "0"
                              << "0";
        QTest::newRow("negative") << -12.5 << "-12,5"
                                  << "-12.5";
        QTest::newRow("15 significant digits, no rounding to two")
            << 100.0 / 3 << "33,3333333333333"
            << "33.3333333333333";
        QTest::newRow("binary noise rounds away") << 0.1 + 0.2 << "0,3"
                                                  << "0.3";
        QTest::newRow("no grouping") << 1234567.0 << "1234567"
                                     << "1234567";
        QTest::newRow("0.00001 stays fixed") << 0.00001 << "0,00001"
                                             << "0.00001";
        QTest::newRow("below 0.00001 is scientific") << 0.000001234 << "1,234E-6"
                                                     << "1.234E-6";
        QTest::newRow("15 integer digits stay fixed") << 999999999999999.0 << "999999999999999"
                                                      << "999999999999999";
        QTest::newRow("16 integer digits are scientific") << 1e15 << "1E15"
                                                          << "1E15";
        QTest::newRow("large with fraction") << 1.5e20 << "1,5E20"
                                             << "1.5E20";
    }

    void generalNumber()
    {
        QFETCH(double, value);
        QFETCH(QString, turkish);
        QFETCH(QString, english);
        QCOMPARE(
            fieldtext::generalNumber(value, QLocale(QLocale::Turkish, QLocale::Turkey)), turkish);
        QCOMPARE(fieldtext::generalNumber(value, QLocale(QLocale::English, QLocale::UnitedStates)),
            english);
    }

    void nullGivesEmptyText()
    {
        QCOMPARE(fieldtext::generalNumber(std::nullopt), QString());
        QCOMPARE(fieldtext::percent(std::nullopt), QString());
    }

    void percent_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole") << 20.0 << "20,00 %";
        QTest::newRow("rounded to two decimals") << 100.0 / 3 << "33,33 %";
        QTest::newRow("rounds up") << 6.666666666666667 << "6,67 %";
        QTest::newRow("below one keeps a leading zero") << 0.5 << "0,50 %";
        QTest::newRow("no grouping") << 1234.5 << "1234,50 %";
        QTest::newRow("percent sign does not scale") << 2.5 << "2,50 %";
    }

    void percent()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(fieldtext::percent(value, QLocale(QLocale::Turkish, QLocale::Turkey)), expected);
    }

    void calculatedPercentage_data()
    {
        QTest::addColumn<std::optional<double>>("oran");
        QTest::addColumn<std::optional<double>>("expected");
        QTest::newRow("positive") << std::optional<double>(0.2) << std::optional<double>(20.0);
        QTest::newRow("zero") << std::optional<double>(0.0) << std::optional<double>();
        QTest::newRow("negative") << std::optional<double>(-0.1) << std::optional<double>();
        QTest::newRow("null") << std::optional<double>() << std::optional<double>();
    }

    void calculatedPercentage()
    {
        QFETCH(std::optional<double>, oran);
        QFETCH(std::optional<double>, expected);
        QCOMPARE(fieldtext::calculatedPercentage(oran), expected);
    }

    void descriptionIsCutAt255Characters()
    {
        const QByteArray longText(300, 'x');
        QCOMPARE(fieldtext::descriptionForDisplay(longText).size(), 255);
        QCOMPARE(fieldtext::descriptionForDisplay(QByteArray("kısa")), QByteArray("kısa"));
    }
};

QTEST_GUILESS_MAIN(TestFieldText)
#include "tst_fieldtext.moc"
