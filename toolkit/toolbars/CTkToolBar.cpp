#include "CTkToolBar.h"

#include "CTkAccelManager.h"

#include <afxpriv.h>

#include "CTkExpButton.h"
#include "CTkMemDC.h"
#include "CTkPainters.h"
#include "CTkGlobalData.h"
#include "CTkImageManager.h"
#include "CTkPopupMenu.h"
#include "CTkToolCmdUI.h"
#include "TkMenuState.h"
#include "TkMessageBox.h"
#include "TkDrawing.h"
#include "TkSysColorBitmap.h"
#include "ToolkitResource.h"

#include <string.h>

#include <vector>

namespace {

const DWORD kBarStyleBits = 0x40FFFF; // the CBRS_ bits of a window style
const DWORD kFlatTransparent = TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
const int kChevronRoom = 13;   // what the chevron adds to the bar's length
const int kChevronLength = 12; // the chevron window's length
const int kComCtl472 = 4 * 65536 + 72;

// The accelerator manager's texts while it serves a frame.
void AccelManagerShortcutText(UINT nCmd, CString& strText)
{
    CTkAccelManager* pManager = CTkAccelManager::Instance();
    if (pManager->m_bActive)
        pManager->GetShortcutText(nCmd, strText);
}

TKSHORTCUTTEXTPROC g_pfnShortcutText = AccelManagerShortcutText;

CString LoadTkString(UINT nID)
{
    char sz[256] = "";
    ::LoadStringA(tkAfxData.hInstance, nID, sz, sizeof(sz));
    return CString(sz);
}

// The command's string resource of the program (up to 255 characters).
CString LoadCommandString(UINT nID)
{
    char sz[256] = "";
    if (::LoadStringA(AfxGetResourceHandle(), nID, sz, sizeof(sz)) == 0 && AfxGetResourceHandle() != AfxGetInstanceHandle())
        ::LoadStringA(AfxGetInstanceHandle(), nID, sz, sizeof(sz));
    return CString(sz);
}

BOOL SameButton(const TBBUTTON& a, const TBBUTTON& b)
{
    // the reserved bytes are padding: never compared
    return a.iBitmap == b.iBitmap && a.idCommand == b.idCommand && a.fsState == b.fsState && a.fsStyle == b.fsStyle &&
           a.dwData == b.dwData && a.iString == b.iString;
}

BOOL IsControlSeparator(const TBBUTTON& b) { return (b.fsStyle & TBSTYLE_SEP) && b.idCommand != 0; }

} // namespace

IMPLEMENT_DYNAMIC(CTkToolBar, CTkControlBar)

BEGIN_MESSAGE_MAP(CTkToolBar, CTkControlBar)
// window
ON_WM_CREATE()
ON_WM_NCCREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_NCCALCSIZE()
ON_WM_NCHITTEST()
ON_WM_WINDOWPOSCHANGING()
ON_WM_SYSCOLORCHANGE()
ON_WM_LBUTTONUP()
// the control's sizes, fonts and text flags
ON_MESSAGE(TB_SETBUTTONSIZE, OnSetButtonSize)
ON_MESSAGE(TB_SETBITMAPSIZE, OnSetBitmapSize)
ON_MESSAGE(WM_SETTINGCHANGE, OnSetFlatStyleMessage)
ON_MESSAGE(WM_SETFONT, OnSetFlatStyleMessage)
ON_MESSAGE(TB_SETDRAWTEXTFLAGS, OnSetDrawTextFlags)
ON_MESSAGE(TKWM_DEFERRED_LAYOUT, OnDeferredLayout)
// notifications of the control
ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
ON_NOTIFY_REFLECT(TBN_DROPDOWN, OnDropDown)
ON_NOTIFY_REFLECT(TBN_HOTITEMCHANGE, OnHotItemChange)
ON_NOTIFY_REFLECT(TBN_BEGINADJUST, OnBeginAdjust)
ON_NOTIFY_REFLECT(TBN_ENDADJUST, OnEndAdjust)
ON_NOTIFY_REFLECT(TBN_GETBUTTONINFOA, OnGetButtonInfo)
ON_NOTIFY_REFLECT(TBN_QUERYDELETE, OnQueryDelete)
ON_NOTIFY_REFLECT(TBN_QUERYINSERT, OnQueryInsert)
ON_NOTIFY_REFLECT(TBN_RESET, OnReset)
ON_NOTIFY_REFLECT(TBN_TOOLBARCHANGE, OnToolBarChange)
ON_NOTIFY_REFLECT(TBN_CUSTHELP, OnCustHelp)
END_MESSAGE_MAP()

CTkToolBar::CTkToolBar()
    : m_bSuppressPaint(0), m_bEmbossDisabled(0), m_bLayoutPending(1), m_nColorPopupID(-1), m_dwDrawTextMask(0),
      m_dwDrawTextFlags(0), m_hRsrcImageWell(NULL), m_hInstImageWell(NULL), m_sizeImage(16, 15), m_sizeButton(23, 22),
      m_hbmImageWell(NULL), m_pColorPopup(NULL), m_pStringMap(NULL), m_listButtons(10), m_mapButtonText(10),
      m_mapHiddenForRoom(10), m_bCaptured(0), m_bCustomizable(0), m_bAdjusting(0), m_bEraseBackground(1), m_bListStyle(0),
      m_bLabels(0), m_bLayoutChanged(0), m_nLayoutSequence(0), m_pDefaultLayout(NULL), m_cbDefaultLayout(0),
      m_pExpButton(NULL), m_pCustomizer(NULL)
{
    m_mapButtonText.InitHashTable(17);
    m_mapHiddenForRoom.InitHashTable(17);
}

CTkToolBar::~CTkToolBar()
{
    // the control goes before the bitmap it shows
    if (m_hWnd != NULL && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    if (m_hbmImageWell != NULL)
        ::DeleteObject(m_hbmImageWell);
    delete m_pColorPopup;
    delete m_pStringMap;
    m_nCount = 0;
    delete[] m_pDefaultLayout;
    m_mapHiddenForRoom.RemoveAll();
    m_mapButtonText.RemoveAll();
    FreeButtonList();
    m_arrPressed.RemoveAll();
    delete m_pExpButton;
}

void CTkToolBar::SetShortcutTextSource(TKSHORTCUTTEXTPROC pfn)
{
    g_pfnShortcutText = pfn != NULL ? pfn : AccelManagerShortcutText;
}

// ---- creation and loading ----------------------------------------------------------------------

BOOL CTkToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, GetBorders(), nID);
}

BOOL CTkToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    SetBorders(&rcBorders);
    m_dwStyle = dwStyle & kBarStyleBits;
    if (nID == AFX_IDW_TOOLBAR)
        m_dwStyle |= CBRS_HIDE_INPLACE;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    DWORD dwWndStyle = (dwStyle & ~kBarStyleBits) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER |
                       CCS_NORESIZE;
    if (!CWnd::Create(TOOLBARCLASSNAMEA, NULL, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    SetSizes(m_sizeButton, m_sizeImage);
    SendMessage(WM_SETFONT, (WPARAM)m_fontNormal.m_hObject);
    CWinApp* pApp = AfxGetApp();
    LPCTSTR pszKey = pApp != NULL && pApp->m_pszRegistryKey != NULL ? pApp->m_pszRegistryKey : "";
    LPCTSTR pszProfile = pApp != NULL && pApp->m_pszProfileName != NULL ? pApp->m_pszProfileName : "";
    m_strStatePath.Format(LoadTkString(IDS_TK_SETTINGS_PATH), pszKey, pszProfile);
    m_strStateName.Format(LoadTkString(IDS_TK_BAR_STATE_NAME), pszProfile, (int)nID);
    return TRUE;
}

BOOL CTkToolBar::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CTkControlBar::PreCreateWindow(cs))
        return FALSE;
    cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return TRUE;
}

BOOL CTkToolBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (lpCreateStruct->hwndParent != NULL)
        CWnd::FromHandle(lpCreateStruct->hwndParent);
    if (!CTkControlBar::OnNcCreate(lpCreateStruct))
        return FALSE;
    if (m_hWndOwner != NULL)
        DefWindowProc(TB_SETPARENT, (WPARAM)m_hWndOwner, 0);
    DefWindowProc(TB_BUTTONSTRUCTSIZE, (WPARAM)sizeof(TBBUTTON), 0);
    return TRUE;
}

int CTkToolBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CTkControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (IsExpandButtonEnabled()) {
        m_pExpButton = new CTkExpButton;
        if (!m_pExpButton->CreateFor(this)) {
            delete m_pExpButton;
            m_pExpButton = NULL;
            return -1;
        }
    }
    // the customization registers its sources here (it arrives with the customizer)
    return 0;
}

void CTkToolBar::OnDestroy()
{
    if (m_bCustomizable) {
        SaveToolBarState();
        m_bCustomizable = 0;
    }
    CTkControlBar::OnDestroy();
}

void CTkToolBar::SetOwner(CWnd* pOwnerWnd)
{
    if (m_hWnd != NULL)
        DefWindowProc(TB_SETPARENT, (WPARAM)pOwnerWnd->GetSafeHwnd(), 0);
    CWnd::SetOwner(pOwnerWnd);
}

