#include "xpbutton.h"
#include "xpcolors.h"
#include "xpcontainer.h"
#include "xpgradient.h"

#include <QEnterEvent>
#include <QLineEdit>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace xpcolors;

namespace {

enum class State {
    Idle,
    Hovered,
    Focused,
    HoveredAndFocused,
    MouseHeldOver,
    DraggedOut,
    SpaceHeld,
};

QRgb opaque(QRgb colour)
{
    return colour | 0xff000000u;
}

// The box around the caption's dark pixels, looked for inside the ring so that the
// outline and the gradients never count.
QRect captionBox(const QImage &image)
{
    QRect box;
    for (int y = 3; y < image.height() - 3; ++y) {
        for (int x = 3; x < image.width() - 3; ++x) {
            if (qGray(image.pixel(x, y)) < 96)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

Q_DECLARE_METATYPE(State)

class TestXpButton : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<XpContainer> m_panel;
    QLineEdit *m_edit = nullptr;
    XpButton *m_button = nullptr;

    QPoint centre() const { return m_button->rect().center(); }
    QPoint outside() const { return {-20, m_button->height() / 2}; }

    QImage grab() const { return m_button->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QRgb pixel(const QImage &image, int x, int y) const { return opaque(image.pixel(x, y)); }

    void hover()
    {
        QEnterEvent enter(centre(), centre(), m_button->mapToGlobal(centre()));
        QCoreApplication::sendEvent(m_button, &enter);
    }

    void leave()
    {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(m_button, &leave);
    }

    void enterState(State state)
    {
        switch (state) {
        case State::Idle:
            break;
        case State::Hovered:
            hover();
            break;
        case State::Focused:
            m_button->setFocus(Qt::TabFocusReason);
            break;
        case State::HoveredAndFocused:
            m_button->setFocus(Qt::TabFocusReason);
            hover();
            break;
        case State::MouseHeldOver:
            hover();
            QTest::mousePress(m_button, Qt::LeftButton, {}, centre());
            break;
        case State::DraggedOut:
            hover();
            QTest::mousePress(m_button, Qt::LeftButton, {}, centre());
            QTest::mouseMove(m_button, outside());
            break;
        case State::SpaceHeld:
            m_button->setFocus(Qt::TabFocusReason);
            QTest::keyPress(m_button, Qt::Key_Space);
            break;
        }
    }

    void leaveState(State state)
    {
        if (state == State::MouseHeldOver)
            QTest::mouseRelease(m_button, Qt::LeftButton, {}, centre());
        else if (state == State::DraggedOut)
            QTest::mouseRelease(m_button, Qt::LeftButton, {}, outside());
        else if (state == State::SpaceHeld)
            QTest::keyRelease(m_button, Qt::Key_Space);
    }

private slots:
    // The button as the window has it: "ARA", 106 x 28, on a panel-blue container,
    // beside an edit box that can hold the focus instead.
    void init()
    {
        m_panel = std::make_unique<XpContainer>();
        m_panel->resize(200, 80);
        m_edit = new QLineEdit(m_panel.get());
        m_edit->setGeometry(4, 40, 100, 28);
        m_button = new XpButton(m_panel.get());
        m_button->setGeometry(60, 4, 106, 28);
        m_button->setText(QStringLiteral("ARA"));
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(16);
        font.setBold(true);
        m_button->setFont(font);
        m_panel->show();
        m_panel->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_panel.get()));
        m_edit->setFocus();
    }

    void cleanup() { m_panel.reset(); }

    // Row 1 and row H - 2 are the first and last rows of whichever gradient shows at the
    // edge of the face: the ring in the ring states, the face itself otherwise.
    void faceColours_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<QRgb>("top");
        QTest::addColumn<QRgb>("bottom");
        QTest::addColumn<bool>("ring");

        QTest::newRow("idle shows the white background")
            << State::Idle << kBackgroundTop << kBackgroundBottom << false;
        QTest::newRow("hover shows an orange-yellow ring")
            << State::Hovered << kHoverTop << kHoverBottom << true;
        QTest::newRow("focus shows a blue ring")
            << State::Focused << kFocusedTop << kFocusedBottom << true;
        QTest::newRow("hover wins over focus")
            << State::HoveredAndFocused << kHoverTop << kHoverBottom << true;
        QTest::newRow("mouse held over it shows the grey pressed gradient")
            << State::MouseHeldOver << kPressedTop << kPressedBottom << false;
        QTest::newRow("dragged out while pressed shows the focused ring")
            << State::DraggedOut << kFocusedTop << kFocusedBottom << true;
        QTest::newRow("Space held shows the pressed gradient")
            << State::SpaceHeld << kPressedTop << kPressedBottom << false;
    }

    void faceColours()
    {
        QFETCH(State, state);
        QFETCH(QRgb, top);
        QFETCH(QRgb, bottom);
        QFETCH(bool, ring);

        enterState(state);
        const QImage image = grab();
        leaveState(state);

        const int x = image.width() / 2;
        QCOMPARE(pixel(image, x, 1), top);
        QCOMPARE(pixel(image, x, image.height() - 2), bottom);
        // Outside the two-pixel ring the background starts with its own first row.
        if (ring)
            QCOMPARE(pixel(image, x, 3), kBackgroundTop);
    }

    void pressedCaptionMovesOnePixel_data()
    {
        QTest::addColumn<State>("state");
        QTest::newRow("mouse held over the button") << State::MouseHeldOver;
        QTest::newRow("Space held") << State::SpaceHeld;
    }

    void pressedCaptionMovesOnePixel()
    {
        QFETCH(State, state);
        const QRect idle = captionBox(grab());
        QVERIFY(!idle.isEmpty());

        enterState(state);
        const QRect pressed = captionBox(grab());
        leaveState(state);

        QCOMPARE(pressed, idle.translated(1, 1));
    }

    void outline_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QRgb>("edge");
        QTest::addColumn<QRgb>("softened");
        QTest::newRow("enabled outline is dark blue with grey-blue corners")
            << true << kBorder << kBorderCorner;
        QTest::newRow("disabled outline is all in the disabled colour")
            << false << kBorderDisabled << kBorderDisabled;
    }

