// restore_list_bench: makes a restore point folder whose index is about N
// megabytes (66 by default: points kept for good, each with a note of the
// longest kind, in several scripts), runs `tunara-cli restore-points --json`
// and the text listing on it, and prints each run's peak memory and time
// beside the index's size.
//
//   restore_list_bench [--megabytes N] [--cli PATH]
//
// PATH is the tunara-cli to measure (the one built beside this program by
// default), so two builds can be compared on the same folder.

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

constexpr int NoteChars = 10000;

// A note of NoteChars characters mixing Latin, Greek and Cyrillic text, so
// the index holds multi-byte UTF-8 as users' notes do.
QString longNote(int k)
{
    const QString words = QStringLiteral("Customer %1: trail bike, ignition retarded at idle; ").arg(k) +
                          QStringLiteral("αβγ δεζ; ") + QStringLiteral("Клиент; ");
    QString note;
    while (note.size() < NoteChars)
        note += words;
    note.truncate(NoteChars);
    return note;
}

// Writes points and their index lines until the index holds `bytes`; returns
// how many points it made.
int makeFolder(const QString &folder, qint64 bytes)
{
    QDir().mkpath(folder);
    QFile index(QDir(folder).filePath(QStringLiteral("index")));
    if (!index.open(QIODevice::WriteOnly))
        return 0;
    const QDateTime t0(QDate(2026, 1, 1), QTime(0, 0));
    QByteArray image(264, '\x11');
    image[50 - 16] = char(0x1C);
    int made = 0;
    for (; index.size() < bytes; ++made) {
        const QString name = t0.addSecs(made).toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
                             QStringLiteral("_downloaded_Torvik-1+Zoruro+V2.1.dat");
        QFile point(QDir(folder).filePath(name));
        if (!point.open(QIODevice::WriteOnly) || point.write(image) != image.size())
            return made;
        const QJsonObject line{{"name", name},
                               {"source", QJsonObject{{"kind", "module"}, {"port", 1}, {"device", "/dev/ttyUSB0"}}},
                               {"firmware", "Torvik-1 Zoruro V2.1"},
                               {"table", "2D"},
                               {"kept", true},
                               {"note", longNote(made)}};
        index.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
    }
    return made;
}

struct Run {
    int status = -1;
    long peakKiB = 0;
    double seconds = 0;
};

// Runs the program with its output thrown away and measures it alone.
Run measure(const QByteArray &program, const std::vector<QByteArray> &args)
{
    std::vector<char *> argv{const_cast<char *>(program.constData())};
    for (const QByteArray &a : args)
        argv.push_back(const_cast<char *>(a.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        struct rusage usage {};
        if (::wait4(pid, &status, 0, &usage) == pid) {
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            run.peakKiB = usage.ru_maxrss;
        }
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    double megabytes = 66;
    QString cli = QDir(app.applicationDirPath()).filePath(QStringLiteral("tunara-cli"));
    if (const qsizetype k = args.indexOf(QStringLiteral("--megabytes")); k > 0 && k + 1 < args.size())
        megabytes = std::max(0.01, args[k + 1].toDouble());
    if (const qsizetype k = args.indexOf(QStringLiteral("--cli")); k > 0 && k + 1 < args.size())
        cli = args[k + 1];

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("points"));
    const int points = makeFolder(folder, qint64(megabytes * 1e6));
    const qint64 indexBytes = QFileInfo(QDir(folder).filePath(QStringLiteral("index"))).size();
    std::printf("index %.1f MB, %d points, tunara-cli %s\n", double(indexBytes) / 1e6, points, qPrintable(cli));

    const QByteArray program = QFile::encodeName(cli);
    const QByteArray folderArg = QFile::encodeName(folder);
    const struct {
        const char *name;
        std::vector<QByteArray> args;
    } listings[] = {{"--json", {"restore-points", "--json", "--folder", folderArg}},
                    {"text", {"restore-points", "--folder", folderArg}}};
    for (const auto &listing : listings) {
        const Run run = measure(program, listing.args);
        std::printf("restore-points %-6s  exit %d  peak %7.1f MB (%.2f x the index)  %6.2f s\n", listing.name,
                    run.status, double(run.peakKiB) * 1024 / 1e6, double(run.peakKiB) * 1024 / double(indexBytes),
                    run.seconds);
    }
    return 0;
}
