// SPDX-License-Identifier: MIT
#include "mainwindow.h"

#include <qpeapplication.h>

int main(int argc, char **argv)
{
    QPEApplication app(argc, argv, QPEApplication::GuiClient);
    // Wayland desktops match the window to its desktop entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELLUMIX_ID));
    // Owned here rather than leaked, so that the window and its dialog are torn down
    // before the application object.
    Mainwindow mainwindow;
    app.showMainWidget(&mainwindow, false);
    return app.exec();
}
