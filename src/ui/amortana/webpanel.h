// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

class QWidget;
class WebViewFactory;

// The web view lives in a plugin, loaded from one folder only: the one at a fixed path
// relative to the program's own folder, so that nothing else on the machine, such as a
// build folder of the same path, can put code into the program.
namespace webviewplugin {

QString folder();
// Logs why when the folder holds no loadable web view plugin, and returns null.
WebViewFactory *load(const QString &folder);

} // namespace webviewplugin

// The web view beside the grid (`WebBrowser2`). Creating a web view starts the browser
// engine, which costs more than the whole rest of the window, so the view is created
// once the window has been painted for the first time; a navigation asked for before
// that is carried out as soon as the view exists. Without the web-view plugin the panel
// stays blank (and the log says why).
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
