// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"
#include "jet/apperror.h"
#include "windowsupport.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QRadioButton>

namespace {

enum Edit {
    SetTerm2Buhar,
    DeleteTerm2,
    PasteBuharOverTerm1,
    UndoTerm1Edit,
    ClearTerm1,
    ChooseAndSilently,
};

const QStringList kEveryRow = {
    "1", "1.1", "1.1.1", "1.1.2", "2", "2.1", "2.1.1", "2.1.2", "3.1.2.4", "3.2", "3.3", "4.1.2.3"};

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void eachKeyFiltersByTheBoxesAsTheyWereBeforeIt()
    {
        StartedProgram program;
        QTest::keyClick(program.term1(), Qt::Key_B);
        QCOMPARE(program.allRows(), kEveryRow); // the box was empty before the key
        QTest::keyClick(program.term1(), Qt::Key_I);
        QCOMPARE(program.allRows(), (QStringList {"1", "2.1.1", "3.1.2.4", "3.3"})); // by "b"
        QTest::keyClick(program.term1(), Qt::Key_Return);
        QCOMPARE(program.allRows(), (QStringList {"1", "3.1.2.4", "3.3"})); // by "bi"
        QCOMPARE(program.term1()->text(), QStringLiteral("bi"));
    }

    void araSearches_data()
    {
        QTest::addColumn<QString>("term1");
        QTest::addColumn<QString>("term2");
        QTest::addColumn<bool>("orChoice");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("bina finds BİNALAR") << "bina"
                                            << "" << false << QStringList {"1"};
        QTest::newRow("BINA finds nothing") << "BINA"
                                            << "" << false << QStringList {};
        QTest::newRow("ısı finds ISITMA and ısıtma") << "ısı"
                                                     << "" << false << QStringList {"1.1", "1.1.1"};
        QTest::newRow("kazan AND buhar") << "kazan"
                                         << "buhar" << false << QStringList {"2.1.1"};
        QTest::newRow("kazan OR buhar") << "kazan"
                                        << "buhar" << true << QStringList {"1.1.1", "2.1.1"};
        QTest::newRow("buhar AND kazan, any order") << "buhar"
                                                    << "kazan" << false << QStringList {"2.1.1"};
        QTest::newRow("term 2 of spaces, AND: nothing") << "bina"
                                                        << "   " << false << QStringList {};
        QTest::newRow("term 2 of spaces, OR: as term 1 alone")
            << "bina"
            << "   " << true << QStringList {"1"};
        QTest::newRow("term 2 alone never filters") << ""
                                                    << "vinç" << true << kEveryRow;
        QTest::newRow("word after character 255") << "çömlekçilik"
                                                  << "" << false << QStringList {"3.1.2.4"};
        QTest::newRow("ampersand is plain text") << "&"
                                                 << "" << false << QStringList {"3.2"};
        QTest::newRow("term of spaces matches nothing") << " "
                                                        << "" << false << QStringList {};
    }

    void araSearches()
    {
        QFETCH(QString, term1);
        QFETCH(QString, term2);
        QFETCH(bool, orChoice);
        QFETCH(QStringList, rows);
        StartedProgram program;
        program.term1()->setText(term1);
        program.term2()->setText(term2);
        program.control<QRadioButton>(orChoice ? "RadioButton2" : "RadioButton1")->setChecked(true);
        program.button("JvXPButton1")->click();
        QCOMPARE(program.allRows(), rows);
        QVERIFY(program.boxes.empty());
    }

    void resetEmptiesBothBoxesAndShowsEverything()
    {
        StartedProgram program;
        program.term1()->setText(QStringLiteral("kazan"));
        program.term2()->setText(QStringLiteral("buhar"));
        program.button("JvXPButton1")->click();
        QCOMPARE(program.allRows().size(), 1);
        program.button("JvXPButton3")->click();
        QCOMPARE(program.term1()->text(), QString());
        QCOMPARE(program.term2()->text(), QString());
        QCOMPARE(program.allRows(), kEveryRow);
        QVERIFY(!program.window().query()->isFiltered());
    }

    void backspaceOnTheLastCharacter()
    {
        StartedProgram program;
        QTest::keyClicks(program.term1(), QStringLiteral("b"));
        QTest::keyClick(program.term1(), Qt::Key_Return);
        QCOMPARE(program.allRows(), (QStringList {"1", "2.1.1", "3.1.2.4", "3.3"}));
        QTest::keyClick(program.term1(), Qt::Key_Backspace); // filters by "b", then empties the box
        QCOMPARE(program.term1()->text(), QString());
        QCOMPARE(program.allRows(), (QStringList {"1", "2.1.1", "3.1.2.4", "3.3"}));
        QTest::keyClick(program.term1(), Qt::Key_K); // the box was empty: nothing happens
        QVERIFY(program.window().query()->isFiltered());
        QCOMPARE(program.shownRows(), (QStringList {"1", "2.1.1", "3.1.2.4", "3.3"}));
        QTest::keyClick(program.term1(), Qt::Key_Return); // filters by "k" again
        QCOMPARE(program.allRows(),
            (QStringList {"1.1.1", "1.1.2", "2", "2.1.1", "3.1.2.4", "3.3", "4.1.2.3"}));
    }

