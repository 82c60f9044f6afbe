// SPDX-License-Identifier: MIT
#include "turnedcopy.h"

#include <QImage>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// A quarter turn goes through tiles of one 16-byte vector of source pixels across and as many
// rows down, 4 x 4 pixels at 32 bits and 8 x 8 at 16. Interleaving a tile's rows into a local
// array is a pattern GCC vectorises at -O2 as a transpose (interleaving shuffles on SSE2, zip
// or ST4 on NEON) with no aliasing checks; the vectorised loop runs once, so the array goes
// away and each transposed vector is stored straight into its panel row.
constexpr int vectorBytes = 16;
// Tiles go in blocks of this many source pixels square, a block's tiles column by column, so
// that the source lines read and the panel lines written stay in the first-level cache until
// every pixel of them is used: along a whole row or column they would be evicted in between.
constexpr int blockSize = 64;

template <typename Pixel, std::size_t... Index>
inline void turnTile(const uchar *first, qsizetype rowStep, uchar *panel, qsizetype columnStep,
                     std::index_sequence<Index...>)
{
    constexpr int size = sizeof...(Index);
    Pixel tile[size * size];
    const Pixel *rows[] = {reinterpret_cast<const Pixel *>(first + qsizetype(Index) * rowStep)...};
    // Kept rolled for -O3, which would otherwise unroll it before the loop vectoriser sees it,
    // leaving it to the straight-line one, which makes it twice as slow at 16 bits.
#pragma GCC unroll 1
    for (int x = 0; x < size; ++x)
        ((tile[x * size + int(Index)] = rows[Index][x]), ...);
    (std::memcpy(panel + qsizetype(Index) * columnStep, tile + Index * size, vectorBytes), ...);
}

// Reverses a vector's worth of pixels in 32-bit units, as SSE2 has no shuffle of 16-bit lanes
// across a vector; the two 16-bit pixels of a unit are then swapped by a rotation.
template <typename Pixel, std::size_t... Index>
inline void reverseChunk(const uchar *source, uchar *panel, std::index_sequence<Index...>)
{
    quint32 units[sizeof...(Index)];
    std::memcpy(units, source, sizeof units);
    const int swap = sizeof(Pixel) == 2 ? 16 : 0;
    const quint32 reversed[] = {quint32(units[sizeof...(Index) - 1 - Index] << swap |
                                        units[sizeof...(Index) - 1 - Index] >> swap)...};
    std::memcpy(panel, reversed, sizeof reversed);
}

struct Turn
{
    const uchar *source;
    qsizetype sourceStride;
    uchar *origin;          // where source pixel (0, 0) lands
    qsizetype xStep, yStep; // panel bytes from a source pixel to its right and lower neighbour

    uchar *target(int x, int y) const { return origin + x * xStep + y * yStep; }
    const uchar *from(int x, int y, int bytes) const
    {
        return source + y * sourceStride + qsizetype(x) * bytes;
    }

    template <typename Pixel> void pixels(const QRect &r) const
    {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const uchar *in = from(r.left(), y, sizeof(Pixel));
            uchar *out = target(r.left(), y);
            for (int x = 0; x < r.width(); ++x, in += sizeof(Pixel), out += xStep)
                std::memcpy(out, in, sizeof(Pixel));
        }
    }

    template <typename Pixel> void straight(const QRect &r) const
    {
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memcpy(target(r.left(), y), from(r.left(), y, sizeof(Pixel)),
                        size_t(r.width()) * sizeof(Pixel));
    }

    template <typename Pixel> void reversed(const QRect &r) const
    {
        constexpr int chunk = vectorBytes / sizeof(Pixel);
        const int whole = r.width() / chunk * chunk;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x < r.left() + whole; x += chunk)
                reverseChunk<Pixel>(from(x, y, sizeof(Pixel)), target(x + chunk - 1, y),
                                    std::make_index_sequence<vectorBytes / 4>());
        }
        pixels<Pixel>(QRect(r.left() + whole, r.top(), r.width() - whole, r.height()));
    }

    template <typename Pixel> void quarter(const QRect &r) const
    {
        constexpr int size = vectorBytes / sizeof(Pixel);
        const int right = r.left() + r.width() / size * size;
        const int bottom = r.top() + r.height() / size * size;
        // A tile's rows in the order their pixels take in a panel row: upwards for 270.
        const bool down = yStep > 0;
        const qsizetype rowStep = down ? sourceStride : -sourceStride;
        const int firstRow = down ? 0 : size - 1;
        for (int top = r.top(); top < bottom; top += blockSize) {
            const int blockBottom = std::min(top + blockSize, bottom);
            for (int left = r.left(); left < right; left += blockSize) {
                const int blockRight = std::min(left + blockSize, right);
                for (int x = left; x < blockRight; x += size) {
                    for (int y = top + firstRow; y < blockBottom; y += size)
                        turnTile<Pixel>(from(x, y, sizeof(Pixel)), rowStep, target(x, y), xStep,
                                        std::make_index_sequence<size>());
                }
            }
        }
        pixels<Pixel>(QRect(right, r.top(), r.left() + r.width() - right, r.height()));
        pixels<Pixel>(QRect(r.left(), bottom, right - r.left(), r.top() + r.height() - bottom));
    }

    template <typename Pixel> void run(const QRect &r, qsizetype pixel, qsizetype row) const
    {
        if (xStep == pixel && yStep == row)
            straight<Pixel>(r);
        else if (xStep == -pixel && yStep == -row)
            reversed<Pixel>(r);
        else
            quarter<Pixel>(r);
    }
};

} // namespace

void turnedCopy(const QImage &source, const QRect &rect, uchar *panel, qsizetype panelStride,
                const PanelTurn &turn)
{
    const QRect r = rect & source.rect();
    const int bytes = source.depth() / 8;
    if (r.isEmpty() || !panel || (bytes != 2 && bytes != 4) || source.size() != turn.screenSize())
        return;
    // Where the turn puts the screen's first pixel and its neighbours to the right and below.
    const QPoint origin = turn.toPanel(QPointF(0, 0)).toPoint();
    const QPoint right = turn.toPanel(QPointF(1, 0)).toPoint() - origin;
    const QPoint down = turn.toPanel(QPointF(0, 1)).toPoint() - origin;
    const auto offset = [&](QPoint p) { return p.x() * qsizetype(bytes) + p.y() * panelStride; };
    const Turn copy{source.constBits(), source.bytesPerLine(), panel + offset(origin),
                    offset(right), offset(down)};
    if (bytes == 2)
        copy.run<quint16>(r, bytes, panelStride);
    else
        copy.run<quint32>(r, bytes, panelStride);
}
