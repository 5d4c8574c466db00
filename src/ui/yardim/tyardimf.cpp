// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/yardim/tyardimf.h"

#include "ui/common/errorreporting.h"
#include "ui/common/pixelfont.h"
#include "ui/yardim/weblinks.h"
#include "ui_tyardimf.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>

TyardimF::TyardimF(QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::TyardimF>())
{
    m_ui->setupUi(this);
    // A window of its own even when a parent owns it.
    setWindowFlag(Qt::Window);
    // Closing the main window ends the program, whether or not help is still showing.
    setAttribute(Qt::WA_QuitOnClose, false);

    // The status bar takes its panels only through addWidget; the form declares them.
    for (QWidget *panel : {m_ui->StatusPanel1, m_ui->StatusPanel2, m_ui->StatusPanel3})
        m_ui->StatusBar1->addWidget(panel);

    // Each named: under the form's style sheet the panels do not inherit the window's.
    const std::initializer_list<QWidget *> windowFontTakers
        = {this, m_ui->StatusBar1, m_ui->StatusPanel1, m_ui->StatusPanel2, m_ui->StatusPanel3};
    for (QWidget *widget : windowFontTakers)
        setPixelFont(widget, {"MS Sans Serif", 11});
    setPixelFont(m_ui->RichEdit1, {"Arial", 11});

    // The selection stays in plain sight after the focus moves on, so that what the
    // reader marked can still be found while typing in the main window.
    QPalette palette = m_ui->RichEdit1->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    m_ui->RichEdit1->setPalette(palette);

    // Tab belongs to the view; a read-only text would otherwise hand it to focus chaining.
    m_ui->RichEdit1->installEventFilter(this);

    // Queued: the view's layout reports its new size from inside the insertion of the
    // next part, and the next part waits until that is done.
    const QScrollBar *scrollBar = m_ui->RichEdit1->verticalScrollBar();
    const auto showMore = errorreporting::guarded(this, &TyardimF::showMoreNearTheEnd);
    connect(scrollBar, &QScrollBar::valueChanged, this, showMore, Qt::QueuedConnection);
    connect(scrollBar, &QScrollBar::rangeChanged, this, showMore, Qt::QueuedConnection);
}

TyardimF::~TyardimF() = default;

void TyardimF::FormCreate()
{
    m_unshownContent = m_loader.read();
}

void TyardimF::showAndReload()
{
    show();
    raise();
    activateWindow();
    loadHelpFile();
}

void TyardimF::loadHelpFile()
{
    QTextBrowser *view = m_ui->RichEdit1;
    std::optional<QByteArray> content = m_loader.read();
    // With no file the view keeps what it had, which is what start-up read.
    if (!content)
        content.swap(m_unshownContent);
    if (!content)
        return;
    m_unshownContent.reset();
    m_text = m_loader.parse(*content);
    content.reset();
    QTextDocument *document = view->document();
    document->clear();
    m_shown = m_text.writeTo(*document, {}, kShownAtATime);
    linkWebAddresses(*document);
    view->setTextCursor(QTextCursor(document));
    view->verticalScrollBar()->setValue(0);
    view->horizontalScrollBar()->setValue(0);
}

void TyardimF::showMoreNearTheEnd()
{
    const QTextBrowser *view = m_ui->RichEdit1;
    const QScrollBar *scrollBar = view->verticalScrollBar();
    if (showsWholeText() || !view->isVisible()
        || scrollBar->maximum() - scrollBar->value() > 2 * scrollBar->pageStep())
        return;
    QTextDocument *document = view->document();
    const int firstNewBlock = document->blockCount();
    m_shown = m_text.writeTo(*document, m_shown, kShownAtATime);
    linkWebAddresses(*document, firstNewBlock);
}

void TyardimF::showEvent(QShowEvent *event)
{
    // Later showings keep the place where the user left the window.
    if (!m_shownBefore) {
        m_shownBefore = true;
        centreOnDesktop();
    }
    QMainWindow::showEvent(event);
}

void TyardimF::centreOnDesktop()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->availableGeometry();
    QRect placed = frameGeometry();
    placed.moveCenter(desktop.center());
    // On a desktop smaller than the window keep the caption within reach.
    placed.moveTopLeft(
        QPoint(std::max(placed.left(), desktop.left()), std::max(placed.top(), desktop.top())));
    move(placed.topLeft());
}

bool TyardimF::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->RichEdit1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
