// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/amortana/tamortanaf.h"

#include "ui_tamortanaf.h"

#include "data/fieldtext.h"
#include "data/ratesquery.h"
#include "data/searchfilter.h"
#include "jet/apperror.h"
#include "jet/cp1254.h"
#include "jet/jetconnection.h"
#include "ui/amortana/amortismandialog.h"
#include "ui/amortana/gridtooltip.h"
#include "ui/amortana/publisherpages.h"
#include "ui/amortana/ratesgriddelegate.h"
#include "ui/amortana/ratestablemodel.h"
#include "ui/amortana/recordindicator.h"
#include "ui/amortana/urlopener.h"
#include "ui/amortana/webpanel.h"
#include "ui/common/apptitle.h"
#include "ui/common/errorreporting.h"
#include "ui/common/messagebox.h"
#include "ui/common/pixelfont.h"
#include "ui/common/systemclipboard.h"
#include "ui/controls/cutoffstrip.h"
#include "ui/yardim/tyardimf.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
#include <array>

namespace {

constexpr PixelFont kWindowFont {"MS Sans Serif", 11, false};
constexpr PixelFont kBoxFont {"MS Sans Serif", 16, false};
constexpr PixelFont kTitleFont {"MS Sans Serif", 16, true};
constexpr PixelFont kButtonFont {"Tahoma", 16, true};
constexpr PixelFont kOptionFont {"MS Sans Serif", 13, true};
constexpr PixelFont kGridFont {"MS Sans Serif", 13, false};
constexpr PixelFont kBannerCaptionFont {"MS Sans Serif", 21, true};

// Where the window sits when it is not maximised; forms only carry the size of a window.
constexpr QPoint kRestoredPosition(418, 18);

constexpr std::array<int, RatesTableModel::ColumnCount> kColumnWidths = {62, 470, 42, 56, 42};
constexpr int kIndicatorWidth = 12;
// The grid's designed width, which it keeps whenever the window has room for it; on a
// narrower window it takes what there is, down to this, and scrolls sideways.
constexpr int kGridWidth = 721;
constexpr int kNarrowestGrid = 120;

// Every second record of the result is drawn on this light blue band.
constexpr QRgb kBandColour = qRgb(223, 235, 255);
constexpr QRgb kBandTextColour = qRgb(0, 0, 0);

// Keys that produce a character in a box: the printable ones, and the control
// characters of Enter, Backspace, Escape and the Ctrl combinations. Delete, Tab and
// the moving keys produce none.
bool producesCharacter(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier))
        return event.key() >= Qt::Key_At && event.key() <= Qt::Key_Underscore;
    const QString text = event.text();
    return !text.isEmpty() && text.front().isPrint();
}

} // namespace

TamortanaF::TamortanaF(QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::TamortanaF>())
    , m_connection(std::make_unique<JetConnection>())
    , m_query(std::make_unique<RatesQuery>(m_connection.get()))
    , m_dataSource(new RatesTableModel(this))
{
    m_ui->setupUi(this);
    move(kRestoredPosition);
    keepWidthsOnNarrowWindows();
    m_query->setObjectName(QStringLiteral("meslekkoduQuery"));
    m_dataSource->setObjectName(QStringLiteral("meslekkoduSource"));
    m_webPanel = new WebPanel(m_ui->JvXPContainer5, this);

    applyFonts();
    createStatusPanels();
    setUpGrid();
    buildPopupMenu();
    keepSearchInputs();
    connectHandlers();
    addWindowKeys();
    // The result area takes the focus first, not the term boxes.
    setFocusProxy(m_ui->meslekkoduGrid);
    m_ui->meslekkoduGrid->setFocus();
}

TamortanaF::~TamortanaF()
{
    // The data source must let go of the query before the query goes.
    m_dataSource->setQuery(nullptr);
}

