// SPDX-License-Identifier: MIT
#include "report.h"

#include <QFile>
#include <QSysInfo>
#include <QTextStream>
#include <QThread>

#include <cmath>

namespace {

const QString beginMarker =
    QStringLiteral("<!-- benchmark run: begin (written by scripts/bench) -->");
const QString endMarker = QStringLiteral("<!-- benchmark run: end -->");
const double mebibyte = 1024.0 * 1024.0;

enum class Unit { Time, Bytes };
enum class Goal { None, FloorRatio, NotSlowerThanPeer, PeerRatio, Growth };

struct Row
{
    const char *number;
    const char *what;
    const char *key;
    const char *peerKey;
    Unit unit;
    Goal goal;
    double limit;
    bool perSample;     // the figure is for all the samples of the run (key + ".samples")
    const char *onlyOn; // the platform the target is set for, or null for every platform
};

const Row rows[] = {
    {"", "floor: a bare copy of the 640 × 480 picture (memcpy)", "floor", nullptr, Unit::Time,
     Goal::None, 0, false, nullptr},
    {"1", "pen move and its paint, width 1", "move.w1.vellumix", "move.w1.peer", Unit::Time,
     Goal::None, 0, false, nullptr},
    {"1", "pen move and its paint, width 4", "move.w4.vellumix", "move.w4.peer", Unit::Time,
     Goal::None, 0, false, nullptr},
    {"1", "pen move and its paint, width 7", "move.w7.vellumix", "move.w7.peer", Unit::Time,
     Goal::FloorRatio, 1.3, false, "offscreen"},
    {"2", "flood: %1 samples queued at once, per sample", "flood.vellumix", "flood.peer",
     Unit::Time, Goal::NotSlowerThanPeer, 1.0, true, nullptr},
    {"3", "pen press (dot) and its paint, width 1", "press.w1.vellumix", "press.w1.peer",
     Unit::Time, Goal::None, 0, false, nullptr},
    {"3", "pen press (dot) and its paint, width 7", "press.w7.vellumix", "press.w7.peer",
     Unit::Time, Goal::None, 0, false, nullptr},
    {"4", "new: clear the canvas and repaint the window", "new.vellumix", nullptr, Unit::Time,
     Goal::None, 0, false, nullptr},
    {"5", "colour pick: a pen press on the palette", "pick.vellumix", nullptr, Unit::Time,
     Goal::None, 0, false, nullptr},
    {"5", "colour poll that finds a new colour, and the button's paint", "poll.vellumix", nullptr,
     Unit::Time, Goal::None, 0, false, nullptr},
    {"6", "start-up: window constructed to its first paint", "startup.vellumix", nullptr,
     Unit::Time, Goal::None, 0, false, nullptr},
    {"6", "start-up of the process's first window", "startup.first", nullptr, Unit::Time,
     Goal::None, 0, false, nullptr},
    {"7", "resident set size after start-up", "rss.startup", nullptr, Unit::Bytes, Goal::None, 0,
     false, nullptr},
    {"7", "resident set size growth after %2 pen events", "rss.growth", nullptr, Unit::Bytes,
     Goal::Growth, 1.0, false, nullptr},
    {"8", "XTest sample to its pixels on the screen (%4 samples), median", "xlatency.vellumix",
     "xlatency.peer", Unit::Time, Goal::PeerRatio, 1.5, false, nullptr},
    {"8", "XTest sample to its pixels on the screen, 90th percentile", "xlatency90.vellumix",
     "xlatency90.peer", Unit::Time, Goal::None, 0, false, nullptr},
    {"8", "XTest flood: %3 samples sent at once, per sample", "xflood.vellumix", "xflood.peer",
     Unit::Time, Goal::NotSlowerThanPeer, 1.0, false, nullptr},
};

QString formatTime(double ns)
{
    if (ns < 1e3)
        return QStringLiteral("%1 ns").arg(ns, 0, 'f', 0);
    if (ns < 1e6)
        return QStringLiteral("%1 µs").arg(ns / 1e3, 0, 'f', ns < 1e4 ? 2 : 1);
    if (ns < 1e9)
        return QStringLiteral("%1 ms").arg(ns / 1e6, 0, 'f', ns < 1e7 ? 2 : 1);
    return QStringLiteral("%1 s").arg(ns / 1e9, 0, 'f', 2);
}

QString formatBytes(double bytes, bool sign)
{
    const QString text = QStringLiteral("%1 MiB").arg(std::fabs(bytes) / mebibyte, 0, 'f', 2);
    if (!sign)
        return text;
    return (bytes < 0 ? QStringLiteral("−") : QStringLiteral("+")) + text;
}

QString formatRate(double nsPerSample)
{
    return QStringLiteral("%L1/s").arg(qRound64(1e9 / nsPerSample));
}

QString ratio(double value)
{
    return QStringLiteral("%1×").arg(value, 0, 'f', 2);
}

struct Cell
{
    bool present = false;
    double value = 0;
};

Cell figure(const Results &run, const char *key, bool perSample)
{
    if (!key || !run.has(QLatin1String(key)))
        return {};
    double value = run.value(QLatin1String(key));
    if (perSample) {
        const double samples = run.value(QLatin1String(key) + QStringLiteral(".samples"));
        if (samples <= 0)
            return {};
        value /= samples;
    }
    return {true, value};
}

QString count(const Results &run, const char *key)
{
    return QStringLiteral("%L1").arg(qRound64(run.value(QLatin1String(key))));
}

// The row's words, with the sample and event counts of the run.
QString label(const Row &row, const Results &run)
{
    return QString::fromUtf8(row.what)
        .replace(QStringLiteral("%1"), count(run, "flood.vellumix.samples"))
        .replace(QStringLiteral("%2"), count(run, "rss.events"))
        .replace(QStringLiteral("%3"), count(run, "xflood.vellumix.samples"))
        .replace(QStringLiteral("%4"), count(run, "xlatency.vellumix.samples"));
}

bool complete(const Results &run, const char *key)
{
    const QString flag = QLatin1String(key) + QStringLiteral(".complete");
    return !run.has(flag) || run.value(flag) == 1;
}

QString firstLine(const QString &path, const QString &prefix)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QTextStream in(&file);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
        if (line.startsWith(prefix))
            return line.mid(line.indexOf(QLatin1Char(':')) + 1).trimmed();
    }
    return {};
}

} // namespace

