// SPDX-License-Identifier: MIT
#ifndef TURNEDPLATFORM_H
#define TURNEDPLATFORM_H

#include <QByteArray>

// The turn of the panel, as the user asks for it: `linuxfb:rotation=` or eglfs's
// QT_QPA_EGLFS_ROTATION, in the same numbers for both. The toolkit's framebuffer platform
// cannot turn its screen, so a turned linuxfb is handed to the platform layer's own
// framebuffer platform, which can; eglfs turns its screen itself, but knows 270 by another
// name. Without a turn, or with a value neither can use, the toolkit's own platform runs
// unturned.
namespace TurnedPlatform {

// The name the toolkit knows the turned framebuffer platform by.
extern const char name[];

// The turn a rotation value asks for, in degrees: 0, 90, 180 or 270 (-90 is 270); -1 for
// any other value.
int turnOf(const QByteArray &value);

// The platform to start for the one the user asked for, e.g. "linuxfb:fb=/dev/fb1:rotation=90"
// becomes "<name>:fb=/dev/fb1:rotation=90". Warns of a rotation it cannot use.
QByteArray platformFor(const QByteArray &asked);

// QT_QPA_EGLFS_ROTATION as eglfs understands it, for the value the user gave. Warns of a
// value it cannot use, for which the screen stays unturned.
QByteArray eglfsRotationFor(const QByteArray &asked);

// Applies platformFor to the -platform option or to QT_QPA_PLATFORM, and eglfsRotationFor
// to QT_QPA_EGLFS_ROTATION when eglfs is asked for; returns argc.
int &choose(int &argc, char **argv);

} // namespace TurnedPlatform

#endif // TURNEDPLATFORM_H
