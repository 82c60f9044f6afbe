// SPDX-License-Identifier: MIT
#include "turnedinput.h"

#include <QtGui/private/qeventpoint_p.h>

using Events = QWindowSystemInterfacePrivate;

TurnedInput::TurnedInput(PanelTurn turn) : turn(turn)
{
    Events::installWindowSystemEventHandler(this);
}

TurnedInput::~TurnedInput()
{
    Events::removeWindowSystemEventhandler(this);
}

bool TurnedInput::sendEvent(Events::WindowSystemEvent *event)
{
    if (event->type == Events::Touch) {
        auto *touch = static_cast<Events::TouchEvent *>(event);
        for (QEventPoint &point : touch->points) {
            const QPointF position = turned(point.globalPosition());
            QMutableEventPoint::setGlobalPosition(point, position);
            QMutableEventPoint::setScenePosition(point, position);
        }
    } else if (event->type == Events::Tablet) {
        auto *tablet = static_cast<Events::TabletEvent *>(event);
        tablet->global = turned(tablet->global);
        if (tablet->window)
            tablet->local = tablet->window->mapFromGlobal(tablet->global);
    }
    return QWindowSystemEventHandler::sendEvent(event);
}

// The handlers spread the panel's axes over the turned screen: undo the spread, then turn.
QPointF TurnedInput::turned(QPointF spread) const
{
    const QSizeF panel = turn.panelSize();
    const QSizeF size = turn.screenSize();
    const QPointF onPanel(spread.x() * panel.width() / size.width(),
                          spread.y() * panel.height() / size.height());
    return turn.toScreen(onPanel);
}
