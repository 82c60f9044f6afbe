# SPDX-License-Identifier: MIT
# Cross-building for 64-bit ARM devices on Debian, with the arm64 Qt libraries installed
# beside the build machine's own (multiarch); the README shows the commands.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
# The sample card is drawn at build time by a program built for the device.
find_program(CMAKE_CROSSCOMPILING_EMULATOR NAMES qemu-aarch64-static qemu-aarch64)
