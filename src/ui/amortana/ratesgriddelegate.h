// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QStyledItemDelegate>

#include <functional>

// The colours a data cell is about to be drawn with.
struct CellColours
{
    QColor background;
    QColor text;
};

// Draws the grid's data cells: prepares each cell's colours (the grid's, or the
// highlight for the focused current cell), lets the window's draw-cell handler change
// them, then writes the field's display text on one line, clipped to the cell.
class RatesGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using DrawColumnCell = std::function<void(int recordNumber, CellColours &colours)>;

    explicit RatesGridDelegate(DrawColumnCell drawColumnCell, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;

    static constexpr int kTextTop = 2;
    static constexpr int kTextLeft = 2;
    static constexpr int kTextRight = 3;

    // The dotted rectangle around the focused current cell.
    static void drawFocusRectangle(
        QPainter *painter, const QRect &cell, const CellColours &colours);

private:
    DrawColumnCell m_drawColumnCell;
};
