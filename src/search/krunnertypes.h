// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// The structures KRunner's D-Bus interface (org.kde.krunner1) passes: an action, (sss),
// and a match, (sssida{sv}).
struct KRunnerAction
{
    QString id;
    QString text;
    QString iconName;
};

struct KRunnerMatch
{
    QString id;
    QString text;
    QString iconName;
    int type = 0; // how sure the match is; KRunner sorts by it before relevance
    double relevance = 0;
    QVariantMap properties;
};

using KRunnerActions = QList<KRunnerAction>;
using KRunnerMatches = QList<KRunnerMatch>;

Q_DECLARE_METATYPE(KRunnerAction)
Q_DECLARE_METATYPE(KRunnerMatch)

QDBusArgument &operator<<(QDBusArgument &argument, const KRunnerAction &action);
const QDBusArgument &operator>>(const QDBusArgument &argument, KRunnerAction &action);
QDBusArgument &operator<<(QDBusArgument &argument, const KRunnerMatch &match);
const QDBusArgument &operator>>(const QDBusArgument &argument, KRunnerMatch &match);

// Makes the structures above, and GNOME Shell's list of result descriptions (aa{sv}),
// known to Qt's D-Bus marshalling; once, before the first call is answered or made.
void registerSearchDBusTypes();
