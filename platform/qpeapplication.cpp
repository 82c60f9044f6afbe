// SPDX-License-Identifier: MIT
#include "qpeapplication.h"

#include <QFont>
#include <QScreen>
#include <QStringList>
#include <QWidget>

QPEApplication::QPEApplication(int &argc, char **argv, Type type) : QApplication(argc, argv)
{
    // Only graphical clients exist on the device; the type is kept for its signature.
    Q_UNUSED(type);

    // Every pen sample must reach the window: the toolkit would merge queued moves.
    // It turns the merging on while it is constructed, so this must come afterwards.
    setAttribute(Qt::AA_CompressHighFrequencyEvents, false);

    // The device's own font family; on a desktop an installed Japanese Gothic stands in.
    QFont::insertSubstitutions(QStringLiteral("lcfont"),
                               {QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic"),
                                QStringLiteral("TakaoGothic")});
}

void QPEApplication::showMainWidget(QWidget *widget, bool nomaximize)
{
    if (nomaximize) {
        widget->show();
        return;
    }
    // Without a window manager (a framebuffer, a bare X server) nobody acts on the
    // request to maximise, so the window is given the screen's area itself.
    if (const QScreen *screen = widget->screen())
        widget->setGeometry(screen->availableGeometry());
    widget->showMaximized();
}
