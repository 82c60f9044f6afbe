// SPDX-License-Identifier: MIT
#ifndef STOPSIGNALS_H
#define STOPSIGNALS_H

#include <QObject>

// A stop the system asks for (SIGTERM from a service manager or a shutdown, SIGINT, SIGHUP)
// ends the program as its quit menu entry does: the event loop quits, windows and screen are
// torn down in order, the console gets the panel back, and the status is 0. The toolkit's
// framebuffer platforms would end the program at once instead, skipping all of that.
class StopSignals : public QObject
{
    Q_OBJECT

public:
    // Before the toolkit is constructed: a stop asked for from here on waits for the
    // application's own handler instead of meeting the toolkit's.
    static void holdBack();

    // Once the toolkit is constructed, which has put its own handler in place.
    explicit StopSignals(QObject *parent = nullptr);

private:
    static void caught(int signal);
    void quit();
};

#endif // STOPSIGNALS_H
