// The simulated module as a device: talked to byte by byte through its
// pseudo-terminal, with no link code in between, so a fault in the link
// cannot hide one here.
#include "core/runtime_error.h"
#include "files/data_file.h"
#include "sim/simulated_module.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using tunara::sim::Faults;
using tunara::sim::SimulatedModule;

namespace {

using Bytes = std::vector<std::uint8_t>;

class SimDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim.start();
        fd = ::open(sim.devicePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        termios tio{};
        ::tcgetattr(fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    void TearDown() override
    {
        if (fd >= 0)
            ::close(fd);
        sim.stop();
    }
    void send(const Bytes &bytes) { ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
    // Reads until `count` bytes came or `ms` passed without any.
    Bytes receive(std::size_t count, int ms = 300)
    {
        Bytes got;
        while (got.size() < count) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, ms) <= 0 || !(p.revents & POLLIN))
                break;
            std::uint8_t buf[64];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0)
                break;
            got.insert(got.end(), buf, buf + n);
        }
        return got;
    }
    Bytes exchange(const Bytes &out, std::size_t count, int ms = 300)
    {
        send(out);
        return receive(count, ms);
    }
    void withFaults(const std::function<void(Faults &)> &change)
    {
        Faults f = sim.faults();
        change(f);
        sim.setFaults(f);
    }

    SimulatedModule sim;
    int fd = -1;
};

TEST_F(SimDevice, AnswersEachCommandAsTheModuleDoes)
{
    EXPECT_EQ(exchange({0x33}, 2), (Bytes{0x33, 0x06}));
    Bytes id{0x10};
    for (char c : SimulatedModule::defaultFirmwareID())
        id.push_back(std::uint8_t(c));
    id.push_back(0x0D);
    EXPECT_EQ(exchange({0x10}, id.size()), id);
    EXPECT_EQ(exchange({0x14}, 1), (Bytes{0x14}));
    EXPECT_EQ(exchange({0x14}, 1), (Bytes{0x14}));
    EXPECT_EQ(exchange({0x01}, 2), (Bytes{0x01, 0x06}));
    EXPECT_EQ(sim.pointer(), 0x114);
    EXPECT_EQ(exchange({0x16}, 1), (Bytes{0x16}));
    EXPECT_EQ(exchange({0x0D}, 2), (Bytes{0x0D, 0x06}));  // a data byte, not a terminator
    EXPECT_EQ(sim.memory()[0x114], 0x0D);
    EXPECT_EQ(sim.pointer(), 0x115);
    EXPECT_EQ(exchange({0x99}, 1, 100).size(), 0u);  // not a command
}

TEST_F(SimDevice, ReadsAndWritesAdvanceThePointerAndPassEveryByteValue)
{
    send({0x14, 0x10, 0x00});
    receive(4);
    for (int v = 0; v < 256; ++v) {
        send({0x16, std::uint8_t(v)});
        ASSERT_EQ(receive(3), (Bytes{0x16, std::uint8_t(v), 0x06})) << v;
    }
    send({0x14, 0x10, 0x00});
    receive(4);
    for (int v = 0; v < 256; ++v)
        ASSERT_EQ(exchange({0x15}, 2), (Bytes{0x15, std::uint8_t(v)})) << v;
    // Past the end of the 280 bytes: reads give 0xFF, writes are refused.
    send({0x14, 0x18, 0x01});  // 280
    receive(4);
    EXPECT_EQ(exchange({0x15}, 2), (Bytes{0x15, 0xFF}));
    EXPECT_EQ(exchange({0x16, 0x01}, 3), (Bytes{0x16, 0x01, 0x15}));
}

TEST_F(SimDevice, HalfSentCommandIsForgottenAfterHalfASecond)
{
    send({0x16});
    receive(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_EQ(exchange({0x33}, 2), (Bytes{0x33, 0x06}));  // a command again, not data
}

TEST_F(SimDevice, InjectedIdentificationAndAcknowledgementFaults)
{
    withFaults([](Faults &f) {
        f.noResyncAck = true;
        f.idFirstByte = 0x0D;
        f.idNoTerminator = true;
        f.refuseAddress = true;
        f.refuseWriteAt = 0;
        f.readBackDiffersAt = 1;
    });
    sim.setFirmwareID("AB");
    EXPECT_EQ(exchange({0x33}, 2), (Bytes{0x33, 0x15}));
    EXPECT_EQ(exchange({0x10}, 4), (Bytes{0x0D, 'A', 'B'}));
    EXPECT_EQ(exchange({0x14, 0x00, 0x00}, 4), (Bytes{0x14, 0x00, 0x00, 0x15}));
    const auto before = sim.memory();
    EXPECT_EQ(exchange({0x16, 0x77}, 3), (Bytes{0x16, 0x77, 0x15}));
    EXPECT_EQ(sim.memory()[0], before[0]);
    EXPECT_EQ(exchange({0x15}, 2), (Bytes{0x15, std::uint8_t(before[1] ^ 0x5A)}));
}

TEST_F(SimDevice, FallsSilentOrVanishesAfterTheGivenByteCount)
{
    withFaults([](Faults &f) { f.silenceAfterBytes = 2; });
    EXPECT_EQ(exchange({0x33}, 2).size(), 2u);
    EXPECT_EQ(exchange({0x33}, 2).size(), 2u);
    EXPECT_EQ(exchange({0x33}, 2, 200).size(), 0u);
    EXPECT_EQ(sim.received().size(), 3u);

    withFaults([](Faults &f) { f.silenceAfterBytes = -1; f.vanishAfterBytes = 2; });
    EXPECT_EQ(exchange({0x33}, 2).size(), 2u);
    send({0x33});
    pollfd p{fd, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 1000), 1);
    EXPECT_TRUE(p.revents & POLLHUP);  // the other end is gone
    EXPECT_FALSE(sim.isRunning());
}

