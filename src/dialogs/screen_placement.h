#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace tunara::dialogs {

// Where a window of `size` goes to be centred on `available` (a screen's
// usable area) and seen whole: a window larger than the area keeps its
// top-left corner on the area's top-left, never off the left or top edge.
QRect centredWithin(const QRect &available, const QSize &size);

// The title bar and borders the window manager puts around `window`: its
// own once shown, else the owner's, else an estimate from the style, so a
// window placed before it is shown keeps its title bar on the screen.
QMargins frameMarginsOf(const QWidget &window, const QWidget *owner);

// Moves a top-level window (a dialog, the help viewer) to the centre of the
// screen that holds `owner`, or of the primary screen without an owner,
// first shrinking it (down to its minimum size) to fit the screen's usable
// area, frame included. A window narrower than its caption needs
// (titleBarWidth()) is widened to it first, as far as the screen allows.
// Run it after the window has its size and before it is shown.
void centreOnOwnerScreen(QWidget &window, const QWidget *owner);

// The width a top-level window needs for its title bar to show its whole
// caption: the caption in a bold face of the application's font, with room
// for the title bar's icon and buttons.
int titleBarWidth(const QWidget &window);

// Twips (1/1440 inch) to pixels at a widget's logical resolution.
int twipsToPixelsFor(const QWidget &widget, double twips);

}  // namespace tunara::dialogs
