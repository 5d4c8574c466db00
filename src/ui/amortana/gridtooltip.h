// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QTimer>

class QAbstractItemView;
class QLabel;

// The result grid's tooltip. Qt's own tooltip waits 700 ms, stays 10 s, wraps long
// text at a few hundred pixels and comes back at every pause of the pointer; this one
// shows 500 ms after the first movement over the grid that follows entering it (or a
// click, a wheel turn or a key), stays 2.5 s, wraps only at the screen's width and
// shows once until one of those events arms it again. Its text is plain: the whole
// description, its line breaks and ampersands as they are.
class GridToolTip : public QObject
{
    Q_OBJECT

public:
    static constexpr int kShowDelayMs = 500;
    static constexpr int kShowForMs = 2500;

    explicit GridToolTip(QAbstractItemView *grid);
    ~GridToolTip() override;

    // Empty text: no tooltip. A tooltip on screen keeps the text it came up with.
    void setText(const QString &text) { m_text = text; }
    QString text() const { return m_text; }

    // The tooltip on screen, if any (for tests).
    QLabel *popup() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isGridPart(QObject *object) const;
    bool pointerOverGrid() const;
    void arm();
    void disarm();
    void showNow(const QPoint &globalPosition);
    void placePopup(const QPoint &globalPosition);
    void hide();

    // Held as a widget, not a view: the filter still sees events while the grid is being
    // destroyed, when it is a view no longer, and reading the pointer as one is undefined.
    QPointer<QWidget> m_grid;
    QString m_text;
    QLabel *m_popup = nullptr;
    QTimer m_showTimer;
    QTimer m_hideTimer;
    QPoint m_lastPointer;
    QSize m_frame; // what the platform adds around the popup
    bool m_armed = false;
    bool m_pointerInside = false;
};
