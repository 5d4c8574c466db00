// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/controls/picturebutton.h"
#include "ui/controls/xpcolors.h"

#include <QEnterEvent>
#include <QPainter>
#include <QTest>

#include <memory>

using namespace xpcolors;

namespace {

constexpr QRgb kInk = qRgb(20, 160, 40);

enum class State { Idle, Hovered, Pressed, DraggedOut };

} // namespace

Q_DECLARE_METATYPE(State)

class TestPictureButton : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    PictureButton *m_button = nullptr;

private slots:
    // The pictures live in the static UI library.
    void initTestCase() { Q_INIT_RESOURCE(resources); }

    // A 50 x 50 picture, transparent but for a square from (10, 10) to (39, 39), so the
    // silhouette can be told apart from a filled box.
    void init()
    {
        QPixmap picture(50, 50);
        picture.fill(Qt::transparent);
        QPainter(&picture).fillRect(10, 10, 30, 30, QColor::fromRgb(kInk));

        m_window = std::make_unique<QWidget>();
        m_window->resize(100, 100);
        m_button = new PictureButton(m_window.get());
        m_button->setGeometry(20, 20, 50, 50);
        m_button->setIconSize(QSize(50, 50));
        m_button->setIcon(QIcon(picture));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    // The square rests at (11, 11) to (40, 40) and lifts to (10, 10) to (39, 39), which
    // uncovers the shadow's right column and bottom row.
    void drawing_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<bool>("lifted");
        QTest::addColumn<bool>("hoverLook");
        QTest::newRow("idle: resting, no frame") << State::Idle << false << false;
        QTest::newRow("hover: lifted over its shadow, framed") << State::Hovered << true << true;
        QTest::newRow("pressed: resting, still framed") << State::Pressed << false << true;
        QTest::newRow("dragged off while pressed: plain") << State::DraggedOut << false << false;
    }

    void drawing()
    {
        QFETCH(State, state);
        QFETCH(bool, lifted);
        QFETCH(bool, hoverLook);
        const QPoint centre = m_button->rect().center();
        const QPoint away(-10, -10);
        if (state != State::Idle) {
            QEnterEvent enter(centre, centre, m_button->mapToGlobal(centre));
            QCoreApplication::sendEvent(m_button, &enter);
        }
        if (state == State::Pressed || state == State::DraggedOut)
            QTest::mousePress(m_button, Qt::LeftButton, {}, centre);
        if (state == State::DraggedOut)
            QTest::mouseMove(m_button, away);
        const QImage image = m_button->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (state == State::Pressed || state == State::DraggedOut)
            QTest::mouseRelease(
                m_button, Qt::LeftButton, {}, state == State::Pressed ? centre : away);

        const QRgb background
            = hoverLook ? kPictureHover : m_button->palette().color(QPalette::Button).rgb();
        QCOMPARE(image.pixel(10, 10), lifted ? kInk : background);
        QCOMPARE(image.pixel(11, 11), kInk);
        for (int i = 11; i <= 40; ++i) {
            QCOMPARE(image.pixel(40, i), lifted ? kPictureShadow : kInk);
            QCOMPARE(image.pixel(i, 40), lifted ? kPictureShadow : kInk);
        }
        // Where the picture is transparent, so is its shadow.
        QCOMPARE(image.pixel(5, 45), background);
        QCOMPARE(image.pixel(45, 5), background);
        const QRgb edge = hoverLook ? kPictureFrame : background;
        QCOMPARE(image.pixel(0, 0), edge);
        QCOMPARE(image.pixel(49, 25), edge);
    }

    void shippedHelpPictureShowsItsShadowOnHover()
    {
        // The picture's background is transparent, so the hover tint shows around the
        // lifted picture and the shadow follows its round outline.
        const QImage picture(QStringLiteral(":/images/yardim.gif"));
        QCOMPARE(picture.size(), QSize(50, 50));
        QVERIFY(picture.hasAlphaChannel());
        for (const QPoint corner : {QPoint(0, 0), QPoint(49, 0), QPoint(0, 49), QPoint(49, 49)})
            QCOMPARE(qAlpha(picture.pixel(corner)), 0);
        QCOMPARE(qAlpha(picture.pixel(25, 25)), 255);

        m_button->setIcon(QIcon(QPixmap::fromImage(picture)));
        const QPoint centre = m_button->rect().center();
        QEnterEvent enter(centre, centre, m_button->mapToGlobal(centre));
        QCoreApplication::sendEvent(m_button, &enter);
        const QImage image = m_button->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.pixel(3, 3), kPictureHover);
        int shadow = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                shadow += image.pixel(x, y) == kPictureShadow ? 1 : 0;
        }
        QVERIFY2(shadow > 20, qPrintable(QString::number(shadow)));
    }

    void newPictureIsShown()
    {
        m_button->grab();
        QPixmap plain(50, 50);
        plain.fill(Qt::red);
        m_button->setIcon(QIcon(plain));
        QCOMPARE(m_button->grab().toImage().pixel(5, 5), qRgb(255, 0, 0));
    }
};

QTEST_MAIN(TestPictureButton)
#include "tst_picturebutton.moc"
