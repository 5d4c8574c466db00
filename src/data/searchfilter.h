// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class RatesQuery;

// Which records a search shows: those whose folded description holds term 1, or with a
// second term, both terms (AND) or either (OR). Pure functions of the terms and the
// rows, so that the rule can be tested without the window that holds the boxes.
namespace searchfilter {

// A term box as the filter reads it, converted and folded.
struct Term
{
    bool present = false; // the box's text has at least one character
    QByteArray folded;
};

struct Terms
{
    Term term1;
    Term term2;
    bool orChosen = false;
};

// The box's text as the filter compares it.
Term termOf(const QString &boxText);

// An empty term 1 matches nothing; a second term only counts when present.
bool accepts(QByteArrayView foldedDescription, const Terms &terms);

// The first record at or after `from` that accepts() takes, or the record count when
// none is, found by searching the folded descriptions for the terms rather than
// testing each record.
int nextAccepted(const RatesQuery &query, const Terms &terms, int from);

} // namespace searchfilter