BOOL CTkToolBar::LoadToolBar(LPCTSTR lpszResourceName)
{
    if (lpszResourceName == NULL || m_hWnd == NULL)
        return FALSE;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, RT_TOOLBAR);
    if (hRsrc == NULL)
        return FALSE;
    DWORD cbData = ::SizeofResource(hInst, hRsrc);
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const BYTE* pData = hGlobal != NULL ? (const BYTE*)::LockResource(hGlobal) : NULL;
    WORD header[4] = {0, 0, 0, 0};
    if (pData == NULL || cbData < sizeof(header))
        return FALSE;
    memcpy(header, pData, sizeof(header));
    // a resource of another version, or one that counts more ids than it holds, is refused
    // before the bar changes
    if (header[0] != 1 || (cbData - sizeof(header)) / sizeof(WORD) < header[3])
        return FALSE;
    std::vector<UINT> ids(header[3]);
    for (WORD i = 0; i < header[3]; i++) {
        WORD wID = 0;
        memcpy(&wID, pData + sizeof(header) + i * sizeof(WORD), sizeof(WORD));
        ids[i] = wID;
    }
    DWORD dwOldStyle = GetStyle();
    ::SetWindowLongA(m_hWnd, GWL_STYLE, dwOldStyle | kFlatTransparent);
    BOOL bResult = SetButtons(ids.empty() ? NULL : ids.data(), (int)ids.size());
    if (bResult) {
        SetSizes(CSize(header[1] + 7, header[2] + 7), CSize(header[1], header[2]));
        bResult = LoadBitmap(lpszResourceName);
    }
    ::SetWindowLongA(m_hWnd, GWL_STYLE, dwOldStyle);
    if (bResult)
        RebuildButtonList();
    return bResult;
}

BOOL CTkToolBar::LoadBitmap(LPCTSTR lpszResourceName)
{
    // the command pictures for the menus (nothing happens for a bitmap without toolbar resource)
    TkGetImageManager().LoadToolbarImages(lpszResourceName, TRUE, TRUE);
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, (LPCSTR)RT_BITMAP);
    if (hRsrc == NULL)
        return FALSE;
    HBITMAP hbm = TkLoadSysColorBitmap(hInst, hRsrc, FALSE);
    if (hbm == NULL)
        return FALSE;
    if (!SetBitmap(hbm)) {
        ::DeleteObject(hbm);
        return FALSE;
    }
    m_hInstImageWell = hInst;
    m_hRsrcImageWell = hRsrc;
    return TRUE;
}

BOOL CTkToolBar::SetBitmap(HBITMAP hbm)
{
    BITMAP bitmap;
    if (m_hWnd == NULL || hbm == NULL || !::GetObjectA(hbm, sizeof(bitmap), &bitmap) || m_sizeImage.cx <= 0)
        return FALSE;
    int nImages = bitmap.bmWidth / m_sizeImage.cx;
    BOOL bResult;
    if (m_hbmImageWell == NULL) {
        TBADDBITMAP addBitmap;
        addBitmap.hInst = NULL;
        addBitmap.nID = (UINT_PTR)hbm;
        bResult = DefWindowProc(TB_ADDBITMAP, (WPARAM)nImages, (LPARAM)&addBitmap) == 0;
    } else {
        TBREPLACEBITMAP replace;
        replace.hInstOld = NULL;
        replace.nIDOld = (UINT_PTR)m_hbmImageWell;
        replace.hInstNew = NULL;
        replace.nIDNew = (UINT_PTR)hbm;
        replace.nButtons = nImages;
        bResult = (BOOL)DefWindowProc(TB_REPLACEBITMAP, 0, (LPARAM)&replace);
    }
    if (bResult) {
        if (m_hbmImageWell != NULL && m_hbmImageWell != hbm)
            ::DeleteObject(m_hbmImageWell);
        m_hbmImageWell = hbm;
    }
    return bResult;
}

void CTkToolBar::OnSysColorChange()
{
    Default();
    if (m_hInstImageWell != NULL && m_hRsrcImageWell != NULL) {
        HBITMAP hbm = TkLoadSysColorBitmap(m_hInstImageWell, m_hRsrcImageWell, FALSE);
        if (hbm != NULL && !SetBitmap(hbm))
            ::DeleteObject(hbm);
    }
}

void CTkToolBar::SetImageList(HIMAGELIST hImageList, BOOL bNormal)
{
    if (bNormal)
        TkGetImageManager().AddToolbarImageList(this, hImageList, TRUE);
    if (m_hWnd != NULL)
        DefWindowProc(bNormal ? TB_SETIMAGELIST : TB_SETDISABLEDIMAGELIST, 0, (LPARAM)hImageList);
}

void CTkToolBar::SetSizes(CSize sizeButton, CSize sizeImage)
{
    if (m_hWnd == NULL) {
        m_sizeButton = sizeButton;
        m_sizeImage = sizeImage;
        return;
    }
    if (tkAfxData.bFlatLook && (GetStyle() & TBSTYLE_LIST)) {
        sizeButton.cx -= 4;
        DefWindowProc(TB_SETPADDING, 0, MAKELPARAM(3, 7));
    }
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
    m_bLayoutPending = TRUE;
    Invalidate();
}

LRESULT CTkToolBar::DefWithFlatStyle(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (tkAfxData.nComCtlVersion < kComCtl472)
        return DefWindowProc(message, wParam, lParam);
    DWORD dwStyle = GetStyle();
    ::SetWindowLongA(m_hWnd, GWL_STYLE, dwStyle | kFlatTransparent);
    LRESULT lResult = DefWindowProc(message, wParam, lParam);
    ::SetWindowLongA(m_hWnd, GWL_STYLE, dwStyle);
    return lResult;
}

LRESULT CTkToolBar::OnSetButtonSize(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = DefWithFlatStyle(TB_SETBUTTONSIZE, wParam, lParam);
    if (lResult)
        m_sizeButton = CSize(LOWORD(lParam), HIWORD(lParam));
    return lResult;
}

LRESULT CTkToolBar::OnSetBitmapSize(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = DefWithFlatStyle(TB_SETBITMAPSIZE, wParam, lParam);
    if (lResult)
        m_sizeImage = CSize(LOWORD(lParam), HIWORD(lParam));
    return lResult;
}

LRESULT CTkToolBar::OnSetFlatStyleMessage(WPARAM wParam, LPARAM lParam)
{
    return DefWithFlatStyle(GetCurrentMessage()->message, wParam, lParam);
}

LRESULT CTkToolBar::OnSetDrawTextFlags(WPARAM wParam, LPARAM lParam)
{
    m_dwDrawTextMask = (DWORD)wParam;
    m_dwDrawTextFlags = (DWORD)lParam;
    return Default();
}

// ---- buttons -----------------------------------------------------------------------------------

int CTkToolBar::GetButtonCount() const
{
    return m_hWnd != NULL ? (int)const_cast<CTkToolBar*>(this)->DefWindowProc(TB_BUTTONCOUNT, 0, 0) : 0;
}

BOOL CTkToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    if (m_hWnd == NULL || nIDCount < 0)
        return FALSE;
    for (int nCount = GetButtonCount(); nCount > 0; nCount--)
        DefWindowProc(TB_DELETEBUTTON, 0, 0);
    BOOL bNarrowSeparators = (GetStyle() & TBSTYLE_FLAT) || tkAfxData.nComCtlVersion == kComCtl472;
    TBBUTTON button;
    memset(&button, 0, sizeof(button));
    button.iString = -1;
    int iImage = 0;
    for (int i = 0; i < nIDCount; i++) {
        button.fsState = TBSTATE_ENABLED;
        if (lpIDArray == NULL) {
            button.fsStyle = TBSTYLE_BUTTON;
            button.idCommand = 0;
            button.iBitmap = 0;
        } else if ((button.idCommand = (int)lpIDArray[i]) == 0) {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = bNarrowSeparators ? 6 : 8;
        } else {
            button.fsStyle = TBSTYLE_BUTTON;
            button.iBitmap = iImage++;
        }
        if (!DefWindowProc(TB_ADDBUTTONSA, 1, (LPARAM)&button))
            return FALSE;
    }
    m_nCount = GetButtonCount();
    m_bLayoutPending = TRUE;
    ShowAllHiddenButtons();
    return TRUE;
}

void CTkToolBar::GetButton(int nIndex, TBBUTTON* pButton) const
{
    memset(pButton, 0, sizeof(*pButton));
    const_cast<CTkToolBar*>(this)->DefWindowProc(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)pButton);
    pButton->fsState ^= TBSTATE_ENABLED;
}

