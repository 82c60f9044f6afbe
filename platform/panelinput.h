// SPDX-License-Identifier: MIT
#ifndef PANELINPUT_H
#define PANELINPUT_H

#include "panelturn.h"

#include <QtGui/qpa/qwindowsysteminterface_p.h>

#include <memory>

// Puts pen and finger samples where they touch the panel, whatever the platform turns or
// scales. The toolkit's touch and tablet handlers spread a device's axes over the screen
// as they come, so on a turned screen a sample lands as if the panel were not turned; and
// the tablet handler spreads them over the screen's scaled size, which the toolkit then
// scales down once more. Every handler's samples pass here, the user's own included, before
// the toolkit delivers them.
class PanelInput : public QWindowSystemEventHandler
{
public:
    // For the panel under the primary screen: `turn` maps it to the screen in device
    // pixels, which the toolkit shows scaled by the screen's device pixel ratio.
    explicit PanelInput(PanelTurn turn);
    ~PanelInput() override;

    // Where the platform reads the devices itself and shows the panel turned or scaled.
    static std::unique_ptr<PanelInput> start();

    bool sendEvent(QWindowSystemInterfacePrivate::WindowSystemEvent *event) override;

private:
    QPointF onScreen(QPointF spread, QSizeF over) const;

    const PanelTurn turn;
    const qreal ratio;
    // The screen's size in the toolkit's scaled units, which the tablet handler spreads over.
    const QSizeF scaled_size;
};

#endif // PANELINPUT_H
