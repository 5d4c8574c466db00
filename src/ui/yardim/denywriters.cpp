// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/yardim/denywriters.h"

#include "jet/apperror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The wording Windows uses for a sharing violation, so that both platforms say the same.
const char *const kHeldByWriter = QT_TRANSLATE_NOOP("denywriters",
    "The process cannot access the file because it is being used by another process.");

[[noreturn]] void cannotOpen(const QString &path, const QString &reason)
{
    throw cannotOpenFile(path, reason);
}

#ifdef Q_OS_WIN

int openHandle(const QString &openPath, const QString &path)
{
    const QString native = QDir::toNativeSeparators(openPath);
    const HANDLE handle
        = CreateFileW(reinterpret_cast<LPCWSTR>(native.utf16()), GENERIC_READ, FILE_SHARE_READ,
            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        cannotOpen(path, qt_error_string(static_cast<int>(GetLastError())));
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY);
    if (fd < 0) {
        CloseHandle(handle);
        cannotOpen(path, qt_error_string(errno));
    }
    return fd;
}

#else

// Returns false when another open file holds a conflicting (write) lock. Other failures,
// such as a file system without lock support, do not stop the reading.
bool takeReadLocks(int fd)
{
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return false;

    struct flock range = {};
    range.l_type = F_RDLCK;
    range.l_whence = SEEK_SET;
    range.l_start = 0;
    range.l_len = 0; // the whole file, however long it grows
#ifdef F_OFD_SETLK
    // Locks of the open file description, unlike classic record locks, conflict within
    // one process too and are not dropped when some other descriptor of the file closes.
    if (::fcntl(fd, F_OFD_SETLK, &range) == 0)
        return true;
    if (errno != EINVAL)
        return errno != EAGAIN && errno != EACCES;
#endif
    if (::fcntl(fd, F_SETLK, &range) == 0)
        return true;
    return errno != EAGAIN && errno != EACCES;
}

int openHandle(const QString &openPath, const QString &path)
{
    // Non-blocking, so that a FIFO named like the file cannot stall the open.
    const int fd = ::open(
        QFile::encodeName(openPath).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        cannotOpen(path, qt_error_string(errno));

    struct stat status = {};
    QString reason;
    if (::fstat(fd, &status) != 0)
        reason = qt_error_string(errno);
    else if (S_ISDIR(status.st_mode))
        reason = qt_error_string(EISDIR);
    else if (!S_ISREG(status.st_mode))
        reason = QCoreApplication::translate("denywriters", "Not a regular file");
    else if (!takeReadLocks(fd))
        reason = QCoreApplication::translate("denywriters", kHeldByWriter);
    // Reads block again once the file is known to be a plain file nobody writes.
    if (reason.isEmpty() && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        reason = qt_error_string(errno);
    if (!reason.isEmpty()) {
        ::close(fd);
        cannotOpen(path, reason);
    }
    return fd;
}

#endif

} // namespace

AppError cannotOpenFile(const QString &path, const QString &reason)
{
    return AppError(QStringLiteral("Cannot open file \"%1\". %2")
                        .arg(QDir::toNativeSeparators(path), reason.trimmed()));
}

std::unique_ptr<QFile> openDenyingWriters(const QString &openPath, const QString &path)
{
    const int fd = openHandle(openPath, path);
    auto file = std::make_unique<QFile>(openPath);
    // Closing the file releases the locks along with the descriptor.
    if (!file->open(
            fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
#ifdef Q_OS_WIN
        _close(fd);
#else
        ::close(fd);
#endif
        cannotOpen(path, file->errorString());
    }
    return file;
}
