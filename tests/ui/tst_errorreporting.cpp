// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"
#include "jet/apperror.h"
#include "ui/common/errorreporting.h"
#include "ui/common/messagebox.h"

#include <QPainter>
#include <QTest>
#include <QWidget>

#include <new>
#include <stdexcept>

namespace {

enum class Thrown { AppError, StdException, BadAlloc, SomethingElse };

[[noreturn]] void throwOne(Thrown kind)
{
    switch (kind) {
    case Thrown::AppError:
        throw AppError(QStringLiteral("Dosya açılamadı"));
    case Thrown::StdException:
        throw std::runtime_error("kötü durum");
    case Thrown::BadAlloc:
        throw std::bad_alloc();
    case Thrown::SomethingElse:
        throw 42;
    }
    throw 0;
}

// Throws from its handlers, and catches at their edges as the program's handlers do.
class ThrowingWidget : public QWidget
{
public:
    Thrown kind = Thrown::AppError;
    int presses = 0;
    int paints = 0;
    bool painting = false;

protected:
    void mousePressEvent(QMouseEvent *) override
    try {
        ++presses;
        throwOne(kind);
    } catch (...) {
        errorreporting::showCurrentError();
    }

    void paintEvent(QPaintEvent *) override
    try {
        ++paints;
        QPainter painter(this);
        painting = true;
        const auto done = qScopeGuard([this] { painting = false; });
        throwOne(kind);
    } catch (...) {
        errorreporting::postCurrentError();
    }
};

// A handler that forgot its own edge: only the application object catches.
class UnguardedObject : public QObject
{
public:
    Thrown kind = Thrown::AppError;
    int events = 0;

    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++events;
        throwOne(kind);
    }
};

} // namespace

class TestErrorReporting : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void handlerEdgeShowsTheBoxAndGoesOn_data();
    void handlerEdgeShowsTheBoxAndGoesOn();
    void paintEdgeShowsTheBoxFromTheEventLoop_data();
    void paintEdgeShowsTheBoxFromTheEventLoop();
    void guardedSlotLetsTheSignalGoOn_data();
    void guardedSlotLetsTheSignalGoOn();
    void applicationCatchesWhatAHandlerMissed_data();
    void applicationCatchesWhatAHandlerMissed();

private:
    void addKinds();
    QStringList boxTexts() const;

    std::vector<messagebox::Request> m_boxes;
    std::vector<bool> m_shownWhilePainting;
    ThrowingWidget *m_painted = nullptr;
    messagebox::Presenter m_previous;
};

void TestErrorReporting::init()
{
    QTest::qWait(10); // boxes an earlier case posted are shown before this one starts
    m_boxes.clear();
    m_shownWhilePainting.clear();
    m_previous = messagebox::setPresenter([this](const messagebox::Request &box) {
        m_boxes.push_back(box);
        m_shownWhilePainting.push_back(m_painted && m_painted->painting);
    });
}

void TestErrorReporting::cleanup()
{
    QTest::qWait(10);
    messagebox::setPresenter(m_previous);
    m_painted = nullptr;
}

void TestErrorReporting::addKinds()
{
    QTest::addColumn<Thrown>("kind");
    QTest::addColumn<QString>("shown");
    QTest::newRow("the program's own error") << Thrown::AppError << u"Dosya açılamadı."_qs;
    QTest::newRow("a standard exception") << Thrown::StdException << u"kötü durum."_qs;
    QTest::newRow("memory runs out") << Thrown::BadAlloc << u"Out of memory."_qs;
    QTest::newRow("something that is no exception")
        << Thrown::SomethingElse << u"Unknown error."_qs;
}

QStringList TestErrorReporting::boxTexts() const
{
    QStringList texts;
    for (const messagebox::Request &box : m_boxes) {
        texts << box.text;
        if (box.kind != messagebox::Kind::Error)
            texts << QStringLiteral("(not the error box)");
    }
    return texts;
}

void TestErrorReporting::handlerEdgeShowsTheBoxAndGoesOn_data()
{
    addKinds();
}

void TestErrorReporting::handlerEdgeShowsTheBoxAndGoesOn()
{
    QFETCH(Thrown, kind);
    QFETCH(QString, shown);

    ThrowingWidget widget;
    widget.kind = kind;
    widget.resize(40, 40);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTest::mouseClick(&widget, Qt::LeftButton);
    QTest::mouseClick(&widget, Qt::LeftButton);
    QCOMPARE(widget.presses, 2);
    QCOMPARE(boxTexts(), QStringList({shown, shown}));
}

void TestErrorReporting::paintEdgeShowsTheBoxFromTheEventLoop_data()
{
    addKinds();
}

void TestErrorReporting::paintEdgeShowsTheBoxFromTheEventLoop()
{
    QFETCH(Thrown, kind);
    QFETCH(QString, shown);

    ThrowingWidget widget;
    m_painted = &widget;
    widget.kind = kind;
    widget.resize(40, 40);
    widget.show();
    QTRY_VERIFY(widget.paints > 0);
    QTRY_VERIFY(!m_boxes.empty());
    QCOMPARE(boxTexts().first(), shown);
    // A modal box must never open in the middle of painting.
    QVERIFY(std::none_of(
        m_shownWhilePainting.begin(), m_shownWhilePainting.end(), [](bool b) { return b; }));
    widget.hide();
}

void TestErrorReporting::guardedSlotLetsTheSignalGoOn_data()
{
    addKinds();
}

void TestErrorReporting::guardedSlotLetsTheSignalGoOn()
{
    QFETCH(Thrown, kind);
    QFETCH(QString, shown);

    struct Handlers
    {
        Thrown kind;
        int calls = 0;
        void throwing()
        {
            ++calls;
            throwOne(kind);
        }
    } handlers {kind};
    QObject sender;
    int laterSlots = 0;
    connect(&sender, &QObject::objectNameChanged, &sender,
        errorreporting::guarded(&handlers, &Handlers::throwing));
    connect(&sender, &QObject::objectNameChanged, &sender, [&] { ++laterSlots; });

    sender.setObjectName(QStringLiteral("bir"));
    sender.setObjectName(QStringLiteral("iki"));
    QCOMPARE(handlers.calls, 2);
    QCOMPARE(laterSlots, 2); // the signal reached every slot after the one that failed
    QCOMPARE(boxTexts(), QStringList({shown, shown}));
}

void TestErrorReporting::applicationCatchesWhatAHandlerMissed_data()
{
    addKinds();
}

void TestErrorReporting::applicationCatchesWhatAHandlerMissed()
{
    QFETCH(Thrown, kind);
    QFETCH(QString, shown);

    UnguardedObject receiver;
    receiver.kind = kind;
    QEvent first(QEvent::User);
    QEvent second(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &first);
    QCoreApplication::sendEvent(&receiver, &second);
    QCOMPARE(receiver.events, 2);
    // The net may be reached inside painting or layout: its boxes wait for the loop.
    QVERIFY(m_boxes.empty());
    QTRY_COMPARE(boxTexts(), QStringList({shown, shown}));
}

int main(int argc, char *argv[])
{
    Application application(argc, argv);
    TestErrorReporting test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorreporting.moc"
