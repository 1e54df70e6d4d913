#pragma once

#include "files/restore_points.h"

namespace tunara::editor {
class TableSession;
}

namespace tunara::ui {

class ImageKeeper;

// What has to happen before a new image (a file opened, a module
// downloaded) replaces the document's: the image as it stands is kept as a
// restore point, and the open table closes, its unsaved edits going with
// the image. Both the open and the download go through here.
class ImageReplacement {
public:
    ImageReplacement(ImageKeeper &keeper, editor::TableSession &session) : m_keeper(keeper), m_session(session) {}

    // False when the restore point could not be kept and the user will not
    // go on without it: nothing has changed then.
    bool prepare(restore::Event event);

private:
    ImageKeeper &m_keeper;
    editor::TableSession &m_session;
};

}  // namespace tunara::ui
