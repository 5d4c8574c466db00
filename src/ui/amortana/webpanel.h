#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

class QWidget;
class WebViewFactory;

// The web view beside the grid (`WebBrowser2`). Creating a web view starts the browser
// engine, which costs more than the whole rest of the window, so the view is created
// once the window has been painted for the first time; a navigation asked for before
// that is carried out as soon as the view exists. Without the web-view plugin the panel
// stays blank.
class WebPanel : public QObject
{
    Q_OBJECT

public:
    explicit WebPanel(QWidget *container, QObject *parent = nullptr);

    // Called when the window has been painted for the first time.
    void createView();
    QWidget *view() const { return m_view; }

    void navigate(const QUrl &url);
    void stop();

signals:
    // The view was asked to load an address (tests watch this; the program does not).
    void navigationRequested(const QUrl &url);

private:
    QPointer<QWidget> m_container;
    QPointer<QWidget> m_view;
    WebViewFactory *m_factory = nullptr;
    QUrl m_pendingUrl;
};
