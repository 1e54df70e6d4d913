#pragma once

// Runs the real tunara-cli as a child process with its settings and data in
// a folder of the test's, optionally as an ordinary user (tests may run as
// root, whom no file permission refuses) or under a file size limit (a disk
// that fills up, without needing one).
#include <QProcess>
#include <QString>
#include <QStringList>

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

struct CliOutcome {
    int code;
    QString out;
    QString err;
    // The error stream's lines, without the empty one after the last.
    QStringList errLines() const { return err.split(u'\n', Qt::SkipEmptyParts); }
};

struct CliLimits {
    bool ordinaryUser = false;      // as "nobody" when the test runs as root
    long long fileSizeLimit = -1;  // bytes any one file may grow to; -1: none
};

inline CliOutcome runCliProcess(const QString &home, const QStringList &args, const CliLimits &limits = {})
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("XDG_DATA_HOME", home + "/data");
    tool.setProcessEnvironment(env);
    uid_t uid = 0;
    gid_t gid = 0;
    const bool dropRoot = limits.ordinaryUser && ::geteuid() == 0;
    if (dropRoot) {
        const passwd *nobody = ::getpwnam("nobody");
        EXPECT_NE(nobody, nullptr);
        uid = nobody ? nobody->pw_uid : 65534;
        gid = nobody ? nobody->pw_gid : 65534;
    }
    const long long sizeLimit = limits.fileSizeLimit;
    tool.setChildProcessModifier([dropRoot, uid, gid, sizeLimit] {
        // Between fork and exec: system calls only.
        if (sizeLimit >= 0) {
            ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
            const rlimit limit{rlim_t(sizeLimit), rlim_t(sizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (dropRoot && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
            ::_exit(99);
    });
    tool.start(QStringLiteral(TUNARA_CLI_PATH), args);
    EXPECT_TRUE(tool.waitForFinished(60000));
    return {tool.exitCode(), QString::fromLocal8Bit(tool.readAllStandardOutput()),
            QString::fromLocal8Bit(tool.readAllStandardError())};
}
