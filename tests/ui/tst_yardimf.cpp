// SPDX-License-Identifier: GPL-3.0-or-later

#include "jet/apperror.h"
#include "ui/common/messagebox.h"
#include "ui/yardim/helpfileloader.h"
#include "ui/yardim/tyardimf.h"
#include "ui/yardim/weblinks.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#elif defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

namespace {

QStringList blocksOf(const QTextDocument &document)
{
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks << block.text();
    return blocks;
}

[[nodiscard]] bool writeHelpFile(const QByteArray &content)
{
    QFile file(QStringLiteral("yardim"));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(content) == content.size();
}

QByteArray numberedLines(const QByteArray &first, int count)
{
    QByteArray text = first + "\r\n";
    for (int i = 1; i < count; ++i)
        text += "Sat\xfdr " + QByteArray::number(i) + "\r\n";
    return text;
}

// Runs what the button does; returns the message of the error it raises, if any.
QString pressHelp(TyardimF &window)
{
    try {
        window.showAndReload();
    } catch (const AppError &error) {
        return error.message();
    }
    return {};
}

} // namespace

class TestYardimF : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void noHelpFileShowsEmptyWindowWithoutBox_data();
    void noHelpFileShowsEmptyWindowWithoutBox();
    void noHelpFileLaterKeepsTheShownText_data();
    void noHelpFileLaterKeepsTheShownText();
    void plainTextLineBreaks_data();
    void plainTextLineBreaks();
    void lineBreaksSplitAcrossChunks_data();
    void lineBreaksSplitAcrossChunks();
    void richTextAndFallback_data();
    void richTextAndFallback();
    void pressingAgainShowsChangedFileAtTop();
    void unopenableFileRaisesAndKeepsView_data();
    void unopenableFileRaisesAndKeepsView();
    void unreadableFileRaisesLoadError();
    void shippedHelpFileIsRichText();
    void webAddressesBecomeLinks_data();
    void webAddressesBecomeLinks();
    void clickingALinkDoesNothing();
    void windowLayout();
    void centredFirstThenStaysWhereLeft();
    void tabAndSelectionStayInView();
    void startUpLeavesTheTextUnparsed_data();
    void startUpLeavesTheTextUnparsed();
    void fileSizeBound_data();
    void fileSizeBound();
    void hostileShapesCostABoundedPart_data();
    void hostileShapesCostABoundedPart();
    void scrollingToTheEndShowsTheRest_data();
    void scrollingToTheEndShowsTheRest();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCurrent;
    QList<messagebox::Request> m_boxes;
    messagebox::Presenter m_oldPresenter;
};

void TestYardimF::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_boxes.clear();
    m_oldPresenter
        = messagebox::setPresenter([this](const messagebox::Request &r) { m_boxes << r; });
}

void TestYardimF::cleanup()
{
    messagebox::setPresenter(m_oldPresenter);
    QDir::setCurrent(m_oldCurrent);
    m_dir.reset();
}

// Leaves something named yardim in the current directory that is not a help file.
[[nodiscard]] bool makeNonFile(const QString &kind)
{
    if (kind.isEmpty())
        return true;
    if (kind == "folder")
        return QDir().mkdir("yardim");
#ifdef Q_OS_LINUX
    if (kind == "pipe")
        return ::mkfifo("yardim", 0600) == 0;
#endif
    return false;
}

void TestYardimF::noHelpFileShowsEmptyWindowWithoutBox_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("nothing named yardim") << "";
    QTest::newRow("a folder named yardim") << "folder";
#ifdef Q_OS_LINUX
    QTest::newRow("a pipe named yardim") << "pipe";
#endif
}

void TestYardimF::noHelpFileShowsEmptyWindowWithoutBox()
{
    QFETCH(QString, kind);
    QVERIFY(makeNonFile(kind));
    TyardimF window;
    window.FormCreate();
    QCOMPARE(pressHelp(window), QString());
    QVERIFY(window.isVisible());
    QVERIFY(window.findChild<QTextBrowser *>("RichEdit1")->document()->isEmpty());
    QVERIFY(m_boxes.isEmpty());
}

