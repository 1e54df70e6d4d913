#pragma once

// Doubles and a fixture for the link tests: a simulated module on its own
// pseudo-terminal, the real serial port class pointed at it, the link on a
// virtual clock (or the machine's), and recorders for every question,
// message and progress step.

#include "core/runtime_error.h"
#include "module/module_document.h"
#include "link/module_protocol.h"
#include "link/module_transfers.h"
#include "link/qt_serial_port.h"
#include "sim/simulated_module.h"
#include "support/virtual_clock.h"

#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace linktest {

// One QCoreApplication for the test binary (event loops need it).
void ensureApplication();

struct RecordedError {
    int number;
    QString source;
    QString description;
};

// Answers the common error dialog from a script; Abort once the script runs out.
class ScriptedErrors : public tunara::ErrorResponder {
public:
    std::deque<tunara::ErrorChoice> answers;
    std::vector<RecordedError> shown;
    std::function<void()> beforeAnswer;  // runs while the dialog is shown
    tunara::ErrorChoice ErrorDialog(const tunara::RuntimeError &error) override;
    QStringList descriptions() const;
};

struct RecordedMessage {
    QString text;
    QString title;
    tunara::link::MessageIcon icon;
    bool question = false;
};

class RecordingPrompter : public tunara::link::TransferPrompter {
public:
    std::vector<RecordedMessage> shown;
    std::deque<bool> okAnswers;  // OK when empty
    void showMessage(const QString &text, const QString &title, tunara::link::MessageIcon icon) override;
    bool askOkCancel(const QString &text, const QString &title) override;
    QStringList texts() const;
};

// Records every caption and value; a hook may act on a value (press Esc).
class RecordingProgress : public tunara::link::ProgressDisplay {
public:
    struct Run {
        QString caption;
        std::vector<int> values;
        bool hidden = false;
    };
    std::vector<Run> runs;
    bool visible = false;
    std::function<void(const QString &caption, int step)> onValue;  // step counts setProgress calls of the run

    void showProgress(const QString &caption) override;
    void setProgress(int percent) override;
    void hideProgress() override;
    const Run *find(const QString &caption) const;
};

// Records every event by name ("running", "replacing",
// "downloaded", "read", "writing", "finished <command> <outcome>", "idle")
// with the number of messages shown before it.
class RecordingEvents : public tunara::link::TransferEvents {
public:
    explicit RecordingEvents(const RecordingPrompter &prompter) : m_prompter(prompter) {}
    QStringList calls;
    std::vector<std::size_t> messagesBefore;
    // "name@messages" for each event.
    QStringList timeline() const;

    void runningChanged(bool running) override { note(running ? "running" : "idle"); }
    bool imageAboutToBeReplaced() override
    {
        note("replacing");
        return true;
    }
    void downloaded(const tunara::ModuleParameters &) override { note("downloaded"); }
    void moduleContentsRead(const tunara::link::EEPROMBytes &before) override
    {
        moduleBefore = before;
        note("read");
    }
    bool aboutToWrite() override
    {
        note("writing");
        return true;
    }
    QString olderImageHint() const override { return QStringLiteral("kept"); }
    tunara::link::EEPROMBytes moduleBefore{};
    void finished(tunara::link::TransferCommand command, tunara::link::TransferOutcome outcome) override;

private:
    void note(const QString &name);
    const RecordingPrompter &m_prompter;
};

// Every test gets its own module, port, image and recorders. The link and
// the module run on a virtual clock, so pauses and time-outs cost no real
// time; the tests that keep the pacing honest ask for the machine's.
class LinkTest : public ::testing::Test {
protected:
    enum class Time { Virtual, Real };
    explicit LinkTest(Time time = Time::Virtual);
    void SetUp() override;
    void TearDown() override;

    // Bytes the module received, in order.
    std::vector<std::uint8_t> wire() const;
    int countOnWire(std::uint8_t byte) const;
    // A module memory whose transfer range holds the given pattern.
    static tunara::sim::SimulatedModule::Memory memoryWith(const std::function<std::uint8_t(int address)> &pattern);

    const Time time;
    tunara::test::VirtualClock clock;  // outlives the module, which may follow it
    QTemporaryDir dir;
    tunara::sim::SimulatedModule sim;
    tunara::link::QtSerialPort port;
    tunara::ModuleDocument document;
    const tunara::ModuleData &data = document.data();
    ScriptedErrors errors;
    RecordingPrompter prompter;
    RecordingProgress progress;
    RecordingEvents events{prompter};
    tunara::link::ModuleProtocol protocol;
    tunara::link::ModuleTransfers transfers;
};

}  // namespace linktest
