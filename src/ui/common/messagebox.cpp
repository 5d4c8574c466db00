// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/common/messagebox.h"

#include "jet/cp1254.h"
#include "ui/common/apptitle.h"
#include "ui/common/detaildialog.h"
#include "ui/common/logcategories.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

void presentForReal(const messagebox::Request &request)
{
    if (request.kind == messagebox::Kind::Detail) {
        DetailDialog dialog(request.caption, request.text, request.parent);
        dialog.exec();
        return;
    }
    QMessageBox box(request.parent);
    box.setWindowTitle(request.caption);
    box.setText(request.text);
    box.setTextFormat(Qt::PlainText);
    box.setStandardButtons(QMessageBox::Ok);
    // OK in every language, as the detail box's button: Qt's own Turkish would say Tamam.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.setWindowModality(Qt::ApplicationModal);
    box.setIcon(
        request.kind == messagebox::Kind::Error ? QMessageBox::Critical : QMessageBox::NoIcon);
    box.exec();
}

messagebox::Presenter &currentPresenter()
{
    static messagebox::Presenter presenter;
    return presenter;
}

} // namespace

namespace messagebox {

Presenter setPresenter(Presenter presenter)
{
    return std::exchange(currentPresenter(), std::move(presenter));
}

void show(const Request &request)
{
    qCDebug(lcBoxes).noquote() << request.caption << "|" << request.text;
    const QPointer<QWidget> hadFocus = QApplication::focusWidget();
    if (currentPresenter())
        currentPresenter()(request);
    else
        presentForReal(request);
    // A window manager hands the focus back to the window below when a box closes;
    // without one nobody does, and the keys would go nowhere (or past the shortcuts).
    if (hadFocus && hadFocus->isVisible() && QApplication::focusWidget() != hadFocus) {
        hadFocus->activateWindow();
        hadFocus->setFocus(Qt::ActiveWindowFocusReason);
    }
}

QString withFinalPeriod(const QString &message)
{
    if (message.isEmpty())
        return message;
    const QByteArray last = cp1254::fromUnicode(QStringView(message).last(1));
    if (!last.isEmpty() && static_cast<unsigned char>(last.back()) > '.')
        return message + u'.';
    return message;
}

void showError(const QString &message, QWidget *parent)
{
    show({Kind::Error, applicationTitle(), withFinalPeriod(message), parent});
}

void postError(const QString &message)
{
    QTimer::singleShot(0, qApp, [message] { showError(message); });
}

} // namespace messagebox
