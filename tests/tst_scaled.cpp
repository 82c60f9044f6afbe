// SPDX-License-Identifier: MIT
// On a screen scaled by 2 (CTest sets QT_SCALE_FACTOR): strokes at the screen's resolution,
// and the palette as window managers must see it.
#include "colordialog.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <qpeapplication.h>

using namespace TestSupport;

namespace {

const QRgb white = qRgb(255, 255, 255);

int firstInkRow(const QImage &image, int x)
{
    int y = 0;
    while (y < image.height() && image.pixel(x, y) == white)
        ++y;
    return y;
}

} // namespace

class ScaledTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fillCard(); }
    void init() { failOnWarnings(); }

    void strokesAtDeviceResolution();
    void paletteFloatsOverMainWindow();
};

void ScaledTest::strokesAtDeviceResolution()
{
    Mainwindow window;
    chooseMenuItem(window, QString::fromUtf8("新規"));
    choose(sizeList(window), 2);
    tap(&window, {100, 200});
    choose(sizeList(window), 0);
    stroke(&window, {{300, 300}, {400, 300}, {450, 350}});
    QImage image(1280, 960, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    window.render(&image, QPoint(), QRegion(0, 0, 640, 480), QWidget::DrawWindowBackground);

    // 14 device pixels across at the touch point, round by device pixels: blown up from
    // 7 x 7, its rows would come in equal pairs.
    QCOMPARE(inkBounds(image.copy(180, 380, 40, 40), white), QRect(20, 20, 14, 14));
    QCOMPARE(inkBounds(image.copy(200, 400, 14, 1), white).width(), 6);
    QCOMPARE(inkBounds(image.copy(200, 401, 14, 1), white).width(), 8);
    // The thin line is two device pixels wide, and its slope climbs by single device pixels.
    QCOMPARE(inkRowsAt(image, 700, white), 2);
    for (int x = 820; x < 880; ++x)
        QCOMPARE(firstInkRow(image, x + 1), firstInkRow(image, x) + 1);
}

void ScaledTest::paletteFloatsOverMainWindow()
{
    Mainwindow window;
    static_cast<QPEApplication *>(qApp)->showMainWidget(&window);
    colorButton(window)->click();
    ColorDialog *dialog = colorDialog();
    QCOMPARE(dialog->minimumSize(), QSize(217, 172));
    QCOMPARE(dialog->maximumSize(), QSize(217, 172));
    QCOMPARE(dialog->windowHandle()->transientParent(), window.windowHandle());
    QVERIFY(!dialog->parent());
}

VELLUMIX_TEST_MAIN(ScaledTest)
#include "tst_scaled.moc"
