#pragma once

#include <QByteArray>

#include <optional>

// One row of ORANLAR as the rates query presents it. Text is Windows-1254 bytes;
// a null number stays null rather than becoming 0.
struct RatesRecord
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
    std::optional<double> oran2; // calculated, stored nowhere

    // The description lower-cased once when the row is read, so that the search
    // does not fold it again for every record at every key press.
    QByteArray aciklamaFolded;
};
