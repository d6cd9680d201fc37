#include "CTkModuleStateSaverPtr.h"

CTkModuleStateSaver::CTkModuleStateSaver() : m_bActive(FALSE), m_hResourceHandle(NULL), m_hInstanceHandle(NULL) {}

CTkModuleStateSaver::~CTkModuleStateSaver()
{
    if (m_bActive) {
        AFX_MODULE_STATE* pState = AfxGetModuleState();
        pState->m_hCurrentResourceHandle = m_hResourceHandle;
        pState->m_hCurrentInstanceHandle = m_hInstanceHandle;
    }
}

void CTkModuleStateSaver::Save()
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    m_hResourceHandle = pState->m_hCurrentResourceHandle;
    m_hInstanceHandle = pState->m_hCurrentInstanceHandle;
    m_bActive = TRUE;
}

CTkModuleStateSaverPtr& CTkModuleStateSaverPtr::operator=(CTkModuleStateSaver* pSaver)
{
    if (pSaver != m_pSaver) {
        delete m_pSaver;
        m_pSaver = pSaver;
    }
    return *this;
}
