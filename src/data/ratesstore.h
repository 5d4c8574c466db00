// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ratesrecord.h"
#include "turkishfold.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

#include <array>
#include <optional>
#include <vector>

// The rows of the rates query, packed. A million rows must fit in a few hundred bytes
// each and the search must stream through the descriptions, so nothing is kept per row
// as a separate allocation:
// - the folded descriptions lie back to back in one block, which is what every key
//   press reads from end to end;
// - the stored description is not kept beside its folded copy: folding only lowers
//   capitals, one to one, so the positions of the capitals (and any bytes the fold
//   trims) give it back when it is shown;
// - the short texts of a row lie together behind their lengths, a text that begins
//   with an earlier one of the row (nested codes) as a reference and the rest;
// - the numbers take 8 bytes a row: the ID as a whole number, the others as a byte,
//   their place among the first 254 values met (a list holds a dozen lives, rates and
//   communiqués), and a byte of flags; a number neither way can hold lies aside.
// Every block grows by reallocation, which the C library does without copying for
// large blocks, so reading a large table does not need twice its memory on the way.
class RatesStore
{
public:
    enum class Number { ID, OmurYil, Oran, Teblig, Count };
    enum class ShortText { AnaKodu, Alt1Kodu, Alt2Kodu, Alt3Kodu, TumKodu, Not, Count };

    int size() const { return int(m_flags.size()); }

    // Throws AppError when the rows no longer fit the block offsets (4 GiB of text).
    void append(const RatesRecordValues &values);
    // Gives back what growing left unused.
    void squeeze();

    std::optional<double> number(int row, Number which) const;
    QByteArray shortText(int row, ShortText which) const;
    QByteArray description(int row) const;
    QByteArrayView foldedDescription(int row) const
    {
        const quint32 begin = m_foldedStart[row];
        return QByteArrayView(m_folded.constData() + begin, m_foldedStart[row + 1] - begin);
    }

    // The first row in [from, to) whose folded description contains the folded term,
    // or `to`: the same answer as testing each row in turn, found by one pass over
    // the descriptions, which is what lets a key press keep up with a million rows.
    // From kRowsForTwoThreads rows on, a second thread searches the later half.
    int nextContaining(QByteArrayView foldedTerm, int from, int to) const;
    static constexpr int kRowsForTwoThreads = 100'000;

    // Bytes held for the rows, counted by what each block has reserved.
    qsizetype memoryBytes() const;

private:
    QByteArrayView rowBytes(int row) const;
    void countBytes();
    turkishfold::Anchors anchorsFor(QByteArrayView foldedTerm) const;
    int nextContainingOnOneThread(
        QByteArrayView foldedTerm, turkishfold::Anchors anchors, int from, int to) const;

    void appendNumber(Number which, const std::optional<double> &value, char &flags);
    quint8 codeOf(double value);

    // Per row: bits 0-3 say which numbers are null, bits 4-7 which lie aside.
    QByteArray m_flags;
    QList<qint32> m_wholeIds;
    QList<quint8> m_numberCodes; // kCodedNumbers per row, places in m_numberValues
    QList<double> m_numberValues;
    QHash<quint64, quint8> m_codeOfValue; // by the value's bits; emptied by squeeze()
    // What neither way holds, by row * Number::Count + number, in that order.
    std::vector<std::pair<qint64, double>> m_numbersAside;
    QByteArray m_folded;
    QList<quint32> m_foldedStart {0};
    // Per row: the short texts, each behind its length, then what turns the folded
    // description back into the stored one (nothing when they are the same).
    QByteArray m_rowBytes;
    QList<quint32> m_rowStart {0};
    std::vector<quint32> m_capitals; // scratch for append()
    // How often each byte occurs in a sample of the folded text: a search looks for
    // the term's rarest bytes first.
    std::array<quint32, 256> m_byteCounts {};
};
