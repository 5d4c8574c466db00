// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

class RatesStore;

// One row of ORANLAR as values of its own: what a row is read into, and what the query
// can be opened with in place of the table. Text is Windows-1254 bytes; a null number
// stays null rather than becoming 0.
struct RatesRecordValues
{
    std::optional<double> ID;
    QByteArray ana_kodu;
    QByteArray alt1_kodu;
    QByteArray alt2_kodu;
    QByteArray alt3_kodu;
    QByteArray tum_kodu;
    QByteArray aciklama;
    std::optional<double> omur_yil;
    std::optional<double> oran;
    std::optional<double> teblig;
    QByteArray not_; // the column "not"; the name is a C++ keyword
};

// One row of ORANLAR as the rates query presents it, read in place from the query's
// rows: cheap to make and to copy, valid until the query closes or opens again. The
// default record is the empty one: every text empty, every number null.
class RatesRecord
{
public:
    RatesRecord() = default;
    RatesRecord(const RatesStore *store, int index)
        : m_store(store)
        , m_index(index)
    { }

    std::optional<double> ID() const;
    QByteArray ana_kodu() const;
    QByteArray alt1_kodu() const;
    QByteArray alt2_kodu() const;
    QByteArray alt3_kodu() const;
    QByteArray tum_kodu() const;
    QByteArray aciklama() const;
    std::optional<double> omur_yil() const;
    std::optional<double> oran() const;
    std::optional<double> teblig() const;
    QByteArray not_() const;
    // Calculated from oran whenever it is read; stored nowhere.
    std::optional<double> oran2() const;

    // The description as the search compares it: trimmed and folded once, when the
    // row was stored.
    QByteArrayView aciklamaFolded() const;

private:
    const RatesStore *m_store = nullptr;
    int m_index = 0;
};
