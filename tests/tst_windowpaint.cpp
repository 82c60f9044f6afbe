// SPDX-License-Identifier: MIT
// What the window shows of its canvas, whichever way the canvas reaches the picture being
// painted: copied as memory where that picture keeps its pixels as the canvas does, drawn by
// the toolkit otherwise (another pixel format, a scaled painter). The whole canvas copied to a
// picture of its own format, which the drawing tests check pixel by pixel, is the reference.
#include "colordialog.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QBackingStore>
#include <QPaintEvent>
#include <QPainter>
#include <QTest>
#include <qpa/qplatformbackingstore.h>

using namespace TestSupport;

namespace {

const QRgb magenta = qRgb(255, 0, 255);
// The canvas below the header band: the part of it the window shows.
const QRect shown(0, 70, 640, 410);

struct Stroke
{
    int width;
    QColor colour;
    QList<QPoint> points; // a press at the first, moves through the others
};

const QList<Stroke> strokes = {
    {7, Qt::black, {{100, 100}}},
    {7, Qt::black, {{50, 200}, {300, 260}, {600, 210}}},
    {1, Qt::red, {{20, 470}, {620, 90}}},
    {1, Qt::red, {{630, 475}}},
    {1, Qt::red, {{0, 479}, {639, 70}, {639, 479}}},
};

// Draws the strokes with the window's pen, in their widths and colours, on a white canvas,
// and sees some of their ink, so that a blank window cannot pass for the canvas.
void draw(Mainwindow &window)
{
    chooseMenuItem(window, QString::fromUtf8("新規"));
    for (const Stroke &s : strokes) {
        choose(sizeList(window), (s.width - 1) / 3);
        ColorDialog *dialog = colorDialog();
        dialog->red = s.colour.red();
        dialog->green = s.colour.green();
        dialog->blue = s.colour.blue();
        poll(window);
        stroke(&window, s.points);
    }
    const QImage canvas = canvasImage(window);
    QCOMPARE(canvas.pixel(103, 103), qRgb(0, 0, 0));
    QCOMPARE(canvas.pixel(639, 300), qRgb(255, 0, 0));
}

// The window rendered into a picture of the given format: the region's bounding rectangle
// goes to the offset.
QImage rendered(Mainwindow &window, QImage::Format format, QSize size, QPoint offset,
                const QRegion &region)
{
    QImage image(size, format);
    image.fill(magenta);
    window.render(&image, offset, region, QWidget::DrawWindowBackground);
    return image;
}

// The regions of the paint events a widget receives.
class PaintSpy : public QObject
{
public:
    explicit PaintSpy(const QList<QWidget *> &widgets)
    {
        for (QWidget *widget : widgets)
            widget->installEventFilter(this);
    }
    QList<QRegion> regions;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            regions << static_cast<QPaintEvent *>(e)->region();
        return false;
    }
};

} // namespace

class WindowPaintTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fillCard(); }
    void init() { failOnWarnings(); }

    void everyPixelFormatShowsTheCanvas_data();
    void everyPixelFormatShowsTheCanvas();
    void partsAtAnOffsetShowTheCanvasThereOnly();
    void scaledPainterShowsEachPixelTwice();
    void penSamplesRepaintOnlyTheirInk();
};

void WindowPaintTest::everyPixelFormatShowsTheCanvas_data()
{
    QTest::addColumn<QImage::Format>("format");
    // Besides the canvas's own: the formats whose opaque pixels are its bytes, copied as
    // memory, and a 16-bit framebuffer's, whose pixels are not and must be left to the toolkit.
    QTest::newRow("ARGB32") << QImage::Format_ARGB32;
    QTest::newRow("ARGB32 premultiplied") << QImage::Format_ARGB32_Premultiplied;
    QTest::newRow("RGB16") << QImage::Format_RGB16;
}

void WindowPaintTest::everyPixelFormatShowsTheCanvas()
{
    QFETCH(QImage::Format, format);
    Mainwindow window;
    draw(window);
    const QImage canvas = canvasImage(window);

    const QImage image = rendered(window, format, QSize(640, 480), QPoint(), QRect(0, 0, 640, 480));
    QCOMPARE(image.copy(shown), canvas.convertToFormat(format).copy(shown));
}

