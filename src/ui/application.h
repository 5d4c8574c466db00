#pragma once

#include <QApplication>

// The application object: every event passes through its notify(), which shows any
// error a handler throws in the error box and carries on with the event loop.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    // The program's name and version, for this object and for the plain one that answers
    // --help and --version without a display.
    static void setIdentity();

    bool notify(QObject *receiver, QEvent *event) override;
};
