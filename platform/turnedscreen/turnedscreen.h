// SPDX-License-Identifier: MIT
#ifndef TURNEDSCREEN_H
#define TURNEDSCREEN_H

#include "panelturn.h"

#include <QtFbSupport/private/qfbscreen_p.h>

struct fb_var_screeninfo;

// A Linux framebuffer panel shown turned: the toolkit composes the windows on a screen of the
// turned size, and each composed area is turned on its way into the panel's memory.
class TurnedScreen : public QFbScreen
{
    Q_OBJECT

public:
    // The framebuffer platform's parameters: fb=, tty=, size=, offset=, mmsize=,
    // nographicsmodeswitch and rotation=.
    explicit TurnedScreen(const QStringList &parameters);
    ~TurnedScreen() override;

    bool initialize() override;

    PanelTurn turn() const { return panel_turn; }

    // The framebuffer's layout as a picture format the turned copy takes pixel by pixel, or
    // Format_Invalid.
    static QImage::Format pictureFormat(const fb_var_screeninfo &info);
    // The visible part of the framebuffer the user asked for: all of it, or size= at offset=,
    // centred when no offset is given; both within the visible resolution.
    static QRect usedArea(const fb_var_screeninfo &info, QRect asked);

protected:
    QRegion doRedraw() override;

private:
    bool openPanel(const QString &device, QRect area, QSize millimetres, int rotation);
    void enterGraphicsMode(const QString &device, bool switchMode);

    const QStringList parameters;
    PanelTurn panel_turn{0, QSize()};
    int fb_fd = -1;
    uchar *mapped = nullptr;
    size_t mapped_size = 0;
    uchar *panel = nullptr;
    qsizetype panel_stride = 0;
    int tty_fd = -1;
    int tty_mode = 0;
    bool tty_switched = false;
};

#endif // TURNEDSCREEN_H
