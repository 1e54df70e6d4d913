#include "editor/edit_history.h"

#include <stdexcept>

namespace tunara::editor {

void EditHistory::clear()
{
    m_steps.clear();
    m_index = 0;
    m_cleanIndex = 0;
}

void EditHistory::push(EditStep step)
{
    if (m_cleanIndex > m_index)
        m_cleanIndex = -1;  // the saved state was among the dropped steps
    m_steps.resize(std::size_t(m_index));
    m_steps.push_back(std::move(step));
    ++m_index;
}

const EditStep &EditHistory::undo()
{
    if (!canUndo())
        throw std::logic_error("nothing to undo");
    return m_steps[std::size_t(--m_index)];
}

const EditStep &EditHistory::redo()
{
    if (!canRedo())
        throw std::logic_error("nothing to redo");
    return m_steps[std::size_t(m_index++)];
}

void EditHistory::rewriteValues(const std::function<void(double &stored, double &exact)> &change)
{
    for (EditStep &step : m_steps) {
        for (std::size_t i = 0; i < step.before.size(); ++i) {
            change(step.before[i], step.exactBefore[i]);
            change(step.after[i], step.exactAfter[i]);
        }
    }
}

QString EditHistory::undoText() const
{
    return canUndo() ? m_steps[std::size_t(m_index - 1)].text : QString();
}

QString EditHistory::redoText() const
{
    return canRedo() ? m_steps[std::size_t(m_index)].text : QString();
}

}  // namespace tunara::editor
