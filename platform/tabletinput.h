// SPDX-License-Identifier: MIT
#ifndef TABLETINPUT_H
#define TABLETINPUT_H

#include <QObject>

#include <memory>

// A pen digitiser on the framebuffer platforms. Their default input, libinput, leaves
// tablets aside, and their own evdev handlers have none for them: only the toolkit's tablet
// plugin reads the pen there, and nothing starts it unless the user names it.
namespace TabletInput {

// Starts the tablet plugin, which finds pens itself and follows them being plugged in and
// out, where the platform needs it and the user has not named it already. Call once the
// application object exists; the plugin reads until the object returned is deleted.
std::unique_ptr<QObject> start();

// Whether the user named the tablet plugin, with -plugin or in QT_QPA_GENERIC_PLUGINS.
bool namedByUser();

} // namespace TabletInput

#endif // TABLETINPUT_H
