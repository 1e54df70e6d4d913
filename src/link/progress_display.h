#pragma once

#include <QString>

namespace tunara::link {

// Where the block transfers show how far they are: the main window's
// progress frame, a bar on the terminal, or a recorder in tests.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    // Shows the frame with this caption and the bar at 0, drawn at once.
    virtual void showProgress(const QString &caption) = 0;
    // 0..100.
    virtual void setProgress(int percent) = 0;
    virtual void hideProgress() = 0;
};

}  // namespace tunara::link
