#pragma once

#include <functional>

namespace tunara::ui {

// What follows a new image (a download, a file opened) outside the data
// commands: the 3D chart's set-up for the image's sensor (only when the 3D
// table is enabled), the table menus' rule, and the module parameters dialog.
struct ImageFollowUp {
    std::function<void()> setUpChart3D;
    std::function<void()> applyTableMenuRule;
    std::function<void()> editModuleParameters;
};

}  // namespace tunara::ui
