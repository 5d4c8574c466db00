// SPDX-License-Identifier: GPL-3.0-or-later

#include "webengineviewfactory.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QNetworkInformation>
#include <QOpenGLWidget>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QWindow>

#include <chrono>

using namespace std::chrono_literals;

namespace {

// The headless platforms compose no OpenGL window inside another; there the view is a
// plain child, as nothing is on a screen to flash or to be repainted.
bool embedsWindows()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

// Offline, the panel waits calmly instead of showing the engine's error page: who
// publishes the program and how to reach them, and that the page will come back.
// The whole page is a link to the page that failed, so a click tries again.
QString offlinePage(const QUrl &page)
{
    return QStringLiteral(
        "<!DOCTYPE html><html lang=\"%2\"><head><meta charset=\"utf-8\"><style>"
        "html,body{margin:0;height:100%;background:#fff;font:13px sans-serif;color:#333}"
        "a{display:flex;flex-direction:column;justify-content:center;align-items:center;"
        "height:100%;color:inherit;text-decoration:none;text-align:center}"
        "b{font-size:16px;color:#000}small{color:#777;margin-top:12px}</style></head><body>"
        "<a href=\"%1\"><b>Zelvor Yazılım</b><p>www.zelvor.com.tr<br>bilgi@zelvor.com.tr<br>"
        "Tel: 0 (212) 555 01 23</p><p>%3</p><small>%4</small></a></body></html>")
        .arg(page.toString(QUrl::FullyEncoded).toHtmlEscaped(),
            QCoreApplication::translate("offlinePage", "en", "the language of the page's texts"),
            QCoreApplication::translate("offlinePage", "No internet connection.").toHtmlEscaped(),
            QCoreApplication::translate("offlinePage",
                "The page opens by itself once the connection is back; click to try now.")
                .toHtmlEscaped());
}

// Offline, the page is tried again this often, and whenever the system says the
// network is back.
constexpr auto kRetryInterval = 30s;

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
        watchForFailures();
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

    void load(const QUrl &url)
    {
        m_page = url;
        m_retry.stop();
        m_state = State::Loading;
        m_view->load(url);
    }

    void stop()
    {
        m_retry.stop();
        m_state = State::Stopped;
        m_view->stop();
    }

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
    enum class State { Stopped, Loading, Shown, ShowingOfflinePage, Offline };

    // Nothing the web engine does wrong reaches the window: a page that cannot load
    // shows the offline page, a renderer that dies is replaced by the next try.
    void watchForFailures()
    {
        m_view->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
        m_retry.setSingleShot(true);
        m_retry.setInterval(kRetryInterval);
        connect(&m_retry, &QTimer::timeout, this, &WebViewHost::retry);
        // A click on the offline page is a navigation of its own.
        connect(m_view, &QWebEngineView::loadStarted, this, [this] {
            if (m_state == State::Offline)
                m_state = State::Loading;
        });
        connect(m_view, &QWebEngineView::loadFinished, this, [this](bool ok) {
            switch (m_state) {
            case State::Loading:
                ok ? void(m_state = State::Shown) : showOfflinePage();
                break;
            case State::ShowingOfflinePage:
                m_state = State::Offline;
                break;
            default:
                break;
            }
        });
        connect(m_view->page(), &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                if (status == QWebEnginePage::NormalTerminationStatus || m_state == State::Stopped)
                    return;
                // Not at once: a renderer that cannot start would be started again and
                // again.
                m_state = State::Offline;
                m_retry.start();
            });
        if (QNetworkInformation::loadBackendByFeatures(
                QNetworkInformation::Feature::Reachability)) {
            connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged,
                this, [this](QNetworkInformation::Reachability reachability) {
                    if (reachability == QNetworkInformation::Reachability::Online)
                        retry();
                });
        }
    }

    void showOfflinePage()
    {
        m_state = State::ShowingOfflinePage;
        m_view->setHtml(offlinePage(m_page));
        m_retry.start();
    }

    void retry()
    {
        if (m_state == State::Offline && !m_page.isEmpty())
            load(m_page);
    }

    const bool m_embedded;
    QPointer<QWebEngineView> m_view;
    QUrl m_page;
    State m_state = State::Stopped;
    QTimer m_retry;
};

} // namespace

QWidget *WebEngineViewFactory::createView(QWidget *parent)
{
    return new WebViewHost(parent);
}

void WebEngineViewFactory::load(QWidget *view, const QUrl &url)
{
    if (auto *host = dynamic_cast<WebViewHost *>(view))
        host->load(url);
}

void WebEngineViewFactory::stop(QWidget *view)
{
    if (auto *host = dynamic_cast<WebViewHost *>(view))
        host->stop();
}
