// SPDX-License-Identifier: MIT
// A turned panel: where a touch on the panel lands on the screen the program sees, and which
// platform a user's linuxfb rotation starts.
#include "panelturn.h"
#include "testsupport.h"
#include "turnedplatform.h"

#include <QTest>

class TestPanelTurn : public QObject
{
    Q_OBJECT

private slots:
    void init() { TestSupport::failOnWarnings(); }

    void panelPointsLandOnTheScreen_data()
    {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<QPointF>("onPanel");
        QTest::addColumn<QPointF>("onScreen");
        // A 480 × 640 portrait panel; 90 puts the picture's top along its left edge.
        QTest::newRow("90 top-left") << 90 << QPointF(0, 0) << QPointF(639, 0);
        QTest::newRow("90 bottom-right") << 90 << QPointF(479, 639) << QPointF(0, 479);
        QTest::newRow("90 bottom-left") << 90 << QPointF(0, 639) << QPointF(0, 0);
        QTest::newRow("90 between") << 90 << QPointF(10.5, 20.25) << QPointF(618.75, 10.5);
        QTest::newRow("270 top-left") << 270 << QPointF(0, 0) << QPointF(0, 479);
        QTest::newRow("270 top-right") << 270 << QPointF(479, 0) << QPointF(0, 0);
        QTest::newRow("270 bottom-right") << 270 << QPointF(479, 639) << QPointF(639, 0);
        QTest::newRow("180 top-left") << 180 << QPointF(0, 0) << QPointF(479, 639);
        QTest::newRow("180 last column") << 180 << QPointF(479, 5) << QPointF(0, 634);
        QTest::newRow("0") << 0 << QPointF(479, 639) << QPointF(479, 639);
    }
    void panelPointsLandOnTheScreen()
    {
        QFETCH(int, rotation);
        QFETCH(QPointF, onPanel);
        QFETCH(QPointF, onScreen);
        const PanelTurn turn(rotation, QSize(480, 640));
        QCOMPARE(turn.screenSize(), rotation % 180 ? QSize(640, 480) : QSize(480, 640));
        QCOMPARE(turn.toScreen(onPanel), onScreen);
        QCOMPARE(turn.toPanel(onScreen), onPanel);
    }

    void rotationChoosesThePlatform()
    {
        using TurnedPlatform::platformFor;
        const QByteArray turned = QByteArray(TurnedPlatform::name);
        QCOMPARE(platformFor("linuxfb:fb=/dev/fb1:rotation=90:tty=/dev/tty2"),
                 turned + ":fb=/dev/fb1:tty=/dev/tty2:rotation=90");
        QCOMPARE(platformFor("xcb;LinuxFB:rotation=270"), "xcb;" + turned + ":rotation=270");
        QCOMPARE(platformFor("linuxfb:rotation=0:fb=/dev/fb1"), "linuxfb:fb=/dev/fb1");
        QCOMPARE(platformFor("eglfs:rotation=90"), "eglfs:rotation=90");
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

QTEST_MAIN(TestPanelTurn)
#include "tst_panelturn.moc"
