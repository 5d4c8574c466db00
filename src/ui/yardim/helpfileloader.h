// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class HelpText;
class QTextDocument;

// Reads the help file from the current directory: as RTF when it is RTF, otherwise as
// plain Windows-1254 text, with every kind of line break made one.
class HelpFileLoader
{
public:
    static constexpr qsizetype kDefaultChunkSize = qsizetype {32} * 1024;
    // A help file is a few pages (the shipped one is 12 KB); a larger file than this is
    // refused unread, so that a wrong or hostile file cannot take the program's time and
    // memory. Reading one this size takes a few tens of milliseconds.
    static constexpr qint64 kMaxFileSize = qint64 {4} * 1024 * 1024;

    explicit HelpFileLoader(
        QString fileName = QStringLiteral("yardim"), qsizetype chunkSize = kDefaultChunkSize);

    // The file's name expanded against the current directory, as of now.
    QString fullPath() const;

    // The file's bytes as they are, or nothing when there is no such file. Throws AppError
    // when the file exists but cannot be opened or is too large ("Cannot open file ..."),
    // or cannot be read ("Failed to Load Stream").
    std::optional<QByteArray> read() const;

    // The text of a help file's bytes, with every kind of line break made one. Throws
    // AppError "Failed to Load Stream" when memory runs out on the way.
    HelpText parse(QByteArrayView content) const;

    // Both. Returns false and leaves the text alone when there is no such file; throws
    // as they do, leaving the text alone.
    bool load(HelpText &text) const;

    // The same, with the whole text put into the document.
    bool loadInto(QTextDocument &document) const;

private:
    QString m_fileName;
    qsizetype m_chunkSize;
};
