// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHeaderView>

class QTableView;

// The grid's indicator column: a filled triangle points at the current record. It is
// drawn, not written as a character, so it shows whatever fonts the machine has.
// The model says which row is current through RatesTableModel::CurrentRecordRole.
class RecordIndicator : public QHeaderView
{
    Q_OBJECT

public:
    explicit RecordIndicator(QWidget *parent = nullptr);

    // Puts an indicator in place of the grid's row header, keeping the header's settings
    // (section sizes, highlighting) as the form set them.
    static RecordIndicator *replaceRowHeaderOf(QTableView *grid);

    // The triangle's bounding box within a section: 5 px wide, 9 high, centred.
    static QRect markerRect(const QRect &section);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
};
