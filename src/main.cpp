// SPDX-License-Identifier: MIT
#include "mainwindow.h"

#include <qpeapplication.h>

int main(int argc, char **argv)
{
    QPEApplication app(argc, argv, QPEApplication::GuiClient);
    // Owned here rather than leaked, so that the window and its dialog are torn down
    // before the application object.
    Mainwindow mainwindow;
    app.showMainWidget(&mainwindow, false);
    return app.exec();
}