void TestYardimF::noHelpFileLaterKeepsTheShownText_data()
{
    noHelpFileShowsEmptyWindowWithoutBox_data();
}

void TestYardimF::noHelpFileLaterKeepsTheShownText()
{
    QFETCH(QString, kind);
    QVERIFY(writeHelpFile("eski metin"));
    TyardimF window;
    window.FormCreate();
    QVERIFY(QFile::remove("yardim"));
    QVERIFY(makeNonFile(kind));
    QCOMPARE(pressHelp(window), QString());
    QCOMPARE(window.findChild<QTextBrowser *>("RichEdit1")->toPlainText(), u"eski metin"_qs);
}

void TestYardimF::plainTextLineBreaks_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("LF only") << QByteArray("bir\niki\n\xfc\xe7")
                             << QStringList {"bir", "iki", u"üç"_qs};
    QTest::newRow("CR only") << QByteArray("bir\riki") << QStringList {"bir", "iki"};
    QTest::newRow("CR LF") << QByteArray("bir\r\niki\r\n") << QStringList {"bir", "iki", ""};
    QTest::newRow("LF CR") << QByteArray("bir\n\riki") << QStringList {"bir", "iki"};
    QTest::newRow("two CR LF make an empty line")
        << QByteArray("bir\r\n\r\niki") << QStringList {"bir", "", "iki"};
    QTest::newRow("CR and LF apart are two breaks")
        << QByteArray("bir\riki\n\xfc\xe7") << QStringList {"bir", "iki", u"üç"_qs};
    QTest::newRow("CR LF then a lone CR")
        << QByteArray("bir\r\n\riki") << QStringList {"bir", "", "iki"};
    QTest::newRow("Windows-1254 letters")
        << QByteArray("\xdd\xfe\xe7i \xfd\xf0\xfd\xd0\xde") << QStringList {u"İşçi ığıĞŞ"_qs};
}

void TestYardimF::plainTextLineBreaks()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, lines);

    QVERIFY(writeHelpFile(content));
    TyardimF window;
    QCOMPARE(pressHelp(window), QString());
    QCOMPARE(blocksOf(*window.findChild<QTextBrowser *>("RichEdit1")->document()), lines);
}

void TestYardimF::lineBreaksSplitAcrossChunks_data()
{
    QTest::addColumn<int>("chunkSize");
    for (const int size : {1, 2, 3, 4, 5, 7})
        QTest::addRow("chunks of %d bytes", size) << size;
}

void TestYardimF::lineBreaksSplitAcrossChunks()
{
    QFETCH(int, chunkSize);

    QVERIFY(writeHelpFile("bir\r\niki\n\r\xfc\xe7\r\r\nd\xf6rt\n\n\r\r"));
    QTextDocument document;
    QVERIFY(HelpFileLoader(QStringLiteral("yardim"), chunkSize).loadInto(document));
    QCOMPARE(
        blocksOf(document), (QStringList {"bir", "iki", u"üç"_qs, "", u"dört"_qs, "", "", ""}));
}

void TestYardimF::richTextAndFallback_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("firstLineBold");

    QTest::newRow("RTF is shown formatted")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1254{\\fonttbl{\\f0 Arial;}}\r\n"
                      "\\pard\\qc\\b Yard\\'fdm\\b0\\par\r\n\\pard Metin\\par\r\n}")
        << QStringList {u"Yardım"_qs, "Metin", ""} << true;
    QTest::newRow("plain text after RTF has no leftover formatting")
        << QByteArray("Yard\xfdm\nMetin") << QStringList {u"Yardım"_qs, "Metin"} << false;
    QTest::newRow("RTF nested too deep is shown as it is")
        << QByteArray("{\\rtf1 " + QByteArray(300, '{'))
        << QStringList {"{\\rtf1 " + QString(300, u'{')} << false;
}

