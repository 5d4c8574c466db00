// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "searchlayout.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

// A session bus of its own (dbus-daemon --session) and the real search service on it, as
// the desktop would start it, for the tests and the benchmark that ask it over D-Bus.
class SearchServiceOnBus
{
public:
    explicit SearchServiceOnBus(QString connectionName)
        : m_connectionName(std::move(connectionName))
    { }
    ~SearchServiceOnBus()
    {
        stopService();
        QDBusConnection::disconnectFromBus(m_connectionName);
        m_bus.kill();
        m_bus.waitForFinished();
    }
    SearchServiceOnBus(const SearchServiceOnBus &) = delete;
    SearchServiceOnBus &operator=(const SearchServiceOnBus &) = delete;

    // False, with why(), when there is no dbus-daemon or it does not answer.
    bool startBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return failed(QStringLiteral(
                "needs dbus-daemon (Debian package dbus-daemon; scripts/setup installs it)"));
        m_bus.start(daemon,
            {QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--print-address")});
        if (!m_bus.waitForReadyRead(10000))
            return failed(QStringLiteral("dbus-daemon printed no address"));
        m_address = QString::fromUtf8(m_bus.readLine().trimmed());
        const QDBusConnection bus = QDBusConnection::connectToBus(m_address, m_connectionName);
        return bus.isConnected() || failed(bus.lastError().message());
    }

    // Starts the service on the list and waits until it holds its bus name. `program`
    // is what a chosen result starts (the installed default when empty).
    bool startService(const QString &database, const QString &program = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
        m_service.setProcessEnvironment(environment);
        QStringList arguments {QStringLiteral("--database"), database};
        if (!program.isEmpty())
            arguments << QStringLiteral("--program") << program;
        m_service.start(QStringLiteral(VELKARO_SEARCH_SERVICE), arguments);
        if (!m_service.waitForStarted())
            return failed(m_service.errorString());
        const QString name = QString::fromLatin1(kSearchBusName);
        for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); QThread::msleep(10)) {
            if (connection().interface()->isServiceRegistered(name))
                return true;
        }
        return failed(QStringLiteral("the service did not take its bus name"));
    }

    void stopService()
    {
        m_service.terminate();
        m_service.waitForFinished();
    }

    QDBusMessage ask(
        const QString &interface, const QString &method, const QVariantList &arguments = {}) const
    {
        QDBusMessage message = QDBusMessage::createMethodCall(QString::fromLatin1(kSearchBusName),
            QString::fromLatin1(kSearchObjectPath), interface, method);
        message.setArguments(arguments);
        return connection().call(message, QDBus::Block, 60000);
    }

    QDBusConnection connection() const { return QDBusConnection(m_connectionName); }
    QProcess &service() { return m_service; }
    const QString &why() const { return m_why; }

private:
    bool failed(const QString &why)
    {
        m_why = why;
        return false;
    }

    QString m_connectionName;
    QString m_address;
    QString m_why;
    QProcess m_bus;
    QProcess m_service;
};
