// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointer>
#include <QWidget>

// A strip across the window that holds one widget and keeps it at least as wide as its
// layout needs, however narrow the strip becomes: on a narrow window the parts keep
// their sizes and are cut off at the window's edge, instead of being squeezed over each
// other. The strip itself needs no width, so the window can be made as narrow as the
// user likes; heights are left to the window's layout.
class CutOffStrip : public QWidget
{
    Q_OBJECT

public:
    explicit CutOffStrip(QWidget *content, QWidget *parent = nullptr);

    QWidget *content() const { return m_content; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QSize neededSize() const;
    void placeContent();

    QPointer<QWidget> m_content;
};
