// SPDX-License-Identifier: MIT
#ifndef BENCH_REPORT_H
#define BENCH_REPORT_H

#include <QString>
#include <QStringList>

// The runs' descriptions and their one table, every figure beside the floor and the peers and
// the targets met or missed, in Markdown; from Google Benchmark's JSON files of the runs.
// Empty, with `error` set, when a file cannot be read.
QString report(const QStringList &files, QString *error);
// Puts `text` into the Markdown file between the benchmark's markers, keeping the rest.
bool writeIntoDocument(const QString &path, const QString &text);

#endif // BENCH_REPORT_H
