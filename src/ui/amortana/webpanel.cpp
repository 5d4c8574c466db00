#include "webpanel.h"

#include "webviewfactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLayout>
#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QPluginLoader>
#include <QWidget>

#include <webviewpluginfolder.h>

// Failures are logged; where the plugin came from only when asked for
// (QT_LOGGING_RULES="velkaro.webpanel.debug=true").
Q_LOGGING_CATEGORY(lcWebPanel, "velkaro.webpanel", QtInfoMsg)

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

// The headless platforms keep no window on a screen, so there is no window state to
// lose, and they cannot compose an OpenGL child into a window at all.
bool hasOnScreenOpenGl()
{
    const QString platform = QGuiApplication::platformName();
    return QOpenGLContext::globalShareContext() && platform != QLatin1String("offscreen")
        && platform != QLatin1String("minimal");
}

} // namespace

WebPanel::WebPanel(QWidget *container, QObject *parent)
    : QObject(parent)
    , m_container(container)
{
    // The web view draws through OpenGL, and a top-level window created for plain
    // raster drawing is destroyed and created anew by Qt when such a child arrives: the
    // window manager then forgets that it was maximised, and the user sees a flash. An
    // OpenGL child that never shows makes the window OpenGL-capable from its first show.
    if (hasOnScreenOpenGl()) {
        auto *openGlSurfaceHint = new QOpenGLWidget(container);
        openGlSurfaceHint->setObjectName(QStringLiteral("openGlSurfaceHint"));
        openGlSurfaceHint->hide();
    }
}

void WebPanel::createView()
{
    if (m_view || !m_container)
        return;
    if (!m_factory)
        m_factory = webviewplugin::load(webviewplugin::folder());
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
