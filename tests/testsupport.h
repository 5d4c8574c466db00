// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

// A run directory of its own for a test: a temporary folder made current, holding
// AnaData/Velkaro.mdb copied from one of the fixtures (or nothing). The previous
// current directory comes back when it goes.
class RunDirectory
{
public:
    explicit RunDirectory(const QString &fixture = {})
        : m_previous(QDir::currentPath())
    {
        QDir(m_dir.path()).mkdir(QStringLiteral("AnaData"));
        // A test without its fixture would only fail later and less clearly.
        if (!fixture.isEmpty() && !install(fixture))
            qFatal("Could not copy the fixture %s", qPrintable(fixture));
        QDir::setCurrent(m_dir.path());
    }
    ~RunDirectory() { QDir::setCurrent(m_previous); }

    RunDirectory(const RunDirectory &) = delete;
    RunDirectory &operator=(const RunDirectory &) = delete;

    static QString fixturePath(const QString &fixture)
    {
        return QStringLiteral(VELKARO_TEST_DATA_DIR "/") + fixture;
    }

    QString databasePath() const { return m_dir.filePath(QStringLiteral("AnaData/Velkaro.mdb")); }
    QString path() const { return m_dir.path(); }

    [[nodiscard]] bool install(const QString &fixture)
    {
        QFile::remove(databasePath());
        return QFile::copy(fixturePath(fixture), databasePath())
            && QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::WriteOwner);
    }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
