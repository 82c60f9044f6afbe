// SPDX-License-Identifier: MIT
#ifndef WINDOWSYSTEM_H
#define WINDOWSYSTEM_H

#include <QRect>

class QWidget;

// What the window system under the toolkit does for the program, and what the
// platform layer must therefore do itself.
namespace WindowSystem {

// A framebuffer platform: the toolkit composes the windows on the panel itself and reads
// the input devices through its own handlers.
bool onFramebuffer();

// No window manager runs: nothing draws captions or moves windows.
bool lacksWindowManager();

// The platform plugin turns tablet samples nobody took into mouse events itself.
bool turnsTabletIntoMouse();

// Where no window manager runs: a window has moved away from the screen area `left`, and
// the windows it uncovered repaint it.
void repaintUncovered(const QWidget *moved, const QRect &left);

} // namespace WindowSystem

#endif // WINDOWSYSTEM_H
