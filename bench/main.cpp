// SPDX-License-Identifier: MIT
// vellumix_bench: what each pen event of Vellumix costs, beside the floor and the peers.
//
//   vellumix_bench [--quick] [-platform NAME] [--benchmark_out=FILE.json
//                  --benchmark_out_format=json] [--benchmark_filter=...]
//       measures on one platform; Google Benchmark's JSON file keeps the figures;
//   vellumix_bench --report FILE.json... [--markdown PATH]
//       prints the table of one or more such runs and writes it into PATH.
#include "cases.h"
#include "report.h"

#include <QFile>
#include <QGuiApplication>
#include <QThread>
#include <benchmark/benchmark.h>
#include <qpeapplication.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

int report(const QStringList &files, const QString &markdown)
{
    QString error;
    const QString text = report(files, &error);
    if (text.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::fputs(text.toUtf8().constData(), stdout);
    if (!markdown.isEmpty() && !writeIntoDocument(markdown, text)) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(markdown));
        return 1;
    }
    return 0;
}

// The value of the first line of a /proc file that starts with `prefix`.
QString procLine(const char *path, const char *prefix)
{
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (QByteArray line = file.readLine(); !line.isEmpty(); line = file.readLine()) {
        if (line.startsWith(prefix))
            return QString::fromLatin1(line.mid(line.indexOf(':') + 1).trimmed());
    }
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    // Our own options first; the toolkit's and Google Benchmark's stay in argv.
    QString markdown;
    QStringList reports;
    bool quick = false;
    std::vector<char *> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--markdown") && i + 1 < argc) {
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
    // The repetitions of all the cases are run in a random order, mixed with one another, so
    // that a change in the machine's pace during the run falls on the floor, the program and
    // the peers alike rather than on whichever case ran at the time.
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    rest.insert(rest.begin() + 1, interleave);
    int count = int(rest.size());
    rest.push_back(nullptr);

    QPEApplication app(count, rest.data());
    QGuiApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&count, rest.data());
    if (benchmark::ReportUnrecognizedArguments(count, rest.data()))
        return 2;

    const double memory = procLine("/proc/meminfo", "MemTotal").section(u' ', 0, 0).toDouble();
    const QString machine = QStringLiteral("%1, %2 logical processors, %3 GiB of memory")
                                .arg(procLine("/proc/cpuinfo", "model name"))
                                .arg(QThread::idealThreadCount())
                                .arg(memory / (1024 * 1024), 0, 'f', 1);
    benchmark::AddCustomContext("machine", machine.toStdString());
    benchmark::AddCustomContext("build", VELLUMIX_BUILD_TYPE);

    Cases cases(quick);
    cases.start();
    cases.registerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
