// SPDX-License-Identifier: MIT
#include "turnedintegration.h"

#include "turnedscreen.h"

#include <QGenericPluginFactory>
#include <QtFbSupport/private/qfbbackingstore_p.h>
#include <QtFbSupport/private/qfbvthandler_p.h>
#include <QtFbSupport/private/qfbwindow_p.h>
#include <QtGui/private/qgenericunixeventdispatcher_p.h>
#include <QtGui/private/qgenericunixfontdatabase_p.h>
#include <qpa/qplatforminputcontextfactory_p.h>
#include <qpa/qwindowsysteminterface.h>

TurnedIntegration::TurnedIntegration(const QStringList &parameters)
    : screen(new TurnedScreen(parameters)), fonts(new QGenericUnixFontDatabase)
{}

TurnedIntegration::~TurnedIntegration()
{
    input.clear();
    QWindowSystemInterface::handleScreenRemoved(screen);
}

void TurnedIntegration::initialize()
{
    if (screen->initialize())
        QWindowSystemInterface::handleScreenAdded(screen);
    else
        qWarning("linuxfb: Failed to initialize screen");
    input_context.reset(QPlatformInputContextFactory::create());
    console = std::make_unique<QFbVtHandler>();
    if (!qEnvironmentVariableIntValue("QT_QPA_FB_DISABLE_INPUT"))
        startInput();
}

// The devices the framebuffer platform reads, through the same plugins and switches.
void TurnedIntegration::startInput()
{
    QStringList plugins;
    if (!qEnvironmentVariableIntValue("QT_QPA_FB_NO_LIBINPUT")) {
        plugins << QStringLiteral("libinput");
    } else {
        plugins << QStringLiteral("evdevkeyboard") << QStringLiteral("evdevmouse");
        plugins << (qEnvironmentVariableIntValue("QT_QPA_FB_TSLIB") ? QStringLiteral("tslib")
                                                                    : QStringLiteral("evdevtouch"));
    }
    for (const QString &plugin : std::as_const(plugins)) {
        if (QObject *handler = QGenericPluginFactory::create(plugin, QString()))
            input.emplace_back(handler);
    }
}

bool TurnedIntegration::hasCapability(Capability capability) const
{
    switch (capability) {
    case ThreadedPixmaps:
        return true;
    case WindowManagement:
    case RhiBasedRendering:
        return false;
    default:
        return QPlatformIntegration::hasCapability(capability);
    }
}

QPlatformWindow *TurnedIntegration::createPlatformWindow(QWindow *window) const
{
    return new QFbWindow(window);
}

QPlatformBackingStore *TurnedIntegration::createPlatformBackingStore(QWindow *window) const
{
    return new QFbBackingStore(window);
}

QAbstractEventDispatcher *TurnedIntegration::createEventDispatcher() const
{
    return createUnixEventDispatcher();
}

QPlatformFontDatabase *TurnedIntegration::fontDatabase() const
{
    return fonts.get();
}
