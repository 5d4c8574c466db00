// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/amortana/recordindicator.h"

#include "ui/amortana/ratestablemodel.h"

#include <QPainter>
#include <QPolygon>
#include <QTableView>

namespace {

constexpr int kMarkerHalfHeight = 4;

} // namespace

RecordIndicator::RecordIndicator(QWidget *parent)
    : QHeaderView(Qt::Vertical, parent)
{ }

RecordIndicator *RecordIndicator::replaceRowHeaderOf(QTableView *grid)
{
    const QHeaderView *old = grid->verticalHeader();
    auto *indicator = new RecordIndicator(grid);
    indicator->setHighlightSections(old->highlightSections());
    indicator->setMinimumSectionSize(old->minimumSectionSize());
    indicator->setDefaultSectionSize(old->defaultSectionSize());
    indicator->setVisible(!old->isHidden());
    grid->setVerticalHeader(indicator);
    return indicator;
}

QRect RecordIndicator::markerRect(const QRect &section)
{
    const QPoint centre = section.center();
    return QRect(centre.x() - kMarkerHalfHeight / 2, centre.y() - kMarkerHalfHeight,
        kMarkerHalfHeight + 1, 2 * kMarkerHalfHeight + 1);
}

void RecordIndicator::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    QHeaderView::paintSection(painter, rect, logicalIndex);
    if (!model()
        || !model()
                ->headerData(logicalIndex, orientation(), RatesTableModel::CurrentRecordRole)
                .toBool())
        return;
    // Whole pixels, no antialiasing: a sharp triangle at this size, the same everywhere.
    const QRect box = markerRect(rect);
    const QPolygon triangle(
        {box.topLeft(), box.bottomLeft(), QPoint(box.right(), box.top() + kMarkerHalfHeight)});
    painter->save();
    // The base class puts back an unclipped painter's clip as an empty region, which
    // clips everything away.
    painter->setClipRect(rect);
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->setBrush(palette().color(QPalette::ButtonText));
    painter->drawPolygon(triangle);
    painter->restore();
}
