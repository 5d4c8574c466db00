#include "xpcolors.h"
#include "xpcontainer.h"

#include <QTest>

class TestXpContainer : public QObject
{
    Q_OBJECT

private slots:
    // However it is labelled, a container is one flat colour, edge to edge.
    void fillsWithItsColour_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QRgb>("expected");
        QTest::newRow("panel blue by default") << QColor() << xpcolors::kPanelBlue;
        QTest::newRow("a colour of its own") << QColor(10, 200, 30) << qRgb(10, 200, 30);
    }

    void fillsWithItsColour()
    {
        QFETCH(QColor, colour);
        QFETCH(QRgb, expected);
        XpContainer container;
        container.setWindowTitle(QStringLiteral("JvXPContainer3"));
        container.setAccessibleName(QStringLiteral("JvXPContainer3"));
        container.resize(120, 40);
        if (colour.isValid())
            container.setColor(colour);

        const QImage image = container.grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                QCOMPARE(image.pixel(x, y), expected);
        }
    }
};

QTEST_MAIN(TestXpContainer)
#include "tst_xpcontainer.moc"