void TamortanaF::keepWidthsOnNarrowWindows()
{
    // Below the widths the search area with the banner picture and the grid need, only
    // the web panel and the banner caption give way; the rest is cut off at the
    // window's edge, each strip on its own.
    QBoxLayout *rows = m_ui->centralLayout;
    for (QWidget *strip : {m_ui->JvXPContainer1, m_ui->JvXPContainer2}) {
        const int index = rows->indexOf(strip);
        const int stretch = rows->stretch(index);
        // The strip leaves the layout as it moves into its keeper.
        auto *keeper = new CutOffStrip(strip, m_ui->centralWidget);
        rows->insertWidget(index, keeper, stretch);
        if (strip == m_ui->JvXPContainer2)
            m_resultStrip = keeper;
    }
    // Except the grid: cut off, its last columns (life, rate, communiqué) could not be
    // reached at all; narrowed, it scrolls sideways to them.
    m_resultStrip->installEventFilter(this);
}

void TamortanaF::fitGridToWidth(int width)
{
    const int gridWidth = std::clamp(width, kNarrowestGrid, kGridWidth);
    QTableView *grid = m_ui->meslekkoduGrid;
    if (grid->minimumWidth() != gridWidth || grid->maximumWidth() != gridWidth)
        grid->setFixedWidth(gridWidth);
}

void TamortanaF::addWindowKeys()
{
    // Ctrl+F from anywhere in the window; keyPressEvent catches it when Qt takes the
    // window for inactive and the shortcut does not fire.
    auto *findBox = new QAction(this);
    findBox->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    findBox->setShortcutContext(Qt::WindowShortcut);
    connect(findBox, &QAction::triggered, this, &TamortanaF::focusFirstBox);
    addAction(findBox);
}

void TamortanaF::focusFirstBox()
{
    m_ui->Edit1->setFocus(Qt::ShortcutFocusReason);
    m_ui->Edit1->selectAll();
}

void TamortanaF::keyPressEvent(QKeyEvent *event)
{
    if (event->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_F)) {
        focusFirstBox();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TamortanaF::applyFonts()
{
    // The window's own font comes first so that the controls without one inherit it.
    const std::pair<QWidget *, PixelFont> fonts[] = {
        {this, kWindowFont},
        {m_ui->Label1, kTitleFont},
        {m_ui->Edit1, kBoxFont},
        {m_ui->JvXPButton1, kButtonFont},
        {m_ui->CheckBox1, kOptionFont},
        {m_ui->JvXPButton3, kButtonFont},
        {m_ui->JvXPButton4, kButtonFont},
        {m_ui->Edit3, kBoxFont},
        {m_ui->RadioButton1, kOptionFont},
        {m_ui->RadioButton2, kOptionFont},
        {m_ui->Label2, kBannerCaptionFont},
        {m_ui->meslekkoduGrid, kGridFont},
    };
    for (const auto &[widget, font] : fonts)
        setPixelFont(widget, font);
}

void TamortanaF::createStatusPanels()
{
    // The status bar takes its panels only through addWidget; the form declares them.
    for (QWidget *panel :
        {m_ui->StatusPanel1, m_ui->StatusPanel2, m_ui->StatusPanel3, m_ui->StatusPanel4})
        m_ui->StatusBar1->addWidget(panel);
}

void TamortanaF::setUpGrid()
{
    QTableView *grid = m_ui->meslekkoduGrid;
    m_dataSource->setQuery(m_query.get());
    grid->setModel(m_dataSource);
    QHeaderView *titles = grid->horizontalHeader();
    titles->setSectionsMovable(true);
    // A click on a title moves neither the record nor the column.
    titles->setSectionsClickable(false);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < RatesTableModel::ColumnCount; ++column)
        grid->setColumnWidth(column, kColumnWidths[size_t(column)]);
    QHeaderView *indicator = RecordIndicator::replaceRowHeaderOf(grid);
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setFixedWidth(kIndicatorWidth);
    indicator->setDefaultAlignment(Qt::AlignCenter);
    m_gridToolTip = new GridToolTip(grid);
    grid->setItemDelegate(new RatesGridDelegate(
        [this](int recordNumber, CellColours &colours) {
            meslekkoduGridDrawColumnCell(recordNumber, colours);
        },
        grid));
    // Title row, indicator column and empty area all count as the grid for the mouse.
    for (QWidget *part :
        {static_cast<QWidget *>(grid), grid->viewport(), titles->viewport(), indicator->viewport()})
        part->installEventFilter(this);
}

