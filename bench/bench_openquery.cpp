// SPDX-License-Identifier: GPL-3.0-or-later

// Opening the rates query: reading every row of ORANLAR, converting the text and
// computing the derived fields. Run from anywhere; the shipped list comes from the
// source tree, the 50,000-row list from ../shared/fixtures when it is there.
#include "jetconnection.h"
#include "queryopening.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// The reading alone: every row of ORANLAR checked and its text decoded, without the
// records the query builds from them.
void readRows(benchmark::State &state, const QString &runDirectory)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(runDirectory);
    JetConnection connection;
    qsizetype textBytes = 0;
    for (auto _ : state) {
        connection.close();
        connection.open();
        const std::unique_ptr<JetTableCursor> cursor
            = connection.openTable(QStringLiteral("ORANLAR"));
        const int columns = int(cursor->columns().size());
        textBytes = 0;
        while (cursor->next()) {
            for (int column = 0; column < columns; ++column)
                textBytes += cursor->text(column).size();
        }
        benchmark::DoNotOptimize(textBytes);
    }
    state.counters["text bytes"] = double(textBytes);
    QDir::setCurrent(previous);
}

void BM_OpenShippedList(benchmark::State &state)
{
    openQueryIn(state, QStringLiteral(VELKARO_SOURCE_DIR));
}
BENCHMARK(BM_OpenShippedList)->Unit(benchmark::kMillisecond);

// The 50,000-row list unpacked once into a run directory of its own; empty when the
// packed list is not there.
QString large50kRunDirectory()
{
    static QTemporaryDir unpacked;
    static bool ready = [] {
        const QString packed
            = QStringLiteral(VELKARO_SOURCE_DIR "/../shared/fixtures/large50k.mdb.gz");
        if (!QFile::exists(packed))
            return false;
        QDir(unpacked.path()).mkdir(QStringLiteral("AnaData"));
        QProcess gunzip;
        gunzip.setStandardOutputFile(unpacked.filePath(QStringLiteral("AnaData/Velkaro.mdb")));
        gunzip.start(QStringLiteral("gunzip"), {QStringLiteral("-c"), packed});
        return gunzip.waitForFinished(60000) && gunzip.exitCode() == 0;
    }();
    return ready ? unpacked.path() : QString();
}

void BM_OpenLarge50k(benchmark::State &state)
{
    const QString runDirectory = large50kRunDirectory();
    if (runDirectory.isEmpty()) {
        state.SkipWithError("../shared/fixtures/large50k.mdb.gz is not there");
        return;
    }
    openQueryIn(state, runDirectory);
}
BENCHMARK(BM_OpenLarge50k)->Unit(benchmark::kMillisecond);

void BM_ReadRowsLarge50k(benchmark::State &state)
{
    const QString runDirectory = large50kRunDirectory();
    if (runDirectory.isEmpty()) {
        state.SkipWithError("../shared/fixtures/large50k.mdb.gz is not there");
        return;
    }
    readRows(state, runDirectory);
}
BENCHMARK(BM_ReadRowsLarge50k)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
