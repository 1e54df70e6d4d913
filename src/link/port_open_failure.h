#pragma once

#include <QSerialPort>
#include <QString>

namespace tunara::link {

// Why a serial device could not be opened, in the user's terms: what follows
// "Cannot open <device>: ". Worked out from the port's error and the device
// itself. QSerialPort reports a device held by another program (its lock
// file, or an exclusive open) and a device this user may not open with the
// same permission error, and a user meets the two for different reasons.
// "the device is in use by another program (minicom, process 4242). ...";
// holder "" when the program is not known.
QString inUseText(const QString &holder);

QString explainOpenFailure(const QString &path, QSerialPort::SerialPortError error, const QString &portReason);

}  // namespace tunara::link