void TamortanaF::buildPopupMenu()
{
    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("PopupMenu1"));
    const std::array<QAction *, 6> items = {m_ui->SeSabitKymet1, m_ui->MeslekAdnKopyala1,
        m_ui->MeslekKoduveAdnKopyala1, m_ui->Ara1, m_ui->m1, m_ui->MeslekAdveKoduNe1};
    m_popupMenu->addActions({items.begin(), items.end()});
    // The shortcuts are the grid's own: they act only while the grid has the focus.
    m_ui->meslekkoduGrid->addActions({items.begin(), items.end()});
    // Beyond the lookup, so after the commands on the row's fields.
    auto *schedule = new QAction(QStringLiteral("Amortisman Hesapla"), this);
    schedule->setObjectName(QStringLiteral("AmortismanHesapla1"));
    schedule->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    schedule->setShortcutContext(Qt::WidgetShortcut);
    connect(schedule, &QAction::triggered, this,
        errorreporting::guarded(this, &TamortanaF::showDepreciationSchedule));
    m_popupMenu->addSeparator();
    m_popupMenu->addAction(schedule);
    m_ui->meslekkoduGrid->addAction(schedule);
}

void TamortanaF::connectHandlers()
{
    using errorreporting::guarded;
    m_query->setFilterRecord(
        [this](const RatesRecord &record) { return meslekkoduQueryFilterRecord(record); },
        [this](int from) { return nextAcceptedRecord(from); });

    connect(m_ui->JvXPButton1, &QAbstractButton::clicked, this,
        guarded(this, &TamortanaF::JvXPButton1Click));
    connect(m_ui->JvXPButton3, &QAbstractButton::clicked, this,
        guarded(this, &TamortanaF::JvXPButton3Click));
    connect(m_ui->tfXPButton1, &QAbstractButton::clicked, this,
        guarded(this, &TamortanaF::tfXPButton1Click));
    connect(m_ui->RadioButton1, &QAbstractButton::toggled, this, [this](bool checked) {
        if (checked)
            errorreporting::reportErrors([this] { RadioButton1Click(); });
    });
    connect(m_ui->RadioButton2, &QAbstractButton::toggled, this, [this](bool checked) {
        if (checked)
            errorreporting::reportErrors([this] { RadioButton2Click(); });
    });
    connect(m_ui->JvXPButton4, &QAbstractButton::clicked, this,
        guarded(this, &TamortanaF::JvXPButton4Click));
    connect(m_ui->SeSabitKymet1, &QAction::triggered, this,
        guarded(this, &TamortanaF::JvXPButton4Click));
    connect(m_ui->MeslekAdnKopyala1, &QAction::triggered, this,
        guarded(this, &TamortanaF::MeslekAdnKopyala1Click));
    connect(m_ui->MeslekKoduveAdnKopyala1, &QAction::triggered, this,
        guarded(this, &TamortanaF::MeslekKoduveAdnKopyala1Click));
    connect(m_ui->Ara1, &QAction::triggered, this, guarded(this, &TamortanaF::JvXPButton1Click));
    connect(m_ui->m1, &QAction::triggered, this, guarded(this, &TamortanaF::JvXPButton3Click));
    connect(m_ui->MeslekAdveKoduNe1, &QAction::triggered, this,
        guarded(this, &TamortanaF::MeslekAdveKoduNe1Click));
    m_ui->Edit1->installEventFilter(this);
    m_ui->Edit3->installEventFilter(this);
    m_ui->Image1->installEventFilter(this);
    m_ui->Label2->installEventFilter(this);

    connect(m_dataSource, &RatesTableModel::refetchedFromTop, this,
        guarded(this, &TamortanaF::makeFirstRowCurrent));
    connect(m_ui->meslekkoduGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex &current) {
            errorreporting::reportErrors([&] {
                m_dataSource->setCurrentRow(current.isValid() ? current.row() : -1);
                if (m_query)
                    m_query->setCurrentIndex(m_dataSource->recordIndex(current.row()));
            });
        });
}

