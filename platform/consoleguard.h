// SPDX-License-Identifier: MIT
#ifndef CONSOLEGUARD_H
#define CONSOLEGUARD_H

// The console under the panel, which the toolkit's framebuffer platforms take over while they
// are constructed: linuxfb puts it in graphics mode, and both switch its keyboard off. They
// give it back only in their teardown, which a crash skips, leaving the console dead until
// the next boot. The guard gives back what it noted should the program die of a fatal signal
// (SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL), and the program still ends with that signal.
namespace ConsoleGuard {

// Before the toolkit is constructed: notes the console's display and keyboard modes, where
// there is such a console, and guards them from then on.
void arm();

// Where the platform turns out not to take the console: leaves the fatal signals as they were.
void disarm();

} // namespace ConsoleGuard

#endif // CONSOLEGUARD_H
