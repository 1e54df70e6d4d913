#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tunara::link {

// A live process that holds a serial device's lock file.
struct PortLockHolder {
    qint64 pid = 0;
    QString program;  // "" when it cannot be named

    // "minicom, process 4242", or "process 4242" when the program has no name.
    QString describe() const;
};

// The folders a device's lock file ("LCK..ttyUSB0") may lie in, in the order
// QSerialPort and the classic terminal programs try them.
QStringList portLockFolders();

// The live process holding the lock file of the device at devicePath, if
// any. A lock file may hold the process number as Qt writes it (number,
// program, host on lines of their own), as ten right-aligned digits, or as a
// bare number with or without a line end. QSerialPort takes all but its own
// form, and its own when the program name differs, for stale and replaces
// them, so the port must ask this before it opens the device.
std::optional<PortLockHolder> livePortLockHolder(const QString &devicePath,
                                                 const QStringList &folders = portLockFolders());

}  // namespace tunara::link
