# SPDX-License-Identifier: MIT
# Cross-building for 32-bit ARM devices with a hardware floating-point unit (Debian's armhf);
# the README shows the commands.
set(VELLUMIX_TRIPLET arm-linux-gnueabihf)
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(VELLUMIX_QEMU qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/DebianMultiarch.cmake)