void CTkToolBar::SetButton(int nIndex, TBBUTTON* pButton)
{
    if (nIndex == -1)
        return;
    TBBUTTON old;
    GetButton(nIndex, &old);
    TBBUTTON button = *pButton;
    memset(button.bReserved, 0, sizeof(button.bReserved));
    if (SameButton(old, button))
        return;

    // the control redraws itself for every change while visible
    DWORD dwStyle = GetStyle();
    if (dwStyle & WS_VISIBLE)
        ::SetWindowLongA(m_hWnd, GWL_STYLE, dwStyle & ~WS_VISIBLE);
    button.fsState ^= TBSTATE_ENABLED;
    DefWindowProc(TB_DELETEBUTTON, (WPARAM)nIndex, 0);
    DefWindowProc(TB_INSERTBUTTONA, (WPARAM)nIndex, (LPARAM)&button);
    button.fsState ^= TBSTATE_ENABLED;
    if (dwStyle & WS_VISIBLE)
        ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) | WS_VISIBLE);

    // a control over its separator follows the separator's hidden bit at once
    if (IsControlSeparator(button) && ((old.fsState ^ button.fsState) & TBSTATE_HIDDEN)) {
        TK_BUTTONDESC* pDesc = FindDescByCommand((UINT)button.idCommand);
        CWnd* pControl = pDesc != NULL ? pDesc->pControl : NULL;
        if (pControl != NULL && pControl->m_hWnd != NULL) {
            if (button.fsState & TBSTATE_HIDDEN) {
                pControl->ShowWindow(SW_HIDE);
            } else {
                CRect rect;
                DefWindowProc(TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rect);
                pControl->SetWindowPos(NULL, rect.left, rect.top, 0, 0,
                                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            }
        }
        m_bLayoutPending = TRUE;
    }

    BOOL bSepChanged = (old.fsStyle & TBSTYLE_SEP) != (button.fsStyle & TBSTYLE_SEP);
    BOOL bWidthChanged = (button.fsStyle & TBSTYLE_SEP) && old.iBitmap != button.iBitmap;
    if (!bSepChanged && !bWidthChanged) {
        CRect rect;
        if (DefWindowProc(TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rect))
            InvalidateRect(&rect);
    } else {
        Invalidate();
    }
}

int CTkToolBar::CommandToIndex(UINT nIDFind) const
{
    return (int)const_cast<CTkToolBar*>(this)->DefWindowProc(TB_COMMANDTOINDEX, nIDFind, 0);
}

UINT CTkToolBar::GetItemID(int nIndex) const
{
    TBBUTTON button;
    memset(&button, 0, sizeof(button));
    if (!const_cast<CTkToolBar*>(this)->DefWindowProc(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button))
        return 0;
    return (UINT)button.idCommand;
}

void CTkToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    CTkToolBar* pThis = const_cast<CTkToolBar*>(this);
    if (m_bLayoutPending)
        pThis->Layout();
    if (!pThis->DefWindowProc(TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect))
        ::SetRectEmpty(lpRect);
}

UINT CTkToolBar::GetButtonStyle(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetButtonCount())
        return 0;
    TBBUTTON button;
    GetButton(nIndex, &button);
    return MAKELONG(button.fsStyle, button.fsState);
}

void CTkToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= GetButtonCount())
        return;
    TBBUTTON button;
    GetButton(nIndex, &button);
    if (button.fsStyle == (BYTE)LOWORD(nStyle) && button.fsState == (BYTE)HIWORD(nStyle))
        return;
    button.fsStyle = (BYTE)LOWORD(nStyle);
    button.fsState = (BYTE)HIWORD(nStyle);
    SetButton(nIndex, &button);
    m_bLayoutPending = TRUE;
}

void CTkToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    if (nIndex < 0 || nIndex >= GetButtonCount())
        return;
    TBBUTTON button;
    GetButton(nIndex, &button);
    TBBUTTON changed = button;
    changed.idCommand = (int)nID;
    changed.fsStyle = (BYTE)LOWORD(nStyle);
    changed.fsState = (BYTE)HIWORD(nStyle);
    changed.iBitmap = iImage;
    if (SameButton(button, changed))
        return;
    SetButton(nIndex, &changed);
    m_bLayoutPending = TRUE;
}

int CTkToolBar::AddString(LPCTSTR lpszText, UINT nCmd)
{
    void* pValue = NULL;
    if (m_pStringMap != NULL && m_pStringMap->Lookup(lpszText, pValue))
        return (int)(INT_PTR)pValue;
    // the control takes a list of strings ending with two zeros
    size_t cch = strlen(lpszText);
    std::vector<char> buffer(cch + 2, 0);
    memcpy(buffer.data(), lpszText, cch);
    int nIndex = (int)DefWindowProc(TB_ADDSTRINGA, 0, (LPARAM)buffer.data());
    if (nIndex == -1)
        return -1;
    if (m_pStringMap == NULL)
        m_pStringMap = new CMapStringToPtr(10);
    m_pStringMap->SetAt(lpszText, (void*)(INT_PTR)nIndex);
    m_mapButtonText.SetAt(nCmd, lpszText);
    return nIndex;
}

BOOL CTkToolBar::SetButtonText(int nIndex, LPCTSTR lpszText)
{
    int nString = AddString(lpszText, GetItemID(nIndex));
    TBBUTTON button;
    GetButton(nIndex, &button);
    if (button.iString != nString) {
        button.iString = nString;
        SetButton(nIndex, &button);
        PostDeferredLayout();
    }
    return TRUE;
}

CString CTkToolBar::GetButtonText(int nIndex) const
{
    TBBUTTON button;
    GetButton(nIndex, &button);
    if (m_pStringMap != NULL) {
        POSITION pos = m_pStringMap->GetStartPosition();
        while (pos != NULL) {
            CString strKey;
            void* pValue = NULL;
            m_pStringMap->GetNextAssoc(pos, strKey, pValue);
            if ((INT_PTR)pValue == button.iString)
                return strKey;
        }
    }
    return CString();
}

void CTkToolBar::FreeButtonList()
{
    while (!m_listButtons.IsEmpty()) {
        TK_BUTTONDESC* pDesc = m_listButtons.RemoveHead();
        if (pDesc->bOwnsDropDown)
            delete pDesc->pDropDown;
        delete pDesc;
    }
}

void CTkToolBar::RebuildButtonList()
{
    FreeButtonList();
    int nCount = GetButtonCount();
    for (int i = 0; i < nCount; i++) {
        TK_BUTTONDESC* pDesc = new TK_BUTTONDESC;
        memset(pDesc, 0, sizeof(*pDesc));
        GetButton(i, &pDesc->button);
        pDesc->bHidden = DefWindowProc(TB_ISBUTTONHIDDEN, (WPARAM)pDesc->button.idCommand, 0) != 0;
        m_listButtons.AddTail(pDesc);
    }
}

TK_BUTTONDESC* CTkToolBar::FindDescByCommand(UINT nID) const
{
    POSITION pos = m_listButtons.GetHeadPosition();
    while (pos != NULL) {
        TK_BUTTONDESC* pDesc = m_listButtons.GetNext(pos);
        if ((UINT)pDesc->button.idCommand == nID)
            return pDesc;
    }
    return NULL;
}

TK_BUTTONDESC* CTkToolBar::DescAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= (int)m_listButtons.GetCount())
        return NULL;
    return m_listButtons.GetAt(m_listButtons.FindIndex(nIndex));
}

// ---- drop-down buttons -------------------------------------------------------------------------

