#include "afxwin.h"

#include <unordered_map>
#include <vector>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {

// The calling thread's handle maps. Temporary objects stay listed after their window is
// destroyed (the caller may still hold the pointer) and are deleted by DeleteTempMap.
struct HandleMaps {
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, CWnd*> temporary;
    std::vector<CWnd*> temporaries;

    void DeleteTemporaries()
    {
        temporary.clear();
        std::vector<CWnd*> objects;
        objects.swap(temporaries);
        for (CWnd* pWnd : objects) {
            pWnd->m_hWnd = NULL; // the window is not the object's to destroy
            delete pWnd;
        }
    }

    ~HandleMaps() { DeleteTemporaries(); }
};

thread_local HandleMaps t_maps;

} // namespace

CWnd::CWnd() : m_hWnd(NULL) {}

CWnd::~CWnd()
{
    if (m_hWnd != NULL && t_maps.permanent.count(m_hWnd) != 0 && t_maps.permanent[m_hWnd] == this)
        DestroyWindow();
}

HWND CWnd::GetSafeHwnd() const
{
    // Read through a volatile copy: the compiler may not assume that this is never NULL here.
    const CWnd* volatile pThis = this;
    return pThis == NULL ? NULL : pThis->m_hWnd;
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == NULL)
        return NULL;
    auto it = t_maps.permanent.find(hWnd);
    return it != t_maps.permanent.end() ? it->second : NULL;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == NULL)
        return NULL;
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd != NULL)
        return pWnd;
    auto it = t_maps.temporary.find(hWnd);
    if (it != t_maps.temporary.end())
        return it->second;
    pWnd = new CWnd;
    pWnd->m_hWnd = hWnd;
    t_maps.temporaries.push_back(pWnd);
    t_maps.temporary[hWnd] = pWnd;
    return pWnd;
}

void PASCAL CWnd::DeleteTempMap() { t_maps.DeleteTemporaries(); }

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == NULL || m_hWnd != NULL)
        return FALSE;
    m_hWnd = hWndNew;
    t_maps.permanent[hWndNew] = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != NULL) {
        auto it = t_maps.permanent.find(hWnd);
        if (it != t_maps.permanent.end() && it->second == this)
            t_maps.permanent.erase(it);
    }
    m_hWnd = NULL;
    return hWnd;
}

CWnd* PASCAL CWnd::GetFocus() { return FromHandle(::GetFocus()); }

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const
{
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}

void CWnd::GetWindowText(CString& rString) const
{
    int nLength = ::GetWindowTextLengthA(m_hWnd);
    // The length may count more bytes than the text has (it is an upper bound).
    int nCopied = ::GetWindowTextA(m_hWnd, rString.GetBuffer(nLength), nLength + 1);
    rString.ReleaseBuffer(nCopied);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }

BOOL CWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    if (hWnd == NULL)
        return FALSE;
    BOOL bResult = ::DestroyWindow(hWnd);
    if (bResult || !::IsWindow(hWnd)) {
        // The handle may be reused for another window: neither map may answer this object for it.
        auto it = t_maps.temporary.find(hWnd);
        if (it != t_maps.temporary.end() && it->second == this)
            t_maps.temporary.erase(it);
        Detach();
    }
    return bResult;
}
