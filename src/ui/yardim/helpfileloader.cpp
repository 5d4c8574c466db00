// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/yardim/helpfileloader.h"

#include "jet/apperror.h"
#include "jet/cp1254.h"
#include "ui/yardim/denywriters.h"
#include "ui/yardim/helptext.h"
#include "ui/yardim/linebreaknormalizer.h"
#include "ui/yardim/rtfreader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <new>

namespace {

[[noreturn]] void refuseTooLarge(const QString &path)
{
    throw cannotOpenFile(path,
        QCoreApplication::translate(
            "HelpFileLoader", "The file is larger than %1 MB, the most a help file may be.")
            .arg(HelpFileLoader::kMaxFileSize / (qint64 {1024} * 1024)));
}

} // namespace

HelpFileLoader::HelpFileLoader(QString fileName, qsizetype chunkSize)
    : m_fileName(std::move(fileName))
    , m_chunkSize(std::max<qsizetype>(chunkSize, 1))
{ }

QString HelpFileLoader::fullPath() const
{
    return QDir::current().absoluteFilePath(m_fileName);
}

std::optional<QByteArray> HelpFileLoader::read() const
{
    // Opened by its relative name, which the system resolves against the current
    // directory: the directory's own name may not survive a trip through text. Only a
    // file counts: a folder of that name is no help file, and a pipe would never end.
    if (!QFileInfo(m_fileName).isFile())
        return std::nullopt;
    try {
        const std::unique_ptr<QFile> file = openDenyingWriters(m_fileName, fullPath());
        const qint64 size = file->size();
        if (size > kMaxFileSize)
            refuseTooLarge(fullPath());
        QByteArray content;
        content.reserve(qsizetype(size));
        QByteArray chunk(m_chunkSize, Qt::Uninitialized);
        for (;;) {
            const qint64 count = file->read(chunk.data(), chunk.size());
            if (count < 0)
                throw AppError(QStringLiteral("Failed to Load Stream"));
            if (count == 0)
                return content;
            // A file that grows while it is read is held to the same bound.
            if (content.size() + count > kMaxFileSize)
                refuseTooLarge(fullPath());
            content.append(chunk.constData(), count);
        }
    } catch (const std::bad_alloc &) {
        throw AppError(QStringLiteral("Failed to Load Stream"));
    }
}

HelpText HelpFileLoader::parse(QByteArrayView content) const
{
    try {
        // In chunks, as the file arrives on a system that streams it.
        LineBreakNormalizer normalizer;
        QByteArray normalized;
        normalized.reserve(content.size());
        for (qsizetype at = 0; at < content.size(); at += m_chunkSize)
            normalizer.append(
                content.sliced(at, std::min(m_chunkSize, content.size() - at)), normalized);
        HelpText text;
        if (!RtfReader::read(normalized, text))
            text = HelpText::fromPlainText(cp1254::toUnicode(normalized));
        return text;
    } catch (const std::bad_alloc &) {
        // What was made so far is freed on the way here; the program goes on without it.
        throw AppError(QStringLiteral("Failed to Load Stream"));
    }
}

bool HelpFileLoader::load(HelpText &text) const
{
    const std::optional<QByteArray> content = read();
    if (!content)
        return false;
    text = parse(*content);
    return true;
}

bool HelpFileLoader::loadInto(QTextDocument &document) const
{
    HelpText text;
    if (!load(text))
        return false;
    text.writeAllTo(document);
    return true;
}
