// SPDX-License-Identifier: MIT
#ifndef TURNEDINPUT_H
#define TURNEDINPUT_H

#include "panelturn.h"

#include <QtGui/qpa/qwindowsysteminterface_p.h>

// Puts pen and finger positions where they touch a turned panel. The toolkit's touch and
// tablet handlers spread a device's axes over the screen as they come, so on a turned screen
// a sample lands as if the panel were not turned. Every handler's samples pass here, the
// user's own included, before the toolkit delivers them.
class TurnedInput : public QWindowSystemEventHandler
{
public:
    explicit TurnedInput(PanelTurn turn);
    ~TurnedInput() override;

    bool sendEvent(QWindowSystemInterfacePrivate::WindowSystemEvent *event) override;

private:
    QPointF turned(QPointF spread) const;

    const PanelTurn turn;
};

#endif // TURNEDINPUT_H
