// SPDX-License-Identifier: MIT
#include "rfbclient.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace {

enum ClientMessage : quint8 {
    SetPixelFormat = 0,
    SetEncodings = 2,
    UpdateRequest = 3,
    Pointer = 5
};
enum ServerMessage : quint8 { FramebufferUpdate = 0 };
const quint32 noSecurity = 1;
const qint32 rawEncoding = 0;

} // namespace

bool RfbClient::connectTo(quint16 port, int timeout)
{
    const QDeadlineTimer deadline(timeout);
    while (!deadline.hasExpired()) {
        socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (socket.waitForConnected(1000))
            return handshake(int(deadline.remainingTime()));
        socket.abort();
        QThread::msleep(100);
    }
    return false;
}

QByteArray RfbClient::read(qint64 size, int timeout)
{
    const QDeadlineTimer deadline(timeout);
    QByteArray data;
    while (data.size() < size) {
        if (!socket.bytesAvailable()) {
            QEventLoop loop;
            QObject::connect(&socket, &QIODevice::readyRead, &loop, &QEventLoop::quit);
            QTimer::singleShot(int(deadline.remainingTime()), &loop, &QEventLoop::quit);
            loop.exec();
            if (!socket.bytesAvailable())
                return {};
        }
        data += socket.read(size - data.size());
    }
    return data;
}

bool RfbClient::handshake(int timeout)
{
    if (!read(12, timeout).startsWith("RFB 003."))
        return false;
    socket.write("RFB 003.003\n");
    quint32 security = 0;
    QDataStream(read(4, timeout)) >> security;
    if (security != noSecurity)
        return false;
    socket.write("\x01", 1); // shared
    const QByteArray init = read(24, timeout);
    if (init.size() != 24)
        return false;
    QDataStream in(init);
    quint16 width = 0, height = 0;
    quint8 bitsPerPixel = 0;
    quint32 nameLength = 0;
    in >> width >> height >> bitsPerPixel;
    in.skipRawData(15); // the rest of the server's pixel format
    in >> nameLength;
    read(nameLength, timeout);

    // Qt's server needs a pixel format from its client. Its 16-bit screen is taken as RGB565,
    // as it is kept, anything else as 32 bits, red at bit 16: QImage's RGB32 in memory.
    const bool rgb565 = bitsPerPixel == 16;
    frame = QImage(width, height, rgb565 ? QImage::Format_RGB16 : QImage::Format_RGB32);
    const quint8 bits = rgb565 ? 16 : 32;
    const quint16 greenMax = rgb565 ? 63 : 255, redBlueMax = rgb565 ? 31 : 255;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << quint8(SetPixelFormat) << quint8(0) << quint16(0) << bits << quint8(rgb565 ? 16 : 24)
        << quint8(0) << quint8(1) << redBlueMax << greenMax << redBlueMax
        << quint8(rgb565 ? 11 : 16) << quint8(rgb565 ? 5 : 8) << quint8(0) << quint8(0)
        << quint16(0);
    out << quint8(SetEncodings) << quint8(0) << quint16(1) << rawEncoding;
    socket.write(message);
    return socket.waitForBytesWritten(timeout);
}

void RfbClient::request(bool incremental)
{
    QByteArray request;
    QDataStream(&request, QIODevice::WriteOnly)
        << quint8(UpdateRequest) << quint8(incremental) << quint16(0) << quint16(0)
        << quint16(frame.width()) << quint16(frame.height());
    socket.write(request);
    socket.flush();
}

void RfbClient::requestChange()
{
    request(true);
}

bool RfbClient::refresh(int timeout)
{
    request(false);
    return receive(timeout);
}

bool RfbClient::receive(int timeout)
{
    const QByteArray header = read(4, timeout);
    if (header.size() != 4)
        return false;
    quint8 type = 0, padding = 0;
    quint16 rectangles = 0;
    QDataStream(header) >> type >> padding >> rectangles;
    if (type != FramebufferUpdate)
        return false;
    for (int i = 0; i < rectangles; ++i) {
        const QByteArray place = read(12, timeout);
        if (place.size() != 12)
            return false;
        quint16 x = 0, y = 0, width = 0, height = 0;
        qint32 encoding = -1;
        QDataStream(place) >> x >> y >> width >> height >> encoding;
        const int depth = frame.depth() / 8;
        const qint64 size = qint64(width) * height * depth;
        const QByteArray pixels = read(size, timeout);
        if (encoding != rawEncoding || pixels.size() != size || x + width > frame.width() ||
            y + height > frame.height())
            return false;
        for (int row = 0; row < height; ++row)
            memcpy(frame.scanLine(y + row) + x * depth, pixels.constData() + row * width * depth,
                   width * depth);
        pixelsReceived += qint64(width) * height;
    }
    return true;
}

void RfbClient::pen(QPoint position, bool down)
{
    QByteArray event;
    QDataStream(&event, QIODevice::WriteOnly)
        << quint8(Pointer) << quint8(down ? 1 : 0) << quint16(qMax(0, position.x()))
        << quint16(qMax(0, position.y()));
    socket.write(event);
    socket.flush();
}

void RfbClient::tap(QPoint position)
{
    stroke({position});
}

void RfbClient::stroke(const QList<QPoint> &points)
{
    pen(points.first(), false);
    for (const QPoint &point : points)
        pen(point, true);
    pen(points.last(), false);
}
