// SPDX-License-Identifier: GPL-3.0-or-later

#include "data/ratesquery.h"
#include "datafolder/translations.h"
#include "jet/apperror.h"
#include "jet/connectionsettings.h"
#include "jet/jetconnection.h"
#include "jet/jetpassword.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

class TestJetConnection : public QObject
{
    Q_OBJECT

private:
    // The program's connection string with another database password.
    static QString withPassword(const QString &password)
    {
        QString connectionString = connectionsettings::render();
        connectionString.replace(QStringLiteral("Password=t3kwrbe7MNQZV5P"),
            QStringLiteral("Password=\"%1\"").arg(password));
        return connectionString;
    }

    static QByteArray fileBytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Opens the query over whatever AnaData/Velkaro.mdb holds and returns the error text.
    static QString openingError(const QString &connectionString = connectionsettings::render())
    {
        JetConnection connection(connectionString);
        RatesQuery query(&connection);
        try {
            query.open();
        } catch (const AppError &error) {
            if (query.isOpen())
                return QStringLiteral("query left open after: ") + error.message();
            return error.message();
        }
        return {};
    }

private slots:
    void connectionStringIsRenderedInDeclaredOrder()
    {
        QCOMPARE(connectionsettings::render(),
            QStringLiteral(
                "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=AnaData\\Velkaro.mdb;"
                "Mode=Share Deny None;Extended Properties=\"\";Persist Security Info=False;"
                "Jet OLEDB:System database=\"\";Jet OLEDB:Registry Path=\"\";"
                "Jet OLEDB:Database Password=t3kwrbe7MNQZV5P;Jet OLEDB:Engine Type=5;"
                "Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;"
                "Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";"
                "Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
                "Jet OLEDB:Don't Copy Locale on Compact=False;"
                "Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False"));
    }

    void connectionStringValuesReadBack_data()
    {
        QTest::addColumn<QString>("connectionString");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("present");
        const QString rendered = connectionsettings::render();
        QTest::newRow("provider") << rendered << "Provider"
                                  << "Microsoft.Jet.OLEDB.4.0" << true;
        QTest::newRow("names ignore case") << rendered << "data source"
                                           << "AnaData\\Velkaro.mdb" << true;
        QTest::newRow("password") << rendered << "Jet OLEDB:Database Password"
                                  << "t3kwrbe7MNQZV5P" << true;
        QTest::newRow("empty value in quotes") << rendered << "Extended Properties"
                                               << "" << true;
        QTest::newRow("absent property") << rendered << "Initial Catalog"
                                         << "" << false;
        QTest::newRow("quoted value keeps its semicolon")
            << "Provider=x;Jet OLEDB:Database Password=\"a;b\"\"c\";Mode=Read"
            << "Jet OLEDB:Database Password"
            << "a;b\"c" << true;
        QTest::newRow("value after a quoted one") << "A=\"1;2\";Mode=Read"
                                                  << "Mode"
                                                  << "Read" << true;
    }

    void connectionStringValuesReadBack()
    {
        QFETCH(QString, connectionString);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QFETCH(bool, present);
        const std::optional<QString> value = connectionsettings::value(connectionString, name);
        QCOMPARE(value.has_value(), present);
        if (present)
            QCOMPARE(*value, expected);
    }

