#pragma once

#include "helpfileloader.h"

#include <QMainWindow>

#include <memory>

namespace Ui {
class TyardimF;
}

// The help window: shows the help file of the current directory, read-only. It lives
// for the whole run; closing it only hides it.
class TyardimF : public QMainWindow
{
    Q_OBJECT

public:
    explicit TyardimF(QWidget *parent = nullptr);
    ~TyardimF() override;

    // Handlers and commands the rest of the program calls. Both throw AppError.
    void FormCreate(); // loads the help file, if there is one
    void showAndReload(); // shows the window without modality, brings it forward, reloads

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadHelpFile();
    void centreOnDesktop();

    std::unique_ptr<Ui::TyardimF> m_ui;
    HelpFileLoader m_loader;
    bool m_shownBefore = false;
};
