#pragma once

class QLayout;
class QWidget;

namespace tunara::dialogs {

// Lays out a window as its content above its button row. The content sits in
// a scroll area that asks for the content's whole size, so where the screen
// has room the window keeps its design layout without scroll bars; on a
// smaller screen the window may be made smaller than its content, which then
// scrolls while the buttons stay on view.
void layOutScrolling(QWidget &window, QWidget *content, QLayout *buttons);

}  // namespace tunara::dialogs
