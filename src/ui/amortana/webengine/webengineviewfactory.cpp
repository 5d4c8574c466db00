#include "webengineviewfactory.h"

#include <QUrl>
#include <QWebEngineView>

QWidget *WebEngineViewFactory::createView(QWidget *parent)
{
    return new QWebEngineView(parent);
}

void WebEngineViewFactory::load(QWidget *view, const QUrl &url)
{
    if (auto *webView = qobject_cast<QWebEngineView *>(view))
        webView->load(url);
}

void WebEngineViewFactory::stop(QWidget *view)
{
    if (auto *webView = qobject_cast<QWebEngineView *>(view))
        webView->stop();
}