TK_DROPDOWN* CTkToolBar::AddDropDownButton(UINT nID, BOOL bArrow)
{
    TK_DROPDOWN* pRecord = FindDropDownButton(nID);
    if (pRecord == NULL) {
        TK_BUTTONDESC* pDesc = FindDescByCommand(nID);
        if (pDesc == NULL)
            return NULL;
        pRecord = new TK_DROPDOWN;
        memset(pRecord, 0, sizeof(*pRecord));
        pRecord->clrDefault = CLR_DEFAULT;
        pRecord->clrCurrent = CLR_DEFAULT;
        pRecord->bArrow = bArrow ? 1 : 0;
        if (pDesc->bOwnsDropDown)
            delete pDesc->pDropDown;
        pDesc->pDropDown = pRecord;
        pDesc->bOwnsDropDown = 1;
    }
    if (bArrow)
        DefWindowProc(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    int nIndex = CommandToIndex(nID);
    if (nIndex >= 0)
        SetButtonStyle(nIndex, GetButtonStyle(nIndex) | TBSTYLE_DROPDOWN);
    pRecord->nCommandID = nID;
    return pRecord;
}

TK_DROPDOWN* CTkToolBar::FindDropDownButton(UINT nID) const
{
    POSITION pos = m_listButtons.GetHeadPosition();
    while (pos != NULL) {
        TK_BUTTONDESC* pDesc = m_listButtons.GetNext(pos);
        if (pDesc->pDropDown != NULL && pDesc->pDropDown->nCommandID == nID)
            return pDesc->pDropDown;
    }
    return NULL;
}

void CTkToolBar::SetDropButtonPressed(int nIndex, BOOL bPressed)
{
    // the list stays sorted and holds each index once
    INT_PTR nLow = 0, nHigh = m_arrPressed.GetSize();
    while (nLow < nHigh) {
        INT_PTR nMid = (nLow + nHigh) / 2;
        if ((int)m_arrPressed[nMid] < nIndex)
            nLow = nMid + 1;
        else
            nHigh = nMid;
    }
    BOOL bFound = nLow < m_arrPressed.GetSize() && (int)m_arrPressed[nLow] == nIndex;
    if (bPressed && !bFound)
        m_arrPressed.InsertAt(nLow, (DWORD)nIndex);
    else if (!bPressed && bFound)
        m_arrPressed.RemoveAt(nLow);
}

BOOL CTkToolBar::IsDropButtonPressed(int nIndex) const
{
    INT_PTR nLow = 0, nHigh = m_arrPressed.GetSize() - 1;
    while (nLow <= nHigh) {
        INT_PTR nMid = (nLow + nHigh) / 2;
        int nValue = (int)m_arrPressed[nMid];
        if (nValue == nIndex)
            return TRUE;
        if (nValue < nIndex)
            nLow = nMid + 1;
        else
            nHigh = nMid - 1;
    }
    return FALSE;
}

void CTkToolBar::OnDropDown(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTOOLBARA* pNMTB = (NMTOOLBARA*)pNMHDR;
    *pResult = TBDDRET_DEFAULT;
    if (m_hWnd == NULL)
        return;
    UINT nID = (UINT)pNMTB->iItem;
    CRect rect;
    DefWindowProc(TB_GETRECT, (WPARAM)nID, (LPARAM)&rect);
    ClientToScreen(&rect);
    if (m_nColorPopupID != -1 && (UINT)m_nColorPopupID == nID)
        return;
    CRect rectInvalid = rect;
    ScreenToClient(&rectInvalid);
    rectInvalid.InflateRect(4, 4);
    InvalidateRect(&rectInvalid);
    OnDropDownButton(pNMTB, nID, rect);
}

void CTkToolBar::OnDropDownButton(NMTOOLBARA* pNMTB, UINT nID, CRect rect)
{
    int nIndex = CommandToIndex(nID);
    TK_DROPDOWN* pRecord = FindDropDownButton(nID);
    // a second press while its drop-down is open does nothing
    if (IsDropButtonPressed(nIndex))
        return;
    SetDropButtonPressed(nIndex, TRUE);
    tkMenuState.rcTrackButton = rect;
    tkMenuState.nTrackButtonSide = CBRS_ALIGN_TOP;
    CWnd* pOwner = GetOwner();
    if (pOwner == NULL)
        pOwner = GetParent();
    auto release = [&]() {
        CRect rectButton;
        if (DefWindowProc(TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rectButton))
            InvalidateRect(&rectButton);
        SetDropButtonPressed(nIndex, FALSE);
    };

    if (pRecord != NULL && pRecord->nMenuID != 0) {
        CTkPopupMenu menu;
        if (menu.LoadMenu(LOWORD(pRecord->nMenuID))) {
            CTkPopupMenu* pPopup = menu.GetSubMenu(0);
            CRect rectExclude = rect;
            if (tkAfxData.bFlatLook)
                rectExclude.InflateRect(0, 1);
            if (pPopup != NULL)
                pPopup->TrackPopupMenu(TPM_VERTICAL, rect.left, rect.bottom, pOwner, &rectExclude, TRUE);
        }
        release();
        Invalidate();
    } else if (pRecord != NULL && (pRecord->bCustomizePopup || pRecord->bColorPopup)) {
        // the customization's popup and the colour popup arrive with their classes
        release();
    } else {
        // a record without menu or popup, or a drop-down style without record: the owner decides
        LRESULT lAnswer = pOwner != NULL ? pOwner->SendMessage(TKWM_DROPDOWN, (WPARAM)pNMTB, (LPARAM)&rect) : 0;
        if (lAnswer == 0)
            release();
        if (::GetKeyState(VK_LBUTTON) < 0) {
            SetCapture();
            m_bCaptured = 1;
        }
    }
    ::SetRectEmpty(&tkMenuState.rcTrackButton);
    tkMenuState.nTrackButtonSide = 0;
    RedrawWindow(NULL, NULL, RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
}

void CTkToolBar::OnLButtonUp(UINT, CPoint)
{
    if (m_bCaptured) {
        m_bCaptured = 0;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        RedrawWindow(NULL, NULL, RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
    }
    Default();
}

// ---- attached controls -------------------------------------------------------------------------

BOOL CTkToolBar::AttachControl(CWnd* pCtrl, BOOL bBoldFont)
{
    TK_BUTTONDESC* pDesc = FindDescByCommand((UINT)pCtrl->GetDlgCtrlID());
    if (pDesc != NULL) {
        pDesc->pControl = pCtrl;
        pDesc->bBoldFont = bBoldFont ? 1 : 0;
    }
    pCtrl->SendMessage(WM_SETFONT, (WPARAM)(bBoldFont ? m_fontBold.m_hObject : m_fontNormal.m_hObject));
    PositionControl(pCtrl);
    return TRUE;
}

void CTkToolBar::PositionControl(CWnd* pCtrl)
{
    UINT nID = (UINT)pCtrl->GetDlgCtrlID();
    if (DefWindowProc(TB_ISBUTTONHIDDEN, nID, 0)) {
        pCtrl->ShowWindow(SW_HIDE);
        return;
    }
    pCtrl->ShowWindow(SW_SHOWNOACTIVATE);
    int nIndex = CommandToIndex(nID);
    if (nIndex < 0)
        return;
    CRect rectCtrl;
    pCtrl->GetWindowRect(&rectCtrl);
    ScreenToClient(&rectCtrl);
    SetButtonInfo(nIndex, nID, GetButtonStyle(nIndex) | TBSTYLE_SEP, rectCtrl.Width());
    CRect rectItem;
    GetItemRect(nIndex, &rectItem);
    if (rectCtrl != rectItem) {
        pCtrl->SetWindowPos(NULL, rectItem.left, rectItem.top, 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        if (rectCtrl.Height() != rectItem.Height()) {
            int y = rectItem.top + (rectItem.Height() - rectCtrl.Height()) / 2;
            pCtrl->SetWindowPos(NULL, rectItem.left, y < 0 ? 0 : y, 0, 0,
                                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        }
    }
}

void CTkToolBar::PositionControls()
{
    POSITION pos = m_listButtons.GetHeadPosition();
    while (pos != NULL) {
        TK_BUTTONDESC* pDesc = m_listButtons.GetNext(pos);
        if (pDesc->pControl != NULL && pDesc->pControl->m_hWnd != NULL)
            PositionControl(pDesc->pControl);
    }
    CWnd* pParent = GetParent();
    if (pParent != NULL && pParent->IsFrameWnd())
        ((CFrameWnd*)pParent)->RecalcLayout();
    UpdateControlButtons();
}

void CTkToolBar::UpdateControlButtons()
{
    if (!(GetStyle() & TBSTYLE_LIST)) {
        DefWindowProc(TB_AUTOSIZE, 0, 0);
        return;
    }
    int nCount = GetButtonCount();
    for (int i = 0; i < nCount; i++) {
        TBBUTTON button;
        GetButton(i, &button);
        TK_BUTTONDESC* pDesc = FindDescByCommand((UINT)button.idCommand);
        if (pDesc != NULL && pDesc->pControl != NULL && pDesc->pControl->m_hWnd != NULL) {
            CRect rectItem, rectCtrl;
            DefWindowProc(TB_GETITEMRECT, (WPARAM)i, (LPARAM)&rectItem);
            pDesc->pControl->GetWindowRect(&rectCtrl);
            ScreenToClient(&rectCtrl);
            if (rectCtrl.TopLeft() != rectItem.TopLeft() || pDesc->pControl->IsWindowVisible())
                pDesc->pControl->SetWindowPos(NULL, rectItem.left, rectItem.top, 0, 0,
                                              SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else if (!(button.fsStyle & TBSTYLE_SEP) && !(button.fsStyle & BTNS_AUTOSIZE)) {
            button.fsStyle |= BTNS_AUTOSIZE;
            SetButton(i, &button);
        }
    }
}

// ---- layout ------------------------------------------------------------------------------------

CSize CTkToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CalcLayout((bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0), -1);
}

CSize CTkToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
    if (nLength == 0 && dwMode == (LM_HORZ | LM_MRUWIDTH | LM_COMMIT))
        m_bLayoutPending = TRUE;
    return CalcLayout(dwMode, nLength);
}

void CTkToolBar::Layout()
{
    m_bLayoutPending = FALSE;
    if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
        CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    else if (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM))
        CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    else
        CalcDynamicLayout(0, LM_VERTDOCK | LM_COMMIT);
}

CSize CTkToolBar::GetButtonSize(TBBUTTON* pData, int nIndex)
{
    CRect rect(0, 0, 0, 0);
    DefWindowProc(TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rect);
    CSize size = rect.Size();
    if (pData[nIndex].fsStyle & TBSTYLE_SEP) {
        // a separator the control wrapped may span its row: its own width then
        TBBUTTON button;
        memset(&button, 0, sizeof(button));
        DefWindowProc(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button);
        if ((button.fsState & TBSTATE_WRAP) || size.cx <= 0)
            size.cx = pData[nIndex].iBitmap;
        if (pData[nIndex].fsState & TBSTATE_WRAP)
            return CSize(0, size.cx);
    }
    return size;
}

CSize CTkToolBar::CalcSize(TBBUTTON* pData, int nCount)
{
    CSize sizeResult(0, 0);
    if (nCount <= 0) {
        sizeResult = CSize(m_sizeButton.cx < 22 ? 22 : m_sizeButton.cx, m_sizeButton.cy < 22 ? 22 : m_sizeButton.cy);
    } else {
        int x = 0, yRow = 0, cyRow = 0;
        for (int i = 0; i < nCount; i++) {
            if (pData[i].fsState & TBSTATE_HIDDEN)
                continue;
            CSize size = GetButtonSize(pData, i);
            BOOL bWrappedSep = (pData[i].fsStyle & TBSTYLE_SEP) && (pData[i].fsState & TBSTATE_WRAP);
            if (!bWrappedSep) {
                if (size.cy > cyRow)
                    cyRow = size.cy;
                x += size.cx;
                if (x > sizeResult.cx)
                    sizeResult.cx = x;
                if (yRow + cyRow > sizeResult.cy)
                    sizeResult.cy = yRow + cyRow;
            }
            if (pData[i].fsState & TBSTATE_WRAP) {
                yRow += cyRow;
                if (bWrappedSep)
                    yRow += size.cy;
                x = 0;
                cyRow = 0;
            }
        }
    }
    if (IsExpandButtonEnabled() && (m_bCustomizable || HasHiddenButtons()) &&
        (m_bInRebar || !(m_dwStyle & CBRS_FLOATING))) {
        if (IsLayoutHorizontal())
            sizeResult.cx += kChevronRoom;
        else
            sizeResult.cy += kChevronRoom;
    }
    return sizeResult;
}

int CTkToolBar::WrapToolBar(TBBUTTON* pData, int nCount, int nWidth)
{
    for (int i = 0; i < nCount; i++)
        pData[i].fsState &= ~TBSTATE_WRAP;
    int nWraps = 0;
    int x = 0;
    for (int i = 0; i < nCount; i++) {
        if (pData[i].fsState & TBSTATE_HIDDEN)
            continue;
        x += GetButtonSize(pData, i).cx;
        if (x <= nWidth)
            continue;
        // the row ends at a plain separator of this row, else after the previous button that is
        // no control; failing both it goes on
        int nWrap = -1;
        for (int j = i; nWrap < 0 && j >= 0 && !(pData[j].fsState & TBSTATE_WRAP); j--) {
            if ((pData[j].fsStyle & TBSTYLE_SEP) && pData[j].idCommand == 0 && !(pData[j].fsState & TBSTATE_HIDDEN))
                nWrap = j;
        }
        for (int j = i - 1; nWrap < 0 && j >= 0 && !(pData[j].fsState & TBSTATE_WRAP); j--) {
            if (!(pData[j].fsState & TBSTATE_HIDDEN) && !IsControlSeparator(pData[j]))
                nWrap = j;
        }
        if (nWrap < 0)
            continue;
        pData[nWrap].fsState |= TBSTATE_WRAP;
        nWraps++;
        i = nWrap;
        x = 0;
    }
    return nWraps + 1;
}

void CTkToolBar::SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert)
{
    if (!bVert) {
        int nMax = nLength;
        int nTarget = WrapToolBar(pData, nCount, nMax);
        int nMin = 0;
        int nCurrent = WrapToolBar(pData, nCount, nMin);
        if (nCurrent != nTarget) {
            while (nMin < nMax) {
                int nMid = (nMin + nMax) / 2;
                nCurrent = WrapToolBar(pData, nCount, nMid);
                if (nCurrent == nTarget) {
                    nMax = nMid;
                } else {
                    if (nMin == nMid) {
                        WrapToolBar(pData, nCount, nMax);
                        break;
                    }
                    nMin = nMid;
                }
            }
        }
        CSize size = CalcSize(pData, nCount);
        WrapToolBar(pData, nCount, size.cx);
        return;
    }
    WrapToolBar(pData, nCount, 0);
    CSize sizeMin = CalcSize(pData, nCount);
    WrapToolBar(pData, nCount, 32767);
    CSize sizeMax = CalcSize(pData, nCount);
    while (sizeMin.cx < sizeMax.cx) {
        CSize sizeMid;
        sizeMid.cx = (sizeMin.cx + sizeMax.cx) / 2;
        WrapToolBar(pData, nCount, sizeMid.cx);
        sizeMid = CalcSize(pData, nCount);
        if (nLength < sizeMid.cy) {
            if (sizeMin == sizeMid) {
                WrapToolBar(pData, nCount, sizeMax.cx);
                return;
            }
            sizeMin = sizeMid;
        } else if (nLength > sizeMid.cy) {
            if (sizeMax == sizeMid) {
                WrapToolBar(pData, nCount, sizeMax.cx);
                return;
            }
            sizeMax = sizeMid;
        } else {
            return;
        }
    }
}

std::vector<TBBUTTON> CTkToolBar::ReadButtons() const
{
    std::vector<TBBUTTON> buttons((size_t)GetButtonCount());
    for (int i = 0; i < (int)buttons.size(); i++)
        GetButton(i, &buttons[(size_t)i]);
    return buttons;
}

CSize CTkToolBar::InsetSize(BOOL bHorz) const
{
    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, bHorz);
    return CSize(-rect.Width(), -rect.Height());
}

CSize CTkToolBar::CalcLayout(DWORD dwMode, int nLength)
{
    std::vector<TBBUTTON> buttons = ReadButtons();
    int nCount = (int)buttons.size();
    buttons.resize(buttons.size() + 1);
    TBBUTTON* pData = buttons.data();

    if (!((m_dwStyle & CBRS_SIZE_FIXED) && nCount > 0)) {
        BOOL bDynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
        if (!bDynamic)
            SizeToolBar(pData, nCount, (dwMode & LM_HORZ) ? 32767 : 0);
        else if (dwMode & LM_MRUWIDTH)
            SizeToolBar(pData, nCount, (int)m_nMRUWidth);
        else if (dwMode & LM_HORZDOCK)
            SizeToolBar(pData, nCount, 32767);
        else if (dwMode & LM_VERTDOCK)
            SizeToolBar(pData, nCount, 0);
        else if (nLength == -1)
            SizeToolBar(pData, nCount,
                        (m_dwStyle & CBRS_FLOATING) ? (int)m_nMRUWidth : ((dwMode & LM_HORZ) ? 32767 : 0));
        else {
            BOOL bVert = (dwMode & LM_LENGTHY) != 0;
            CSize inset = InsetSize((dwMode & LM_HORZ) != 0);
            SizeToolBar(pData, nCount, nLength - (bVert ? inset.cy : inset.cx), bVert);
        }
    }
    CSize sizeResult = CalcSize(pData, nCount);

    if ((dwMode & LM_COMMIT) && m_hWnd != NULL) {
        struct ControlPos {
            int nIndex;
            HWND hWnd;
            CRect rectOld;
        };
        std::vector<ControlPos> controls;
        int bPending = m_bLayoutPending;
        m_bLayoutPending = FALSE;
        for (int i = 0; i < nCount; i++) {
            if (IsControlSeparator(pData[i]) && !(pData[i].fsState & TBSTATE_HIDDEN)) {
                HWND hWndCtrl = ::GetDlgItem(m_hWnd, pData[i].idCommand);
                if (hWndCtrl == NULL)
                    continue;
                ControlPos pos = {i, hWndCtrl, CRect(0, 0, 0, 0)};
                DefWindowProc(TB_GETITEMRECT, (WPARAM)i, (LPARAM)&pos.rectOld);
                ClientToScreen(&pos.rectOld);
                controls.push_back(pos);
            }
        }
        if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
            m_nMRUWidth = (UINT)sizeResult.cx;
        for (int i = 0; i < nCount; i++)
            SetButton(i, &pData[i]);
        for (const ControlPos& pos : controls) {
            CRect rectCtrl;
            ::GetWindowRect(pos.hWnd, &rectCtrl);
            CRect rectNew;
            DefWindowProc(TB_GETITEMRECT, (WPARAM)pos.nIndex, (LPARAM)&rectNew);
            ClientToScreen(&rectNew);
            CPoint pt = rectCtrl.TopLeft() + (rectNew.TopLeft() - pos.rectOld.TopLeft());
            ::ScreenToClient(m_hWnd, &pt);
            ::SetWindowPos(pos.hWnd, NULL, pt.x, pt.y, 0, 0, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
        }
        // the chevron: hidden while floating or with nothing to offer, else as thick as the bar
        BOOL bChevronChanged = FALSE;
        if (m_pExpButton != NULL && m_pExpButton->m_hWnd != NULL) {
            BOOL bVisible = m_pExpButton->IsWindowVisible();
            if ((m_dwStyle & CBRS_FLOATING) || (!m_bCustomizable && !HasHiddenButtons())) {
                if (bVisible) {
                    m_pExpButton->ShowWindow(SW_HIDE);
                    bChevronChanged = TRUE;
                }
            } else {
                CSize sizeChevron = IsLayoutHorizontal() ? CSize(kChevronLength, sizeResult.cy - 2)
                                                         : CSize(sizeResult.cx - 2, kChevronLength);
                CRect rectChevron;
                m_pExpButton->GetWindowRect(&rectChevron);
                if (rectChevron.Size() != sizeChevron || !bVisible) {
                    m_pExpButton->SetWindowPos(NULL, 0, 0, sizeChevron.cx, sizeChevron.cy,
                                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
                    bChevronChanged = TRUE;
                }
            }
        }
        m_bLayoutPending = bPending;
        if (bChevronChanged)
            PostMessage(WM_IDLEUPDATECMDUI, TRUE);
    }

    sizeResult += InsetSize((dwMode & LM_HORZ) != 0);
    CSize sizeBase = CControlBar::CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
    if (sizeResult.cx < sizeBase.cx)
        sizeResult.cx = sizeBase.cx;
    if (sizeResult.cy < sizeBase.cy)
        sizeResult.cy = sizeBase.cy;
    return sizeResult;
}

BOOL CTkToolBar::IsExpandButtonEnabled() { return TRUE; }

BOOL CTkToolBar::HasHiddenButtons() { return m_mapHiddenForRoom.GetCount() > 0; }

BOOL CTkToolBar::IsLayoutHorizontal()
{
    if (m_bInRebar)
        return TRUE;
    return !((m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) && !(m_dwStyle & CBRS_FLOATING));
}

int CTkToolBar::HideButtonsForRoom(int nLength, int nAvail, BOOL bHorz)
{
    if (m_bAdjusting)
        return nLength;
    PositionExpandButton(nAvail, bHorz);
    int nCount = GetButtonCount();
    int nVisible = 0;
    for (int i = 0; i < nCount; i++) {
        if (!(GetButtonStyle(i) & (TBSTATE_HIDDEN << 16)))
            nVisible++;
    }
    if (nVisible == 0 || (!HasHiddenButtons() && nAvail >= nLength))
        return nLength;
    BOOL bHidden = FALSE;
    for (int i = nCount - 1; i >= 0 && nVisible > 1; i--) {
        TBBUTTON button;
        GetButton(i, &button);
        if (button.fsState & TBSTATE_HIDDEN)
            continue;
        CRect rect(0, 0, 0, 0);
        DefWindowProc(TB_GETITEMRECT, (WPARAM)i, (LPARAM)&rect);
        button.fsState |= TBSTATE_HIDDEN;
        SetButton(i, &button);
        m_mapHiddenForRoom.SetAt(i, rect.Width());
        m_bLayoutPending = TRUE;
        nVisible--;
        bHidden = TRUE;
        CSize size = CalcFixedLayout(FALSE, bHorz);
        if (nAvail - kChevronRoom >= (bHorz ? size.cx : size.cy)) {
            PostDeferredLayout();
            return nLength;
        }
    }
    if (bHidden)
        PostDeferredLayout();
    return nLength;
}

int CTkToolBar::ShowButtonsForRoom(int nLength, int nAvail, BOOL bHorz)
{
    if (!HasHiddenButtons()) {
        PositionExpandButton(nLength, bHorz);
        return nLength;
    }
    PositionExpandButton(nAvail, bHorz);
    int nCount = GetButtonCount();
    int nResult = nLength;
    BOOL bChanged = FALSE;
    BOOL bMeasured = FALSE;
    for (int i = 0; i < nCount; i++) {
        int nWidth = 0;
        if (!m_mapHiddenForRoom.Lookup(i, nWidth))
            continue;
        TBBUTTON button;
        GetButton(i, &button);
        button.fsState &= ~TBSTATE_HIDDEN;
        SetButton(i, &button);
        CSize size = CalcFixedLayout(FALSE, bHorz);
        int nMeasured = bHorz ? size.cx : size.cy;
        if (nMeasured > nAvail) {
            button.fsState |= TBSTATE_HIDDEN;
            SetButton(i, &button);
            nResult = HasHiddenButtons() ? nAvail : nMeasured;
            PositionExpandButton(nResult, bHorz);
            if (bChanged)
                PostDeferredLayout();
            return nResult;
        }
        m_mapHiddenForRoom.RemoveKey(i);
        m_bLayoutPending = TRUE;
        bChanged = TRUE;
        bMeasured = TRUE;
        nResult = nMeasured;
    }
    if (HasHiddenButtons())
        nResult = nAvail;
    else if (!bMeasured)
        nResult = nLength;
    PositionExpandButton(nResult, bHorz);
    if (bChanged)
        PostDeferredLayout();
    return nResult;
}

void CTkToolBar::PositionExpandButton(int nLength, BOOL bHorz)
{
    if (m_pExpButton == NULL || m_pExpButton->m_hWnd == NULL)
        return;
    BOOL bShow = HasHiddenButtons() || m_bCustomizable;
    CSize inset = InsetSize(bHorz);
    // the first visible button stays uncovered
    int nMin = 0;
    std::vector<TBBUTTON> buttons = ReadButtons();
    for (int i = 0; i < (int)buttons.size(); i++) {
        if (buttons[i].fsState & TBSTATE_HIDDEN)
            continue;
        CSize size = GetButtonSize(buttons.data(), i);
        nMin = bHorz ? size.cx : size.cy;
        break;
    }
    CPoint pt;
    if (bHorz) {
        pt = CPoint(m_bInRebar ? nLength - kChevronLength : nLength - inset.cx - kChevronLength, 1);
        if (pt.x < nMin)
            pt.x = nMin;
    } else {
        pt = CPoint(1, nLength - inset.cy - kChevronLength);
        if (pt.y < nMin)
            pt.y = nMin;
    }
    CRect rect;
    m_pExpButton->GetWindowRect(&rect);
    ScreenToClient(&rect);
    BOOL bVisible = m_pExpButton->IsWindowVisible();
    if (rect.TopLeft() != pt || bVisible != bShow) {
        m_pExpButton->SetWindowPos(NULL, pt.x, pt.y, 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                       (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        m_pExpButton->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

CSize CTkToolBar::GetMinimumSize()
{
    BOOL bHorz = IsLayoutHorizontal();
    std::vector<TBBUTTON> buttons = ReadButtons();
    for (int i = 0; i < (int)buttons.size(); i++) {
        if (buttons[i].fsState & TBSTATE_HIDDEN)
            continue;
        CSize size = GetButtonSize(buttons.data(), i);
        size += InsetSize(bHorz);
        if (bHorz)
            size.cx += kChevronRoom;
        else
            size.cy += kChevronRoom;
        return size;
    }
    return CSize(0, 0);
}

void CTkToolBar::ShowAllHiddenButtons()
{
    POSITION pos = m_mapHiddenForRoom.GetStartPosition();
    while (pos != NULL) {
        int nIndex = 0, nWidth = 0;
        m_mapHiddenForRoom.GetNextAssoc(pos, nIndex, nWidth);
        if (nIndex < GetButtonCount()) {
            TBBUTTON button;
            GetButton(nIndex, &button);
            button.fsState &= ~TBSTATE_HIDDEN;
            SetButton(nIndex, &button);
        }
    }
    m_bLayoutPending = TRUE;
    m_mapHiddenForRoom.RemoveAll();
}

void CTkToolBar::PostDeferredLayout()
{
    ++m_nLayoutSequence;
    if (m_hWnd != NULL)
        PostMessage(TKWM_DEFERRED_LAYOUT, 0, (LPARAM)m_nLayoutSequence);
}

LRESULT CTkToolBar::OnDeferredLayout(WPARAM, LPARAM lParam)
{
    if ((int)lParam != m_nLayoutSequence)
        return 0;
    if (m_bLayoutChanged) {
        m_bLayoutChanged = 0;
        CWnd* pParent = GetParent();
        if (pParent != NULL)
            pParent->PostMessage(TKWM_REBAR_SIZECHILD, (WPARAM)m_hWnd, (LPARAM)CalcFixedLayout(FALSE, TRUE).cx);
        PostDeferredLayout();
        return 0;
    }
    if (m_bLayoutPending)
        Layout();
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL) {
        pFrame->RecalcLayout();
        CFrameWnd* pTop = pFrame->GetParentFrame();
        if (pTop != NULL && pTop != pFrame)
            pTop->RecalcLayout();
    }
    PositionControls();
    ++m_nLayoutSequence;
    SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    RedrawWindow(NULL, NULL, RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
    return 0;
}

void CTkToolBar::CommitDocked(DWORD dwExtra)
{
    if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
        CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | dwExtra);
    else if (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM))
        CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | dwExtra);
    else
        CalcDynamicLayout(-1, LM_VERTDOCK | dwExtra);
}

void CTkToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
    if (m_hWnd == NULL)
        return;
    if ((dwOldStyle ^ dwNewStyle) & CBRS_BORDER_ANY)
        SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if ((dwOldStyle ^ dwNewStyle) & ~CBRS_BORDER_ANY)
        m_bLayoutPending = TRUE;
    if (dwOldStyle != dwNewStyle) {
        ShowAllHiddenButtons();
        CommitDocked(LM_COMMIT);
    }
}

BOOL CTkToolBar::OnAddedToRebar(REBARBANDINFOA* pRBBI, BOOL bHorz)
{
    if (m_bCustomizable)
        RestoreToolBarState();
    BOOL bResult = CTkControlBar::OnAddedToRebar(pRBBI, bHorz);
    if (m_pExpButton != NULL) {
        pRBBI->fMask |= RBBIM_IDEALSIZE | RBBIM_SIZE | RBBIM_CHILDSIZE;
        pRBBI->cxIdeal = pRBBI->cxMinChild;
        pRBBI->cx = pRBBI->cxMinChild + 14;
        CSize sizeMin = GetMinimumSize();
        pRBBI->cxMinChild = bHorz ? sizeMin.cx : sizeMin.cy;
    }
    return bResult;
}

void CTkToolBar::OnRebarFitBand(TK_REBAR_FITBAND* pFit, BOOL bHorz)
{
    if (m_pExpButton == NULL || pFit == NULL || pFit->pChildSize == NULL)
        return;
    CSize size = CalcFixedLayout(FALSE, bHorz);
    CRect rectBand(pFit->pChildSize->rcBand);
    int nNeeded = bHorz ? size.cx : size.cy;
    int nAvail = bHorz ? rectBand.Width() : rectBand.Height();
    int nLength = nNeeded > nAvail ? HideButtonsForRoom(nNeeded, nAvail, bHorz)
                                   : ShowButtonsForRoom(nNeeded, nAvail, bHorz);
    CalcLayout(bHorz ? (LM_HORZ | LM_COMMIT) : LM_COMMIT, nLength);
}

// ---- state and docking -------------------------------------------------------------------------

void CTkToolBar::EnableDocking(DWORD dwDockStyle)
{
    if (m_bCustomizable)
        RestoreToolBarState();
    CTkControlBar::EnableDocking(dwDockStyle);
}

void CTkToolBar::SaveToolBarState()
{
    // the layout of a customizable bar is written by the customization (it arrives with it)
}

void CTkToolBar::RestoreToolBarState()
{
    CWnd* pParent = GetParent();
    if (pParent == NULL || !pParent->IsFrameWnd()) {
        ModifyStyle(TBSTYLE_ALTDRAG | CCS_ADJUSTABLE, 0);
    } else if (!m_strStatePath.IsEmpty()) {
        // the saved layout is read by the customization (it arrives with it)
        PostDeferredLayout();
    }
    PositionControls();
}

// ---- the rest of the bar -----------------------------------------------------------------------

COLORREF CTkToolBar::GetBackgroundColor() const
{
    if (tkAfxData.bFlatLook && !m_bInRebar)
        return tkAfxData.clrToolkit[0];
    return tkAfxData.clr3DFace;
}

BOOL CTkToolBar::IsUpdateTarget(CWnd* pTarget)
{
    if (pTarget == NULL)
        return FALSE;
    int nCount = GetButtonCount();
    for (int i = 0; i < nCount; i++) {
        TBBUTTON button;
        GetButton(i, &button);
        if (button.fsStyle & TBSTYLE_SEP)
            continue;
        AFX_CMDHANDLERINFO info;
        info.pTarget = NULL;
        if (pTarget->OnCmdMsg((UINT)button.idCommand, CN_COMMAND, NULL, &info))
            return TRUE;
    }
    return FALSE;
}

void CTkToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CTkToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)GetButtonCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        TBBUTTON button;
        GetButton((int)state.m_nIndex, &button);
        if (button.fsStyle & TBSTYLE_SEP)
            continue;
        state.m_nID = (UINT)button.idCommand;
        if (CWnd::OnCmdMsg(0, MAKELONG(0xFFFF, WM_COMMAND + WM_REFLECT_BASE), &state, NULL))
            continue;
        if (CWnd::OnCmdMsg(state.m_nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL))
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

INT_PTR CTkToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    INT_PTR nHit = CTkControlBar::OnToolHitTest(point, pTI);
    if (nHit != -1)
        return nHit;
    CTkToolBar* pThis = const_cast<CTkToolBar*>(this);
    int nCount = GetButtonCount();
    for (int i = 0; i < nCount; i++) {
        CRect rect;
        if (!pThis->DefWindowProc(TB_GETITEMRECT, (WPARAM)i, (LPARAM)&rect))
            continue;
        rect.right++;
        rect.bottom++;
        TBBUTTON button;
        GetButton(i, &button);
        if (!rect.PtInRect(point) || (button.fsStyle & TBSTYLE_SEP))
            continue;
        UINT nID = (UINT)button.idCommand;
        if (pTI != NULL && pTI->cbSize >= TTTOOLINFOA_V1_SIZE) {
            if (!tkAfxData.bToolBarTips)
                return -1;
            pTI->hwnd = m_hWnd;
            pTI->uId = nID;
            pTI->rect = rect;
            pTI->lpszText = LPSTR_TEXTCALLBACKA;
            if (tkAfxData.bToolBarAccelTips == 1) {
                CString strTip = LoadCommandString(nID);
                int nNewLine = strTip.Find('\n');
                strTip = nNewLine >= 0 ? strTip.Mid(nNewLine + 1) : CString();
                CString strKeys;
                if (g_pfnShortcutText != NULL)
                    g_pfnShortcutText(nID, strKeys);
                if (!strKeys.IsEmpty()) {
                    int nComma = strKeys.Find(',');
                    if (nComma >= 0)
                        strKeys = strKeys.Left(nComma);
                    strTip += " (" + strKeys + ")";
                    // the tooltip control copies the text when the tool is added
                    m_strTipText = strTip;
                    pTI->lpszText = (LPSTR)(LPCSTR)m_strTipText;
                }
            }
        }
        return nID != 0 ? (INT_PTR)nID : -1;
    }
    return -1;
}

LRESULT CTkToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CTkControlBar::WindowProc(message, wParam, lParam);
}

void CTkToolBar::OnPaint() { PaintBar(); }

void CTkToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0);
    lpncsp->rgrc[0].left += rect.left;
    lpncsp->rgrc[0].top += rect.top;
    lpncsp->rgrc[0].right += rect.right;
    lpncsp->rgrc[0].bottom += rect.bottom;
}

