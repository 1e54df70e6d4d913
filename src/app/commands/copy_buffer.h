#pragma once

#include "app/main_actions.h"

#include <QAction>
#include <QString>

namespace tunara::ui {

// What the grids copied last (shared by both grids and the table commands).
struct CopyState {
    QString ClipText;
    int ClipRowSpan = 0;
    int ClipColSpan = 0;
};

// The copy buffer and the two Paste items that follow it.
class CopyBuffer {
public:
    explicit CopyBuffer(const MainActions &actions) : m_actions(actions) {}

    CopyState &state() { return m_state; }
    const CopyState &state() const { return m_state; }
    // Empties the copy state and disables both Paste items.
    void clear()
    {
        m_state = CopyState{};
        m_actions.popUp2D.paste->setEnabled(false);
        m_actions.popUp3D.paste->setEnabled(false);
    }

private:
    const MainActions &m_actions;
    CopyState m_state;
};

}  // namespace tunara::ui
