// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"

#include "ui/common/apptitle.h"
#include "ui/common/errorreporting.h"
#include "velkaroversion.h"

#include <QFont>
#include <QIcon>
#include <QTimer>

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // The pictures live in the UI library, which is static: its resources need a nudge.
    Q_INIT_RESOURCE(resources);
    setIdentity();

    // The windows are designed around the classic Windows fonts; where those are
    // missing, metric-compatible ones keep captions and columns at their designed widths.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
            QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
        {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
        {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

void Application::setIdentity()
{
    setApplicationName(QStringLiteral("velkaro-arama"));
    setApplicationVersion(QStringLiteral(VELKARO_VERSION));
    setOrganizationName(QStringLiteral("Zelvor"));
}

// Reading the icon's seven sizes wakes every picture plugin to look at them, and the
// window system takes all of them with the window; the first window's first pixels need
// none of it. Whichever window paints first, a message box at start included, gets the
// icon right after that frame; windows made later have it from the start.
void Application::setIconAfterFirstPaint(const QEvent &event)
{
    if (!m_windowIconPending || event.type() != QEvent::Paint)
        return;
    m_windowIconPending = false;
    QTimer::singleShot(0, this, &Application::installWindowIcon);
}

void Application::installWindowIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/velkaro-arama-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    // The last net (see errorreporting.h): what reaches it was thrown by allocation in
    // a handler that calls only Qt, perhaps in the middle of painting or layout, where
    // a modal box must not open; the box comes from the event loop.
    try {
        setIconAfterFirstPaint(*event);
        return QApplication::notify(receiver, event);
    } catch (...) {
        errorreporting::postCurrentError();
        return false;
    }
}
