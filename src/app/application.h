// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>

// The application object: every event passes through its notify(), the last net of the
// error rule (errorreporting.h): what a handler let through is shown in the error box
// from the event loop, and the loop carries on.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    // The program's name and version, for this object and for the plain one that answers
    // --help and --version without a display.
    static void setIdentity();

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void setIconAfterFirstPaint(const QEvent &event);
    void installWindowIcon();

    bool m_windowIconPending = true;
};
