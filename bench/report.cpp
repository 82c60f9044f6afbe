// SPDX-License-Identifier: MIT
#include "report.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cmath>

namespace {

const QString beginMarker =
    QStringLiteral("<!-- benchmark run: begin (written by scripts/bench) -->");
const QString endMarker = QStringLiteral("<!-- benchmark run: end -->");
const double mebibyte = 1024.0 * 1024.0;

enum class Unit { Time, Bytes, Pixels };
// What a row's figure is held to; a row may have several.
enum Goal {
    NoGoal = 0,
    FloorRatio = 1, // on the offscreen platform only
    FullPeer = 2,
    DirtyPeer = 4,
    Growth = 8,
};

// A row per case and platform. The peers' figures are the cases named with ".peer" and
// ".full" for ".vellumix". In `what`, %s stands for the case's samples, %e for its events,
// %r for its repetitions.
struct Row
{
    const char *number;
    const char *what;
    const char *key;
    const char *counter = nullptr; // the figure is this counter of the case, not its time
    Unit unit = Unit::Time;
    int goals = NoGoal;
    const char *statistic = "min";
};

const Row rows[] = {
    {"", "floor: a bare copy of the window's pixels (memcpy)", "floor"},
    {"1", "pen move and its paint, width 1", "move.w1.vellumix", nullptr, Unit::Time, DirtyPeer},
    {"1", "pen move and its paint, width 4", "move.w4.vellumix", nullptr, Unit::Time, DirtyPeer},
    {"1", "pen move and its paint, width 7", "move.w7.vellumix", nullptr, Unit::Time,
     FloorRatio | DirtyPeer},
    {"2", "flood: %s samples queued at once, per sample", "flood.vellumix", nullptr, Unit::Time,
     FullPeer},
    {"3", "pen press (dot) and its paint, width 1", "press.w1.vellumix"},
    {"3", "pen press (dot) and its paint, width 7", "press.w7.vellumix"},
    {"4", "new: clear the canvas and repaint the window", "new.vellumix"},
    {"5", "colour pick: a pen press on the palette", "pick.vellumix"},
    {"5", "colour poll that finds a new colour, and the button's paint", "poll.vellumix"},
    {"6", "start-up: window constructed to its first paint", "startup.vellumix"},
    {"6", "start-up of the process's first window", "memory.vellumix", "first_window_ns"},
    {"7", "resident set size after start-up", "memory.vellumix", "before", Unit::Bytes},
    {"7", "resident set size growth after %e pen events", "memory.vellumix", "growth", Unit::Bytes,
     Growth},
    {"8", "a pen sample to its ink on the screen, median of %r strokes", "latency.vellumix",
     nullptr, Unit::Time, FullPeer | DirtyPeer, "median"},
    {"8", "pixels sent to the screen per pen sample, in those strokes", "latency.vellumix",
     "pixels", Unit::Pixels, DirtyPeer, "median"},
    {"8", "flood on the screen: %s samples at once, per sample", "screenflood.vellumix", nullptr,
     Unit::Time, FullPeer},
    {"8", "pixels sent to the screen per pen sample, in that flood", "screenflood.vellumix",
     "pixels", Unit::Pixels},
};

// One run's cases by name ("name" for a single repetition, "name/statistic" for repeated
// ones) and its facts.
struct Run
{
    QJsonObject context;
    QHash<QString, QJsonObject> cases;

