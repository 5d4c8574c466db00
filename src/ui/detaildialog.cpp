#include "detaildialog.h"

#include "errorreporting.h"
#include "systemclipboard.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QString kDashes = QString(27, u'-');

} // namespace

DetailDialog::DetailDialog(const QString &caption, const QString &text, QWidget *parent)
    : QDialog(parent)
    , m_caption(caption)
    , m_text(text)
    , m_label(new QLabel(text, this))
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
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int halfScreen = screen ? screen->availableGeometry().width() / 2 : 640;
    m_label->setMaximumWidth(halfScreen);

    m_okButton->setObjectName(QStringLiteral("OkButton"));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addLayout(buttons);
    // The box is as tall as its text: no scroll bar, however long the description.
    layout->setSizeConstraint(QLayout::SetFixedSize);
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
try {
    if (event->matches(QKeySequence::Copy)) {
        QApplication::beep();
        systemclipboard::setText(copyText(m_caption, m_text, {m_okButton->text()}));
        return;
    }
    QDialog::keyPressEvent(event);
} catch (...) {
    errorreporting::showCurrentError();
}

void DetailDialog::showEvent(QShowEvent *event)
try {
    QDialog::showEvent(event);
    // Centred on the screen, not on the window that asked.
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
} catch (...) {
    errorreporting::showCurrentError();
}
