// SPDX-License-Identifier: GPL-3.0-or-later

// Search speed: folding + matching throughput on description text, and re-applying the
// filter after a key press through the real window (offscreen, shipped list and 1,000,000
// synthetic rows), each beside the naive QLocale/QString way measured in the same run.
//
//   cmake --build build-bench --target bench_search
//   build-bench/bench/bench_search --benchmark_repetitions=9
//       --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
//   (one command line)
//
// Read the medians: other builds share the cores. --benchmark_filter=Fold runs the
// throughput part alone, without a window. Runs from anywhere; the list comes from the
// source tree.
#include "app/application.h"
#include "app/startup.h"
#include "data/ratesquery.h"
#include "data/turkishfold.h"
#include "jet/cp1254.h"
#include "jet/jetconnection.h"
#include "ui/amortana/ratestablemodel.h"
#include "ui/amortana/tamortanaf.h"
#include "ui/amortana/webpanel.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QLocale>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

constexpr size_t kLargeListRows = 1'000'000;
constexpr qsizetype kSyntheticBytes = 200;
constexpr qsizetype kCorpusBytes = 4 << 20; // well past the caches, as a large list is

// Terms that occur in none of the texts: every record is tested to its end. One starts
// with a letter rarely seen, one with the commonest letter of Turkish text, which is the
// hard case for a search that looks for the first byte and then compares.
const char *const kAbsentTerms[] = {"zxq", "asfaltqz"};
// On the shipped list: two terms found nowhere, one found in a few rows after many
// records, and one letter found almost everywhere, which fills the screenful at once.
const char *const kShippedTerms[] = {"zxq", "asfaltqz", "bina", "A"};

QByteArray ansi(const char *utf8)
{
    return cp1254::fromUnicode(QString::fromUtf8(utf8));
}

// Descriptions of about 200 bytes from words of the kind the list uses, with capitals
// of every Turkish kind so that folding has work to do; the same every run.
std::vector<QByteArray> syntheticDescriptions(size_t count)
{
    static const char *const words[] = {"BİNA", "Binalar", "makine", "TESİS", "ve", "cihazları",
        "Isıtma", "ÇELİK", "öğütme", "Şaft", "kazanı", "BUHAR", "taşıt", "aletleri", "Dokuma",
        "ÜRÜNLERİ", "için", "olan", "Diğer", "demir", "YAPILAR", "asansör", "döşeme", "Elektrik",
        "tesisatı", "büro", "MOBİLYA", "ağaç", "Gemi", "uçak", "değirmen", "İŞLEME", "Güç",
        "üretim", "soğutma", "Havalandırma", "ölçü", "KONTROL", "Yol", "köprü", "(sabit)", "kısmı",
        "Tıbbi", "cihaz", "dahil", "GIDA", "sanayii", "10.", "2."};
    std::vector<QByteArray> ansiWords;
    for (const char *word : words)
        ansiWords.push_back(ansi(word));
    std::mt19937 random(1254);
    std::uniform_int_distribution<size_t> pick(0, ansiWords.size() - 1);
    std::vector<QByteArray> texts;
    texts.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        QByteArray text;
        text.reserve(kSyntheticBytes + 16);
        while (text.size() < kSyntheticBytes) {
            if (!text.isEmpty())
                text += ' ';
            text += ansiWords[pick(random)];
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

std::vector<QByteArray> shippedDescriptions()
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(VELKARO_SOURCE_DIR));
    JetConnection connection;
    RatesQuery query(&connection);
    query.open();
    QDir::setCurrent(previous);
    std::vector<QByteArray> texts;
    for (int i = 0; i < query.recordCount(); ++i)
        texts.push_back(query.record(i).aciklama());
    return texts;
}

// The texts repeated until they fill the corpus, each in its own allocation as rows are.
std::vector<QByteArray> corpusOf(const std::vector<QByteArray> &texts)
{
    std::vector<QByteArray> corpus;
    qsizetype bytes = 0;
    while (bytes < kCorpusBytes) {
        for (const QByteArray &text : texts) {
            corpus.emplace_back(text.constData(), text.size());
            bytes += text.size();
        }
    }
    return corpus;
}

