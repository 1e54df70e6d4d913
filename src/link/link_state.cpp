#include "link/link_state.h"

#include <utility>

namespace tunara::link {

void LinkState::resetToStartUp()
{
    m_commOK = false;
    m_abortRequested = false;
    setIdentification(QString(), SupportedModel);
}

void LinkState::setIdentification(const QString &firmwareID, const QString &moduleType)
{
    if (firmwareID == m_firmwareID && moduleType == m_moduleType)
        return;
    m_firmwareID = firmwareID;
    m_moduleType = moduleType;
    emit identificationChanged();
}

bool LinkState::takeAbort()
{
    return std::exchange(m_abortRequested, false);
}

}  // namespace tunara::link
