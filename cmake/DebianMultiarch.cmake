# SPDX-License-Identifier: MIT
# What the toolchain files beside it share: cross-building on Debian with the device's
# libraries installed beside the build machine's own (multiarch). The including file sets
# VELLUMIX_TRIPLET, CMAKE_SYSTEM_PROCESSOR and VELLUMIX_QEMU.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${VELLUMIX_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${VELLUMIX_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${VELLUMIX_TRIPLET})

# Only the device's libraries may be linked: the build machine's share the same prefixes,
# so its library folders are struck from every search, and pkg-config reads only the
# device's module files (the host's would hand CMake the host's libraries).
execute_process(COMMAND dpkg-architecture -qDEB_BUILD_MULTIARCH
                OUTPUT_VARIABLE build_triplet OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(build_triplet AND NOT build_triplet STREQUAL VELLUMIX_TRIPLET)
    list(APPEND CMAKE_IGNORE_PATH /usr/lib/${build_triplet} /lib/${build_triplet})
    list(REMOVE_DUPLICATES CMAKE_IGNORE_PATH)
endif()
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${VELLUMIX_TRIPLET}/pkgconfig:/usr/share/pkgconfig)
unset(ENV{PKG_CONFIG_PATH})

# Programs built for the device (the card drawer at build time, the tests) run under qemu.
find_program(CMAKE_CROSSCOMPILING_EMULATOR NAMES ${VELLUMIX_QEMU}-static ${VELLUMIX_QEMU})