const std::vector<QByteArray> &corpus(int which)
{
    static const std::vector<QByteArray> shipped = corpusOf(shippedDescriptions());
    static const std::vector<QByteArray> synthetic
        = corpusOf(syntheticDescriptions(size_t(kCorpusBytes / kSyntheticBytes)));
    return which == 0 ? shipped : synthetic;
}

qsizetype totalBytes(const std::vector<QByteArray> &texts)
{
    qsizetype bytes = 0;
    for (const QByteArray &text : texts)
        bytes += text.size();
    return bytes;
}

void setLabels(benchmark::State &state, const char *term)
{
    state.SetLabel(std::string(state.range(0) == 0 ? "shipped" : "synthetic") + " texts, term \""
        + term + "\"");
}

// Folding each text as the program does when the query opens, then searching it.
void BM_FoldAndMatch(benchmark::State &state)
{
    const std::vector<QByteArray> &texts = corpus(int(state.range(0)));
    const char *term = kAbsentTerms[state.range(1)];
    const QByteArray ansiTerm = ansi(term);
    int matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (const QByteArray &text : texts)
            matches += turkishfold::termMatches(ansiTerm, text);
        benchmark::DoNotOptimize(matches);
    }
    if (matches != 0)
        state.SkipWithError("the term occurs in the texts");
    state.SetBytesProcessed(int64_t(state.iterations()) * totalBytes(texts));
    setLabels(state, term);
}
BENCHMARK(BM_FoldAndMatch)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// Searching text folded once beforehand, as the filter does at every key press.
void BM_FoldedMatch(benchmark::State &state)
{
    std::vector<QByteArray> folded;
    for (const QByteArray &text : corpus(int(state.range(0))))
        folded.push_back(turkishfold::fold(text));
    const char *term = kAbsentTerms[state.range(1)];
    const QByteArray foldedTerm = turkishfold::fold(ansi(term));
    int matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (const QByteArray &text : folded)
            matches += turkishfold::foldedContains(text, foldedTerm);
        benchmark::DoNotOptimize(matches);
    }
    if (matches != 0)
        state.SkipWithError("the term occurs in the texts");
    state.SetBytesProcessed(int64_t(state.iterations()) * totalBytes(folded));
    setLabels(state, term);
}
BENCHMARK(BM_FoldedMatch)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// The naive way for the same texts: a Turkish locale lower-cases both sides in UTF-16.
void BM_NaiveFoldAndMatch(benchmark::State &state)
{
    const std::vector<QByteArray> &texts = corpus(int(state.range(0)));
    const char *term = kAbsentTerms[state.range(1)];
    const QByteArray ansiTerm = ansi(term);
    int matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (const QByteArray &text : texts) {
            const QLocale turkish(QLocale::Turkish);
            matches
                += turkish.toLower(cp1254::toUnicode(text))
                       .contains(turkish.toLower(cp1254::toUnicode(ansiTerm)), Qt::CaseInsensitive);
        }
        benchmark::DoNotOptimize(matches);
    }
    if (matches != 0)
        state.SkipWithError("the term occurs in the texts");
    state.SetBytesProcessed(int64_t(state.iterations()) * totalBytes(texts));
    setLabels(state, term);
}
BENCHMARK(BM_NaiveFoldAndMatch)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// The real window, started as the program starts it, shown and painted once.
class WindowFixture
{
public:
    WindowFixture()
    {
        const QString previous = QDir::currentPath();
        QDir::setCurrent(QStringLiteral(VELKARO_SOURCE_DIR));
        m_windows = createMainWindows();
        QDir::setCurrent(previous);
        window().showMaximized();
        // Let the first paint happen and the web view come up, as it does for a user
        // before the first key, so that neither lands inside a measurement.
        const QDeadlineTimer deadline(5000);
        while (!window().webPanel()->view() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        window().findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->setChecked(true);
    }

    TamortanaF &window() { return *m_windows.amortanaF; }
    QLineEdit *edit1() { return window().findChild<QLineEdit *>(QStringLiteral("Edit1")); }

    void useShippedList()
    {
        if (!m_usesLargeList)
            return;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(QStringLiteral(VELKARO_SOURCE_DIR));
        window().query()->open();
        QDir::setCurrent(previous);
        m_usesLargeList = false;
    }

    void useLargeList()
    {
        // Made once: random interleaving switches lists between repetitions. The copy
        // shares the texts, so only the folded copies are made again.
        static const std::vector<RatesRecordValues> records = [] {
            std::vector<RatesRecordValues> made(kLargeListRows);
            std::vector<QByteArray> texts = syntheticDescriptions(kLargeListRows);
            for (size_t i = 0; i < kLargeListRows; ++i) {
                made[i].ID = double(i + 1);
                made[i].tum_kodu = QByteArray::number(qulonglong(i + 1));
                made[i].aciklama = std::move(texts[i]);
                made[i].oran = 10.0;
            }
            return made;
        }();
        if (m_usesLargeList)
            return;
        window().query()->openWithRecords(records);
        m_usesLargeList = true;
    }

    // The naive predicate: the term read from the box and both sides lower-cased with
    // a Turkish locale in UTF-16 at every record.
    void useNaiveFilter(bool naive)
    {
        TamortanaF *w = &window();
        if (!naive) {
            // The query offers no way to read its predicate back: this is the one the
            // window installs.
            w->query()->setFilterRecord(
                [w](const RatesRecord &record) { return w->meslekkoduQueryFilterRecord(record); });
            return;
        }
        QLineEdit *box = edit1();
        w->query()->setFilterRecord([box](const RatesRecord &record) {
            const QLocale turkish(QLocale::Turkish);
            const QString term = turkish.toLower(box->text().trimmed());
            return !term.isEmpty()
                && turkish.toLower(cp1254::toUnicode(record.aciklama()))
                       .contains(term, Qt::CaseInsensitive);
        });
    }

private:
    MainWindows m_windows;
    bool m_usesLargeList = false;
};

std::unique_ptr<WindowFixture> g_window;

WindowFixture &windowFixture()
{
    if (!g_window)
        g_window = std::make_unique<WindowFixture>();
    return *g_window;
}

void keyPress(benchmark::State &state, bool large, bool naive, const char *term)
{
    WindowFixture &fixture = windowFixture();
    if (large)
        fixture.useLargeList();
    else
        fixture.useShippedList();
    fixture.useNaiveFilter(naive);
    fixture.edit1()->setText(QString::fromUtf8(term));
    for (auto _ : state)
        fixture.window().Edit1KeyPress();
    state.counters["rows"] = fixture.window().dataSource()->rowCount();
    state.counters["records"] = fixture.window().query()->recordCount();
    state.SetLabel(std::string("term \"") + term + "\"");
    fixture.useNaiveFilter(false);
    fixture.edit1()->clear();
}

void BM_KeyPressShipped(benchmark::State &state)
{
    keyPress(state, false, false, kShippedTerms[state.range(0)]);
}
BENCHMARK(BM_KeyPressShipped)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_NaiveKeyPressShipped(benchmark::State &state)
{
    keyPress(state, false, true, kShippedTerms[state.range(0)]);
}
BENCHMARK(BM_NaiveKeyPressShipped)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_KeyPressMillionRows(benchmark::State &state)
{
    keyPress(state, true, false, kAbsentTerms[state.range(0)]);
}
BENCHMARK(BM_KeyPressMillionRows)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

void BM_NaiveKeyPressMillionRows(benchmark::State &state)
{
    keyPress(state, true, true, kAbsentTerms[state.range(0)]);
}
BENCHMARK(BM_NaiveKeyPressMillionRows)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // Only this benchmark's environment: no display, and a web view that runs as root.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_window.reset();
    return 0;
}
