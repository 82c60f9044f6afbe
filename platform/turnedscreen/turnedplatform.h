// SPDX-License-Identifier: MIT
#ifndef TURNEDPLATFORM_H
#define TURNEDPLATFORM_H

#include <QByteArray>
#include <QStringList>

// The toolkit's framebuffer platform cannot turn its screen, so `linuxfb:rotation=90` (also 180
// and 270) is handed to the platform layer's own framebuffer platform, which can. Without the
// key, with rotation=0, or with a value it cannot use, the toolkit's own platform runs.
namespace TurnedPlatform {

// The name the toolkit knows the turned framebuffer platform by.
extern const char name[];

// The platform to start for the one the user asked for, e.g. "linuxfb:fb=/dev/fb1:rotation=90"
// becomes "<name>:fb=/dev/fb1:rotation=90". Warns of a rotation it cannot use.
QByteArray platformFor(const QByteArray &asked);

// Applies platformFor to the -platform option and to QT_QPA_PLATFORM; returns argc.
int &choose(int &argc, char **argv);

// The turn in the platform's parameters, in degrees: 90, 180 or 270, else 0.
int rotationIn(const QStringList &parameters);

} // namespace TurnedPlatform

#endif // TURNEDPLATFORM_H
