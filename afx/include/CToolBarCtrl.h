// A toolbar control of the common controls.
// The wrapper adds no data of its own: FromHandle of a control's handle may be cast to it.
#pragma once

#include "CWnd.h"
#include "CImageList.h"

class CToolBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolBarCtrl)
public:
    CToolBarCtrl() {}
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetButtonStructSize(int nSize) { SendMessage(TB_BUTTONSTRUCTSIZE, (WPARAM)nSize); }
    BOOL AddButtons(int nNumButtons, LPTBBUTTON lpButtons) { return (BOOL)SendMessage(TB_ADDBUTTONSA, (WPARAM)nNumButtons, (LPARAM)lpButtons); }
    BOOL InsertButton(int nIndex, LPTBBUTTON lpButton) { return (BOOL)SendMessage(TB_INSERTBUTTONA, (WPARAM)nIndex, (LPARAM)lpButton); }
    BOOL DeleteButton(int nIndex) { return (BOOL)SendMessage(TB_DELETEBUTTON, (WPARAM)nIndex); }
    int GetButtonCount() const { return (int)::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0); }
    BOOL GetButton(int nIndex, LPTBBUTTON lpButton) const { return (BOOL)::SendMessageA(m_hWnd, TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)lpButton); }
    BOOL EnableButton(int nID, BOOL bEnable = TRUE) { return (BOOL)SendMessage(TB_ENABLEBUTTON, (WPARAM)nID, MAKELPARAM(bEnable, 0)); }
    BOOL CheckButton(int nID, BOOL bCheck = TRUE) { return (BOOL)SendMessage(TB_CHECKBUTTON, (WPARAM)nID, MAKELPARAM(bCheck, 0)); }
    BOOL IsButtonEnabled(int nID) const { return (BOOL)::SendMessageA(m_hWnd, TB_ISBUTTONENABLED, (WPARAM)nID, 0); }
    BOOL IsButtonChecked(int nID) const { return (BOOL)::SendMessageA(m_hWnd, TB_ISBUTTONCHECKED, (WPARAM)nID, 0); }
    int CommandToIndex(UINT nID) const { return (int)::SendMessageA(m_hWnd, TB_COMMANDTOINDEX, nID, 0); }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const { return (BOOL)::SendMessageA(m_hWnd, TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect); }
    void AutoSize() { SendMessage(TB_AUTOSIZE); }
    CImageList* SetImageList(CImageList* pImageList) { return CImageList::FromHandle((HIMAGELIST)SendMessage(TB_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle())); }
};
