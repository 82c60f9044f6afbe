// SPDX-License-Identifier: MIT
#include "tabletinput.h"

#include "toolkitoptions.h"
#include "windowsystem.h"

#include <QGenericPluginFactory>
#include <QGuiApplication>

namespace TabletInput {

namespace {

const QByteArray plugin("evdevtablet");

} // namespace

// The user's own plugins, from -plugin and the toolkit's variable, as NAME or NAME:DEVICE.
bool namedByUser()
{
    QByteArrayList named = ToolkitOptions::values("plugin");
    named += qgetenv("QT_QPA_GENERIC_PLUGINS").split(',');
    for (const QByteArray &entry : std::as_const(named)) {
        if (entry.split(':').constFirst().compare(plugin, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

std::unique_ptr<QObject> start()
{
    if (!WindowSystem::onFramebuffer() || namedByUser())
        return nullptr;
    return std::unique_ptr<QObject>(
        QGenericPluginFactory::create(QString::fromLatin1(plugin), QString()));
}

} // namespace TabletInput