void TestYardimF::richTextAndFallback()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, lines);
    QFETCH(bool, firstLineBold);

    TyardimF window;
    auto *view = window.findChild<QTextBrowser *>("RichEdit1");
    // Start from formatted text, so that leftovers of it would show.
    QVERIFY(writeHelpFile("{\\rtf1\\qc\\b\\i Eski\\par}"));
    QCOMPARE(pressHelp(window), QString());

    QVERIFY(writeHelpFile(content));
    QCOMPARE(pressHelp(window), QString());
    QCOMPARE(blocksOf(*view->document()), lines);
    const QTextBlock first = view->document()->begin();
    QCOMPARE(first.begin().fragment().charFormat().fontWeight() >= QFont::Bold, firstLineBold);
    QCOMPARE(bool(first.blockFormat().alignment() & Qt::AlignHCenter), firstLineBold);
    QVERIFY(!first.begin().fragment().charFormat().fontItalic());
    QVERIFY(m_boxes.isEmpty());
}

void TestYardimF::pressingAgainShowsChangedFileAtTop()
{
    QVERIFY(writeHelpFile(numberedLines("eski metin", 300)));
    TyardimF window;
    window.FormCreate();
    QCOMPARE(pressHelp(window), QString());
    auto *view = window.findChild<QTextBrowser *>("RichEdit1");

    view->moveCursor(QTextCursor::End);
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    QVERIFY(view->verticalScrollBar()->value() > 0);

    QVERIFY(writeHelpFile(numberedLines("yeni metin", 400)));
    QCOMPARE(pressHelp(window), QString());
    QCOMPARE(view->document()->begin().text(), u"yeni metin"_qs);
    QCOMPARE(view->document()->blockCount(), 401);
    QCOMPARE(view->textCursor().position(), 0);
    QCOMPARE(view->verticalScrollBar()->value(), 0);
}

void TestYardimF::unopenableFileRaisesAndKeepsView_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("reason");

#ifdef Q_OS_LINUX
    const QString held = "The process cannot access the file because it is being used by "
                         "another process.";
    QTest::newRow("a writer holds a record lock") << "fcntl" << held;
    QTest::newRow("a writer holds a flock") << "flock" << held;
#elif defined(Q_OS_WIN)
    // In the words of the system the test runs on (Windows' or Wine's).
    QTest::newRow("a writer has it open") << "open" << qt_error_string(ERROR_SHARING_VIOLATION);
#endif
}

void TestYardimF::unopenableFileRaisesAndKeepsView()
{
    QFETCH(QString, obstacle);
    QFETCH(QString, reason);

    QVERIFY(writeHelpFile("eski metin"));
    TyardimF window;
    QCOMPARE(pressHelp(window), QString());
    auto *view = window.findChild<QTextBrowser *>("RichEdit1");

    QFile writer(QStringLiteral("yardim"));
#ifdef Q_OS_LINUX
    QVERIFY(writeHelpFile("yeni metin"));
    QVERIFY(writer.open(QIODevice::ReadWrite));
    if (obstacle == "fcntl") {
        struct flock range = {};
        range.l_type = F_WRLCK;
        range.l_whence = SEEK_SET;
        QCOMPARE(::fcntl(writer.handle(), F_OFD_SETLK, &range), 0);
    } else {
        QCOMPARE(::flock(writer.handle(), LOCK_EX | LOCK_NB), 0);
    }
#elif defined(Q_OS_WIN)
    QVERIFY(writeHelpFile("yeni metin"));
    QVERIFY(writer.open(QIODevice::ReadWrite));
#endif

    const QString expected
        = QStringLiteral("Cannot open file \"%1\". %2")
              .arg(QDir::toNativeSeparators(QDir::current().absoluteFilePath("yardim")), reason);
    QCOMPARE(pressHelp(window), expected);
    QCOMPARE(view->toPlainText(), u"eski metin"_qs);

    // Once the writer lets go, the new text loads.
    if (writer.isOpen()) {
        writer.close();
        QCOMPARE(pressHelp(window), QString());
        QCOMPARE(view->toPlainText(), u"yeni metin"_qs);
    }
}

