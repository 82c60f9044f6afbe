// SPDX-License-Identifier: MIT
#include "turnedplatform.h"

#include "toolkitoptions.h"
#include "turnedintegration.h"
#include "turnedscreen.h"

#include <QByteArrayList>
#include <QGuiApplication>
#include <QScreen>
#include <QtPlugin>

#include <utility>

Q_IMPORT_PLUGIN(TurnedPlugin)

namespace TurnedPlatform {

namespace {

const QByteArray key("rotation=");

void warnUnturned(const char *option, const QByteArray &value)
{
    qWarning("%s=%s is not one of 0, 90, -90, 180, 270; the screen is not turned", option,
             value.constData());
}

QByteArray platformName(const QByteArray &entry)
{
    return entry.split(':').constFirst().toLower();
}

// One entry of the toolkit's list of platforms to try: NAME[:PARAMETER...].
QByteArray entryFor(const QByteArray &entry)
{
    if (platformName(entry) != "linuxfb")
        return entry;
    QByteArrayList parts = entry.split(':');
    // The toolkit's plugins take the last of a parameter given twice.
    QByteArray rotation;
    bool given = false;
    for (qsizetype i = parts.size() - 1; i > 0; --i) {
        if (parts.at(i).startsWith(key)) {
            if (!std::exchange(given, true))
                rotation = parts.at(i).mid(key.size());
            parts.removeAt(i);
        }
    }
    if (!given)
        return entry;
    const int turn = PanelTurn::turnOf(rotation);
    if (turn > 0) {
        parts.first() = TurnedIntegration::name;
        parts << key + QByteArray::number(turn);
    } else if (turn < 0) {
        warnUnturned("linuxfb: rotation", rotation);
    }
    return parts.join(':');
}

// The toolkit takes the last -platform given, else the variable.
QByteArray asked()
{
    const QByteArrayList options = ToolkitOptions::values("platform");
    return options.isEmpty() ? qgetenv("QT_QPA_PLATFORM") : options.last();
}

} // namespace

QByteArray platformFor(const QByteArray &asked)
{
    QByteArrayList entries = asked.split(';');
    for (QByteArray &entry : entries)
        entry = entryFor(entry);
    return entries.join(';');
}

QByteArray eglfsRotationFor(const QByteArray &asked)
{
    const int turn = PanelTurn::turnOf(asked);
    if (turn < 0) {
        warnUnturned("eglfs: QT_QPA_EGLFS_ROTATION", asked);
        return "0";
    }
    // eglfs refuses 270 and then turns its picture without turning its screen's size.
    return turn == 270 ? "-90" : QByteArray::number(turn);
}

void choose(char **argv)
{
    const int option = ToolkitOptions::lastValueAt("platform");
    if (option != -1) {
        // The toolkit reads the arguments while it is constructed and for arguments() later.
        static QByteArray chosen;
        chosen = platformFor(argv[option]);
        argv[option] = chosen.data();
    } else if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", platformFor(qgetenv("QT_QPA_PLATFORM")));
    }
    if (qEnvironmentVariableIsSet("QT_QPA_EGLFS_ROTATION"))
        qputenv("QT_QPA_EGLFS_ROTATION", eglfsRotationFor(qgetenv("QT_QPA_EGLFS_ROTATION")));
}

PanelTurn panelUnder(const QScreen *screen)
{
    const QPlatformScreen *platform = screen->handle();
    if (const auto *turned = dynamic_cast<const TurnedScreen *>(platform))
        return turned->turn();
    int rotation = 0;
    // By now the variable holds a value eglfs understands.
    if (QGuiApplication::platformName() == QLatin1String("eglfs"))
        rotation = qMax(0, PanelTurn::turnOf(qgetenv("QT_QPA_EGLFS_ROTATION")));
    return PanelTurn::under(rotation, platform->geometry().size());
}

QByteArray framebufferDevice()
{
    const QByteArray fb("fb=");
    const QByteArrayList entries = asked().split(';');
    for (const QByteArray &entry : entries) {
        if (platformName(entry) != "linuxfb")
            continue;
        QByteArray device = "/dev/fb0";
        for (const QByteArray &parameter : entry.split(':')) {
            if (parameter.startsWith(fb))
                device = parameter.mid(fb.size());
        }
        return device;
    }
    return "/dev/fb0";
}

} // namespace TurnedPlatform