TEST_F(SimDevice, DelayedRepliesWaitTheirTime)
{
    withFaults([](Faults &f) { f.replyDelayMs = 150; });
    send({0x33});
    EXPECT_TRUE(receive(2, 50).empty());
    EXPECT_EQ(receive(2, 500), (Bytes{0x33, 0x06}));
}

// On a time it is given, the module waits for that time, not the steady
// clock: a delayed reply goes out once the time has moved past its due and
// the module was told, a half-sent command is forgotten once half a second
// of that time has passed between its bytes, and quietUntil() names what is
// next.
TEST_F(SimDevice, OnAGivenTimeTheDelayAndTheForgettingFollowIt)
{
    using namespace std::chrono_literals;
    const SimulatedModule::TimePoint origin{};
    std::atomic<long long> elapsedMs{0};
    sim.setTimeSource([&] { return origin + std::chrono::milliseconds(elapsedMs.load()); });
    const auto waitQuiet = [this] {
        std::optional<SimulatedModule::TimePoint> quiet;
        for (int k = 0; k < 2000 && !(quiet = sim.quietUntil()); ++k)
            std::this_thread::sleep_for(1ms);
        return quiet;
    };
    EXPECT_EQ(waitQuiet(), SimulatedModule::TimePoint::max());

    withFaults([](Faults &f) { f.replyDelayMs = 150; });
    send({0x33});
    EXPECT_EQ(waitQuiet(), origin + 150ms);
    EXPECT_TRUE(receive(2, 250).empty());  // the steady clock passing its due does nothing
    elapsedMs = 149;
    sim.timeMoved();
    EXPECT_TRUE(receive(2, 50).empty());
    elapsedMs = 150;
    sim.timeMoved();
    EXPECT_EQ(receive(2), (Bytes{0x33, 0x06}));
    EXPECT_EQ(waitQuiet(), SimulatedModule::TimePoint::max());

    // Replies keep their order, each its delay after the one before.
    send({0x33, 0x10});
    EXPECT_EQ(waitQuiet(), origin + 300ms);
    elapsedMs = 450;
    sim.timeMoved();
    const Bytes both = receive(4 + std::size_t(SimulatedModule::defaultFirmwareID().size()));
    ASSERT_GE(both.size(), 3u);
    EXPECT_EQ((Bytes{both[0], both[1], both[2]}), (Bytes{0x33, 0x06, 0x10}));

    withFaults([](Faults &f) { f.replyDelayMs = 0; });
    auto memory = sim.memory();
    memory[100] = 0x21;
    memory[101] = 0x42;
    sim.setMemory(memory);
    EXPECT_EQ(exchange({0x14, 100, 0}, 4), (Bytes{0x14, 100, 0, 0x06}));
    // Within half a second the next byte is the write's data...
    EXPECT_EQ(exchange({0x16}, 1), (Bytes{0x16}));
    elapsedMs += 400;
    EXPECT_EQ(exchange({0x77}, 2), (Bytes{0x77, 0x06}));
    EXPECT_EQ(sim.memory()[100], 0x77);
    // ...after it, a command of its own: here a read of the next address.
    EXPECT_EQ(exchange({0x16}, 1), (Bytes{0x16}));
    elapsedMs += 600;
    EXPECT_EQ(exchange({0x15}, 2), (Bytes{0x15, 0x42}));
    EXPECT_EQ(sim.memory()[101], 0x42);

    sim.stop();
    EXPECT_EQ(sim.quietUntil(), SimulatedModule::TimePoint::max());  // nothing more will come
}

TEST(SimNoise, SameSeedSameNoise)
{
    auto repliesWithSeed = [](std::uint32_t seed) {
        SimulatedModule sim;
        Faults f;
        f.noiseProbability = 0.5;
        f.seed = seed;
        sim.setFaults(f);
        sim.start();
        const int fd = ::open(sim.devicePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        termios tio{};
        ::tcgetattr(fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
        Bytes all;
        for (int k = 0; k < 40; ++k) {
            const std::uint8_t c = 0x33;
            [[maybe_unused]] auto w = ::write(fd, &c, 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 200) <= 0)
                break;
            std::uint8_t buf[256];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0)
                break;
            all.insert(all.end(), buf, buf + n);
        }
        ::close(fd);
        return all;
    };
    const Bytes a = repliesWithSeed(7), b = repliesWithSeed(7), c = repliesWithSeed(8);
    EXPECT_GT(a.size(), 80u);  // some noise came
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}

TEST(SimDataFile, LoadsAndSavesTheTransferRange)
{
    QTemporaryDir dir;
    QByteArray bytes(264, '\0');
    for (int k = 0; k < 264; ++k)
        bytes[k] = char(255 - k % 256);
    QFile f(dir.filePath("in.dat"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    SimulatedModule sim;
    sim.loadDataFile(dir.filePath("in.dat"));
    EXPECT_EQ(sim.memory()[16], 255);
    EXPECT_EQ(sim.memory()[279], std::uint8_t(255 - 263 % 256));
    sim.saveDataFile(dir.filePath("out.dat"));
    QFile out(dir.filePath("out.dat"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), bytes);
    EXPECT_THROW(sim.loadDataFile(dir.filePath("missing.dat")), tunara::RuntimeError);
}

}  // namespace
