// SPDX-License-Identifier: GPL-3.0-or-later

#include "webengineviewfactory.h"

#include <QGuiApplication>
#include <QOpenGLWidget>
#include <QPointer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWindow>

namespace {

// The headless platforms compose no OpenGL window inside another; there the view is a
// plain child, as nothing is on a screen to flash or to be repainted.
bool embedsWindows()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

// The web view in a window of its own inside the panel. Placed in the main window as a
// plain child, it would make Qt compose the whole main window through OpenGL: the
// window would have to be made for OpenGL before its first show (starting the driver
// before the first pixels) or be replaced when the view arrives (a flash), and every
// later repaint of the grid would compose the whole window again. In a window
// container the main window stays a plain raster window.
class WebViewHost : public QWidget
{
public:
    explicit WebViewHost(QWidget *parent)
        : QWidget(parent)
        , m_embedded(embedsWindows())
        , m_view(new QWebEngineView(m_embedded ? nullptr : this))
    {
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        if (!m_embedded) {
            layout->addWidget(m_view);
            return;
        }
        // The view draws through OpenGL only once a page arrives, and Qt would then
        // replace its window under the container; an OpenGL child that never shows
        // makes the window OpenGL-capable from the start.
        (new QOpenGLWidget(m_view))->hide();
        m_view->winId();
        layout->addWidget(QWidget::createWindowContainer(m_view->windowHandle(), this));
    }

    // The view owns its window: it goes before the container that holds the window.
    ~WebViewHost() override { delete m_view; }

    QWebEngineView *view() const { return m_view; }

protected:
    // The view is a window of its own to Qt: it follows the panel by hand.
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        if (m_embedded)
            m_view->resize(size());
    }

    void showEvent(QShowEvent *event) override
    {
        QWidget::showEvent(event);
        if (m_embedded)
            m_view->show();
    }

private:
    const bool m_embedded;
    QPointer<QWebEngineView> m_view;
};

QWebEngineView *webViewOf(QWidget *view)
{
    auto *host = dynamic_cast<WebViewHost *>(view);
    return host ? host->view() : nullptr;
}

} // namespace

QWidget *WebEngineViewFactory::createView(QWidget *parent)
{
    return new WebViewHost(parent);
}

void WebEngineViewFactory::load(QWidget *view, const QUrl &url)
{
    if (QWebEngineView *webView = webViewOf(view))
        webView->load(url);
}

void WebEngineViewFactory::stop(QWidget *view)
{
    if (QWebEngineView *webView = webViewOf(view))
        webView->stop();
}
