// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/amortana/ratesgriddelegate.h"

#include "ui/amortana/ratestablemodel.h"
#include "ui/common/errorreporting.h"

#include <QPainter>
#include <QRegularExpression>

namespace {

// A cell holds one line: a line break inside a description is shown as a space.
QString oneLine(QString text)
{
    static const QRegularExpression lineBreaks(QStringLiteral("[\r\n]+"));
    return text.replace(lineBreaks, QStringLiteral(" "));
}

} // namespace

RatesGridDelegate::RatesGridDelegate(DrawColumnCell drawColumnCell, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_drawColumnCell(std::move(drawColumnCell))
{ }

void RatesGridDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
try {
    const bool focusedCurrentCell = option.state & QStyle::State_HasFocus;
    CellColours colours {
        option.palette.color(QPalette::Base), option.palette.color(QPalette::Text)};
    if (focusedCurrentCell)
        colours = {option.palette.color(QPalette::Highlight),
            option.palette.color(QPalette::HighlightedText)};

    if (m_drawColumnCell)
        m_drawColumnCell(index.data(RatesTableModel::RecordNumberRole).toInt(), colours);

    painter->save();
    painter->setClipRect(option.rect);
    painter->fillRect(option.rect, colours.background);
    painter->setFont(option.font);
    painter->setPen(colours.text);
    const bool rightAligned = index.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight;
    const QRect textRect = rightAligned ? option.rect.adjusted(0, kTextTop, -kTextRight, 0)
                                        : option.rect.adjusted(kTextLeft, kTextTop, 0, 0);
    painter->drawText(textRect,
        (rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop | Qt::TextSingleLine,
        oneLine(index.data(Qt::DisplayRole).toString()));
    painter->restore();

    if (focusedCurrentCell)
        drawFocusRectangle(painter, option.rect, colours);
} catch (...) {
    errorreporting::postCurrentError();
}

void RatesGridDelegate::drawFocusRectangle(
    QPainter *painter, const QRect &cell, const CellColours &colours)
{
    // Drawn whatever the style and however the cell became current: in a banded row it
    // is all that marks the current cell. Every other pixel of the border, in the
    // cell's text colour, so it shows on the band and on the highlight alike.
    painter->save();
    QPen dots(colours.text, 1);
    dots.setCosmetic(true);
    dots.setDashPattern({1, 1});
    painter->setPen(dots);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(cell.adjusted(0, 0, -1, -1));
    painter->restore();
}
