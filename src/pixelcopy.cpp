// SPDX-License-Identifier: MIT
#include "pixelcopy.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>

#include <cstring>

namespace {

// True where an opaque pixel of the first format is the same bytes in the second.
bool samePixels(QImage::Format from, QImage::Format to)
{
    if (from == to)
        return true;
    return from == QImage::Format_RGB32 &&
           (to == QImage::Format_ARGB32 || to == QImage::Format_ARGB32_Premultiplied);
}

} // namespace

bool copyPixels(QPainter &p, const QPixmap &pixmap)
{
    QPaintEngine *engine = p.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
        engine->paintDevice()->devType() != QInternal::Image || p.hasClipping() ||
        p.opacity() != 1.0)
        return false;
    auto *target = static_cast<QImage *>(engine->paintDevice());
    // On a scaled screen the painter scales by the ratio both pictures share: their device
    // pixels are still alike, only the offset counts.
    const qreal ratio = target->devicePixelRatio();
    const QTransform transform = p.deviceTransform();
    const QPoint offset(qRound(transform.dx()), qRound(transform.dy()));
    if (pixmap.devicePixelRatio() != ratio ||
        transform != QTransform(ratio, 0, 0, ratio, offset.x(), offset.y()))
        return false;
    const QImage source = pixmap.toImage(); // the pixmap's own pixels, shared, not copied
    if (!samePixels(source.format(), target->format()) || source.depth() % 8 != 0)
        return false;

    QRegion area = engine->systemClip();
    if (area.isEmpty())
        area = target->rect();
    area &= QRect(offset, source.size()) & target->rect();
    const int bytesPerPixel = source.depth() / 8;
    for (const QRect &rect : area) {
        const uchar *from = source.constScanLine(rect.top() - offset.y()) +
                            (rect.left() - offset.x()) * bytesPerPixel;
        uchar *to = target->scanLine(rect.top()) + rect.left() * bytesPerPixel;
        const qsizetype rowBytes = qsizetype(rect.width()) * bytesPerPixel;
        if (rowBytes == source.bytesPerLine() && rowBytes == target->bytesPerLine()) {
            std::memcpy(to, from, size_t(rowBytes) * size_t(rect.height()));
            continue;
        }
        for (int row = 0; row < rect.height(); ++row)
            std::memcpy(to + row * target->bytesPerLine(), from + row * source.bytesPerLine(),
                        size_t(rowBytes));
    }
    return true;
}
