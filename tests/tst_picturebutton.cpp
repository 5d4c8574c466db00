#include "picturebutton.h"
#include "xpcolors.h"

#include <QEnterEvent>
#include <QPainter>
#include <QTest>

#include <memory>

using namespace xpcolors;

namespace {

constexpr QRgb kInk = qRgb(20, 160, 40);

// A 50 x 50 picture, transparent but for a solid square from (10, 10) to (39, 39),
// so the silhouette can be told apart from a plain filled box.
QIcon squarePicture()
{
    QPixmap pixmap(50, 50);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.fillRect(10, 10, 30, 30, QColor::fromRgb(kInk));
    return QIcon(pixmap);
}

enum class State { Idle, Hovered, Pressed, DraggedOut };

} // namespace

Q_DECLARE_METATYPE(State)

class TestPictureButton : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    PictureButton *m_button = nullptr;

    QRgb at(const QImage &image, QPoint point) const { return image.pixel(point) | 0xff000000u; }

    void hover()
    {
        const QPoint centre = m_button->rect().center();
        QEnterEvent enter(centre, centre, m_button->mapToGlobal(centre));
        QCoreApplication::sendEvent(m_button, &enter);
    }

private slots:
    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_window->resize(100, 100);
        m_button = new PictureButton(m_window.get());
        m_button->setGeometry(20, 20, 50, 50);
        m_button->setIconSize(QSize(50, 50));
        m_button->setIcon(squarePicture());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    // Points: the picture's top-left corner where it rests (11, 11) and where it lifts to
    // (10, 10); its bottom-right corner resting (40, 40), which on a lift is the shadow's;
    // a point of the background the picture leaves clear; a frame pixel.
    void drawing_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<QRgb>("lifted");
        QTest::addColumn<QRgb>("resting");
        QTest::addColumn<QRgb>("shadowCorner");
        QTest::addColumn<bool>("hoverLook");

        const QRgb face = QWidget().palette().color(QPalette::Button).rgb();
        QTest::newRow("idle: picture at (1, 1) over its hidden shadow, no frame")
            << State::Idle << face << kInk << kInk << false;
        QTest::newRow("hover: picture lifts, grey shadow shows, frame drawn")
            << State::Hovered << kInk << kInk << kPictureShadow << true;
        QTest::newRow("pressed: picture rests over its shadow, still framed")
            << State::Pressed << kPictureHover << kInk << kInk << true;
        QTest::newRow("dragged out while pressed: no hover look")
            << State::DraggedOut << face << kInk << kInk << false;
    }

    void drawing()
    {
        QFETCH(State, state);
        QFETCH(QRgb, lifted);
        QFETCH(QRgb, resting);
        QFETCH(QRgb, shadowCorner);
        QFETCH(bool, hoverLook);

        const QPoint centre = m_button->rect().center();
        if (state != State::Idle)
            hover();
        if (state == State::Pressed || state == State::DraggedOut)
            QTest::mousePress(m_button, Qt::LeftButton, {}, centre);
        if (state == State::DraggedOut)
            QTest::mouseMove(m_button, QPoint(-10, -10));
        const QImage image = m_button->grab().toImage();
        if (state == State::Pressed)
            QTest::mouseRelease(m_button, Qt::LeftButton, {}, centre);
        if (state == State::DraggedOut)
            QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(-10, -10));

        QCOMPARE(at(image, {10, 10}), lifted);
        QCOMPARE(at(image, {11, 11}), resting);
        QCOMPARE(at(image, {40, 40}), shadowCorner);
        // The shadow follows the picture's shape, not its box.
        const QRgb background
            = hoverLook ? kPictureHover : QWidget().palette().color(QPalette::Button).rgb();
        QCOMPARE(at(image, {5, 5}), background);
        QCOMPARE(at(image, {45, 5}), background);
        const QRgb edge = hoverLook ? kPictureFrame : background;
        QCOMPARE(at(image, {0, 0}), edge);
        QCOMPARE(at(image, {49, 25}), edge);
        QCOMPARE(at(image, {25, 49}), edge);
    }

    void liftShowsShadowRightAndBelow()
    {
        hover();
        const QImage image = m_button->grab().toImage();
        for (int i = 11; i <= 40; ++i) {
            QCOMPARE(at(image, {40, i}), kPictureShadow);
            QCOMPARE(at(image, {i, 40}), kPictureShadow);
            QCOMPARE(at(image, {39, i - 1}), kInk);
        }
    }

    void newPictureIsShown()
    {
        m_button->grab();
        QPixmap plain(50, 50);
        plain.fill(Qt::red);
        m_button->setIcon(QIcon(plain));
        const QImage image = m_button->grab().toImage();
        QCOMPARE(at(image, {5, 5}), qRgb(255, 0, 0));
    }
};

QTEST_MAIN(TestPictureButton)
#include "tst_picturebutton.moc"
