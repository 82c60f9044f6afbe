// SPDX-License-Identifier: MIT
#ifndef WINDOWSYSTEM_H
#define WINDOWSYSTEM_H

// What the window system under the toolkit does for the program, and what the
// platform layer must therefore do itself.
namespace WindowSystem {

// No window manager runs: nothing draws captions or moves windows.
bool lacksWindowManager();

// The platform plugin turns tablet samples nobody took into mouse events itself.
bool turnsTabletIntoMouse();

} // namespace WindowSystem

#endif // WINDOWSYSTEM_H
