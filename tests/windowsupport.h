// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/startup.h"
#include "data/ratesquery.h"
#include "testsupport.h"
#include "ui/amortana/ratestablemodel.h"
#include "ui/amortana/tamortanaf.h"
#include "ui/amortana/urlopener.h"
#include "ui/amortana/webpanel.h"
#include "ui/common/messagebox.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QUrl>

// The program started as it starts for a user, in a run directory of its own, with
// every message box and every outside address recorded instead of shown or opened.
class StartedProgram
{
public:
    explicit StartedProgram(const QString &fixture = QStringLiteral("fixture.mdb"))
        : m_run(fixture)
    {
        m_previousPresenter = messagebox::setPresenter(
            [this](const messagebox::Request &request) { boxes.push_back(request); });
        m_previousOpener = urlopener::setOpener([this](const QUrl &url, QWidget *) {
            openedUrls << url;
            queryExistedWhenOpened << (windows.amortanaF && windows.amortanaF->query() != nullptr);
        });
        windows = createMainWindows();
        navigations
            = std::make_unique<QSignalSpy>(window().webPanel(), &WebPanel::navigationRequested);
    }

    ~StartedProgram()
    {
        navigations.reset();
        windows = MainWindows();
        messagebox::setPresenter(m_previousPresenter);
        urlopener::setOpener(m_previousOpener);
    }

    TamortanaF &window() const { return *windows.amortanaF; }
    template<typename T = QWidget> T *control(const char *name) const
    {
        return window().findChild<T *>(QLatin1String(name));
    }
    QTableView *grid() const { return control<QTableView>("meslekkoduGrid"); }
    QLineEdit *term1() const { return control<QLineEdit>("Edit1"); }
    QLineEdit *term2() const { return control<QLineEdit>("Edit3"); }
    QAbstractButton *button(const char *name) const { return control<QAbstractButton>(name); }

    // Every row the grid can reach, fetched to the end, as list numbers.
    QStringList allRows() const
    {
        RatesTableModel *model = window().dataSource();
        while (model->canFetchMore())
            model->fetchMore();
        return shownRows();
    }

    // The rows the grid holds now, without fetching more.
    QStringList shownRows() const
    {
        RatesTableModel *model = window().dataSource();
        QStringList rows;
        for (int row = 0; row < model->rowCount(); ++row)
            rows << model->index(row, RatesTableModel::TumKodu).data().toString();
        return rows;
    }

    [[nodiscard]] bool showAndWait()
    {
        window().show();
        return QTest::qWaitForWindowExposed(&window());
    }

    RunDirectory &run() { return m_run; }

    MainWindows windows;
    std::vector<messagebox::Request> boxes;
    QList<QUrl> openedUrls;
    QList<bool> queryExistedWhenOpened;
    std::unique_ptr<QSignalSpy> navigations;

private:
    RunDirectory m_run;
    messagebox::Presenter m_previousPresenter;
    urlopener::Opener m_previousOpener;
};
