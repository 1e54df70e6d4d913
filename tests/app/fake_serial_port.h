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
    void writeByte(std::uint8_t) override {}
    int bytesWaiting() override { return 0; }
    std::uint8_t readByte() override { return 0; }
    void discardInput() override { ++discards; }
    void waitForInput(int) override {}

    void reportLineError(int commEvent) { emit lineError(commEvent); }
};

}  // namespace tunara::test
