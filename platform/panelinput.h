// SPDX-License-Identifier: MIT
#ifndef PANELINPUT_H
#define PANELINPUT_H

#include "panelturn.h"

#include <QtGui/qpa/qwindowsysteminterface_p.h>

#include <memory>

class QScreen;

// Puts pen and finger samples where they touch the panel, whatever the platform turns or
// scales. The toolkit's touch and tablet handlers spread a device's axes over the screen
// as they come, so on a turned screen a sample lands as if the panel were not turned; and
// the tablet handler spreads them over the screen's scaled size, which the toolkit then
// scales down once more. Every handler's samples pass here, the user's own included, before
// the toolkit delivers them.
class PanelInput : public QWindowSystemEventHandler
{
public:
    ~PanelInput() override;

    // Where the platform reads the devices itself and shows the panel turned or scaled.
    static std::unique_ptr<PanelInput> start();

    // Takes the toolkit's one slot for such a handler, for the panel under `screen` that
    // `turn` maps to the screen in device pixels. Says so, and returns null, when another
    // handler holds it: the toolkit would silently keep that one.
    static std::unique_ptr<PanelInput> install(PanelTurn turn, const QScreen &screen);

    bool sendEvent(QWindowSystemInterfacePrivate::WindowSystemEvent *event) override;

private:
    PanelInput(PanelTurn turn, const QScreen &screen);

    QPointF onScreen(QPointF spread, QSizeF over) const;

    const PanelTurn turn;
    // The toolkit shows the screen's device pixels scaled by this ratio.
    const qreal ratio;
    // The screen's size in the toolkit's scaled units, which the tablet handler spreads over.
    const QSizeF scaled_size;
};

#endif // PANELINPUT_H
