// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/yardim/helpfileloader.h"
#include "ui/yardim/helptext.h"

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

    // How much of the help text the view is given at a time: the first part when the
    // file is loaded, the next whenever the reader scrolls near the end of what it has.
    // Laying out this much takes a few tens of milliseconds, whatever the file.
    static constexpr HelpText::Limits kShownAtATime {1000, qsizetype {64} * 1024};

    // Handlers and commands the rest of the program calls. Both throw AppError.
    // FormCreate reads the help file's bytes but leaves making the text of them to the
    // first showing: start-up must not wait on the help file, whatever its shape.
    void FormCreate();
    void showAndReload(); // shows the window without modality, brings it forward, reloads
    // Another help file than the current folder's `yardim` (the user's own data folder
    // may have none); before FormCreate.
    void setHelpFile(const QString &fileName) { m_loader = HelpFileLoader(fileName); }

    // The text last loaded, and whether the view holds all of it yet.
    const HelpText &helpText() const { return m_text; }
    bool showsWholeText() const { return m_shown == m_text.end(); }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadHelpFile();
    void showMoreNearTheEnd();
    void centreOnDesktop();

    std::unique_ptr<Ui::TyardimF> m_ui;
    HelpFileLoader m_loader;
    HelpText m_text;
    // Read at start-up and not yet shown; used should the file be gone by the first showing.
    std::optional<QByteArray> m_unshownContent;
    HelpText::Position m_shown; // how far the text has been given to the view
    bool m_shownBefore = false;
};
