#pragma once

#include <QAbstractButton>

// A push button drawn in a rounded, gradient-filled style with hover and focus feedback.
class XpButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit XpButton(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
