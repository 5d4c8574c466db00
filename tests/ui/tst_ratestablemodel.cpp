// SPDX-License-Identifier: GPL-3.0-or-later

#include "data/ratesquery.h"
#include "ui/amortana/ratestablemodel.h"
#include "ui/common/messagebox.h"

#include <QAbstractItemModelTester>
#include <QTest>

#include <memory>

namespace {

std::vector<RatesRecordValues> numberedRecords(int count)
{
    std::vector<RatesRecordValues> records(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        records[size_t(i)].tum_kodu = QByteArray::number(i + 1);
        records[size_t(i)].aciklama = "kalem " + QByteArray::number(i + 1);
        records[size_t(i)].oran = 0.2;
    }
    return records;
}

bool keepsEveryThird(const RatesRecord &record)
{
    return record.tum_kodu().toInt() % 3 == 0;
}

QList<int> shownRecordNumbers(const RatesTableModel &model)
{
    QList<int> numbers;
    for (int row = 0; row < model.rowCount(); ++row)
        numbers << model.index(row, 0).data(RatesTableModel::RecordNumberRole).toInt();
    return numbers;
}

QList<int> everyThird(int count)
{
    QList<int> numbers;
    for (int number = 3; number <= count; number += 3)
        numbers << number;
    return numbers;
}

} // namespace

// The grid's model under Qt's own model checker, through everything the window does to
// it: fetching, refiltering, reopening, marking the current row and losing its query.
class TestRatesTableModel : public QObject
{
    Q_OBJECT

private slots:
    void staysAValidModelThroughItsLife_data()
    {
        QTest::addColumn<int>("recordCount");
        QTest::newRow("no rows") << 0;
        QTest::newRow("fewer than one fetch") << 5;
        QTest::newRow("exactly one fetch") << RatesTableModel::kFetchBatch;
        QTest::newRow("several fetches and a part") << RatesTableModel::kFetchBatch * 3 + 7;
    }

    void staysAValidModelThroughItsLife()
    {
        QFETCH(int, recordCount);
        auto query = std::make_unique<RatesQuery>(nullptr);
        query->setFilterRecord(keepsEveryThird);
        RatesTableModel model;
        QAbstractItemModelTester tester(&model);
        // The checker would fetch from inside the model's own reset signal, which no view
        // does; the test fetches as the grid does, after the signal.
        tester.setUseFetchMore(false);

        model.setQuery(query.get());
        query->openWithRecords(numberedRecords(recordCount));
        QCOMPARE(model.rowCount(), std::min(recordCount, model.fetchBatch()));
        while (model.canFetchMore())
            model.fetchMore();
        QCOMPARE(model.rowCount(), recordCount);

        query->setFiltered(true);
        while (model.canFetchMore())
            model.fetchMore();
        QCOMPARE(shownRecordNumbers(model), everyThird(recordCount));

        model.setCurrentRow(0);
        model.setCurrentRow(model.rowCount() - 1);
        model.setCurrentRow(-1);

        query->openWithRecords(numberedRecords(recordCount / 2));
        while (model.canFetchMore())
            model.fetchMore();
        QCOMPARE(shownRecordNumbers(model), everyThird(recordCount / 2));

        query.reset();
        model.setQuery(nullptr);
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.canFetchMore());
    }

    void aThrowingFilterEndsTheFetchAndKeepsTheModelValid()
    {
        QStringList errors;
        const messagebox::Presenter previous = messagebox::setPresenter(
            [&](const messagebox::Request &request) { errors << request.text; });
        RatesQuery query(nullptr);
        query.setFilterRecord([](const RatesRecord &record) {
            if (record.tum_kodu().toInt() > 4)
                throw std::runtime_error("the filter failed");
            return true;
        });
        RatesTableModel model;
        QAbstractItemModelTester tester(&model);
        tester.setUseFetchMore(false);
        model.setQuery(&query);
        query.openWithRecords(numberedRecords(10));
        query.setFiltered(true);
        QCOMPARE(shownRecordNumbers(model), (QList<int> {1, 2, 3, 4}));
        QVERIFY(!model.canFetchMore());
        QTRY_COMPARE(errors, QStringList {QStringLiteral("the filter failed.")});
        messagebox::setPresenter(previous);
    }
};

QTEST_MAIN(TestRatesTableModel)
#include "tst_ratestablemodel.moc"
