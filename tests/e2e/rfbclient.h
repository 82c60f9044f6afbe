// SPDX-License-Identifier: MIT
#ifndef RFBCLIENT_H
#define RFBCLIENT_H

#include <QImage>
#include <QList>
#include <QPoint>
#include <QTcpSocket>

// Just enough of the remote framebuffer protocol (version 3.3, no security, raw pixels)
// to see a VNC screen and to touch it with a pen: the pointer's first button.
class RfbClient
{
public:
    // Keeps trying until the server answers or the time is up.
    bool connectTo(quint16 port, int timeout);
    // Asks for the whole screen and waits for it.
    bool refresh(int timeout);
    const QImage &screen() const { return frame; }

    void pen(QPoint position, bool down);
    void tap(QPoint position);
    // Down at the first point, through the others, up at the last.
    void stroke(const QList<QPoint> &points);

private:
    bool handshake(int timeout);
    QByteArray read(qint64 size, int timeout);

    QTcpSocket socket;
    QImage frame;
};

#endif // RFBCLIENT_H