void TestYardimF::unreadableFileRaisesLoadError()
{
#ifdef Q_OS_LINUX
    // Our own address space as a file: it opens, but reading from offset 0 fails.
    QVERIFY(writeHelpFile("eski metin"));
    TyardimF window;
    QCOMPARE(pressHelp(window), QString());
    QVERIFY(QFile::remove("yardim"));
    QVERIFY(QFile::link("/proc/self/mem", "yardim"));
    QCOMPARE(pressHelp(window), u"Failed to Load Stream"_qs);
    QCOMPARE(window.findChild<QTextBrowser *>("RichEdit1")->toPlainText(), u"eski metin"_qs);
#else
    QSKIP("needs a file that opens but cannot be read");
#endif
}

void TestYardimF::shippedHelpFileIsRichText()
{
    QVERIFY(QDir::setCurrent(QStringLiteral(VELKARO_TEST_DATA_DIR "/../..")));
    QTextDocument document;
    QVERIFY(HelpFileLoader().loadInto(document));
    const QString text = document.toPlainText();
    QVERIFY2(!text.contains(u"\\rtf"), "the shipped help file was not read as RTF");
    for (const QString &expected : {u"YENİ ARAMA"_qs, u"Otomatik Ara"_qs, u"Ctrl+B"_qs,
             u"Ctrl+T"_qs, u"F1"_qs, u"AnaData"_qs, u"ORANLAR"_qs, u"ı"_qs, u"ş"_qs, u"ğ"_qs})
        QVERIFY2(text.contains(expected), qPrintable(expected));
    QVERIFY(document.begin().begin().fragment().charFormat().fontWeight() >= QFont::Bold);
}

void TestYardimF::webAddressesBecomeLinks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("link"); // empty: no link

    QTest::newRow("https address ending a sentence") << "Bilgi: https://ornek.com.tr/yardim. Son"
                                                     << "https://ornek.com.tr/yardim";
    QTest::newRow("www address in brackets") << "(www.ornek.com.tr)"
                                             << "www.ornek.com.tr";
    QTest::newRow("mailto address") << "Yaz: mailto:destek@ornek.com.tr"
                                    << "mailto:destek@ornek.com.tr";
    QTest::newRow("capital letters") << "HTTP://ORNEK.COM"
                                     << "HTTP://ORNEK.COM";
    QTest::newRow("a bare scheme is no address") << "http:// yok"
                                                 << "";
    QTest::newRow("no address") << "Amortisman oranlar\u0131"
                                << "";
}

void TestYardimF::webAddressesBecomeLinks()
{
    QFETCH(QString, text);
    QFETCH(QString, link);

    QTextDocument document;
    document.setPlainText(text);
    linkWebAddresses(document);

    QStringList anchors;
    for (auto it = document.begin().begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.charFormat().isAnchor()) {
            QCOMPARE(fragment.text(), fragment.charFormat().anchorHref());
            anchors << fragment.charFormat().anchorHref();
        }
    }
    QCOMPARE(anchors, link.isEmpty() ? QStringList() : QStringList {link});
}

void TestYardimF::clickingALinkDoesNothing()
{
    QVERIFY(writeHelpFile("Ayr\xfdnt\xfd i\xe7in https://ornek.com.tr adresine bak\xfdn."));
    TyardimF window;
    window.showAndReload();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *view = window.findChild<QTextBrowser *>("RichEdit1");
    const QString before = view->toHtml();

    QTextCursor onLink = view->document()->find(QStringLiteral("ornek"));
    QVERIFY(onLink.charFormat().isAnchor());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect(onLink).center());
    QCOMPARE(view->source(), QUrl());
    QCOMPARE(view->toHtml(), before);
}

