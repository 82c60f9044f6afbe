// SPDX-License-Identifier: MIT
#include "cases.h"

#include "colordialog.h"
#include "mainwindow.h"
#include "peer.h"
#include "peninput.h"
#include "strokes.h"
#include "xprobe.h"

#include <QAction>
#include <QBackingStore>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <qpa/qplatformbackingstore.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// What reaches a widget's own handlers: pen moves, and paints.
class EventCounter : public QObject
{
public:
    explicit EventCounter(QWidget *widget) : widget(widget) { widget->installEventFilter(this); }
    ~EventCounter() override
    {
        if (widget)
            widget->removeEventFilter(this);
    }

    void reset()
    {
        moves = paints = 0;
        paintedSinceMove = false;
    }

    qsizetype moves = 0;
    qsizetype paints = 0;
    bool paintedSinceMove = false;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::MouseMove) {
            ++moves;
            paintedSinceMove = false;
        } else if (e->type() == QEvent::Paint) {
            ++paints;
            paintedSinceMove = true;
        }
        return false;
    }

private:
    QPointer<QWidget> widget;
};

// The event loop's turn after a pen event: the paint the event asked for happens here.
void turn()
{
    QCoreApplication::processEvents();
}

// Lets the windows finish what they have started (exposures, the first paints).
void settle(int ms = 30)
{
    QTest::qWait(ms);
}

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

template <typename Control> Control *controlAt(QWidget *window, QPoint topLeft)
{
    const auto controls = window->findChildren<Control *>(Qt::FindDirectChildrenOnly);
    for (Control *control : controls) {
        if (control->geometry().topLeft() == topLeft)
            return control;
    }
    return nullptr;
}

// Runs `job` on a thread of its own while this thread's event loop runs, and returns when
// the job is done.
template <typename Job> void whileEventLoopRuns(Job job)
{
    QEventLoop loop;
    std::thread thread([&] {
        job();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    thread.join();
}

double percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(qMin(values.size() - 1, qsizetype(p * values.size())));
}

double median(const QList<double> &values)
{
    return percentile(values, 0.5);
}

} // namespace

Cases::Cases(Results &results, bool quick) : results(results), quick(quick) {}

Cases::~Cases()
{
    delete peer;
    delete window;
}

Mainwindow *Cases::newWindow()
{
    // As the handheld shows it, the whole of a 640 x 480 screen; the screen here is wider, so
    // that the peer stands beside the program rather than over it.
    auto *w = new Mainwindow;
    w->setGeometry(0, 0, 640, 480);
    w->show();
    return w;
}

void Cases::startupAndMemory()
{
    // The first window of the process: nothing of the toolkit's is warm yet.
    const Clock::time_point start = Clock::now();
    window = newWindow();
    {
        EventCounter counter(window);
        while (counter.paints == 0 && secondsSince(start) < 10)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    results.set(QStringLiteral("startup.first"), secondsSince(start) * 1e9);

    sizeList = controlAt<QComboBox>(window, QPoint(165, 35));
    colourButton = controlAt<QPushButton>(window, QPoint(320, 35));
    const auto menus = window->findChild<QMenuBar *>()->actions();
    newAction = menus.first()->menu()->actions().first();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *d = qobject_cast<ColorDialog *>(w))
            dialog = d;
    }
    Q_ASSERT(sizeList && colourButton && newAction && dialog);

    // The pixel format of the window's backing store: the format the floor copies.
    if (QBackingStore *store = window->backingStore())
        windowFormat = store->handle()->toImage().format();
    results.meta(
        QStringLiteral("window.format"),
        QString::fromLatin1(QMetaEnum::fromType<QImage::Format>().valueToKey(windowFormat)));
    const QRect screen = window->screen()->geometry();
    results.meta(QStringLiteral("screen"),
                 QStringLiteral("%1 x %2").arg(screen.width()).arg(screen.height()));
    results.meta(QStringLiteral("window.size"),
                 QStringLiteral("%1 x %2").arg(window->width()).arg(window->height()));

    // Memory: after start-up, then after 100,000 pen events (strokes of 1,000 events: a
    // press, 998 moves and a release), the event loop taking its turn (and painting) after
    // every tenth.
    // The samples are made first: their 800 kB are the benchmark's, not the program's.
    const qsizetype events = quick ? 10000 : 100000;
    const QList<QPoint> samples = Strokes::sweep(events, 6, 3, 10);
    PenInput pen(window);
    settle(300);
    const qint64 before = residentBytes();
    for (qsizetype i = 0; i < events; ++i) {
        const qsizetype inStroke = i % 1000;
        if (inStroke == 0)
            pen.press(samples.at(i));
        else if (inStroke == 999)
            pen.release(samples.at(i - 1));
        else
            pen.move(samples.at(i));
        if (i % 10 == 9)
            turn();
    }
    settle(300);
    const qint64 after = residentBytes();
    results.set(QStringLiteral("rss.startup"), before);
    results.set(QStringLiteral("rss.after"), after);
    results.set(QStringLiteral("rss.growth"), after - before);
    results.set(QStringLiteral("rss.events"), events);

    peer = new PeerCanvas;
    peer->move(640, 0);
    peer->show();
}

