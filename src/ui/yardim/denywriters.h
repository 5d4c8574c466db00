// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "jet/apperror.h"

#include <QString>

#include <memory>

class QFile;

// Opens a file for reading while keeping writers out as far as the platform can, so
// that the text is not changed half-way through being read.
//
// Windows: a share mode that lets others read but not write; a file another program
// holds open for writing cannot be opened at all.
// Elsewhere: a shared advisory lock (flock and an open-file-description record lock);
// a program holding or requesting a write lock of either kind is refused, but a program
// that writes without locking is not, since advisory locks bind only those who ask.
//
// Opens openPath; path is the name the messages give, usually the full path of openPath.
// Throws AppError "Cannot open file "<path>". <reason>" when the file cannot be opened,
// is not a regular file, or a writer holds it locked.
std::unique_ptr<QFile> openDenyingWriters(const QString &openPath, const QString &path);

// The error for a file that cannot be opened: "Cannot open file "<path>". <reason>".
AppError cannotOpenFile(const QString &path, const QString &reason);
