#include "errorreporting.h"

#include "apperror.h"
#include "messagebox.h"

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
        return QStringLiteral("Out of memory");
    } catch (const std::exception &error) {
        // Our messages are UTF-8 on every platform; the local 8-bit encoding would be
        // Windows' ANSI code page there.
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

} // namespace

void showCurrentError() noexcept
{
    const QString message = currentMessage();
    try {
        MessageBox::showError(message);
    } catch (...) {
        // Nothing is left to tell the user with; the program goes on.
    }
}

void postCurrentError() noexcept
{
    const QString message = currentMessage();
    try {
        MessageBox::postError(message);
    } catch (...) { }
}

} // namespace errorreporting
