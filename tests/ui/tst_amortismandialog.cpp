// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"
#include "ui/amortana/amortismandialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

const double kNull = std::numeric_limits<double>::quiet_NaN();

ListedAsset asset(double life, double rate)
{
    const auto cell = [](double value) {
        return std::isnan(value) ? std::nullopt : std::optional<double>(value);
    };
    return {QStringLiteral("1.1.4"), QStringLiteral("Sinema, gazino"), cell(life), cell(rate)};
}

QWidget *focused()
{
    return QApplication::focusWidget();
}

void pressAlt(QWidget *dialog, Qt::Key key)
{
    QTest::keyClick(dialog, key, Qt::AltModifier);
}

QString sentence(const AmortismanDialog &dialog, const char *name)
{
    return dialog.findChild<QLabel *>(QLatin1String(name))->text();
}

bool showsTable(const AmortismanDialog &dialog)
{
    const auto *result = dialog.findChild<QStackedWidget *>();
    return result->currentWidget() == dialog.findChild<QTableWidget *>();
}

QStringList column(const AmortismanDialog &dialog, int index)
{
    const auto *table = dialog.findChild<QTableWidget *>();
    QStringList cells;
    for (int row = 0; row < table->rowCount(); ++row)
        cells << table->item(row, index)->text();
    return cells;
}

} // namespace

class TestAmortismanDialog : public QObject
{
    Q_OBJECT

private:
    // From the keyboard alone, as a user without a mouse would: the cost box has the
    // focus when the dialog opens, every other entry is reached by its mnemonic.
    static void enter(AmortismanDialog &dialog, const QString &cost, int firstYear,
        bool declining = false, int switchFrom = 0, int carMonth = 0)
    {
        QCOMPARE(focused()->objectName(), QStringLiteral("costEdit"));
        QTest::keyClicks(focused(), cost);
        pressAlt(&dialog, Qt::Key_Y);
        QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(focused(), QString::number(firstYear));
        // A button's mnemonic clicks it a moment later, as a pressed button is seen to go
        // down first.
        if (declining) {
            pressAlt(&dialog, Qt::Key_Z);
            QTRY_VERIFY(
                dialog.findChild<QRadioButton *>(QStringLiteral("decliningButton"))->isChecked());
        }
        if (switchFrom != 0) {
            pressAlt(&dialog, Qt::Key_G);
            for (int ordinal = 1; ordinal < switchFrom; ++ordinal)
                QTest::keyClick(focused(), Qt::Key_Down);
        }
        if (carMonth != 0) {
            pressAlt(&dialog, Qt::Key_B);
            QTRY_VERIFY(dialog.findChild<QCheckBox *>(QStringLiteral("carBox"))->isChecked());
            pressAlt(&dialog, Qt::Key_A);
            QTest::keyClick(focused(), Qt::Key_Home);
            for (int month = 1; month < carMonth; ++month)
                QTest::keyClick(focused(), Qt::Key_Down);
        }
    }

    static void open(AmortismanDialog &dialog)
    {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }

private slots:
    void schedule_data()
    {
        QTest::addColumn<double>("life");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("cost");
        QTest::addColumn<int>("firstYear");
        QTest::addColumn<bool>("declining");
        QTest::addColumn<int>("switchFrom");
        QTest::addColumn<int>("carMonth");
        QTest::addColumn<QStringList>("amounts");
        QTest::newRow("normal") << 5.0 << 0.2 << "5.000" << 2024 << false << 0 << 0
                                << QStringList(5, "1.000,00");
        QTest::newRow("declining, normal from year 3")
            << 5.0 << 0.2 << "1.000" << 2024 << true << 3 << 0
            << QStringList {"400,00", "240,00", "120,00", "120,00", "120,00"};
        QTest::newRow("passenger car bought in August")
            << 5.0 << 0.2 << "60.000" << 2010 << false << 0 << 8
            << QStringList {"5.000,00", "12.000,00", "12.000,00", "12.000,00", "19.000,00"};
        QTest::newRow("6,66 % as the list stores it, kuruş typed")
            << 15.0 << 0.0666 << "100.000,00" << 2024 << false << 0 << 0
            << QStringList(14, "6.660,00") + QStringList {"6.760,00"};
    }

