#include "module/saved_state.h"

#include "core/runtime_error.h"
#include "module/parameter_codec.h"

namespace tunara {

QByteArray bytesAsSaved(const ModuleData &data)
{
    ModuleData copy = data;
    UpdateEEPROM(copy);
    return transferBytes(copy.image);
}

QByteArray bytesAsSavedOrAsTheyStand(const ModuleData &data)
{
    try {
        return bytesAsSaved(data);
    } catch (const RuntimeError &) {
        return transferBytes(data.image);
    }
}

void SavedState::markSaved(const ModuleData &data)
{
    try {
        m_saved = bytesAsSaved(data);
    } catch (const RuntimeError &) {
        m_saved.reset();
    }
}

bool SavedState::hasUnsavedWork(const ModuleData &data) const
{
    if (data.image.DataBufferEmpty)
        return false;
    if (!m_saved)
        return true;
    try {
        return bytesAsSaved(data) != *m_saved;
    } catch (const RuntimeError &) {
        return true;
    }
}

}  // namespace tunara
