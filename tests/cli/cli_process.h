#pragma once

// Runs the real tunara-cli with its settings and data in the given folder,
// optionally as an ordinary user (tests may run as root, whom no file
// permission refuses) or under a file size limit (a disk that fills up).
#include "cli_run.h"

#include <QProcess>

#include <grp.h>  // setgroups
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

struct CliLimits {
    bool ordinaryUser = false;      // "nobody" when the test runs as root
    long long fileSizeLimit = -1;  // bytes any file may grow to; -1: none
};

inline CliRun runCliProcess(const QString &home, const QStringList &args, const CliLimits &limits = {})
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, folder] : {std::pair{"HOME", ""}, {"XDG_CONFIG_HOME", "/config"}, {"XDG_DATA_HOME", "/data"}})
        env.insert(name, home + folder);
    tool.setProcessEnvironment(env);
    const passwd *nobody = limits.ordinaryUser && ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
    const uid_t uid = nobody ? nobody->pw_uid : ::geteuid();
    const gid_t gid = nobody ? nobody->pw_gid : ::getegid();
    const long long size = limits.fileSizeLimit;
    tool.setChildProcessModifier([nobody, uid, gid, size] {  // system calls only, between fork and exec
        if (size >= 0) {
            ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
            const rlimit limit{rlim_t(size), rlim_t(size)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (nobody && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
            ::_exit(99);
    });
    tool.start(QStringLiteral(TUNARA_CLI_PATH), args);
    EXPECT_TRUE(tool.waitForFinished(60000));
    return {tool.exitCode(), QString::fromLocal8Bit(tool.readAllStandardOutput()),
            QString::fromLocal8Bit(tool.readAllStandardError())};
}
