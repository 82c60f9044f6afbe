// SPDX-License-Identifier: MIT
#ifndef RFBCLIENT_H
#define RFBCLIENT_H

#include <QImage>
#include <QList>
#include <QPoint>
#include <QTcpSocket>

// Just enough of the remote framebuffer protocol (version 3.3, no security, raw pixels)
// to see a VNC screen and to touch it with a pen: the pointer's first button. It waits for
// the server in a local event loop, so the server may run in the same thread.
class RfbClient
{
public:
    // Keeps trying until the server answers or the time is up.
    bool connectTo(quint16 port, int timeout);
    // Asks for the whole screen and waits for it.
    bool refresh(int timeout);
    // Asks for the next change of the screen; receive() waits for it.
    void requestChange();
    bool receive(int timeout);
    const QImage &screen() const { return frame; }
    // The pixels the server has sent so far: what a change of the screen cost it.
    qint64 receivedPixels() const { return pixelsReceived; }

    void pen(QPoint position, bool down);
    void tap(QPoint position);
    // Down at the first point, through the others, up at the last.
    void stroke(const QList<QPoint> &points);

private:
    bool handshake(int timeout);
    void request(bool incremental);
    QByteArray read(qint64 size, int timeout);

    QTcpSocket socket;
    QImage frame;
    qint64 pixelsReceived = 0;
};

#endif // RFBCLIENT_H