void TestYardimF::windowLayout()
{
    TyardimF window;
    QCOMPARE(window.objectName(), u"yardimF"_qs);
    QCOMPARE(window.windowTitle(), u"Zelvor Tarsem Takip Programı - Yardım"_qs);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *view = window.findChild<QTextBrowser *>("RichEdit1");
    QVERIFY(view->isReadOnly());
    QCOMPARE(view->font().family(), u"Arial"_qs);
    QCOMPARE(view->font().pixelSize(), 11);
    const QImage shot = view->viewport()->grab().toImage();
    QCOMPARE(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(192, 192, 192));

    // The panels keep their widths, left to right, and the notice names no real person.
    QList<int> widths;
    QList<int> lefts;
    const auto panels = window.findChild<QStatusBar *>("StatusBar1")->findChildren<QLabel *>();
    for (const QLabel *panel : panels) {
        widths << panel->width();
        lefts << panel->x();
    }
    QCOMPARE(widths, (QList<int> {20, 300, 50}));
    QVERIFY(std::is_sorted(lefts.begin(), lefts.end()));
    QVERIFY(panels[1]->text().contains(u"555"));
}

void TestYardimF::centredFirstThenStaysWhereLeft()
{
    TyardimF window;
    window.showAndReload();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect placed = window.frameGeometry();
    if (placed.width() <= desktop.width())
        QVERIFY(qAbs(placed.center().x() - desktop.center().x()) <= 1);
    else
        QCOMPARE(placed.left(), desktop.left());
    QVERIFY(qAbs(placed.center().y() - desktop.center().y()) <= 1);

    window.move(desktop.topLeft() + QPoint(17, 23));
    const QPoint left = window.pos();
    QVERIFY(window.close());
    QVERIFY(window.isHidden());
    window.showAndReload();
    QCOMPARE(window.pos(), left);
}

void TestYardimF::tabAndSelectionStayInView()
{
    QVERIFY(writeHelpFile("Se\xe7ilecek metin"));
    TyardimF window;
    auto *other = new QLineEdit;
    window.findChild<QStatusBar *>("StatusBar1")->addWidget(other);
    window.showAndReload();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *view = window.findChild<QTextBrowser *>("RichEdit1");
    view->setFocus();
    view->selectAll();

    QTest::keyClick(view, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), view);
    QTest::keyClick(view, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), view);

    other->setFocus();
    QCOMPARE(QApplication::focusWidget(), other);
    QCOMPARE(view->textCursor().selectedText(), u"Seçilecek metin"_qs);
    QCOMPARE(view->palette().color(QPalette::Inactive, QPalette::Highlight),
        view->palette().color(QPalette::Active, QPalette::Highlight));
}

void TestYardimF::startUpLeavesTheTextUnparsed_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason"); // empty: no error

    QTest::newRow("no help file") << "none"
                                  << "";
    QTest::newRow("an ordinary help file") << "ordinary"
                                           << "";
    QTest::newRow("a help file over the bound")
        << "large"
        << "The file is larger than 4 MB, the most a help file may be.";
#ifdef Q_OS_LINUX
    QTest::newRow("a writer holds a lock")
        << "locked"
        << "The process cannot access the file because it is being used by another process.";
#endif
}

