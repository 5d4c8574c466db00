// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"
#include "ui/amortana/globalsharecontext.h"
#include "ui/amortana/urlopener.h"
#include "ui/amortana/webpanel.h"

#include <QFile>
#include <QLibraryInfo>
#include <QOpenGLContext>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct LoggedMessage
{
    QString category;
    QtMsgType type;
    QString text;
};

// Collects what the web panel logs; every other message goes on as usual.
class WebPanelLog
{
public:
    WebPanelLog()
    {
        s_log = this;
        m_previous = qInstallMessageHandler(&WebPanelLog::handle);
    }
    ~WebPanelLog()
    {
        qInstallMessageHandler(m_previous);
        s_log = nullptr;
    }

    QList<LoggedMessage> messages;

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        const QString category = QString::fromUtf8(context.category ? context.category : "");
        if (category == QLatin1String("velkaro.webpanel"))
            s_log->messages.append({category, type, text});
        else
            s_log->m_previous(type, context, text);
    }

    static inline WebPanelLog *s_log = nullptr;
    QtMessageHandler m_previous = nullptr;
};

enum class PluginFolder {
    Missing,
    Empty,
    NotALibrary,
    LibraryWithoutPluginData,
    PluginOfAnotherKind,
    TheBuildsPlugin,
};

QString qtFile(QLibraryInfo::LibraryPath where, const QString &name)
{
    return QLibraryInfo::path(where) + QLatin1Char('/') + name;
}

// Fills (or leaves out) a folder so that it holds the kind of file asked for, under the
// name the panel loads.
QString preparePluginFolder(PluginFolder kind, const QTemporaryDir &scratch)
{
    const QString folder = scratch.filePath(QStringLiteral("plugins"));
    const QString plugin = folder + QStringLiteral("/velkaro-webengine.so");
    if (kind != PluginFolder::Missing)
        QDir().mkpath(folder);
    switch (kind) {
    case PluginFolder::Missing:
    case PluginFolder::Empty:
        break;
    case PluginFolder::NotALibrary: {
        QFile file(plugin);
        if (file.open(QIODevice::WriteOnly))
            file.write("#!/bin/sh\necho not a library\n");
        break;
    }
    case PluginFolder::LibraryWithoutPluginData:
        QFile::copy(qtFile(QLibraryInfo::LibrariesPath, QStringLiteral("libQt6Test.so.6")), plugin);
        break;
    case PluginFolder::PluginOfAnotherKind:
        // A link, not a copy: a second copy of a loaded plugin would be a second library.
        QFile::link(qtFile(QLibraryInfo::PluginsPath, QStringLiteral("platforms/libqoffscreen.so")),
            plugin);
        break;
    case PluginFolder::TheBuildsPlugin:
        return QStringLiteral(VELKARO_WEBVIEW_PLUGIN_BUILD_DIR);
    }
    return folder;
}

} // namespace

Q_DECLARE_METATYPE(PluginFolder)

class TestWebPanel : public QObject
{
    Q_OBJECT

private slots:
    // The one private Qt function the program calls (globalsharecontext.cpp): should a
    // Qt upgrade change what it does, the web view would no longer share the engine's
    // frames, and nothing else would say so.
    void globalShareContextIsSet()
    {
        QOpenGLContext *const previous = QOpenGLContext::globalShareContext();
        QOpenGLContext ours;
        globalsharecontext::set(&ours);
        const bool taken = QOpenGLContext::globalShareContext() == &ours;
        globalsharecontext::set(previous);
        QVERIFY2(taken,
            "Qt's private qt_gl_set_global_share_context no longer sets "
            "QOpenGLContext::globalShareContext(): check globalsharecontext.cpp against this Qt");
    }

    void outsidePageThatNoBrowserOpensIsLogged()
    {
        // The offscreen platform opens no pages: the log is all that is left to see.
        QTest::ignoreMessage(QtWarningMsg, "No browser opened velkaro-test:page");
        urlopener::open(QUrl(QStringLiteral("velkaro-test:page")), nullptr);
    }