bool Results::save(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream out(&file);
    for (auto i = facts.cbegin(); i != facts.cend(); ++i)
        out << "fact\t" << i.key() << '\t' << i.value() << '\n';
    for (auto i = values.cbegin(); i != values.cend(); ++i)
        out << "value\t" << i.key() << '\t' << QString::number(i.value(), 'g', 12) << '\n';
    return true;
}

Results Results::load(const QString &path, bool *ok)
{
    Results results;
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    if (!*ok)
        return results;
    QTextStream in(&file);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 3)
            continue;
        if (fields.at(0) == QLatin1String("fact"))
            results.meta(fields.at(1), fields.at(2));
        else if (fields.at(0) == QLatin1String("value"))
            results.set(fields.at(1), fields.at(2).toDouble());
    }
    return results;
}

QString table(const QList<Results> &runs)
{
    QString text;
    QTextStream out(&text);
    out << "| case | measure | platform | Vellumix | peer | Vellumix ÷ floor | Vellumix ÷ peer "
           "| target | met |\n";
    out << "|---|---|---|--:|--:|--:|--:|---|---|\n";
    QStringList verdicts;
    bool xRun = false;
    for (const Row &row : rows) {
        for (const Results &run : runs) {
            const QString platform = run.fact(QStringLiteral("platform"));
            const Cell own = figure(run, row.key, row.perSample);
            if (!own.present)
                continue;
            xRun = xRun || row.number == QLatin1String("8");
            const Cell peer = figure(run, row.peerKey, row.perSample);
            const Cell floor = figure(run, "floor", false);
            const QString what = label(row, run);
            if (!complete(run, row.key) && own.value <= 0) {
                out << "| " << row.number << " | " << what << " | " << platform
                    << " | not measured: the samples did not reach the screen | | | | | |\n";
                continue;
            }
            QString ownText, peerText, floorRatio, peerRatio;
            if (row.unit == Unit::Bytes) {
                ownText = formatBytes(own.value, row.goal == Goal::Growth);
            } else {
                ownText = formatTime(own.value);
                if (peer.present)
                    peerText = formatTime(peer.value);
                if (row.goal == Goal::NotSlowerThanPeer) {
                    ownText += QStringLiteral(" (%1)").arg(formatRate(own.value));
                    if (peer.present)
                        peerText += QStringLiteral(" (%1)").arg(formatRate(peer.value));
                }
                if (floor.present && QLatin1String(row.key) != QLatin1String("floor"))
                    floorRatio = ratio(own.value / floor.value);
                if (peer.present)
                    peerRatio = ratio(own.value / peer.value);
            }
            if (!complete(run, row.key))
                ownText += QStringLiteral(", samples lost");
            if (row.peerKey && !complete(run, row.peerKey))
                peerText += QStringLiteral(", samples lost");

            QString target, met;
            const bool applies =
                row.goal != Goal::None && (!row.onlyOn || platform == QLatin1String(row.onlyOn));
            if (applies) {
                bool ok = false;
                switch (row.goal) {
                case Goal::FloorRatio:
                    target = QStringLiteral("≤ %1× floor").arg(row.limit, 0, 'f', 1);
                    ok = floor.present && own.value <= row.limit * floor.value;
                    break;
                case Goal::NotSlowerThanPeer:
                    target = QStringLiteral("≤ 1× peer, every sample drawn");
                    ok = peer.present && own.value <= peer.value && complete(run, row.key);
                    break;
                case Goal::PeerRatio:
                    target = QStringLiteral("≤ %1× peer").arg(row.limit, 0, 'f', 1);
                    ok = peer.present && own.value <= row.limit * peer.value &&
                         complete(run, row.key);
                    break;
                case Goal::Growth:
                    target = QStringLiteral("≤ %1 MiB").arg(row.limit, 0, 'f', 0);
                    ok = own.value <= row.limit * mebibyte;
                    break;
                case Goal::None:
                    break;
                }
                met = ok ? QStringLiteral("yes") : QStringLiteral("**no**");
                verdicts << QStringLiteral("- case %1, %2 (%3): %4 — %5")
                                .arg(QLatin1String(row.number), what, platform, target,
                                     ok ? QStringLiteral("met") : QStringLiteral("missed"));
            }
            out << "| " << row.number << " | " << what << " | " << platform << " | " << ownText
                << " | " << peerText << " | " << floorRatio << " | " << peerRatio << " | " << target
                << " | " << met << " |\n";
        }
    }
    if (!xRun)
        out << "| 8 | pen samples through a real X server | — | not run: no X server (Xvfb) "
               "| | | | | |\n";
    out << "\nTargets:\n" << verdicts.join(QLatin1Char('\n')) << '\n';

    QStringList notes;
    for (const Results &run : runs) {
        for (const char *flood : {"flood", "xflood"}) {
            const QString own = QStringLiteral("%1.vellumix.paints").arg(QLatin1String(flood));
            const QString peer = QStringLiteral("%1.peer.paints").arg(QLatin1String(flood));
            if (run.has(own) && run.has(peer))
                notes << QStringLiteral("- %1, %2: the window painted %L3 times for Vellumix, "
                                        "%L4 times for the peer, in the last run.")
                             .arg(run.fact(QStringLiteral("platform")),
                                  QLatin1String(flood) == QLatin1String("flood")
                                      ? QStringLiteral("case 2")
                                      : QStringLiteral("case 8's flood"))
                             .arg(qRound64(run.value(own)))
                             .arg(qRound64(run.value(peer)));
        }
    }
    if (!notes.isEmpty())
        out << "\nFloods:\n" << notes.join(QLatin1Char('\n')) << '\n';
    return text;
}

