// SPDX-License-Identifier: MIT
#ifndef TURNEDCOPY_H
#define TURNEDCOPY_H

#include "panelturn.h"

#include <QtGlobal>

class QImage;
class QRect;

// Copies `rect` (in the turned screen's coordinates, inside source.rect()) of the turned
// screen's picture into the panel's memory, each pixel to where `turn` puts it on the panel.
// `panel` points at the panel's top-left pixel, `panelStride` is its bytes per row; the
// panel's pixel format is the source's (2 or 4 bytes a pixel). Only the pixels of `rect` are
// written; a source of another size than the turn's screen, or of another pixel size,
// writes nothing.
void turnedCopy(const QImage &source, const QRect &rect, uchar *panel, qsizetype panelStride,
                const PanelTurn &turn);

#endif // TURNEDCOPY_H
