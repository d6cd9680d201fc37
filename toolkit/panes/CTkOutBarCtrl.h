// The shortcut bar: stacked folder headers; between the current folder's header and the headers
// below it either the folder's items (icons with labels, large or small, scrollable with two
// arrows) or a window the folder hosts. The owner learns of clicks, renames, moves and removals
// through TKWM_OUTBAR_NOTIFY and may refuse them.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>

#include <vector>

#include "CTkIconHolder.h"
#include "CTkOutBarFolder.h"
#include "TkControlMessages.h"

// Flag word
#define TKOB_SMALLICONS 0x01
#define TKOB_RENAMEFOLDERS 0x04
#define TKOB_RENAMEITEMS 0x08
#define TKOB_REMOVEFOLDERS 0x10
#define TKOB_REMOVEITEMS 0x20
#define TKOB_DRAGITEMS 0x80
#define TKOB_ANIMATEFOLDERS 0x100
#define TKOB_SELFRAME 0x200

// Notification codes (wParam of TKWM_OUTBAR_NOTIFY)
#define OBN_ITEMCLICK 1
#define OBN_ITEMRENAMED 2
#define OBN_FOLDERRENAMED 3
#define OBN_ITEMMOVED 4
#define OBN_FOLDERCHANGING 5
#define OBN_ITEMHOVER 6
#define OBN_ITEMDELETED 7
#define OBN_FOLDERDELETED 8
#define OBN_DRAGOUT 9
#define OBN_CONTEXTMENU 10

// What a notification is about; lives on the bar's stack during the call.
struct TK_OUTBARNOTIFY {
    int nIndex;
    int nDropIndex;
    int nDragIndex;
    bool bFolder;
    const char* lpszText;
};

class CTkEditItem;

class CTkOutBarCtrl : public CWnd {
    DECLARE_DYNCREATE(CTkOutBarCtrl)
public:
    CTkOutBarCtrl();
    ~CTkOutBarCtrl() override;

    // Sizes of one item: its icon and its label (from GetItemSize).
    struct ItemSizes {
        CSize icon;
        CSize label;
    };
    // Folder header i of n with folder c current, in a client rectangle.
    static CRect CalcFolderRect(const CRect& rcClient, int nFolders, int nCurrent, int cyHeader, int i);
    // The items area.
    static CRect CalcInsideRect(const CRect& rcClient, int nFolders, int nCurrent, int cyHeader);
    // The item, icon and label rectangles of item k of a folder whose items have these sizes,
    // scrolled to the first visible item nFirst.
    void CalcItemRects(const CRect& rcInside, BOOL bSmall, const std::vector<ItemSizes>& sizes, int nFirst, int k,
                       CRect* pItem, CRect* pIcon, CRect* pLabel) const;
    CSize CombinedSize(const ItemSizes& s, BOOL bSmall) const;

