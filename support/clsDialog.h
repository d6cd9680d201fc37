// Base class of the library's modal and modeless dialogs, made from dialog templates in a
// module's resources.
//
// The template is looked up in the best language available (LoadResource). Creation publishes a
// hand-over record under a process-wide lock, which the dialog procedure takes with the first
// message, so the window and its object are bound (DWLP_USER) before any handler runs; a second
// creation while a record is published is refused ("DANGER: __pParam != NULL").
//
// Every message goes through Dispatch to one of the virtual handlers. A handler answers 0 when it
// did not handle the message. Commands are routed by the control's kind: edit controls (they take
// selections), buttons ("BUTTON" and the controls library's "VLMRBUTTON..."), list boxes
// ("LISTBOX", "VLMRBROWSER...") and combo boxes ("COMBOBOX", "VLMRCOMBO..."); anything else goes to
// OnCommandNotify0/1 (codes 0 and 1) and then OnOtherCommand. The help command (id 0x12) and the
// registered message "QivHelpHook" go to OnHelp.
//
// Closing: with a Cancel item the Close box cancels; with only an OK item it presses OK; with
// neither a modal dialog ends with 2 (and its Close command is greyed when it has a system menu).
//
// The object must outlive its window. Dialogs belong to the thread that creates them; a modeless
// dialog needs its messages passed through IsDialogMessage by the owner's loop.
#pragma once

#include <windows.h>

#include <cstdint>

#include "String.h"

class clsDialog {
public:
    // A non-NULL parent that is no window is replaced by NULL (with a debug line).
    clsDialog(HINSTANCE instance, const char* templateName, HWND parent, HINSTANCE resourceModule, int32_t reserved,
              LPARAM userParameter, bool modal);

    // The template resource in the given language, else the thread's, the user's, neutral,
    // English, then the loader's own choice; NULL (with a debug line) when there is none.
    static HRSRC LoadResource(HMODULE module, WORD language, const char* name);

    // Slots 0..27.
    virtual INT_PTR DialogBoxParam(LPARAM parameter);
    virtual HWND CreateDialogParam(LPARAM parameter);
    virtual ~clsDialog();
    virtual INT_PTR DoModal();
    virtual INT_PTR DoModalIndirect(const DLGTEMPLATE* dialogTemplate);
    virtual HWND Create();
    virtual HWND CreateIndirect(const DLGTEMPLATE* dialogTemplate);
    virtual BOOL IsDialogMessage(MSG* message);
    virtual void EndDialog(INT_PTR result);
    virtual HWND GetItem(int id, bool warn);
    virtual LRESULT OnMessageFirst(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnHelp();
    virtual int OnClose();
    virtual int OnInitDialog(HWND focus);
    virtual int OnCommandNotify0(int code, HWND control, int id);
    virtual int OnCommandNotify1(int code, HWND control, int id);
    virtual int OnNotify(int id, NMHDR* header, LRESULT* result);
    virtual int OnCommand(int code, HWND control, int id);
    virtual int OnEditCommand(int code, HWND control, int id);
    virtual int OnListCommand(int code, HWND control, int id);
    virtual int OnComboCommand(int code, HWND control, int id);
    virtual int OnScroll(UINT message, int code, HWND scrollBar, int position);
    virtual int OnOtherCommand(int code, HWND control, int id);
    virtual int OnSysCommand(WPARAM command, LPARAM lParam);
    virtual int OnMeasureItem(MEASUREITEMSTRUCT* item, int id);
    virtual int OnDrawItem(DRAWITEMSTRUCT* item, int id);
    virtual int OnCtlColor(UINT message, HDC dc, HWND control, LRESULT* result);

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    // Item helpers (items are found with GetItem, warning on).
    void SetItemFocus(int id);
    void LimitItemText(int id, int length);
    void SetItemText(int id, const char* text, bool replaceSelection = false);
    void SetItemText(int id, const String& text) { SetItemText(id, (const char*)text, false); }
    void GetItemText(int id, String& text);
    void GetItemString(int id, String& text) { GetItemText(id, text); }
    // Sends (send set) or posts WM_COMMAND with the id, the code and the item window.
    void SendCommand(int id, int code, bool send);
    // A click on an enabled item (BN_CLICKED).
    void ClickButton(int id, bool send);
    // The result of the current message (DWLP_MSGRESULT).
    void SetResult(LRESULT value);

    HWND Window() const { return m_window; }
    bool IsModal() const { return m_modal; }
    const String& TemplateName() const { return m_templateName; }
    // The registered message "QivHelpHook".
    static UINT HelpMessage();

protected:
    // The published creation hand-over: state -2 marks a record ready to be bound.
    struct HandOver {
        int32_t state;
        clsDialog* object;
        LPARAM userParameter;
    };

    String m_templateName;
    WORD m_templateLanguage = 0;
    HWND m_window = nullptr;
    HWND m_parent = nullptr;
    HandOver m_handOver;
    bool m_modal;
    HINSTANCE m_instance;
    HINSTANCE m_resourceModule;
    HWND m_cachedItem = nullptr;
    int m_cachedId = 0;
    DLGPROC m_dialogProc;
    bool m_ending = false;
    LRESULT m_messageResult = 0;
    HWND m_focusBeforeCommand = nullptr;
    bool m_handOverPending = false;
    bool m_closing = false;
    int32_t m_reserved;

private:
    // Publishes the hand-over (the lock stays held); false when another is published.
    bool Publish();
    // Withdraws this object's record when it is still pending; answers whether it was.
    bool Withdraw();
    // DoModal (no template: the object's resource) and DoModalIndirect.
    INT_PTR RunModal(const DLGTEMPLATE* dialogTemplate);
    static HWND CheckedParent(HWND parent, const char* where);
    INT_PTR RouteCommand(WPARAM wParam, LPARAM lParam);
};
