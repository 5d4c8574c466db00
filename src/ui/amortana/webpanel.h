#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QWebEngineView>

class QWidget;

// The web view beside the grid (`WebBrowser2`). Creating a web view starts the browser
// engine, which costs more than the whole rest of the window, so the view is created
// once the window has been painted for the first time; a navigation asked for before
// that is carried out as soon as the view exists.
class WebPanel : public QObject
{
    Q_OBJECT

public:
    explicit WebPanel(QWidget *container, QObject *parent = nullptr);

    // Called when the window has been painted for the first time.
    void createView();
    QWebEngineView *view() const { return m_view; }

    // One navigation with the address alone.
    void navigate(const QUrl &url);
    // Cancels any loading in progress.
    void stop();

signals:
    // The view was asked to load an address (tests watch this; the program does not).
    void navigationRequested(const QUrl &url);

private:
    QPointer<QWidget> m_container;
    QPointer<QWebEngineView> m_view;
    QUrl m_pendingUrl;
};
