#pragma once

#include <QSerialPort>
#include <QString>

namespace tunara::link {

// Why a serial device could not be opened, in the user's terms.
enum class PortOpenCause { InUse, PermissionDenied, NoDevice, Other };

struct PortOpenFailure {
    PortOpenCause cause = PortOpenCause::Other;
    QString reason;  // what follows "Cannot open <device>: "
};

// Works out the cause of a failed open from the port's error and the device
// itself. QSerialPort reports a device held by another program (its lock
// file, or an exclusive open) and a device this user may not open with the
// same permission error, and a user meets the two for different reasons.
PortOpenFailure explainOpenFailure(const QString &path, QSerialPort::SerialPortError error, const QString &portReason);

// The program holding the device's lock file, as "minicom, process 4242"
// ("process 4242" when it cannot be named); "" when no lock file is found.
QString lockHolder(const QString &path);

}  // namespace tunara::link
