// SPDX-License-Identifier: MIT
#include "colordialog.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QQueue>
#include <QTest>

#include <climits>

using namespace TestSupport;

namespace {

const QRgb white = qRgb(255, 255, 255);
const QRgb black = qRgb(0, 0, 0);

bool isInk(const QImage &image, int x, int y)
{
    return image.pixel(x, y) != white;
}

// The number of 8-connected groups of ink pixels.
int inkGroups(const QImage &image)
{
    QImage seen(image.size(), QImage::Format_Mono);
    seen.fill(0);
    int groups = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!isInk(image, x, y) || seen.pixelIndex(x, y))
                continue;
            ++groups;
            QQueue<QPoint> queue;
            queue.enqueue({x, y});
            seen.setPixel(x, y, 1);
            while (!queue.isEmpty()) {
                const QPoint p = queue.dequeue();
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const QPoint n(p.x() + dx, p.y() + dy);
                        if (image.valid(n) && isInk(image, n.x(), n.y()) &&
                            !seen.pixelIndex(n.x(), n.y())) {
                            seen.setPixel(n.x(), n.y(), 1);
                            queue.enqueue(n);
                        }
                    }
                }
            }
        }
    }
    return groups;
}

} // namespace

class DrawingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fillCard(); }
    void init() { failOnWarnings(); }

    void tapLeavesDotRightOfAndBelowTouch_data();
    void tapLeavesDotRightOfAndBelowTouch();
    void movesDrawOneConnectedPolyline();
    void newPressStartsNewStroke();
    void strokesUnderTheBandStayInCanvas();
    void canvasStartsInBaseColourUntilNew();
    void colourAndWidthAreReadAtEachEvent();
    void farOffPointsDrawOnlyWhatClipsIn_data();
    void farOffPointsDrawOnlyWhatClipsIn();
    void windowBeyondCanvasShowsBackground();
};

void DrawingTest::tapLeavesDotRightOfAndBelowTouch_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QPoint>("touch");
    QTest::addColumn<QStringList>("dot"); // its rows from the touch point, ink as "#"
    const QStringList thin = {"#"};
    const QStringList thick = {".##.", "####", "####", ".##."};
    const QStringList extraThick = {"..###..", ".#####.", "#######", "#######",
                                    "#######", ".#####.", "..###.."};
    QTest::newRow("thin") << 0 << QPoint(200, 200) << thin;
    QTest::newRow("thick") << 1 << QPoint(300, 150) << thick;
    QTest::newRow("extra thick") << 2 << QPoint(300, 150) << extraThick;
    QTest::newRow("thin, last pixel") << 0 << QPoint(639, 479) << thin;
    QTest::newRow("clipped left and above") << 2 << QPoint(-3, -2) << extraThick;
    QTest::newRow("clipped right and below") << 1 << QPoint(637, 478) << thick;
}

void DrawingTest::tapLeavesDotRightOfAndBelowTouch()
{
    QFETCH(int, size);
    QFETCH(QPoint, touch);
    QFETCH(QStringList, dot);
    const QRgb colour = qRgb(200, 30, 60);
    Mainwindow window;
    choose(sizeList(window), size);
    colorDialog()->red = qRed(colour);
    colorDialog()->green = qGreen(colour);
    colorDialog()->blue = qBlue(colour);
    poll(window);
    chooseMenuItem(window, QString::fromUtf8("新規"));

    tap(&window, touch);

    QImage expected(640, 480, QImage::Format_RGB32);
    expected.fill(white);
    for (int y = 0; y < dot.size(); ++y) {
        for (int x = 0; x < dot[y].size(); ++x) {
            if (dot[y][x] == '#' && expected.valid(touch + QPoint(x, y)))
                expected.setPixel(touch + QPoint(x, y), colour);
        }
    }
    QCOMPARE(canvasImage(window), expected);
}

void DrawingTest::movesDrawOneConnectedPolyline()
{
    Mainwindow window;
    chooseMenuItem(window, QString::fromUtf8("新規"));
    const QList<QPoint> points = {{100, 200}, {150, 250}, {250, 260}, {300, 200}, {300, 400}};

    stroke(&window, points);

    const QImage canvas = canvasImage(window);
    for (qsizetype i = 0; i + 1 < points.size(); ++i) {
        const QPoint mid = (points[i] + points[i + 1]) / 2;
        QVERIFY2(isInk(canvas, mid.x(), mid.y()), qPrintable(QString::number(i)));
        QVERIFY(isInk(canvas, points[i].x(), points[i].y()));
    }
    QCOMPARE(inkGroups(canvas), 1);
    QCOMPARE(inkBounds(canvas, white), QRect(QPoint(100, 200), QPoint(300, 400)));
}

