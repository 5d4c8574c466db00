#include "errorreporting.h"

#include "apperror.h"
#include "messagebox.h"

#include <QString>

namespace errorreporting {

void reportErrors(const std::function<void()> &action) noexcept
{
    try {
        action();
    } catch (const AppError &error) {
        MessageBox::showError(error.message());
    } catch (const std::exception &error) {
        MessageBox::showError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        MessageBox::showError(QStringLiteral("Unknown error"));
    }
}

} // namespace errorreporting
