// The module's side: its own thread, answering each byte as the module does.
#include "sim/module_state.h"

namespace tunara::sim {

void SimulatedModule::State::closeFds()
{
    if (master >= 0)
        ::close(master);
    if (slave >= 0)
        ::close(slave);
    master = slave = -1;
}

void SimulatedModule::State::poke()
{
    if (wake[1] >= 0) {
        const char c = 'w';
        [[maybe_unused]] auto n = ::write(wake[1], &c, 1);
    }
}

int SimulatedModule::State::sleepMs() const
{
    // On a time of its own the module waits to be told the time moved.
    if (held.empty() || timeSource)
        return -1;
    const auto left = held.front().due - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    return int(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

void SimulatedModule::State::run()
{
    serve();
    // Whatever ended it, the module says nothing more.
    std::lock_guard lock(mutex);
    answering = false;
    running = false;
}

void SimulatedModule::State::serve()
{
    int fdMaster, fdWake;
    {
        std::lock_guard lock(mutex);
        fdMaster = master;
        fdWake = wake[0];
    }
    for (;;) {
        int timeout;
        {
            std::lock_guard lock(mutex);
            timeout = sleepMs();
        }
        pollfd fds[2] = {{fdMaster, POLLIN, 0}, {fdWake, POLLIN, 0}};
        if (::poll(fds, 2, timeout) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents) {
            char drained[64];
            [[maybe_unused]] auto n = ::read(fdWake, drained, sizeof drained);
            std::lock_guard lock(mutex);
            if (stopping)
                return;
        }
        if (fds[0].revents & POLLIN) {
            if (!takeIn(fdMaster))
                return;
        } else if (fds[0].revents & (POLLERR | POLLNVAL)) {
            return;
        }
        if (!sendDue(fdMaster))
            return;
    }
}

bool SimulatedModule::State::takeIn(int fd)
{
    {
        std::lock_guard lock(mutex);
        answering = true;
    }
    std::uint8_t buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) {
        std::lock_guard lock(mutex);
        answering = false;
        return n < 0 && (errno == EINTR || errno == EAGAIN);
    }
    std::vector<QByteArray> replies;  // those that go out at once, in order
    {
        std::lock_guard lock(mutex);
        const auto at = now();
        for (ssize_t k = 0; k < n; ++k) {
            received.push_back({buffer[k], at});
            if (pending != Pending::None && at - lastByte > CommandTimeout)
                pending = Pending::None;
            lastByte = at;
            bool vanish = false;
            QByteArray reply = answer(buffer[k], vanish);
            if (vanish) {
                // What was answered before still goes out; then the port
                // goes away and the link sees its device vanish.
                for (const QByteArray &before : replies)
                    writeAll(fd, before);
                closeFds();
                devicePath.clear();
                answering = false;
                return false;
            }
            if (reply.isEmpty())
                continue;
            if (faults.replyDelayMs > 0 || !held.empty()) {
                // Each reply waits its delay from when the one before it went out.
                lastDue = std::max(at, lastDue) + std::chrono::milliseconds(faults.replyDelayMs);
                held.push_back({lastDue, reply});
            } else {
                replies.push_back(reply);
            }
        }
    }
    for (const QByteArray &reply : replies) {
        if (!writeAll(fd, reply))
            return false;
    }
    std::lock_guard lock(mutex);
    answering = false;
    return true;
}

bool SimulatedModule::State::sendDue(int fd)
{
    for (;;) {
        QByteArray reply;
        {
            std::lock_guard lock(mutex);
            if (held.empty() || held.front().due > now()) {
                answering = false;
                return true;
            }
            answering = true;  // taken off the list, not yet on the line
            reply = held.front().bytes;
            held.pop_front();
        }
        if (!writeAll(fd, reply))
            return false;
    }
}

void SimulatedModule::State::changeBehindTheBack()
{
    ++readCount;
    if (readCount == faults.changeAfterReads && faults.changeAt >= 0 && faults.changeAt < EEPROMSize)
        memory[std::size_t(faults.changeAt)] = faults.changeTo;
}

QByteArray SimulatedModule::State::answer(std::uint8_t byte, bool &vanish)
{
    ++receivedCount;
    if (faults.vanishAfterBytes >= 0 && receivedCount >= faults.vanishAfterBytes) {
        vanish = true;
        return {};
    }
    if (faults.silenceAfterBytes >= 0 && receivedCount > faults.silenceAfterBytes)
        return {};

    QByteArray reply;
    reply.append(char(byte));  // every byte is echoed first
    switch (pending) {
    case Pending::AddressLow:
        addressLow = byte;
        pending = Pending::AddressHigh;
        break;
    case Pending::AddressHigh:
        pending = Pending::None;
        if (faults.refuseAddress) {
            reply.append(char(Nak));
            break;
        }
        pointer = addressLow | (byte << 8);
        reply.append(char(Ack));
        break;
    case Pending::WriteData: {
        pending = Pending::None;
        const bool refused = pointer == faults.refuseWriteAt || pointer < 0 || pointer >= EEPROMSize;
        // A worn cell acknowledges the write and keeps its old byte.
        if (!refused && pointer != faults.stuckAt)
            memory[std::size_t(pointer)] = byte;
        reply.append(char(refused ? Nak : Ack));
        ++pointer;
        break;
    }
    case Pending::None:
        switch (byte) {
        case 0x33:
            reply.append(char(faults.noResyncAck ? Nak : Ack));
            break;
        case 0x10:
            if (faults.idFirstByte)
                reply[0] = char(*faults.idFirstByte);
            reply.append(firmwareID);
            if (!faults.idNoTerminator)
                reply.append(char(0x0D));
            break;
        case 0x14:
            pending = Pending::AddressLow;
            break;
        case 0x15: {
            std::uint8_t value = 0xFF;  // past the end reads as erased
            if (pointer >= 0 && pointer < EEPROMSize)
                value = memory[std::size_t(pointer)];
            if (pointer == faults.readBackDiffersAt)
                value ^= 0x5A;
            if (pointer == faults.glitchFirstReadAt && !glitched) {
                value ^= 0x01;
                glitched = true;
            }
            if (pointer == faults.unsteadyReadAt)
                value = std::uint8_t(value + unsteadyReads++);
            reply.append(char(value));
            ++pointer;
            changeBehindTheBack();
            break;
        }
        case 0x16:
            pending = Pending::WriteData;
            break;
        default:
            return {};  // not a command: no answer
        }
        break;
    }
    if (faults.noiseProbability > 0.0) {
        std::uniform_real_distribution<double> chance(0.0, 1.0);
        if (chance(random) < faults.noiseProbability)
            reply.append(char(std::uniform_int_distribution<int>(0, 255)(random)));
    }
    return reply;
}

}  // namespace tunara::sim
