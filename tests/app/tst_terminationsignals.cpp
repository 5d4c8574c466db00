// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/terminationsignals.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <csignal>

namespace {

class WindowThatCountsCloses : public QWidget
{
public:
    int closeHandlerRuns = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        ++closeHandlerRuns;
        event->accept();
    }
};

} // namespace

// A signal from outside closes the window through the event loop, once, and ends the
// loop, even when a second signal follows or a box runs a loop of its own.
class TestTerminationSignals : public QObject
{
    Q_OBJECT

private slots:
    void signalClosesTheWindowThroughTheLoop_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<int>("repeats");
        QTest::addColumn<bool>("inANestedLoop");
        QTest::newRow("SIGTERM, as at log-off") << int(SIGTERM) << 1 << false;
        QTest::newRow("SIGHUP, the terminal went away") << int(SIGHUP) << 1 << false;
        QTest::newRow("SIGINT, Ctrl+C in the terminal") << int(SIGINT) << 1 << false;
        QTest::newRow("SIGTERM twice: one close") << int(SIGTERM) << 2 << false;
        QTest::newRow("SIGTERM while a box is open") << int(SIGTERM) << 1 << true;
    }

    void signalClosesTheWindowThroughTheLoop()
    {
        QFETCH(int, signalNumber);
        QFETCH(int, repeats);
        QFETCH(bool, inANestedLoop);
        WindowThatCountsCloses window;
        terminationsignals::closeOnTermination(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        bool nestedLoopEnded = false;
        QTimer::singleShot(0, qApp, [&] {
            for (int i = 0; i < repeats; ++i)
                QCOMPARE(::raise(signalNumber), 0);
            // Nothing happens inside the signal handler itself.
            QCOMPARE(window.closeHandlerRuns, 0);
            QVERIFY(window.isVisible());
            if (inANestedLoop) {
                QEventLoop box;
                box.exec();
                nestedLoopEnded = true;
            }
        });
        QTimer safetyNet;
        safetyNet.setSingleShot(true);
        connect(&safetyNet, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        safetyNet.start(5000);
        const int status = QCoreApplication::exec();
        QCOMPARE(status, 0);
        QCOMPARE(window.closeHandlerRuns, 1);
        QVERIFY(!window.isVisible());
        QCOMPARE(nestedLoopEnded, inANestedLoop);
    }
};

QTEST_MAIN(TestTerminationSignals)
#include "tst_terminationsignals.moc"
