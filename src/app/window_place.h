#pragma once

#include <QList>
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

    // The stored place, when it is whole numbers that put the window, no
    // larger than the screen, with its centre on one of the screens now
    // attached; otherwise nothing (garbage, a screen gone, first start).
    static std::optional<WindowPlace> fromStored(const StoredSettings &settings, const QList<QRect> &screens);
    void save(StoredSettings &settings) const;
};

// The window comes back where it was left, or keeps its design size,
// centred on the primary screen, when the stored place is of no use.
void restoreWindowPlace(QWidget &window, const StoredSettings &settings);
void saveWindowPlace(const QWidget &window, StoredSettings &settings);

}  // namespace tunara::ui
