#include "link_test_support.h"

#include <QCoreApplication>

namespace linktest {

using namespace tunara;

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "link_tests";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

ErrorChoice ScriptedErrors::ErrorDialog(const RuntimeError &error)
{
    shown.push_back({error.number(), error.source(), error.description()});
    if (beforeAnswer)
        beforeAnswer();
    if (shown.size() > 50)
        return ErrorChoice::Abort;  // a script that loops forever is a failed test, not a hang
    if (answers.empty())
        return ErrorChoice::Abort;
    const ErrorChoice choice = answers.front();
    answers.pop_front();
    return choice;
}

QStringList ScriptedErrors::descriptions() const
{
    QStringList list;
    for (const auto &e : shown)
        list << e.description;
    return list;
}

void RecordingPrompter::showMessage(const QString &text, const QString &title, link::MessageIcon icon)
{
    shown.push_back({text, title, icon, false});
}

bool RecordingPrompter::askOkCancel(const QString &text, const QString &title)
{
    shown.push_back({text, title, link::MessageIcon::None, true});
    if (okAnswers.empty())
        return true;
    const bool ok = okAnswers.front();
    okAnswers.pop_front();
    return ok;
}

QStringList RecordingPrompter::texts() const
{
    QStringList list;
    for (const auto &m : shown)
        list << m.text;
    return list;
}

void RecordingProgress::showProgress(const QString &caption)
{
    runs.push_back({caption, {}, false});
    visible = true;
}

void RecordingProgress::setProgress(int percent)
{
    ASSERT_FALSE(runs.empty());
    runs.back().values.push_back(percent);
    if (onValue)
        onValue(runs.back().caption, int(runs.back().values.size()) - 1);
}

void RecordingProgress::hideProgress()
{
    if (!runs.empty())
        runs.back().hidden = true;
    visible = false;
}

const RecordingProgress::Run *RecordingProgress::find(const QString &caption) const
{
    for (const Run &run : runs)
        if (run.caption == caption)
            return &run;
    return nullptr;
}

QStringList RecordingEvents::timeline() const
{
    QStringList list;
    for (qsizetype k = 0; k < calls.size(); ++k)
        list << calls[k] + u'@' + QString::number(messagesBefore[std::size_t(k)]);
    return list;
}

void RecordingEvents::finished(link::TransferCommand command, link::TransferOutcome outcome)
{
    static const char *const commands[] = {"Download", "Upload", "Identify"};
    static const char *const outcomes[] = {"Completed", "Cancelled", "Refused", "Failed", "Stopped", "Busy"};
    note(QStringLiteral("finished %1 %2").arg(QLatin1String(commands[int(command)]),
                                               QLatin1String(outcomes[int(outcome)])));
}

void RecordingEvents::note(const QString &name)
{
    calls << name;
    messagesBefore.push_back(m_prompter.shown.size());
}

LinkTest::LinkTest(Time time)
    : time(time),
      protocol(port, document.image(), errors, &progress,
               time == Time::Virtual ? static_cast<link::LinkClock &>(clock) : link::LinkClock::machine()),
      transfers(protocol, document, prompter, errors, &events)
{
    ensureApplication();
}

void LinkTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    if (time == Time::Virtual)
        clock.drive(sim);
    sim.start();
    ASSERT_TRUE(sim.isRunning());
    port.setDevicePath(sim.devicePath());
}

void LinkTest::TearDown()
{
    port.close();
    sim.stop();
    EXPECT_EQ(clock.cappedWaits(), 0) << "the simulated module never fell quiet: a wait ran into the real-time cap";
}

std::vector<std::uint8_t> LinkTest::wire() const
{
    std::vector<std::uint8_t> bytes;
    for (const auto &r : sim.received())
        bytes.push_back(r.value);
    return bytes;
}

int LinkTest::countOnWire(std::uint8_t byte) const
{
    int n = 0;
    for (auto b : wire())
        n += b == byte;
    return n;
}

sim::SimulatedModule::Memory LinkTest::memoryWith(const std::function<std::uint8_t(int)> &pattern)
{
    sim::SimulatedModule::Memory memory{};
    for (int a = 0; a < sim::SimulatedModule::EEPROMSize; ++a)
        memory[std::size_t(a)] = a >= 16 ? pattern(a) : 0;
    return memory;
}

}  // namespace linktest