QWidget *Cases::widget(Target target) const
{
    return target == Target::Vellumix ? static_cast<QWidget *>(window) : peer;
}

void Cases::ready(Target target)
{
    // Both windows stay on the screen side by side, so neither has to be shown again.
    QWidget *w = widget(target);
    if (w->isVisible() && w->windowHandle()->isExposed()) {
        turn();
        return;
    }
    w->show();
    if (!QTest::qWaitForWindowExposed(w))
        qWarning("The window was not shown");
    settle();
}

void Cases::setStrokeWidth(Target target, int width)
{
    if (target == Target::Peer) {
        peer->setStrokeWidth(width);
        return;
    }
    // As the user chooses it: the size list's item, reported as activated. Widths 1, 4 and 7
    // are the sizes 0, 1 and 2.
    const int index = (width - 1) / 3;
    sizeList->setCurrentIndex(index);
    emit sizeList->activated(index);
}

void Cases::clear(Target target)
{
    if (target == Target::Peer)
        peer->clear();
    else
        newAction->trigger();
    turn();
}

bool Cases::showsExactly(Target target, const QList<QPoint> &samples, int width)
{
    const QRect shown(0, 70, 640, 410);
    QImage expected(640, 480, QImage::Format_RGB32);
    expected.fill(Qt::white);
    Strokes::drawStroke(expected, samples, width, Qt::black);
    const QImage actual =
        widget(target)->grab(shown).toImage().convertToFormat(QImage::Format_RGB32);
    return actual == expected.copy(shown);
}

void Cases::floorCopy(benchmark::State &state)
{
    // The same bytes as a 640 x 480 picture in the window's pixel format, copied whole.
    const QImage picture(640, 480, windowFormat);
    const auto bytes = size_t(picture.sizeInBytes());
    std::vector<uchar> from(bytes, 0x5a), to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(qint64(state.iterations()) * qint64(bytes));
}

void Cases::penMove(benchmark::State &state, Target target, int width)
{
    ready(target);
    setStrokeWidth(target, width);
    clear(target);
    const QList<QPoint> samples = Strokes::sweep(20000, 6, 3, 10);
    PenInput pen(widget(target));
    pen.press(samples.first());
    turn();
    qsizetype next = 1;
    for (auto _ : state) {
        pen.move(samples.at(next));
        turn();
        if (++next == samples.size())
            next = 0;
    }
    pen.release(samples.at(next));
    turn();
}

void Cases::flood(benchmark::State &state, Target target)
{
    ready(target);
    setStrokeWidth(target, 1);
    const qsizetype count = quick ? 10000 : 100000;
    const QList<QPoint> samples = Strokes::sweep(count, 3, 2, 6);
    PenInput pen(widget(target));
    EventCounter counter(widget(target));
    bool complete = true;
    qsizetype paints = 0;
    for (auto _ : state) {
        clear(target);
        pen.press(samples.first());
        turn();
        counter.reset();
        // All queued at once, as a plugin queues samples that come faster than they are taken.
        for (qsizetype i = 1; i < count; ++i)
            pen.queueMove(samples.at(i));
        const Clock::time_point start = Clock::now();
        while (counter.moves < count - 1 || !counter.paintedSinceMove) {
            QCoreApplication::processEvents();
            if (secondsSince(start) > 60)
                break;
        }
        state.SetIterationTime(secondsSince(start));
        pen.release(samples.last());
        turn();
        paints = counter.paints;
        complete = complete && counter.moves == count - 1 && showsExactly(target, samples, 1);
    }
    const QString key = target == Target::Vellumix ? QStringLiteral("flood.vellumix")
                                                   : QStringLiteral("flood.peer");
    results.set(key + QStringLiteral(".samples"), count);
    results.set(key + QStringLiteral(".paints"), paints);
    // Every repetition of the flood must have drawn every sample.
    const QString completeKey = key + QStringLiteral(".complete");
    const bool before = !results.has(completeKey) || results.value(completeKey) == 1;
    results.set(completeKey, before && complete ? 1 : 0);
}

