// The input and output rules of every reader and writer: nothing but a
// regular file of a bounded size is read, without blocking on a pipe; no
// writer replaces one of its inputs, a device, a pipe, a folder or the
// target of a planted link, and a refusal leaves everything as it was.
#include "cli/cli_run.h"
#include "core/runtime_error.h"
#include "files/config_file.h"
#include "files/data_file.h"
#include "files/file_safety.h"
#include "files/stored_settings.h"
#include "files/table_csv.h"
#include "link/link_trace.h"
#include "report/report_printer.h"
#include "charts/chart_template.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace tunara;

namespace {

mode_t typeOf(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

CliRun tool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(TUNARA_CLI_PATH), args);
    EXPECT_TRUE(p.waitForFinished(30000)) << args.join(' ').toStdString();
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

using Writer = std::function<void(const QString &path, const QStringList &inputs)>;

bool refused(const Writer &write, const QString &path, const QStringList &inputs)
{
    try {
        write(path, inputs);
    } catch (const RuntimeError &) {
        return true;
    } catch (const files::FileRefused &) {
        return true;
    }
    return false;
}

TEST(OutputRule, EveryWriterRefusesInputsSpecialFilesLinksFoldersAndReadOnlyFolders)
{
    const std::vector<std::pair<const char *, Writer>> writers = {
        {"data file", [](auto &p, auto &in) { datafile::write(p, ModuleImage(), in); }},
        {"CSV", [](auto &p, auto &in) { tablecsv::writeFile(p, "a,b\r\n", in); }},
        {"PDF", [](auto &p, auto &in) { report::writeReportPdf(p, report::defaultPageLayout(), {}, {}, in); }},
        {"trace", [](auto &p, auto &in) { link::LinkTrace trace(p, in); }},
        {"whole file", [](auto &p, auto &in) { files::writeWhole(p, "x", in); }},
    };
    for (const auto &[name, write] : writers) {
        SCOPED_TRACE(name);
        QTemporaryDir dir;
        const auto at = [&](const char *n) { return dir.filePath(QString::fromLatin1(n)); };
        put(at("in.dat"), "input");
        ASSERT_TRUE(QFile::link(at("in.dat"), at("alias.dat")));
        ASSERT_EQ(::link(QFile::encodeName(at("in.dat")).constData(), QFile::encodeName(at("hard.dat")).constData()), 0);
        put(at("victim"), "victim");
        ASSERT_TRUE(QFile::link(at("victim"), at("planted")));
        ASSERT_EQ(::mkfifo(QFile::encodeName(at("pipe")).constData(), 0600), 0);
        ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
        // Root writes into a 0555 folder; /proc refuses new files to anyone.
        ASSERT_TRUE(QDir(dir.path()).mkdir("ro"));
        QFile::setPermissions(at("ro"), QFile::ReadOwner | QFile::ExeOwner);
        const QString readOnly = ::geteuid() == 0 ? QStringLiteral("/proc/self/new.out") : at("ro/new.out");

        // The input, by another spelling and through a hard link.
        EXPECT_TRUE(refused(write, dir.path() + "/./in.dat", {at("alias.dat")}));
        EXPECT_TRUE(refused(write, at("hard.dat"), {at("in.dat")}));
        EXPECT_TRUE(refused(write, "/dev/null", {}));
        EXPECT_TRUE(refused(write, at("pipe"), {}));
        EXPECT_TRUE(refused(write, at("planted"), {}));
        EXPECT_TRUE(refused(write, at("folder"), {}));
        EXPECT_TRUE(refused(write, readOnly, {}));

        EXPECT_EQ(readFile(at("in.dat")), "input");
        EXPECT_EQ(readFile(at("victim")), "victim");
        EXPECT_EQ(typeOf(at("planted")), mode_t(S_IFLNK));
        EXPECT_EQ(typeOf(at("pipe")), mode_t(S_IFIFO));
        EXPECT_EQ(typeOf("/dev/null"), mode_t(S_IFCHR));
        EXPECT_EQ(typeOf(at("folder")), mode_t(S_IFDIR));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size(), 8)
            << "a temporary file was left behind";

        QFile::setPermissions(at("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (std::string(name) == "PDF")
            continue;  // painting needs the graphical application; the report tests write PDFs
        // A new name and a regular file that is no input are written.
        EXPECT_FALSE(refused(write, at("new.out"), {at("in.dat")}));
        EXPECT_FALSE(refused(write, at("victim"), {at("in.dat")}));
        EXPECT_NE(readFile(at("victim")), "victim");
    }
}

TEST(InputRule, EveryReaderTakesOnlyBoundedRegularFilesAndNeverBlocks)
{
    QTemporaryDir dir;
    const auto at = [&](const char *n) { return dir.filePath(QString::fromLatin1(n)); };
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("pipe")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", at("zero")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    QFile huge(at("huge"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(files::CsvCap + 1));  // sparse
    huge.close();

    const auto fails = [](const std::function<void()> &read) {
        try {
            read();
        } catch (const RuntimeError &) {
            return true;
        }
        return false;
    };
    using Kind = charts::ChartTemplate::Kind;
    const std::vector<std::pair<const char *, std::function<bool(const QString &)>>> readers = {
        {"data file", [&](const QString &p) { return fails([&] { datafile::read(p); }); }},
        {"CSV", [&](const QString &p) { return fails([&] { tablecsv::readFile(p); }); }},
        {"configuration", [](const QString &p) { return config::read(p).error.has_value(); }},
        {"template", [](const QString &p) { return !charts::loadChartTemplate(p, Kind::Chart2D).error.isEmpty(); }},
        {"settings", [](const QString &p) {
             return StoredSettings::atFile(p).getSetting("Properties", "CommPort", "unused") == "unused";
         }},
    };
    for (const auto &[name, refuses] : readers) {
        SCOPED_TRACE(name);
        for (const char *file : {"pipe", "zero", "folder"})
            EXPECT_TRUE(refuses(at(file))) << file;
        if (std::string(name) != "data file") {
            EXPECT_TRUE(refuses(at("huge")));
        }
    }
    // A longer data file gives its first 264 bytes, the cap of its kind.
    EXPECT_EQ(datafile::read(at("huge")).size(), 264);

    // Errors name the real cause.
    ASSERT_TRUE(QFile::link(at("loop1"), at("loop2")) && QFile::link(at("loop2"), at("loop1")));
    ASSERT_TRUE(QFile::link(at("gone"), at("broken")));
    const std::vector<std::pair<QString, const char *>> causes = {
        {at("loop1"), "symbolic links form a loop"},
        {at("broken"), "points to nothing"},
        {at("gone"), "no such file"},
        {dir.filePath(QString(300, u'n')), "name is too long"},
        {dir.filePath(QStringLiteral("bad\uFFFDname.dat")), "invalid name encoding"},
    };
    for (const auto &[path, cause] : causes) {
        try {
            datafile::read(path);
            ADD_FAILURE() << cause;
        } catch (const RuntimeError &e) {
            EXPECT_TRUE(e.description().contains(QLatin1String(cause))) << e.description().toStdString();
        }
    }

    // A template is bounded to what a chart can draw.
    QFile shipped(QStringLiteral(TUNARA_RESOURCES_DIR "/Torvik_2D_Timing_Chart.oc2"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray good = shipped.readAll();
    EXPECT_TRUE(charts::parseChartTemplate(good, Kind::Chart2D).chartTemplate.has_value());
    for (const QByteArray &bad : {QByteArray("\"ticks\": 1000000"), QByteArray("\"max\": 1e300, \"ticks\": 11")}) {
        QByteArray text = good;
        text.replace("\"max\": 10000, \"ticks\": 11", bad);
        const charts::TemplateResult r = charts::parseChartTemplate(text, Kind::Chart2D);
        EXPECT_FALSE(r.chartTemplate) << bad.constData();
        EXPECT_TRUE(charts::templateFailureText("t.oc2", r).contains("cannot be used"));
    }
}

TEST(CommandFiles, NoVerbWritesOverItsInputAndEveryVerbReadsDashesAlike)
{
    QTemporaryDir dir;
    const auto at = [&](const char *n) { return dir.filePath(QString::fromLatin1(n)); };
    const QByteArray tune(264, '\x1C');
    put(at("tune.dat"), tune);
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("pipe.csv")).constData(), 0600), 0);
    const QString same = dir.path() + "/../" + QDir(dir.path()).dirName() + "/tune.dat";
    const std::vector<QStringList> refusedRuns = {
        {"resave", at("tune.dat"), same},
        {"report", at("tune.dat"), "-o", same},
        {"export-csv", at("tune.dat"), "-o", same},
        {"import-csv", at("tune.dat"), at("pipe.csv"), "-o", at("out.dat")},
        {"upload", "--trace", same, at("tune.dat")},
        {"export-csv", at("tune.dat"), "-o", "/dev/null"},
    };
    for (const QStringList &args : refusedRuns) {
        const CliRun r = tool(args);
        EXPECT_NE(r.code, 0) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_EQ(readFile(at("tune.dat")), tune);
    }
    EXPECT_EQ(typeOf("/dev/null"), mode_t(S_IFCHR));
    EXPECT_FALSE(QFile::exists(at("out.dat")));

    // A leading dash is an option for every verb until "--".
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    put(at("-x.dat"), tune);
    for (const char *verb : {"decode", "resave", "export-csv", "report", "upload", "diff"})
        EXPECT_EQ(runInProcess({verb, "-x.dat"}).code, 2) << verb;
    EXPECT_EQ(runInProcess({"decode", "--", "-x.dat"}).code, 0);
    EXPECT_EQ(runInProcess({"resave", "--", "-x.dat", "-y.dat"}).code, 0);
    EXPECT_EQ(readFile(at("-y.dat")).size(), 264);
    QDir::setCurrent(before);
}

}  // namespace
