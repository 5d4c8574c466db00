#pragma once

#include <QAbstractButton>

// A button that shows only a picture (its icon at its natural size) and lifts it
// when the pointer is over it.
class PictureButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit PictureButton(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
