// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/amortana/webpanel.h"

#include "ui/amortana/globalsharecontext.h"
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

QString webviewplugin::folder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
        + QLatin1String(kWebViewPluginFolderFromProgram));
}

WebViewFactory *webviewplugin::load(const QString &folder)
{
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
    if (QOpenGLContext::globalShareContext())
        return;
    auto *context = new QOpenGLContext(qApp);
    context->setFormat(QSurfaceFormat::defaultFormat());
    context->create();
    globalsharecontext::set(context);
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
