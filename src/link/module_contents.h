#pragma once

#include "link/address_runs.h"

#include <QString>

#include <optional>

namespace tunara::link {

// What the module behind a port held when this session last knew it for
// sure (a download, or an upload that verified), and which module it was.
class ModuleContents {
public:
    void remember(const QString &device, const QString &firmware, const EEPROMBytes &bytes)
    {
        m_known = Known{device, firmware, bytes};
    }
    void forget() { m_known.reset(); }
    // The bytes when the last known contents came from this device and this
    // identification; else null.
    const EEPROMBytes *lookup(const QString &device, const QString &firmware) const
    {
        if (!m_known || m_known->device != device || m_known->firmware != firmware)
            return nullptr;
        return &m_known->bytes;
    }

private:
    struct Known {
        QString device;
        QString firmware;
        EEPROMBytes bytes;
    };
    std::optional<Known> m_known;
};

}  // namespace tunara::link
