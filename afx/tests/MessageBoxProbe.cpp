#include "MessageBoxProbe.h"

namespace afxtest {

namespace {
MessageBoxProbe* g_pProbe = nullptr;
}

MessageBoxProbe::MessageBoxProbe(int nAnswer) : m_nAnswer(nAnswer)
{
    g_pProbe = this;
    m_pfnPrevious = AfxSetMessageBoxHook(&MessageBoxProbe::Hook);
}

MessageBoxProbe::~MessageBoxProbe()
{
    AfxSetMessageBoxHook(m_pfnPrevious);
    g_pProbe = nullptr;
}

int AFXAPI MessageBoxProbe::Hook(LPCTSTR lpszText, UINT nType, UINT)
{
    g_pProbe->m_nCalls++;
    g_pProbe->m_lastText = lpszText != NULL ? lpszText : "";
    g_pProbe->m_texts.push_back(g_pProbe->m_lastText);
    g_pProbe->m_lastType = nType;
    g_pProbe->m_hWndLastOwner = AfxGetMessageBoxOwner();
    return g_pProbe->m_nAnswer;
}

} // namespace afxtest
