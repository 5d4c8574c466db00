// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <exception>

// An error the user is told of: its message is the error box's text. Code below a
// layer's edge may throw its own kinds (jetrows::DamagedFile, std::bad_alloc); the layer
// that catches them says what they mean to the user with this one.
class AppError : public std::exception
{
public:
    explicit AppError(QString message)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
    { }

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// An error reported by the database engine. The user reads its description without the
// engine's own closing full stops, trailing spaces and control characters; the error
// box then ends it the way it ends every message.
class DatabaseError : public AppError
{
public:
    explicit DatabaseError(const QString &description)
        : AppError(withoutClosingStops(description))
    { }

    static QString withoutClosingStops(QString description)
    {
        while (!description.isEmpty()) {
            const QChar last = description.back();
            if (last != u'.' && last != u' ' && last.category() != QChar::Other_Control)
                break;
            description.chop(1);
        }
        return description;
    }
};
