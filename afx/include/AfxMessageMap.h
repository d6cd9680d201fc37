// Message maps: tables that connect window messages, commands and notifications to member
// functions of a CCmdTarget class. A class declares its map with DECLARE_MESSAGE_MAP() and fills
// it between BEGIN_MESSAGE_MAP(class, base) and END_MESSAGE_MAP(); a message not found in a
// class's table is looked up in its base class's table.
//
// Every entry names the message, the notification code and id range it answers, how the
// message's parameters are passed to the handler (AfxSig_...) and the handler. The ON_ macros
// check the handler's signature at compile time.
#pragma once

#include "AfxBase.h"

#include <commctrl.h>

class CCmdTarget;
class CWinThread;
class CWnd;
class CCmdUI;
class CDC;
class CMenu;
class CScrollBar;
class CListBox;
class CPoint;

#define afx_msg
#define AFX_MSG_CALL

typedef void (AFX_MSG_CALL CCmdTarget::*AFX_PMSG)(void);
typedef void (AFX_MSG_CALL CWnd::*AFX_PMSGW)(void);
typedef void (AFX_MSG_CALL CWinThread::*AFX_PMSGT)(void);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // window message (WM_COMMAND and WM_NOTIFY for commands and notifications)
    UINT nCode;    // notification code, or 0
    UINT nID;      // first control or command id, or 0
    UINT nLastID;  // last id of a range, else nID
    UINT_PTR nSig; // how the handler is called (AfxSig); for registered messages the address of the message number
    AFX_PMSG pfn;  // the handler
};

struct AFX_MSGMAP {
    const AFX_MSGMAP*(PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg reports instead of calling a handler when asked whether one exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    void (AFX_MSG_CALL CCmdTarget::*pmf)(void);
};

// The extra data of a notification routed through OnCmdMsg.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// The data of a reflected WM_CTLCOLOR... message.
struct AFX_CTLCOLOR {
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

// Codes of OnCmdMsg: a command, the update of its user-interface items. A notification code of
// a control is passed as is (HIWORD 0 means WM_COMMAND), a WM_NOTIFY code as MAKELONG(code,
// WM_NOTIFY), a reflected one with WM_REFLECT_BASE added to the message.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))

// The messages of the class library.
#define WM_REFLECT_BASE 0xBC00
#define WM_SIZEPARENT 0x0361
#define WM_SETMESSAGESTRING 0x0362
#define WM_IDLEUPDATECMDUI 0x0363
#define WM_INITIALUPDATE 0x0364
#define WM_COMMANDHELP 0x0365
#define WM_HELPHITTEST 0x0366
#define WM_EXITHELPMODE 0x0367
#define WM_RECALCPARENT 0x0368
#define WM_SIZECHILD 0x0369
#define WM_KICKIDLE 0x036A
#define WM_QUERYCENTERWND 0x036B
#define WM_DISABLEMODAL 0x036C
#define WM_FLOATSTATUS 0x036D
#define WM_ACTIVATETOPLEVEL 0x036E
#define WM_POPMESSAGESTRING 0x0375
// The message that maps of window classes use for every WM_CTLCOLOR... message.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// The ways in which handlers are called.
enum AfxSig {
    AfxSig_end = 0,
    // commands and notifications (through OnCmdMsg)
    AfxSigCmd_v,        // void ()
    AfxSigCmd_b,        // BOOL (UINT nID): ON_COMMAND_EX, FALSE routes on
    AfxSigCmd_RANGE,    // void (UINT nID)
    AfxSigCmd_bv,       // BOOL (): ON_CONTROL_REFLECT_EX
    AfxSigCmd_UI,       // void (CCmdUI*)
    AfxSigNotify_v,     // void (NMHDR*, LRESULT*)
    AfxSigNotify_b,     // BOOL (NMHDR*, LRESULT*): ON_NOTIFY_REFLECT_EX
    AfxSigNotify_RANGE, // void (UINT nID, NMHDR*, LRESULT*)
    AfxSigNotify_EX,    // BOOL (UINT nID, NMHDR*, LRESULT*)
    // window messages
    AfxSig_lwl,         // LRESULT (WPARAM, LPARAM): ON_MESSAGE, ON_REGISTERED_MESSAGE
    AfxSig_vwl_thread,  // void (WPARAM, LPARAM): ON_THREAD_MESSAGE
    AfxSig_is,
    AfxSig_bPtr,
    AfxSig_vv,
    AfxSig_vwii,
    AfxSig_vii,
    AfxSig_vup,
    AfxSig_vwp,
    AfxSig_bwsp,
    AfxSig_vwww,
    AfxSig_vW,
    AfxSig_bD,
    AfxSig_hDWw,
    AfxSig_bWww,
    AfxSig_vwwW,
    AfxSig_vbw,
    AfxSig_vwWb,
    AfxSig_vbd,
    AfxSig_vPtr,
    AfxSig_viPtr,
    AfxSig_iiPtr,
    AfxSig_vWp,
    AfxSig_lp,
    AfxSig_vbPtr,
    AfxSig_uv,
    AfxSig_vM,
    AfxSig_vMwb,
    AfxSig_vwwh,
    AfxSig_lwwM,
    AfxSig_vws,
    AfxSig_iWww,
    AfxSig_vwl,
    AfxSig_vb,
    AfxSig_bv,
    AfxSig_bb,
    AfxSig_vwPtr,
    AfxSig_iwWw,
    AfxSig_vwW,
    AfxSig_bWPtr,
    AfxSig_RhDw,
    AfxSig_RvPtr,
    AfxSig_RiPtr,
    AfxSig_Rvww,
    AfxSig_Rvwl,
    AfxSig_Riww,
};

// A class with a message map.
#define DECLARE_MESSAGE_MAP()                                                                   \
protected:                                                                                      \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();                                        \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                  \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }         \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap()                                      \
    {                                                                                           \
        using ThisClass [[maybe_unused]] = theClass;                                            \
        typedef baseClass TheBaseClass;                                                         \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                       \
    {0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0}                                                       \
    }                                                                                           \
    ;                                                                                           \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                         \
    }

