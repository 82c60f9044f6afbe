// SPDX-License-Identifier: MIT
#ifndef BENCH_PROBE_H
#define BENCH_PROBE_H

#include <QList>
#include <QPoint>

// What a probe that watches the screen measures: pen samples until their ink is on it.
// Beside the time, the pixels the screen was sent for the samples after the first: what
// their ink cost a panel that updates only the pixels it receives.
struct Latency
{
    QList<double> ns; // one per sample after the first
    qint64 pixels = 0;
    bool complete = false;
};
struct Flood
{
    double ns = 0; // from the first sample sent to the last one's ink on the screen
    qint64 pixels = 0;
    bool complete = false;
};

// The pixel a segment surely covers, whatever its width: its middle.
inline QPoint middle(QPoint from, QPoint to)
{
    return (from + to) / 2;
}

#endif // BENCH_PROBE_H