void TamortanaF::makeFirstRowCurrent()
{
    QTableView *grid = m_ui->meslekkoduGrid;
    if (m_dataSource->rowCount() == 0)
        return;
    const int column = std::max(grid->currentIndex().column(), 0);
    grid->setCurrentIndex(m_dataSource->index(0, column));
}

void TamortanaF::updateRowsPerScreen()
{
    QTableView *grid = m_ui->meslekkoduGrid;
    const int rowHeight = std::max(grid->verticalHeader()->defaultSectionSize(), 1);
    // A row cut off at the bottom counts too.
    m_dataSource->setRowsPerScreen((grid->viewport()->height() + rowHeight - 1) / rowHeight);
}

void TamortanaF::connectOnLoad()
{
    fromDatabase([this] { m_connection->open(); });
}

void TamortanaF::openQuery()
{
    fromDatabase([this] { m_query->open(); });
}

template<typename Action> void TamortanaF::fromDatabase(Action action)
{
    try {
        action();
    } catch (const DatabaseError &) {
        throw;
    } catch (const AppError &error) {
        // What fails here is the database engine's: its description ends the way the
        // engine ends it, and the error box decides afresh.
        throw DatabaseError(error.message());
    }
}

bool TamortanaF::eventFilter(QObject *watched, QEvent *event)
try {
    if (event->type() == QEvent::KeyPress && (watched == m_ui->Edit1 || watched == m_ui->Edit3)) {
        // Runs before the box takes the key: the search sees the boxes as they were
        // before this key, so Enter, which adds nothing, applies the complete text.
        if (producesCharacter(static_cast<const QKeyEvent &>(*event)))
            errorreporting::reportErrors([this] { Edit1KeyPress(); });
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_ui->Image1)
            errorreporting::reportErrors([this] { Image1Click(); });
        else if (watched == m_ui->Label2)
            errorreporting::reportErrors([this] { Label2Click(); });
    }
    if (event->type() == QEvent::Resize && watched == m_ui->meslekkoduGrid->viewport())
        updateRowsPerScreen();
    if (event->type() == QEvent::Resize && watched == m_resultStrip)
        fitGridToWidth(m_resultStrip->width());
    if (event->type() == QEvent::Paint && watched == m_ui->meslekkoduGrid->viewport()
        && !m_firstPaintSeen) {
        m_firstPaintSeen = true;
        QTimer::singleShot(
            0, m_webPanel, errorreporting::guarded(m_webPanel, &WebPanel::createView));
    }
    if (filterGridEvent(watched, event))
        return true;
    return QMainWindow::eventFilter(watched, event);
} catch (...) {
    errorreporting::showCurrentError();
    return false;
}

bool TamortanaF::filterGridEvent(QObject *watched, QEvent *event)
{
    QTableView *grid = m_ui->meslekkoduGrid;
    const bool onGrid = watched == grid || watched == grid->viewport()
        || watched == grid->horizontalHeader()->viewport()
        || watched == grid->verticalHeader()->viewport();
    if (!onGrid)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (watched == grid->viewport()) {
            // Any button makes the row under it current first, so that what follows
            // (the popup, the tooltip) is about the record clicked.
            const QModelIndex index
                = grid->indexAt(static_cast<QMouseEvent *>(event)->position().toPoint());
            if (index.isValid())
                grid->setCurrentIndex(index);
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            errorreporting::reportErrors([this] { MeslekAdveKoduNe1Click(); });
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton && watched != grid)
            openPopupMenu(mouse->globalPosition().toPoint());
        errorreporting::reportErrors([this] { meslekkoduGridMouseUp(); });
        return false;
    }
    case QEvent::ContextMenu:
        // The mouse opens the popup when the button goes up; the keyboard's menu key
        // opens it at the grid's top-left corner.
        if (static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard)
            openPopupMenu(grid->mapToGlobal(QPoint(0, 0)));
        return true;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool menuKey = key->key() == Qt::Key_Menu
            || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
        if (watched == grid && menuKey) {
            openPopupMenu(grid->mapToGlobal(QPoint(0, 0)));
            return true;
        }
        // Tab and Shift+Tab move between the grid's columns; with Ctrl they leave the
        // grid, as in any Qt view that keeps Tab for itself, so the keyboard is never
        // trapped in it. Esc goes back to the search.
        if (watched == grid && (key->modifiers() & Qt::ControlModifier)
            && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            const bool backwards
                = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            focusNextPrevChild(!backwards);
            return true;
        }
        if (watched == grid && key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            focusFirstBox();
            return true;
        }
        // A record command's key that reaches the grid as a plain key press (the
        // shortcut did not fire, as when Qt takes the window for inactive) runs the
        // command, never the view's own copy of a cell's shortened text.
        if (watched == grid) {
            const QKeySequence pressed(key->keyCombination());
            for (QAction *command : m_popupMenu->actions()) {
                if (!command->shortcut().isEmpty() && command->shortcut() == pressed) {
                    command->trigger();
                    return true;
                }
            }
            if (key->matches(QKeySequence::Copy))
                return true;
        }
        return false;
    }
    default:
        return false;
    }
}

