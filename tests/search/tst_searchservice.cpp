// SPDX-License-Identifier: GPL-3.0-or-later

// The desktop search service as GNOME Shell and KRunner meet it: the real program on a
// session bus of the test's own, asked over D-Bus, starting a stand-in for the program
// when a result is chosen.
#include "search/krunnertypes.h"
#include "searchserviceonbus.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kGnomeShell = QStringLiteral("org.gnome.Shell.SearchProvider2");
const QString kKRunner = QStringLiteral("org.kde.krunner1");

// Writes where it was started and its arguments, one a line, to "launched" beside it.
const QByteArray kLauncherScript = R"(#!/bin/sh
out="$(dirname "$0")/launched"
{ pwd; for argument in "$@"; do printf '%s\n' "$argument"; done; } > "$out.part"
mv "$out.part" "$out"
)";

} // namespace

class TestSearchService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        registerSearchDBusTypes();
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("needs dbus-daemon (Debian package dbus-daemon; scripts/setup installs it)");
        QVERIFY2(m_onBus.startBus(), qPrintable(m_onBus.why()));

        const QString launcher = m_launcherDir.filePath(QStringLiteral("velkaro-arama"));
        QFile script(launcher);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(kLauncherScript);
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void init() { startService(QStringLiteral("fixture.mdb")); }
    void cleanup() { stopService(); }

    void gnomeShellFindsRowsTheTurkishWay_data()
    {
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("BİNA") << QStringList {"BİNA"} << QStringList {"0"};
        QTest::newRow("bina") << QStringList {"bina"} << QStringList {"0"};
        QTest::newRow("BINA is bına") << QStringList {"BINA"} << QStringList {};
        QTest::newRow("ISI") << QStringList {"ISI"} << QStringList {"1", "2"};
        QTest::newRow("ısı") << QStringList {"ısı"} << QStringList {"1", "2"};
        QTest::newRow("isi matches neither") << QStringList {"isi"} << QStringList {};
        QTest::newRow("every term") << QStringList {"buhar", "kazan"} << QStringList {"6"};
        QTest::newRow("no terms") << QStringList {} << QStringList {};
    }
    void gnomeShellFindsRowsTheTurkishWay()
    {
        QFETCH(QStringList, terms);
        QFETCH(QStringList, ids);
        QCOMPARE(call(kGnomeShell, QStringLiteral("GetInitialResultSet"), {terms})
                     .value(0)
                     .toStringList(),
            ids);
        // Narrowing searches afresh: the answer is the same as for the terms alone.
        QCOMPARE(call(kGnomeShell, QStringLiteral("GetSubsearchResultSet"), {ids, terms})
                     .value(0)
                     .toStringList(),
            ids);
    }

    void gnomeShellDescribesResults()
    {
        const QList<QVariant> reply = call(kGnomeShell, QStringLiteral("GetResultMetas"),
            {QStringList {"0", "2", "99", "not a row"}});
        const auto metas = qdbus_cast<QList<QVariantMap>>(reply.value(0));
        QCOMPARE(metas.size(), 2);
        QCOMPARE(metas[0].value("id").toString(), "0");
        QCOMPARE(metas[0].value("name").toString(), "1 BİNALAR");
        QCOMPARE(metas[0].value("description").toString(), "50 yıl · %2,00");
        QCOMPARE(metas[0].value("gicon").toString(), "velkaro-arama");
        QCOMPARE(metas[1].value("name").toString(), "1.1.1 ısıtma kazanı");
        QCOMPARE(metas[1].value("description").toString(), "6,5 yıl · %2,50");
    }

    void kRunnerMatches_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("subtexts");
        QTest::newRow("BİNA") << "BİNA" << QStringList {"1 BİNALAR"}
                              << QStringList {"50 yıl · %2,00"};
        QTest::newRow("ISI, table order")
            << "ISI" << QStringList {"1.1 ISITMA TESİSATI", "1.1.1 ısıtma kazanı"}
            << QStringList {"10 yıl · %10,00", "6,5 yıl · %2,50"};
        QTest::newRow("two words")
            << "  kazan   buhar " << QStringList {"2.1.1 Kazan ve buhar makineleri"}
            << QStringList {"8 yıl"};
        QTest::newRow("isi matches neither") << "isi" << QStringList {} << QStringList {};
        QTest::newRow("two letters are too few to ask") << "ka" << QStringList {} << QStringList {};
    }
    void kRunnerMatches()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, subtexts);
        const auto matches
            = qdbus_cast<KRunnerMatches>(call(kKRunner, QStringLiteral("Match"), {query}).value(0));
        QStringList gotTexts;
        QStringList gotSubtexts;
        for (const KRunnerMatch &match : matches) {
            gotTexts.append(match.text);
            gotSubtexts.append(match.properties.value("subtext").toString());
            QCOMPARE(match.iconName, "velkaro-arama");
        }
        QCOMPARE(gotTexts, texts);
        QCOMPARE(gotSubtexts, subtexts);
        // An id names the row alone: the same for every query that finds it, so that
        // KRunner's history holds one entry a row, and none of the query's text.
        for (const KRunnerMatch &match : matches) {
            const auto again = qdbus_cast<KRunnerMatches>(
                call(kKRunner, QStringLiteral("Match"), {match.text.section(u' ', 1)}).value(0));
            QVERIFY(std::any_of(again.begin(), again.end(),
                [&](const KRunnerMatch &other) { return other.id == match.id; }));
            QVERIFY(!match.id.contains(query.trimmed().section(u' ', 0, 0)));
        }
        for (qsizetype i = 1; i < matches.size(); ++i)
            QVERIFY(matches[i].relevance < matches[i - 1].relevance);
        QVERIFY(qdbus_cast<KRunnerActions>(call(kKRunner, QStringLiteral("Actions")).value(0))
                    .isEmpty());
    }

    // Choosing a result starts the program in the folder that holds AnaData/, with the
    // first two terms in its boxes and the chosen row named by its list number; every
    // term is one argument, so none can be read as an option.
    void choosingAResultStartsTheProgramWithTheSearch_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<QStringList>("arguments");
        const QStringList terms {"kazan", "buhar", "ve"};
        QTest::newRow("GNOME Shell result")
            << "activate" << terms << QStringList {"--ara=kazan", "--ara2=buhar", "--satir=2.1.1"};
        QTest::newRow("GNOME Shell search")
            << "launch" << terms << QStringList {"--ara=kazan", "--ara2=buhar"};
        QTest::newRow("KRunner match, the terms kept from its query")
            << "run" << terms << QStringList {"--ara=kazan", "--ara2=buhar", "--satir=2.1.1"};
        QTest::newRow("KRunner match no query gave: the whole list, on the row")
            << "run unasked" << QStringList {} << QStringList {"--satir=2.1.1"};
        QTest::newRow("a result the list no longer has")
            << "activate gone" << terms << QStringList {"--ara=kazan", "--ara2=buhar"};
        const QString rtl = u"\u202eبناء \"x\""_qs;
        QTest::newRow("option-like, quoted and right-to-left terms")
            << "launch" << QStringList {"-reverse", rtl}
            << QStringList {"--ara=-reverse", "--ara2=" + rtl};
    }
    void choosingAResultStartsTheProgramWithTheSearch()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, terms);
        QFETCH(QStringList, arguments);
        if (how == "activate" || how == "activate gone") {
            call(kGnomeShell, QStringLiteral("ActivateResult"),
                {how == "activate" ? u"6"_qs : u"99"_qs, terms, QVariant::fromValue(0u)});
        } else if (how == "launch") {
            call(kGnomeShell, QStringLiteral("LaunchSearch"), {terms, QVariant::fromValue(0u)});
        } else if (how == "run") {
            const auto matches = qdbus_cast<KRunnerMatches>(
                call(kKRunner, QStringLiteral("Match"), {terms.join(' ')}).value(0));
            QCOMPARE(matches.size(), 1);
            call(kKRunner, QStringLiteral("Run"), {matches[0].id, QString()});
        } else {
            call(kKRunner, QStringLiteral("Run"), {QStringLiteral("6"), QString()});
        }
        QFile launched(m_launcherDir.filePath(QStringLiteral("launched")));
        QTRY_VERIFY_WITH_TIMEOUT(launched.exists(), 10000);
        QVERIFY(launched.open(QIODevice::ReadOnly));
        const QStringList lines
            = QString::fromUtf8(launched.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QFileInfo(m_run->path()).canonicalFilePath());
        QCOMPARE(lines.mid(1), arguments);
    }

    void aDamagedListAnswersNothingAndTheServiceLivesOn()
    {
        stopService();
        startService(QStringLiteral("damaged/phantom-row_fixture-datapage-numrows-13.mdb"));
        QCOMPARE(call(kGnomeShell, QStringLiteral("GetInitialResultSet"), {QStringList {"a"}})
                     .value(0)
                     .toStringList(),
            QStringList {});
        QVERIFY(qdbus_cast<KRunnerMatches>(call(kKRunner, QStringLiteral("Match"), {"a"}).value(0))
                    .isEmpty());
        QCOMPARE(m_onBus.service().state(), QProcess::Running);
        QByteArray log;
        QTRY_VERIFY_WITH_TIMEOUT((log += m_onBus.service().readAllStandardError())
                                     .contains("No results until the list changes"),
            5000);
    }

private:
    void startService(const QString &fixture)
    {
        QFile::remove(m_launcherDir.filePath(QStringLiteral("launched")));
        m_run = std::make_unique<RunDirectory>(fixture);
        QVERIFY2(m_onBus.startService(m_run->databasePath(),
                     m_launcherDir.filePath(QStringLiteral("velkaro-arama"))),
            qPrintable(m_onBus.why()));
    }

    void stopService()
    {
        m_onBus.stopService();
        m_run.reset();
    }

    QList<QVariant> call(
        const QString &interface, const QString &method, const QList<QVariant> &arguments = {})
    {
        const QDBusMessage reply = m_onBus.ask(interface, method, arguments);
        if (reply.type() != QDBusMessage::ReplyMessage)
            qWarning("%s.%s failed: %s", qPrintable(interface), qPrintable(method),
                qPrintable(reply.errorMessage()));
        return reply.arguments();
    }

    SearchServiceOnBus m_onBus {QStringLiteral("velkaro-test")};
    QTemporaryDir m_launcherDir;
    std::unique_ptr<RunDirectory> m_run;
};

QTEST_GUILESS_MAIN(TestSearchService)
#include "tst_searchservice.moc"
