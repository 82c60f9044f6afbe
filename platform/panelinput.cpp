// SPDX-License-Identifier: MIT
#include "panelinput.h"

#include "turnedplatform.h"
#include "windowsystem.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtGui/private/qeventpoint_p.h>

using Events = QWindowSystemInterfacePrivate;

PanelInput::PanelInput(PanelTurn turn, const QScreen &screen)
    : turn(turn), ratio(screen.devicePixelRatio()), scaled_size(screen.geometry().size())
{}

PanelInput::~PanelInput()
{
    Events::removeWindowSystemEventhandler(this);
}

std::unique_ptr<PanelInput> PanelInput::start()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!WindowSystem::onFramebuffer() || !screen)
        return nullptr;
    const PanelTurn turn = TurnedPlatform::panelUnder(screen);
    if (!turn.isTurned() && screen->devicePixelRatio() == 1)
        return nullptr;
    return install(turn, *screen);
}

std::unique_ptr<PanelInput> PanelInput::install(PanelTurn turn, const QScreen &screen)
{
    if (Events::eventHandler) {
        qWarning("Pen and touch may land away from their tips: another handler already "
                 "takes the window system's events");
        return nullptr;
    }
    std::unique_ptr<PanelInput> input(new PanelInput(turn, screen));
    Events::installWindowSystemEventHandler(input.get());
    return input;
}

bool PanelInput::sendEvent(Events::WindowSystemEvent *event)
{
    if (event->type == Events::Touch) {
        // The touch handlers spread over the screen in device pixels.
        auto *touch = static_cast<Events::TouchEvent *>(event);
        const QSizeF devicePixels = turn.screenSize();
        for (QEventPoint &point : touch->points) {
            const QPointF position = onScreen(point.globalPosition() * ratio, devicePixels);
            QMutableEventPoint::setGlobalPosition(point, position);
            QMutableEventPoint::setScenePosition(point, position);
        }
    } else if (event->type == Events::Tablet) {
        auto *tablet = static_cast<Events::TabletEvent *>(event);
        tablet->global = onScreen(tablet->global * ratio, scaled_size);
        if (tablet->window)
            tablet->local = tablet->window->mapFromGlobal(tablet->global);
    }
    return QWindowSystemEventHandler::sendEvent(event);
}

// `spread` is the sample as the handler spread the panel's axes over a screen of size `over`:
// undo the spread, turn the panel's point onto the screen, and scale it as the toolkit does.
QPointF PanelInput::onScreen(QPointF spread, QSizeF over) const
{
    const QSizeF panel = turn.panelSize();
    const QPointF onPanel(spread.x() * panel.width() / over.width(),
                          spread.y() * panel.height() / over.height());
    return turn.toScreen(onPanel) / ratio;
}
