// SPDX-License-Identifier: MIT
#ifndef QPEAPPLICATION_H
#define QPEAPPLICATION_H

#include "palmrejection.h"
#include "tabletmouse.h"

#include <QApplication>
#include <QPointer>

#include <memory>

class PanelInput;
class QMoveEvent;

// The handheld's application object, reduced to what Vellumix uses, and the
// handheld's environment made true on a desktop.
class QPEApplication : public QApplication
{
    Q_OBJECT

public:
    enum Type { GuiClient = 1 };

    QPEApplication(int &argc, char **argv, Type type = GuiClient);
    ~QPEApplication() override;

    void showMainWidget(QWidget *widget, bool nomaximize = false);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    static int &prepareToolkit(int &argc, char **argv);

    bool closeKeepingWindow(QObject *receiver, QEvent *event);
    void repaintUncovered(QObject *receiver, const QMoveEvent *event);
    QWidget *shownSecondaryWindow(QObject *receiver, const QEvent *event) const;
    void belongToMainWindow(QWidget *window);

    QPointer<QWidget> main_widget;
    PalmRejection palm_rejection;
    bool caption_bars = false;
    TabletMouse tablet_mouse;
    bool convert_tablet = false;
    std::unique_ptr<PanelInput> panel_input;
    std::unique_ptr<QObject> tablet_input;
};

#endif // QPEAPPLICATION_H