    virtual void AnimateSelectedItem(int nElapse);
    virtual DWORD GetFolderData(int nFolder = -1);
    virtual CWnd* GetFolderChild(int nFolder = -1);
    virtual int AddFolderBar(LPCTSTR lpszName, CWnd* pChild, DWORD dwData = 0);
    virtual CString GetItemText(int nIndex);
    virtual void SetAnimationDelay(int nMilliseconds);
    virtual int GetAnimationDelay();
    virtual void SetItemImage(int nIndex, int nImage);
    virtual void SetItemData(int nIndex, DWORD dwData);
    virtual int GetItemImage(int nIndex);
    virtual DWORD GetItemData(int nIndex);
    virtual void RemoveAllItems(int nFolder, bool bNotify);
    virtual int RemoveItem(int nIndex);
    virtual void SetItemText(int nIndex, LPCTSTR lpszText);
    virtual void EditItem(int nIndex);
    virtual void SetFolderText(int nIndex, LPCTSTR lpszName);
    virtual void EditFolder(int nIndex);
    virtual CImageList* GetFolderImageList(int nFolder, BOOL bSmall);
    virtual CImageList* GetImageList(DWORD dwFlag);
    virtual CImageList* SetFolderImageList(int nFolder, CImageList* pImageList, DWORD dwFlag);
    virtual CImageList* SetImageList(CImageList* pImageList, DWORD dwFlag);
    virtual void RemoveFolder(int nIndex);
    virtual int GetSelFolder();
    virtual int GetFolderCount();
    virtual void SetSelFolder(int nIndex);
    virtual int GetItemCount();
    virtual int InsertItem(int nFolder, int nIndex, LPCTSTR lpszText, int nImage = -1, DWORD dwData = 0);
    virtual int AddFolder(LPCTSTR lpszName, DWORD dwData = 0);
    virtual void ModifyFlag(const DWORD& dwRemove, const DWORD& dwAdd, bool bRedraw = false);
    virtual DWORD GetFlag();
    virtual void SetSmallIconView(BOOL bSmall, int nFolder = -1);
    virtual BOOL IsSmallIconView(int nFolder = -1);
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwFlag = 0xFC);
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          DWORD dwFlag = 0xFC);
    virtual void SetBarFont(CFont* pFont);
    virtual CFont* GetBarFont();
    virtual CTkOutBarFolder* GetFolder(int nIndex);
    virtual CTkOutBarItem* GetItem(int nFolder, int nIndex);
    virtual void SetBackColor(COLORREF clr);
    virtual void SetTextColor(COLORREF clr);
    virtual void GetLabelRect(int nFolder, int nIndex, CRect& rect);
    virtual void GetIconRect(int nFolder, int nIndex, CRect& rect);
    virtual void GetItemRect(int nFolder, int nIndex, CRect& rect);
    virtual void GetInsideRect(CRect& rect);
    virtual BOOL GetFolderRect(int nIndex, CRect& rect);
    virtual void SelectItem(int nFolder, int nIndex);
    virtual void DrawScrollButton(CDC* pDC, CRect rect, UINT nType, UINT nState);
    virtual void DrawItem(CDC* pDC, int nFolder, CRect rect, int nIndex, BOOL bOnlyImage = FALSE);
    virtual void DrawDragMarker(CDC* pDC, int nFrom, int nTo);
    virtual void DrawAnimItem(int dx, int dy, int nIndex);
    virtual void DrawFolder(CDC* pDC, int nIndex, CRect rect, int nState);
    virtual void DrawIcon(CDC* pDC, int nIndex, int nFolder, BOOL bHighlight);
    virtual void PaintItems(CDC* pDC, int nFolder, CRect rect);
    virtual void GetVisibleRange(int nFolder, int& nFirst, int& nLast);
    virtual int GetDragItemRect(int nIndex, CRect& rect);
    virtual CSize GetItemSize(int nFolder, int nIndex, int nType);
    virtual void AnimateFolderScroll(int nFrom, int nTo);
    virtual void HighlightItem(int nIndex, BOOL bPressed = FALSE);
    virtual void HighlightFolder(int nIndex);
    virtual int HitTestEx(const CPoint& point, int& nIndex);
    virtual BOOL IsValidItem(int nIndex);
    virtual void OnLabelEndEdit(CTkEditItem* pEdit, bool bFolder);
    virtual void OnLabelChanged(TK_OUTBARNOTIFY* pNotify);
    virtual void DrawItemIcon(CDC* pDC, CPoint pt, const CTkIconHolder& icon, BOOL bEnabled);
    virtual void DrawItemText(CDC* pDC, CRect rect, CString strText, UINT nFormat, BOOL bEnabled);

    // Sends a notification to the owner (the owner window, else the parent); answers its reply.
    LRESULT Notify(UINT nCode, int nIndex, int nDropIndex, int nDragIndex, bool bFolder, const char* lpszText);

    // Fields in their order.
    int m_cyFolder;
    int m_nSelFolder;
    int m_nHotFolder;
    int m_nHotItem;
    int m_nSelItem;
    int m_nFirstItem;
    int m_nLargeIconGap;
    int m_nSmallIconGap;
    int m_nMenuHitType, m_nMenuHitIndex;
    int m_nDragMarker, m_nDragMarkerKind;
    int m_nAnimStep;
    int m_nAnimPeriod;
    int m_nFolderAnimDelay;
    CPen m_penMarker;
    BOOL m_bUpArrowShown, m_bDownArrowShown;
    BOOL m_bUpArrowPressed, m_bDownArrowPressed;
    BOOL m_bHotItemPressed;
    BOOL m_bButtonHeld;
    BOOL m_bCustomBackColor, m_bCustomTextColor;
    CFont m_font;
    DWORD m_dwFlags;
    CRect m_rcUpArrow, m_rcDownArrow;
    int m_nSmallTextGap;
    int m_nLargeLabelGap;
    int m_cxItemMargin, m_cyItemMargin;
    COLORREF m_clrBack;
    COLORREF m_clrText;
    CPtrArray m_folders;
    CImageList* m_pLargeImageList;
    CImageList* m_pSmallImageList;

protected:
    std::vector<ItemSizes> FolderItemSizes(int nFolder);
    BOOL IsEditing();
    void TrackFolder(int nIndex);
    void TrackItem(int nIndex, const CRect& rcInside);
    void TrackArrow(int nHit, const CRect& rcInside);
    BOOL ScrollStep(int nHit);
    void MoveItem(int nFrom, int nTo);
    void PlaceArrows(const CRect& rcInside);

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLargeIcons();
    afx_msg void OnUpdateLargeIcons(CCmdUI* pCmdUI);
    afx_msg void OnSmallIcons();
    afx_msg void OnUpdateSmallIcons(CCmdUI* pCmdUI);
    afx_msg void OnRemove();
    afx_msg void OnUpdateRemove(CCmdUI* pCmdUI);
    afx_msg void OnRename();
    afx_msg void OnUpdateRename(CCmdUI* pCmdUI);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
