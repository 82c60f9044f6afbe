// SPDX-License-Identifier: MIT
#include "cases.h"

#include "colordialog.h"
#include "mainwindow.h"
#include "peer.h"
#include "peninput.h"
#include "strokes.h"
#include "turnedcopy.h"
#include "vncprobe.h"
#include "xprobe.h"

#include <QAction>
#include <QBackingStore>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScreen>
#include <QSysInfo>
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

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

void fact(const char *key, const QString &value)
{
    benchmark::AddCustomContext(key, value.toStdString());
}

// The port of the VNC server the platform was given, as in "vnc:size=1280x480:port=5911".
quint16 vncPort()
{
    const QRegularExpression port(QStringLiteral("port=(\\d+)"));
    const QRegularExpressionMatch match = port.match(qEnvironmentVariable("QT_QPA_PLATFORM"));
    return match.hasMatch() ? match.captured(1).toUShort() : 5900;
}

} // namespace

Cases::Cases(bool quick) : quick(quick) {}

Cases::~Cases()
{
    delete xprobe;
    delete vnc;
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

void Cases::start()
{
    // The first window of the process: nothing of the toolkit's is warm yet.
    const Clock::time_point start = Clock::now();
    window = newWindow();
    {
        EventCounter counter(window);
        while (counter.paints == 0 && secondsSince(start) < 10)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    firstStartup = secondsSince(start);

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
    QScreen *screen = window->screen();
    QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("vnc"))
        platform += QStringLiteral(" %1-bit").arg(screen->depth());
    if (window->devicePixelRatio() != 1)
        platform += QStringLiteral(", ratio %1").arg(window->devicePixelRatio());
    fact("platform", platform);
    fact("qt", QString::fromLatin1(qVersion()));
    fact("system",
         QSysInfo::prettyProductName() + QStringLiteral(", kernel ") + QSysInfo::kernelVersion());
    fact("setting", QStringLiteral("screen %1 x %2, window %3 x %4, backing store %5")
                        .arg(screen->geometry().width())
                        .arg(screen->geometry().height())
                        .arg(window->width())
                        .arg(window->height())
                        .arg(QString::fromLatin1(
                            QMetaEnum::fromType<QImage::Format>().valueToKey(windowFormat))));

    peer = new PeerCanvas;
    peer->move(640, 0);
    peer->show();
}

void Cases::memory(benchmark::State &state)
{
    // After start-up, then after 100,000 pen events (strokes of 1,000 events: a press, 998
    // moves and a release), the event loop taking its turn (and painting) after every tenth.
    // The samples are made first: their 800 kB are the benchmark's, not the program's.
    ready(Target::Vellumix);
    const qsizetype events = quick ? 10000 : 100000;
    const QList<QPoint> samples = Strokes::sweep(events, 6, 3, 10);
    PenInput pen(window);
    settle(300);
    const qint64 before = residentBytes();
    for (auto _ : state) {
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
    }
    settle(300);
    // Start-up is measured before Google Benchmark runs; it is reported here.
    state.counters["first_window_ns"] = firstStartup * 1e9;
    state.counters["before"] = double(before);
    state.counters["growth"] = double(residentBytes() - before);
    state.counters["events"] = double(events);
}

QWidget *Cases::widget(Target target) const
{
    return target == Target::Vellumix ? static_cast<QWidget *>(window) : peer;
}

void Cases::ready(Target target)
{
    // The two peers are one widget, told how much to repaint.
    if (target != Target::Vellumix)
        peer->setWholeWindow(target == Target::FullPeer);
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
    if (target != Target::Vellumix) {
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
    if (target != Target::Vellumix)
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
    // The same bytes as the window's pixels in its pixel format, copied whole.
    const qreal ratio = window->devicePixelRatio();
    const QImage picture(window->size() * ratio, windowFormat);
    const auto bytes = size_t(picture.sizeInBytes());
    std::vector<uchar> from(bytes, 0x5a), to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(qint64(state.iterations()) * qint64(bytes));
}

void Cases::panelCopy(benchmark::State &state, PanelCopy how, QImage::Format format)
{
    // The last copy of a framebuffer platform: the composed 640 x 480 screen into the
    // framebuffer's memory, in the framebuffer's pixel format, whole, as on every pen sample.
    // A turned framebuffer is a 480 x 640 panel.
    QImage screen(640, 480, format);
    QRandomGenerator(1).fillRange(reinterpret_cast<quint32 *>(screen.bits()),
                                  screen.sizeInBytes() / 4);
    const bool turned = how != PanelCopy::Floor && how != PanelCopy::Unturned;
    const QSize panelSize = turned ? screen.size().transposed() : screen.size();
    const qsizetype stride = panelSize.width() * screen.depth() / 8;
    std::vector<uchar> memory(size_t(stride * panelSize.height()));
    QImage panel(memory.data(), panelSize.width(), panelSize.height(), stride, format);
    // As linuxfb's screen keeps one painter on the framebuffer for all its copies.
    QPainter painter(&panel);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (how == PanelCopy::Painter90)
        painter.setTransform(QTransform(0, -1, 1, 0, 0, panelSize.height()));
    const QRect all = screen.rect();
    for (auto _ : state) {
        switch (how) {
        case PanelCopy::Floor:
            std::memcpy(memory.data(), screen.constBits(), memory.size());
            break;
        case PanelCopy::Unturned:
        case PanelCopy::Painter90:
            painter.drawImage(all, screen, all);
            break;
        case PanelCopy::Turned90:
        case PanelCopy::Turned270:
            turnedCopy(screen, all, memory.data(), stride,
                       PanelTurn(how == PanelCopy::Turned90 ? 90 : 270, panelSize));
            break;
        }
        benchmark::DoNotOptimize(memory.data());
        benchmark::ClobberMemory();
    }
    painter.end();
    // The painter's turn is the yardstick only if it turns the same way.
    if (how == PanelCopy::Painter90) {
        std::vector<uchar> own(memory.size());
        turnedCopy(screen, all, own.data(), stride, PanelTurn(90, panelSize));
        state.counters["same"] = own == memory;
    }
    state.SetBytesProcessed(qint64(state.iterations()) * qint64(memory.size()));
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
        state.SetIterationTime(secondsSince(start) / double(count - 1));
        pen.release(samples.last());
        turn();
        paints = counter.paints;
        complete = complete && counter.moves == count - 1 && showsExactly(target, samples, 1);
    }
    state.counters["samples"] = double(count);
    state.counters["paints"] = double(paints);
    state.counters["complete"] = complete;
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
    // Cases that time only a part of each iteration say so with manual time; a flood or a
    // stroke on the screen is one iteration, repeated `times`.
    enum Timing { Whole, Part, Once };
    auto add = [&](const std::string &name, auto fn, Timing timing = Whole, int times = 0) {
        benchmark::internal::Benchmark *b = benchmark::RegisterBenchmark(name.c_str(), fn);
        b->Unit(benchmark::kNanosecond)
            ->Repetitions(timing == Once && !quick ? times : repetitions)
            ->ComputeStatistics("min", fastest)
            ->ReportAggregatesOnly(true);
        if (timing == Whole)
            b->UseRealTime();
        else
            b->UseManualTime();
        if (timing == Once)
            b->Iterations(1);
        else
            b->MinTime(quick ? 0.02 : 0.05);
        return b;
    };
    using Run = benchmark::State;
    const std::pair<Target, std::string> all[] = {
        {Target::Vellumix, ".vellumix"}, {Target::Peer, ".peer"}, {Target::FullPeer, ".full"}};
    add("floor", [this](Run &s) { floorCopy(s); });
    // The turned framebuffer's last copy does not depend on the platform: measured once, in
    // the offscreen run.
    if (QGuiApplication::platformName() == QLatin1String("offscreen") &&
        window->devicePixelRatio() == 1) {
        const std::pair<PanelCopy, std::string> copies[] = {{PanelCopy::Floor, "floor"},
                                                            {PanelCopy::Unturned, "unturned"},
                                                            {PanelCopy::Turned90, "turned90"},
                                                            {PanelCopy::Turned270, "turned270"},
                                                            {PanelCopy::Painter90, "painter90"}};
        for (const auto &[how, name] : copies) {
            for (const auto &[format, depth] :
                 {std::pair(QImage::Format_RGB32, "32"), std::pair(QImage::Format_RGB16, "16")})
                add("panel." + name + "." + depth,
                    [this, how = how, format = format](Run &s) { panelCopy(s, how, format); });
        }
    }
    for (int width : {1, 4, 7}) {
        for (const auto &[target, name] : all) {
            add("move.w" + std::to_string(width) + name,
                [this, target = target, width](Run &s) { penMove(s, target, width); });
        }
    }
    for (const auto &[target, name] : all)
        add(
            "flood" + name, [this, target = target](Run &s) { flood(s, target); }, Once, 9);
    for (int width : {1, 7}) {
        for (Target target : {Target::Vellumix, Target::Peer}) {
            add(
                "press.w" + std::to_string(width) + all[int(target)].second,
                [this, target, width](Run &s) { penPress(s, target, width); }, Part);
        }
    }
    add("new.vellumix", [this](Run &s) { newPicture(s); });
    add(
        "pick.vellumix", [this](Run &s) { colour(s, ColourStep::Pick); }, Part);
    add(
        "poll.vellumix", [this](Run &s) { colour(s, ColourStep::Poll); }, Part);
    add(
        "startup.vellumix", [this](Run &s) { startup(s); }, Part)
        ->MinTime(quick ? 0.05 : 0.5)
        ->Repetitions(quick ? 1 : 3);
    add(
        "memory.vellumix", [this](Run &s) { memory(s); }, Once, 1);

    // On a real screen: through the X server, or through the VNC server's picture of the
    // screen Qt composes.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        xprobe = new XProbe;
        if (xprobe->isOpen())
            fact("xserver", xprobe->serverDescription());
    } else if (QGuiApplication::platformName() == QLatin1String("vnc")) {
        vnc = new VncProbe(vncPort());
    }
    if ((xprobe && xprobe->isOpen()) || (vnc && vnc->isOpen())) {
        for (const auto &[target, name] : all) {
            add(
                "latency" + name, [this, target = target](Run &s) { screenLatency(s, target); },
                Once, 30);
            add(
                "screenflood" + name, [this, target = target](Run &s) { screenFlood(s, target); },
                Once, 5);
        }
    } else if (xprobe || vnc) {
        qWarning("No screen to watch pen samples arrive on");
    }
}

