// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/amortana/webviewfactory.h"

#include <QObject>

// The web view on Qt WebEngine.
class WebEngineViewFactory : public QObject, public WebViewFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VelkaroWebViewFactory_iid)
    Q_INTERFACES(WebViewFactory)

public:
    QWidget *createView(QWidget *parent) override;
    void load(QWidget *view, const QUrl &url) override;
    void stop(QWidget *view) override;
};