    void outline()
    {
        QFETCH(bool, enabled);
        QFETCH(QRgb, edge);
        QFETCH(QRgb, softened);
        m_button->setEnabled(enabled);
        const QImage image = grab();
        const int right = image.width() - 1;
        const int bottom = image.height() - 1;

        QCOMPARE(pixel(image, right / 2, 0), edge);
        QCOMPARE(pixel(image, right / 2, bottom), edge);
        QCOMPARE(pixel(image, 0, bottom / 2), edge);
        QCOMPARE(pixel(image, right, bottom / 2), edge);
        QCOMPARE(pixel(image, 1, 1), edge);
        QCOMPARE(pixel(image, right - 1, bottom - 1), edge);
        QCOMPARE(pixel(image, 2, 1), softened);
        QCOMPARE(pixel(image, right - 1, bottom - 2), softened);
        // Outside the rounding the parent shows through.
        QCOMPARE(pixel(image, 0, 0), kPanelBlue);
        QCOMPARE(pixel(image, right, bottom), kPanelBlue);
    }

    void cornersTakeTheParentColour()
    {
        const QColor parent(200, 30, 60);
        m_panel->setColor(parent);
        const QImage image = grab();
        QCOMPARE(pixel(image, 0, 0), parent.rgb());
        QCOMPARE(pixel(image, 1, 0), parent.rgb());
    }

    void disabledButtonShowsNoHover()
    {
        m_button->setEnabled(false);
        hover();
        const QImage image = grab();
        QCOMPARE(pixel(image, image.width() / 2, 1), kBackgroundTop);
    }

    // The face is made for the new size even while the ring shows, so when the ring
    // goes the background still reaches the outline everywhere.
    void resizeWhileRingShowsLeavesNoGap()
    {
        m_button->setFocus(Qt::TabFocusReason);
        m_button->resize(140, 34);
        m_edit->setFocus();
        const QImage image = grab();
        for (int y = 2; y < image.height() - 2; ++y) {
            for (int x = 2; x < image.width() - 2; ++x)
                QVERIFY2(pixel(image, x, y) != kPanelBlue,
                    qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }

    void keyboardClicks_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("clicksOnPress");
        QTest::addColumn<int>("clicksOnRelease");
        QTest::newRow("Space clicks when released")
            << int(Qt::Key_Space) << Qt::KeyboardModifiers() << 0 << 1;
        QTest::newRow("Return clicks at once")
            << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 1 << 1;
        QTest::newRow("keypad Enter clicks at once")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 1 << 1;
        QTest::newRow("Ctrl+Return is not a click")
            << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier) << 0 << 0;
    }

