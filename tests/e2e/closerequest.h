// SPDX-License-Identifier: MIT
#ifndef CLOSEREQUEST_H
#define CLOSEREQUEST_H

// Asks a window to close as a window manager's close control does (WM_DELETE_WINDOW).
bool requestClose(const char *display, unsigned long window);

#endif // CLOSEREQUEST_H
