// SPDX-License-Identifier: MIT
#ifndef DEVICESTYLE_H
#define DEVICESTYLE_H

// One look on every platform: Fusion in its own light colours, unless the user asked
// for a style with the toolkit's -style option.
namespace DeviceStyle {

// Call once the application object exists.
void apply();

} // namespace DeviceStyle

#endif // DEVICESTYLE_H
