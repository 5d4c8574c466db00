// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/amortana/urlopener.h"

#include "ui/common/logcategories.h"

#include <QUrl>
#include <QWidget>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <QDesktopServices>
#endif

namespace {

void openWithTheDesktop(const QUrl &url, [[maybe_unused]] QWidget *owner)
{
#ifdef Q_OS_WIN
    const std::wstring address = url.toString(QUrl::FullyEncoded).toStdWString();
    const HWND ownerWindow = owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
    // Success is any value above 32; below, the reason the page did not open.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(ownerWindow, nullptr, address.c_str(), nullptr, nullptr, SW_SHOW));
    const bool opened = result > 32;
#else
    const bool opened = QDesktopServices::openUrl(url);
#endif
    // The user sees only that no browser came up; the log says which page it was.
    if (!opened) {
        qCWarning(lcOutsideLinks).noquote()
            << "No browser opened" << url.toString(QUrl::FullyEncoded);
    }
}

urlopener::Opener &currentOpener()
{
    static urlopener::Opener opener;
    return opener;
}

} // namespace

namespace urlopener {

Opener setOpener(Opener opener)
{
    return std::exchange(currentOpener(), std::move(opener));
}

void open(const QUrl &url, QWidget *owner)
{
    if (currentOpener())
        currentOpener()(url, owner);
    else
        openWithTheDesktop(url, owner);
}

} // namespace urlopener