    void keyboardClicks()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, clicksOnPress);
        QFETCH(int, clicksOnRelease);
        QSignalSpy clicked(m_button, &XpButton::clicked);
        m_button->setFocus(Qt::TabFocusReason);

        QTest::keyPress(m_button, Qt::Key(key), modifiers);
        QCOMPARE(clicked.count(), clicksOnPress);
        QTest::keyRelease(m_button, Qt::Key(key), modifiers);
        QCOMPARE(clicked.count(), clicksOnRelease);
    }

    // Real double clicks reach a widget as press, release, double-click, release.
    void quickSecondClickIsASecondClick()
    {
        QSignalSpy clicked(m_button, &XpButton::clicked);
        QTest::mouseClick(m_button, Qt::LeftButton, {}, centre());
        QTest::mouseDClick(m_button, Qt::LeftButton, {}, centre());
        QTest::mouseRelease(m_button, Qt::LeftButton, {}, centre());
        QCOMPARE(clicked.count(), 2);
    }

    void releaseDecidesTheClick_data()
    {
        QTest::addColumn<bool>("backInside");
        QTest::addColumn<int>("clicks");
        QTest::newRow("released outside does not click") << false << 0;
        QTest::newRow("dragged back in and released clicks") << true << 1;
    }

    void releaseDecidesTheClick()
    {
        QFETCH(bool, backInside);
        QFETCH(int, clicks);
        QSignalSpy clicked(m_button, &XpButton::clicked);

        enterState(State::DraggedOut);
        const QPoint releaseAt = backInside ? centre() : outside();
        QTest::mouseMove(m_button, releaseAt);
        QTest::mouseRelease(m_button, Qt::LeftButton, {}, releaseAt);
        QCOMPARE(clicked.count(), clicks);

        // The press took the focus, and the button keeps it.
        QVERIFY(m_button->hasFocus());
        if (backInside)
            leave();
        const QImage image = grab();
        QCOMPARE(pixel(image, image.width() / 2, 1), kFocusedTop);
    }

    void mousePressTakesTheFocus_data()
    {
        QTest::addColumn<Qt::FocusPolicy>("policy");
        QTest::newRow("strong focus") << Qt::StrongFocus;
        QTest::newRow("tab focus only") << Qt::TabFocus;
    }

    void mousePressTakesTheFocus()
    {
        QFETCH(Qt::FocusPolicy, policy);
        m_button->setFocusPolicy(policy);
        QVERIFY(m_edit->hasFocus());
        QTest::mousePress(m_button, Qt::LeftButton, {}, centre());
        QVERIFY(m_button->hasFocus());
        QTest::mouseRelease(m_button, Qt::LeftButton, {}, centre());
    }

    // The four faces as they are made, before any drawing.
    void gradientRows_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRgb>("top");
        QTest::addColumn<QRgb>("bottom");
        QTest::addColumn<QRgb>("lastRow");
        const QSize face(104, 26);
        QTest::newRow("background")
            << face << kBackgroundTop << kBackgroundBottom << kBackgroundBottom;
        QTest::newRow("pressed") << face << kPressedTop << kPressedBottom << kPressedBottom;
        QTest::newRow("focused") << face << kFocusedTop << kFocusedBottom << kFocusedBottom;
        QTest::newRow("hover") << face << kHoverTop << kHoverBottom << kHoverBottom;
        QTest::newRow("taller than 64 rows")
            << QSize(30, 640) << kHoverTop << kHoverBottom << kHoverBottom;
        QTest::newRow("a single row is the top colour")
            << QSize(30, 1) << kFocusedTop << kFocusedBottom << kFocusedTop;
    }

    void gradientRows()
    {
        QFETCH(QSize, size);
        QFETCH(QRgb, top);
        QFETCH(QRgb, bottom);
        QFETCH(QRgb, lastRow);
        const QImage image = xpgradient::dithered(size, top, bottom);
        QCOMPARE(image.size(), size);

        // Green moves in the same direction in all four; a dithered row mixes two
        // neighbouring steps, and neither of them may fall behind the row above.
        const bool rising = qGreen(bottom) >= qGreen(top);
        QSet<QRgb> colours;
        int previousLow = qGreen(top);
        int previousHigh = qGreen(top);
        for (int y = 0; y < size.height(); ++y) {
            int low = 255;
            int high = 0;
            for (int x = 0; x < size.width(); ++x) {
                const QRgb colour = opaque(image.pixel(x, y));
                if (y == 0)
                    QCOMPARE(colour, top);
                if (y == size.height() - 1)
                    QCOMPARE(colour, lastRow);
                colours.insert(colour);
                low = std::min(low, qGreen(colour));
                high = std::max(high, qGreen(colour));
            }
            QVERIFY(rising ? low >= previousLow : high <= previousHigh);
            previousLow = low;
            previousHigh = high;
        }
        QVERIFY(colours.size() <= xpgradient::kSteps);
        if (size.height() >= 4 * xpgradient::kSteps)
            QCOMPARE(colours.size(), xpgradient::kSteps);
    }
};

QTEST_MAIN(TestXpButton)
#include "tst_xpbutton.moc"
