#pragma once

#include <QObject>
#include <QThread>

#include <functional>

namespace tunara::link {

class SerialPort;

// The thread the window's link operations run on. Their pacing pauses and
// reply waits then keep the protocol's time however long the window takes
// to paint, and the window only shows progress.
//
// One operation runs at a time: the thread that starts it (the owner, the
// window's) keeps handling its events until it ends, so repaints, Esc and
// the dialogs the operation asks for go on. The port belongs to the link
// thread for the length of the operation and comes back after it, so
// between operations everything else may use it as before.
class LinkThread {
public:
    LinkThread();
    ~LinkThread();
    LinkThread(const LinkThread &) = delete;
    LinkThread &operator=(const LinkThread &) = delete;

    // True on the link thread, inside an operation.
    bool isCurrent() const { return QThread::currentThread() == &m_thread; }

    // Runs `operation` on the link thread and returns when it has ended;
    // an exception it throws is thrown here.
    void run(SerialPort &port, const std::function<void()> &operation);

    // From inside an operation: runs `call` on the owner's thread and waits
    // for it (a dialog opens on the window's thread, never on this one).
    void callOwner(const std::function<void()> &call);
    // From inside an operation: has `call` run on the owner's thread without
    // waiting for it (progress, which must never hold up the pacing).
    void postOwner(std::function<void()> call);

private:
    QThread m_thread;
    QObject *m_onLink;  // lives on the link thread: receives the operations
    QObject m_onOwner;  // lives on the owner's thread: receives the calls back
};

}  // namespace tunara::link
