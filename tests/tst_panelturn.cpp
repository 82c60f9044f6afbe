// SPDX-License-Identifier: MIT
// A turned panel: it turns the way eglfs turns, the ink of a screen pixel lands on the panel
// pixel whose touch maps back to it, and a user's rotation starts the turning platform or is
// handed to eglfs in its own terms.
#include "panelturn.h"
#include "testsupport.h"
#include "toolkitoptions.h"
#include "turnedcopy.h"
#include "turnedintegration.h"
#include "turnedplatform.h"
#include "turnedscreen.h"

#include <QRandomGenerator>
#include <QTest>

#include <linux/fb.h>

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
        const PanelTurn turn = PanelTurn::under(rotation, screen.size());
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
            turnedCopy(screen, rect, panel.bits(), panel.bytesPerLine(), turn);
            QCOMPARE(panel, expected);
        }
    }

    void framebufferLayout()
    {
        fb_var_screeninfo info = {};
        info.xres = 480;
        info.yres = 640;
        info.yoffset = 640; // panned to its second page
        QCOMPARE(TurnedScreen::usedArea(info, QRect()), QRect(0, 640, 480, 640));
        QCOMPARE(TurnedScreen::usedArea(info, QRect(100, 100, 0, 0)), QRect(0, 640, 480, 640));
        QCOMPARE(TurnedScreen::usedArea(info, QRect(0, 0, 400, 600)), QRect(40, 660, 400, 600));
        QCOMPARE(TurnedScreen::usedArea(info, QRect(10, 20, 400, 600)), QRect(10, 660, 400, 600));
        QCOMPARE(TurnedScreen::usedArea(info, QRect(200, 0, 500, 900)), QRect(0, 640, 480, 640));

        info.bits_per_pixel = 32;
        info.red.offset = 16;
        QCOMPARE(TurnedScreen::pictureFormat(info), QImage::Format_RGB32);
        info.red.offset = 0;
        info.blue.offset = 16;
        QCOMPARE(TurnedScreen::pictureFormat(info), QImage::Format_RGBX8888);
        info.bits_per_pixel = 16;
        info.red.offset = 11;
        info.blue.offset = 0;
        QCOMPARE(TurnedScreen::pictureFormat(info), QImage::Format_RGB16);
        info.bits_per_pixel = 24; // not turned pixel by pixel: refused, never garbled
        QCOMPARE(TurnedScreen::pictureFormat(info), QImage::Format_Invalid);
    }

    void userOptionChoosesThePlatform()
    {
        const QByteArray turned = QByteArray(TurnedIntegration::name) + ":rotation=270";
        QByteArrayList words = {
            "vellumix", "-platform", "xcb", "--platform", "linuxfb:rotation=270",
            "-style",   "fusion"};
        QList<char *> argv;
        for (QByteArray &word : words)
            argv << word.data();
        ToolkitOptions::note(int(argv.size()), argv.data());
        TurnedPlatform::choose(argv.data());
        QCOMPARE(argv.at(2), "xcb"); // the toolkit takes the last one given
        QCOMPARE(argv.at(4), turned);
        QCOMPARE(argv.at(6), "fusion");

        const QByteArray before = qgetenv("QT_QPA_PLATFORM");
        qputenv("QT_QPA_PLATFORM", "linuxfb:rotation=270");
        ToolkitOptions::note(1, argv.data());
        TurnedPlatform::choose(argv.data());
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), turned);
        // eglfs's own variable, even where eglfs is the toolkit's default platform.
        qunsetenv("QT_QPA_PLATFORM");
        qputenv("QT_QPA_EGLFS_ROTATION", "270");
        TurnedPlatform::choose(argv.data());
        QCOMPARE(qgetenv("QT_QPA_EGLFS_ROTATION"), "-90");
        qunsetenv("QT_QPA_EGLFS_ROTATION");
        qputenv("QT_QPA_PLATFORM", before);
    }

    void rotationChoosesThePlatform()
    {
        using TurnedPlatform::eglfsRotationFor;
        using TurnedPlatform::platformFor;
        const QByteArray turned = QByteArray(TurnedIntegration::name);
        QCOMPARE(platformFor("linuxfb:fb=/dev/fb1:rotation=90:tty=/dev/tty2"),
                 turned + ":fb=/dev/fb1:tty=/dev/tty2:rotation=90");
        QCOMPARE(platformFor("xcb;LinuxFB:rotation=-90"), "xcb;" + turned + ":rotation=270");
        QCOMPARE(platformFor("linuxfb:rotation=0:fb=/dev/fb1"), "linuxfb:fb=/dev/fb1");
        // eglfs turns 270 as -90 does only under that name.
        QCOMPARE(eglfsRotationFor("270"), "-90");
        QCOMPARE(eglfsRotationFor("-90"), "-90");
        QCOMPARE(eglfsRotationFor("90"), "90");
        QCOMPARE(eglfsRotationFor("180"), "180");
        for (const char *bad : {"45", "abc", ""}) {
            const QString unturned =
                QStringLiteral("=%1 is not one of 0, 90, -90, 180, 270; the screen is not turned")
                    .arg(bad);
            QTest::ignoreMessage(QtWarningMsg, qPrintable("linuxfb: rotation" + unturned));
            QCOMPARE(platformFor(QByteArray("linuxfb:rotation=") + bad + ":fb=/dev/fb1"),
                     "linuxfb:fb=/dev/fb1");
            QTest::ignoreMessage(QtWarningMsg,
                                 qPrintable("eglfs: QT_QPA_EGLFS_ROTATION" + unturned));
            QCOMPARE(eglfsRotationFor(bad), "0");
        }
    }
};

VELLUMIX_TEST_MAIN(TestPanelTurn)
#include "tst_panelturn.moc"
