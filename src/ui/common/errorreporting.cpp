// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/common/errorreporting.h"

#include "jet/apperror.h"
#include "ui/common/messagebox.h"

#include <QCoreApplication>
#include <QString>

#include <exception>
#include <new>

namespace errorreporting {

namespace {

// The message of the exception being handled.
QString currentMessage() noexcept
{
    try {
        throw;
    } catch (const AppError &error) {
        return error.message();
    } catch (const std::bad_alloc &) {
        return QCoreApplication::translate("errorreporting", "Out of memory");
    } catch (const std::exception &error) {
        // Our messages are UTF-8 on every platform; the local 8-bit encoding would be
        // Windows' ANSI code page there.
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QCoreApplication::translate("errorreporting", "Unknown error");
    }
}

} // namespace

void showCurrentError() noexcept
{
    const QString message = currentMessage();
    try {
        messagebox::showError(message);
    } catch (...) {
        // Nothing is left to tell the user with; the program goes on.
    }
}

void postCurrentError() noexcept
{
    const QString message = currentMessage();
    try {
        messagebox::postError(message);
    } catch (...) { }
}

} // namespace errorreporting