// ---- commands ------------------------------------------------------------------------------
#define ON_COMMAND(id, memberFxn)                                                               \
    {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(id), AfxSigCmd_v,                              \
     static_cast<AFX_PMSG>(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(void)>(&ThisClass::memberFxn))},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                 \
    {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(idLast), AfxSigCmd_RANGE,                      \
     (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(UINT)>(&ThisClass::memberFxn))},
#define ON_COMMAND_EX(id, memberFxn)                                                            \
    {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(id), AfxSigCmd_b,                              \
     (AFX_PMSG)(static_cast<BOOL (AFX_MSG_CALL CCmdTarget::*)(UINT)>(&ThisClass::memberFxn))},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                                              \
    {WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(idLast), AfxSigCmd_b,                          \
     (AFX_PMSG)(static_cast<BOOL (AFX_MSG_CALL CCmdTarget::*)(UINT)>(&ThisClass::memberFxn))},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                     \
    {WM_COMMAND, (WORD)CN_UPDATE_COMMAND_UI, (WORD)(id), (WORD)(id), AfxSigCmd_UI,             \
     (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(CCmdUI*)>(&ThisClass::memberFxn))},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                       \
    {WM_COMMAND, (WORD)CN_UPDATE_COMMAND_UI, (WORD)(id), (WORD)(idLast), AfxSigCmd_UI,         \
     (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(CCmdUI*)>(&ThisClass::memberFxn))},
// The update handler of a control for its own state (called by UpdateDialogControls).
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFxn)                                                 \
    {WM_COMMAND + WM_REFLECT_BASE, (WORD)CN_UPDATE_COMMAND_UI, 0, 0, AfxSigCmd_UI,             \
     (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(CCmdUI*)>(&ThisClass::memberFxn))},