void DrawingTest::newPressStartsNewStroke()
{
    Mainwindow window;
    chooseMenuItem(window, QString::fromUtf8("新規"));

    stroke(&window, {{100, 100}, {200, 100}});
    stroke(&window, {{100, 300}, {200, 300}});

    const QImage canvas = canvasImage(window);
    QCOMPARE(inkGroups(canvas), 2);
    QCOMPARE(canvas.pixel(150, 200), white);
}

void DrawingTest::strokesUnderTheBandStayInCanvas()
{
    Mainwindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    chooseMenuItem(window, QString::fromUtf8("新規"));

    stroke(&window, {{100, 67}, {500, 67}});

    QCOMPARE(canvasImage(window).pixel(400, 67), black);
    const QImage screen = window.grab().toImage();
    QCOMPARE(screen.pixel(400, 67), qRgb(100, 150, 200));
    QCOMPARE(screen.pixel(400, 70), white);
}

void DrawingTest::canvasStartsInBaseColourUntilNew()
{
    const QPalette original = QApplication::palette();
    QPalette tinted = original;
    tinted.setColor(QPalette::Base, QColor(250, 240, 200));
    QApplication::setPalette(tinted);
    Mainwindow window;
    QApplication::setPalette(original);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(countPixels(canvasImage(window), qRgb(250, 240, 200)), 640 * 480);
    tap(&window, {300, 300});

    chooseMenuItem(window, QString::fromUtf8("新規"));

    QCOMPARE(countPixels(canvasImage(window), white), 640 * 480);
    QCOMPARE(window.grab().toImage().pixel(300, 300), white);
}

void DrawingTest::colourAndWidthAreReadAtEachEvent()
{
    fillCard();
    Mainwindow window;
    chooseMenuItem(window, QString::fromUtf8("新規"));
    ColorDialog *dialog = colorDialog();
    QVERIFY(dialog);

    pen(&window, QEvent::MouseButtonPress, QPoint(100, 300));
    pen(&window, QEvent::MouseMove, QPoint(200, 300));
    choose(sizeList(window), 2);
    dialog->red = 255;
    dialog->green = 0;
    dialog->blue = 0;
    poll(window);
    pen(&window, QEvent::MouseMove, QPoint(300, 300));
    pen(&window, QEvent::MouseButtonRelease, QPoint(300, 300));

    const QImage canvas = canvasImage(window);
    QCOMPARE(inkRowsAt(canvas, 150, white), 1);
    QCOMPARE(canvas.pixel(150, 300), black);
    QCOMPARE(inkRowsAt(canvas, 250, white), 7);
    QCOMPARE(canvas.pixel(250, 300), qRgb(255, 0, 0));
}

void DrawingTest::farOffPointsDrawOnlyWhatClipsIn_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QPoint>("inkAt");
    const QPoint none(-1, -1);
    QTest::newRow("negative") << QPointF(-50, -50) << QPointF(-10, -300) << none;
    QTest::newRow("beyond the canvas") << QPointF(700, 500) << QPointF(5000, 480) << none;
    QTest::newRow("int limits") << QPointF(INT_MAX, INT_MAX) << QPointF(INT_MIN, INT_MAX) << none;
    QTest::newRow("past the int limits") << QPointF(1e12, 1e12) << QPointF(-1e15, 1e15) << none;
    QTest::newRow("into the canvas from the int limit")
        << QPointF(320, 240) << QPointF(INT_MAX, 240) << QPoint(639, 240);
    QTest::newRow("across the canvas from far off")
        << QPointF(INT_MIN, 300) << QPointF(INT_MAX, 300) << QPoint(0, 300);
}

void DrawingTest::farOffPointsDrawOnlyWhatClipsIn()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(QPoint, inkAt);
    Mainwindow window;
    choose(sizeList(window), 2);
    chooseMenuItem(window, QString::fromUtf8("新規"));

    pen(&window, QEvent::MouseButtonPress, from);
    pen(&window, QEvent::MouseMove, to);
    pen(&window, QEvent::MouseMove, from);
    pen(&window, QEvent::MouseButtonRelease, to);

    const QImage canvas = canvasImage(window);
    if (inkAt == QPoint(-1, -1)) {
        QCOMPARE(countPixels(canvas, white), 640 * 480);
    } else {
        QCOMPARE(canvas.pixel(inkAt), black);
        QCOMPARE(inkRowsAt(canvas, 500, white), 7);
    }
}

void DrawingTest::windowBeyondCanvasShowsBackground()
{
    Mainwindow window;
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    chooseMenuItem(window, QString::fromUtf8("新規"));

    stroke(&window, {{500, 300}, {760, 300}, {760, 560}});

    const QImage screen = window.grab().toImage();
    const QRgb base = window.palette().color(QPalette::Base).rgb();
    QCOMPARE(screen.pixel(600, 300), black);
    QCOMPARE(screen.pixel(700, 300), base);
    QCOMPARE(screen.pixel(760, 500), base);
}

VELLUMIX_TEST_MAIN(DrawingTest)
#include "tst_drawing.moc"
