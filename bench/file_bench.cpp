// file_bench: times the command-line tool's resave, export-csv and report,
// each run in this process N times (1,000 by default) on one data file,
// and prints the mean and median time of each.
//
//   file_bench [--runs N]
//
// Run it on two builds to compare what the file rules cost; the report
// reads its templates beside the program, as the tool does.

#include "cli/cli_main.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

double runOnce(const QStringList &args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    tunara::cli::CliStreams io{o, e};
    const auto start = std::chrono::steady_clock::now();
    const int code = tunara::cli::runCli(args, io);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (code != 0) {
        e.flush();
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(args.join(u' ')), qPrintable(err));
        std::exit(1);
    }
    return ms;
}

void report(const char *name, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (const double t : times)
        sum += t;
    std::printf("%-10s runs %5zu  mean %8.3f ms  median %8.3f ms  p95 %8.3f ms\n", name, times.size(),
                sum / double(times.size()), times[times.size() / 2], times[times.size() * 95 / 100]);
}

}  // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int runs = 1000;
    const QStringList args = app.arguments();
    if (const qsizetype k = args.indexOf(QStringLiteral("--runs")); k > 0 && k + 1 < args.size())
        runs = std::max(1, args[k + 1].toInt());
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.dat"));
    QByteArray bytes(264, '\0');
    for (int k = 0; k < 264; ++k)
        bytes[k] = char((k * 37 + 11) & 0xFF);
    bytes[50 - 16] = 0x5C;  // a 2D table
    QFile file(in);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return 1;
    file.close();

    const std::vector<std::pair<const char *, QStringList>> verbs = {
        {"resave", {QStringLiteral("resave"), in, dir.filePath(QStringLiteral("out.dat"))}},
        {"export", {QStringLiteral("export-csv"), in, QStringLiteral("-o"), dir.filePath(QStringLiteral("t.csv"))}},
        {"report", {QStringLiteral("report"), in, QStringLiteral("-o"), dir.filePath(QStringLiteral("r.pdf"))}},
    };
    for (const auto &[name, verbArgs] : verbs) {
        runOnce(verbArgs);  // warm up
        std::vector<double> times;
        for (int k = 0; k < runs; ++k)
            times.push_back(runOnce(verbArgs));
        report(name, times);
    }
    return 0;
}
