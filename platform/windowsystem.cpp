// SPDX-License-Identifier: MIT
#include "windowsystem.h"

#include <QGuiApplication>
#include <QStringList>

namespace WindowSystem {

bool lacksWindowManager()
{
    // The framebuffer and headless platforms compose the windows themselves. On X a
    // window manager may start or stop at any moment, so X is left to its own.
    static const QStringList bare = {
        QStringLiteral("linuxfb"),      QStringLiteral("eglfs"),   QStringLiteral("vnc"),
        QStringLiteral("offscreen"),    QStringLiteral("minimal"), QStringLiteral("minimalegl"),
        QStringLiteral("vkkhrdisplay"), QStringLiteral("bsdfb"),   QStringLiteral("directfb")};
    return bare.contains(QGuiApplication::platformName());
}

bool turnsTabletIntoMouse()
{
    // Qt leaves the conversion to the plugin; only the desktop plugins do it (xcb with
    // XInput 2, wayland, and the Windows and macOS ones), evdev-fed platforms do not.
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("xcb") || name.startsWith(QLatin1String("wayland")) ||
           name == QLatin1String("windows") || name == QLatin1String("cocoa");
}

} // namespace WindowSystem
