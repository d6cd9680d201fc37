// The base of every toolkit bar. On the class library's control bar it adds flat borders and
// grippers painted through a memory DC, a style word of its own (the toolkit bar style), a
// right-click menu that lists the frame's bars (or shows a menu resource of the caller's choice),
// three small fonts, the private messages of rebars and docking contexts, the choice of the
// command-UI target for bars inside dialogs, visibility listeners, and status texts for frames
// without a status bar.
#pragma once

#include <afxext.h>
#include <afxcmn.h>
#include <afxcoll.h>
#include <afxtempl.h>
#include <commctrl.h>

#include <stdint.h>

class CTkWndHook;

// Toolkit bar style bits (GetTkBarStyle).
#define TKCBRS_CAPTION_BUTTONS 0x0001 // a docked docking window shows caption buttons (0x1000/0x2000)
#define TKCBRS_DOUBLE_GRIPPER 0x0004  // the gripper is two raised bars
#define TKCBRS_FLAT_TRACKERS 0x0040   // (dock bar copy) trackers drawn flat, dragged white
#define TKCBRS_KEEP_BORDERS 0x0080    // (dock bar copy) borders of ordinary bars left alone
#define TKCBRS_JUST_DOCKED 0x0800     // the next row sizing starts from this docking window
#define TKCBRS_HIDE_BUTTON 0x1000
#define TKCBRS_EXPAND_BUTTON 0x2000
#define TKCBRS_NO_DRAG 0x4000
#define TKCBRS_DEFAULT 0x3003

// Private messages of the toolkit that bars answer.
#define TKWM_ADDREBAR 0x89E0          // wParam horizontal, lParam REBARBANDINFO*
#define TKWM_REBAR_FITBAND 0x89E1     // wParam horizontal, lParam TK_REBAR_FITBAND*
#define TKWM_QUERY_FULLDRAG 0x89E2    // answer: the bar is dragged as a whole window
#define TKWM_QUERY_FLOATOFFSET 0x89E3 // lParam SIZE*: the offset of a floating drag

// The command that opens the customize sheet.
#define TK_ID_CUSTOMIZE 53782

// A band of a rebar together with the rebar's child-size notification.
struct TK_REBAR_FITBAND {
    REBARBANDINFOA* pBandInfo;
    NMREBARCHILDSIZE* pChildSize;
};

// The block docking windows save as their bar position: two values, four sizes and the toolkit
// bar style (44 bytes).
struct TK_BAR_POSITION {
    uint32_t nValue1;
    uint32_t nValue2;
    uint32_t sizes[4][2]; // cx, cy
    uint32_t dwTkStyle;
};
static_assert(sizeof(TK_BAR_POSITION) == 44, "bar position record is 44 bytes");

// Called with the listener and the bar's visibility when a delayed show or hide is asked for.
typedef void (*TKBARVISIBILITYPROC)(void* pListener, BOOL bVisible);

class CTkControlBar : public CControlBar {
    DECLARE_DYNAMIC(CTkControlBar)
protected:
    CTkControlBar();

public:
    ~CTkControlBar() override;

    // Stores the dock style and makes the bar's docking context once; the second form adds
    // dwAddTkStyle to the toolkit bar style.
    void EnableDocking(DWORD dwDockStyle);
    void EnableDocking(DWORD dwDockStyle, DWORD dwAddTkStyle);

    // Listeners of the bar's visibility; a NULL listener is skipped.
    void AddVisibilityListener(TKBARVISIBILITYPROC pfn, void* pListener);
    void RemoveVisibilityListener(TKBARVISIBILITYPROC pfn, void* pListener);

    virtual void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    virtual void SetBorders(LPCRECT lpRect);
    virtual CRect GetBorders() const;
    virtual DWORD GetTkBarStyle() const;
    virtual void SetTkBarStyle(DWORD dwStyle);
    virtual BOOL ModifyTkBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw);
    virtual void SetContextMenuID(UINT nMenuID, int nSubMenu);
    virtual UINT GetContextMenuID() const;
    void DrawGripper(CDC* pDC, const CRect& rect) override;
    void DrawBorders(CDC* pDC, CRect& rect) override;
    virtual BOOL IsLeftDocked() const;
    virtual BOOL IsRightDocked() const;
    virtual BOOL IsTopDocked() const;
    virtual BOOL IsBottomDocked() const;
    virtual BOOL IsHorzDocked() const;
    virtual BOOL IsVertDocked() const;
    virtual BOOL IsUndocked() const;
    virtual COLORREF GetBackgroundColor() const;
    virtual BOOL CanDockToFrame(CFrameWnd* pFrame);
    virtual BOOL OnAddedToRebar(REBARBANDINFOA* pRBBI, BOOL bHorz);
    virtual void OnRebarFitBand(TK_REBAR_FITBAND* pFit, BOOL bHorz);
    virtual BOOL IsFullWindowDrag();
    virtual BOOL GetFloatingDragOffset(LPSIZE lpSize);
    virtual void RehookParentFrame();
    virtual void CreateBarFonts();
    virtual BOOL IsCursorInGripper();
    virtual BOOL ShowBarsContextMenu(CPoint point, CFrameWnd* pFrame);
    virtual void EraseNonClient();
    virtual BOOL IsUpdateTarget(CWnd* pTarget);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DelayShow(BOOL bShow) override;
    void DoPaint(CDC* pDC) override;
    BOOL SetStatusText(INT_PTR nHit) override;

    // The popup of the bars menu is built here; the test of the bars menu reads it.
    BOOL BuildBarsMenu(CMenu& menu, CFrameWnd* pFrame);

    struct VisibilityListener {
        TKBARVISIBILITYPROC pfn;
        void* pListener;
    };
    CArray<VisibilityListener, const VisibilityListener&> m_arrListeners;
    TK_BAR_POSITION m_barPosition; // dwTkStyle is the toolkit bar style
    CFrameWnd* m_pCreationFrame;
    CTkWndHook* m_pFrameHook;
    CObject* m_pOwnedObject;
    int m_nContextSubMenu;
    UINT m_nContextMenuID;
    BYTE m_bInRebar;
    BYTE m_bListed;
    CFont m_fontNormal;
    CFont m_fontVert;
    CFont m_fontBold;
    BYTE m_bDockToFrame;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnAddReBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnReBarFitBand(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnQueryFullDrag(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnQueryFloatOffset(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
