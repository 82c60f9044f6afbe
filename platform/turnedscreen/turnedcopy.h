// SPDX-License-Identifier: MIT
#ifndef TURNEDCOPY_H
#define TURNEDCOPY_H

#include <QtGlobal>

class QImage;
class QRect;

// Copies `rect` (in the turned screen's coordinates, inside source.rect()) of the turned
// screen's picture into the panel's memory, turned by `rotation` degrees (0, 90, 180 or 270;
// 90 turns the picture counter-clockwise, its top edge along the panel's left edge).
// `panel` points at the panel's top-left pixel, `panelStride` is its bytes per row; the
// panel's pixel format is the source's (2 or 4 bytes a pixel). The panel is source.height()
// wide and source.width() high for 90 and 270, source's size for 0 and 180. Only the pixels
// of `rect` are written; another rotation, or another pixel size, writes nothing.
void turnedCopy(const QImage &source, const QRect &rect, uchar *panel, qsizetype panelStride,
                int rotation);

#endif // TURNEDCOPY_H
