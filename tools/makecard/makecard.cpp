// SPDX-License-Identifier: MIT
// Draws the sample memory card: thirteen 24 x 24 toolbar icons and a 217 x 172 palette.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

const QColor ink(40, 40, 40);

bool saveIcon(const QDir &dir, const char *name, const std::function<void(QPainter &)> &draw)
{
    QImage icon(24, 24, QImage::Format_RGB32);
    icon.fill(Qt::white);
    {
        QPainter p(&icon);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        draw(p);
    }
    return icon.save(dir.filePath(QLatin1String(name)), "JPEG", 95);
}

void drawEraser(QPainter &p, const QRectF &body)
{
    p.setBrush(QColor(240, 150, 170));
    p.drawRect(body);
    p.setBrush(QColor(90, 120, 220));
    p.drawRect(QRectF(body.left(), body.top(), body.width() / 3, body.height()));
}

void drawWidthSample(QPainter &p, int width)
{
    p.setPen(QPen(ink, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(3, 12), QPointF(21, 12));
}

// Hue across, lightness down (white at the top, black at the bottom), a grey row below.
QImage palette()
{
    const int width = 217, height = 172, greyRows = 20, field = height - greyRows;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < field; ++y) {
        const double lightness = 1.0 - double(y) / (field - 1);
        for (int x = 0; x < width; ++x) {
            const double hue = double(x) / width;
            image.setPixel(x, y, QColor::fromHslF(float(hue), 1.0f, float(lightness)).rgb());
        }
    }
    for (int x = 0; x < width; ++x) {
        const int grey = x * 255 / (width - 1);
        for (int y = field; y < height; ++y)
            image.setPixel(x, y, qRgb(grey, grey, grey));
    }
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: makecard FOLDER\n");
        return 2;
    }
    QDir dir;
    if (!dir.mkpath(QString::fromLocal8Bit(argv[1])) || !dir.cd(QString::fromLocal8Bit(argv[1])))
        return 1;

    bool ok = true;
    ok &= saveIcon(dir, "fm_pen.jpg", [](QPainter &p) {
        QPainterPath body;
        body.moveTo(4, 20);
        body.lineTo(6, 14);
        body.lineTo(17, 3);
        body.lineTo(21, 7);
        body.lineTo(10, 18);
        body.closeSubpath();
        p.setBrush(QColor(250, 210, 80));
        p.drawPath(body);
    });
    ok &= saveIcon(dir, "fm_line.jpg", [](QPainter &p) { p.drawLine(4, 20, 20, 4); });
    ok &= saveIcon(dir, "fm_rightangle.jpg", [](QPainter &p) {
        p.drawPolyline(QPolygon({{5, 4}, {5, 19}, {20, 19}}));
    });
    ok &= saveIcon(dir, "fm_rectangle.jpg", [](QPainter &p) { p.drawRect(4, 6, 16, 12); });
    ok &= saveIcon(dir, "fm_paintrectangle.jpg", [](QPainter &p) {
        p.setBrush(QColor(80, 140, 220));
        p.drawRect(4, 6, 16, 12);
    });
    ok &= saveIcon(dir, "fm_eraser.jpg", [](QPainter &p) { drawEraser(p, QRectF(3, 7, 18, 10)); });
    ok &= saveIcon(dir, "fm_stamp.jpg", [](QPainter &p) {
        p.setBrush(QColor(200, 60, 60));
        p.drawEllipse(QRectF(8, 2, 8, 8));
        p.drawRect(QRectF(10, 10, 4, 5));
        p.drawRect(QRectF(4, 15, 16, 5));
    });
    ok &= saveIcon(dir, "fm_range.jpg", [](QPainter &p) {
        p.setPen(QPen(ink, 1.5, Qt::DashLine));
        p.drawRect(QRectF(4, 5, 16, 14));
    });
    ok &= saveIcon(dir, "fm_thickline.jpg", [](QPainter &p) { drawWidthSample(p, 7); });
    ok &= saveIcon(dir, "fm_normalline.jpg", [](QPainter &p) { drawWidthSample(p, 4); });
    ok &= saveIcon(dir, "fm_thinline.jpg", [](QPainter &p) { drawWidthSample(p, 1); });
    ok &= saveIcon(dir, "fm_paint.jpg", [](QPainter &p) {
        QPainterPath drop;
        drop.moveTo(12, 3);
        drop.cubicTo(18, 11, 19, 14, 19, 15);
        drop.arcTo(QRectF(5, 8, 14, 14), 0, -180);
        drop.cubicTo(5, 14, 6, 11, 12, 3);
        p.setBrush(QColor(60, 120, 230));
        p.drawPath(drop);
    });
    ok &=
        saveIcon(dir, "fm_minieraser.jpg", [](QPainter &p) { drawEraser(p, QRectF(7, 9, 10, 6)); });
    ok &= palette().save(dir.filePath(QStringLiteral("color.bmp")), "BMP");
    return ok ? 0 : 1;
}
