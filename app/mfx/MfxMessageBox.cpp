#include "MfxMessageBox.h"

#include "CMfxString.h"
#include "vlCT11.h"

namespace {

// String 128: the program's title, for boxes shown before the main window exists.
const UINT kProgramTitleId = 128;
const int kMaxAnswerKey = 255;

CString WindowTitle(HWND hWnd)
{
    CString strTitle;
    if (hWnd != NULL)
        CWnd::FromHandle(hWnd)->GetWindowText(strTitle);
    return strTitle;
}

CString MainWindowTitle()
{
    CWnd* pMain = AfxGetMainWnd();
    return WindowTitle(pMain != NULL ? pMain->m_hWnd : NULL);
}

// The caption of a selector; -3 only where bOwnerSelector is set (elsewhere it is a string id).
CString Caption(int nCaption, CWnd* pOwner, bool bOwnerSelector)
{
    switch (nCaption) {
    case -1: return MainWindowTitle();
    case -2: return WindowTitle(::GetActiveWindow());
    case -3:
        if (bOwnerSelector)
            return WindowTitle(pOwner != NULL ? pOwner->m_hWnd : ::GetActiveWindow());
        break;
    }
    return CMfxString((UINT)nCaption);
}

CWnd* OwnerOrMainWindow(CWnd* pOwner) { return pOwner != NULL ? pOwner : AfxGetMainWnd(); }

// Keeps the window that has the focus and gives the focus back to it at the end of the scope.
class CFocusKeeper {
public:
    CFocusKeeper()
    {
        CWnd* pFocus = CWnd::GetFocus();
        m_hFocus = pFocus != NULL ? pFocus->m_hWnd : NULL;
    }
    ~CFocusKeeper()
    {
        if (m_hFocus != NULL && ::IsWindow(m_hFocus))
            CWnd::FromHandle(m_hFocus)->SetFocus();
    }
    CFocusKeeper(const CFocusKeeper&) = delete;
    CFocusKeeper& operator=(const CFocusKeeper&) = delete;

private:
    HWND m_hFocus;
};

} // namespace

int MfxMessageBox(CWnd* pOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType, int nExtended)
{
    CFocusKeeper focus;
    HWND hOwner = pOwner != NULL ? pOwner->m_hWnd : NULL;
    if (nExtended == -1)
        return CtlMessageBoxA(hOwner, lpszText, lpszCaption, nType);
    return CtlMessageBoxExA(hOwner, lpszText, lpszCaption, nType, nExtended);
}

int MfxMessageBoxAuto(CWnd* pOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType, int nExtended,
                      LPCTSTR lpszKey)
{
    CString strKey = lpszKey != NULL ? lpszKey : lpszText;
    strKey = strKey.Left(kMaxAnswerKey);
    CFocusKeeper focus;
    HWND hOwner = pOwner != NULL ? pOwner->m_hWnd : NULL;
    if (nExtended == -1)
        return CtlMessageBoxAutoA(hOwner, lpszText, lpszCaption, nType, strKey);
    return CtlMessageBoxExAutoA(hOwner, lpszText, lpszCaption, nType, strKey, nExtended);
}

int MfxMessageBoxId(UINT nIDText, int nCaption, UINT nType, CWnd* pOwner, int nExtended)
{
    return MfxMessageBoxText(CMfxString(nIDText), nCaption, nType, pOwner, nExtended);
}

int MfxMessageBoxText(LPCTSTR lpszText, int nCaption, UINT nType, CWnd* pOwner, int nExtended)
{
    CString strCaption = Caption(nCaption, pOwner, false);
    return MfxMessageBox(OwnerOrMainWindow(pOwner), lpszText, strCaption, nType, nExtended);
}

int MfxMessageBoxStr(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType, CWnd* pOwner, int nExtended)
{
    return MfxMessageBox(OwnerOrMainWindow(pOwner), lpszText, lpszCaption, nType, nExtended);
}

int MfxMessageBoxAutoId(UINT nIDText, int nCaption, UINT nType, CWnd* pOwner, int nExtended, LPCTSTR lpszKey)
{
    CMfxString strText(nIDText);
    if ((nCaption == -2 || nCaption == -3) && pOwner == NULL)
        pOwner = CWnd::FromHandle(::GetActiveWindow());
    CString strCaption;
    if (nCaption == -1 && AfxGetMainWnd() == NULL)
        strCaption = CMfxString(kProgramTitleId);
    else
        strCaption = Caption(nCaption, pOwner, true);
    CMfxString strKey;
    if (lpszKey != NULL)
        strKey = lpszKey;
    else
        strKey.Format("#%d#%d", nCaption, (int)nIDText);
    return MfxMessageBoxAuto(OwnerOrMainWindow(pOwner), strText, strCaption, nType, nExtended, strKey);
}

void MfxFatalErrorBox(UINT nIDText, UINT nValue1, UINT nValue2)
{
    CMfxString strText;
    if (nIDText != 0)
        strText.FormatId(nIDText, nValue1, nValue2);
    CString strCaption = MainWindowTitle();
    CtlMessageBoxA(NULL, strText, strCaption, MB_TASKMODAL | MB_ICONERROR);
    AfxAbort();
}
