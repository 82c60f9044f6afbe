// SPDX-License-Identifier: MIT
#include "turnedplatform.h"

#include <QtPlugin>

#include <cstring>

Q_IMPORT_PLUGIN(TurnedPlugin)

namespace TurnedPlatform {

const char name[] = "linuxfb-turned";

namespace {

const QByteArray key("rotation=");

// One entry of the toolkit's list of platforms to try: NAME[:PARAMETER...].
QByteArray entryFor(const QByteArray &entry)
{
    QByteArrayList parts = entry.split(':');
    if (parts.constFirst().toLower() != "linuxfb")
        return entry;
    QByteArray rotation;
    for (qsizetype i = parts.size() - 1; i > 0; --i) {
        if (parts.at(i).startsWith(key)) {
            if (rotation.isNull())
                rotation = parts.at(i).mid(key.size());
            parts.removeAt(i);
        }
    }
    if (rotation.isNull())
        return entry;
    if (rotation == "90" || rotation == "180" || rotation == "270") {
        parts.first() = name;
        parts << key + rotation;
    } else if (rotation != "0") {
        qWarning("linuxfb: rotation=%s is not one of 0, 90, 180, 270; the screen is not turned",
                 rotation.constData());
    }
    return parts.join(':');
}

} // namespace

QByteArray platformFor(const QByteArray &asked)
{
    QByteArrayList entries = asked.split(';');
    for (QByteArray &entry : entries)
        entry = entryFor(entry);
    return entries.join(';');
}

int &choose(int &argc, char **argv)
{
    // The toolkit takes the last -platform (or --platform) given, else the variable.
    int option = -1;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            option = ++i;
    }
    if (option != -1) {
        // The toolkit reads the arguments while it is constructed and for arguments() later.
        static QByteArray chosen;
        chosen = platformFor(argv[option]);
        argv[option] = chosen.data();
    } else if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", platformFor(qgetenv("QT_QPA_PLATFORM")));
    }
    return argc;
}

int rotationIn(const QStringList &parameters)
{
    for (const QString &parameter : parameters) {
        if (parameter == QLatin1String("rotation=90"))
            return 90;
        if (parameter == QLatin1String("rotation=180"))
            return 180;
        if (parameter == QLatin1String("rotation=270"))
            return 270;
    }
    return 0;
}

} // namespace TurnedPlatform