void WindowPaintTest::partsAtAnOffsetShowTheCanvasThereOnly()
{
    Mainwindow window;
    draw(window);
    const QPoint offset(13, 7);
    const QRegion parts = QRegion(0, 100, 640, 50) + QRect(100, 300, 200, 100) +
                          QRect(600, 460, 100, 100); // partly beyond the canvas

    const QImage image = rendered(window, QImage::Format_RGB32, QSize(700, 500), offset, parts);
    const QImage canvas = canvasImage(window);
    const QPoint origin = offset - parts.boundingRect().topLeft(); // the window's (0, 0)
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QPoint at = QPoint(x, y) - origin;
            const QRgb want = parts.contains(at) && canvas.valid(at) ? canvas.pixel(at) : magenta;
            if (image.pixel(x, y) != want)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, not %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(image.pixel(x, y), 8, 16)
                                     .arg(want, 8, 16)));
        }
    }
}

void WindowPaintTest::scaledPainterShowsEachPixelTwice()
{
    Mainwindow window;
    draw(window);

    QImage image(1280, 960, QImage::Format_RGB32);
    image.fill(magenta);
    {
        QPainter p(&image);
        p.scale(2, 2);
        window.render(&p, QPoint(), shown, QWidget::DrawWindowBackground);
    }
    const QImage canvas = canvasImage(window);
    for (int y = shown.top(); y <= shown.bottom(); ++y) {
        for (int x = shown.left(); x <= shown.right(); ++x) {
            // The region's top left corner goes to the picture's.
            if (image.pixel(2 * x + 1, 2 * (y - shown.top()) + 1) != canvas.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("canvas pixel %1,%2 shows wrong").arg(x).arg(y)));
        }
    }
}

void WindowPaintTest::penSamplesRepaintOnlyTheirInk()
{
    Mainwindow window;
    window.resize(640, 480);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    chooseMenuItem(window, QString::fromUtf8("新規"));
    PaintSpy spy({&window});
    // A control repainted at a sample would be a second damaged area on the panel.
    PaintSpy controls(window.findChildren<QWidget *>());
    for (int size = 0; size < 3; ++size) {
        choose(sizeList(window), size);
        QCoreApplication::processEvents();
        spy.regions.clear();
        controls.regions.clear();
        const int width = size * 3 + 1;
        const QPoint from(100 + 150 * size, 300), to = from + QPoint(9, -6 * size - 1);
        pen(&window, QEvent::MouseButtonPress, from);
        QTRY_VERIFY(!spy.regions.isEmpty());
        // The dot's square, grown by a pixel for the rounding and one back to logical pixels.
        QVERIFY(QRect(from, QSize(width, width))
                    .adjusted(-2, -2, 2, 2)
                    .contains(spy.regions.first().boundingRect()));
        spy.regions.clear();
        pen(&window, QEvent::MouseMove, to);
        QTRY_VERIFY(!spy.regions.isEmpty());
        // The segment's box, grown by the pen's half width and a pixel for the rounding.
        const int reach = size * 3 / 2 + 2 + 1;
        const QRect box = QRect(from, to).normalized();
        QVERIFY(box.adjusted(-reach, -reach, reach, reach)
                    .contains(spy.regions.first().boundingRect()));
        pen(&window, QEvent::MouseButtonRelease, to);
        stroke(&window, {{30 + 200 * size, 470}, {620 - 100 * size, 90}, {600, 475 - size}});
        QCoreApplication::processEvents();
        QCOMPARE(controls.regions.size(), 0);
    }
    QCoreApplication::processEvents();
    // Every changed pixel reached the window: it shows the whole canvas, in device pixels.
    const qreal ratio = window.devicePixelRatioF();
    QImage canvas(QSize(640, 480) * ratio, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    window.render(&canvas, QPoint(), QRegion(0, 0, 640, 480), QWidget::DrawWindowBackground);
    const QRect below(QPoint(0, 70) * ratio, QSize(640, 410) * ratio);
    const QImage shownNow = window.backingStore()->handle()->toImage();
    QImage shownCanvas = shownNow.convertToFormat(QImage::Format_RGB32).copy(below);
    shownCanvas.setDevicePixelRatio(ratio);
    QCOMPARE(shownCanvas, canvas.copy(below));
}

VELLUMIX_TEST_MAIN(WindowPaintTest)
#include "tst_windowpaint.moc"
