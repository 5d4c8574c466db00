#pragma once

#include <QAbstractButton>
#include <QPixmap>

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
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool isHovered() const;
    void setHovered(bool hovered);
    void refreshPictures();

    // The picture and its one-colour silhouette, remade only when the icon changes.
    QPixmap m_picture;
    QPixmap m_shadow;
    qint64 m_iconKey = 0;
    QSize m_iconSize;
    bool m_hovered = false;
    bool m_mouseHeld = false;
};
