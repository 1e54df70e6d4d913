#include "app/commands/image_replacement.h"

#include "app/commands/image_keeper.h"
#include "editor/table_session.h"

namespace tunara::ui {

bool ImageReplacement::prepare(restore::Event event)
{
    if (!m_keeper.keepImageAboutToBeOverwritten(event))
        return false;
    m_session.discard();
    return true;
}

}  // namespace tunara::ui
