// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"
#include "ui/amortana/recordindicator.h"
#include "windowsupport.h"

#include <QHeaderView>
#include <QTest>

namespace {

// The pixels of one row's indicator section, as the grid shows them.
QImage grabSection(QTableView *grid, int row)
{
    QHeaderView *indicator = grid->verticalHeader();
    const QRect section(0, indicator->sectionViewportPosition(row), indicator->width(),
        indicator->sectionSize(row));
    return indicator->viewport()->grab(section).toImage().convertToFormat(QImage::Format_RGB32);
}

// Per column of the image, the rows drawn in the marker's colour; empty columns are left
// out. A right-pointing triangle gives runs that shrink by one at each end per column.
QList<std::pair<int, int>> markerRuns(const QImage &image, QRgb marker)
{
    QList<std::pair<int, int>> runs;
    for (int x = 0; x < image.width(); ++x) {
        int top = -1;
        int bottom = -1;
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) != marker)
                continue;
            if (top < 0)
                top = y;
            else if (y != bottom + 1)
                return {{-1, -1}}; // not one run: not a filled shape
            bottom = y;
        }
        if (top >= 0)
            runs.append({top, bottom});
    }
    return runs;
}

} // namespace

class TestRecordIndicator : public QObject
{
    Q_OBJECT

private slots:
    void theCurrentRecordIsMarkedByADrawnTriangle_data()
    {
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<QString>("fontFamily");
        QTest::addColumn<int>("fontPixels");
        QTest::newRow("first row") << 0 << QString() << 0;
        QTest::newRow("fourth row") << 3 << QString() << 0;
        QTest::newRow("a font with no glyphs to speak of")
            << 2 << QStringLiteral("No Such Font Family") << 1;
    }

    void theCurrentRecordIsMarkedByADrawnTriangle()
    {
        QFETCH(int, currentRow);
        QFETCH(QString, fontFamily);
        QFETCH(int, fontPixels);
        StartedProgram program;
        QTableView *grid = program.grid();
        QHeaderView *indicator = grid->verticalHeader();
        QVERIFY(qobject_cast<RecordIndicator *>(indicator));
        if (fontPixels > 0) {
            QFont font(fontFamily);
            font.setPixelSize(fontPixels);
            indicator->setFont(font);
        }
        QVERIFY(program.showAndWait());
        grid->setCurrentIndex(grid->model()->index(currentRow, 1));
        const QRgb marker = indicator->palette().color(QPalette::ButtonText).rgb();

        const QImage current = grabSection(grid, currentRow);
        const QList<std::pair<int, int>> runs = markerRuns(current, marker);
        QCOMPARE(runs.size(), 5);
        for (qsizetype column = 1; column < runs.size(); ++column) {
            QCOMPARE(runs[column].first, runs[column - 1].first + 1);
            QCOMPARE(runs[column].second, runs[column - 1].second - 1);
        }
        QCOMPARE(runs.first().second - runs.first().first + 1, 9);
        QCOMPARE(runs.last().first, runs.last().second); // the tip, one pixel
        const QRect expected = RecordIndicator::markerRect(QRect(QPoint(0, 0), current.size()));
        QCOMPARE(runs.first().first, expected.top());
        QCOMPARE(runs.last().first, expected.center().y());

        for (int row : {currentRow - 1, currentRow + 1}) {
            if (row < 0)
                continue;
            QVERIFY2(markerRuns(grabSection(grid, row), marker).isEmpty(),
                qPrintable(QStringLiteral("row %1 is marked too").arg(row)));
        }
    }
};

int main(int argc, char *argv[])
{
    Application application(argc, argv);
    TestRecordIndicator test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recordindicator.moc"
