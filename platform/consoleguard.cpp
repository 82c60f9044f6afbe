// SPDX-License-Identifier: MIT
#include "consoleguard.h"

#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <linux/kd.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace ConsoleGuard {

namespace {

const int fatalSignals[] = {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL};
struct sigaction previous[std::size(fatalSignals)];
bool armed = false;

// The console whose display mode linuxfb switches, and the one mode noted there.
int display = -1;
int display_mode = KD_TEXT;
// Standard input, whose keyboard the toolkit switches off when it is a console.
int keyboard = -1;
int keyboard_mode = K_UNICODE;

// The first of the consoles linuxfb tries that opens, if it is a virtual console.
int openDisplay()
{
    for (const char *device : {"/dev/tty0", "/dev/tty", "/dev/console"}) {
        const int fd = open(device, O_RDWR | O_CLOEXEC | O_NOCTTY);
        if (fd == -1)
            continue;
        if (ioctl(fd, KDGETMODE, &display_mode) == 0)
            return fd;
        close(fd);
        return -1;
    }
    return -1;
}

// Only async-signal-safe calls here.
void giveBack(int number)
{
    if (display != -1)
        ioctl(display, KDSETMODE, display_mode);
    if (keyboard != -1)
        ioctl(keyboard, KDSKBMODE, keyboard_mode);
    // The signal then ends the program as it would have, with its status and core dump.
    struct sigaction standard = {};
    standard.sa_handler = SIG_DFL;
    sigaction(number, &standard, nullptr);
    raise(number);
}

} // namespace

void arm()
{
    display = openDisplay();
    if (isatty(STDIN_FILENO) && ioctl(STDIN_FILENO, KDGKBMODE, &keyboard_mode) == 0)
        keyboard = STDIN_FILENO;
    if (display == -1 && keyboard == -1)
        return;
    struct sigaction action = {};
    action.sa_handler = giveBack;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(fatalSignals); ++i)
        sigaction(fatalSignals[i], &action, &previous[i]);
    armed = true;
}

void disarm()
{
    if (!armed)
        return;
    for (size_t i = 0; i < std::size(fatalSignals); ++i)
        sigaction(fatalSignals[i], &previous[i], nullptr);
    if (display != -1)
        close(display);
    display = keyboard = -1;
    armed = false;
}

} // namespace ConsoleGuard
