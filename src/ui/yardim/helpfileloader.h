#pragma once

#include <QString>

class QTextDocument;

// Reads the help file from the current directory into a document: as RTF when it is
// RTF, otherwise as plain Windows-1254 text, with every kind of line break made one.
class HelpFileLoader
{
public:
    static constexpr qsizetype kDefaultChunkSize = 32 * 1024;

    explicit HelpFileLoader(
        QString fileName = QStringLiteral("yardim"), qsizetype chunkSize = kDefaultChunkSize);

    // The file's name expanded against the current directory, as of now.
    QString fullPath() const;

    // Returns false and leaves the document alone when there is no such file.
    // Throws AppError, leaving the document alone, when the file exists but cannot be
    // opened ("Cannot open file ...") or read ("Failed to Load Stream").
    bool loadInto(QTextDocument &document) const;

private:
    QByteArray readNormalized() const;

    QString m_fileName;
    qsizetype m_chunkSize;
};
