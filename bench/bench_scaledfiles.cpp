// SPDX-License-Identifier: GPL-3.0-or-later

// Real Jet 4 files of 1,000 to 1,000,000 rows: opening the query; a key press in the
// first term box with automatic search on and a term that matches nothing (every
// record is tested, the grid ends up empty); and ARA, which re-reads the table; the
// last two through the real window offscreen.
// The files are made from ../shared/fixtures/large50k.mdb.gz with bench/make-large-mdb
// into a temporary folder when the benchmark starts: above 50,000 rows its pages are
// copied with fresh autonumbers and their own long values, so the reader takes every
// file as it would a real one. Without the fixture every case is skipped.
//
//   cmake --build build --target bench_scaledfiles
//   build/bench/bench_scaledfiles --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true    (one command line)
//
// Each size is one argument (rows). Read the medians; the slope of time over rows on
// log-log axes says whether the cost grows as the table does.
#include "app/application.h"
#include "app/startup.h"
#include "data/ratesquery.h"
#include "data/ratesstore.h"
#include "jet/apperror.h"
#include "queryopening.h"
#include "ui/amortana/ratestablemodel.h"
#include "ui/amortana/tamortanaf.h"
#include "ui/common/messagebox.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int kSizes[] = {1'000, 10'000, 50'000, 100'000, 1'000'000};

const QString kPackedFixture
    = QStringLiteral(VELKARO_SOURCE_DIR "/../shared/fixtures/large50k.mdb.gz");
const QString kScaleTool = QStringLiteral(VELKARO_SOURCE_DIR "/bench/make-large-mdb");

