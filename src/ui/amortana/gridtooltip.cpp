// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/amortana/gridtooltip.h"

#include <QAbstractItemView>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QToolTip>

namespace {

// Where Qt puts a tooltip: just below and right of the pointer's hot spot.
constexpr QPoint kBelowPointer(2, 16);
// Gap kept between the pointer and a tooltip that has to go above it.
constexpr int kAbovePointerGap = 4;

} // namespace

GridToolTip::GridToolTip(QAbstractItemView *grid)
    : QObject(grid)
    , m_grid(grid)
{
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(kShowDelayMs);
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(kShowForMs);
    connect(&m_showTimer, &QTimer::timeout, this, [this] {
        if (pointerOverGrid())
            showNow(m_lastPointer);
    });
    connect(&m_hideTimer, &QTimer::timeout, this, &GridToolTip::hide);

    QList<QWidget *> parts = {grid, grid->viewport()};
    if (auto *table = qobject_cast<QTableView *>(grid))
        parts << table->horizontalHeader()->viewport() << table->verticalHeader()->viewport();
    for (QWidget *part : parts) {
        // Movements without a button held are what starts the wait.
        part->setMouseTracking(true);
        part->installEventFilter(this);
    }
}

GridToolTip::~GridToolTip()
{
    delete m_popup;
}

QLabel *GridToolTip::popup() const
{
    return m_popup && m_popup->isVisible() ? m_popup : nullptr;
}

bool GridToolTip::isGridPart(QObject *object) const
{
    for (auto *widget = qobject_cast<QWidget *>(object); widget; widget = widget->parentWidget()) {
        if (widget == m_grid)
            return true;
    }
    return false;
}

bool GridToolTip::pointerOverGrid() const
{
    if (!m_grid || !m_grid->isVisible())
        return false;
    return m_grid->rect().contains(m_grid->mapFromGlobal(QCursor::pos()));
}

void GridToolTip::arm()
{
    hide();
    m_showTimer.stop();
    m_armed = true;
}

void GridToolTip::disarm()
{
    m_showTimer.stop();
    m_armed = false;
}

bool GridToolTip::eventFilter(QObject *watched, QEvent *event)
{
    if (!isGridPart(watched))
        return false;
    switch (event->type()) {
    case QEvent::ToolTip:
        // Qt's own tooltip never shows for the grid.
        return true;
    case QEvent::Enter:
        if (!m_pointerInside) {
            m_pointerInside = true;
            // Straight from a control whose tooltip is showing: no wait.
            const bool other = QToolTip::isVisible();
            arm();
            if (other && !m_text.isEmpty()) {
                QToolTip::hideText();
                showNow(QCursor::pos());
            }
        }
        break;
    case QEvent::Leave:
        // Moving between the grid's own parts (cells, titles, indicator) is no leaving.
        if (m_pointerInside && !pointerOverGrid()) {
            m_pointerInside = false;
            hide();
            disarm();
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        arm();
        break;
    case QEvent::MouseMove:
        m_pointerInside = true;
        m_lastPointer = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        if (m_armed && !m_text.isEmpty() && !m_showTimer.isActive() && !popup())
            m_showTimer.start();
        break;
    case QEvent::Hide:
        if (watched == m_grid) {
            hide();
            disarm();
            m_pointerInside = false;
        }
        break;
    default:
        break;
    }
    return false;
}

void GridToolTip::showNow(const QPoint &globalPosition)
{
    m_armed = false;
    if (m_text.isEmpty() || !m_grid)
        return;
    if (!m_popup) {
        m_popup = new QLabel(nullptr, Qt::ToolTip | Qt::BypassGraphicsProxyWidget);
        m_popup->setObjectName(QStringLiteral("GridToolTip"));
        m_popup->setForegroundRole(QPalette::ToolTipText);
        m_popup->setBackgroundRole(QPalette::ToolTipBase);
        m_popup->setPalette(QToolTip::palette());
        m_popup->setFont(QToolTip::font());
        m_popup->setTextFormat(Qt::PlainText);
        m_popup->setWordWrap(true);
        m_popup->setFrameStyle(QFrame::Box | QFrame::Plain);
        m_popup->setLineWidth(1);
        m_popup->setMargin(1 + m_popup->style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth));
        m_popup->setIndent(1);
        m_popup->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_popup->setText(m_text);
    placePopup(globalPosition);
    m_popup->show();
    // Some platforms put a frame around even a tooltip, known only once it is shown.
    const QSize frame = m_popup->frameGeometry().size() - m_popup->size();
    if (frame != m_frame) {
        m_frame = frame;
        placePopup(globalPosition);
    }
    m_hideTimer.start();
}

void GridToolTip::placePopup(const QPoint &globalPosition)
{
    const QScreen *screen = m_grid->screen();
    if (QScreen *atPointer = QGuiApplication::screenAt(globalPosition))
        screen = atPointer;
    const QRect desktop = screen ? screen->geometry() : QRect(0, 0, 1024, 768);

    // Wrapped at the screen's width only; as tall as the text needs.
    const int chrome = 2 * (m_popup->frameWidth() + m_popup->margin()) + m_popup->indent();
    const int widest = desktop.width() - m_frame.width();
    const QRect natural
        = m_popup->fontMetrics().boundingRect(QRect(0, 0, widest - chrome, QWIDGETSIZE_MAX),
            Qt::TextWordWrap | Qt::TextExpandTabs, m_text);
    const int width = std::min(natural.width() + chrome + 1, widest);
    m_popup->resize(width, m_popup->heightForWidth(width));

    // Just below the pointer, kept inside the screen; above the pointer where there is
    // no room below.
    const QSize outer = m_popup->size() + m_frame;
    QPoint place = globalPosition + kBelowPointer;
    if (place.x() + outer.width() > desktop.right() + 1)
        place.setX(desktop.right() + 1 - outer.width());
    if (place.y() + outer.height() > desktop.bottom() + 1)
        place.setY(globalPosition.y() - kAbovePointerGap - outer.height());
    place.setX(std::max(place.x(), desktop.left()));
    place.setY(std::max(place.y(), desktop.top()));
    m_popup->move(place);
}

void GridToolTip::hide()
{
    m_hideTimer.stop();
    if (m_popup)
        m_popup->hide();
}