LRESULT CTkToolBar::OnNcHitTest(CPoint) { return HTCLIENT; }

void CTkToolBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    DWORD dwStyle = m_dwStyle;
    m_dwStyle &= ~CBRS_BORDER_ANY;
    CTkControlBar::OnWindowPosChanging(lpWndPos);
    m_dwStyle = dwStyle;
    if ((dwStyle & CBRS_SIZE_DYNAMIC) && !(lpWndPos->flags & SWP_NOSIZE))
        Invalidate();
}

// ---- notifications of the control --------------------------------------------------------------

void CTkToolBar::OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTBHOTITEM* pHot = (NMTBHOTITEM*)pNMHDR;
    *pResult = 0;
    if (m_pDockContext != NULL && m_pDockContext->m_bDragging)
        *pResult = 1;
    else if (::GetCapture() == m_hWnd && pHot->idNew != pHot->idOld)
        *pResult = 1;
}

void CTkToolBar::OnBeginAdjust(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (m_pExpButton != NULL) {
        ShowAllHiddenButtons();
        PostDeferredLayout();
    }
    m_bAdjusting = 1;
}

void CTkToolBar::OnEndAdjust(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    m_bAdjusting = 0;
    SaveToolBarState();
}

void CTkToolBar::OnGetButtonInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTOOLBARA* pNMTB = (NMTOOLBARA*)pNMHDR;
    TK_BUTTONDESC* pDesc = DescAt(pNMTB->iItem);
    if (pDesc == NULL) {
        *pResult = FALSE;
        return;
    }
    pNMTB->tbButton = pDesc->button;
    pNMTB->tbButton.fsState ^= TBSTATE_ENABLED; // the control's sense of the bit
    if (pDesc->pControl != NULL && pDesc->pControl->m_hWnd != NULL)
        PositionControl(pDesc->pControl);
    if (!(pDesc->button.fsStyle & TBSTYLE_SEP) && pDesc->button.idCommand > 0) {
        CString strText;
        UINT nID = (UINT)pDesc->button.idCommand;
        if (m_mapButtonText.Lookup(nID, strText)) {
            void* pValue = NULL;
            if (m_pStringMap != NULL && m_pStringMap->Lookup(strText, pValue))
                pDesc->button.iString = (INT_PTR)pValue;
        } else {
            CString strResource = LoadCommandString(nID);
            int nNewLine = strResource.Find('\n');
            if (nNewLine >= 0) {
                strText = strResource.Mid(nNewLine + 1);
                if (strText.IsEmpty())
                    strText = strResource.Left(nNewLine);
            }
        }
        // never more than the notification's buffer holds, always terminated
        if (!strText.IsEmpty() && pNMTB->pszText != NULL && pNMTB->cchText > 0) {
            int cch = strText.GetLength();
            if (cch > pNMTB->cchText - 1)
                cch = pNMTB->cchText - 1;
            memcpy(pNMTB->pszText, (LPCSTR)strText, (size_t)cch);
            pNMTB->pszText[cch] = '\0';
            pNMTB->cchText = cch;
        }
    }
    *pResult = TRUE;
}

