// SPDX-License-Identifier: GPL-3.0-or-later

// The help reader on hostile shapes, 40 KB to 50 MB: a help file of empty paragraphs
// ("\par" after "\par") and one of a single unbroken line. Each size is read as the help
// window reads it (line breaks, RTF into the compact text, the first part into a
// document, laid out at the view's width), beside the way the window read it before:
// every paragraph inserted into the document and the whole laid out, as far as that
// finishes in reasonable time.
//
//   build/bench/bench_helpreader --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// Read the medians: other builds share the cores. The sizes go past the loader's 4 MB
// bound on purpose, to show the cost stays linear.
#include "ui/yardim/helpfileloader.h"
#include "ui/yardim/helptext.h"
#include "ui/yardim/tyardimf.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

enum Shape { EmptyParagraphs, UnbrokenLine };

constexpr qreal kViewWidth = 862;

QByteArray helpFile(Shape shape, qsizetype bytes)
{
    const QByteArray head = "{\\rtf1\\ansi ";
    const qsizetype body = std::max<qsizetype>(bytes - head.size() - 1, 0);
    if (shape == EmptyParagraphs)
        return head + QByteArray("\\par").repeated(body / 4) + "}";
    return head + QByteArray(body, 'x') + "}";
}

void setLabel(benchmark::State &state, Shape shape)
{
    state.SetLabel(shape == EmptyParagraphs ? "empty paragraphs" : "one unbroken line");
    state.SetBytesProcessed(state.iterations() * state.range(1));
}

void BM_ReadHelpFile(benchmark::State &state)
{
    const auto shape = Shape(state.range(0));
    const QByteArray content = helpFile(shape, state.range(1));
    const HelpFileLoader loader;
    for (auto _ : state) {
        const HelpText text = loader.parse(content);
        QTextDocument document;
        document.setTextWidth(kViewWidth);
        text.writeTo(document, {}, TyardimF::kShownAtATime);
        benchmark::DoNotOptimize(document.size());
    }
    setLabel(state, shape);
}

// The window's earlier way: a block per paragraph straight into the document, a long
// line as one block, and all of it laid out.
void BM_WholeDocumentBefore(benchmark::State &state)
{
    const auto shape = Shape(state.range(0));
    const qsizetype bytes = state.range(1);
    for (auto _ : state) {
        QTextDocument document;
        document.setTextWidth(kViewWidth);
        QTextCursor cursor(&document);
        if (shape == EmptyParagraphs) {
            for (qsizetype i = 0; i < bytes / 4; ++i) {
                cursor.setBlockFormat(QTextBlockFormat());
                cursor.insertBlock();
            }
        } else {
            cursor.insertText(QString(bytes, u'x'), QTextCharFormat());
        }
        benchmark::DoNotOptimize(document.size());
    }
    setLabel(state, shape);
}

void sizes(benchmark::internal::Benchmark *benchmark, qsizetype largest)
{
    for (const qsizetype bytes : {40 << 10, 400 << 10, 4 << 20, 50 << 20}) {
        if (bytes > largest)
            break;
        for (const int shape : {EmptyParagraphs, UnbrokenLine})
            benchmark->Args({shape, bytes});
    }
}

} // namespace

BENCHMARK(BM_ReadHelpFile)
    ->Apply([](benchmark::internal::Benchmark *b) { sizes(b, 50 << 20); })
    ->Unit(benchmark::kMillisecond);
// Beyond 400 KB the earlier way runs for minutes.
BENCHMARK(BM_WholeDocumentBefore)
    ->Apply([](benchmark::internal::Benchmark *b) { sizes(b, 400 << 10); })
    ->Unit(benchmark::kMillisecond);

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