    void aPluginThatDoesNotLoadIsLogged_data()
    {
        QTest::addColumn<PluginFolder>("kind");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no folder") << PluginFolder::Missing << false << "not found";
        QTest::newRow("empty folder") << PluginFolder::Empty << false << "not found";
        QTest::newRow("not a library") << PluginFolder::NotALibrary << false << "velkaro-webengine";
        QTest::newRow("library, not a plugin")
            << PluginFolder::LibraryWithoutPluginData << false << "not a Qt plugin";
        QTest::newRow("another kind of plugin")
            << PluginFolder::PluginOfAnotherKind << false << "is not a web view plugin";
        QTest::newRow("the build's plugin") << PluginFolder::TheBuildsPlugin << true << "";
    }

    void aPluginThatDoesNotLoadIsLogged()
    {
        QFETCH(PluginFolder, kind);
        QFETCH(bool, loads);
        QFETCH(QString, reason);
        QTemporaryDir scratch;
        const QString folder = preparePluginFolder(kind, scratch);

        WebPanelLog log;
        WebViewFactory *factory = webviewplugin::load(folder);

        QCOMPARE(factory != nullptr, loads);
        QList<LoggedMessage> warnings;
        for (const LoggedMessage &message : log.messages) {
            if (message.type == QtWarningMsg)
                warnings << message;
        }
        if (loads) {
            QVERIFY(warnings.isEmpty());
            return;
        }
        QCOMPARE(warnings.size(), 1);
        const QString text = warnings.first().text;
        QVERIFY2(text.startsWith(QLatin1String("The web panel stays blank")), qPrintable(text));
        QVERIFY2(text.contains(folder), qPrintable(text));
        QVERIFY2(text.contains(reason, Qt::CaseInsensitive), qPrintable(text));
    }

    // The real program, started from its place in the build tree and from a copy in a
    // folder of its own: only the first finds the plugin its build made.
    void theProgramLooksBesideItselfOnly_data()
    {
        QTest::addColumn<bool>("copied");
        QTest::addColumn<QString>("expected");
        QTest::newRow("in the build tree") << false << "The web view plugin is";
        QTest::newRow("copied elsewhere") << true << "The web panel stays blank";
    }

    void theProgramLooksBesideItselfOnly()
    {
        QFETCH(bool, copied);
        QFETCH(QString, expected);
        QTemporaryDir scratch;
        QString program = QStringLiteral(VELKARO_PROGRAM);
        if (copied) {
            const QString copy = scratch.filePath(QStringLiteral("bin/velkaro-arama"));
            QVERIFY(QDir().mkpath(scratch.filePath(QStringLiteral("bin"))));
            QVERIFY(QFile::copy(program, copy));
            program = copy;
        }
        // The shipped list, so that the window comes up without error boxes.
        QVERIFY(QDir().mkpath(scratch.filePath(QStringLiteral("run/AnaData"))));
        QVERIFY(QFile::copy(QStringLiteral(VELKARO_TEST_DATA_DIR "/fixture.mdb"),
            scratch.filePath(QStringLiteral("run/AnaData/Velkaro.mdb"))));

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        environment.insert(
            QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("velkaro.webpanel.debug=true"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(scratch.filePath(QStringLiteral("run")));
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, {});
        QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
        QByteArray output;
        const auto logged = [&] {
            output += process.readAll();
            return output.contains("velkaro.webpanel: " + expected.toUtf8());
        };
        QTRY_VERIFY_WITH_TIMEOUT(logged() || process.state() == QProcess::NotRunning, 60000);
        process.kill();
        process.waitForFinished();
        QVERIFY2(logged(), output.constData());
        // Only the copy's folder was tried, never the build's.
        if (copied)
            QVERIFY2(!output.contains(QStringLiteral(VELKARO_WEBVIEW_PLUGIN_BUILD_DIR).toUtf8()),
                output.constData());
    }
};

int main(int argc, char *argv[])
{
    Application application(argc, argv);
    TestWebPanel test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webpanel.moc"