// ---- control notifications (WM_COMMAND) ------------------------------------------------------
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                  \
    {WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigCmd_v,                     \
     static_cast<AFX_PMSG>(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(void)>(&ThisClass::memberFxn))},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                    \
    {WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigCmd_RANGE,             \
     (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(UINT)>(&ThisClass::memberFxn))},
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                              \
    {WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSigCmd_v,                     \
     static_cast<AFX_PMSG>(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(void)>(&ThisClass::memberFxn))},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                           \
    {WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSigCmd_bv,                    \
     (AFX_PMSG)(static_cast<BOOL (AFX_MSG_CALL CCmdTarget::*)(void)>(&ThisClass::memberFxn))},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// ---- notifications (WM_NOTIFY) ------------------------------------------------------------
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                   \
    {WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigNotify_v,             \
     (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(NMHDR*, LRESULT*)>(&ThisClass::memberFxn))},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                     \
    {WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigNotify_RANGE,     \
     (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(&ThisClass::memberFxn))},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                \
    {WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigNotify_EX,            \
     (AFX_PMSG)(static_cast<BOOL (AFX_MSG_CALL CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(&ThisClass::memberFxn))},
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                                  \
    {WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigNotify_EX,        \
     (AFX_PMSG)(static_cast<BOOL (AFX_MSG_CALL CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(&ThisClass::memberFxn))},
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                               \
    {WM_NOTIFY + WM_REFLECT_BASE, (WORD)(int)(wNotifyCode), 0, 0, AfxSigNotify_v,             \
     (AFX_PMSG)(static_cast<void (AFX_MSG_CALL CCmdTarget::*)(NMHDR*, LRESULT*)>(&ThisClass::memberFxn))},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                            \
    {WM_NOTIFY + WM_REFLECT_BASE, (WORD)(int)(wNotifyCode), 0, 0, AfxSigNotify_b,             \
     (AFX_PMSG)(static_cast<BOOL (AFX_MSG_CALL CCmdTarget::*)(NMHDR*, LRESULT*)>(&ThisClass::memberFxn))},

// ---- user-defined messages ------------------------------------------------------------------
#define ON_MESSAGE(message, memberFxn)                                                          \
    {message, 0, 0, 0, AfxSig_lwl,                                                              \
     (AFX_PMSG)(AFX_PMSGW)(static_cast<LRESULT (AFX_MSG_CALL CWnd::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn))},
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                      \
    {0xC000, 0, 0, 0, (UINT_PTR)(UINT*)(&nMessageVariable),                                     \
     (AFX_PMSG)(AFX_PMSGW)(static_cast<LRESULT (AFX_MSG_CALL CWnd::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn))},
// A message posted to a thread (no window) of a CWinThread class.
#define ON_THREAD_MESSAGE(message, memberFxn)                                                   \
    {message, 0, 0, 0, AfxSig_vwl_thread,                                                       \
     (AFX_PMSG)(AFX_PMSGT)(static_cast<void (AFX_MSG_CALL CWinThread::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn))},

// ---- window messages ------------------------------------------------------------------------
#define ON_WM_CREATE() {WM_CREATE, 0, 0, 0, AfxSig_is, (AFX_PMSG)(AFX_PMSGW)(static_cast<int (AFX_MSG_CALL CWnd::*)(LPCREATESTRUCT)>(&ThisClass::OnCreate))},
#define ON_WM_NCCREATE() {WM_NCCREATE, 0, 0, 0, AfxSig_bPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<BOOL (AFX_MSG_CALL CWnd::*)(LPCREATESTRUCT)>(&ThisClass::OnNcCreate))},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, AfxSig_vv, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)()>(&ThisClass::OnDestroy))},
#define ON_WM_NCDESTROY() {WM_NCDESTROY, 0, 0, 0, AfxSig_vv, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)()>(&ThisClass::OnNcDestroy))},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, AfxSig_vv, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)()>(&ThisClass::OnPaint))},
#define ON_WM_NCPAINT() {WM_NCPAINT, 0, 0, 0, AfxSig_vv, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)()>(&ThisClass::OnNcPaint))},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, AfxSig_vv, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)()>(&ThisClass::OnClose))},
#define ON_WM_CANCELMODE() {WM_CANCELMODE, 0, 0, 0, AfxSig_vv, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)()>(&ThisClass::OnCancelMode))},
#define ON_WM_SYSCOLORCHANGE() {WM_SYSCOLORCHANGE, 0, 0, 0, AfxSig_vv, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)()>(&ThisClass::OnSysColorChange))},
#define ON_WM_TIMECHANGE() {WM_TIMECHANGE, 0, 0, 0, AfxSig_vv, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)()>(&ThisClass::OnTimeChange))},
#define ON_WM_FONTCHANGE() {WM_FONTCHANGE, 0, 0, 0, AfxSig_vv, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)()>(&ThisClass::OnFontChange))},
#define ON_WM_CHILDACTIVATE() {WM_CHILDACTIVATE, 0, 0, 0, AfxSig_vv, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)()>(&ThisClass::OnChildActivate))},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, 0, AfxSig_vwii, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, int, int)>(&ThisClass::OnSize))},
#define ON_WM_MOVE() {WM_MOVE, 0, 0, 0, AfxSig_vii, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(int, int)>(&ThisClass::OnMove))},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, AfxSig_vup, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT_PTR)>(&ThisClass::OnTimer))},
#define ON_WM_MOUSEMOVE() {WM_MOUSEMOVE, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnMouseMove))},
#define ON_WM_LBUTTONDOWN() {WM_LBUTTONDOWN, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnLButtonDown))},
#define ON_WM_LBUTTONUP() {WM_LBUTTONUP, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnLButtonUp))},
#define ON_WM_LBUTTONDBLCLK() {WM_LBUTTONDBLCLK, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnLButtonDblClk))},
#define ON_WM_RBUTTONDOWN() {WM_RBUTTONDOWN, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnRButtonDown))},
#define ON_WM_RBUTTONUP() {WM_RBUTTONUP, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnRButtonUp))},
#define ON_WM_RBUTTONDBLCLK() {WM_RBUTTONDBLCLK, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnRButtonDblClk))},
#define ON_WM_MBUTTONDOWN() {WM_MBUTTONDOWN, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnMButtonDown))},
#define ON_WM_MBUTTONUP() {WM_MBUTTONUP, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnMButtonUp))},
#define ON_WM_MBUTTONDBLCLK() {WM_MBUTTONDBLCLK, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnMButtonDblClk))},
#define ON_WM_NCMOUSEMOVE() {WM_NCMOUSEMOVE, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnNcMouseMove))},
#define ON_WM_NCLBUTTONDOWN() {WM_NCLBUTTONDOWN, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnNcLButtonDown))},
#define ON_WM_NCLBUTTONUP() {WM_NCLBUTTONUP, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnNcLButtonUp))},
#define ON_WM_NCLBUTTONDBLCLK() {WM_NCLBUTTONDBLCLK, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnNcLButtonDblClk))},
#define ON_WM_NCRBUTTONDOWN() {WM_NCRBUTTONDOWN, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnNcRButtonDown))},
#define ON_WM_NCRBUTTONUP() {WM_NCRBUTTONUP, 0, 0, 0, AfxSig_vwp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CPoint)>(&ThisClass::OnNcRButtonUp))},
#define ON_WM_MOUSEWHEEL() {WM_MOUSEWHEEL, 0, 0, 0, AfxSig_bwsp, (AFX_PMSG)(AFX_PMSGW)(static_cast<BOOL (AFX_MSG_CALL CWnd::*)(UINT, short, CPoint)>(&ThisClass::OnMouseWheel))},
#define ON_WM_KEYDOWN() {WM_KEYDOWN, 0, 0, 0, AfxSig_vwww, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT)>(&ThisClass::OnKeyDown))},
#define ON_WM_KEYUP() {WM_KEYUP, 0, 0, 0, AfxSig_vwww, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT)>(&ThisClass::OnKeyUp))},
#define ON_WM_CHAR() {WM_CHAR, 0, 0, 0, AfxSig_vwww, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT)>(&ThisClass::OnChar))},
#define ON_WM_DEADCHAR() {WM_DEADCHAR, 0, 0, 0, AfxSig_vwww, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT)>(&ThisClass::OnDeadChar))},
#define ON_WM_SYSKEYDOWN() {WM_SYSKEYDOWN, 0, 0, 0, AfxSig_vwww, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT)>(&ThisClass::OnSysKeyDown))},
#define ON_WM_SYSKEYUP() {WM_SYSKEYUP, 0, 0, 0, AfxSig_vwww, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT)>(&ThisClass::OnSysKeyUp))},
#define ON_WM_SYSCHAR() {WM_SYSCHAR, 0, 0, 0, AfxSig_vwww, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, UINT, UINT)>(&ThisClass::OnSysChar))},
#define ON_WM_SETFOCUS() {WM_SETFOCUS, 0, 0, 0, AfxSig_vW, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(CWnd*)>(&ThisClass::OnSetFocus))},
#define ON_WM_KILLFOCUS() {WM_KILLFOCUS, 0, 0, 0, AfxSig_vW, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(CWnd*)>(&ThisClass::OnKillFocus))},
#define ON_WM_CAPTURECHANGED() {WM_CAPTURECHANGED, 0, 0, 0, AfxSig_vW, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(CWnd*)>(&ThisClass::OnCaptureChanged))},
#define ON_WM_PALETTECHANGED() {WM_PALETTECHANGED, 0, 0, 0, AfxSig_vW, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(CWnd*)>(&ThisClass::OnPaletteChanged))},
#define ON_WM_ERASEBKGND() {WM_ERASEBKGND, 0, 0, 0, AfxSig_bD, (AFX_PMSG)(AFX_PMSGW)(static_cast<BOOL (AFX_MSG_CALL CWnd::*)(CDC*)>(&ThisClass::OnEraseBkgnd))},
#define ON_WM_CTLCOLOR() {WM_CTLCOLOR, 0, 0, 0, AfxSig_hDWw, (AFX_PMSG)(AFX_PMSGW)(static_cast<HBRUSH (AFX_MSG_CALL CWnd::*)(CDC*, CWnd*, UINT)>(&ThisClass::OnCtlColor))},
#define ON_WM_SETCURSOR() {WM_SETCURSOR, 0, 0, 0, AfxSig_bWww, (AFX_PMSG)(AFX_PMSGW)(static_cast<BOOL (AFX_MSG_CALL CWnd::*)(CWnd*, UINT, UINT)>(&ThisClass::OnSetCursor))},
#define ON_WM_HSCROLL() {WM_HSCROLL, 0, 0, 0, AfxSig_vwwW, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, UINT, CScrollBar*)>(&ThisClass::OnHScroll))},
#define ON_WM_VSCROLL() {WM_VSCROLL, 0, 0, 0, AfxSig_vwwW, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, UINT, CScrollBar*)>(&ThisClass::OnVScroll))},
#define ON_WM_SHOWWINDOW() {WM_SHOWWINDOW, 0, 0, 0, AfxSig_vbw, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(BOOL, UINT)>(&ThisClass::OnShowWindow))},
#define ON_WM_ACTIVATE() {WM_ACTIVATE, 0, 0, 0, AfxSig_vwWb, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CWnd*, BOOL)>(&ThisClass::OnActivate))},
#define ON_WM_ACTIVATEAPP() {WM_ACTIVATEAPP, 0, 0, 0, AfxSig_vbd, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(BOOL, DWORD)>(&ThisClass::OnActivateApp))},
#define ON_WM_GETMINMAXINFO() {WM_GETMINMAXINFO, 0, 0, 0, AfxSig_vPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(MINMAXINFO*)>(&ThisClass::OnGetMinMaxInfo))},
#define ON_WM_WINDOWPOSCHANGING() {WM_WINDOWPOSCHANGING, 0, 0, 0, AfxSig_vPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(WINDOWPOS*)>(&ThisClass::OnWindowPosChanging))},
#define ON_WM_WINDOWPOSCHANGED() {WM_WINDOWPOSCHANGED, 0, 0, 0, AfxSig_vPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(WINDOWPOS*)>(&ThisClass::OnWindowPosChanged))},
#define ON_WM_DROPFILES() {WM_DROPFILES, 0, 0, 0, AfxSig_vPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(HDROP)>(&ThisClass::OnDropFiles))},
#define ON_WM_DRAWITEM() {WM_DRAWITEM, 0, 0, 0, AfxSig_viPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(int, LPDRAWITEMSTRUCT)>(&ThisClass::OnDrawItem))},
#define ON_WM_MEASUREITEM() {WM_MEASUREITEM, 0, 0, 0, AfxSig_viPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(int, LPMEASUREITEMSTRUCT)>(&ThisClass::OnMeasureItem))},
#define ON_WM_DELETEITEM() {WM_DELETEITEM, 0, 0, 0, AfxSig_viPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(int, LPDELETEITEMSTRUCT)>(&ThisClass::OnDeleteItem))},
#define ON_WM_STYLECHANGED() {WM_STYLECHANGED, 0, 0, 0, AfxSig_viPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(int, LPSTYLESTRUCT)>(&ThisClass::OnStyleChanged))},
#define ON_WM_STYLECHANGING() {WM_STYLECHANGING, 0, 0, 0, AfxSig_viPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(int, LPSTYLESTRUCT)>(&ThisClass::OnStyleChanging))},
#define ON_WM_COMPAREITEM() {WM_COMPAREITEM, 0, 0, 0, AfxSig_iiPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<int (AFX_MSG_CALL CWnd::*)(int, LPCOMPAREITEMSTRUCT)>(&ThisClass::OnCompareItem))},
#define ON_WM_CONTEXTMENU() {WM_CONTEXTMENU, 0, 0, 0, AfxSig_vWp, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(CWnd*, CPoint)>(&ThisClass::OnContextMenu))},
#define ON_WM_NCHITTEST() {WM_NCHITTEST, 0, 0, 0, AfxSig_lp, (AFX_PMSG)(AFX_PMSGW)(static_cast<LRESULT (AFX_MSG_CALL CWnd::*)(CPoint)>(&ThisClass::OnNcHitTest))},
#define ON_WM_NCCALCSIZE() {WM_NCCALCSIZE, 0, 0, 0, AfxSig_vbPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(BOOL, NCCALCSIZE_PARAMS*)>(&ThisClass::OnNcCalcSize))},
#define ON_WM_GETDLGCODE() {WM_GETDLGCODE, 0, 0, 0, AfxSig_uv, (AFX_PMSG)(AFX_PMSGW)(static_cast<UINT (AFX_MSG_CALL CWnd::*)()>(&ThisClass::OnGetDlgCode))},
#define ON_WM_INITMENU() {WM_INITMENU, 0, 0, 0, AfxSig_vM, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(CMenu*)>(&ThisClass::OnInitMenu))},
#define ON_WM_INITMENUPOPUP() {WM_INITMENUPOPUP, 0, 0, 0, AfxSig_vMwb, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(CMenu*, UINT, BOOL)>(&ThisClass::OnInitMenuPopup))},
#define ON_WM_MENUSELECT() {WM_MENUSELECT, 0, 0, 0, AfxSig_vwwh, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, UINT, HMENU)>(&ThisClass::OnMenuSelect))},
#define ON_WM_MENUCHAR() {WM_MENUCHAR, 0, 0, 0, AfxSig_lwwM, (AFX_PMSG)(AFX_PMSGW)(static_cast<LRESULT (AFX_MSG_CALL CWnd::*)(UINT, UINT, CMenu*)>(&ThisClass::OnMenuChar))},
#define ON_WM_SETTINGCHANGE() {WM_SETTINGCHANGE, 0, 0, 0, AfxSig_vws, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, LPCTSTR)>(&ThisClass::OnSettingChange))},
#define ON_WM_MOUSEACTIVATE() {WM_MOUSEACTIVATE, 0, 0, 0, AfxSig_iWww, (AFX_PMSG)(AFX_PMSGW)(static_cast<int (AFX_MSG_CALL CWnd::*)(CWnd*, UINT, UINT)>(&ThisClass::OnMouseActivate))},
#define ON_WM_SYSCOMMAND() {WM_SYSCOMMAND, 0, 0, 0, AfxSig_vwl, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, LPARAM)>(&ThisClass::OnSysCommand))},
#define ON_WM_PARENTNOTIFY() {WM_PARENTNOTIFY, 0, 0, 0, AfxSig_vwl, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, LPARAM)>(&ThisClass::OnParentNotify))},
#define ON_WM_ENABLE() {WM_ENABLE, 0, 0, 0, AfxSig_vb, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(BOOL)>(&ThisClass::OnEnable))},
#define ON_WM_ENDSESSION() {WM_ENDSESSION, 0, 0, 0, AfxSig_vb, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(BOOL)>(&ThisClass::OnEndSession))},
#define ON_WM_ENTERMENULOOP() {WM_ENTERMENULOOP, 0, 0, 0, AfxSig_vb, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(BOOL)>(&ThisClass::OnEnterMenuLoop))},
#define ON_WM_EXITMENULOOP() {WM_EXITMENULOOP, 0, 0, 0, AfxSig_vb, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(BOOL)>(&ThisClass::OnExitMenuLoop))},
#define ON_WM_QUERYENDSESSION() {WM_QUERYENDSESSION, 0, 0, 0, AfxSig_bv, (AFX_PMSG)(AFX_PMSGW)(static_cast<BOOL (AFX_MSG_CALL CWnd::*)()>(&ThisClass::OnQueryEndSession))},
#define ON_WM_QUERYNEWPALETTE() {WM_QUERYNEWPALETTE, 0, 0, 0, AfxSig_bv, (AFX_PMSG)(AFX_PMSGW)(static_cast<BOOL (AFX_MSG_CALL CWnd::*)()>(&ThisClass::OnQueryNewPalette))},
#define ON_WM_NCACTIVATE() {WM_NCACTIVATE, 0, 0, 0, AfxSig_bb, (AFX_PMSG)(AFX_PMSGW)(static_cast<BOOL (AFX_MSG_CALL CWnd::*)(BOOL)>(&ThisClass::OnNcActivate))},
#define ON_WM_SIZING() {WM_SIZING, 0, 0, 0, AfxSig_vwPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, LPRECT)>(&ThisClass::OnSizing))},
#define ON_WM_CHARTOITEM() {WM_CHARTOITEM, 0, 0, 0, AfxSig_iwWw, (AFX_PMSG)(AFX_PMSGW)(static_cast<int (AFX_MSG_CALL CWnd::*)(UINT, CListBox*, UINT)>(&ThisClass::OnCharToItem))},
#define ON_WM_VKEYTOITEM() {WM_VKEYTOITEM, 0, 0, 0, AfxSig_iwWw, (AFX_PMSG)(AFX_PMSGW)(static_cast<int (AFX_MSG_CALL CWnd::*)(UINT, CListBox*, UINT)>(&ThisClass::OnVKeyToItem))},
#define ON_WM_ENTERIDLE() {WM_ENTERIDLE, 0, 0, 0, AfxSig_vwW, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, CWnd*)>(&ThisClass::OnEnterIdle))},
#define ON_WM_COPYDATA() {WM_COPYDATA, 0, 0, 0, AfxSig_bWPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<BOOL (AFX_MSG_CALL CWnd::*)(CWnd*, COPYDATASTRUCT*)>(&ThisClass::OnCopyData))},
#define ON_WM_HELPINFO() {WM_HELPINFO, 0, 0, 0, AfxSig_bPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<BOOL (AFX_MSG_CALL CWnd::*)(HELPINFO*)>(&ThisClass::OnHelpInfo))},
#define ON_WM_CTLCOLOR_REFLECT() {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, AfxSig_RhDw, (AFX_PMSG)(AFX_PMSGW)(static_cast<HBRUSH (AFX_MSG_CALL CWnd::*)(CDC*, UINT)>(&ThisClass::CtlColor))},
#define ON_WM_DRAWITEM_REFLECT() {WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, 0, AfxSig_RvPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(LPDRAWITEMSTRUCT)>(&ThisClass::DrawItem))},
#define ON_WM_MEASUREITEM_REFLECT() {WM_REFLECT_BASE + WM_MEASUREITEM, 0, 0, 0, AfxSig_RvPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(LPMEASUREITEMSTRUCT)>(&ThisClass::MeasureItem))},
#define ON_WM_DELETEITEM_REFLECT() {WM_REFLECT_BASE + WM_DELETEITEM, 0, 0, 0, AfxSig_RvPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(LPDELETEITEMSTRUCT)>(&ThisClass::DeleteItem))},
#define ON_WM_COMPAREITEM_REFLECT() {WM_REFLECT_BASE + WM_COMPAREITEM, 0, 0, 0, AfxSig_RiPtr, (AFX_PMSG)(AFX_PMSGW)(static_cast<int (AFX_MSG_CALL CWnd::*)(LPCOMPAREITEMSTRUCT)>(&ThisClass::CompareItem))},
#define ON_WM_HSCROLL_REFLECT() {WM_REFLECT_BASE + WM_HSCROLL, 0, 0, 0, AfxSig_Rvww, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, UINT)>(&ThisClass::HScroll))},
#define ON_WM_VSCROLL_REFLECT() {WM_REFLECT_BASE + WM_VSCROLL, 0, 0, 0, AfxSig_Rvww, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, UINT)>(&ThisClass::VScroll))},
#define ON_WM_PARENTNOTIFY_REFLECT() {WM_REFLECT_BASE + WM_PARENTNOTIFY, 0, 0, 0, AfxSig_Rvwl, (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(UINT, LPARAM)>(&ThisClass::ParentNotify))},
#define ON_WM_CHARTOITEM_REFLECT() {WM_REFLECT_BASE + WM_CHARTOITEM, 0, 0, 0, AfxSig_Riww, (AFX_PMSG)(AFX_PMSGW)(static_cast<int (AFX_MSG_CALL CWnd::*)(UINT, UINT)>(&ThisClass::CharToItem))},
#define ON_WM_VKEYTOITEM_REFLECT() {WM_REFLECT_BASE + WM_VKEYTOITEM, 0, 0, 0, AfxSig_Riww, (AFX_PMSG)(AFX_PMSGW)(static_cast<int (AFX_MSG_CALL CWnd::*)(UINT, UINT)>(&ThisClass::VKeyToItem))},