Latency Cases::onScreen(Target target, const QList<QPoint> &samples)
{
    QWidget *w = widget(target);
    if (vnc)
        return vnc->latency(w, samples);
    Latency measured;
    whileEventLoopRuns([&] {
        measured = xprobe->latency({w->winId(), w->mapToGlobal(QPoint())}, samples);
    });
    return measured;
}

Flood Cases::floodOnScreen(Target target, const QList<QPoint> &samples)
{
    QWidget *w = widget(target);
    if (vnc)
        return vnc->flood(w, samples);
    Flood measured;
    whileEventLoopRuns([&] {
        measured = xprobe->flood({w->winId(), w->mapToGlobal(QPoint())}, samples);
    });
    return measured;
}

void Cases::screenLatency(benchmark::State &state, Target target)
{
    // One stroke of 12 samples, one at a time with the program idle before each, on fresh
    // canvas; the repetition's figure is the stroke's median.
    ready(target);
    setStrokeWidth(target, 1);
    const QList<QPoint> samples = Strokes::sweep(13, 8, 2, 12);
    bool complete = true;
    for (auto _ : state) {
        clear(target);
        settle(20);
        const Latency measured = onScreen(target, samples);
        state.SetIterationTime(median(measured.ns) * 1e-9);
        state.counters["pixels"] = double(measured.pixels) / double(samples.size() - 1);
        complete = complete && measured.complete;
    }
    state.counters["complete"] = complete;
}

void Cases::screenFlood(benchmark::State &state, Target target)
{
    ready(target);
    setStrokeWidth(target, 1);
    const qsizetype count = quick ? 3000 : 15000;
    const QList<QPoint> samples = Strokes::sweep(count, 4, 1, 4);
    bool complete = true;
    qsizetype paints = 0;
    for (auto _ : state) {
        clear(target);
        settle(50);
        EventCounter counter(widget(target));
        const Flood measured = floodOnScreen(target, samples);
        state.SetIterationTime(measured.ns * 1e-9 / double(count - 1));
        state.counters["pixels"] = double(measured.pixels) / double(count - 1);
        settle(50);
        paints = counter.paints;
        complete = complete && measured.complete && counter.moves == count - 1 &&
                   showsExactly(target, samples, 1);
    }
    state.counters["samples"] = double(count);
    state.counters["paints"] = double(paints);
    state.counters["complete"] = complete;
}
