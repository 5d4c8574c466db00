// SPDX-License-Identifier: GPL-3.0-or-later

// The desktop search service over the 50,000-row list: a question answered in the
// process (the rows found, then the texts of the ones shown), and the same questions
// over D-Bus to the real service, as GNOME Shell and KRunner ask them, beside a Ping
// to the same service (what the bus alone costs) measured in the same run.
//
//   cmake --build build --target bench_searchservice velkaro-arama-search
//   build/bench/bench_searchservice --benchmark_repetitions=9
//       --benchmark_report_aggregates_only=true    (one command line)
//
// The list is ../shared/fixtures/large50k.mdb.gz, unpacked into a temporary folder; the
// D-Bus cases start a dbus-daemon of their own. Without either, those cases are skipped.
#include "search/krunnertypes.h"
#include "search/ratessearch.h"
#include "searchserviceonbus.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QString kPackedFixture
    = QStringLiteral(VELKARO_SOURCE_DIR "/../shared/fixtures/large50k.mdb.gz");

// What users type, from the hardest to the easiest: a word found nowhere (every row is
// read), two words found together rarely, a common word that fills the 20 at once, and
// a capital I the Turkish way.
const char *const kQueries[] = {"zeplin", "kazan forklift", "buhar", "ISITMA"};

class LargeList
{
public:
    static LargeList &instance()
    {
        static LargeList list;
        return list;
    }
    const QString &path() const { return m_path; }

private:
    LargeList()
    {
        if (!m_folder.isValid() || !QFile::exists(kPackedFixture))
            return;
        const QString path = m_folder.filePath(QStringLiteral("Velkaro.mdb"));
        QProcess gunzip;
        gunzip.setStandardOutputFile(path);
        gunzip.start(QStringLiteral("gunzip"), {QStringLiteral("-c"), kPackedFixture});
        if (gunzip.waitForFinished(60000) && gunzip.exitCode() == 0)
            m_path = path;
    }
    QTemporaryDir m_folder;
    QString m_path;
};

// The real service on a session bus of its own, reading the large list, or nothing with
// the benchmark marked skipped.
SearchServiceOnBus *serviceOrSkip(benchmark::State &state)
{
    static const std::unique_ptr<SearchServiceOnBus> service = [] {
        auto started = std::make_unique<SearchServiceOnBus>(QStringLiteral("velkaro-bench"));
        if (LargeList::instance().path().isEmpty() || !started->startBus()
            || !started->startService(LargeList::instance().path()))
            return std::unique_ptr<SearchServiceOnBus>();
        // The first question reads the list; the cases time the questions after it.
        started->ask(QStringLiteral("org.kde.krunner1"), QStringLiteral("Match"), {QString()});
        return started;
    }();
    if (!service)
        state.SkipWithError("needs dbus-daemon and ../shared/fixtures/large50k.mdb.gz");
    return service.get();
}

void BM_FindInProcess(benchmark::State &state)
{
    if (LargeList::instance().path().isEmpty()) {
        state.SkipWithError("needs ../shared/fixtures/large50k.mdb.gz");
        return;
    }
    RatesSearch search(LargeList::instance().path());
    search.find({}); // reads the list
    const QStringList terms = RatesSearch::termsOf(QString::fromUtf8(kQueries[state.range(0)]));
    int found = 0;
    for (auto _ : state) {
        const QList<int> rows = search.find(terms);
        for (int row : rows)
            benchmark::DoNotOptimize(search.hit(row));
        found = int(rows.size());
    }
    state.SetLabel(kQueries[state.range(0)]);
    state.counters["found"] = found;
    state.counters["rows"] = search.rowCount();
}
BENCHMARK(BM_FindInProcess)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// The first question after D-Bus started the service: the list is read before it is
// answered.
void BM_FirstQuestion(benchmark::State &state)
{
    if (LargeList::instance().path().isEmpty()) {
        state.SkipWithError("needs ../shared/fixtures/large50k.mdb.gz");
        return;
    }
    const QStringList terms {QStringLiteral("buhar")};
    for (auto _ : state) {
        RatesSearch search(LargeList::instance().path());
        benchmark::DoNotOptimize(search.find(terms));
    }
}
BENCHMARK(BM_FirstQuestion)->Unit(benchmark::kMillisecond);

void BM_GnomeShellOverDBus(benchmark::State &state)
{
    SearchServiceOnBus *service = serviceOrSkip(state);
    if (!service)
        return;
    const QStringList terms = RatesSearch::termsOf(QString::fromUtf8(kQueries[state.range(0)]));
    const QString gnome = QStringLiteral("org.gnome.Shell.SearchProvider2");
    for (auto _ : state) {
        // What GNOME Shell asks for one query: the results, then the texts of those shown.
        const QDBusMessage ids
            = service->ask(gnome, QStringLiteral("GetInitialResultSet"), {terms});
        const QDBusMessage metas = service->ask(gnome, QStringLiteral("GetResultMetas"),
            {ids.arguments().value(0).toStringList().mid(0, 5)});
        benchmark::DoNotOptimize(metas.arguments());
    }
    state.SetLabel(kQueries[state.range(0)]);
}
BENCHMARK(BM_GnomeShellOverDBus)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_KRunnerOverDBus(benchmark::State &state)
{
    SearchServiceOnBus *service = serviceOrSkip(state);
    if (!service)
        return;
    const QString query = QString::fromUtf8(kQueries[state.range(0)]);
    for (auto _ : state) {
        const QDBusMessage reply
            = service->ask(QStringLiteral("org.kde.krunner1"), QStringLiteral("Match"), {query});
        benchmark::DoNotOptimize(reply.arguments());
    }
    state.SetLabel(kQueries[state.range(0)]);
}
BENCHMARK(BM_KRunnerOverDBus)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// The baseline: a round trip to the same service that asks nothing of the list.
void BM_PingOverDBus(benchmark::State &state)
{
    SearchServiceOnBus *service = serviceOrSkip(state);
    if (!service)
        return;
    for (auto _ : state) {
        const QDBusMessage reply
            = service->ask(QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"), {});
        benchmark::DoNotOptimize(reply.type());
    }
}
BENCHMARK(BM_PingOverDBus)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("velkaro.search.info=false"));
    registerSearchDBusTypes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
