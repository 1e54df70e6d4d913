// A device whose lock file names a live process is in use, whatever form the
// lock file takes; opening never removes such a lock. A lock left by a
// process that is gone is taken over.
#include "core/runtime_error.h"
#include "link/qt_serial_port.h"
#include "link_test_support.h"
#include "sim/simulated_module.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const QString LockFolder = QStringLiteral("/run/lock");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeLock(const QString &path, const QByteArray &content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

// The process number of a program that has already ended.
qint64 endedProcess()
{
    QProcess done;
    done.start(QStringLiteral("true"), {});
    done.waitForFinished();
    return done.processId() > 0 ? done.processId() : qint64(0x3FFFFFFF);
}

TEST(PortLockForms, LiveHolderInAnyFormKeepsTheLockAndTheDeviceClosed)
{
    if (!QFileInfo(LockFolder).isWritable())
        GTEST_SKIP() << "no writable " << LockFolder.toStdString();
    linktest::ensureApplication();
    tunara::sim::SimulatedModule sim;
    sim.start();
    const QString device = sim.devicePath();
    const QString lock = LockFolder + "/LCK.." + device.mid(5).replace('/', '_');

    QProcess holder;  // another program that locked the device
    holder.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(holder.waitForStarted());
    const qint64 pid = holder.processId();
    const QByteArray number = QByteArray::number(pid);

    const QString expected = QStringLiteral("Cannot open %1: the device is in use by another program "
                                            "(sleep, process %2). Close that program and try again.")
                                 .arg(device)
                                 .arg(pid);
    const QList<QByteArray> forms{number + "\nsleep\nsomehost\n", QByteArray::number(pid).rightJustified(10) + '\n',
                                  number, number + '\n', number + "\nminicom\n"};
    for (const QByteArray &form : forms) {
        writeLock(lock, form);
        tunara::link::QtSerialPort port;
        port.setDevicePath(device);
        try {
            port.open();
            ADD_FAILURE() << "opened under " << form.toStdString();
        } catch (const tunara::RuntimeError &e) {
            EXPECT_EQ(e.description(), expected) << form.toStdString();
        }
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(readAll(lock), form) << "the holder's lock is kept";
    }

    // Its holder gone, the lock is stale and the port takes it over.
    writeLock(lock, QByteArray::number(endedProcess()).rightJustified(10) + '\n');
    tunara::link::QtSerialPort port;
    port.setDevicePath(device);
    port.open();
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(readAll(lock).split('\n').value(0).toLongLong(), QCoreApplication::applicationPid());
    port.close();
    QFile::remove(lock);
    holder.kill();
    holder.waitForFinished();
}

}  // namespace
