// SPDX-License-Identifier: MIT
#ifndef DEVICEACCESS_H
#define DEVICEACCESS_H

#include <QByteArray>

// The devices a framebuffer platform opens, and the user's right to them. A service runs the
// program as an ordinary user, and the toolkit's libinput handler says nothing of an input
// device it may not open: the panel then shows the program, deaf to pen and finger.
namespace DeviceAccess {

// One line for each group that would give access to those of the framebuffer (when given)
// and the input devices the user may not open.
void reportDenied(const QByteArray &framebuffer);

} // namespace DeviceAccess

#endif // DEVICEACCESS_H
