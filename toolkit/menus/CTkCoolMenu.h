// A hook on a window that shows the window's popup menus in the toolkit's look: on
// WM_INITMENUPOPUP each item of the popup becomes owner-drawn with a record of its own (its text,
// state, position, popup), drawn with the command's picture from the image manager, a right-aligned
// shortcut and hand-drawn check marks; when the menu loop ends (WM_MENUSELECT 0xFFFF with no menu)
// every converted menu becomes plain again, exactly as before.
//
// Shortened menus: commands registered as rarely used (HideCommand) are left out of popups opened
// through a CTkPopupMenu while the option "recently used first" is on, unless chosen recently
// (values "Item1".."Item5" of "Recent Item List"); an expand item (">> chevron", command 53783)
// at the end reopens the popup in full.
#pragma once

#include <afxwin.h>
#include <afxcoll.h>
#include <afxtempl.h>

#include "CTkWndHook.h"

class CTkMenuItemData;

#define TK_EXPAND_ITEM_TEXT ">> chevron"

class CTkCoolMenu : public CTkWndHook {
    DECLARE_DYNAMIC(CTkCoolMenu)
public:
    CTkCoolMenu();
    ~CTkCoolMenu() override;

    BOOL HookWindow(HWND hWnd) override;
    using CTkWndHook::HookWindow;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual BOOL Install(CWnd* pWnd);
    virtual BOOL LoadToolbarWnd(CWnd* pToolBar, BOOL bReplace);
    virtual BOOL LoadToolbar(UINT nIDToolbar, BOOL bReplace);
    virtual BOOL LoadToolbars(const UINT* pIDs, int nCount, BOOL bReplace);
    virtual BOOL CommandStub(UINT nID);
    virtual BOOL HideCommand(UINT nID);
    virtual BOOL CommandsStub(const UINT* pIDs, int nCount);
    virtual BOOL HideCommands(const UINT* pIDs, int nCount);
    virtual BOOL AddImagesFromBitmap(HBITMAP hBitmap, const UINT* pIDs, int nCount, BOOL bReplace);
    virtual BOOL LoadBitmapImages(UINT nIDBitmap, const UINT* pIDs, int nCount, BOOL bReplace);
    virtual BOOL AddIcon(UINT nID, HICON hIcon, BOOL bReplace);
    virtual int FindMenuItem(CMenu* pMenu, UINT nID);
    virtual void SetRecentItemCount(int n);
    virtual void ResetRecentItems();
    virtual void SetImageSize(CSize size);
    virtual CSize GetImageSize();
    virtual void AddImage(UINT nID, HICON hIcon, int cx, int cy, BOOL bReplace);
    virtual void DrawMenuText(CDC* pDC, CRect rect, CString strText, COLORREF clrText);
    virtual void DrawCheckMark(CDC* pDC, CRect rect, BOOL bSelected, BOOL bDisabled, HBITMAP hbmCheck);
    virtual void DrawExpandItem(CDC* pDC, CRect rect, BOOL bSelected);
    virtual void ConvertMenu(CMenu* pMenu, BOOL bOwnerDraw);
    virtual BOOL IsHiddenCommand(UINT nID);
    virtual BOOL IsPrevItemHidden(CMenu* pMenu, int nPos);
    virtual BOOL IsNextItemHidden(CMenu* pMenu, int nPos);
    virtual BOOL IsFirstVisibleItem(HMENU hMenu, int nPos);
    virtual BOOL IsLastVisibleItem(HMENU hMenu, int nPos, UINT nID);
    virtual BOOL UpdateExpandItem(CMenu* pMenu, BOOL bForce);
    virtual BOOL IsSystemMenu(CMenu* pMenu);
    virtual BOOL RestoreMenuItems(CMenu* pMenu);
    virtual void HideMenuItems(CMenu* pMenu);
    virtual BOOL HasHiddenItems(CMenu* pMenu);
    virtual BOOL AddRecentItem(UINT nID);
    virtual BOOL IsRecentItem(UINT nID);
    virtual BOOL IsPopupTracking();
    virtual void ResetImageSize();
    virtual void OnSysColorChange();
    virtual void OnTimer(UINT nIDEvent);
    virtual void OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu);
    virtual BOOL OnMeasureItem(LPMEASUREITEMSTRUCT lpmis);
    virtual BOOL OnDrawItem(LPDRAWITEMSTRUCT lpdis);
    virtual LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    virtual void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu);

    int m_nRecentItemCount;    // number of "Item%d" values kept
    UINT m_nExpandTimerID;
    UINT m_nExpandDelay;       // milliseconds the mouse rests on the expand item before it opens
    BOOL m_bHideRarelyUsed;    // set by the first HideCommand
    BYTE m_bExpandTimerRunning;
    BOOL m_bKeyboardCues;      // SPI_GETKEYBOARDCUES
    BOOL m_bPopupMenuLoop;     // wParam of the last WM_ENTERMENULOOP
    CSize m_szImage;           // size of the command pictures
    CSize m_szBox;             // image column width and image cell height
    CUIntArray m_arrHiddenCommands;
    CList<HMENU, HMENU> m_listConvertedMenus; // popups made owner-drawn since the menu loop began
    CList<CTkMenuItemData*, CTkMenuItemData*> m_listItems; // owned

protected:
    CTkMenuItemData* FindRecord(HMENU hMenu, int nPos);
    CTkMenuItemData* NewRecord();
    void DeleteRecord(CTkMenuItemData* pData);
    int FindExpandItem(HMENU hMenu);
    void ReadRecentItems(CDWordArray& arrIDs);
    BOOL RestoreMenu(HMENU hMenu);
    void DrawImageCell(CDC* pDC, const CRect& rcItem, CTkMenuItemData* pData, BOOL bSelected, BOOL bDisabled,
                       BOOL bChecked, BOOL bShownHidden, BOOL bFirstOfRun, HBITMAP hbmChecked,
                       HBITMAP hbmUnchecked, BOOL& bHasCell);
};
