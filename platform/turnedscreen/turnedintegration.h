// SPDX-License-Identifier: MIT
#ifndef TURNEDINTEGRATION_H
#define TURNEDINTEGRATION_H

#include <qpa/qplatforminputcontext.h>
#include <qpa/qplatformintegration.h>
#include <qpa/qplatformnativeinterface.h>
#include <qpa/qplatformservices.h>

#include <memory>
#include <vector>

class QFbVtHandler;
class TurnedScreen;

// The framebuffer platform with its panel turned: the toolkit's own framebuffer pieces
// compose the windows, its input plugins read the devices, and the panel turns the picture.
class TurnedIntegration : public QPlatformIntegration
{
public:
    // The name the toolkit knows the platform by, as the plugin's metadata gives it.
    static constexpr char name[] = "linuxfb-turned";

    explicit TurnedIntegration(const QStringList &parameters);
    ~TurnedIntegration() override;

    void initialize() override;
    bool hasCapability(Capability capability) const override;
    QPlatformWindow *createPlatformWindow(QWindow *window) const override;
    QPlatformBackingStore *createPlatformBackingStore(QWindow *window) const override;
    QAbstractEventDispatcher *createEventDispatcher() const override;
    QPlatformFontDatabase *fontDatabase() const override;
    QPlatformInputContext *inputContext() const override { return input_context.get(); }
    // Neither offers anything here, but the toolkit's font set-up asks both.
    QPlatformServices *services() const override { return plain_services.get(); }
    QPlatformNativeInterface *nativeInterface() const override { return native.get(); }

private:
    void startInput();

    TurnedScreen *screen;
    std::unique_ptr<QPlatformFontDatabase> fonts;
    std::unique_ptr<QFbVtHandler> console;
    std::vector<std::unique_ptr<QObject>> input;
    std::unique_ptr<QPlatformInputContext> input_context;
    const std::unique_ptr<QPlatformServices> plain_services = std::make_unique<QPlatformServices>();
    const std::unique_ptr<QPlatformNativeInterface> native =
        std::make_unique<QPlatformNativeInterface>();
};

#endif // TURNEDINTEGRATION_H
