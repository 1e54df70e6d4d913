#pragma once

#include <QString>

namespace tunara::test {

// The run's temporary folders go to memory where the machine has a memory
// file system (/dev/shm), unless TMPDIR already names a place: the tests
// make and remove thousands of small files, which costs milliseconds each
// on a disk that discards freed blocks at once. The folder made for the run
// is removed with everything in it when the run ends.
class RunTempFolder {
public:
    RunTempFolder();
    ~RunTempFolder();
    RunTempFolder(const RunTempFolder &) = delete;
    RunTempFolder &operator=(const RunTempFolder &) = delete;

private:
    QString m_made;  // "" when TMPDIR was left alone
};

}  // namespace tunara::test