void TamortanaF::openPopupMenu(const QPoint &globalPosition)
{
    m_popupMenu->exec(globalPosition);
}

void TamortanaF::closeEvent(QCloseEvent *event)
{
    errorreporting::reportErrors([this] { FormCloseQuery(); });
    event->accept();
}

void TamortanaF::FormCreate()
{
    openQuery();
    m_webPanel->navigate(publisherpages::url(publisherpages::kInformationPage));
}

void TamortanaF::FormCloseQuery()
{
    urlopener::open(publisherpages::url(publisherpages::kClosingPage), this);
    freeQuery();
    m_webPanel->stop();
}

void TamortanaF::freeQuery()
{
    m_dataSource->setQuery(nullptr);
    m_query.reset();
}

void TamortanaF::keepSearchInputs()
{
    m_searchTerms.term1 = searchfilter::termOf(m_ui->Edit1->text());
    m_searchTerms.term2 = searchfilter::termOf(m_ui->Edit3->text());
    m_searchTerms.orChosen = m_ui->RadioButton2->isChecked();
    // textChanged comes with every change, typed or set by the program.
    connect(m_ui->Edit1, &QLineEdit::textChanged, this,
        [this](const QString &text) { m_searchTerms.term1 = searchfilter::termOf(text); });
    connect(m_ui->Edit3, &QLineEdit::textChanged, this,
        [this](const QString &text) { m_searchTerms.term2 = searchfilter::termOf(text); });
    connect(m_ui->RadioButton2, &QAbstractButton::toggled, this,
        [this](bool checked) { m_searchTerms.orChosen = checked; });
}

bool TamortanaF::meslekkoduQueryFilterRecord(const RatesRecord &record) const
{
    return searchfilter::accepts(record.aciklamaFolded(), m_searchTerms);
}

int TamortanaF::nextAcceptedRecord(int from) const
{
    return searchfilter::nextAccepted(*m_query, m_searchTerms, from);
}

void TamortanaF::JvXPButton1Click()
{
    if (!m_query)
        return;
    m_query->close();
    m_query->setFiltered(false);
    if (!m_ui->Edit1->text().isEmpty())
        m_query->setFiltered(true);
    openQuery();
}

void TamortanaF::searchFor(const QString &term1, const QString &term2)
{
    // setText cuts a term to the box's length, as typing would stop at it.
    m_ui->Edit1->setText(term1);
    m_ui->Edit3->setText(term2);
    JvXPButton1Click();
}

void TamortanaF::makeRowCurrent(const QString &code)
{
    QTableView *grid = m_ui->meslekkoduGrid;
    grid->setFocus();
    const QString wanted = code.simplified();
    for (int row = 0;; ++row) {
        while (row >= m_dataSource->rowCount() && m_dataSource->canFetchMore())
            m_dataSource->fetchMore();
        if (row >= m_dataSource->rowCount())
            return;
        if (cp1254::toUnicode(m_dataSource->record(row).tum_kodu()).simplified() != wanted)
            continue;
        const QModelIndex index
            = m_dataSource->index(row, std::max(grid->currentIndex().column(), 0));
        grid->setCurrentIndex(index);
        grid->scrollTo(index, QAbstractItemView::PositionAtCenter);
        // Again once the window has its size: the grid may still be at its designed one.
        QTimer::singleShot(0, grid, [grid] {
            if (grid->currentIndex().isValid())
                grid->scrollTo(grid->currentIndex(), QAbstractItemView::PositionAtCenter);
        });
        return;
    }
}

