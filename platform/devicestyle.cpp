// SPDX-License-Identifier: MIT
#include "devicestyle.h"

#include <QApplication>
#include <QByteArray>
#include <QStyle>
#include <QStyleFactory>

namespace DeviceStyle {

namespace {

bool styleAsked = false;

} // namespace

int &noteCommandLine(int &argc, char **argv)
{
    styleAsked = false;
    for (int i = 1; i < argc; ++i) {
        QByteArray argument(argv[i]);
        // The toolkit takes options with one dash or two.
        if (argument.startsWith("--"))
            argument.remove(0, 1);
        if (argument == "-style" || argument.startsWith("-style="))
            styleAsked = true;
    }
    return argc;
}

void apply()
{
    if (styleAsked)
        return;
    QStyle *style = QStyleFactory::create(QStringLiteral("Fusion"));
    if (!style)
        return;
    QApplication::setStyle(style);
    // A desktop's dark theme would otherwise colour the canvas and the controls.
    QApplication::setPalette(style->standardPalette());
}

} // namespace DeviceStyle
