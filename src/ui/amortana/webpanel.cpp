// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/amortana/webpanel.h"

#include "ui/amortana/globalsharecontext.h"
#include "ui/amortana/offlinepanel.h"
#include "ui/amortana/webviewfactory.h"
#include "ui/common/logcategories.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLayout>
#include <QOpenGLContext>
#include <QPluginLoader>
#include <QWidget>

#include <webviewpluginfolder.h>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

QString webviewplugin::folder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
        + QLatin1String(kWebViewPluginFolderFromProgram));
}

WebViewFactory *webviewplugin::load(const QString &folder)
{
#ifdef VELKARO_OWN_OFFLINE_PANEL
    Q_UNUSED(folder);
    static OfflinePanelFactory ownPanel;
    return &ownPanel;
#else
    QPluginLoader loader(QDir(folder).filePath(QStringLiteral("velkaro-webengine")));
    QObject *plugin = loader.instance();
    if (!plugin) {
        qCWarning(lcWebPanel).noquote()
            << "The web panel stays blank: no web view plugin loads from" << folder << "-"
            << loader.errorString();
        return nullptr;
    }
    auto *factory = qobject_cast<WebViewFactory *>(plugin);
    if (!factory) {
        qCWarning(lcWebPanel).noquote()
            << "The web panel stays blank:" << loader.fileName() << "is not a web view plugin";
        loader.unload();
        return nullptr;
    }
    qCDebug(lcWebPanel).noquote() << "The web view plugin is" << loader.fileName();
    return factory;
#endif
}

namespace {

// Qt WebEngine hands its frames over through a context that every OpenGL context of
// the program shares. Qt makes one while the application object is built when asked
// to, but that starts the OpenGL driver (tens of milliseconds) before the window can
// show; it is made here instead, before the engine loads, after the first paint. It is
// handed over even when it cannot be created (no OpenGL driver, the offscreen
// platform), as Qt does itself: the engine reads its format and would crash without one.
void shareGraphicsContexts()
{
    // The own offline panel has no engine to share with.
#ifndef VELKARO_OWN_OFFLINE_PANEL
    if (QOpenGLContext::globalShareContext())
        return;
    auto *context = new QOpenGLContext(qApp);
    context->setFormat(QSurfaceFormat::defaultFormat());
    context->create();
    globalsharecontext::set(context);
#endif
}

// Chromium refuses to run its sandbox as root and then ends the whole program. Root is
// common enough (a small office's single machine, a container) that the program itself
// turns the sandbox off there, before the engine starts, and says so; for anyone else,
// and whenever the variable is already set, nothing changes.
void runWithoutSandboxAsRoot()
{
#ifdef Q_OS_UNIX
    static constexpr char kVariable[] = "QTWEBENGINE_DISABLE_SANDBOX";
    if (::geteuid() != 0 || qEnvironmentVariableIsSet(kVariable))
        return;
    qputenv(kVariable, "1");
    qCInfo(lcWebPanel,
        "Running as root: the web panel runs without Chromium's sandbox, "
        "which cannot run as root");
#endif
}

} // namespace

WebPanel::WebPanel(QWidget *container, QObject *parent)
    : QObject(parent)
    , m_container(container)
{ }

void WebPanel::createView()
{
    if (m_view || !m_container)
        return;
    if (!m_factory) {
        runWithoutSandboxAsRoot();
        shareGraphicsContexts();
        m_factory = webviewplugin::load(webviewplugin::folder());
    }
    if (!m_factory)
        return;
    m_view = m_factory->createView(m_container);
    m_view->setObjectName(QStringLiteral("WebBrowser2"));
    // The panel shrinks to nothing on a narrow window; the view must not hold it open.
    m_view->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_view->setMinimumSize(0, 0);
    if (m_container->layout())
        m_container->layout()->addWidget(m_view);
    m_view->show();
    if (!m_pendingUrl.isEmpty())
        navigate(std::exchange(m_pendingUrl, QUrl()));
}

void WebPanel::navigate(const QUrl &url)
{
    if (!m_view) {
        m_pendingUrl = url;
        return;
    }
    emit navigationRequested(url);
    m_factory->load(m_view, url);
}

void WebPanel::stop()
{
    m_pendingUrl.clear();
    if (m_view)
        m_factory->stop(m_view);
}
