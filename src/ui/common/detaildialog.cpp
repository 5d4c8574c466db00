// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/common/detaildialog.h"

#include "ui/common/systemclipboard.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const QString kDashes = QString(27, u'-');

// Room kept for the title bar and borders the window manager adds around the box.
constexpr int kWindowFrameAllowance = 48;

} // namespace

DetailDialog::DetailDialog(const QString &caption, const QString &text, QWidget *parent)
    : QDialog(parent)
    , m_caption(caption)
    , m_text(text)
    , m_textArea(new QScrollArea(this))
    , m_label(new QLabel(text))
    , m_okButton(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("DetailDialog"));
    setWindowTitle(caption);
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(QApplication::font("QMessageBox"));

    m_label->setObjectName(QStringLiteral("DetailText"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(true);
    m_label->setTextInteractionFlags(Qt::NoTextInteraction);

    m_textArea->setObjectName(QStringLiteral("DetailTextArea"));
    m_textArea->setFrameShape(QFrame::NoFrame);
    m_textArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_textArea->setFocusPolicy(Qt::NoFocus);
    m_textArea->setWidget(m_label);
    m_textArea->viewport()->setAutoFillBackground(false);
    m_label->setAutoFillBackground(false);

    m_okButton->setObjectName(QStringLiteral("OkButton"));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_textArea);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    fitTextTo(screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024));
}

void DetailDialog::fitTextTo(const QRect &screen)
{
    // The text wraps at half the screen's width, or sooner where its longest line ends,
    // and the box grows in height as far as the text needs, but never past the screen:
    // a longer text scrolls, so that OK always stays within reach.
    const int halfScreen = screen.width() / 2;
    const QRect wrapped = m_label->fontMetrics().boundingRect(
        QRect(0, 0, halfScreen, QWIDGETSIZE_MAX), Qt::TextWordWrap, m_label->text());
    const int textWidth = std::min(wrapped.width() + 1, halfScreen);
    m_label->setFixedWidth(textWidth);
    const int textHeight = m_label->heightForWidth(textWidth);
    m_label->setFixedHeight(textHeight);

    const QMargins margins = layout()->contentsMargins();
    const int reserved = kWindowFrameAllowance + margins.top() + margins.bottom()
        + layout()->spacing() + m_okButton->sizeHint().height();
    const int roomForText = std::max(screen.height() - reserved, m_label->fontMetrics().height());
    const bool scrolls = textHeight > roomForText;
    m_textArea->setVerticalScrollBarPolicy(
        scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int scrollBarWidth = scrolls ? m_textArea->verticalScrollBar()->sizeHint().width() : 0;
    m_textArea->setFixedSize(textWidth + scrollBarWidth, std::min(textHeight, roomForText));
}

QString DetailDialog::copyText(
    const QString &caption, const QString &text, const QStringList &buttons)
{
    const QString lineBreak = QStringLiteral("\r\n");
    QString buttonLine;
    for (const QString &button : buttons)
        buttonLine += button + QStringLiteral("   ");
    QString message = text;
    message.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    message.replace(u'\n', lineBreak);
    return kDashes + lineBreak + caption + lineBreak + kDashes + lineBreak + message + lineBreak
        + kDashes + lineBreak + buttonLine + lineBreak + kDashes + lineBreak;
}

void DetailDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        QApplication::beep();
        systemclipboard::setText(copyText(m_caption, m_text, {m_okButton->text()}));
        return;
    }
    // OK keeps the focus, so Enter always answers the box; the moving keys scroll a
    // text too long for the screen.
    QScrollBar *scrollBar = m_textArea->verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_Up:
        scrollBar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return;
    case Qt::Key_Down:
        scrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return;
    case Qt::Key_PageUp:
        scrollBar->triggerAction(QAbstractSlider::SliderPageStepSub);
        return;
    case Qt::Key_PageDown:
        scrollBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        return;
    case Qt::Key_Home:
        scrollBar->triggerAction(QAbstractSlider::SliderToMinimum);
        return;
    case Qt::Key_End:
        scrollBar->triggerAction(QAbstractSlider::SliderToMaximum);
        return;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

void DetailDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Centred on the screen, not on the window that asked.
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}
