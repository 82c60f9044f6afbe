// SPDX-License-Identifier: MIT
#include "panelinput.h"

#include "turnedplatform.h"
#include "turnedscreen.h"
#include "windowsystem.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtGui/private/qeventpoint_p.h>

using Events = QWindowSystemInterfacePrivate;

namespace {

// The panel under the screen, as the platform turns it onto the screen.
PanelTurn panelUnder(const QScreen *screen)
{
    const QPlatformScreen *platform = screen->handle();
    if (const auto *turned = dynamic_cast<const TurnedScreen *>(platform))
        return turned->turn();
    int rotation = 0;
    // By now the variable holds a value eglfs understands.
    if (QGuiApplication::platformName() == QLatin1String("eglfs"))
        rotation = qMax(0, TurnedPlatform::turnOf(qgetenv("QT_QPA_EGLFS_ROTATION")));
    const QSize shown = platform->geometry().size();
    return PanelTurn(rotation, rotation % 180 ? shown.transposed() : shown);
}

} // namespace

PanelInput::PanelInput(PanelTurn turn)
    : turn(turn), ratio(QGuiApplication::primaryScreen()->devicePixelRatio()),
      scaled_size(QGuiApplication::primaryScreen()->geometry().size())
{
    Events::installWindowSystemEventHandler(this);
}

PanelInput::~PanelInput()
{
    Events::removeWindowSystemEventhandler(this);
}

std::unique_ptr<PanelInput> PanelInput::start()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!WindowSystem::onFramebuffer() || !screen)
        return nullptr;
    const PanelTurn turn = panelUnder(screen);
    if (!turn.isTurned() && screen->devicePixelRatio() == 1)
        return nullptr;
    return std::make_unique<PanelInput>(turn);
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
