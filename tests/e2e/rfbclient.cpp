// SPDX-License-Identifier: MIT
#include "rfbclient.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QThread>
#include <QtEndian>

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
        if (!socket.bytesAvailable() && !socket.waitForReadyRead(int(deadline.remainingTime())))
            return {};
        data += socket.read(size - data.size());
    }
    return data;
}

bool RfbClient::handshake(int timeout)
{
    if (!read(12, timeout).startsWith("RFB 003."))
        return false;
    socket.write("RFB 003.003\n");
    if (qFromBigEndian<quint32>(read(4, timeout).constData()) != noSecurity)
        return false;
    socket.write("\x01", 1); // shared
    const QByteArray init = read(24, timeout);
    if (init.size() != 24)
        return false;
    read(qFromBigEndian<quint32>(init.constData() + 20), timeout); // the desktop's name
    frame = QImage(qFromBigEndian<quint16>(init.constData()),
                   qFromBigEndian<quint16>(init.constData() + 2), QImage::Format_RGB32);

    // 32 bits little-endian true colour, red at bit 16: QImage's RGB32 in memory.
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << quint8(SetPixelFormat) << quint8(0) << quint16(0) << quint8(32) << quint8(24)
        << quint8(0) << quint8(1) << quint16(255) << quint16(255) << quint16(255) << quint8(16)
        << quint8(8) << quint8(0) << quint8(0) << quint16(0);
    out << quint8(SetEncodings) << quint8(0) << quint16(1) << rawEncoding;
    socket.write(message);
    return socket.waitForBytesWritten(timeout);
}

bool RfbClient::refresh(int timeout)
{
    QByteArray request;
    QDataStream(&request, QIODevice::WriteOnly)
        << quint8(UpdateRequest) << quint8(0) << quint16(0) << quint16(0) << quint16(frame.width())
        << quint16(frame.height());
    socket.write(request);
    const QByteArray header = read(4, timeout);
    if (header.size() != 4 || quint8(header[0]) != FramebufferUpdate)
        return false;
    const int rectangles = qFromBigEndian<quint16>(header.constData() + 2);
    for (int i = 0; i < rectangles; ++i) {
        const QByteArray place = read(12, timeout);
        if (place.size() != 12 || qFromBigEndian<qint32>(place.constData() + 8) != rawEncoding)
            return false;
        const int x = qFromBigEndian<quint16>(place.constData());
        const int y = qFromBigEndian<quint16>(place.constData() + 2);
        const int width = qFromBigEndian<quint16>(place.constData() + 4);
        const int height = qFromBigEndian<quint16>(place.constData() + 6);
        const QByteArray pixels = read(qint64(width) * height * 4, timeout);
        if (pixels.size() != qint64(width) * height * 4 || x + width > frame.width() ||
            y + height > frame.height())
            return false;
        for (int row = 0; row < height; ++row)
            memcpy(frame.scanLine(y + row) + x * 4, pixels.constData() + row * width * 4,
                   width * 4);
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
