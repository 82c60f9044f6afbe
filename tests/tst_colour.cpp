// SPDX-License-Identifier: MIT
#include "colordialog.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <tuple>

using namespace TestSupport;

namespace {

using Colour = std::tuple<int, int, int>;

// A palette whose every pixel tells where it is; (0, 0) is black.
QRgb paletteColour(int x, int y)
{
    return qRgb(x, y, (x * 7 + y * 3) % 256);
}

void writePalette(int width, int height)
{
    emptyCard();
    QImage palette(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            palette.setPixel(x, y, paletteColour(x, y));
    }
    QVERIFY(palette.save(cardPath(QStringLiteral("color.bmp")), "BMP"));
}

Colour colourAt(int x, int y)
{
    const QRgb pixel = paletteColour(x, y);
    return {qRed(pixel), qGreen(pixel), qBlue(pixel)};
}

Colour picked(const ColorDialog *dialog)
{
    return {dialog->red, dialog->green, dialog->blue};
}

void touchPalette(QPoint position)
{
    tap(colorDialog(), position);
}

QColor buttonColour(Mainwindow &window)
{
    return colorButton(window)->palette().color(QPalette::Button);
}

QRgb strokeColour(Mainwindow &window)
{
    chooseMenuItem(window, QString::fromUtf8("新規"));
    stroke(&window, {{100, 300}, {200, 300}});
    return canvasImage(window).pixel(150, 300);
}

} // namespace

class ColourTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        failOnWarnings();
        writePalette(217, 172);
    }

    void pickReadsOnlyThePalette_data();
    void pickReadsOnlyThePalette();
    void dragOutKeepsLastColourInside();
    void smallerOrMissingPaletteIsNeverReadOutside_data();
    void smallerOrMissingPaletteIsNeverReadOutside();
    void dialogShowsPalette();
    void pollHandsColourOver();
    void pollIgnoresSameColour();
    void blackFirstKeepsDefaultButton();
    void pollRunsOnItsTimer();
    void colourButtonShowsDialog();
};

void ColourTest::pickReadsOnlyThePalette_data()
{
    QTest::addColumn<QPoint>("touch");
    QTest::addColumn<bool>("picks");
    QTest::newRow("last pixel") << QPoint(216, 171) << true;
    QTest::newRow("first pixel") << QPoint(0, 0) << true;
    QTest::newRow("right of it") << QPoint(217, 0) << false;
    QTest::newRow("below it") << QPoint(0, 172) << false;
    QTest::newRow("left of it") << QPoint(-1, 10) << false;
    QTest::newRow("above it") << QPoint(10, -1) << false;
    QTest::newRow("far off") << QPoint(INT_MIN, INT_MAX) << false;
}

void ColourTest::pickReadsOnlyThePalette()
{
    QFETCH(QPoint, touch);
    QFETCH(bool, picks);
    ColorDialog dialog;
    QCOMPARE(picked(&dialog), Colour(0, 0, 0));
    tap(&dialog, {100, 50});

    tap(&dialog, touch);

    QCOMPARE(picked(&dialog), picks ? colourAt(touch.x(), touch.y()) : colourAt(100, 50));
}

void ColourTest::dragOutKeepsLastColourInside()
{
    ColorDialog dialog;
    pen(&dialog, QEvent::MouseButtonPress, QPoint(10, 10));
    pen(&dialog, QEvent::MouseMove, QPoint(120, 90));
    QCOMPARE(picked(&dialog), colourAt(120, 90));
    pen(&dialog, QEvent::MouseMove, QPoint(300, 90));
    pen(&dialog, QEvent::MouseButtonRelease, QPoint(300, 90));
    QCOMPARE(picked(&dialog), colourAt(120, 90));
}

void ColourTest::smallerOrMissingPaletteIsNeverReadOutside_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("smaller") << QSize(100, 50);
    QTest::newRow("one pixel") << QSize(1, 1);
    QTest::newRow("missing") << QSize();
}

