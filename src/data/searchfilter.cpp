// SPDX-License-Identifier: GPL-3.0-or-later

#include "searchfilter.h"

#include "jet/cp1254.h"
#include "ratesquery.h"
#include "turkishfold.h"

#include <algorithm>

namespace searchfilter {

Term termOf(const QString &boxText)
{
    return {!boxText.isEmpty(), turkishfold::fold(cp1254::fromUnicode(boxText))};
}

bool accepts(QByteArrayView foldedDescription, const Terms &terms)
{
    const auto matches = [&](const Term &term) {
        return turkishfold::foldedContains(foldedDescription, term.folded);
    };
    if (terms.term2.present) {
        if (terms.orChosen)
            return matches(terms.term1) || matches(terms.term2);
        return matches(terms.term1) && matches(terms.term2);
    }
    return matches(terms.term1);
}

int nextAccepted(const RatesQuery &query, const Terms &terms, int from)
{
    const int count = query.recordCount();
    const auto next = [&query](const Term &term, int begin, int end) {
        return query.nextContaining(term.folded, begin, end);
    };
    if (!terms.term2.present)
        return next(terms.term1, from, count);
    if (!terms.orChosen) {
        // AND: the records with term 1, each then tested for term 2.
        for (int index = next(terms.term1, from, count); index < count;
             index = next(terms.term1, index + 1, count)) {
            if (turkishfold::foldedContains(
                    query.record(index).aciklamaFolded(), terms.term2.folded))
                return index;
        }
        return count;
    }
    // OR: the nearer of the two terms' next records. Searched a stretch at a time, so
    // that a term found at once does not wait for the other to be sought to the end.
    constexpr int kStretch = 256;
    for (int begin = from; begin < count; begin += kStretch) {
        const int end = std::min(count, begin + kStretch);
        const int first = next(terms.term1, begin, end);
        const int second = next(terms.term2, begin, first);
        if (second < first)
            return second;
        if (first < end)
            return first;
    }
    return count;
}

} // namespace searchfilter
