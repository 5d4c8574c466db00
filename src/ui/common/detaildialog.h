// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QScrollArea;

// A message box that shows its text exactly as given (an ampersand stays an
// ampersand), wraps it at half the screen's width and grows in height as far as the
// text needs and the screen allows; a longer text scrolls. Ctrl+C copies the whole box
// as text, as message boxes do on Windows.
class DetailDialog : public QDialog
{
    Q_OBJECT

public:
    DetailDialog(const QString &caption, const QString &text, QWidget *parent = nullptr);

    // The block Ctrl+C puts on the clipboard: dashes, caption, dashes, message, dashes,
    // the buttons each followed by three spaces, dashes; CR LF after every line.
    static QString copyText(
        const QString &caption, const QString &text, const QStringList &buttons);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void fitTextTo(const QRect &screen);

    QString m_caption;
    QString m_text;
    QScrollArea *m_textArea;
    QLabel *m_label;
    QPushButton *m_okButton;
};
