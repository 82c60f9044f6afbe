# SPDX-License-Identifier: MIT
# Shared by the scripts: the packages Vellumix needs and how it is built.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

PACKAGES=(
    cmake g++ make                      # the toolchain
    qt6-base-dev qt6-5compat-dev        # Qt 6 Widgets, Test and the Shift-JIS codec
    qt6-base-private-dev                # Qt's framebuffer pieces and window-system interface
    qt6-qpa-plugins                     # the framebuffer and VNC platforms the tests run on
    fonts-ipafont-gothic                # a Japanese font for the display texts
    xvfb x11-apps x11-utils xdotool imagemagick # a virtual screen, screenshots, synthetic input
    libx11-dev valgrind                 # the test's close request to a window, the memory checker
    dpkg-dev file desktop-file-utils    # the Debian package
    lintian appstream man-db systemd    # and its checks (systemd-analyze for the service)
)

# What scripts/bench needs besides: Google Benchmark, the toolkit's window-system interface
# (to hand pen samples over as a platform plugin does), XTest and Damage (to send samples
# through the X server and watch their pixels arrive).
BENCH_PACKAGES=(
    libbenchmark-dev qt6-base-private-dev libxtst-dev libxdamage-dev
)

# What a cross build for a device needs (scripts/test-cross, scripts/package with
# DEB_HOST_ARCH): on this machine the cross compiler and qemu, which runs the device's
# programs, and for the device (as PACKAGE:ARCH) the toolkit and what the tests link.
CROSS_PACKAGES=(cmake make dpkg-dev qemu-user fonts-ipafont-gothic)
CROSS_DEVICE_PACKAGES=(
    qt6-base-dev qt6-5compat-dev qt6-base-private-dev qt6-qpa-plugins libx11-dev
)
# The architectures with a toolchain file in cmake/.
CROSS_ARCHS=(arm64 armhf)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# Another apt (a desktop's daily upgrade, say) can hold the package system for minutes: the
# scripts wait for it this long rather than stop.
APT_LOCK_TIMEOUT=600
APT_OPTIONS=(-o "DPkg::Lock::Timeout=$APT_LOCK_TIMEOUT")

# apt_get ARGS...: apt-get as root, asking nothing, waiting for dpkg's locks.
apt_get() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get "${APT_OPTIONS[@]}" "$@"
}

# apt-get update, waiting for the package lists' lock too: apt's timeout covers only dpkg's
# locks, so a held lists lock is retried here. In English, to recognise that message.
apt_get_update() {
    local deadline=$((SECONDS + APT_LOCK_TIMEOUT)) log status told=
    while :; do
        status=0
        log=$(as_root env LC_ALL=C apt-get "${APT_OPTIONS[@]}" update -qq 2>&1) || status=$?
        if [ "$status" -eq 0 ] || [ "$SECONDS" -ge "$deadline" ] ||
            ! grep -q "^E: Could not get lock" <<<"$log"; then
            break
        fi
        [ -n "$told" ] || echo "Waiting for another apt to finish with the package lists" >&2
        told=1
        sleep 5
    done
    [ -z "$log" ] || printf '%s\n' "$log" >&2
    return "$status"
}

# Prints those of the given packages that are not installed, one a line.
not_installed() {
    local package native arches
    native=$(dpkg --print-architecture)
    for package in "$@"; do
        # A bare name means the build machine's own package (or an architecture-free one):
        # a cross-building target's copy of it does not count.
        arches="$native|all"
        [[ $package == *:* ]] && arches=".*"
        dpkg-query -W -f='${Status} ${Architecture}\n' "$package" 2>/dev/null |
            grep -q -E "^install ok installed ($arches)\$" || echo "$package"
    done
}

# Installs whatever of the given packages (default: PACKAGES) is missing.
install_missing() {
    local wanted=("$@") missing
    [ ${#wanted[@]} -gt 0 ] || wanted=("${PACKAGES[@]}")
    mapfile -t missing < <(not_installed "${wanted[@]}")
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing: ${missing[*]}"
    apt_get_update
    apt_get install -y -qq "${missing[@]}"
}

# build DIR [CMAKE OPTIONS...]: configures and builds Vellumix in DIR.
build() {
    local dir=$1
    shift
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}

# The toolkit warns when it has to invent this folder.
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# install_cross ARCH: adds the Debian architecture ARCH and installs what a cross build for
# it needs. Where apt cannot (a mirror whose ARCH packages lag behind this machine's, say),
# one line names what is missing and why, and the status is non-zero.
install_cross() {
    local arch=$1 log reason
    local wanted=("${CROSS_PACKAGES[@]}" "crossbuild-essential-$arch"
        "${CROSS_DEVICE_PACKAGES[@]/%/:$arch}")
    dpkg --print-foreign-architectures | grep -qx "$arch" || as_root dpkg --add-architecture "$arch"
    if log=$(install_missing "${wanted[@]}" 2>&1); then
        [ -z "$log" ] || head -n 1 <<<"$log"
        return 0
    fi
    reason=$(grep -m 1 -E ' : (Depends|Breaks|Conflicts|PreDepends):|^E: ' <<<"$log" |
        sed 's/^ *//') || true
    echo "$(basename "$0"): cannot install the packages for $arch:" \
        "$(not_installed "${wanted[@]}" | xargs) (apt-get: ${reason:-failed})" >&2
    return 1
}
