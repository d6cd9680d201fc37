// The in-place editor of a shortcut bar's folder name or item label. It deletes itself when its
// window goes.
#pragma once

#include "CTkEdit.h"

class CTkOutBarCtrl;

class CTkEditItem : public CTkEdit {
    DECLARE_DYNAMIC(CTkEditItem)
public:
    CTkEditItem();

    virtual BOOL CreateEditItem(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CTkOutBarCtrl* pBar, UINT nID,
                                int nIndex, bool bFolder, bool bLeftAligned);
    BOOL PreTranslateMessage(MSG* pMsg) override;

    int m_nIndex;
    bool m_bCancelled;
    bool m_bLeftAligned;
    bool m_bFolder;
    CRect m_rect;
    CString m_strText;
    CTkOutBarCtrl* m_pBar;

protected:
    void PostNcDestroy() override;

    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};
