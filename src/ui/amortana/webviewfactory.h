// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtPlugin>

class QUrl;
class QWidget;

// Makes and drives the web view. The browser engine lives in a plugin of its own that
// is loaded once the window has been painted: linking it into the program would make
// every start wait for the engine's libraries before anything is shown.
class WebViewFactory
{
public:
    virtual ~WebViewFactory() = default;

    virtual QWidget *createView(QWidget *parent) = 0;
    // One navigation with the address alone.
    virtual void load(QWidget *view, const QUrl &url) = 0;
    // Cancels any loading in progress.
    virtual void stop(QWidget *view) = 0;
};

#define VelkaroWebViewFactory_iid "tr.com.zelvor.VelkaroArama.WebViewFactory/1.0"
Q_DECLARE_INTERFACE(WebViewFactory, VelkaroWebViewFactory_iid)