void CTkToolBar::OnQueryDelete(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTOOLBARA* pNMTB = (NMTOOLBARA*)pNMHDR;
    *pResult = !((pNMTB->tbButton.fsState & TBSTATE_HIDDEN) && pNMTB->tbButton.idCommand != 0);
}

void CTkToolBar::OnQueryInsert(NMHDR*, LRESULT* pResult) { *pResult = TRUE; }

void CTkToolBar::OnReset(NMHDR*, LRESULT* pResult)
{
    // the question whether to restore the default layout arrives with the layout persistence
    *pResult = TRUE;
}

void CTkToolBar::OnToolBarChange(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    CommitDocked(LM_COMMIT);
    PositionControls();
    SendMessage(WM_IDLEUPDATECMDUI, TRUE);
}

void CTkToolBar::OnCustHelp(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    TkMessageBox(m_hWnd, "Help not implemented!", NULL, MB_OK | MB_ICONINFORMATION);
}

// ---- drawing -----------------------------------------------------------------------------------

BOOL CTkToolBar::IsFlatDrawn() const { return tkAfxData.bFlatLook && !m_bInRebar; }

void CTkToolBar::PaintBar()
{
    if (m_bLayoutPending)
        Layout();
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    CTkMemDC memDC(&dc, rect, tkAfxData.clr3DFace);
    if (IsFlatDrawn())
        memDC.FillSolidRect(&rect, GetBackgroundColor());
    // the control paints into the memory DC, its custom-draw notifications included
    DefWindowProc(WM_PAINT, (WPARAM)memDC.m_hDC, 0);
}

