// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafolder/datafolder.h"
#include "datafolder/translations.h"
#include "search/krunnertypes.h"
#include "search/searchlog.h"
#include "search/searchservice.h"
#include "searchlayout.h"
#include "velkaroversion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDir>
#include <QFileInfo>

#include <chrono>

using namespace std::chrono_literals;

namespace {

// Long enough to serve a working session's searches from memory, short enough that an
// unused service gives its memory back; D-Bus starts it again at the next question.
constexpr auto kIdleTimeout = 5min;

// The program's own rule for --kullanici-verisi: the user's list when there is one.
QString chosenDatabase()
{
    return datafolder::databaseIn(datafolder::choose(datafolder::usersFolder(),
        datafolder::installedFolder(QCoreApplication::applicationDirPath()))
                                      .folder);
}

QString installedProgram()
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QString::fromLatin1(kProgramFileName));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velkaro-arama-search"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELKARO_VERSION));
    translations::install(translations::folderFor(QCoreApplication::applicationDirPath()));

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate("velkaro-arama-search",
        "Answers the desktop's search (GNOME Shell, KRunner) from the VUK rate list.\n"
        "D-Bus starts it when a search needs it; it never writes anything."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption databaseOption(QStringLiteral("database"),
        QCoreApplication::translate("velkaro-arama-search",
            "The rate list to search (default: the user's own list in "
            "$XDG_DATA_HOME/velkaro-arama/AnaData when there is one, otherwise "
            "the installed one)."),
        QCoreApplication::translate("velkaro-arama-search", "file"));
    const QCommandLineOption programOption(QStringLiteral("program"),
        QCoreApplication::translate("velkaro-arama-search",
            "The program a chosen result starts, in the folder above the list's "
            "folder (default: velkaro-arama beside this service)."),
        QCoreApplication::translate("velkaro-arama-search", "file"), installedProgram());
    parser.addOptions({databaseOption, programOption});
    parser.process(application);

    // Given a list, the service reads it and the program is started in its folder; by
    // default both follow the user's-list rule, the program through its own option.
    SearchService::ListChooser whichList = chosenDatabase;
    QStringList programOptions {QStringLiteral("--kullanici-verisi")};
    if (parser.isSet(databaseOption)) {
        whichList = [database = QFileInfo(parser.value(databaseOption)).absoluteFilePath()] {
            return database;
        };
        programOptions.clear();
    }

    registerSearchDBusTypes();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCCritical(lcSearch, "No session bus: %s", qUtf8Printable(bus.lastError().message()));
        return 1;
    }
    SearchService service(whichList,
        ProgramLauncher(parser.value(programOption), QString(), programOptions), kIdleTimeout);
    QObject::connect(&service, &SearchService::idle, &application, &QCoreApplication::quit);
    // The object first, so that a question sent as soon as the name is ours finds it.
    if (!bus.registerObject(QString::fromLatin1(kSearchObjectPath), &service)) {
        qCCritical(lcSearch, "Cannot export %s on the session bus", kSearchObjectPath);
        return 1;
    }
    if (!bus.registerService(QString::fromLatin1(kSearchBusName))) {
        qCCritical(lcSearch, "Cannot take the name %s on the session bus: %s", kSearchBusName,
            qUtf8Printable(bus.lastError().message()));
        return 1;
    }
    // When the session's bus goes, so does every question: end with it rather than wait
    // for the idle time.
    bus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
        QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), &application,
        SLOT(quit()));
    return application.exec();
}
