// SPDX-License-Identifier: MIT
#ifndef BENCH_PROBE_H
#define BENCH_PROBE_H

#include <QList>
#include <QPoint>

// What a probe that watches the screen measures: pen samples until their ink is on it.
struct Latency
{
    QList<double> ns; // one per sample after the first
    bool complete = false;
};
struct Flood
{
    double ns = 0; // from the first sample sent to the last one's ink on the screen
    bool complete = false;
};

// The pixel a segment surely covers, whatever its width: its middle.
inline QPoint middle(QPoint from, QPoint to)
{
    return (from + to) / 2;
}

#endif // BENCH_PROBE_H