void CTkToolBar::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = CDRF_DODEFAULT;
    if (!(GetStyle() & TBSTYLE_FLAT) || m_bSuppressPaint)
        return;
    NMTBCUSTOMDRAW* pCD = (NMTBCUSTOMDRAW*)pNMHDR;
    CDC* pDC = CDC::FromHandle(pCD->nmcd.hdc);
    switch (pCD->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        m_bEraseBackground = 1;
        *pResult = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        break;
    case CDDS_POSTPAINT: {
        EraseWrapGaps(pDC);
        DrawSeparators(pDC);
        CTkToolBarButtonPainter* pPainter = TkGetPainters()->GetToolBarButtonPainter();
        if (pPainter != NULL) {
            for (int i = 0; i < m_arrPressed.GetSize(); i++)
                pPainter->OnDropDownClosed(pDC, this, (int)m_arrPressed[i]);
        }
        break;
    }
    case CDDS_ITEMPREPAINT:
        if (DrawButton(pDC, pCD))
            *pResult = CDRF_SKIPDEFAULT;
        break;
    default:
        break;
    }
}

BOOL CTkToolBar::DrawButton(CDC* pDC, NMTBCUSTOMDRAW* pCD)
{
    if (m_bSuppressPaint)
        return TRUE;
    if (m_bEraseBackground) {
        m_bEraseBackground = 0;
        // (the saved layout's image indexes are repaired here once the layout is kept)
        if (IsFlatDrawn()) {
            CRect rectClient;
            GetClientRect(&rectClient);
            pDC->FillSolidRect(&rectClient, GetBackgroundColor());
        }
    }
    const int nIndex = CommandToIndex((UINT)pCD->nmcd.dwItemSpec);
    if (nIndex < 0)
        return FALSE;
    CTkToolBarButtonPainter* pPainter = TkGetPainters()->GetToolBarButtonPainter();
    if (pPainter != NULL)
        return pPainter->DrawButton(pDC, this, nIndex);

    // the classic look: the control draws, with a colour bar and an embossed image while the
    // button's colour popup is open
    TBBUTTON button;
    memset(&button, 0, sizeof(button));
    DefWindowProc(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button);
    CRect rect(pCD->nmcd.rc);
    TK_DROPDOWN* pDrop = FindDropDownButton((UINT)button.idCommand);
    const BOOL bPopupOpen = pDrop != NULL && pDrop->bColorPopup && m_pColorPopup != NULL &&
                            m_pColorPopup->GetSafeHwnd() != NULL && m_nColorPopupID == button.idCommand;
    pDC->SetBkMode(TRANSPARENT);
    if (pDrop != NULL && pDrop->bColorBar && pDrop->bColorPopup) {
        CRect rectColor(rect.left + 4, rect.bottom - 7, rect.left + m_sizeButton.cx - 4, rect.bottom - 4);
        if (button.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED))
            rectColor.OffsetRect(1, 1);
        pDC->FillSolidRect(&rectColor, (button.fsState & TBSTATE_ENABLED) ? (COLORREF)pDrop->clrCurrent : tkAfxData.clr3DShadow);
        pDC->ExcludeClipRect(&rectColor);
    }
    if (m_bInRebar) {
        // the rebar paints the background behind the item
        CRect rectClip;
        pDC->GetClipBox(&rectClip);
        CRect rectPart;
        if (rectPart.IntersectRect(&rect, &rectClip)) {
            m_bSuppressPaint = 1;
            InvalidateRect(&rectPart, TRUE);
            UpdateWindow();
            m_bSuppressPaint = 0;
        }
    } else {
        pDC->FillSolidRect(&rect, GetBackgroundColor());
    }
    if ((button.fsState & TBSTATE_CHECKED) || !bPopupOpen)
        return FALSE;
    const DWORD dwExStyle = (DWORD)DefWindowProc(TB_GETEXTENDEDSTYLE, 0, 0);
    if (((dwExStyle & TBSTYLE_EX_DRAWDDARROWS) && (button.fsStyle & TBSTYLE_DROPDOWN)) || !GetButtonText(nIndex).IsEmpty())
        return FALSE;
    CImageList* pImages = CImageList::FromHandle((HIMAGELIST)DefWindowProc(TB_GETIMAGELIST, 0, 0));
    if (pImages == NULL || pImages->m_hImageList == NULL)
        return FALSE;
    CPoint pt(rect.left + (m_sizeButton.cx - m_sizeImage.cx) / 2 + 1, rect.top + (m_sizeButton.cy - m_sizeImage.cy) / 2 + 1);
    TkDrawEmbossed(pDC, pImages, button.iBitmap, pt, TRUE);
    return TRUE;
}

