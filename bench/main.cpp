// SPDX-License-Identifier: MIT
// vellumix_bench: what each pen event of Vellumix costs, beside the floor and the peer.
//
//   vellumix_bench --out FILE [--quick] [-platform NAME] [--benchmark_filter=...]
//       measures on one platform and writes the figures to FILE;
//   vellumix_bench --report FILE... [--markdown PATH]
//       prints the table of one or more such runs and writes it into PATH.
#include "cases.h"
#include "report.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <qpeapplication.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Google Benchmark's console output while the cases run, and the fastest repetition of each
// case kept for the table.
class KeepingReporter : public benchmark::ConsoleReporter
{
public:
    explicit KeepingReporter(Results &results) : results(results) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            const bool fastest = run.run_type == Run::RT_Aggregate && run.aggregate_name == "min";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (fastest || single)
                results.set(QString::fromStdString(run.run_name.function_name),
                            run.GetAdjustedRealTime()); // every case is in nanoseconds
        }
    }

private:
    Results &results;
};

int report(const QStringList &files, const QString &markdown)
{
    QList<Results> runs;
    for (const QString &file : files) {
        bool ok = false;
        runs << Results::load(file, &ok);
        if (!ok) {
            std::fprintf(stderr, "Cannot read %s\n", qPrintable(file));
            return 1;
        }
    }
    const QString text = runDescription(runs) + QLatin1Char('\n') + table(runs);
    std::fputs(text.toUtf8().constData(), stdout);
    if (!markdown.isEmpty() && !writeIntoDocument(markdown, text)) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(markdown));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Our own options first; the toolkit's and Google Benchmark's stay in argv.
    QString out, markdown;
    QStringList reports;
    bool quick = false;
    std::vector<char *> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--out") && i + 1 < argc) {
            out = QString::fromLocal8Bit(argv[++i]);
        } else if (!std::strcmp(argv[i], "--markdown") && i + 1 < argc) {
            markdown = QString::fromLocal8Bit(argv[++i]);
        } else if (!std::strcmp(argv[i], "--report")) {
            while (i + 1 < argc && argv[i + 1][0] != '-')
                reports << QString::fromLocal8Bit(argv[++i]);
        } else if (!std::strcmp(argv[i], "--quick")) {
            quick = true;
        } else {
            rest.push_back(argv[i]);
        }
    }
    if (!reports.isEmpty())
        return report(reports, markdown);
    if (out.isEmpty()) {
        std::fprintf(stderr,
                     "usage: %s --out FILE [--quick] | --report FILE... [--markdown "
                     "PATH]\n",
                     argv[0]);
        return 2;
    }
    // The repetitions of all the cases are run in a random order, mixed with one another, so
    // that a change in the machine's pace during the run falls on the floor, the program and
    // the peer alike rather than on whichever case ran at the time.
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    rest.insert(rest.begin() + 1, interleave);
    int count = int(rest.size());
    rest.push_back(nullptr);

    QPEApplication app(count, rest.data());
    QGuiApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&count, rest.data());
    if (benchmark::ReportUnrecognizedArguments(count, rest.data()))
        return 2;

    Results results;
    results.meta(QStringLiteral("platform"), QGuiApplication::platformName());
    results.meta(QStringLiteral("qt"), QString::fromLatin1(qVersion()));
    results.meta(QStringLiteral("build"), QStringLiteral(VELLUMIX_BUILD_TYPE));
    results.meta(QStringLiteral("date"),
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")));

    Cases cases(results, quick);
    cases.startupAndMemory();
    cases.registerBenchmarks();
    KeepingReporter reporter(results);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        cases.throughXServer();

    if (!results.save(out)) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
