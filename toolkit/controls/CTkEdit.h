// An edit control with a context menu drawn as a cool menu (undo, cut, copy, paste, delete, select
// all), flicker-free painting and the toolkit's menu font.
#pragma once

#include <afxwin.h>

#include "CTkCoolMenu.h"

class CTkEdit : public CEdit {
    DECLARE_DYNAMIC(CTkEdit)
public:
    CTkEdit();
    ~CTkEdit() override;

    virtual BOOL CanPaste();
    virtual BOOL HasSelection();
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL InitControl();

    // Where the context menu opens for a WM_CONTEXTMENU at pos (screen; (-1, -1) from the keyboard).
    CPoint ContextMenuPoint(CPoint pos);

    bool m_bCreated;
    CTkCoolMenu m_coolMenu;

protected:
    void PreSubclassWindow() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg void OnEditUndo();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditClear();
    afx_msg void OnUpdateNeedsSelection(CCmdUI* pCmdUI);
    afx_msg void OnEditPaste();
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnEditSelectAll();
    afx_msg void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    DECLARE_MESSAGE_MAP()
};
