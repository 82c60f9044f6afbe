// SPDX-License-Identifier: MIT
#ifndef BENCH_REPORT_H
#define BENCH_REPORT_H

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The figures of one run on one platform: times in nanoseconds (per event, or per sample
// where a case sends many), sizes in bytes, and a few facts about the run.
class Results
{
public:
    void set(const QString &key, double value) { values.insert(key, value); }
    void meta(const QString &key, const QString &value) { facts.insert(key, value); }
    bool has(const QString &key) const { return values.contains(key); }
    double value(const QString &key) const { return values.value(key); }
    QString fact(const QString &key) const { return facts.value(key); }

    bool save(const QString &path) const;
    static Results load(const QString &path, bool *ok);

private:
    QMap<QString, double> values;
    QMap<QString, QString> facts;
};

// The table of all runs, with every figure as a ratio to the floor and to the peer, and
// the targets met or missed; in Markdown.
QString table(const QList<Results> &runs);
// The machine, the toolkit and the platforms the runs were made on; in Markdown.
QString runDescription(const QList<Results> &runs);
// Puts `text` into the Markdown file between the benchmark's markers, keeping the rest.
bool writeIntoDocument(const QString &path, const QString &text);

#endif // BENCH_REPORT_H
