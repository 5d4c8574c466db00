// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/application.h"
#include "ui/amortana/amortismandialog.h"
#include "ui/amortana/gridtooltip.h"
#include "ui/amortana/ratesgriddelegate.h"
#include "ui/common/apptitle.h"
#include "ui/common/detaildialog.h"
#include "windowsupport.h"

#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>

namespace {

constexpr QRgb kBand = qRgb(223, 235, 255);

// The text the grid's tooltip shows when it next comes up.
QString shownTooltip(const QTableView *grid)
{
    return grid->window()->findChild<GridToolTip *>()->text();
}

const QString kSentinel = QStringLiteral("pano önceden");

// A copied text's line breaks are the platform's own.
#ifdef Q_OS_WIN
const QString kPlatformLines = QStringLiteral("Birinci satır\r\nİkinci satır");
#else
const QString kPlatformLines = QStringLiteral("Birinci satır\nİkinci satır");
#endif

} // namespace

class TestRecordCommands : public QObject
{
    Q_OBJECT

private:
    static void selectRow(StartedProgram &program, int row, int column = 1)
    {
        program.grid()->setCurrentIndex(program.grid()->model()->index(row, column));
    }

    static QColor pixelInRow(StartedProgram &program, int row)
    {
        QTableView *grid = program.grid();
        const QRect cell = grid->visualRect(grid->model()->index(row, RatesTableModel::TumKodu));
        const QImage image = grid->viewport()->grab().toImage();
        // Right of the text, left of the grid line: pure background.
        return image.pixelColor(cell.right() - 3, cell.center().y());
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        QGuiApplication::clipboard()->setText(kSentinel);
    }

    void evenRecordNumbersAreBanded()
    {
        StartedProgram program;
        QVERIFY(program.showAndWait());
        program.window().resize(1000, 700);
        program.control("Edit1")->setFocus(); // no focused current cell
        QCOMPARE(pixelInRow(program, 0).rgb() == kBand, false);
        QCOMPARE(pixelInRow(program, 1).rgb(), kBand);
        QCOMPARE(pixelInRow(program, 2).rgb() == kBand, false);
        QCOMPARE(pixelInRow(program, 3).rgb(), kBand);
    }

    void bandingFollowsTheUnfilteredPosition()
    {
        StartedProgram program;
        QVERIFY(program.showAndWait());
        program.term1()->setText(QStringLiteral("a"));
        program.button("JvXPButton1")->click();
        // Records 1, 2, 3, ... of "a": numbers 1, 2, 3, 5, 6, 7, 9, 10, 11, 12.
        QCOMPARE(program.allRows().mid(0, 5), (QStringList {"1", "1.1", "1.1.1", "2", "2.1"}));
        program.term1()->setFocus();
        QCOMPARE(pixelInRow(program, 1).rgb(), kBand); // record 2
        QCOMPARE(pixelInRow(program, 3).rgb() == kBand, false); // record 5
        QCOMPARE(pixelInRow(program, 4).rgb(), kBand); // record 6, right after record 5
    }

    void focusedCurrentCellInABandedRowLosesItsHighlight()
    {
        StartedProgram program;
        QVERIFY(program.showAndWait());
        program.grid()->setFocus();
        QTRY_VERIFY(program.grid()->hasFocus());
        selectRow(program, 1, RatesTableModel::TumKodu);
        QCOMPARE(pixelInRow(program, 1).rgb(), kBand);
        selectRow(program, 2, RatesTableModel::TumKodu);
        QCOMPARE(pixelInRow(program, 2), program.grid()->palette().color(QPalette::Highlight));
    }

