// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "data/searchfilter.h"

#include <QMainWindow>
#include <QString>

#include <memory>

namespace Ui {
class TamortanaF;
}

class GridToolTip;
class JetConnection;
class QMenu;
struct CellColours;
class RatesQuery;
class RatesTableModel;
class TyardimF;
class WebPanel;
class RatesRecord;

// The search window (`amortanaF`): the search area, the result grid, the web panel.
// It owns the connection, the query and the data source between query and grid.
class TamortanaF : public QMainWindow
{
    Q_OBJECT

public:
    explicit TamortanaF(QWidget *parent = nullptr);
    ~TamortanaF() override;

    // The connection opens while the window is built (it is declared to connect on
    // load). Throws AppError; the window is usable regardless.
    void connectOnLoad();

    void setHelpWindow(TyardimF *helpWindow) { m_helpWindow = helpWindow; }

    // Puts the terms into the boxes and searches, as typing them and clicking ARA
    // would (the program's --ara and --ara2). Throws AppError as ARA does.
    void searchFor(const QString &term1, const QString &term2 = {});
    // Makes the result's row with this list number current, scrolled into view, with the
    // list focused (the program's --satir). The first row stays current when the result
    // has no such row, as when the list changed since the number was chosen.
    void makeRowCurrent(const QString &code);
    // The first search box focused with its text selected (Ctrl+F, Esc in the list).
    void focusFirstBox();

    RatesQuery *query() const { return m_query.get(); }
    RatesTableModel *dataSource() const { return m_dataSource; }
    WebPanel *webPanel() const { return m_webPanel; }
    GridToolTip *gridToolTip() const { return m_gridToolTip; }

    // Event handlers, named after the component and the event. Each throws AppError.
    void FormCreate(); // opens the query, shows the information page
    void FormCloseQuery(); // opens the closing page, frees the query
    // Whether a record passes the search boxes (searchfilter::accepts).
    bool meslekkoduQueryFilterRecord(const RatesRecord &record) const;
    // What the predicate accepts, from a record on, found by searching the folded
    // descriptions for the terms rather than testing each record.
    int nextAcceptedRecord(int from) const;
    void JvXPButton1Click(); // ARA: search
    void JvXPButton3Click(); // YENİ ARAMA: empty the boxes, show every record
    void Edit1KeyPress(); // automatic search: refilter before the key lands
    void RadioButton1Click(); // AND chosen: search again
    void RadioButton2Click(); // OR chosen: search again
    void tfXPButton1Click(); // show the help window
    void Image1Click(); // open the banner's download page
    void Label2Click(); // open the banner caption's page
    void meslekkoduGridDrawColumnCell(int recordNumber, CellColours &colours) const; // banding
    void meslekkoduGridMouseUp(); // the tooltip's text
    void JvXPButton4Click(); // KOPYALA: copyDescription()
    void MeslekAdnKopyala1Click(); // copyUsefulLife()
    void MeslekKoduveAdnKopyala1Click(); // copyRate()
    void MeslekAdveKoduNe1Click(); // showDescriptionBox()

    QMenu *popupMenu() const { return m_popupMenu; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void keepWidthsOnNarrowWindows();
    void fitGridToWidth(int width);
    void addWindowKeys();
    void applyFonts();
    void createStatusPanels();
    void setUpGrid();
    void connectHandlers();
    void buildPopupMenu();
    void makeFirstRowCurrent();
    void updateRowsPerScreen();
    void freeQuery();
    void openQuery();
    template<typename Action> static void fromDatabase(Action action);
    bool filterGridEvent(QObject *watched, QEvent *event);
    void openPopupMenu(const QPoint &globalPosition);
    RatesRecord currentRecord() const;
    static void copyToClipboard(const QString &text);
    // The current record's fields, as the commands of the popup menu and buttons use them.
    void copyDescription();
    void copyUsefulLife();
    void copyRate();
    void showDescriptionBox();
    // The depreciation schedule for the current row, in a dialog of its own.
    void showDepreciationSchedule();

    void keepSearchInputs();

    std::unique_ptr<Ui::TamortanaF> m_ui;
    std::unique_ptr<JetConnection> m_connection; // ADOConnection1
    std::unique_ptr<RatesQuery> m_query; // meslekkoduQuery; freed by FormCloseQuery
    RatesTableModel *m_dataSource; // meslekkoduSource
    WebPanel *m_webPanel;
    GridToolTip *m_gridToolTip = nullptr;
    QMenu *m_popupMenu = nullptr; // PopupMenu1
    TyardimF *m_helpWindow = nullptr;
    QString m_searchModeToken; // "ikide" after a switch to OR, "birde" after one back
    // The boxes as the filter reads them (Edit1, Edit3, RadioButton2). The filter tests
    // every record against the boxes as they are at that moment; reading a box for each
    // of a million records costs more than the search itself, so each box's text is
    // kept here, converted and folded, and renewed on every change of the box. The
    // filter sees exactly what reading the box would give.
    searchfilter::Terms m_searchTerms;
    QWidget *m_resultStrip = nullptr;
    bool m_firstPaintSeen = false;
};
