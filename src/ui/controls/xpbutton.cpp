// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/controls/xpbutton.h"

#include "ui/controls/xpcolors.h"
#include "ui/controls/xpcontainer.h"
#include "ui/controls/xpgradient.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace {

// The gradients sit inside the one-pixel outline.
constexpr int kOutline = 1;
// Width of the hover or focus ring left visible around the cut background.
constexpr int kRingWidth = 2;
// The outline's corners follow a 5 x 5 ellipse: the straight edges stop this far from
// each corner, and a single diagonal pixel joins them.
constexpr int kCornerInset = 2;
// A pressed caption moves by this much, right and down.
constexpr int kPressedShift = 1;

// Trailing blanks would pull a centred line to the left.
QString withoutTrailingBlanks(QString text)
{
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}

// Splits the caption into the lines that fit `area` when word-wrapped; the last line
// that fits takes the rest of the text and ends in an ellipsis if it is cut short.
QStringList fitCaption(const QString &text, const QFont &font, QSize area)
{
    const QFontMetrics metrics(font);
    const int maxLines = std::max(1, area.height() / metrics.height());
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);

    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        const bool lastRoom = lines.size() == maxLines - 1;
        const QString piece
            = lastRoom ? text.mid(line.textStart()) : text.mid(line.textStart(), line.textLength());
        lines << metrics.elidedText(withoutTrailingBlanks(piece), Qt::ElideRight, area.width());
        if (lastRoom)
            break;
    }
    layout.endLayout();
    return lines;
}

} // namespace

XpButton::XpButton(QWidget *parent)
    : HoverButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    // Every pixel is painted, the rounded corners in the parent's colour.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize XpButton::sizeHint() const
{
    return {106, 28};
}

// While the mouse button is held with the pointer outside, the ring says "still pressed,
// release here to cancel"; an idle button shows it for the pointer or the keyboard focus.
bool XpButton::showsRing() const
{
    if (isDown())
        return false;
    return isMouseHeld() || isHovered() || hasFocus();
}

// The background is always built at full size, whatever the state at the moment of the
// resize: the ring state only ever shows its top-left part, and a smaller image would
// leave a gap inside the outline once the ring goes away.
void XpButton::rebuildGradients()
{
    using namespace xpcolors;
    const QSize inner = size() - QSize(2 * kOutline, 2 * kOutline);
    m_background = xpgradient::dithered(inner, kBackgroundTop, kBackgroundBottom);
    m_pressed = xpgradient::dithered(inner, kPressedTop, kPressedBottom);
    m_focused = xpgradient::dithered(inner, kFocusedTop, kFocusedBottom);
    m_hover = xpgradient::dithered(inner, kHoverTop, kHoverBottom);
}

QColor XpButton::parentColour() const
{
    if (const auto *container = qobject_cast<const XpContainer *>(parentWidget()))
        return container->color();
    return QColor::fromRgb(xpcolors::kPanelBlue);
}

void XpButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), parentColour());
    drawFace(painter);
    drawBorder(painter);
    drawCaption(painter);
}

void XpButton::drawFace(QPainter &painter) const
{
    const QPoint origin(kOutline, kOutline);
    if (isDown()) {
        painter.drawImage(origin, m_pressed);
        return;
    }
    int ring = 0;
    if (showsRing()) {
        painter.drawImage(origin, isHovered() ? m_hover : m_focused);
        ring = kRingWidth;
    }
    // Cut rather than scaled: in the ring state the background loses its lower part.
    const QSize visible = m_background.size() - QSize(2 * ring, 2 * ring);
    painter.drawImage(origin + QPoint(ring, ring), m_background, QRect(QPoint(0, 0), visible));
}

void XpButton::drawBorder(QPainter &painter) const
{
    using namespace xpcolors;
    const QColor outline = QColor::fromRgb(isEnabled() ? kBorder : kBorderDisabled);
    const QColor corner = QColor::fromRgb(isEnabled() ? kBorderCorner : kBorderDisabled);
    const int right = width() - 1;
    const int bottom = height() - 1;
    const int c = kCornerInset;

    painter.setRenderHint(QPainter::Antialiasing, false);
    if (width() <= 2 * c || height() <= 2 * c) {
        painter.setPen(outline);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        return;
    }
    painter.setPen(outline);
    painter.drawLine(c, 0, right - c, 0);
    painter.drawLine(c, bottom, right - c, bottom);
    painter.drawLine(0, c, 0, bottom - c);
    painter.drawLine(right, c, right, bottom - c);
    const QPoint diagonals[] = {{1, 1}, {right - 1, 1}, {1, bottom - 1}, {right - 1, bottom - 1}};
    painter.drawPoints(diagonals, std::size(diagonals));

    // Just inside each diagonal pixel a softer colour rounds the step into the face.
    painter.setPen(corner);
    const QPoint softened[] = {
        {1, c}, {c, 1}, // top left
        {right - c, 1}, {right - 1, c}, // top right
        {1, bottom - c}, {c, bottom - 1}, // bottom left
        {right - c, bottom - 1}, {right - 1, bottom - c}, // bottom right
    };
    painter.drawPoints(softened, std::size(softened));
}

void XpButton::drawCaption(QPainter &painter) const
{
    // Sideways the caption keeps clear of the ring, so a cut caption never covers it.
    const int side = kOutline + kRingWidth;
    QRect area = rect().adjusted(side, kOutline, -side, -kOutline);
    if (isDown())
        area.translate(kPressedShift, kPressedShift);
    const QStringList lines = fitCaption(text(), font(), area.size());
    const int lineHeight = QFontMetrics(font()).height();

    painter.setFont(font());
    painter.setPen(QColor::fromRgb(isEnabled() ? xpcolors::kCaption : xpcolors::kCaptionDisabled));
    int top = area.top() + (area.height() - lineHeight * int(lines.size())) / 2;
    for (const QString &line : lines) {
        painter.drawText(QRect(area.left(), top, area.width(), lineHeight), Qt::AlignHCenter, line);
        top += lineHeight;
    }
}

void XpButton::resizeEvent(QResizeEvent *event)
{
    rebuildGradients();
    HoverButton::resizeEvent(event);
}

void XpButton::mousePressEvent(QMouseEvent *event)
{
    // Also with a tab-only focus policy: a clicked button keeps the keyboard.
    if (event->button() == Qt::LeftButton && hitButton(event->position().toPoint())
        && focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    HoverButton::mousePressEvent(event);
}

// The second press of a quick double click arrives as a double-click event; handled
// as a press, it makes a second click rather than being lost.
void XpButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void XpButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // The keypad's Enter comes with the keypad modifier; any other modifier is a shortcut.
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // A held key would otherwise repeat the search or the copy many times over.
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    HoverButton::keyPressEvent(event);
}
