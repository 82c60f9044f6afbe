// SPDX-License-Identifier: MIT
#include "stopsignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

const int stops[] = {SIGTERM, SIGINT, SIGHUP};

// Kept open for the whole process: a second stop during the teardown lands here unread.
int wake[2] = {-1, -1};

sigset_t stopSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : stops)
        sigaddset(&set, signal);
    return set;
}

} // namespace

void StopSignals::holdBack()
{
    // Threads the toolkit starts meanwhile inherit the mask and leave the stops to this one.
    const sigset_t set = stopSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

StopSignals::StopSignals(QObject *parent) : QObject(parent)
{
    if (wake[0] == -1 && pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0)
        qErrnoWarning(errno, "Cannot take stop requests");
    if (wake[0] != -1) {
        auto *notifier = new QSocketNotifier(wake[0], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &StopSignals::quit);
        struct sigaction action = {};
        action.sa_handler = caught;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        for (int signal : stops)
            sigaction(signal, &action, nullptr);
    }
    // A stop held back since before the toolkit is delivered now, to the handler above.
    const sigset_t set = stopSet();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void StopSignals::caught(int signal)
{
    const int saved = errno;
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t written = write(wake[1], &byte, 1);
    errno = saved;
}

void StopSignals::quit()
{
    char bytes[16];
    while (read(wake[0], bytes, sizeof bytes) > 0) {
    }
    QCoreApplication::quit();
}
