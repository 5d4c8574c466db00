// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/amortana/webviewfactory.h"

// The web panel where no browser engine can be had (Qt WebEngine needs MSVC, so the
// Windows build has none): who publishes the program and how to reach them, the whole
// panel a link that opens the page the panel was given in the default browser.
class OfflinePanelFactory : public WebViewFactory
{
public:
    QWidget *createView(QWidget *parent) override;
    void load(QWidget *view, const QUrl &url) override;
    void stop(QWidget *) override { }
};
