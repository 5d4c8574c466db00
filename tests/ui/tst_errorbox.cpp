// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafolder/translations.h"
#include "jet/apperror.h"
#include "jet/jetconnection.h"
#include "testsupport.h"
#include "ui/common/apptitle.h"
#include "ui/common/errorreporting.h"
#include "ui/common/messagebox.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// What the error box shows for an error raised in a handler: the database engine's
// description without its own closing stops, then the box's rule for the final ".".
class TestErrorBox : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_boxes.clear();
        m_previous = messagebox::setPresenter(
            [this](const messagebox::Request &request) { m_boxes.push_back(request); });
    }
    void cleanup() { messagebox::setPresenter(m_previous); }

    void shownText_data()
    {
        QTest::addColumn<bool>("fromDatabase");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");

        QTest::newRow("database: stop after a quote is dropped, none added")
            << true << "Could not find file '/x/AnaData/Velkaro.mdb'."
            << "Could not find file '/x/AnaData/Velkaro.mdb'";
        QTest::newRow("database: stop after a letter comes back") << true << "Not a valid password."
                                                                  << "Not a valid password.";
        QTest::newRow("database: stops, spaces and line breaks all go")
            << true << "Disk or network error. .\r\n \t"
            << "Disk or network error.";
        QTest::newRow("database: a stop inside the text stays")
            << true << "Cannot open 'a.mdb'. Busy"
            << "Cannot open 'a.mdb'. Busy.";
        QTest::newRow("database: nothing but stops leaves nothing") << true << ". ."
                                                                    << "";
        QTest::newRow("other: a stop after a quote stays")
            << false << "Cannot open file \"yardim\"."
            << "Cannot open file \"yardim\".";
        QTest::newRow("other: a letter gets a stop") << false << "Failed to Load Stream"
                                                     << "Failed to Load Stream.";
        QTest::newRow("other: a colon gets a stop") << false << "Hata:"
                                                    << "Hata:.";
        QTest::newRow("other: a Turkish letter gets a stop") << false << "Dosya açılamadı"
                                                             << "Dosya açılamadı.";
        QTest::newRow("other: a closing bracket ends it") << false << "(bozuk)"
                                                          << "(bozuk)";
        QTest::newRow("other: an exclamation mark ends it") << false << "Dur!"
                                                            << "Dur!";
        QTest::newRow("other: a comma ends it") << false << "bir,"
                                                << "bir,";
        QTest::newRow("other: a space ends it") << false << "bir "
                                                << "bir ";
        QTest::newRow("other: empty stays empty") << false << ""
                                                  << "";
    }

    void shownText()
    {
        QFETCH(bool, fromDatabase);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        errorreporting::reportErrors([&] {
            if (fromDatabase)
                throw DatabaseError(message);
            throw AppError(message);
        });
        QCOMPARE(m_boxes.size(), size_t(1));
        QCOMPARE(m_boxes.front().kind, messagebox::Kind::Error);
        QCOMPARE(m_boxes.front().caption, applicationTitle());
        QCOMPARE(m_boxes.front().text, shown);
    }

    // The real box around a data layer's message, and Qt's own texts beside it: the
    // message and Qt's texts follow the language, the caption and OK never do.
    void realBoxInTheUsersLanguage_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("editMenu");
        QTest::newRow("Turkish") << QStringList {"tr-TR"} << "'%1' dosyası bulunamadı."
                                 << QStringList {
                                        "&Geri al", "&Yinele", "Ke&s", "&Kopyala", "Ya&pıştır"};
        QTest::newRow("English") << QStringList {"en-US"} << "Could not find file '%1'."
                                 << QStringList {"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste"};
    }

    void realBoxInTheUsersLanguage()
    {
        QFETCH(QStringList, languages);
        QFETCH(QString, message);
        QFETCH(QStringList, editMenu);
        translations::install(QStringLiteral(VELKARO_TRANSLATIONS_BUILD_DIR), languages);
        messagebox::setPresenter({});
        RunDirectory run;

        QString caption, text;
        QStringList buttons;
        QTimer reader;
        QObject::connect(&reader, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            caption = box->windowTitle();
            text = box->text();
            for (const QAbstractButton *button : box->buttons())
                buttons.append(button->text());
            box->accept();
        });
        reader.start(10);
        errorreporting::reportErrors([] { JetConnection().open(); });
        reader.stop();
        translations::install(QString(), {});

        QCOMPARE(caption, applicationTitle());
        QCOMPARE(text, message.arg(QDir::toNativeSeparators(run.databasePath())));
        QCOMPARE(buttons, QStringList {"OK"});

        translations::install(QStringLiteral(VELKARO_TRANSLATIONS_BUILD_DIR), languages);
        QLineEdit edit;
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        translations::install(QString(), {});
        QStringList shown;
        for (const QAction *action : menu->actions())
            if (!action->isSeparator())
                shown.append(action->text().section(u'\t', 0, 0));
        QCOMPARE(shown.first(editMenu.size()), editMenu);
    }

private:
    std::vector<messagebox::Request> m_boxes;
    messagebox::Presenter m_previous;
};

QTEST_MAIN(TestErrorBox)
#include "tst_errorbox.moc"