bool run(const QString &program, const QStringList &arguments, const QString &output = {})
{
    QProcess process;
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    process.start(program, arguments);
    return process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

// One folder per size, each with AnaData/Velkaro.mdb, made on first use.
class ScaledFiles
{
public:
    // Empty when the fixture or python3 is not there.
    QString folderFor(int rows)
    {
        if (!m_available)
            return {};
        const auto known = m_folders.find(rows);
        if (known != m_folders.end())
            return known->second;
        const QString folder = m_root.filePath(QString::number(rows));
        QDir().mkpath(folder + QStringLiteral("/AnaData"));
        // The help file too: without it the window would stop at an error box.
        QFile::copy(
            QStringLiteral(VELKARO_SOURCE_DIR "/yardim"), folder + QStringLiteral("/yardim"));
        if (!run(QStringLiteral("python3"),
                {kScaleTool, m_unpacked, folder + QStringLiteral("/AnaData/Velkaro.mdb"),
                    QString::number(rows)}))
            return {};
        m_folders[rows] = folder;
        return folder;
    }

    static ScaledFiles &instance()
    {
        static ScaledFiles files;
        return files;
    }

private:
    ScaledFiles()
    {
        m_unpacked = m_root.filePath(QStringLiteral("large50k.mdb"));
        m_available = m_root.isValid() && QFile::exists(kPackedFixture) && QFile::exists(kScaleTool)
            && run(QStringLiteral("gunzip"), {QStringLiteral("-c"), kPackedFixture}, m_unpacked);
    }

    QTemporaryDir m_root;
    QString m_unpacked;
    bool m_available = false;
    std::map<int, QString> m_folders;
};

QString folderOrSkip(benchmark::State &state)
{
    const QString folder = ScaledFiles::instance().folderFor(int(state.range(0)));
    if (folder.isEmpty())
        state.SkipWithError("needs ../shared/fixtures/large50k.mdb.gz and python3");
    return folder;
}

// The rows of the 50,000-row file, read once and repeated up to `rows`: what storing
// rows costs does not depend on where they came from.
std::vector<RatesRecordValues> repeatedRows(int rows)
{
    std::vector<RatesRecordValues> read;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(ScaledFiles::instance().folderFor(50'000));
    JetConnection connection;
    RatesQuery query(&connection);
    query.open();
    QDir::setCurrent(previous);
    for (int i = 0; i < query.recordCount(); ++i) {
        const RatesRecord record = query.record(i);
        read.push_back({record.ID(), record.ana_kodu(), record.alt1_kodu(), record.alt2_kodu(),
            record.alt3_kodu(), record.tum_kodu(), record.aciklama(), record.omur_yil(),
            record.oran(), record.teblig(), record.not_()});
    }
    std::vector<RatesRecordValues> repeated;
    repeated.reserve(size_t(rows));
    while (int(repeated.size()) < rows)
        repeated.push_back(read[repeated.size() % read.size()]);
    return repeated;
}

void BM_OpenQuery(benchmark::State &state)
{
    const QString folder = folderOrSkip(state);
    if (folder.isEmpty())
        return;
    try {
        openQueryIn(state, folder);
    } catch (const AppError &error) {
        state.SkipWithError(qPrintable(error.message()));
    }
}

#ifdef Q_OS_LINUX
qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * 4096 : 0;
}

// What the rows cost the process: resident memory grown by storing them, per row, the
// allocator's share included. The rows are the 50,000 of the real file, repeated.
void BM_RowMemory(benchmark::State &state)
{
    if (ScaledFiles::instance().folderFor(50'000).isEmpty()) {
        state.SkipWithError("needs ../shared/fixtures/large50k.mdb.gz");
        return;
    }
    const std::vector<RatesRecordValues> rows = repeatedRows(50'000);
    const int count = int(state.range(0));
    double perRow = 0;
    for (auto _ : state) {
        const qint64 before = residentBytes();
        RatesStore store;
        for (int i = 0; i < count; ++i)
            store.append(rows[size_t(i) % rows.size()]);
        store.squeeze();
        perRow = double(residentBytes() - before) / count;
        state.counters["held_bytes_per_row"] = double(store.memoryBytes()) / count;
    }
    state.counters["resident_bytes_per_row"] = perRow;
}
BENCHMARK(BM_RowMemory)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);
#endif

// The real window, started in one of the folders as the program starts there.
class Window
{
public:
    explicit Window(const QString &folder)
        : m_folder(folder)
    {
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder);
        m_windows = createMainWindows();
        QDir::setCurrent(previous);
        window().show();
        window().findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->setChecked(true);
    }

    const QString &folder() const { return m_folder; }
    bool isOpen() { return window().query()->isOpen(); }
    TamortanaF &window() { return *m_windows.amortanaF; }
    QLineEdit *edit1() { return window().findChild<QLineEdit *>(QStringLiteral("Edit1")); }

private:
    QString m_folder;
    MainWindows m_windows;
};

std::unique_ptr<Window> g_window;

// The window on the file of this size, or nothing with the benchmark marked skipped.
Window *windowOrSkip(benchmark::State &state)
{
    const QString folder = folderOrSkip(state);
    if (folder.isEmpty())
        return nullptr;
    if (!g_window || g_window->folder() != folder) {
        g_window.reset(); // the old rows go before the new ones come
        g_window = std::make_unique<Window>(folder);
    }
    if (!g_window->isOpen()) {
        state.SkipWithError("the reader refuses this file");
        return nullptr;
    }
    return g_window.get();
}

void BM_KeyPressNoMatch(benchmark::State &state)
{
    Window *opened = windowOrSkip(state);
    if (!opened)
        return;
    Window &window = *opened;
    window.edit1()->setText(QStringLiteral("zxq"));
    for (auto _ : state)
        window.window().Edit1KeyPress();
    state.counters["rows"] = window.window().query()->recordCount();
    state.counters["shown"] = window.window().dataSource()->rowCount();
    window.edit1()->clear();
}

// ARA with the first box empty: the query is closed, re-read and the grid refetched.
void BM_AraRereads(benchmark::State &state)
{
    Window *opened = windowOrSkip(state);
    if (!opened)
        return;
    Window &window = *opened;
    window.edit1()->clear();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(window.folder());
    for (auto _ : state)
        window.window().JvXPButton1Click();
    QDir::setCurrent(previous);
    state.counters["rows"] = window.window().query()->recordCount();
}

void sizes(benchmark::internal::Benchmark *benchmark)
{
    for (const int rows : kSizes)
        benchmark->Arg(rows);
}

BENCHMARK(BM_OpenQuery)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyPressNoMatch)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AraRereads)->Apply(sizes)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application application(argc, argv);
    // An error box would wait for a click that never comes; print the message instead.
    messagebox::setPresenter([](const messagebox::Request &request) {
        std::fprintf(stderr, "%s\n", qPrintable(request.text));
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_window.reset();
    return 0;
}