void TestYardimF::startUpLeavesTheTextUnparsed()
{
    QFETCH(QString, file);
    QFETCH(QString, reason);

    QFile writer(QStringLiteral("yardim"));
    if (file != "none") {
        QVERIFY(writer.open(QIODevice::ReadWrite));
        writer.write("{\\rtf1 Yard\\'fdm\\par}");
        if (file == "large")
            QVERIFY(writer.resize(HelpFileLoader::kMaxFileSize + 1)); // sparse: costs no disk
        writer.flush();
#ifdef Q_OS_LINUX
        if (file == "locked")
            QCOMPARE(::flock(writer.handle(), LOCK_EX | LOCK_NB), 0);
#endif
        if (file != "locked")
            writer.close();
    }

    TyardimF window;
    QString error;
    try {
        window.FormCreate();
    } catch (const AppError &raised) {
        error = raised.message();
    }
    QCOMPARE(error,
        reason.isEmpty()
            ? QString()
            : QStringLiteral("Cannot open file \"%1\". %2")
                  .arg(QDir::toNativeSeparators(QDir::current().absoluteFilePath("yardim")),
                      reason));
    // The text is made when the window is first shown, not at start-up.
    QCOMPARE(window.helpText().characterCount(), 0);
    QVERIFY(window.findChild<QTextBrowser *>("RichEdit1")->document()->isEmpty());
}

void TestYardimF::fileSizeBound_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("exactly the bound") << HelpFileLoader::kMaxFileSize << true;
    QTest::newRow("one byte over") << HelpFileLoader::kMaxFileSize + 1 << false;
    QTest::newRow("far over") << qint64(50) * 1024 * 1024 << false;
}

void TestYardimF::fileSizeBound()
{
    QFETCH(qint64, size);
    QFETCH(bool, accepted);

    QVERIFY(writeHelpFile("eski metin"));
    TyardimF window;
    QCOMPARE(pressHelp(window), QString());
    auto *view = window.findChild<QTextBrowser *>("RichEdit1");

    const QByteArray line = "Sat\xfdr\n";
    QByteArray content = line.repeated(qsizetype(std::min<qint64>(size, 1 << 20) / line.size()));
    content += QByteArray(qsizetype(std::min<qint64>(size, 1 << 20)) - content.size(), 'x');
    QVERIFY(writeHelpFile(content));
    QFile file(QStringLiteral("yardim"));
    QVERIFY(file.resize(size)); // beyond the first megabyte, a sparse tail of zero bytes

    const QString error = pressHelp(window);
    if (accepted) {
        QCOMPARE(error, QString());
        QCOMPARE(view->document()->begin().text(), u"Satır"_qs);
        QCOMPARE(window.helpText().characterCount() + window.helpText().paragraphCount() - 1,
            HelpFileLoader::kMaxFileSize);
    } else {
        QVERIFY2(error.startsWith(u"Cannot open file \"") && error.endsWith(u"may be."),
            qPrintable(error));
        QCOMPARE(view->toPlainText(), u"eski metin"_qs);
    }
}

void TestYardimF::hostileShapesCostABoundedPart_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qsizetype>("paragraphs");
    QTest::addColumn<qsizetype>("characters");

    QTest::newRow("a million empty paragraphs")
        << "{\\rtf1\\ansi " + QByteArray("\\par").repeated(1000000) + "}" << qsizetype(1000001)
        << qsizetype(0);
    QTest::newRow("one unbroken line of a megabyte")
        << "{\\rtf1\\ansi " + QByteArray(1 << 20, 'x') + "}" << qsizetype(1) << qsizetype(1 << 20);
    QTest::newRow("four megabytes of line feeds")
        << QByteArray(HelpFileLoader::kMaxFileSize, '\n')
        << qsizetype(HelpFileLoader::kMaxFileSize + 1) << qsizetype(0);
    QTest::newRow("four megabytes of words in one paragraph")
        << "{\\rtf1 " + QByteArray("kazan buhar ").repeated(349000) + "}" << qsizetype(1)
        << qsizetype(12 * 349000);
    QTest::newRow("a new format at every letter")
        << "{\\rtf1 " + QByteArray("{\\b a}{\\i b}{\\ul c}").repeated(200000) + "}" << qsizetype(1)
        << qsizetype(600000);
    QTest::newRow("an address in every line")
        << QByteArray("https://ornek.com.tr/a\n").repeated(150000) << qsizetype(150001)
        << qsizetype(22 * 150000);
}