    QJsonObject find(const QString &name, const char *statistic = "min") const
    {
        const QJsonObject aggregate =
            cases.value(name + QLatin1Char('/') + QLatin1String(statistic));
        return aggregate.isEmpty() ? cases.value(name) : aggregate;
    }
    double figure(const QString &name, const Row &row) const
    {
        const QJsonObject found = find(name, row.statistic);
        const QJsonValue value =
            row.counter ? found.value(QLatin1String(row.counter)) : found.value("real_time");
        return value.isDouble() ? value.toDouble() : NAN;
    }
    double counter(const QString &name, const char *which) const
    {
        return find(name).value(QLatin1String(which)).toDouble(NAN);
    }
    // The standard error of the case's figure, from the spread of its repetitions.
    double noise(const QString &name) const
    {
        const QJsonObject spread = cases.value(name + QStringLiteral("/stddev"));
        return spread.value("real_time").toDouble() /
               std::sqrt(qMax(1.0, spread.value("repetitions").toDouble()));
    }
    QString fact(const char *key) const { return context.value(QLatin1String(key)).toString(); }
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

QString format(double value, const Row &row)
{
    if (std::isnan(value))
        return {};
    if (row.unit == Unit::Time)
        return formatTime(value);
    if (row.unit == Unit::Pixels)
        return QStringLiteral("%L1 px").arg(value, 0, 'f', value < 100 ? 1 : 0);
    const QString text = QStringLiteral("%1 MiB").arg(std::fabs(value) / mebibyte, 0, 'f', 2);
    if (!(row.goals & Growth))
        return text;
    return (value < 0 ? QStringLiteral("−") : QStringLiteral("+")) + text;
}

QString ratio(double value)
{
    return std::isnan(value) ? QString() : QStringLiteral("%1×").arg(value, 0, 'f', 2);
}

// A flood's rate and paints, and a lost sample, beside a time.
QString details(const Run &run, const QString &name, const Row &row)
{
    const double value = run.figure(name, row);
    if (std::isnan(value))
        return {};
    if (row.unit != Unit::Time)
        return format(value, row);
    QStringList notes;
    if (row.key == QLatin1String("flood.vellumix") ||
        row.key == QLatin1String("screenflood.vellumix"))
        notes << QStringLiteral("%L1/s").arg(qRound64(1e9 / value))
              << QStringLiteral("paints: %L1").arg(qRound64(run.counter(name, "paints")));
    if (run.counter(name, "complete") == 0)
        notes << QStringLiteral("**samples lost**");
    return format(value, row) +
           (notes.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(notes.join(u", ")));
}

QString label(const Row &row, const Run &run)
{
    const QString key = QLatin1String(row.key);
    return QString::fromUtf8(row.what)
        .replace(QStringLiteral("%s"), QStringLiteral("%L1").arg(run.counter(key, "samples")))
        .replace(QStringLiteral("%e"), QStringLiteral("%L1").arg(run.counter(key, "events")))
        .replace(
            QStringLiteral("%r"),
            QStringLiteral("%1").arg(run.find(key, row.statistic).value("repetitions").toInt(1)));
}

// One of a row's goals on one run: the target's wording, whether it is met, and the figures.
struct Verdict
{
    QString target;
    bool met = false;
    QString note;
};

Verdict judge(Goal goal, const Run &run, const Row &row)
{
    const QString key = QLatin1String(row.key);
    const double own = run.figure(key, row);
    if (goal == FloorRatio) {
        const double floor = run.figure(QStringLiteral("floor"), rows[0]);
        return {QStringLiteral("≤ 1.3× floor"), own <= 1.3 * floor,
                QStringLiteral("%1 the floor").arg(ratio(own / floor))};
    }
    if (goal == Growth)
        return {QStringLiteral("≤ 1 MiB"), own <= mebibyte, format(own, row)};
    const bool full = goal == FullPeer;
    const QString peer =
        QString(key).replace(QStringLiteral(".vellumix"), full ? ".full" : ".peer");
    const double other = run.figure(peer, row);
    // Pixels sent are counted, not timed: they have no noise to allow for. Times are held
    // within two standard errors of the difference, from the repetitions.
    const double noise =
        row.unit == Unit::Pixels ? 0 : 2 * std::hypot(run.noise(key), run.noise(peer));
    const bool complete = run.counter(key, "complete") != 0;
    if (full) {
        return {QStringLiteral("≤ full-copy peer, every sample drawn"),
                own <= other + noise && complete,
                QStringLiteral("%1 the full-copy peer, noise ±%2 %")
                    .arg(ratio(own / other))
                    .arg(100 * noise / other, 0, 'f', 1)};
    }
    const double factor = row.unit == Unit::Pixels ? 1.2 : 1.1;
    return {QStringLiteral("≤ %1× dirty-rectangle peer").arg(factor, 0, 'f', 1),
            own <= factor * other + noise && complete,
            QStringLiteral("%1 the dirty-rectangle peer%2")
                .arg(ratio(own / other),
                     noise > 0 ? QStringLiteral(", noise ±%1 %").arg(100 * noise / other, 0, 'f', 1)
                               : QString())};
}

QString table(const QList<Run> &runs)
{
    QString text;
    QTextStream out(&text);
    out << "| case | measure | platform | Vellumix | full-copy peer | dirty-rectangle peer "
           "| Vellumix ÷ floor | Vellumix ÷ full-copy peer | Vellumix ÷ dirty-rectangle peer "
           "| target | met |\n"
           "|---|---|---|--:|--:|--:|--:|--:|--:|---|---|\n";
    QStringList notes;
    for (const Row &row : rows) {
        const QString key = QLatin1String(row.key);
        const QString full = QString(key).replace(QStringLiteral(".vellumix"), ".full");
        const QString peer = QString(key).replace(QStringLiteral(".vellumix"), ".peer");
        for (const Run &run : runs) {
            const double own = run.figure(key, row);
            if (std::isnan(own))
                continue;
            const QString platform = run.fact("platform");
            const double floor = run.figure(QStringLiteral("floor"), rows[0]);
            const double fullPeer = full == key ? NAN : run.figure(full, row);
            const double dirtyPeer = peer == key ? NAN : run.figure(peer, row);
            const auto holds = [&](Goal goal) {
                if (!(row.goals & goal))
                    return false;
                if (goal == FloorRatio)
                    return platform == QLatin1String("offscreen");
                if (goal == FullPeer)
                    return !std::isnan(fullPeer);
                return goal != DirtyPeer || !std::isnan(dirtyPeer);
            };
            QStringList targets, met;
            for (const Goal goal : {FloorRatio, FullPeer, DirtyPeer, Growth}) {
                if (!holds(goal))
                    continue;
                const Verdict verdict = judge(goal, run, row);
                targets << verdict.target;
                met << (verdict.met ? QStringLiteral("yes") : QStringLiteral("**no**"));
                notes << QStringLiteral("- case %1, %2 (%3): %4; %5 — %6")
                             .arg(QLatin1String(row.number), label(row, run), platform,
                                  verdict.target, verdict.note,
                                  verdict.met ? QStringLiteral("met") : QStringLiteral("missed"));
            }
            const bool perFloor = key != QLatin1String("floor") && row.unit == Unit::Time;
            out << "| " << row.number << " | " << label(row, run) << " | " << platform << " | "
                << details(run, key, row) << " | "
                << (full == key ? QString() : details(run, full, row)) << " | "
                << (peer == key ? QString() : details(run, peer, row)) << " | "
                << (perFloor ? ratio(own / floor) : QString()) << " | " << ratio(own / fullPeer)
                << " | " << ratio(own / dirtyPeer) << " | " << targets.join(QStringLiteral("; "))
                << " | " << met.join(QStringLiteral("; ")) << " |\n";
        }
    }
    out << "\nTargets:\n" << notes.join(QLatin1Char('\n')) << '\n';
    return text;
}

// The turned framebuffer's last copy, where a run measured it: each way of copying at both
// depths, against the unturned copy of the same run.
QString panelTable(const QList<Run> &runs)
{
    const Row time{"", "", ""};
    const auto at = [&](const Run &run, const char *how, const char *depth) {
        return run.figure(
            QStringLiteral("panel.%1.%2").arg(QLatin1String(how), QLatin1String(depth)), time);
    };
    QString text;
    QTextStream out(&text);
    QStringList notes;
    for (const Run &run : runs) {
        if (std::isnan(at(run, "unturned", "32")))
            continue;
        out << "\nThe last copy of a 640 × 480 screen into the framebuffer (`"
            << run.fact("platform") << "` run):\n\n"
            << "| copy | 32 bits | ÷ unturned | 16 bits | ÷ unturned |\n"
               "|---|--:|--:|--:|--:|\n";
        const std::pair<const char *, const char *> ways[] = {
            {"floor", "floor: memcpy of the same bytes"},
            {"unturned", "unturned: Qt's painter, as linuxfb copies"},
            {"turned90", "turned 90°: turnedCopy"},
            {"turned270", "turned 270°: turnedCopy"},
            {"painter90", "turned 90°: Qt's painter with a 90° transform"}};
        for (const auto &[how, what] : ways) {
            out << "| " << what;
            for (const char *depth : {"32", "16"}) {
                const double own = at(run, how, depth);
                out << " | " << (std::isnan(own) ? QString() : formatTime(own)) << " | "
                    << ratio(own / at(run, "unturned", depth));
            }
            out << " |\n";
        }
        for (const char *how : {"turned90", "turned270"}) {
            for (const char *depth : {"32", "16"}) {
                const double r = at(run, how, depth) / at(run, "unturned", depth);
                if (!std::isnan(r))
                    notes << QStringLiteral("- %1, %2 bits: ≤ 2× the unturned copy; %3 — %4")
                                 .arg(QLatin1String(how), QLatin1String(depth), ratio(r),
                                      r <= 2 ? QStringLiteral("met") : QStringLiteral("missed"));
            }
        }
        if (run.counter(QStringLiteral("panel.painter90.32"), "same") == 0)
            notes << QStringLiteral("- **Qt's painter turned the picture another way**");
    }
    if (!notes.isEmpty())
        out << "\nTargets:\n" << notes.join(QLatin1Char('\n')) << '\n';
    return text;
}

QString description(const QList<Run> &runs)
{
    QString text;
    QTextStream out(&text);
    QStringList dates;
    for (const Run &run : runs)
        dates << run.fact("date").left(16).replace(QLatin1Char('T'), QLatin1Char(' '));
    dates.removeDuplicates();
    out << "Run of " << dates.join(QStringLiteral(" and ")) << ".\n\n";
    out << "- machine: " << runs.first().fact("machine") << '\n';
    out << "- system: " << runs.first().fact("system") << '\n';
    for (const Run &run : runs) {
        out << "- platform `" << run.fact("platform") << "`: Qt " << run.fact("qt") << ", "
            << run.fact("build") << " build, " << run.fact("setting");
        if (!run.fact("xserver").isEmpty())
            out << ", X server " << run.fact("xserver");
        out << '\n';
    }
    return text;
}

} // namespace

QString report(const QStringList &files, QString *error)
{
    QList<Run> runs;
    for (const QString &path : files) {
        QFile file(path);
        // Google Benchmark leaves the file empty where a filter matched none of a run's cases:
        // the offscreen run's own cases, say, filtered on every platform.
        if (file.open(QIODevice::ReadOnly) && file.size() == 0)
            continue;
        const QJsonObject json =
            file.isOpen() ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
        if (json.isEmpty()) {
            *error = QStringLiteral("Cannot read %1").arg(path);
            return {};
        }
        Run run{json.value("context").toObject(), {}};
        for (const QJsonValue &value : json.value("benchmarks").toArray()) {
            const QJsonObject entry = value.toObject();
            // Without what Google Benchmark adds, as "/repeats:20/manual_time".
            QString name = entry.value("run_name").toString().section(QLatin1Char('/'), 0, 0);
            if (entry.value("run_type").toString() == QLatin1String("aggregate"))
                name += QLatin1Char('/') + entry.value("aggregate_name").toString();
            run.cases.insert(name, entry);
        }
        runs << run;
    }
    if (runs.isEmpty()) {
        *error = QStringLiteral("No run measured anything");
        return {};
    }
    return description(runs) + QLatin1Char('\n') + table(runs) + panelTable(runs);
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
