// SPDX-License-Identifier: MIT
#include "turnedplatform.h"

#include <QByteArrayList>
#include <QtPlugin>

#include <algorithm>
#include <cstring>
#include <utility>

Q_IMPORT_PLUGIN(TurnedPlugin)

namespace TurnedPlatform {

const char name[] = "linuxfb-turned";

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
    const int turn = turnOf(rotation);
    if (turn > 0) {
        parts.first() = name;
        parts << key + QByteArray::number(turn);
    } else if (turn < 0) {
        warnUnturned("linuxfb: rotation", rotation);
    }
    return parts.join(':');
}

} // namespace

int turnOf(const QByteArray &value)
{
    // eglfs takes -180 for 180 as well.
    for (int turn : {0, 90, 180, 270, -90, -180}) {
        if (value == QByteArray::number(turn))
            return (turn + 360) % 360;
    }
    return -1;
}

QByteArray platformFor(const QByteArray &asked)
{
    QByteArrayList entries = asked.split(';');
    for (QByteArray &entry : entries)
        entry = entryFor(entry);
    return entries.join(';');
}

QByteArray eglfsRotationFor(const QByteArray &asked)
{
    const int turn = turnOf(asked);
    if (turn < 0) {
        warnUnturned("eglfs: QT_QPA_EGLFS_ROTATION", asked);
        return "0";
    }
    // eglfs refuses 270 and then turns its picture without turning its screen's size.
    return turn == 270 ? "-90" : QByteArray::number(turn);
}

int &choose(int &argc, char **argv)
{
    // The toolkit takes the last -platform (or --platform) given, else the variable.
    int option = -1;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            option = ++i;
    }
    const QByteArray asked = option != -1 ? QByteArray(argv[option]) : qgetenv("QT_QPA_PLATFORM");
    if (option != -1) {
        // The toolkit reads the arguments while it is constructed and for arguments() later.
        static QByteArray chosen;
        chosen = platformFor(asked);
        argv[option] = chosen.data();
    } else if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", platformFor(asked));
    }
    const QByteArrayList entries = asked.split(';');
    const bool eglfs = std::any_of(entries.cbegin(), entries.cend(), [](const QByteArray &entry) {
        return platformName(entry) == "eglfs";
    });
    if (eglfs && qEnvironmentVariableIsSet("QT_QPA_EGLFS_ROTATION"))
        qputenv("QT_QPA_EGLFS_ROTATION", eglfsRotationFor(qgetenv("QT_QPA_EGLFS_ROTATION")));
    return argc;
}

} // namespace TurnedPlatform
