// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "jetconnection.h"
#include "ratesquery.h"

#include <QDir>
#include <QString>

#include <benchmark/benchmark.h>

// Opening the rates query in a folder holding AnaData/Velkaro.mdb, as the program's
// first opening does: connecting afresh, reading every row.
inline void openQueryIn(benchmark::State &state, const QString &folder)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    JetConnection connection;
    RatesQuery query(&connection);
    for (auto _ : state) {
        connection.close();
        query.open();
        benchmark::DoNotOptimize(query.recordCount());
    }
    state.counters["rows"] = query.recordCount();
    if (query.recordCount() > 0)
        state.counters["row_bytes"] = double(query.rowMemoryBytes()) / query.recordCount();
    QDir::setCurrent(previous);
}
