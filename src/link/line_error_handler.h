#pragma once

#include "core/runtime_error.h"

#include <QObject>

namespace tunara::link {

class SerialPort;

// Answer to the "Communications Error" box.
enum class LineErrorChoice { Retry, Cancel };

// Whoever answers a line error: the window shows a Retry/Cancel box with the
// critical icon, the command line and tests decide themselves.
class LineErrorPrompter {
public:
    virtual ~LineErrorPrompter() = default;
    // text: the error's description; title: "Communications Error".
    virtual LineErrorChoice askLineError(const QString &text, const QString &title) = 0;
};

// Handles the line errors the port reports: turns the six known event codes
// into a "Comm Error", counts them, closes the port from the third report on,
// and asks Retry (empty the receive buffer) or Cancel (close the port).
class LineErrorHandler : public QObject {
    Q_OBJECT
public:
    LineErrorHandler(SerialPort &port, LineErrorPrompter &prompter, QObject *parent = nullptr);

    // Reports since start-up or the last resetCount().
    int CommErrorCount = 0;

    // At start-up and after every main-window resize.
    void resetCount() { CommErrorCount = 0; }

    // The description for a line-error code; "" for the codes that are ignored.
    static QString description(int commEvent);
    static QString title();  // "Communications Error"

public slots:
    void OnComm(int commEvent);

private:
    LineErrorChoice ask(const QString &text);

    SerialPort &m_port;
    LineErrorPrompter &m_prompter;
};

}  // namespace tunara::link
