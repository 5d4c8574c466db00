// Opening the rates query: reading every row of ORANLAR, converting the text and
// computing the derived fields. Run from anywhere; the shipped list comes from the
// source tree, the 50,000-row list from ../shared/fixtures when it is there.
#include "queryopening.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_OpenShippedList(benchmark::State &state)
{
    openQueryIn(state, QStringLiteral(VELKARO_SOURCE_DIR));
}
BENCHMARK(BM_OpenShippedList)->Unit(benchmark::kMillisecond);

void BM_OpenLarge50k(benchmark::State &state)
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
    if (!ready) {
        state.SkipWithError("../shared/fixtures/large50k.mdb.gz is not there");
        return;
    }
    openQueryIn(state, unpacked.path());
}
BENCHMARK(BM_OpenLarge50k)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
