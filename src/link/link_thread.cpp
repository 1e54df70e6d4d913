#include "link/link_thread.h"

#include "link/serial_port.h"

#include <QEventLoop>

#include <atomic>
#include <exception>

namespace tunara::link {

LinkThread::LinkThread() : m_onLink(new QObject)
{
    m_thread.setObjectName(QStringLiteral("link"));
    m_onLink->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_onLink, &QObject::deleteLater);
    m_thread.start();
}

LinkThread::~LinkThread()
{
    m_thread.quit();
    m_thread.wait();
}

void LinkThread::run(SerialPort &port, const std::function<void()> &operation)
{
    Q_ASSERT(!isCurrent());
    QThread *const owner = QThread::currentThread();
    std::atomic<bool> done{false};
    std::exception_ptr thrown;
    QEventLoop loop;
    port.moveToThreadWith(&m_thread);
    QMetaObject::invokeMethod(
        m_onLink,
        [&] {
            try {
                operation();
            } catch (...) {
                thrown = std::current_exception();
            }
            port.moveToThreadWith(owner);
            done = true;
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    // An application asked to quit ends every loop of its thread; this one
    // must still wait, since the operation works on the caller's data.
    while (!done)
        loop.exec();
    if (thrown)
        std::rethrow_exception(thrown);
}

void LinkThread::callOwner(const std::function<void()> &call)
{
    Q_ASSERT(isCurrent());
    QMetaObject::invokeMethod(&m_onOwner, call, Qt::BlockingQueuedConnection);
}

void LinkThread::postOwner(std::function<void()> call)
{
    QMetaObject::invokeMethod(&m_onOwner, std::move(call), Qt::QueuedConnection);
}

}  // namespace tunara::link
