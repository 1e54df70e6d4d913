#pragma once

#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>

namespace tunara::link {

inline const QString SupportedModel = QStringLiteral("Torvik-1 Zoruro");

// What the link knows, for whoever only needs to know it: whether the last
// operation succeeded, which module answered, and whether the user asked a
// running transfer to stop. Read-only to everyone but the protocol and the
// transfers, which keep it; it says when the identification changes.
//
// The protocol may run on a thread of its own while the window reads this
// and its Esc key asks for a stop: every member may be read and the abort
// requested from any thread.
class LinkState : public QObject {
    Q_OBJECT
public:
    // Outcome of the last operation of the protocol.
    bool commOK() const { return m_commOK; }
    // The text of the last identification reply; "" when none was read.
    QString firmwareID() const;
    // "Torvik-1 Zoruro", "Torvik-1" or "Unknown"; empty after a file open.
    QString moduleType() const;
    bool supportedModule() const { return moduleType() == SupportedModel; }
    // The last attempt to open the port failed (its error was shown).
    bool portOpenFailed() const { return m_portOpenFailed; }

    // Esc: the read loops stop at their next byte; the write loop shows that
    // it cannot stop.
    void requestAbort() { m_abortRequested = true; }
    bool abortRequested() const { return m_abortRequested; }

    // The image no longer comes from a module (a file was opened): no
    // identification, no model.
    void forgetModule() { setIdentification(QString(), QString()); }
    // The program's start-up state: no identification, the supported model
    // assumed, no Esc pending.
    void resetToStartUp();

signals:
    // The identification or the model changed.
    void identificationChanged();

private:
    friend class ModuleProtocol;
    friend class ModuleTransfers;
    void setIdentification(const QString &firmwareID, const QString &moduleType);
    // True when a pending Esc was taken (and cleared).
    bool takeAbort();

    std::atomic<bool> m_commOK = false;
    mutable QMutex m_identificationLock;  // guards the two texts
    QString m_firmwareID;
    QString m_moduleType = SupportedModel;
    std::atomic<bool> m_abortRequested = false;
    std::atomic<bool> m_portOpenFailed = false;
};

}  // namespace tunara::link
