#include "helpfileloader.h"

#include "apperror.h"
#include "cp1254.h"
#include "denywriters.h"
#include "linebreaknormalizer.h"
#include "rtfreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include <algorithm>

HelpFileLoader::HelpFileLoader(QString fileName, qsizetype chunkSize)
    : m_fileName(std::move(fileName))
    , m_chunkSize(std::max<qsizetype>(chunkSize, 1))
{ }

QString HelpFileLoader::fullPath() const
{
    return QDir::current().absoluteFilePath(m_fileName);
}

bool HelpFileLoader::loadInto(QTextDocument &document) const
{
    // Opened by its relative name, which the system resolves against the current
    // directory: the directory's own name may not survive a trip through text. Only a
    // file counts: a folder of that name is no help file, and a pipe would never end.
    if (!QFileInfo(m_fileName).isFile())
        return false;

    // Read the whole file before touching the document, so that a failure half-way
    // leaves the old text in place.
    const QByteArray content = readNormalized();
    if (!RtfReader::read(content, document))
        document.setPlainText(cp1254::toUnicode(content));
    return true;
}

QByteArray HelpFileLoader::readNormalized() const
{
    const std::unique_ptr<QFile> file = openDenyingWriters(m_fileName, fullPath());
    LineBreakNormalizer normalizer;
    QByteArray content;
    QByteArray chunk(m_chunkSize, Qt::Uninitialized);
    for (;;) {
        const qint64 count = file->read(chunk.data(), chunk.size());
        if (count < 0)
            throw AppError(QStringLiteral("Failed to Load Stream"));
        if (count == 0)
            return content;
        normalizer.append(QByteArrayView(chunk.constData(), count), content);
    }
}