void TamortanaF::JvXPButton3Click()
{
    m_ui->Edit1->clear();
    m_ui->Edit3->clear();
    if (!m_query)
        return;
    m_query->close();
    m_query->setFiltered(false);
    openQuery();
}

void TamortanaF::Edit1KeyPress()
{
    if (!m_query || m_ui->Edit1->text().isEmpty() || !m_ui->CheckBox1->isChecked())
        return;
    {
        // Nobody sees the unfiltered moment in between: without the blocker the grid
        // would refetch for it too, doubling the work of every key press.
        const QSignalBlocker noRefetch(m_query.get());
        m_query->setFiltered(false);
    }
    m_query->setFiltered(true);
}

void TamortanaF::RadioButton1Click()
{
    if (m_searchModeToken != QLatin1String("ikide"))
        return;
    m_searchModeToken = QStringLiteral("birde");
    JvXPButton1Click();
}

void TamortanaF::RadioButton2Click()
{
    if (m_searchModeToken == QLatin1String("ikide"))
        return;
    m_searchModeToken = QStringLiteral("ikide");
    JvXPButton1Click();
}

void TamortanaF::tfXPButton1Click()
{
    if (m_helpWindow)
        m_helpWindow->showAndReload();
}

RatesRecord TamortanaF::currentRecord() const
{
    return m_query ? m_query->currentRecord() : RatesRecord();
}

void TamortanaF::meslekkoduGridDrawColumnCell(int recordNumber, CellColours &colours) const
{
    // Whatever the cell's state: in a banded row the focused current cell loses its
    // highlight too, and only the focus rectangle marks it.
    if (recordNumber % 2 == 0)
        colours = {QColor::fromRgb(kBandColour), QColor::fromRgb(kBandTextColour)};
}

void TamortanaF::meslekkoduGridMouseUp()
{
    // The whole description: neither a "|" nor anything else in it may cut or change
    // what the user reads.
    m_gridToolTip->setText(cp1254::toUnicode(currentRecord().aciklama()));
}

void TamortanaF::copyToClipboard(const QString &text)
{
    // An empty value leaves whatever the clipboard held.
    if (!text.isEmpty())
        systemclipboard::setText(systemclipboard::withPlatformLineBreaks(text));
}

void TamortanaF::copyDescription()
{
    copyToClipboard(cp1254::toUnicode(currentRecord().aciklama()));
}

void TamortanaF::copyUsefulLife()
{
    copyToClipboard(fieldtext::generalNumber(currentRecord().omur_yil()));
}

void TamortanaF::copyRate()
{
    copyToClipboard(fieldtext::generalNumber(currentRecord().oran2()));
}

void TamortanaF::showDescriptionBox()
{
    messagebox::show({messagebox::Kind::Detail, applicationTitle(),
        QStringLiteral("Açıklama:") + cp1254::toUnicode(currentRecord().aciklama()), this});
}

void TamortanaF::showDepreciationSchedule()
{
    // Like the copy commands: nothing to do without a current row.
    if (!m_ui->meslekkoduGrid->currentIndex().isValid())
        return;
    const RatesRecord record = currentRecord();
    auto *dialog = new AmortismanDialog(
        {cp1254::toUnicode(record.tum_kodu()), cp1254::toUnicode(record.aciklama()),
            record.omur_yil(), record.oran()},
        this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void TamortanaF::JvXPButton4Click()
{
    copyDescription();
}

void TamortanaF::MeslekAdnKopyala1Click()
{
    copyUsefulLife();
}

void TamortanaF::MeslekKoduveAdnKopyala1Click()
{
    copyRate();
}

void TamortanaF::MeslekAdveKoduNe1Click()
{
    showDescriptionBox();
}

void TamortanaF::Image1Click()
{
    urlopener::open(publisherpages::url(publisherpages::kBannerDownload), this);
}

void TamortanaF::Label2Click()
{
    urlopener::open(publisherpages::url(publisherpages::kCaptionPage), this);
}