void Cases::penPress(benchmark::State &state, Target target, int width)
{
    ready(target);
    setStrokeWidth(target, width);
    clear(target);
    const QList<QPoint> spots = Strokes::sweep(5000, 12, 0, 12);
    PenInput pen(widget(target));
    qsizetype next = 0;
    for (auto _ : state) {
        const QPoint at = spots.at(next);
        const Clock::time_point start = Clock::now();
        pen.press(at);
        turn();
        state.SetIterationTime(secondsSince(start));
        pen.release(at);
        turn();
        if (++next == spots.size())
            next = 0;
    }
}

void Cases::newPicture(benchmark::State &state)
{
    ready(Target::Vellumix);
    for (auto _ : state) {
        // As the menu does when its item is chosen.
        newAction->trigger();
        turn();
    }
}

void Cases::showDialog()
{
    // As the colour button does when it is pressed.
    colourButton->click();
    if (!QTest::qWaitForWindowExposed(dialog))
        qWarning("The colour dialog was not shown");
    settle();
}

void Cases::backToBlack()
{
    // The colour every other case draws in, taken over at once rather than by the next poll,
    // which could come in the middle of another case.
    dialog->hide();
    dialog->red = dialog->green = dialog->blue = 0;
    QMetaObject::invokeMethod(window, "color_set", Qt::DirectConnection);
    settle();
}

void Cases::colour(benchmark::State &state, ColourStep step)
{
    ready(Target::Vellumix);
    showDialog();
    PenInput pen(dialog);
    // Two spots of different colours, touched in turn, so that every poll finds a new one.
    const QPoint spots[2] = {QPoint(30, 40), QPoint(150, 100)};
    int next = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        pen.press(spots[next]);
        turn();
        if (step == ColourStep::Pick)
            state.SetIterationTime(secondsSince(start));
        pen.release(spots[next]);
        turn();
        if (step == ColourStep::Poll) {
            // As the 100 ms timer does, then the paint of the colour button it asks for.
            start = Clock::now();
            QMetaObject::invokeMethod(window, "color_set", Qt::DirectConnection);
            turn();
            state.SetIterationTime(secondsSince(start));
        }
        next = 1 - next;
    }
    backToBlack();
}

void Cases::startup(benchmark::State &state)
{
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        Mainwindow *w = newWindow();
        {
            EventCounter counter(w);
            while (counter.paints == 0 && secondsSince(start) < 10)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        state.SetIterationTime(secondsSince(start));
        delete w;
        turn();
    }
}

void Cases::registerBenchmarks()
{
    // Every case is repeated, the repetitions of all cases in a random order mixed with one
    // another (see main), and the table takes the fastest repetition of each: the cost of
    // the work itself, with the least of what the rest of the machine did meanwhile. A
    // repetition is itself the mean over thousands of events (or a whole flood).
    const int repetitions = quick ? 1 : 20;
    const auto fastest = [](const std::vector<double> &v) {
        return *std::min_element(v.begin(), v.end());
    };
    // Wall-clock time throughout: painting on a real screen is partly the X server's work.
    // Cases that time only a part of each iteration say so with manual time; a flood is one
    // iteration.
    enum Timing { Whole, Part, Flood };
    auto add = [&](const char *name, auto fn, Timing timing = Whole) {
        benchmark::internal::Benchmark *b = benchmark::RegisterBenchmark(name, fn);
        b->Unit(benchmark::kNanosecond)
            ->Repetitions(timing == Flood && !quick ? 9 : repetitions)
            ->ComputeStatistics("min", fastest)
            ->ReportAggregatesOnly(true);
        if (timing == Whole)
            b->UseRealTime();
        else
            b->UseManualTime();
        if (timing == Flood)
            b->Iterations(1);
        else
            b->MinTime(quick ? 0.02 : 0.05);
        return b;
    };
    add("floor", [this](benchmark::State &s) { floorCopy(s); });
    for (int width : {1, 4, 7}) {
        const std::string w = std::to_string(width);
        add(("move.w" + w + ".vellumix").c_str(),
            [this, width](benchmark::State &s) { penMove(s, Target::Vellumix, width); });
        add(("move.w" + w + ".peer").c_str(),
            [this, width](benchmark::State &s) { penMove(s, Target::Peer, width); });
    }
    add(
        "flood.vellumix", [this](benchmark::State &s) { flood(s, Target::Vellumix); }, Flood);
    add(
        "flood.peer", [this](benchmark::State &s) { flood(s, Target::Peer); }, Flood);
    for (int width : {1, 7}) {
        const std::string w = std::to_string(width);
        add(("press.w" + w + ".vellumix").c_str(),
            [this, width](benchmark::State &s) { penPress(s, Target::Vellumix, width); }, Part);
        add(("press.w" + w + ".peer").c_str(),
            [this, width](benchmark::State &s) { penPress(s, Target::Peer, width); }, Part);
    }
    add("new.vellumix", [this](benchmark::State &s) { newPicture(s); });
    add(
        "pick.vellumix", [this](benchmark::State &s) { colour(s, ColourStep::Pick); }, Part);
    add(
        "poll.vellumix", [this](benchmark::State &s) { colour(s, ColourStep::Poll); }, Part);
    add(
        "startup.vellumix", [this](benchmark::State &s) { startup(s); }, Part)
        ->MinTime(quick ? 0.05 : 0.5)
        ->Repetitions(quick ? 1 : 3);
}

