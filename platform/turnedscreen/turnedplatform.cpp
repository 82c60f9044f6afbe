// SPDX-License-Identifier: MIT
#include "turnedplatform.h"

#include <QtPlugin>

#include <cstring>
#include <utility>

Q_IMPORT_PLUGIN(TurnedPlugin)

namespace TurnedPlatform {

const char name[] = "linuxfb-turned";

namespace {

const QByteArray key("rotation=");

// The turn a rotation= value asks for: 0, 90, 180 or 270; -1 for any other value.
int turnOf(const QByteArray &value)
{
    for (int turn : {0, 90, 180, 270}) {
        if (value == QByteArray::number(turn))
            return turn;
    }
    return -1;
}

// One entry of the toolkit's list of platforms to try: NAME[:PARAMETER...].
QByteArray entryFor(const QByteArray &entry)
{
    QByteArrayList parts = entry.split(':');
    if (parts.constFirst().toLower() != "linuxfb")
        return entry;
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
        parts << key + rotation;
    } else if (turn < 0) {
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
        if (parameter.startsWith(QLatin1String(key)))
            return qMax(0, turnOf(parameter.mid(key.size()).toLatin1()));
    }
    return 0;
}

} // namespace TurnedPlatform