    void dottedRectangleMarksTheFocusedCurrentCell_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("how"); // "keys", "mouse" or "unfocused"
        QTest::addColumn<bool>("marked");
        QTest::newRow("banded row, reached with the keys") << 1 << "keys" << true;
        QTest::newRow("banded row, clicked") << 3 << "mouse" << true;
        QTest::newRow("highlighted row, clicked") << 2 << "mouse" << true;
        QTest::newRow("grid without the focus") << 1 << "unfocused" << false;
    }

    void dottedRectangleMarksTheFocusedCurrentCell()
    {
        QFETCH(int, row);
        QFETCH(QString, how);
        QFETCH(bool, marked);
        StartedProgram program;
        QVERIFY(program.showAndWait());
        QTableView *grid = program.grid();
        const QModelIndex cell = grid->model()->index(row, RatesTableModel::Aciklama);
        if (how == "mouse") {
            QTest::mouseClick(
                grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
        } else {
            grid->setFocus();
            QTRY_VERIFY(grid->hasFocus());
            for (int down = 0; down < row; ++down)
                QTest::keyClick(grid, Qt::Key_Down);
            QTest::keyClick(grid, Qt::Key_Right);
            if (how == "unfocused")
                program.term1()->setFocus();
        }
        QTRY_COMPARE(grid->hasFocus(), how != "unfocused");
        QCOMPARE(grid->currentIndex(), cell);

        // Along the cell's top edge, dots in the text colour alternate with the
        // background; away from the edge there is only background.
        const QRect rect = grid->visualRect(cell);
        const QImage image = grid->viewport()->grab().toImage();
        const QColor background = image.pixelColor(rect.right() - 3, rect.bottom() - 3);
        int dots = 0;
        for (int x = rect.left() + 1; x < rect.left() + 41; ++x) {
            if (image.pixelColor(x, rect.top()) != background)
                ++dots;
            QCOMPARE(image.pixelColor(x, rect.top() + 1), background);
        }
        QCOMPARE(dots, marked ? 20 : 0);
    }

    void cellTextIsOneLineAtTheDeclaredMargins()
    {
        StartedProgram program;
        QVERIFY(program.showAndWait());
        program.term1()->setFocus();
        QTableView *grid = program.grid();
        const QImage image = grid->viewport()->grab().toImage();
        const auto inkColumns = [&](int row, int column) {
            const QRect cell = grid->visualRect(grid->model()->index(row, column));
            const QColor background = image.pixelColor(cell.right() - 1, cell.bottom() - 1);
            int first = -1;
            int last = -1;
            for (int x = cell.left(); x < cell.right(); ++x) {
                for (int y = cell.top(); y < cell.bottom(); ++y) {
                    if (image.pixelColor(x, y) != background && qGray(image.pixel(x, y)) < 128) {
                        first = first < 0 ? x - cell.left() : first;
                        last = x - cell.left();
                    }
                }
            }
            return std::pair {first, cell.width() - 1 - last};
        };
        // Text columns start 2 px in; number columns end 3 px before the edge.
        QVERIFY(inkColumns(0, RatesTableModel::TumKodu).first >= 2);
        QVERIFY(inkColumns(0, RatesTableModel::TumKodu).first <= 4);
        QVERIFY(inkColumns(0, RatesTableModel::Teblig).second >= 3);
        QVERIFY(inkColumns(0, RatesTableModel::Teblig).second <= 5);
    }

    void tooltipShowsTheWholeDescriptionOfTheLastClick_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("description");
        QTest::newRow("a plain row") << 2 << "ısıtma kazanı";
        QTest::newRow("a bar does not cut it, an ampersand shows") << 9 << "Pompa | vana & armatür";
        QTest::newRow("its own line break") << 10 << "Birinci satır\nİkinci satır";
        QTest::newRow("quotes") << 11 << "Öğütücü, şişe ve ÇÖP ÜRETİM hattı; \"tırnak\"";
    }

    void tooltipShowsTheWholeDescriptionOfTheLastClick()
    {
        QFETCH(int, row);
        QFETCH(QString, description);
        StartedProgram program;
        QVERIFY(program.showAndWait());
        QTableView *grid = program.grid();
        QCOMPARE(shownTooltip(grid), QString()); // nothing before the first release
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(shownTooltip(grid), description);
        // Keyboard moves leave it as it is.
        QTest::keyClick(grid, Qt::Key_Up);
        QCOMPARE(shownTooltip(grid), description);
    }

    void tooltipOnTheTitleRowAndOnAnEmptyGrid()
    {
        StartedProgram program;
        QVERIFY(program.showAndWait());
        QTableView *grid = program.grid();
        selectRow(program, 3);
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(shownTooltip(grid), QStringLiteral("KIRMIZI"));
        program.term1()->setText(QStringLiteral("yok böyle bir şey"));
        program.button("JvXPButton1")->click();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(shownTooltip(grid), QString());
    }

    void longDescriptionTooltipIsWhole()
    {
        StartedProgram program;
        QVERIFY(program.showAndWait());
        QTableView *grid = program.grid();
        const QRect cell = grid->visualRect(grid->model()->index(8, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(shownTooltip(grid).endsWith(QStringLiteral("açık SON.")));
        QCOMPARE(shownTooltip(grid).size(), 705);
    }

    void tooltipTimingAndShape()
    {
        // Shown 500 ms after the first movement, for 2.5 s, once until a click, a
        // wheel turn, a key or leaving and coming back arms it again.
        StartedProgram program;
        QVERIFY(program.showAndWait());
        QTableView *grid = program.grid();
        GridToolTip *tooltip = program.window().gridToolTip();
        const QRect cell = grid->visualRect(grid->model()->index(8, 1)); // 705 characters
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseMove(grid->viewport(), cell.center() + QPoint(5, 0));
        QTest::qWait(GridToolTip::kShowDelayMs - 200);
        QVERIFY(!tooltip->popup());
        QTRY_VERIFY_WITH_TIMEOUT(tooltip->popup(), 1000);
        QLabel *popup = tooltip->popup();
        QCOMPARE(popup->text(), shownTooltip(grid));
        // Wrapped at the screen's width, not at a few hundred pixels, and on screen.
        const QRect screen = popup->screen()->geometry();
        QVERIFY2(popup->width() > screen.width() - 40, qPrintable(QString::number(popup->width())));
        QVERIFY(screen.contains(popup->frameGeometry()));
        QCOMPARE(popup->height(), popup->heightForWidth(popup->width()));

        QTest::qWait(GridToolTip::kShowForMs - 700);
        QVERIFY(tooltip->popup());
        QTRY_VERIFY_WITH_TIMEOUT(!tooltip->popup(), 1500);
        // The pointer stays in the grid: no second showing.
        QTest::mouseMove(grid->viewport(), cell.center() + QPoint(15, 0));
        QTest::qWait(GridToolTip::kShowDelayMs + 300);
        QVERIFY(!tooltip->popup());
        // A key arms it again.
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::mouseMove(grid->viewport(), cell.center() + QPoint(25, 0));
        QTRY_VERIFY_WITH_TIMEOUT(tooltip->popup(), 1500);
        // A click hides it at once.
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(!tooltip->popup());
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

    void copyCommands_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("description") << 2 << "SeSabitKymet1"
                                     << "ısıtma kazanı";
        QTest::newRow("life 6.5") << 2 << "MeslekAdnKopyala1"
                                  << "6,5";
        QTest::newRow("life 10 as two characters") << 1 << "MeslekAdnKopyala1"
                                                   << "10";
        QTest::newRow("rate 0.025 as 2,5") << 2 << "MeslekKoduveAdnKopyala1"
                                           << "2,5";
        QTest::newRow("rate 0.2 as 20") << 4 << "MeslekKoduveAdnKopyala1"
                                        << "20";
        QTest::newRow("rate 0 copies nothing") << 5 << "MeslekKoduveAdnKopyala1" << kSentinel;
        QTest::newRow("negative rate copies nothing")
            << 6 << "MeslekKoduveAdnKopyala1" << kSentinel;
        QTest::newRow("null rate copies nothing") << 7 << "MeslekKoduveAdnKopyala1" << kSentinel;
        QTest::newRow("null life copies nothing") << 4 << "MeslekAdnKopyala1" << kSentinel;
        QTest::newRow("long description whole") << 8 << "SeSabitKymet1"
                                                << "";
        QTest::newRow("line break in the platform's form")
            << 10 << "SeSabitKymet1" << kPlatformLines;
    }

    void copyCommands()
    {
        QFETCH(int, row);
        QFETCH(QString, command);
        QFETCH(QString, clipboard);
        StartedProgram program;
        selectRow(program, row);
        program.window().findChild<QAction *>(command)->trigger();
        const QString copied = QGuiApplication::clipboard()->text();
        if (clipboard.isEmpty()) {
            QCOMPARE(copied.size(), 705);
            QVERIFY(copied.contains(QStringLiteral("ÇÖMLEKÇİLİK")));
        } else {
            QCOMPARE(copied, clipboard);
        }
    }

    void recordKeysArrivingAsPlainKeysRunTheCommands_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("clipboard"); // empty: the whole 705-character description
        QTest::addColumn<int>("detailBoxes");
        const int ctrl = int(Qt::ControlModifier);
        QTest::newRow("Ctrl+C copies the whole description, not the cell")
            << int(Qt::Key_C) << ctrl << "" << 0;
        QTest::newRow("Ctrl+B copies the life") << int(Qt::Key_B) << ctrl << "5" << 0;
        QTest::newRow("Ctrl+T copies the rate") << int(Qt::Key_T) << ctrl << "20" << 0;
        QTest::newRow("F1 shows the description") << int(Qt::Key_F1) << 0 << kSentinel << 1;
        QTest::newRow("Ctrl+Insert copies nothing")
            << int(Qt::Key_Insert) << ctrl << kSentinel << 0;
    }

    void recordKeysArrivingAsPlainKeysRunTheCommands()
    {
        // As when Qt takes the window for inactive: the key reaches the grid without
        // going through the shortcuts first.
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, clipboard);
        QFETCH(int, detailBoxes);
        StartedProgram program;
        selectRow(program, 8);
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
        QApplication::sendEvent(program.grid(), &press);
        const QString copied = QGuiApplication::clipboard()->text();
        if (clipboard.isEmpty())
            QCOMPARE(copied.size(), 705);
        else
            QCOMPARE(copied, clipboard);
        QCOMPARE(int(program.boxes.size()), detailBoxes);
    }

    void focusComesBackWhenABoxCloses_data()
    {
        QTest::addColumn<QString>("focused");
        QTest::newRow("the grid, after the detail box") << "meslekkoduGrid";
        QTest::newRow("a term box") << "Edit1";
    }

    void focusComesBackWhenABoxCloses()
    {
        // Without a window manager nobody gives the focus back when a box closes; the
        // box stands in here by taking the focus elsewhere.
        QFETCH(QString, focused);
        StartedProgram program;
        QVERIFY(program.showAndWait());
        QWidget *before = program.control(qPrintable(focused));
        before->setFocus();
        QTRY_VERIFY(before->hasFocus());
        messagebox::setPresenter(
            [&](const messagebox::Request &) { program.control("Edit3")->setFocus(); });
        program.window().MeslekAdveKoduNe1Click();
        QVERIFY(before->hasFocus());
    }

    void copyButtonCopiesTheDescription()
    {
        StartedProgram program;
        QVERIFY(program.showAndWait());
        selectRow(program, 9);
        QTest::mouseClick(program.button("JvXPButton4"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Pompa | vana & armatür"));
        QCOMPARE(QApplication::focusWidget(), program.button("JvXPButton4"));
    }

    void emptyResultCopiesNothingAndShowsTheLabelAlone()
    {
        StartedProgram program(QStringLiteral("empty.mdb"));
        for (const char *command :
            {"SeSabitKymet1", "MeslekAdnKopyala1", "MeslekKoduveAdnKopyala1"})
            program.window().findChild<QAction *>(QLatin1String(command))->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), kSentinel);
        program.window().MeslekAdveKoduNe1Click();
        QCOMPARE(program.boxes.size(), size_t(1));
        QCOMPARE(program.boxes[0].text, QStringLiteral("Açıklama:"));
    }

    void detailShowsTheDescriptionExactly_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("message");
        QTest::newRow("ampersand and bar kept") << 9 << "Açıklama:Pompa | vana & armatür";
        QTest::newRow("line break kept") << 10 << "Açıklama:Birinci satır\nİkinci satır";
    }

    void detailShowsTheDescriptionExactly()
    {
        QFETCH(int, row);
        QFETCH(QString, message);
        StartedProgram program;
        selectRow(program, row);
        program.window().findChild<QAction *>(QStringLiteral("MeslekAdveKoduNe1"))->trigger();
        QCOMPARE(program.boxes.size(), size_t(1));
        QCOMPARE(program.boxes[0].kind, messagebox::Kind::Detail);
        QCOMPARE(program.boxes[0].caption, applicationTitle());
        QCOMPARE(program.boxes[0].text, message);
    }

    void doubleClickAnywhereShowsTheDescription()
    {
        StartedProgram program;
        QVERIFY(program.showAndWait());
        QTableView *grid = program.grid();
        const QRect cell = grid->visualRect(grid->model()->index(3, 1));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(program.boxes.size(), size_t(2));
        QCOMPARE(program.boxes[0].text, QStringLiteral("Açıklama:KIRMIZI"));
        QCOMPARE(program.boxes[1].text, QStringLiteral("Açıklama:KIRMIZI"));
    }

    void shortcutsActOnlyWhileTheGridHasTheFocus()
    {
        StartedProgram program;
        QVERIFY(program.showAndWait());
        selectRow(program, 2);
        program.grid()->setFocus();
        QTRY_VERIFY(program.grid()->hasFocus());
        QTest::keyClick(program.grid(), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("2,5"));
        QTest::keyClick(program.grid(), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("6,5"));
        QTest::keyClick(program.grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ısıtma kazanı"));
        QTest::keyClick(program.grid(), Qt::Key_F1);
        QCOMPARE(program.boxes.size(), size_t(1));

        QLineEdit *box = program.term2();
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        box->setText(QStringLiteral("seçili"));
        box->selectAll();
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("seçili"));
        QTest::keyClick(box, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("seçili"));
        QTest::keyClick(box, Qt::Key_F1);
        QCOMPARE(program.boxes.size(), size_t(1));
    }

    void popupMenuItemsAndShortcuts()
    {
        StartedProgram program;
        QMenu *menu = program.window().findChild<QMenu *>(QStringLiteral("PopupMenu1"));
        QVERIFY(menu);
        QStringList items;
        for (const QAction *action : menu->actions())
            items << action->text() + u'|'
                    + action->shortcut().toString(QKeySequence::PortableText);
        QCOMPARE(items,
            (QStringList {"Açıklamayı Kopyala|Ctrl+C", "Amortisman Yılını Kopyala|Ctrl+B",
                "Amortisman Oranını Kopyala|Ctrl+T", "Ara|", "Tümü|",
                "Amortisman Açıklaması Ne?|F1", "|", "Amortisman Hesapla|Ctrl+H"}));
        QVERIFY(menu->actions().at(6)->isSeparator());
    }

    void ctrlHOpensTheScheduleForTheCurrentRow()
    {
        StartedProgram program;
        QVERIFY(program.showAndWait());
        selectRow(program, 1);
        program.grid()->setFocus();
        QTRY_VERIFY(program.grid()->hasFocus());
        QTest::keyClick(program.grid(), Qt::Key_H, Qt::ControlModifier);
        auto *dialog = program.window().findChild<AmortismanDialog *>();
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->isVisible());
        QStringList shown;
        for (const char *name : {"listNumber", "description", "life", "rate", "decliningRate"})
            shown << dialog->findChild<QLabel *>(QLatin1String(name))->text();
        QCOMPARE(shown, (QStringList {"1.1", "ISITMA TESİSATI", "10 yıl", "%10,00", "%20,00"}));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(!program.window().findChild<AmortismanDialog *>());
    }

    void rightClickMakesTheRowCurrentAndOpensThePopupOnRelease()
    {
        StartedProgram program;
        QVERIFY(program.showAndWait());
        QTableView *grid = program.grid();
        QMenu *menu = program.window().popupMenu();
        bool menuWasOpen = false;
        QString tooltipWhileOpen = QStringLiteral("unset");
        QTimer::singleShot(100, menu, [&] {
            menuWasOpen = menu->isVisible();
            tooltipWhileOpen = shownTooltip(grid);
            menu->close();
        });
        const QRect cell = grid->visualRect(grid->model()->index(4, 1));
        QTest::mousePress(grid->viewport(), Qt::RightButton, {}, cell.center());
        QCOMPARE(grid->currentIndex().row(), 4);
        QVERIFY(!menu->isVisible());
        QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, cell.center());
        QVERIFY(menuWasOpen);
        QCOMPARE(tooltipWhileOpen, QString()); // set only after the menu has closed
        QCOMPARE(shownTooltip(grid), QStringLiteral("İNŞAAT MAKİNELERİ"));
    }

    void keyboardOpensThePopupOnceAtTheGridsCorner_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
        QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
    }

    void keyboardOpensThePopupOnceAtTheGridsCorner()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        StartedProgram program;
        QVERIFY(program.showAndWait());
        QTableView *grid = program.grid();
        grid->setFocus();
        QTRY_VERIFY(grid->hasFocus());
        QMenu *menu = program.window().popupMenu();
        int openings = 0;
        QPoint openedAt;
        connect(menu, &QMenu::aboutToShow, menu, [&] {
            ++openings;
            QTimer::singleShot(0, menu, [&] {
                openedAt = menu->pos();
                menu->close();
            });
        });
        QTest::keyClick(grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTest::qWait(20);
        QCOMPARE(openings, 1);
        QCOMPARE(openedAt, grid->mapToGlobal(QPoint(0, 0)));
    }

    void copyBlockOfTheDetailBox()
    {
        QCOMPARE(DetailDialog::copyText(QStringLiteral("Başlık"), QStringLiteral("Açıklama:a\nb"),
                     {QStringLiteral("OK")}),
            QStringLiteral(
                "---------------------------\r\nBaşlık\r\n---------------------------\r\n"
                "Açıklama:a\r\nb\r\n---------------------------\r\nOK   \r\n"
                "---------------------------\r\n"));
    }

    void detailDialogShowsAmpersandsAndCopiesWithCtrlC()
    {
        DetailDialog dialog(applicationTitle(), QStringLiteral("Açıklama:Pompa | vana & armatür"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *label = dialog.findChild<QLabel *>(QStringLiteral("DetailText"));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->text(), QStringLiteral("Açıklama:Pompa | vana & armatür"));
        QTest::keyClick(&dialog, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QGuiApplication::clipboard()->text().contains(
            QStringLiteral("\r\nAçıklama:Pompa | vana & armatür\r\n")));
        QVERIFY(dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
    }

    void detailDialogFitsItsTextWithinTheScreen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fillsHalfTheScreen");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("one short line") << "Açıklama:Binalar" << false << false;
        QTest::newRow("a paragraph wraps at half the screen")
            << "Açıklama:" + QStringLiteral(" kelime").repeated(300) << true << false;
        QTest::newRow("a word longer than half the screen")
            << "Açıklama:" + QString(400, u'x') << true << false;
        QTest::newRow("a 17 KB memo scrolls")
            << "Açıklama:" + (QStringLiteral(" kelime").repeated(40) + u'\n').repeated(62) << true
            << true;
    }

    void detailDialogFitsItsTextWithinTheScreen()
    {
        QFETCH(QString, text);
        QFETCH(bool, fillsHalfTheScreen);
        QFETCH(bool, scrolls);
        DetailDialog dialog(applicationTitle(), text);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QRect screen = dialog.screen()->availableGeometry();
        auto *label = dialog.findChild<QLabel *>(QStringLiteral("DetailText"));
        auto *area = dialog.findChild<QScrollArea *>(QStringLiteral("DetailTextArea"));
        auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("OkButton"));

        QVERIFY(label->width() <= screen.width() / 2);
        if (fillsHalfTheScreen)
            QVERIFY2(label->width() > screen.width() / 2 - 60,
                qPrintable(QString::number(label->width())));
        else
            QVERIFY(label->width() < screen.width() / 4);
        // The whole text is laid out; the box shows all of it, or scrolls.
        QCOMPARE(label->height(), label->heightForWidth(label->width()));
        QCOMPARE(area->verticalScrollBar()->isVisible(), scrolls);
        if (!scrolls)
            QCOMPARE(area->height(), label->height());
        QVERIFY(screen.contains(dialog.frameGeometry()));
        QVERIFY(screen.contains(QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size())));
        QVERIFY(ok->hasFocus());
        if (scrolls) {
            QTest::keyClick(&dialog, Qt::Key_End);
            QCOMPARE(area->verticalScrollBar()->value(), area->verticalScrollBar()->maximum());
            QVERIFY(dialog.isVisible());
        }
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
    }
};

int main(int argc, char *argv[])
{
    Application application(argc, argv);
    TestRecordCommands test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recordcommands.moc"
