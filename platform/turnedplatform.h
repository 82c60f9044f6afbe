// SPDX-License-Identifier: MIT
#ifndef TURNEDPLATFORM_H
#define TURNEDPLATFORM_H

#include "panelturn.h"

#include <QByteArray>

class QScreen;

// The platform the application starts for the one the user asks for, and the turn of its
// panel: `linuxfb:rotation=` or eglfs's QT_QPA_EGLFS_ROTATION, in the same numbers for both.
// The toolkit's framebuffer platform cannot turn its screen, so a turned linuxfb is handed to
// the platform layer's own framebuffer platform, which can; eglfs turns its screen itself, but
// knows 270 by another name. Without a turn, or with a value neither can use, the toolkit's
// own platform runs unturned.
namespace TurnedPlatform {

// The platform to start for the one the user asked for, e.g. "linuxfb:fb=/dev/fb1:rotation=90"
// becomes "linuxfb-turned:fb=/dev/fb1:rotation=90". Warns of a rotation it cannot use.
QByteArray platformFor(const QByteArray &asked);

// QT_QPA_EGLFS_ROTATION as eglfs understands it, for the value the user gave. Warns of a
// value it cannot use, for which the screen stays unturned.
QByteArray eglfsRotationFor(const QByteArray &asked);

// Before the toolkit reads them: applies platformFor to the platform the command line (as
// ToolkitOptions noted it) or QT_QPA_PLATFORM asks for, and eglfsRotationFor to
// QT_QPA_EGLFS_ROTATION whenever it is set, as eglfs may be the toolkit's default platform.
void choose(char **argv);

// How the platform shows the panel under the screen: turned as the turned framebuffer or
// eglfs's rotation turns it, else as it is.
PanelTurn panelUnder(const QScreen *screen);

// The framebuffer linuxfb opens for the platform asked for: its fb=, or the toolkit's default.
QByteArray framebufferDevice();

} // namespace TurnedPlatform

#endif // TURNEDPLATFORM_H
