// SPDX-License-Identifier: MIT
#ifndef QPEAPPLICATION_H
#define QPEAPPLICATION_H

#include <QApplication>

// The handheld's application object, reduced to what Vellumix uses, and the
// handheld's environment made true on a desktop.
class QPEApplication : public QApplication
{
    Q_OBJECT

public:
    enum Type { GuiClient = 1 };

    QPEApplication(int &argc, char **argv, Type type = GuiClient);

    void showMainWidget(QWidget *widget, bool nomaximize = false);
};

#endif // QPEAPPLICATION_H
