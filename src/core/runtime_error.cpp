#include "core/runtime_error.h"

#include <new>

namespace tunara {

RuntimeError::RuntimeError(int number, QString source, QString description)
    : m_number(number),
      m_source(std::move(source)),
      m_description(std::move(description)),
      m_what(m_description.toStdString())
{
}

StepOutcome runTrapped(ErrorResponder &responder, const std::function<void()> &step)
{
    for (;;) {
        ErrorChoice choice;
        try {
            step();
            return StepOutcome::Completed;
        } catch (const RuntimeError &error) {
            choice = responder.ErrorDialog(error);
        } catch (const std::bad_alloc &) {
            choice = responder.ErrorDialog(RuntimeError(OutOfMemoryErrorNumber, QStringLiteral("Tunara"), QStringLiteral("Out of memory")));
        } catch (const std::exception &error) {
            choice = responder.ErrorDialog(RuntimeError(0, QStringLiteral("Tunara"), QString::fromLocal8Bit(error.what())));
        }
        switch (choice) {
        case ErrorChoice::Retry:
            continue;
        case ErrorChoice::Ignore:
            return StepOutcome::Ignored;
        case ErrorChoice::Abort:
            return StepOutcome::Aborted;
        }
    }
}

}  // namespace tunara