    void rowsFetchedLaterAreTestedWithTheBoxesAsTheyAreThen()
    {
        // A list longer than one fetch: what the grid fetches after the boxes were
        // edited without a search uses the new text.
        StartedProgram program;
        std::vector<RatesRecordValues> records(3 * RatesTableModel::kFetchBatch);
        for (size_t i = 0; i < records.size(); ++i) {
            records[i].tum_kodu = QByteArray::number(qulonglong(i));
            records[i].aciklama = i % 2 ? QByteArray("kazan") : QByteArray("buhar kazan");
        }
        program.window().query()->openWithRecords(records);
        program.term1()->setText(QStringLiteral("kazan"));
        program.button("JvXPButton1")->click();
        program.window().query()->openWithRecords(records);
        QCOMPARE(program.shownRows().size(), RatesTableModel::kFetchBatch);
        program.term1()->setText(QStringLiteral("buhar")); // not a key press: no re-application
        QCOMPARE(program.shownRows().size(), RatesTableModel::kFetchBatch);
        const QStringList rows = program.allRows();
        QCOMPARE(rows.size(), RatesTableModel::kFetchBatch + RatesTableModel::kFetchBatch);
        QCOMPARE(rows.last(), QString::number(records.size() - 2)); // only "buhar kazan" rows later
    }

    void firstScreenfulIsFetchedBeforeTheKeyLands_data()
    {
        QTest::addColumn<int>("windowHeight");
        QTest::newRow("designed height") << 466;
        QTest::newRow("maximised on a Full HD screen") << 1040;
        QTest::newRow("taller than any fetch batch") << 1600;
    }

    void firstScreenfulIsFetchedBeforeTheKeyLands()
    {
        // Every row the grid shows after a key must have been tested against the boxes
        // as they were before the key: "t" here, which every record matches, not "ta".
        QFETCH(int, windowHeight);
        StartedProgram program;
        std::vector<RatesRecordValues> records(200);
        for (size_t i = 0; i < records.size(); ++i) {
            records[i].tum_kodu = QByteArray::number(qulonglong(i));
            records[i].aciklama = i % 2 ? QByteArray("ta") : QByteArray("tx");
        }
        program.window().query()->openWithRecords(records);
        QVERIFY(program.showAndWait());
        program.window().resize(1000, windowHeight);
        QTRY_COMPARE(program.window().height(), windowHeight);
        QTableView *grid = program.grid();
        const int rowHeight = grid->verticalHeader()->defaultSectionSize();
        const int visibleRows = (grid->viewport()->height() + rowHeight - 1) / rowHeight;

        program.term1()->setText(QStringLiteral("t"));
        QTest::keyClick(program.term1(), Qt::Key_A);
        QVERIFY(program.shownRows().size() >= visibleRows);
        QTest::qWait(20); // the grid lays itself out and may fetch more, now with "ta"
        const QStringList shown = program.shownRows().mid(0, visibleRows);
        QStringList expected;
        for (int i = 0; i < visibleRows; ++i)
            expected << QString::number(i);
        QCOMPARE(shown, expected);
    }

    // The filter keeps the boxes' texts rather than reading them at every record: any
    // way of changing a box or the AND/OR choice must reach the rows fetched afterwards.
    // The first search accepts every record; the edit then halves what is accepted (or
    // leaves nothing), so a filter that missed the edit would accept every later row.
    void rowsFetchedLaterSeeEveryWayOfEditingTheBoxes_data()
    {
        QTest::addColumn<QString>("term1");
        QTest::addColumn<QString>("term2");
        QTest::addColumn<bool>("orChoice");
        QTest::addColumn<int>("edit");
        QTest::addColumn<int>("laterRows"); // of the 240 records after the first batch
        QTest::newRow("term 2 set by the program") << "kazan"
                                                   << "" << false << int(SetTerm2Buhar) << 120;
        QTest::newRow("term 2 emptied with Delete, OR")
            << "buhar"
            << "kazan" << true << int(DeleteTerm2) << 120;
        QTest::newRow("text pasted over term 1") << "kazan"
                                                 << "" << false << int(PasteBuharOverTerm1) << 120;
        QTest::newRow("term 1 edit undone") << "kazan"
                                            << "" << false << int(UndoTerm1Edit) << 120;
        QTest::newRow("term 1 emptied by the program") << "kazan"
                                                       << "" << false << int(ClearTerm1) << 0;
        QTest::newRow("OR switched back to AND without a search")
            << "kazan"
            << "buhar" << true << int(ChooseAndSilently) << 120;
    }

