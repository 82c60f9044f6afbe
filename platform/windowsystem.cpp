// SPDX-License-Identifier: MIT
#include "windowsystem.h"

#include "turnedintegration.h"

#include <QApplication>
#include <QStringList>
#include <QWidget>

namespace WindowSystem {

bool onFramebuffer()
{
    static const QStringList framebuffers = {
        QStringLiteral("linuxfb"),      QStringLiteral("eglfs"),
        QStringLiteral("vkkhrdisplay"), QStringLiteral("bsdfb"),
        QStringLiteral("directfb"),     QLatin1String(TurnedIntegration::name)};
    return framebuffers.contains(QGuiApplication::platformName());
}

bool lacksWindowManager()
{
    // The headless platforms compose the windows themselves too. On X a window manager may
    // start or stop at any moment, so X is left to its own.
    static const QStringList headless = {QStringLiteral("vnc"), QStringLiteral("offscreen"),
                                         QStringLiteral("minimal"), QStringLiteral("minimalegl")};
    return onFramebuffer() || headless.contains(QGuiApplication::platformName());
}

bool turnsTabletIntoMouse()
{
    // Qt leaves the conversion to the plugin; only the desktop plugins do it (xcb with
    // XInput 2, wayland, and the Windows and macOS ones), evdev-fed platforms do not.
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("xcb") || name.startsWith(QLatin1String("wayland")) ||
           name == QLatin1String("windows") || name == QLatin1String("cocoa");
}

// The framebuffer platforms recompose the place a window left only when the window paints
// again, and only its last place: a window that moves twice in between, or is moved without
// repainting (a dragged palette), leaves the rest to the windows below. A window repaints
// an area without its opaque controls, so each control repaints its own part.
void repaintUncovered(const QWidget *moved, const QRect &left)
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window == moved || !window->isVisible())
            continue;
        QList<QWidget *> widgets = window->findChildren<QWidget *>();
        widgets.prepend(window);
        for (QWidget *widget : std::as_const(widgets)) {
            if (widget->isVisible() && (widget == window || !widget->isWindow()))
                widget->update(QRect(widget->mapFromGlobal(left.topLeft()), left.size()));
        }
    }
}

} // namespace WindowSystem
