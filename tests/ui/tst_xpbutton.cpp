// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/controls/xpbutton.h"
#include "ui/controls/xpcolors.h"
#include "ui/controls/xpcontainer.h"
#include "ui/controls/xpgradient.h"

#include <QEnterEvent>
#include <QLineEdit>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

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
    SpaceHeld
};

// The box around the caption's dark pixels, between the outline's rounded corners.
QRect captionBox(const QImage &image)
{
    QRect box;
    for (int y = 3; y < image.height() - 3; ++y) {
        for (int x = 1; x < image.width() - 1; ++x) {
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

    void setHovered(bool hovered)
    {
        QEnterEvent enter(centre(), centre(), m_button->mapToGlobal(centre()));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(m_button, hovered ? static_cast<QEvent *>(&enter) : &leave);
    }

    void enterState(State state)
    {
        if (state == State::Focused || state == State::HoveredAndFocused
            || state == State::SpaceHeld)
            m_button->setFocus(Qt::TabFocusReason);
        if (state == State::Hovered || state == State::HoveredAndFocused
            || state == State::MouseHeldOver || state == State::DraggedOut)
            setHovered(true);
        if (state == State::MouseHeldOver || state == State::DraggedOut)
            QTest::mousePress(m_button, Qt::LeftButton, {}, centre());
        if (state == State::DraggedOut)
            QTest::mouseMove(m_button, outside());
        if (state == State::SpaceHeld)
            QTest::keyPress(m_button, Qt::Key_Space);
    }

    void leaveState(State state)
    {
        if (state == State::MouseHeldOver || state == State::DraggedOut)
            QTest::mouseRelease(
                m_button, Qt::LeftButton, {}, state == State::DraggedOut ? outside() : centre());
        if (state == State::SpaceHeld)
            QTest::keyRelease(m_button, Qt::Key_Space);
    }

private slots:
    // The button as the window has it: "ARA", 106 x 28, on a panel-blue container,
    // beside an edit box that holds the focus to begin with.
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

    // Rows 1 and H - 2 are the first and last rows of the gradient at the face's edge:
    // the ring's in the ring states, the face's own otherwise.
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
        QTest::newRow("focus shows a blue ring, no focus rectangle")
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
        QCOMPARE(image.pixel(x, 1), top);
        QCOMPARE(image.pixel(x, image.height() - 2), bottom);
        // Inside a two-pixel ring the background starts with its own first row.
        if (ring)
            QCOMPARE(image.pixel(x, 3), kBackgroundTop);
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

    void captionStaysCentredInside_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::newRow("trailing space does not move it") << QStringLiteral("ARA ");
        QTest::newRow("too long for the button, cut with an ellipsis")
            << QStringLiteral("YENİ ARAMA YENİ ARAMA YENİ ARAMA");
        QTest::newRow("one word wider than the button") << QStringLiteral("KOPYALAKOPYALAKOPYALA");
    }

    void captionStaysCentredInside()
    {
        QFETCH(QString, caption);
        m_button->setText(caption);
        const QImage image = grab();
        const QRect box = captionBox(image);
        QVERIFY(!box.isEmpty());
        QVERIFY(box.left() >= 3 && box.right() <= image.width() - 4); // clear of the ring
        QVERIFY(qAbs(box.center().x() - image.width() / 2) <= 2);
        QVERIFY(qAbs(box.center().y() - image.height() / 2) <= 3);
    }

    void outline_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QRgb>("edge");
        QTest::addColumn<QRgb>("softened");
        QTest::newRow("enabled: dark blue with grey-blue corners")
            << true << kBorder << kBorderCorner;
        QTest::newRow("disabled: all in the disabled colour")
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
        QCOMPARE(image.pixel(right / 2, 0), edge);
        QCOMPARE(image.pixel(right, bottom / 2), edge);
        QCOMPARE(image.pixel(right - 1, bottom - 1), edge);
        QCOMPARE(image.pixel(2, 1), softened);
        QCOMPARE(image.pixel(0, 0), kPanelBlue); // the parent shows outside the rounding
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
                QVERIFY(image.pixel(x, y) != kPanelBlue);
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

    // A real double click reaches a widget as press, release, double-click, release.
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
        // Even when only Tab would give it the focus, a press takes it.
        m_button->setFocusPolicy(Qt::TabFocus);

        enterState(State::DraggedOut);
        const QPoint releaseAt = backInside ? centre() : outside();
        QTest::mouseMove(m_button, releaseAt);
        QTest::mouseRelease(m_button, Qt::LeftButton, {}, releaseAt);
        QCOMPARE(clicked.count(), clicks);

        QVERIFY(m_button->hasFocus());
        setHovered(false);
        QCOMPARE(grab().pixel(centre().x(), 1), kFocusedTop);
    }

    void gradientRows_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRgb>("lastRow");
        QTest::newRow("button face") << QSize(104, 26) << kHoverBottom;
        QTest::newRow("taller than the 64 steps") << QSize(30, 640) << kHoverBottom;
        QTest::newRow("a single row is the top colour") << QSize(30, 1) << kHoverTop;
    }

    // The hover gradient, as made, row by row: flat first and last rows, at most 64
    // colours, and a dither that never runs against the direction of the gradient.
    void gradientRows()
    {
        QFETCH(QSize, size);
        QFETCH(QRgb, lastRow);
        const QImage image = xpgradient::dithered(size, kHoverTop, kHoverBottom);
        QCOMPARE(image.size(), size);

        QSet<QRgb> colours;
        int previousLightest = qGreen(kHoverTop);
        for (int y = 0; y < size.height(); ++y) {
            int lightest = 0;
            for (int x = 0; x < size.width(); ++x) {
                const QRgb colour = image.pixel(x, y);
                QVERIFY(y > 0 || colour == kHoverTop);
                QVERIFY(y < size.height() - 1 || colour == lastRow);
                colours.insert(colour);
                lightest = std::max(lightest, qGreen(colour));
            }
            QVERIFY(lightest <= previousLightest);
            previousLightest = lightest;
        }
        QVERIFY(colours.size() <= xpgradient::kSteps);
        if (size.height() >= xpgradient::kSteps)
            QCOMPARE(colours.size(), xpgradient::kSteps);
    }
};

QTEST_MAIN(TestXpButton)
#include "tst_xpbutton.moc"
