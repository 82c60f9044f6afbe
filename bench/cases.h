// SPDX-License-Identifier: MIT
#ifndef BENCH_CASES_H
#define BENCH_CASES_H

#include "probe.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QList>
#include <QPoint>

class ColorDialog;
class Mainwindow;
class PeerCanvas;
class QAction;
class VncProbe;
class XProbe;
class QComboBox;
class QPushButton;
class QWidget;

// The cases of the benchmark, run through the real Mainwindow with pen events delivered as
// the toolkit delivers them, beside the same cases on the peers and the floor copy.
class Cases
{
public:
    explicit Cases(bool quick);
    ~Cases();

    // Before anything else, in a fresh process: the first start-up.
    void start();
    // The timed cases, registered with Google Benchmark (run by the caller). On xcb and vnc
    // they include pen samples timed until their ink is on the screen.
    void registerBenchmarks();

private:
    enum class Target { Vellumix, Peer, FullPeer };

    QWidget *widget(Target target) const;
    void ready(Target target);
    void setStrokeWidth(Target target, int width);
    void clear(Target target);
    // What the window shows of the canvas below the header band, and what it must show.
    bool showsExactly(Target target, const QList<QPoint> &samples, int width);

    Mainwindow *newWindow();
    void showDialog();
    void backToBlack();
    void floorCopy(benchmark::State &state);
    enum class PanelCopy { Floor, Unturned, Turned90, Turned270, Painter90 };
    void panelCopy(benchmark::State &state, PanelCopy how, QImage::Format format);
    void penMove(benchmark::State &state, Target target, int width);
    void flood(benchmark::State &state, Target target);
    void penPress(benchmark::State &state, Target target, int width);
    void newPicture(benchmark::State &state);
    // A pick in the colour dialog, and the poll that then finds a new colour: either timed.
    enum class ColourStep { Pick, Poll };
    void colour(benchmark::State &state, ColourStep step);
    void startup(benchmark::State &state);
    void memory(benchmark::State &state);
    Latency onScreen(Target target, const QList<QPoint> &samples);
    Flood floodOnScreen(Target target, const QList<QPoint> &samples);
    void screenLatency(benchmark::State &state, Target target);
    void screenFlood(benchmark::State &state, Target target);

    const bool quick;
    double firstStartup = 0;
    XProbe *xprobe = nullptr;
    VncProbe *vnc = nullptr;
    Mainwindow *window = nullptr;
    PeerCanvas *peer = nullptr;
    ColorDialog *dialog = nullptr;
    QComboBox *sizeList = nullptr;
    QAction *newAction = nullptr;
    QPushButton *colourButton = nullptr;
    QImage::Format windowFormat = QImage::Format_RGB32;
};

#endif // BENCH_CASES_H
