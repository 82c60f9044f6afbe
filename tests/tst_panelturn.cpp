// SPDX-License-Identifier: MIT
// A turned panel: it turns the way eglfs turns, the ink of a screen pixel lands on the panel
// pixel whose touch maps back to it, and a user's linuxfb rotation starts the turning platform.
#include "panelturn.h"
#include "testsupport.h"
#include "turnedcopy.h"
#include "turnedplatform.h"

#include <QRandomGenerator>
#include <QTest>

class TestPanelTurn : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestSupport::failOnWarnings(); }

    void turnsAsEglfs_data()
    {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<QPointF>("onPanel");
        QTest::addColumn<QPointF>("onScreen");
        // A 480 × 640 portrait panel; 90 puts the picture's top along its left edge.
        QTest::newRow("90 top-left") << 90 << QPointF(0, 0) << QPointF(639, 0);
        QTest::newRow("90 bottom-left") << 90 << QPointF(0, 639) << QPointF(0, 0);
        QTest::newRow("90 between") << 90 << QPointF(10.5, 20.25) << QPointF(618.75, 10.5);
        QTest::newRow("270 top-right") << 270 << QPointF(479, 0) << QPointF(0, 0);
        QTest::newRow("270 bottom-right") << 270 << QPointF(479, 639) << QPointF(639, 0);
        QTest::newRow("180 last column") << 180 << QPointF(479, 5) << QPointF(0, 634);
        QTest::newRow("0") << 0 << QPointF(479, 639) << QPointF(479, 639);
    }
    void turnsAsEglfs()
    {
        QFETCH(int, rotation);
        QFETCH(QPointF, onPanel);
        QFETCH(QPointF, onScreen);
        const PanelTurn turn(rotation, QSize(480, 640));
        QCOMPARE(turn.screenSize(), rotation % 180 ? QSize(640, 480) : QSize(480, 640));
        QCOMPARE(turn.toScreen(onPanel), onScreen);
        QCOMPARE(turn.toPanel(onScreen), onPanel);
    }

    void inkLandsUnderTheTouch_data()
    {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<int>("rotation");
        for (int rotation : {0, 90, 180, 270}) {
            QTest::addRow("32 bits, %d", rotation) << QImage::Format_RGB32 << rotation;
            QTest::addRow("16 bits, %d", rotation) << QImage::Format_RGB16 << rotation;
        }
    }
    void inkLandsUnderTheTouch()
    {
        QFETCH(QImage::Format, format);
        QFETCH(int, rotation);
        // Wider than the copy's blocks, and neither side a whole number of its tiles.
        QImage screen(133, 77, format);
        QRandomGenerator(rotation).fillRange(reinterpret_cast<quint32 *>(screen.bits()),
                                             screen.sizeInBytes() / 4);
        const PanelTurn turn(rotation, rotation % 180 ? QSize(77, 133) : screen.size());
        QImage panel(turn.panelSize(), format);
        for (const QRect &rect : {screen.rect(), QRect(132, 0, 1, 1), QRect(4, 2, 129, 75)}) {
            panel.fill(0x5a5a5a5a);
            QImage expected = panel.copy();
            for (int y = 0; y < panel.height(); ++y) {
                for (int x = 0; x < panel.width(); ++x) {
                    const QPoint touched = turn.toScreen(QPointF(x, y)).toPoint();
                    if (rect.contains(touched))
                        expected.setPixel(x, y, screen.pixel(touched));
                }
            }
            turnedCopy(screen, rect, panel.bits(), panel.bytesPerLine(), rotation);
            QCOMPARE(panel, expected);
        }
    }

    void rotationChoosesThePlatform()
    {
        using TurnedPlatform::platformFor;
        const QByteArray turned = QByteArray(TurnedPlatform::name);
        QCOMPARE(platformFor("linuxfb:fb=/dev/fb1:rotation=90:tty=/dev/tty2"),
                 turned + ":fb=/dev/fb1:tty=/dev/tty2:rotation=90");
        QCOMPARE(platformFor("xcb;LinuxFB:rotation=270"), "xcb;" + turned + ":rotation=270");
        QCOMPARE(platformFor("linuxfb:rotation=0:fb=/dev/fb1"), "linuxfb:fb=/dev/fb1");
        for (const char *bad : {"45", "abc", ""}) {
            QTest::ignoreMessage(QtWarningMsg,
                                 qPrintable(QStringLiteral("linuxfb: rotation=%1 is not one of 0, "
                                                           "90, 180, 270; the screen is not turned")
                                                .arg(QLatin1String(bad))));
            QCOMPARE(platformFor(QByteArray("linuxfb:rotation=") + bad + ":fb=/dev/fb1"),
                     "linuxfb:fb=/dev/fb1");
        }
    }
};

VELLUMIX_TEST_MAIN(TestPanelTurn)
#include "tst_panelturn.moc"