    void schedule()
    {
        QFETCH(double, life);
        QFETCH(double, rate);
        QFETCH(QString, cost);
        QFETCH(int, firstYear);
        QFETCH(bool, declining);
        QFETCH(int, switchFrom);
        QFETCH(int, carMonth);
        QFETCH(QStringList, amounts);
        AmortismanDialog dialog(asset(life, rate));
        open(dialog);
        enter(dialog, cost, firstYear, declining, switchFrom, carMonth);
        QVERIFY(showsTable(dialog));
        QCOMPARE(column(dialog, 1), amounts);
        QCOMPARE(column(dialog, 0).first(), QString::number(firstYear));
        QCOMPARE(column(dialog, 0).last(), QString::number(firstYear + int(life) - 1));
        QCOMPARE(column(dialog, 3).last(), QStringLiteral("0,00"));
        QTest::keyClick(focused(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }

    void copiesAndSavesTheTable()
    {
        QTemporaryDir folder;
        QString suggested;
        const QString path = folder.filePath(QStringLiteral("tablo.csv"));
        const auto previous
            = AmortismanDialog::setSaveFileChooser([&](QWidget *, const QString &suggestion) {
                  suggested = suggestion;
                  return path;
              });
        AmortismanDialog dialog(asset(3, 0.3333));
        open(dialog);
        enter(dialog, QStringLiteral("1.000.000"), 2024, true);
        pressAlt(&dialog, Qt::Key_O);
        // In the platform's line breaks, which the record commands' test checks.
        QTRY_COMPARE(QGuiApplication::clipboard()->text().replace(
                         QStringLiteral("\r\n"), QStringLiteral("\n")),
            QStringLiteral("Yıl\tAmortisman\tBirikmiş Amortisman\tNet Değer\n"
                           "2024\t500.000,00\t500.000,00\t500.000,00\n"
                           "2025\t250.000,00\t750.000,00\t250.000,00\n"
                           "2026\t250.000,00\t1.000.000,00\t0,00\n"));
        pressAlt(&dialog, Qt::Key_K);
        QTRY_VERIFY(!suggested.isEmpty());
        AmortismanDialog::setSaveFileChooser(previous);
        QVERIFY(suggested.endsWith(QStringLiteral("/amortisman-1.1.4.csv")));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(),
            QByteArray("\xEF\xBB\xBFYıl;Amortisman;Birikmiş Amortisman;Net Değer\r\n"
                       "2024;500.000,00;500.000,00;500.000,00\r\n"
                       "2025;250.000,00;750.000,00;250.000,00\r\n"
                       "2026;250.000,00;1.000.000,00;0,00\r\n"));
    }

    void rowsWithoutASchedule_data()
    {
        QTest::addColumn<double>("life");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("says");
        QTest::newRow("heading") << kNull << kNull << "heading";
        QTest::newRow("life 6,5") << 6.5 << 0.15 << "not a whole number";
        QTest::newRow("rate 0") << 4.0 << 0.0 << "rate is zero";
        QTest::newRow("no life, a rate") << kNull << 0.2 << "no useful life";
    }

    void rowsWithoutASchedule()
    {
        QFETCH(double, life);
        QFETCH(double, rate);
        QFETCH(QString, says);
        AmortismanDialog dialog(asset(life, rate));
        open(dialog);
        QVERIFY(!showsTable(dialog));
        QVERIFY2(sentence(dialog, "scheduleMessage").contains(says),
            qPrintable(sentence(dialog, "scheduleMessage")));
        QVERIFY(!dialog.findChild<QLineEdit *>()->isEnabled());
        QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("copyButton"))->isEnabled());
        QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("saveButton"))->isEnabled());
    }

    // Each wrong entry is named beside its own field, several at once; none leaves a table.
    void wrongEntries_data()
    {
        QTest::addColumn<QString>("cost");
        QTest::addColumn<int>("firstYear");
        QTest::addColumn<bool>("carAndDeclining");
        // What the sentences beside the cost, the first year and the method say.
        QTest::addColumn<QStringList>("says");
        const auto says = [](const char *cost, const char *year, const char *method) {
            return QStringList {cost, year, method};
        };
        QTest::newRow("empty") << "" << 2024 << false << says("Enter the cost", "", "");
        QTest::newRow("letters") << "12a" << 2024 << false << says("in digits", "", "");
        QTest::newRow("zero") << "0,00" << 2024 << false << says("more than zero", "", "");
        QTest::newRow("negative") << "-5" << 2024 << false << says("negative", "", "");
        QTest::newRow("three decimals") << "1,234" << 2024 << false << says("two decimals", "", "");
        QTest::newRow("a kuruş over the limit")
            << "100.000.000.000,01" << 2024 << false << says("at most 100.000.000.000 TL", "", "");
        QTest::newRow("1949") << "1.000" << 1949 << false << says("", "between 1950 and 2100", "");
        QTest::newRow("2101, letters too")
            << "x" << 2101 << false << says("in digits", "between 1950 and 2100", "");
        QTest::newRow("declining for a car")
            << "1.000" << 2024 << true << says("", "", "not offered for passenger cars");
    }

    void wrongEntries()
    {
        QFETCH(QString, cost);
        QFETCH(int, firstYear);
        QFETCH(bool, carAndDeclining);
        QFETCH(QStringList, says);
        AmortismanDialog dialog(asset(5, 0.2));
        open(dialog);
        enter(dialog, cost, firstYear, carAndDeclining, 0, carAndDeclining ? 8 : 0);
        const char *labels[] = {"costMessage", "yearMessage", "methodMessage"};
        for (int i = 0; i < says.size(); ++i) {
            const QString shown = sentence(dialog, labels[i]);
            QVERIFY2(says[i].isEmpty() ? shown.isEmpty() : shown.contains(says[i]),
                qPrintable(QStringLiteral("%1: \"%2\"").arg(labels[i], shown)));
        }
        QVERIFY(!showsTable(dialog));
        QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("copyButton"))->isEnabled());
    }
};

int main(int argc, char *argv[])
{
    Application application(argc, argv);
    TestAmortismanDialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_amortismandialog.moc"
