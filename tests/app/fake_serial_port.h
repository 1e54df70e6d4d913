#pragma once

#include "link/serial_port.h"

namespace tunara::test {

// A port that only counts what the window does with it.
class FakeSerialPort : public link::SerialPort {
    Q_OBJECT
public:
    int number = 1;
    bool opened = false;
    int opens = 0;
    int closes = 0;
    int settingsApplied = 0;
    int discards = 0;

    void setPortNumber(int portNumber) override { number = portNumber; }
    int portNumber() const override { return number; }
    bool isOpen() const override { return opened; }
    void open() override
    {
        opened = true;
        ++opens;
    }
    void close() override
    {
        opened = false;
        ++closes;
    }
    void applySettings() override { ++settingsApplied; }
    // Answers the identification command with `firmware`; nothing else.
    void writeByte(std::uint8_t byte) override
    {
        if (byte == 0x10)
            input += QByteArray(1, char(0x10)) + firmware + '\r';
    }
    int bytesWaiting() override { return int(input.size()); }
    std::uint8_t readByte() override
    {
        if (input.isEmpty())
            return 0;
        const auto byte = std::uint8_t(input.front());
        input.remove(0, 1);
        return byte;
    }
    void discardInput() override
    {
        ++discards;
        input.clear();
    }
    QByteArray firmware = "Torvik-1 Zoruro V2.1";
    QByteArray input;
    void waitForInput(int) override {}

    void reportLineError(int commEvent) { emit lineError(commEvent); }
};

}  // namespace tunara::test
