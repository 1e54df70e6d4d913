#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <string>

namespace tunara {

// Error numbers the program raises: the object-error base plus an offset.
inline constexpr int ObjectErrorBase = -2147221504;         // 0x80040000
inline constexpr int CommErrorNumber = ObjectErrorBase + 1000;  // -2147220504
inline constexpr int FileOpenErrorNumber = ObjectErrorBase + 1000;
inline constexpr int FileSaveErrorNumber = ObjectErrorBase + 1001;  // -2147220503
// Run-time errors of the language itself keep their traditional numbers.
inline constexpr int OverflowErrorNumber = 6;
inline constexpr int OutOfMemoryErrorNumber = 7;
inline constexpr int SubscriptErrorNumber = 9;         // an item that is not there
inline constexpr int TypeMismatchErrorNumber = 13;     // a value of the wrong kind
inline constexpr int FileNotFoundErrorNumber = 53;
inline constexpr int BadFileErrorNumber = 62;          // input past the end of a file
inline constexpr int FileErrorNumber = 75;             // path/file access error
inline constexpr int InvalidPictureErrorNumber = 481;

// A raised error: number, source and description, as the error dialog shows it.
class RuntimeError : public std::exception {
public:
    RuntimeError(int number, QString source, QString description);

    int number() const { return m_number; }
    const QString &source() const { return m_source; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_what.c_str(); }

private:
    int m_number;
    QString m_source;
    QString m_description;
    std::string m_what;
};

// Answers of the common error dialog, with the platform's button codes.
enum class ErrorChoice { Abort = 3, Retry = 4, Ignore = 5 };

// Whoever answers the common error dialog: the window asks the user, the
// command-line tool answers Abort, tests answer from a script.
class ErrorResponder {
public:
    virtual ~ErrorResponder() = default;
    virtual ErrorChoice ErrorDialog(const RuntimeError &error) = 0;
};

// How a trapped step ended.
enum class StepOutcome { Completed, Ignored, Aborted };

// Runs one step under the common error dialog: Retry runs it again, Ignore
// carries on with the next step, Abort tells the caller to leave. Errors
// that are not RuntimeErrors are reported with number 0 and their text.
StepOutcome runTrapped(ErrorResponder &responder, const std::function<void()> &step);

}  // namespace tunara
