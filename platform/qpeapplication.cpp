// SPDX-License-Identifier: MIT
#include "qpeapplication.h"

#include "captionbar.h"
#include "consoleguard.h"
#include "deviceaccess.h"
#include "devicestyle.h"
#include "panelinput.h"
#include "stopsignals.h"
#include "tabletinput.h"
#include "tabletmouse.h"
#include "toolkitoptions.h"
#include "turnedplatform.h"
#include "windowsystem.h"

#include <QFont>
#include <QMoveEvent>
#include <QScreen>
#include <QStringList>
#include <QWidget>
#include <QWindow>

QPEApplication::QPEApplication(int &argc, char **argv, Type type)
    : QApplication(prepareToolkit(argc, argv), argv)
{
    // Only graphical clients exist on the device; the type is kept for its signature.
    Q_UNUSED(type);
    // In the place of the stop handler the framebuffer platforms have just put in.
    new StopSignals(this);

    // Every pen sample must reach the window: the toolkit would merge queued moves.
    // It turns the merging on while it is constructed, so this must come afterwards.
    setAttribute(Qt::AA_CompressHighFrequencyEvents, false);

    // The device's own font family; on a desktop an installed Japanese Gothic stands in.
    QFont::insertSubstitutions(QStringLiteral("lcfont"),
                               {QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic"),
                                QStringLiteral("TakaoGothic")});

    if (WindowSystem::onFramebuffer()) {
        const bool linuxfb = platformName().startsWith(QLatin1String("linuxfb"));
        DeviceAccess::reportDenied(linuxfb ? TurnedPlatform::framebufferDevice() : QByteArray());
    } else {
        ConsoleGuard::disarm();
    }
    DeviceStyle::apply();
    caption_bars = WindowSystem::lacksWindowManager();
    convert_tablet = !WindowSystem::turnsTabletIntoMouse();
    panel_input = PanelInput::start();
    tablet_input = TabletInput::start();
}

QPEApplication::~QPEApplication() = default;

// The toolkit reads the command line and the environment while it is constructed, and its
// framebuffer platforms take over the console and put in their own stop handler then, so
// whatever they must find, or must find in place, is done before.
int &QPEApplication::prepareToolkit(int &argc, char **argv)
{
    ToolkitOptions::note(argc, argv);
    TurnedPlatform::choose(argv);
    StopSignals::holdBack();
    ConsoleGuard::arm();
    return argc;
}

void QPEApplication::showMainWidget(QWidget *widget, bool nomaximize)
{
    main_widget = widget;
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

bool QPEApplication::notify(QObject *receiver, QEvent *event)
{
    if (caption_bars && event->type() == QEvent::Close && closeKeepingWindow(receiver, event))
        return true;
    if (palm_rejection.drops(receiver, event))
        return true;
    if (caption_bars && event->type() == QEvent::Move)
        repaintUncovered(receiver, static_cast<QMoveEvent *>(event));
    const bool fromWindowSystem = event->spontaneous();
    const bool handled = QApplication::notify(receiver, event);
    if (QWidget *window = shownSecondaryWindow(receiver, event)) {
        belongToMainWindow(window);
        if (caption_bars)
            CaptionBar::showFor(window);
    }
    if (convert_tablet && tablet_mouse.deliverUnhandled(receiver, event, fromWindowSystem))
        return true;
    return handled;
}

void QPEApplication::repaintUncovered(QObject *receiver, const QMoveEvent *event)
{
    if (!receiver->isWidgetType() || !static_cast<QWidget *>(receiver)->isWindow())
        return;
    const auto *window = static_cast<QWidget *>(receiver);
    if (window->isVisible() && event->oldPos() != event->pos())
        WindowSystem::repaintUncovered(window,
                                       QRect(event->oldPos(), window->frameGeometry().size()));
}

// Qt 6 destroys a window's platform window when the window is closed (QWindow::close(),
// which QMenu uses when an item is chosen and QDialog when it is done), and the
// framebuffer platforms join a widget's backing store to its platform window only when
// the store is made: shown again, such a menu or palette stays invisible there. So these
// windows are only hidden. The close handler has already had its say: QDialog and QMenu
// close themselves, and the caption bar asks the window before it closes it.
bool QPEApplication::closeKeepingWindow(QObject *receiver, QEvent *event)
{
    if (!receiver->isWindowType())
        return false;
    QWidget *widget = nullptr;
    const auto windows = topLevelWidgets();
    for (QWidget *candidate : windows) {
        if (candidate->windowHandle() == receiver)
            widget = candidate;
    }
    // The main window's close ends the run, which is the toolkit's to do.
    if (!widget || widget == main_widget || widget->testAttribute(Qt::WA_DeleteOnClose))
        return false;
    widget->hide();
    event->accept();
    return true;
}

// A window other than the main one, being shown: the device's window system gave each a
// caption bar and kept it with the main window.
QWidget *QPEApplication::shownSecondaryWindow(QObject *receiver, const QEvent *event) const
{
    if (event->type() != QEvent::Show || !receiver->isWidgetType() || main_widget.isNull())
        return nullptr;
    auto *widget = static_cast<QWidget *>(receiver);
    const Qt::WindowType type = widget->windowType();
    if ((type != Qt::Window && type != Qt::Dialog) || widget == main_widget ||
        widget->windowFlags().testFlag(Qt::FramelessWindowHint))
        return nullptr;
    return widget;
}

// A window without a parent widget belongs to the main one for the window system: stacking
// window managers keep it above the main window, tiling ones float it. Qt gives a parentless
// dialog none of its own, and the platform reads it when the window goes on the screen, just
// after this event. The framebuffer platforms stack windows without it.
void QPEApplication::belongToMainWindow(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    if (handle && !window->parentWidget())
        handle->setTransientParent(main_widget->windowHandle());
}