void Cases::throughXServer()
{
    XProbe probe;
    if (!probe.isOpen()) {
        qWarning("No X server to send pen samples through");
        return;
    }
    results.meta(QStringLiteral("xserver"), probe.serverDescription());
    const Target targets[] = {Target::Vellumix, Target::Peer};
    const QString names[] = {QStringLiteral("vellumix"), QStringLiteral("peer")};
    XProbe::Target where[2];
    for (int t = 0; t < 2; ++t) {
        QWidget *w = widget(targets[t]);
        ready(targets[t]);
        setStrokeWidth(targets[t], 1);
        clear(targets[t]);
        where[t] = {w->winId(), w->mapToGlobal(QPoint())};
    }
    settle(100);

    // Latency: strokes of a few samples, one sample at a time with the program idle before
    // each, taking turns between the program and the peer so that whatever else the machine
    // does falls on both alike. Each stroke goes on where the last one ended, on fresh canvas.
    const int strokes = quick ? 4 : 30, perStroke = 12;
    const QList<QPoint> path = Strokes::sweep(strokes * (perStroke + 1), 8, 2, 12);
    QList<double> latency[2];
    bool latencyComplete[2] = {true, true};
    for (int stroke = 0; stroke < strokes; ++stroke) {
        const QList<QPoint> samples = path.mid(stroke * (perStroke + 1), perStroke + 1);
        for (int t = 0; t < 2; ++t) {
            XProbe::Latency measured;
            whileEventLoopRuns([&] { measured = probe.latency(where[t], samples); });
            latency[t] << measured.ns;
            latencyComplete[t] = latencyComplete[t] && measured.complete;
        }
    }

    // Floods: every sample at once, until the last one is on the screen; taking turns too.
    const qsizetype floodSamples = quick ? 3000 : 15000;
    const QList<QPoint> flood = Strokes::sweep(floodSamples, 4, 1, 4);
    QList<double> perSample[2];
    bool floodComplete[2] = {true, true};
    qsizetype paints[2] = {0, 0};
    for (int round = 0; round < (quick ? 1 : 5); ++round) {
        for (int t = 0; t < 2; ++t) {
            clear(targets[t]);
            settle(50);
            EventCounter counter(widget(targets[t]));
            XProbe::Flood result;
            whileEventLoopRuns([&] { result = probe.flood(where[t], flood); });
            settle(50);
            perSample[t] << result.ns / double(floodSamples - 1);
            paints[t] = counter.paints;
            floodComplete[t] = floodComplete[t] && result.complete &&
                               counter.moves == floodSamples - 1 &&
                               showsExactly(targets[t], flood, 1);
        }
    }

    for (int t = 0; t < 2; ++t) {
        const QString &name = names[t];
        results.set(QStringLiteral("xlatency.%1").arg(name), median(latency[t]));
        results.set(QStringLiteral("xlatency90.%1").arg(name), percentile(latency[t], 0.9));
        results.set(QStringLiteral("xlatency.%1.complete").arg(name), latencyComplete[t] ? 1 : 0);
        results.set(QStringLiteral("xlatency.%1.samples").arg(name), latency[t].size());
        results.set(QStringLiteral("xflood.%1").arg(name),
                    *std::min_element(perSample[t].begin(), perSample[t].end()));
        results.set(QStringLiteral("xflood.%1.samples").arg(name), floodSamples);
        results.set(QStringLiteral("xflood.%1.paints").arg(name), paints[t]);
        results.set(QStringLiteral("xflood.%1.complete").arg(name), floodComplete[t] ? 1 : 0);
    }
}
