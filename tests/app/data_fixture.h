#pragma once

#include "app/app_fixture.h"
#include "app/commands/data_status.h"
#include "app/commands/file_commands.h"
#include "app/commands/image_keeper.h"
#include "link/module_protocol.h"
#include "link/qt_serial_port.h"
#include "sim/simulated_module.h"

#include <QByteArray>
#include <QFile>

#include <functional>

namespace tunara::test {

// The window with a real serial port on a simulated module's
// pseudo-terminal, both on the test's virtual clock, restore points in the
// test's own folder.
class DataCommandsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        installAll();
        clock.drive(sim);
        sim.start();
        serial.setDevicePath(sim.devicePath());
    }
    void TearDown() override
    {
        window.reset();
        serial.close();
        sim.stop();
        EXPECT_EQ(clock.cappedWaits(), 0) << "the simulated module never fell quiet: a wait ran into the real-time cap";
        AppTest::TearDown();
    }

    ui::frmTunara_Main &linkedWindow(std::function<QString(int)> portName = [](int n) {
        return QStringLiteral("device of Com%1").arg(n);
    })
    {
        ui::MainWindowContext ctx{ui, held.ready(), *settings, serial, programFolder(), config::defaults(), portName,
                                  restoreFolder(), &clock};
        window = std::make_unique<ui::frmTunara_Main>(ctx);
        window->Form_Load();
        return *window;
    }
    ui::ImageKeeper &keeper() { return window->imageKeeper(); }
    QString restoreFolder() const { return m_dir.path() + QStringLiteral("/restore-points"); }
    QString path(const QString &name) const { return m_dir.path() + u'/' + name; }

    // Module memory: the start-up parameters, a 2D table selected, a pattern
    // everywhere else in the transfer range.
    static sim::SimulatedModule::Memory memory2D()
    {
        sim::SimulatedModule::Memory m = sim::SimulatedModule::defaultMemory();
        m[50] |= 0x40;
        for (int i = 0; i < 21; ++i)
            m[std::size_t(16 + i)] = std::uint8_t(3 * i);
        for (int a = 37; a < 48; ++a)
            m[std::size_t(a)] = std::uint8_t(a);
        for (int a = 112; a < 280; ++a)
            m[std::size_t(a)] = std::uint8_t(a * 7);
        return m;
    }
    static QByteArray transferBytes(const sim::SimulatedModule::Memory &m)
    {
        return QByteArray(reinterpret_cast<const char *>(m.data() + 16), 264);
    }
    QByteArray imageBytes() const
    {
        return QByteArray(reinterpret_cast<const char *>(data.image.EEPROMBuffer.data() + 16), 264);
    }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray readFile(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Message boxes from index `from` on, as "title|text".
    QStringList messagesFrom(std::size_t from = 0) const
    {
        QStringList out;
        const std::vector<UiCall> all = ui.messages();
        for (std::size_t k = from; k < all.size(); ++k)
            out << all[k].title + u'|' + all[k].text;
        return out;
    }
    QString caption() const { return window->windowTitle(); }
    QString titled(const QString &source) const { return window->mainTitle() + QStringLiteral(" - ") + source; }

    sim::SimulatedModule sim;
    link::QtSerialPort serial;
};

}  // namespace tunara::test
