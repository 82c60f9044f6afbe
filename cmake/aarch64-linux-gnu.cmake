# SPDX-License-Identifier: MIT
# Cross-building for 64-bit ARM devices (Debian's arm64); the README shows the commands.
set(VELLUMIX_TRIPLET aarch64-linux-gnu)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(VELLUMIX_QEMU qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/DebianMultiarch.cmake)