    void passwordIsReadFromTheHeader_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("password");
        QTest::newRow("the program's own") << "fixture.mdb"
                                           << "t3kwrbe7MNQZV5P";
        QTest::newRow("another one") << "otherpass.mdb"
                                     << "baskaSifre42";
        QTest::newRow("none") << "nopass.mdb"
                              << "";
    }

    void passwordIsReadFromTheHeader()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, password);
        QFile file(RunDirectory::fixturePath(fixture));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray firstPage = file.read(4096);
        QCOMPARE(jetpassword::formatOf(firstPage), jetpassword::Format::Jet4);
        QCOMPARE(jetpassword::passwordOf(firstPage), std::optional<QString>(password));
    }

    void openingFailsWithAClearMessage_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("expected");
        QTest::newRow("wrong password") << "otherpass.mdb"
                                        << "Not a valid password.";
        QTest::newRow("missing field") << "missingcol.mdb"
                                       << "meslekkoduQuery: Field 'teblig' not found";
        QTest::newRow("text where a number is declared")
            << "badtype.mdb"
            << "Type mismatch for field 'oran', expecting: Float actual: WideString";
        QTest::newRow("enciphered ACE file")
            << "realfiles/andipaetzold_V2010_with-password.accdb"
            << "The database '%1' is encrypted and cannot be read. Save it without a password "
               "or encryption.";
    }

    void openingFailsWithAClearMessage()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, expected);
        RunDirectory run(fixture);
        QCOMPARE(openingError(), expected.arg(QDir::toNativeSeparators(run.databasePath())));
    }

    // A newer Access saves the list as ACE: the same pages under another header.
    void aceListOpens()
    {
        RunDirectory run(QStringLiteral("nopass.mdb"));
        JetConnection jet4Connection;
        RatesQuery jet4Query(&jet4Connection);
        jet4Query.open();
        QFile file(run.databasePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray header = file.read(0x18);
        header.replace(4, 15, "Standard ACE DB");
        header[0x14] = 0x03;
        QVERIFY(file.seek(0) && file.write(header) == header.size());
        file.close();
        JetConnection connection;
        RatesQuery query(&connection);
        query.open();
        QVERIFY(query.recordCount() > 0);
        QCOMPARE(query.recordCount(), jet4Query.recordCount());
    }

    void databaseWithoutPasswordOpensWhateverPasswordIsGiven_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("the program's own") << "t3kwrbe7MNQZV5P";
        QTest::newRow("none") << "";
        QTest::newRow("another one") << "baskaSifre42";
    }

    void databaseWithoutPasswordOpensWhateverPasswordIsGiven()
    {
        QFETCH(QString, password);
        RunDirectory run(QStringLiteral("nopass.mdb"));
        JetConnection connection(withPassword(password));
        RatesQuery query(&connection);
        query.open();
        QCOMPARE(query.recordCount(), 12);
        QCOMPARE(query.record(11).ID(), std::optional<double>(12));
    }

    void passwordOfTheFileMustMatchTheGivenOne_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("none given") << "";
        QTest::newRow("another case") << "T3KWRBE7MNQZV5P";
        QTest::newRow("a prefix") << "t3kwrbe7";
    }

    void passwordOfTheFileMustMatchTheGivenOne()
    {
        QFETCH(QString, password);
        RunDirectory run(QStringLiteral("fixture.mdb"));
        QCOMPARE(openingError(withPassword(password)), QStringLiteral("Not a valid password."));
    }

    void damagedFilesGiveTheDamagedErrorAndNoRows_data()
    {
        QTest::addColumn<QString>("fixture");
        const QDir damaged(RunDirectory::fixturePath(QStringLiteral("damaged")));
        const QStringList files = damaged.entryList({QStringLiteral("*.mdb")}, QDir::Files);
        QVERIFY(files.size() >= 6);
        for (const QString &file : files)
            QTest::newRow(qPrintable(file)) << QStringLiteral("damaged/") + file;
    }

    void damagedFilesGiveTheDamagedErrorAndNoRows()
    {
        QFETCH(QString, fixture);
        RunDirectory run(fixture);
        const QByteArray before = fileBytes(run.databasePath());
        const QDateTime modifiedBefore = QFileInfo(run.databasePath()).lastModified();

        JetConnection connection;
        RatesQuery query(&connection);
        // The log says what is wrong and where; the user learns which table.
        QTest::ignoreMessage(QtWarningMsg,
            QRegularExpression(QStringLiteral(
                R"(^Refused ".*", table "ORANLAR": .+ \(page [1-9][0-9]*, row -?[0-9]+\)$)")));
        try {
            query.open();
            QFAIL(qPrintable(QStringLiteral("opened with %1 rows").arg(query.recordCount())));
        } catch (const AppError &error) {
            QCOMPARE(error.message(),
                QStringLiteral("The database '%1' is damaged or incomplete (table 'ORANLAR').")
                    .arg(QDir::toNativeSeparators(run.databasePath())));
        }
        QVERIFY(!query.isOpen());
        QCOMPARE(query.recordCount(), 0);
        QCOMPARE(fileBytes(run.databasePath()), before);
        QCOMPARE(QFileInfo(run.databasePath()).lastModified(), modifiedBefore);
        QCOMPARE(QDir(run.path() + QStringLiteral("/AnaData")).entryList(QDir::Files),
            QStringList {QStringLiteral("Velkaro.mdb")});
    }

    // The messages follow the user's message language: Turkish when it comes before
    // English, English for the rest and whenever our translation cannot be read.
    void messagesFollowTheUsersLanguage_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QString>("translations"); // "build", "missing" or "broken"
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("expected");
        const QString turkishMissing = QStringLiteral("'%1' dosyası bulunamadı.");
        const QString englishMissing = QStringLiteral("Could not find file '%1'.");
        QTest::newRow("Turkish: missing file") << QStringList {"tr-TR", "tr"} << "build"
                                               << "" << turkishMissing;
        QTest::newRow("Turkish: damaged file")
            << QStringList {"tr-TR"} << "build"
            << "damaged/phantom-row_fixture-datapage-numrows-13.mdb"
            << "'%1' veritabanı bozuk ya da eksik ('ORANLAR' tablosu).";
        QTest::newRow("Turkish: wrong password") << QStringList {"tr"} << "build"
                                                 << "otherpass.mdb"
                                                 << "Parola geçerli değil.";
        QTest::newRow("Turkish: missing field") << QStringList {"tr-TR"} << "build"
                                                << "missingcol.mdb"
                                                << "meslekkoduQuery: 'teblig' alanı bulunamadı";
        QTest::newRow("a language we lack, then Turkish")
            << QStringList {"de-DE", "tr-TR"} << "build"
            << "" << turkishMissing;
        QTest::newRow("English before Turkish") << QStringList {"en-US", "tr-TR"} << "build"
                                                << "" << englishMissing;
        QTest::newRow("only a language we lack") << QStringList {"de-DE", "de"} << "build"
                                                 << "" << englishMissing;
        QTest::newRow("the C locale") << QStringList {"C"} << "build"
                                      << "" << englishMissing;
        QTest::newRow("no language at all") << QStringList() << "build"
                                            << "" << englishMissing;
        QTest::newRow("Turkish without the translation") << QStringList {"tr-TR"} << "missing"
                                                         << "" << englishMissing;
        QTest::newRow("Turkish with a broken translation") << QStringList {"tr-TR"} << "broken"
                                                           << "" << englishMissing;
    }

    void messagesFollowTheUsersLanguage()
    {
        QFETCH(QStringList, languages);
        QFETCH(QString, translations);
        QFETCH(QString, fixture);
        QFETCH(QString, expected);
        QTemporaryDir other;
        QString folder = QStringLiteral(VELKARO_TRANSLATIONS_BUILD_DIR);
        if (translations != u"build")
            folder = other.filePath(QStringLiteral("translations"));
        if (translations == u"broken") {
            QDir().mkpath(folder);
            QFile broken(QDir(folder).filePath(QStringLiteral("velkaro-arama_tr.qm")));
            QVERIFY(broken.open(QIODevice::WriteOnly));
            broken.write(QByteArray(64, '\x3c'));
        }
        const bool turkish = !expected.startsWith(u"Could not");
        QCOMPARE(
            translations::install(folder, languages), turkish ? QStringLiteral("tr") : QString());

        RunDirectory run(fixture);
        if (fixture.startsWith(u"damaged/"))
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Refused ")));
        QCOMPARE(openingError(), expected.arg(QDir::toNativeSeparators(run.databasePath())));
        translations::install(QString(), {});
    }

    void missingFileNamesItsFullPath()
    {
        RunDirectory run;
        const QString error = openingError();
        QVERIFY2(error.startsWith(QStringLiteral("Could not find file")), qPrintable(error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(run.databasePath())), qPrintable(error));
    }

    void dataSourceResolvesAgainstTheCurrentDirectoryWhenOpening()
    {
        RunDirectory first(QStringLiteral("fixture.mdb"));
        JetConnection connection;
        {
            RunDirectory second(QStringLiteral("empty.mdb"));
            connection.open();
            QCOMPARE(connection.databasePath(), second.databasePath());
        }
        connection.open();
        QCOMPARE(connection.databasePath(), first.databasePath());
    }

    void otherProviderIsRefused()
    {
        RunDirectory run(QStringLiteral("fixture.mdb"));
        QString connectionString = connectionsettings::render();
        connectionString.replace(
            QStringLiteral("Microsoft.Jet.OLEDB.4.0"), QStringLiteral("SQLOLEDB.1"));
        QCOMPARE(openingError(connectionString),
            QStringLiteral("Provider cannot be found. It may not be properly installed."));
    }

    void missingTableIsReported()
    {
        RunDirectory run(QStringLiteral("fixture.mdb"));
        JetConnection connection;
        connection.open();
        try {
            connection.openTable(QStringLiteral("ORANLAR_YOK"));
            QFAIL("no error for a missing table");
        } catch (const AppError &error) {
            QVERIFY2(error.message().contains(QStringLiteral("'ORANLAR_YOK'")),
                qPrintable(error.message()));
        }
    }

    void readingLeavesTheFileUntouched()
    {
        RunDirectory run(QStringLiteral("fixture.mdb"));
        const auto digest = [&] {
            QFile file(run.databasePath());
            file.open(QIODevice::ReadOnly);
            return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
        };
        const QByteArray before = digest();
        const QDateTime modifiedBefore = QFileInfo(run.databasePath()).lastModified();
        {
            JetConnection connection;
            RatesQuery query(&connection);
            query.open();
            QCOMPARE(query.recordCount(), 12);
            const QStringList whileOpen
                = QDir(run.path() + QStringLiteral("/AnaData")).entryList(QDir::Files);
            QCOMPARE(whileOpen, QStringList {QStringLiteral("Velkaro.mdb")});
            query.close();
            connection.close();
        }
        QCOMPARE(digest(), before);
        QCOMPARE(QFileInfo(run.databasePath()).lastModified(), modifiedBefore);
        QCOMPARE(QDir(run.path() + QStringLiteral("/AnaData")).entryList(QDir::Files),
            QStringList {QStringLiteral("Velkaro.mdb")});
    }

    void readOnlyFileOpens()
    {
        RunDirectory run(QStringLiteral("fixture.mdb"));
        QFile::setPermissions(
            run.databasePath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QCOMPARE(openingError(), QString());
    }

    void damagedFilesGiveAnErrorNotACrash_data()
    {
        QTest::addColumn<qint64>("keptBytes");
        for (const qint64 size :
            {0, 100, 4095, 4096, 8192, 12288, 40960, 65536, 100000, 106496, 118784, 122879})
            QTest::addRow("truncated to %lld bytes", size) << size;
    }

    void damagedFilesGiveAnErrorNotACrash()
    {
        QFETCH(qint64, keptBytes);
        RunDirectory run(QStringLiteral("fixture.mdb"));
        QFile file(run.databasePath());
        QVERIFY(file.resize(keptBytes));
        const QString error = openingError();
        QVERIFY2(!error.isEmpty(), "a truncated database opened without an error");
        QVERIFY2(!error.startsWith(QStringLiteral("query left open")), qPrintable(error));
    }

    void pagesOfRandomBytesNeverCrash()
    {
        // Every page of the fixture in turn replaced by noise: whatever the reader makes of
        // it, the answer is rows or an error, and the query is closed after an error.
        const QByteArray original = [] {
            QFile file(RunDirectory::fixturePath(QStringLiteral("fixture.mdb")));
            file.open(QIODevice::ReadOnly);
            return file.readAll();
        }();
        QRandomGenerator random(20261208);
        int errors = 0;
        for (qsizetype page = 0; page < original.size() / 4096; ++page) {
            RunDirectory run;
            QByteArray damaged = original;
            for (qsizetype i = 0; i < 4096; ++i)
                damaged[page * 4096 + i] = char(random.bounded(256));
            QFile file(run.databasePath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(damaged);
            file.close();
            const QString error = openingError();
            QVERIFY2(!error.startsWith(QStringLiteral("query left open")), qPrintable(error));
            errors += error.isEmpty() ? 0 : 1;
        }
        QVERIFY(errors > 0);
    }
};

QTEST_GUILESS_MAIN(TestJetConnection)
#include "tst_jetconnection.moc"
