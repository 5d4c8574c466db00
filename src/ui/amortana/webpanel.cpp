#include "webpanel.h"

#include <QLayout>
#include <QWebEngineView>

WebPanel::WebPanel(QWidget *container, QObject *parent)
    : QObject(parent)
    , m_container(container)
{ }

void WebPanel::createView()
{
    if (m_view || !m_container)
        return;
    m_view = new QWebEngineView(m_container);
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
    m_view->load(url);
}

void WebPanel::stop()
{
    m_pendingUrl.clear();
    if (m_view)
        m_view->stop();
}
