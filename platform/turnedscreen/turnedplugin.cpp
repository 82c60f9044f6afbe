// SPDX-License-Identifier: MIT
#include "turnedintegration.h"

#include <qpa/qplatformintegrationplugin.h>

// Built into the program: the platform layer chooses it for a turned framebuffer.
class TurnedPlugin : public QPlatformIntegrationPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QPlatformIntegrationFactoryInterface_iid FILE "turnedplugin.json")

public:
    QPlatformIntegration *create(const QString &key, const QStringList &parameters) override
    {
        if (key.compare(QLatin1String(TurnedIntegration::name), Qt::CaseInsensitive) != 0)
            return nullptr;
        return new TurnedIntegration(parameters);
    }
};

#include "turnedplugin.moc"