// Counts the work rather than the time: what the view is given when the window opens
// is bounded, whatever the shape of the file; the rest waits in the compact text.
void TestYardimF::hostileShapesCostABoundedPart()
{
    QFETCH(QByteArray, content);
    QFETCH(qsizetype, paragraphs);
    QFETCH(qsizetype, characters);

    QVERIFY(writeHelpFile(content));
    content.clear();
    TyardimF window;
    QTextDocument *document = window.findChild<QTextBrowser *>("RichEdit1")->document();
    qsizetype inserted = 0;
    int changes = 0;
    connect(document, &QTextDocument::contentsChange, this, [&](int, int, int added) {
        inserted += added;
        ++changes;
    });

    QCOMPARE(pressHelp(window), QString());
    QCOMPARE(window.helpText().paragraphCount(), paragraphs);
    QCOMPARE(window.helpText().characterCount(), characters);
    QVERIFY(!window.showsWholeText());

    const HelpText::Limits limits = TyardimF::kShownAtATime;
    QVERIFY2(inserted <= limits.characters + HelpText::kMaxBlockLength + limits.blocks,
        qPrintable(QString::number(inserted)));
    QVERIFY(document->blockCount() <= limits.blocks);
    // Each change is a layout pass: a few (the clearing, the text, the links), not one
    // per paragraph.
    QVERIFY2(changes <= 4, qPrintable(QString::number(changes)));
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        QVERIFY(block.length() <= HelpText::kMaxBlockLength + 1);
}

void TestYardimF::scrollingToTheEndShowsTheRest_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("paragraphs");
    QTest::addColumn<bool>("endsWithAddress");

    QStringList lines;
    QByteArray plain;
    for (int i = 0; i < 2500; ++i) {
        plain += "Sat\xfdr " + QByteArray::number(i) + "\r\n";
        lines << QStringLiteral("Satır %1").arg(i);
    }
    plain += "Son: https://ornek.com.tr/son";
    lines << QStringLiteral("Son: https://ornek.com.tr/son");
    QTest::newRow("short lines, an address at the end") << plain << lines << true;

    const QByteArray words = QByteArray("kazan buhar ").repeated(20000);
    QTest::newRow("one long paragraph") << "{\\rtf1 " + words + "\\par son}"
                                        << QStringList {QString::fromLatin1(words), "son"} << false;
}

void TestYardimF::scrollingToTheEndShowsTheRest()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, paragraphs);
    QFETCH(bool, endsWithAddress);

    QVERIFY(writeHelpFile(content));
    TyardimF window;
    QCOMPARE(pressHelp(window), QString());
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *view = window.findChild<QTextBrowser *>("RichEdit1");
    QVERIFY(!window.showsWholeText());

    QScrollBar *scrollBar = view->verticalScrollBar();
    for (int tries = 0; tries < 1000 && !window.showsWholeText(); ++tries) {
        scrollBar->setValue(scrollBar->maximum());
        QCoreApplication::processEvents();
    }
    QVERIFY(window.showsWholeText());

    // Paragraphs longer than a block arrive as several blocks; nothing is lost or doubled.
    QStringList shown;
    QString paragraph;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        paragraph += block.text();
        if (block.length() - 1 < HelpText::kMaxBlockLength - 256 || !block.next().isValid()) {
            shown << paragraph;
            paragraph.clear();
        }
    }
    QCOMPARE(shown, paragraphs);

    // Addresses in later parts are links as well.
    if (endsWithAddress) {
        QTextCursor address = view->document()->find(QStringLiteral("ornek.com.tr/son"));
        QVERIFY(!address.isNull());
        address.setPosition(address.selectionStart() + 1);
        QVERIFY(address.charFormat().isAnchor());
    }
}

QTEST_MAIN(TestYardimF)
#include "tst_yardimf.moc"
