// SPDX-License-Identifier: MIT
// The last copy into a turned panel: each pixel of the rectangle lands where the turn puts it,
// and the rest of the panel is left as it was.
#include "testsupport.h"
#include "turnedcopy.h"

#include <QRandomGenerator>
#include <QTest>

class TurnedCopyTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestSupport::failOnWarnings(); }
    void landsTurned_data()
    {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<int>("rotation");
        for (int rotation : {0, 90, 180, 270}) {
            QTest::addRow("32 bits, %d", rotation) << QImage::Format_RGB32 << rotation;
            QTest::addRow("16 bits, %d", rotation) << QImage::Format_RGB16 << rotation;
        }
    }
    void landsTurned()
    {
        QFETCH(QImage::Format, format);
        QFETCH(int, rotation);
        // Wider than a block of tiles, and neither side a whole number of tiles.
        QImage screen(133, 77, format);
        const int w = screen.width(), h = screen.height();
        QRandomGenerator(rotation).fillRange(reinterpret_cast<quint32 *>(screen.bits()),
                                             screen.sizeInBytes() / 4);
        QImage panel(rotation % 180 ? QSize(h, w) : screen.size(), format);
        for (const QRect &rect :
             {screen.rect(), QRect(w - 1, 0, 1, 1), QRect(4, 2, w - 4, h - 2)}) {
            panel.fill(0x5a5a5a5a);
            QImage expected = panel.copy();
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                for (int x = rect.left(); x <= rect.right(); ++x)
                    expected.setPixel(rotation == 90    ? QPoint(y, w - 1 - x)
                                      : rotation == 180 ? QPoint(w - 1 - x, h - 1 - y)
                                      : rotation == 270 ? QPoint(h - 1 - y, x)
                                                        : QPoint(x, y),
                                      screen.pixel(x, y));
            }
            turnedCopy(screen, rect, panel.bits(), panel.bytesPerLine(), rotation);
            QCOMPARE(panel, expected);
        }
    }
};

VELLUMIX_TEST_MAIN(TurnedCopyTest)
#include "tst_turnedcopy.moc"