    void rowsFetchedLaterSeeEveryWayOfEditingTheBoxes()
    {
        QFETCH(QString, term1);
        QFETCH(QString, term2);
        QFETCH(bool, orChoice);
        QFETCH(int, edit);
        QFETCH(int, laterRows);
        StartedProgram program;
        std::vector<RatesRecordValues> records(6 * RatesTableModel::kFetchBatch);
        for (size_t i = 0; i < records.size(); ++i) {
            records[i].tum_kodu = QByteArray::number(qulonglong(i));
            records[i].aciklama = i % 2 ? QByteArray("kazan") : QByteArray("buhar kazan");
        }
        program.control<QRadioButton>(orChoice ? "RadioButton2" : "RadioButton1")->setChecked(true);
        program.term1()->setText(term1);
        program.term2()->setText(term2);
        if (edit == UndoTerm1Edit) {
            program.term1()->setText(QStringLiteral("buhar"));
            program.term1()->selectAll();
            program.term1()->insert(term1); // an edit that can be undone
        }
        program.button("JvXPButton1")->click(); // reads the table: the filter goes on
        program.window().query()->openWithRecords(records);
        const int firstBatch = int(program.shownRows().size());
        QCOMPARE(firstBatch, RatesTableModel::kFetchBatch);

        switch (Edit(edit)) {
        case SetTerm2Buhar:
            program.term2()->setText(QStringLiteral("buhar"));
            break;
        case DeleteTerm2:
            program.term2()->selectAll();
            QTest::keyClick(program.term2(), Qt::Key_Delete); // produces no character
            break;
        case PasteBuharOverTerm1:
            program.term1()->selectAll();
            program.term1()->insert(QStringLiteral("buhar"));
            break;
        case UndoTerm1Edit:
            program.term1()->undo(); // back to "buhar"
            break;
        case ClearTerm1:
            program.term1()->clear();
            break;
        case ChooseAndSilently: {
            QRadioButton *andChoice = program.control<QRadioButton>("RadioButton1");
            const QSignalBlocker noSearch(andChoice); // the button alone, not the group
            andChoice->setChecked(true);
            break;
        }
        }
        QCOMPARE(program.shownRows().size(), firstBatch); // nothing re-applied
        QCOMPARE(program.allRows().size(), firstBatch + laterRows);
    }

    // The grid skips rejected records by searching the descriptions for the terms; it
    // must show exactly the records the predicate accepts, over far more records than
    // one stretch of the search.
    void skippingAgreesWithThePredicate_data()
    {
        QTest::addColumn<QString>("term1");
        QTest::addColumn<QString>("term2");
        QTest::addColumn<bool>("orChoice");
        QTest::newRow("one term") << "kazan"
                                  << "" << false;
        QTest::newRow("AND") << "kazan"
                             << "buhar" << false;
        QTest::newRow("OR") << "kazan"
                            << "buhar" << true;
        QTest::newRow("OR, term 1 rare, term 2 common") << "buhar kazanı"
                                                        << "kazan" << true;
        QTest::newRow("OR, term 1 found nowhere") << "zxq"
                                                  << "buhar" << true;
        QTest::newRow("AND, term 2 found nowhere") << "kazan"
                                                   << "zxq" << false;
        QTest::newRow("OR, term 2 of spaces") << "buhar"
                                              << "  " << true;
        QTest::newRow("capitals in the terms") << "KAZAN"
                                               << "BUHAR" << true;
    }

    void skippingAgreesWithThePredicate()
    {
        QFETCH(QString, term1);
        QFETCH(QString, term2);
        QFETCH(bool, orChoice);
        StartedProgram program;
        std::vector<RatesRecordValues> records(2000);
        for (size_t i = 0; i < records.size(); ++i) {
            records[i].tum_kodu = QByteArray::number(qulonglong(i));
            QByteArray &text = records[i].aciklama;
            text = "satır " + QByteArray::number(qulonglong(i));
            if (i % 7 == 0 || i == 1999)
                text += " kazan";
            if (i % 300 == 299)
                text += " BUHAR";
            if (i == 1500)
                text += " buhar KAZANI";
        }
        program.control<QRadioButton>(orChoice ? "RadioButton2" : "RadioButton1")->setChecked(true);
        program.term1()->setText(term1);
        program.term2()->setText(term2);
        program.button("JvXPButton1")->click();
        program.window().query()->openWithRecords(records);

        QStringList expected;
        for (int i = 0; i < program.window().query()->recordCount(); ++i) {
            if (program.window().meslekkoduQueryFilterRecord(program.window().query()->record(i)))
                expected << QString::number(i);
        }
        QCOMPARE(program.allRows(), expected);
    }