void ColourTest::smallerOrMissingPaletteIsNeverReadOutside()
{
    QFETCH(QSize, size);
    if (size.isValid())
        writePalette(size.width(), size.height());
    else
        emptyCard();
    ColorDialog dialog;
    tap(&dialog, {0, 0});
    tap(&dialog, {size.width() - 1, size.height() - 1});
    const Colour before = picked(&dialog);

    for (const QPoint touch : {QPoint(150, 100), QPoint(216, 171), QPoint(size.width(), 0)})
        tap(&dialog, touch);

    QCOMPARE(picked(&dialog), before);
    if (size.isValid())
        QCOMPARE(before, colourAt(size.width() - 1, size.height() - 1));
}

void ColourTest::dialogShowsPalette()
{
    ColorDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QImage shown = dialog.grab().toImage();
    QCOMPARE(shown.pixel(216, 171), paletteColour(216, 171));
    QCOMPARE(shown.pixel(40, 30), paletteColour(40, 30));
}

void ColourTest::pollHandsColourOver()
{
    Mainwindow window;
    const QPoint red(200, 0);
    touchPalette(red);

    QCOMPARE(strokeColour(window), qRgb(0, 0, 0));
    poll(window);
    QCOMPARE(strokeColour(window), paletteColour(200, 0));
    QCOMPARE(buttonColour(window).rgb(), paletteColour(200, 0));
    const QImage swatch = colorButton(window)->icon().pixmap(16, 16).toImage();
    QCOMPARE(swatch.pixel(8, 8), paletteColour(200, 0));

    touchPalette({0, 0});
    poll(window);
    QCOMPARE(strokeColour(window), qRgb(0, 0, 0));
    QCOMPARE(buttonColour(window).rgb(), qRgb(0, 0, 0));
}

void ColourTest::pollIgnoresSameColour()
{
    Mainwindow window;
    touchPalette({200, 0});
    poll(window);
    // Mark the button: a poll that finds no change must leave it alone.
    QPalette marked = colorButton(window)->palette();
    marked.setColor(QPalette::Button, Qt::green);
    colorButton(window)->setPalette(marked);

    touchPalette({200, 0});
    poll(window);

    QCOMPARE(buttonColour(window), QColor(Qt::green));
}

void ColourTest::blackFirstKeepsDefaultButton()
{
    Mainwindow window;
    const QColor defaultColour = buttonColour(window);
    touchPalette({0, 0});
    poll(window);
    QCOMPARE(buttonColour(window), defaultColour);
    QVERIFY(!colorButton(window)->testAttribute(Qt::WA_SetPalette));
}

void ColourTest::pollRunsOnItsTimer()
{
    Mainwindow window;
    const auto timers = window.findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(timers.size(), 1);
    QCOMPARE(timers.first()->interval(), 100);
    QVERIFY(timers.first()->isActive());
    QVERIFY(!timers.first()->isSingleShot());

    touchPalette({200, 0});
    QVERIFY(QMetaObject::invokeMethod(timers.first(), "timeout"));
    QCOMPARE(strokeColour(window), paletteColour(200, 0));
}

void ColourTest::colourButtonShowsDialog()
{
    Mainwindow window;
    window.show();
    QVERIFY(!colorDialog()->isVisible());
    colorButton(window)->click();
    QVERIFY(colorDialog()->isVisible());
    colorButton(window)->click();
    QVERIFY(colorDialog()->isVisible());
    QVERIFY(!colorDialog()->isModal());
    QVERIFY(!colorDialog()->parent());

    // Hiding and showing keeps the picked colour.
    touchPalette({200, 0});
    colorDialog()->hide();
    colorButton(window)->click();
    QCOMPARE(picked(colorDialog()), colourAt(200, 0));
}

VELLUMIX_TEST_MAIN(ColourTest)
#include "tst_colour.moc"