QString runDescription(const QList<Results> &runs)
{
    QString text;
    QTextStream out(&text);
    const QString cpu = firstLine(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"));
    const double memoryKiB = firstLine(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"))
                                 .section(u' ', 0, 0)
                                 .toDouble();
    QStringList dates;
    for (const Results &run : runs)
        dates << run.fact(QStringLiteral("date"));
    dates.removeDuplicates();
    out << "Run of " << dates.join(QStringLiteral(" and ")) << ".\n\n";
    out << "- machine: " << (cpu.isEmpty() ? QStringLiteral("unknown processor") : cpu) << ", "
        << QThread::idealThreadCount() << " logical processors, "
        << QString::number(memoryKiB / mebibyte, 'f', 1) << " GiB of memory\n";
    out << "- system: " << QSysInfo::prettyProductName() << ", kernel " << QSysInfo::kernelVersion()
        << '\n';
    for (const Results &run : runs) {
        out << "- platform plugin `" << run.fact(QStringLiteral("platform")) << "`: Qt "
            << run.fact(QStringLiteral("qt")) << ", " << run.fact(QStringLiteral("build"))
            << " build, screen " << run.fact(QStringLiteral("screen")) << ", window "
            << run.fact(QStringLiteral("window.size")) << ", backing store "
            << run.fact(QStringLiteral("window.format"));
        if (!run.fact(QStringLiteral("xserver")).isEmpty())
            out << ", X server " << run.fact(QStringLiteral("xserver"));
        out << '\n';
    }
    return text;
}

bool writeIntoDocument(const QString &path, const QString &text)
{
    QFile file(path);
    QString document;
    if (file.open(QIODevice::ReadOnly)) {
        document = QString::fromUtf8(file.readAll());
        file.close();
    }
    const qsizetype begin = document.indexOf(beginMarker);
    const qsizetype end = document.indexOf(endMarker);
    const QString block = beginMarker + QLatin1Char('\n') + text + endMarker;
    if (begin >= 0 && end > begin)
        document.replace(begin, end + endMarker.size() - begin, block);
    else
        document += (document.isEmpty() ? QStringLiteral("# Performance\n\n") : QString()) + block +
                    QLatin1Char('\n');
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(document.toUtf8());
    return true;
}
