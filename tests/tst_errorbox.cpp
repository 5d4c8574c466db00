// SPDX-License-Identifier: GPL-3.0-or-later

#include "jet/apperror.h"
#include "ui/common/apptitle.h"
#include "ui/common/errorreporting.h"
#include "ui/common/messagebox.h"

#include <QApplication>
#include <QTest>

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

private:
    std::vector<messagebox::Request> m_boxes;
    messagebox::Presenter m_previous;
};

QTEST_MAIN(TestErrorBox)
#include "tst_errorbox.moc"