void CTkToolBar::DrawSeparators(CDC* pDC)
{
    CTkToolBarButtonPainter* pPainter = TkGetPainters()->GetToolBarButtonPainter();
    const COLORREF clrBackground = GetBackgroundColor();
    int nCount = GetButtonCount();
    for (int i = 0; i < nCount; i++) {
        TBBUTTON button;
        memset(&button, 0, sizeof(button));
        DefWindowProc(TB_GETBUTTON, (WPARAM)i, (LPARAM)&button);
        if (!(button.fsStyle & TBSTYLE_SEP) || (button.fsState & TBSTATE_HIDDEN))
            continue;
        CRect rect;
        if (!DefWindowProc(TB_GETITEMRECT, (WPARAM)i, (LPARAM)&rect))
            continue;
        if (button.idCommand != 0) {
            if (m_bInRebar)
                continue;
            if (pPainter != NULL)
                pPainter->EraseSeparator(pDC, this, i);
            else
                pDC->FillSolidRect(&rect, clrBackground);
            // the attached control is printed where it lies
            CWnd* pCtrl = GetDlgItem(button.idCommand);
            if (pCtrl != NULL && pCtrl->IsWindowVisible()) {
                CRect rectCtrl;
                pCtrl->GetWindowRect(&rectCtrl);
                ScreenToClient(&rectCtrl);
                int nSaved = pDC->SaveDC();
                pDC->IntersectClipRect(&rectCtrl);
                CPoint ptOrg = pDC->GetWindowOrg();
                pDC->SetWindowOrg(ptOrg.x - rectCtrl.left, ptOrg.y - rectCtrl.top);
                pCtrl->SendMessage(WM_PRINT, (WPARAM)pDC->m_hDC, PRF_CHECKVISIBLE | PRF_CLIENT | PRF_CHILDREN | PRF_OWNED);
                pDC->RestoreDC(nSaved);
            }
            continue;
        }
        if (pPainter != NULL) {
            pPainter->DrawSeparator(pDC, this, i);
        } else if (button.fsState & TBSTATE_WRAP) {
            CRect rectLine(rect.left, rect.bottom - rect.Width(), rect.left + rect.Height(), rect.bottom);
            pDC->FillSolidRect(&rectLine, clrBackground);
            rectLine.top = (rectLine.top + rectLine.bottom) / 2 - 1;
            pDC->DrawEdge(&rectLine, EDGE_ETCHED, BF_TOP);
            pDC->SetPixel(rectLine.right - 1, rectLine.top, tkAfxData.clr3DShadow);
        } else {
            pDC->FillSolidRect(&rect, clrBackground);
            CRect rectLine(rect.left + 2, rect.top, rect.left + 3, rect.bottom);
            pDC->DrawEdge(&rectLine, EDGE_ETCHED, BF_LEFT);
            pDC->SetPixel(rect.left + 2, rect.bottom - 1, tkAfxData.clr3DShadow);
        }
    }
}

void CTkToolBar::EraseWrapGaps(CDC* pDC)
{
    const COLORREF clrBackground = GetBackgroundColor();
    int nCount = GetButtonCount();
    for (int i = 1; i < nCount; i++) {
        TBBUTTON button, previous;
        memset(&button, 0, sizeof(button));
        memset(&previous, 0, sizeof(previous));
        DefWindowProc(TB_GETBUTTON, (WPARAM)i, (LPARAM)&button);
        DefWindowProc(TB_GETBUTTON, (WPARAM)(i - 1), (LPARAM)&previous);
        if (!(button.fsStyle & TBSTYLE_SEP) || !(button.fsState & TBSTATE_WRAP) || (previous.fsStyle & TBSTYLE_SEP))
            continue;
        CRect rectPrev, rectSep;
        if (!DefWindowProc(TB_GETITEMRECT, (WPARAM)(i - 1), (LPARAM)&rectPrev) ||
            !DefWindowProc(TB_GETITEMRECT, (WPARAM)i, (LPARAM)&rectSep))
            continue;
        pDC->FillSolidRect(rectPrev.right, rectPrev.top, rectSep.Width(), rectPrev.Height(), clrBackground);
    }
}
