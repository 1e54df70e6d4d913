#include "link/link_state.h"


namespace tunara::link {

void LinkState::resetToStartUp()
{
    m_commOK = false;
    m_abortRequested = false;
    setIdentification(QString(), SupportedModel);
}

QString LinkState::firmwareID() const
{
    const QMutexLocker lock(&m_identificationLock);
    return m_firmwareID;
}

QString LinkState::moduleType() const
{
    const QMutexLocker lock(&m_identificationLock);
    return m_moduleType;
}

void LinkState::setIdentification(const QString &firmwareID, const QString &moduleType)
{
    {
        const QMutexLocker lock(&m_identificationLock);
        if (firmwareID == m_firmwareID && moduleType == m_moduleType)
            return;
        m_firmwareID = firmwareID;
        m_moduleType = moduleType;
    }
    // From the link thread this reaches the window's receivers queued.
    emit identificationChanged();
}

bool LinkState::takeAbort()
{
    return m_abortRequested.exchange(false);
}

}  // namespace tunara::link
