#pragma once

#include "module/module_data.h"

#include <QByteArray>

#include <optional>

namespace tunara {

// The 264 bytes a file save would write now: the parameters encoded into a
// copy of the image (the image itself is not touched). Throws RuntimeError
// when a parameter does not fit its byte.
QByteArray bytesAsSaved(const ModuleData &data);
// The same, or the image as it stands when a parameter does not fit: what
// a copy of the user's work holds.
QByteArray bytesAsSavedOrAsTheyStand(const ModuleData &data);

// Whether the image holds work that went neither to a file nor to a module.
// The bytes as a save would write them are kept at each open, download, save
// and upload; the image holds unsaved work when it is not empty and what a
// save would write now differs from them (or cannot be encoded at all).
// Table edits still open in the editor are not in the image; the exit
// question about an open table covers them.
class SavedState {
public:
    // The image was just opened, downloaded, saved or uploaded.
    void markSaved(const ModuleData &data);
    // Nothing of the image has been kept anywhere.
    void forget() { m_saved.reset(); }
    bool hasUnsavedWork(const ModuleData &data) const;

private:
    std::optional<QByteArray> m_saved;
};

}  // namespace tunara
