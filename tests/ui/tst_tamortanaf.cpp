// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"
#include "jet/apperror.h"
#include "ui/common/apptitle.h"
#include "ui/common/errorreporting.h"
#include "windowsupport.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>

class TestTamortanaF : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QRect>("geometry"); // null: laid out by alignment
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fontFamily");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("bold");
        const QString sans = QStringLiteral("MS Sans Serif");
        const QString tahoma = QStringLiteral("Tahoma");
        QTest::newRow("title label")
            << "Label1"
            << "QLabel" << QRect(8, 4, 224, 20) << "ARANACAK SABİT KIYMET" << sans << 16 << true;
        QTest::newRow("term 1") << "Edit1"
                                << "QLineEdit" << QRect(4, 29, 197, 28) << "" << sans << 16
                                << false;
        QTest::newRow("ARA") << "JvXPButton1"
                             << "XpButton" << QRect(206, 28, 106, 28) << "ARA" << tahoma << 16
                             << true;
        QTest::newRow("automatic search")
            << "CheckBox1"
            << "QCheckBox" << QRect(264, 10, 129, 17) << "Otomatik Ara" << sans << 13 << true;
        QTest::newRow("new search, caption ends in a space")
            << "JvXPButton3"
            << "XpButton" << QRect(206, 92, 163, 28) << "YENİ ARAMA " << tahoma << 16 << true;
        QTest::newRow("copy") << "JvXPButton4"
                              << "XpButton" << QRect(206, 60, 106, 28) << "KOPYALA" << tahoma << 16
                              << true;
        QTest::newRow("term 2") << "Edit3"
                                << "QLineEdit" << QRect(4, 85, 197, 28) << "" << sans << 16
                                << false;
        QTest::newRow("AND") << "RadioButton1"
                             << "QRadioButton" << QRect(16, 64, 57, 17) << "VE" << sans << 13
                             << true;
        QTest::newRow("OR") << "RadioButton2"
                            << "QRadioButton" << QRect(96, 64, 81, 17) << "VEYA" << sans << 13
                            << true;
        QTest::newRow("help button")
            << "tfXPButton1"
            << "PictureButton" << QRect(319, 32, 50, 50) << "" << sans << 11 << false;
        QTest::newRow("banner caption")
            << "Label2"
            << "QLabel" << QRect() << "DETAYLI BİLGİ İÇİN YAZIYA TIKLAYIN" << sans << 21 << true;
        QTest::newRow("grid") << "meslekkoduGrid"
                              << "QTableView" << QRect() << "" << sans << 13 << false;
        QTest::newRow("result area") << "JvXPContainer2"
                                     << "XpContainer" << QRect() << "" << sans << 11 << false;
        QTest::newRow("web panel") << "JvXPContainer5"
                                   << "XpContainer" << QRect() << "" << sans << 11 << false;
        QTest::newRow("top strip") << "JvXPContainer1"
                                   << "XpContainer" << QRect() << "" << sans << 11 << false;
        QTest::newRow("search area") << "JvXPContainer3"
                                     << "XpContainer" << QRect() << "" << sans << 11 << false;
        QTest::newRow("banner area") << "JvXPContainer4"
                                     << "XpContainer" << QRect() << "" << sans << 11 << false;
        QTest::newRow("banner") << "Image1"
                                << "QLabel" << QRect() << "" << sans << 11 << false;
        QTest::newRow("status bar") << "StatusBar1"
                                    << "QStatusBar" << QRect() << "" << sans << 11 << false;
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(QString, fontFamily);
        QFETCH(int, pixelSize);
        QFETCH(bool, bold);
        StartedProgram program;
        QWidget *control = program.control(qPrintable(name));
        QVERIFY2(control, "no control of that name");
        QCOMPARE(QString::fromLatin1(control->metaObject()->className()), className);
        if (!geometry.isNull())
            QCOMPARE(control->geometry(), geometry);
        if (auto *label = qobject_cast<QLabel *>(control))
            QCOMPARE(label->text(), text);
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            QCOMPARE(button->text(), text);
        else if (auto *edit = qobject_cast<QLineEdit *>(control))
            QCOMPARE(edit->text(), text);
        QCOMPARE(control->font().family(), fontFamily);
        QCOMPARE(control->font().pixelSize(), pixelSize);
        QCOMPARE(control->font().bold(), bold);
    }

    void windowAndInitialState()
    {
        StartedProgram program;
        TamortanaF &window = program.window();
        QCOMPARE(window.objectName(), QStringLiteral("amortanaF"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Zelvor VUK Velkaro Hızlı Arama Programı"));
        QCOMPARE(window.pos(), QPoint(418, 18));
        QCOMPARE(window.size(), QSize(992, 466));
        QVERIFY(program.control<QCheckBox>("CheckBox1")->isChecked());
        QVERIFY(program.control<QRadioButton>("RadioButton1")->isChecked());
        QVERIFY(!program.control<QRadioButton>("RadioButton2")->isChecked());
        for (const char *name :
            {"JvXPButton1", "JvXPButton3", "JvXPButton4", "tfXPButton1", "Image1"})
            QCOMPARE(program.control(name)->cursor().shape(), Qt::PointingHandCursor);
        program.control<QRadioButton>("RadioButton2")->setChecked(true);
        QVERIFY(!program.control<QRadioButton>("RadioButton1")->isChecked());

        const QList<int> panelWidths = [&] {
            QList<int> widths;
            for (int i = 1; i <= 4; ++i)
                widths
                    << program.control(qPrintable(QStringLiteral("StatusPanel%1").arg(i)))->width();
            return widths;
        }();
        QCOMPARE(panelWidths, (QList<int> {20, 200, 430, 50}));
    }

    void tabOrderStartsInTheResultArea()
    {
        StartedProgram program;
        QVERIFY(program.showAndWait());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(program.grid()));
        QStringList order;
        QWidget *widget = program.grid();
        for (int i = 0; i < 9; ++i) {
            order << widget->objectName();
            widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(&program.window())
                || widget->objectName().isEmpty())
                widget = widget->nextInFocusChain();
        }
        QCOMPARE(order,
            (QStringList {"meslekkoduGrid", "Edit1", "JvXPButton1", "CheckBox1", "JvXPButton3",
                "JvXPButton4", "Edit3", "RadioButton1", "RadioButton2"}));
    }

    // Tab moves between the grid's columns; Ctrl+Tab and Ctrl+Shift+Tab leave the grid;
    // Esc in the grid and Ctrl+F anywhere go to the first box with its text selected.
    void keysLeaveTheGrid_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("to");
        const int none = Qt::NoModifier;
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("Tab stays in the grid")
            << "meslekkoduGrid" << int(Qt::Key_Tab) << none << "meslekkoduGrid";
        QTest::newRow("Ctrl+Tab leaves it forwards")
            << "meslekkoduGrid" << int(Qt::Key_Tab) << ctrl << "Edit1";
        QTest::newRow("Ctrl+Shift+Tab leaves it backwards")
            << "meslekkoduGrid" << int(Qt::Key_Backtab) << int(ctrl | Qt::ShiftModifier)
            << "RadioButton2";
        QTest::newRow("Esc in the grid")
            << "meslekkoduGrid" << int(Qt::Key_Escape) << none << "Edit1";
        QTest::newRow("Ctrl+F in the grid")
            << "meslekkoduGrid" << int(Qt::Key_F) << ctrl << "Edit1";
        QTest::newRow("Ctrl+F in the second box") << "Edit3" << int(Qt::Key_F) << ctrl << "Edit1";
        QTest::newRow("Ctrl+F on a button") << "JvXPButton3" << int(Qt::Key_F) << ctrl << "Edit1";
    }

    void keysLeaveTheGrid()
    {
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, to);
        StartedProgram program;
        QVERIFY(program.showAndWait());
        program.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&program.window()));
        program.term1()->setText(u"kazan"_qs);
        program.term1()->deselect();
        QWidget *start = program.control(qPrintable(from));
        start->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), start);
        const QModelIndex before = program.grid()->currentIndex();
        QTest::keyClick(start, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(QApplication::focusWidget()->objectName(), to);
        if (to == "Edit1" && key != Qt::Key_Tab)
            QCOMPARE(program.term1()->selectedText(), u"kazan"_qs);
        if (to == "meslekkoduGrid")
            QCOMPARE(program.grid()->currentIndex().column(), before.column() + 1);
    }

    void gridShowsEveryRateWithItsDisplayTexts()
    {
        StartedProgram program;
        QVERIFY(program.boxes.empty());
        QTableView *grid = program.grid();
        QAbstractItemModel *model = grid->model();
        QCOMPARE(model->objectName(), QStringLiteral("meslekkoduSource"));
        QStringList titles;
        QList<int> widths;
        for (int column = 0; column < model->columnCount(); ++column) {
            titles << model->headerData(column, Qt::Horizontal).toString();
            widths << grid->columnWidth(column);
        }
        QCOMPARE(titles, (QStringList {"Sıra No", "Açıklama", "Ömrü", "Oran", "Tebliğ"}));
        QCOMPARE(widths, (QList<int> {62, 470, 42, 56, 42}));
        QCOMPARE(program.allRows().size(), 12);

        const auto cell
            = [&](int row, int column) { return model->index(row, column).data().toString(); };
        QCOMPARE(cell(2, RatesTableModel::Aciklama), QStringLiteral("ısıtma kazanı"));
        QCOMPARE(cell(2, RatesTableModel::OmurYil), QStringLiteral("6,5"));
        QCOMPARE(cell(2, RatesTableModel::Oran2), QStringLiteral("2,50 %"));
        QCOMPARE(cell(3, RatesTableModel::Teblig), QString());
        QCOMPARE(cell(5, RatesTableModel::Oran2), QString());
        QCOMPARE(cell(8, RatesTableModel::Aciklama).size(), 255);
        QCOMPARE(model->index(2, RatesTableModel::Oran2).data(Qt::TextAlignmentRole).toInt(),
            int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(model->index(2, RatesTableModel::Aciklama).data(Qt::TextAlignmentRole).toInt(),
            int(Qt::AlignLeft | Qt::AlignVCenter));
        QCOMPARE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable, Qt::NoItemFlags);
        QVERIFY(grid->horizontalHeader()->sectionsMovable());
    }

    void indicatorMarksTheCurrentRecord()
    {
        StartedProgram program;
        QTableView *grid = program.grid();
        QAbstractItemModel *model = grid->model();
        const auto marked = [&](int row) {
            return model->headerData(row, Qt::Vertical, RatesTableModel::CurrentRecordRole)
                .toBool();
        };
        QCOMPARE(grid->currentIndex().row(), 0);
        QVERIFY(marked(0));
        grid->setCurrentIndex(model->index(3, 1));
        QVERIFY(!marked(0));
        QVERIFY(marked(3));
        QCOMPARE(program.window().query()->currentRecord().tum_kodu(), QByteArray("1.1.2"));
    }

    void databaseThatCannotBeOpenedShowsTwoBoxes_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("message");
        // The engine's own full stop goes before the box decides on one: none after
        // the quote that closes the file name.
        QTest::newRow("missing file") << ""
                                      << "Could not find file '%1'";
        QTest::newRow("wrong password") << "otherpass.mdb"
                                        << "Not a valid password.";
    }

    void databaseThatCannotBeOpenedShowsTwoBoxes()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, message);
        StartedProgram program(fixture);
        if (message.contains(u"%1"))
            message = message.arg(QDir::toNativeSeparators(program.run().databasePath()));
        QCOMPARE(program.boxes.size(), size_t(2));
        for (const messagebox::Request &box : program.boxes) {
            QCOMPARE(box.kind, messagebox::Kind::Error);
            QCOMPARE(box.caption, applicationTitle());
            QCOMPARE(box.text, message);
        }
        QCOMPARE(program.window().dataSource()->rowCount(), 0);
        QVERIFY(program.showAndWait());
        QTRY_VERIFY(program.window().webPanel()->view());
        QTest::qWait(50);
        QCOMPARE(program.navigations->count(), 0);

        // The window works: ARA tries again, and succeeds once the database is there.
        QVERIFY(program.run().install(QStringLiteral("fixture.mdb")));
        program.button("JvXPButton1")->click();
        QCOMPARE(program.boxes.size(), size_t(2));
        QCOMPARE(program.allRows().size(), 12);
        program.window().close();
        QVERIFY(!program.window().query());
    }

    void goodStartNavigatesTheWebViewOnceAfterTheFirstPaint()
    {
        StartedProgram program;
        QVERIFY(!program.window().findChild<QWidget *>(QStringLiteral("WebBrowser2")));
        QVERIFY(program.showAndWait());
        QTRY_COMPARE(program.navigations->count(), 1);
        QCOMPARE(program.navigations->at(0).at(0).toUrl(),
            QUrl(QStringLiteral("https://www.zelvor.com.tr/Velkaro_Programi.htm")));
        QVERIFY(program.window().findChild<QWidget *>(QStringLiteral("WebBrowser2")));
        QTest::qWait(50);
        QCOMPARE(program.navigations->count(), 1);
    }

    void linksOpenOutsideEveryTime()
    {
        StartedProgram program;
        QVERIFY(program.showAndWait());
        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(program.control("Image1"), Qt::LeftButton);
            QTest::mouseClick(program.control("Label2"), Qt::LeftButton, {}, QPoint(5, 5));
        }
        program.window().close();
        const QString host = QStringLiteral("https://www.zelvor.com.tr");
        QCOMPARE(program.openedUrls,
            (QList<QUrl> {host + "/download/Zelvor_Tarsem.exe", host + "/personel.htm",
                host + "/download/Zelvor_Tarsem.exe", host + "/personel.htm",
                host + "/zelvor_yazilim.htm"}));
        // The publisher's page opens before the query is freed.
        QCOMPARE(program.queryExistedWhenOpened.last(), true);
        QVERIFY(!program.window().query());
        QCOMPARE(program.window().dataSource()->rowCount(), 0);
    }

    void closingAfterAFailedStartStillOpensThePublishersPage()
    {
        StartedProgram program(QString {});
        program.window().close();
        QCOMPARE(program.openedUrls.size(), 1);
        QVERIFY(!program.window().query());
        // Nothing may use the freed query afterwards: the commands do nothing, quietly.
        const auto boxesBefore = program.boxes.size();
        program.button("JvXPButton1")->click();
        program.button("JvXPButton3")->click();
        QTest::keyClick(program.term1(), Qt::Key_A);
        QCOMPARE(program.boxes.size(), boxesBefore);
        QCOMPARE(program.window().dataSource()->rowCount(), 0);
        QVERIFY(!program.window().query());
    }

    void narrowWindowShrinksTheWebPanelOnly_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("designed width") << 992;
        QTest::newRow("the grid and the banner just fit") << 722;
        QTest::newRow("the grid just fits") << 721;
        QTest::newRow("narrower than the grid") << 600;
        QTest::newRow("narrower than the search area") << 300;
    }

    void narrowWindowShrinksTheWebPanelOnly()
    {
        // The parts keep their sizes and places and are cut off at the window's edge;
        // only the web panel and the banner caption beside the picture give way.
        QFETCH(int, width);
        StartedProgram program;
        QVERIFY(program.showAndWait());
        QWidget *searchArea = program.control("JvXPContainer3");
        const QImage designed = searchArea->grab().toImage();
        program.window().resize(width, 466);
        QTRY_COMPARE(program.window().width(), width);
        QTest::qWait(0);

        QWidget *webPanel = program.control("JvXPContainer5");
        QCOMPARE(webPanel->width(), std::max(width - 721, 0));
        // The grid narrows with the window instead and scrolls sideways, so that the
        // life, rate and communiqué columns can still be reached.
        QTableView *grid = program.grid();
        QCOMPARE(grid->geometry(), QRect(0, 0, std::min(width, 721), grid->height()));
        QCOMPARE(grid->horizontalScrollBar()->maximum() > 0, width < 721);
        const QModelIndex lastColumn = grid->model()->index(0, RatesTableModel::ColumnCount - 1);
        grid->scrollTo(lastColumn);
        QVERIFY(grid->viewport()->rect().contains(grid->visualRect(lastColumn)));
        QCOMPARE(program.control("JvXPContainer1")->height(), 121);
        QCOMPARE(searchArea->geometry(), QRect(0, 0, 385, 121));
        QCOMPARE(program.control("Image1")->width(), 337);
        QCOMPARE(program.control("Image1")->mapTo(&program.window(), QPoint(0, 0)), QPoint(385, 0));
        QCOMPARE(program.control("Label2")->width(), std::max(width - 385 - 337, 0));
        QCOMPARE(searchArea->grab().toImage(), designed);
    }

    void handlerErrorsReachTheErrorBox_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a letter gets a full stop") << "Hata"
                                                   << "Hata.";
        QTest::newRow("an exclamation mark stays") << "Bitti!"
                                                   << "Bitti!";
        QTest::newRow("a full stop stays") << "Tamam."
                                           << "Tamam.";
        QTest::newRow("a colon gets one") << "Dosya:"
                                          << "Dosya:.";
        QTest::newRow("a closing bracket stays") << "(x)"
                                                 << "(x)";
        QTest::newRow("a Turkish letter gets one") << "Şişli"
                                                   << "Şişli.";
        QTest::newRow("a trailing space stays") << "boşluk "
                                                << "boşluk ";
        QTest::newRow("empty stays empty") << ""
                                           << "";
    }

    void handlerErrorsReachTheErrorBox()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        std::vector<messagebox::Request> boxes;
        const auto previous = messagebox::setPresenter(
            [&](const messagebox::Request &box) { boxes.push_back(box); });

        // An event handler that throws, catching at its edge as the program's handlers do.
        class Throwing : public QWidget
        {
        public:
            QString message;
            int presses = 0;

        protected:
            void mousePressEvent(QMouseEvent *) override
            try {
                ++presses;
                throw AppError(message);
            } catch (...) {
                errorreporting::showCurrentError();
            }
        } widget;
        widget.message = message;
        widget.resize(50, 50);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTest::mouseClick(&widget, Qt::LeftButton);
        QTest::mouseClick(&widget, Qt::LeftButton);

        messagebox::setPresenter(previous);
        QCOMPARE(widget.presses, 2); // the program carried on after the first
        QCOMPARE(boxes.size(), size_t(2));
        QCOMPARE(boxes[0].text, shown);
        QCOMPARE(boxes[0].caption, applicationTitle());
        QCOMPARE(boxes[0].kind, messagebox::Kind::Error);
    }
};

int main(int argc, char *argv[])
{
    Application application(argc, argv);
    TestTamortanaF test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tamortanaf.moc"
