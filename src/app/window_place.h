#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

#include <optional>

class QWidget;

namespace tunara {
class StoredSettings;
}

namespace tunara::ui {

// Where the main window was left: its normal (not maximised) rectangle and
// whether it was maximised. Kept with the other settings.
struct WindowPlace {
    QRect normal;
    bool maximized = false;

    // The stored place, when it is whole numbers that put the window,
    // pulled onto the screens attached now (pulledOnto()); nothing for
    // garbage or a first start.
    static std::optional<WindowPlace> fromStored(const StoredSettings &settings, const QList<QRect> &screens,
                                                 const QMargins &frame = {});
    void save(StoredSettings &settings) const;
    // The place moved, and made smaller where it must be, so the window with
    // its `frame` (title bar and borders) lies whole in one of `screens`
    // (usable areas, the primary first): the screen that holds its centre,
    // else the one it overlaps most, else the primary. A place already
    // whole on its screen stays as it is.
    WindowPlace pulledOnto(const QList<QRect> &screens, const QMargins &frame) const;
};

// The window comes back where it was left, pulled onto the screens attached
// now, or keeps its design size, centred on the primary screen, when the
// stored place is of no use. From then on the place it has when it is
// closed is kept, maximised or not, for saveWindowPlace().
void restoreWindowPlace(QWidget &window, const StoredSettings &settings);
void saveWindowPlace(const QWidget &window, StoredSettings &settings);

}  // namespace tunara::ui