    void automaticSearchTick()
    {
        StartedProgram program;
        program.term1()->setText(QStringLiteral("kazan"));
        program.control<QCheckBox>("CheckBox1")->setChecked(false);
        QTest::keyClick(program.term1(), Qt::Key_Return);
        QCOMPARE(program.allRows(), kEveryRow); // automatic search is off
        program.control<QCheckBox>("CheckBox1")->setChecked(true);
        QCOMPARE(program.allRows(), kEveryRow); // ticking changes nothing at once
        QTest::keyClick(program.term2(), Qt::Key_Return); // either box's key counts
        QCOMPARE(program.allRows(), (QStringList {"1.1.1", "2.1.1"}));
    }

    void keysThatProduceNoCharacterDoNotSearch_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("searches");
        QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << true;
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier) << true;
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << true;
        QTest::newRow("a letter") << int(Qt::Key_A) << int(Qt::NoModifier) << true;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << int(Qt::NoModifier) << false;
        QTest::newRow("Left") << int(Qt::Key_Left) << int(Qt::NoModifier) << false;
        QTest::newRow("Home") << int(Qt::Key_Home) << int(Qt::NoModifier) << false;
        QTest::newRow("Shift alone") << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << false;
    }

    void keysThatProduceNoCharacterDoNotSearch()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, searches);
        StartedProgram program;
        program.term1()->setText(QStringLiteral("kazan"));
        QSignalSpy restarts(program.window().query(), &RatesQuery::restarted);
        QTest::keyClick(program.term1(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(restarts.count() > 0, searches);
    }

    void orAndAndRerunTheSearch()
    {
        StartedProgram program;
        program.term1()->setText(QStringLiteral("kazan"));
        program.term2()->setText(QStringLiteral("buhar"));
        QSignalSpy restarts(program.window().query(), &RatesQuery::restarted);
        auto *andChoice = program.control<QRadioButton>("RadioButton1");
        auto *orChoice = program.control<QRadioButton>("RadioButton2");

        QTest::mouseClick(andChoice, Qt::LeftButton); // already selected: nothing
        QCOMPARE(restarts.count(), 0);
        QTest::mouseClick(orChoice, Qt::LeftButton);
        const int afterOr = restarts.count();
        QVERIFY(afterOr > 0);
        QCOMPARE(program.allRows(), (QStringList {"1.1.1", "2.1.1"}));
        QTest::mouseClick(andChoice, Qt::LeftButton);
        QVERIFY(restarts.count() > afterOr);
        QCOMPARE(program.allRows(), (QStringList {"2.1.1"}));
    }

    void errorWhileReopeningLeavesTheGridEmptyUntilTheNextSearch()
    {
        StartedProgram program(QString {}); // no database at start: two boxes
        program.term1()->setText(QStringLiteral("kazan"));
        program.button("JvXPButton1")->click();
        QCOMPARE(program.boxes.size(), size_t(3));
        QVERIFY2(program.boxes[2].text.startsWith(QStringLiteral("Could not find file")),
            qPrintable(program.boxes[2].text));
        QCOMPARE(program.allRows(), QStringList {});
        program.button("JvXPButton3")->click(); // the reset tries again too
        QCOMPARE(program.boxes.size(), size_t(4));
        QVERIFY(program.run().install(QStringLiteral("fixture.mdb")));
        program.term1()->setText(QStringLiteral("kazan"));
        program.button("JvXPButton1")->click();
        QCOMPARE(program.boxes.size(), size_t(4));
        QCOMPARE(program.allRows(), (QStringList {"1.1.1", "2.1.1"}));
    }

    void errorWhileTestingARecordStopsTheFetchThere()
    {
        StartedProgram program;
        int tested = 0;
        program.window().query()->setFilterRecord([&](const RatesRecord &record) {
            if (++tested == 4)
                throw AppError(QStringLiteral("Bozuk kayıt"));
            return record.aciklama().contains('a');
        });
        program.window().query()->setFiltered(true);
        QCOMPARE(program.allRows(), QStringList {"1.1.1"}); // the fourth record failed
        QTRY_COMPARE(program.boxes.size(), size_t(1)); // shown from the event loop
        QCOMPARE(program.boxes[0].text, QStringLiteral("Bozuk kayıt."));
    }
};

int main(int argc, char *argv[])
{
    Application application(argc, argv);
    TestSearch test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_search.moc"
