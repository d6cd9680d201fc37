// The program's side of a browse control ("vlmrBrowser1132", see vlBR11.h): a small object that
// holds the control's window, sends it the protocol's messages and turns the control's events
// into calls of its virtual handlers, which the list classes override.
#pragma once

#include <afxwin.h>

#include "vlBR11.h"

// Answer of every message operation while the wrapper has no control window.
#define BRW_NO_CONTROL (-15)
// Answer of the cell operations for a negative row or column.
#define BRW_BAD_CELL (-4)

class CBrowserListWrapper {
public:
    // Attaches to the control (and installs the event callback when bAttachEvents), then asks
    // the library for its version. pOwner NULL: the control's parent gets the notifications, or
    // its grandparent when the parent is a card window ("VLMRCARD..." class).
    CBrowserListWrapper(HWND hControl, BOOL bAttachEvents, HWND hOwner);
    virtual ~CBrowserListWrapper();

    virtual LRESULT RefreshRow(int nRow);
    // nRow BRROW_ALL: every row.
    virtual LRESULT RedrawRow(int nRow);

    // Event handlers; the comment names the event that reaches each one.
    virtual void OnEvent0(LPARAM lParam);                  // 0
    virtual LRESULT OnDblClick(LPARAM lParam);             // 1
    virtual LRESULT OnKeyEvent8(BOOL bKeyDown, LPARAM lParam); // 8
    virtual void OnMouseClick(LPARAM lParam);              // 17
    virtual void OnEvent18(LPARAM lParam);                 // 18
    virtual LRESULT OnEvent19(LPARAM lParam);              // 19
    virtual void OnEvent21();                              // 21
    virtual void OnSelChange(LPARAM lParam);               // 5
    virtual void OnEvent16();                              // 16
    virtual LRESULT OnColumnMenu(LPARAM lParam);           // 14
    virtual void OnEvent2(LPARAM lParam);                  // 2
    virtual LRESULT OnEvent3(LPARAM lParam);               // 3, 4
    virtual void OnEvent22(LPARAM lParam);                 // 22
    virtual void OnEvent15(LPARAM lParam);                 // 15
    virtual LRESULT OnEvent9(LPARAM lParam);               // 9
    virtual LRESULT OnEvent6(LPARAM lParam);               // 6
    virtual LRESULT OnEvent7(LPARAM lParam);               // 7
    virtual void OnEvent10();                              // 10
    virtual void OnEvent11();                              // 11
    virtual LRESULT OnEvent20(LPARAM lParam);              // 20
    virtual LRESULT OnEvent13();                           // 13
    virtual LRESULT OnEvent12();                           // 12
    virtual void OnEvent23();                              // 23
    virtual void OnEvent37();                              // 37
    virtual void OnEvent42(LPARAM lParam);                 // 42
    virtual void OnEvent43(LPARAM lParam);                 // 43
    virtual LRESULT OnEvent45(LPARAM lParam);              // 45
    virtual LRESULT OnEvent26(LPARAM lParam);              // 26
    virtual void OnEvent33(LPARAM lParam);                 // 33
    virtual LRESULT OnEvent38(LPARAM lParam);              // 38
    virtual LRESULT OnEvent39(LPARAM lParam);              // 39
    virtual LRESULT OnEvent40(LPARAM lParam);              // 40
    virtual LRESULT OnEvent24(LPARAM lParam);              // 24
    virtual LRESULT OnEvent25(LPARAM lParam);              // 25
    virtual LRESULT OnEvent29(LPARAM lParam);              // 29
    virtual LRESULT OnEvent30(LPARAM lParam);              // 30
    virtual LRESULT OnEvent34(LPARAM lParam);              // 34
    virtual LRESULT OnEvent35(LPARAM lParam);              // 35
    virtual LRESULT OnEvent41(LPARAM lParam);              // 41
    virtual LRESULT OnEvent31(LPARAM lParam);              // 31
    virtual LRESULT OnCompareRows(LPARAM lParam);          // 27
    virtual void OnSortChanged();                          // 28
    virtual LRESULT OnMeasureRow(LPARAM lParam);           // 36
    virtual LRESULT OnEvent46(LPARAM lParam);              // 46
    virtual void OnEvent47(LPARAM lParam);                 // 47
    virtual LRESULT OnEvent48(LPARAM lParam);              // 48
    virtual void OnEvent49(LPARAM lParam);                 // 49
    virtual LRESULT OnEvent52(LPARAM lParam);              // 52
    virtual LRESULT OnKey(BOOL bKeyDown, LPARAM lParam);   // 55
    virtual void OnContextMenu();                          // 61

    // Dispatches one event (by the low 16 bits of nEvent) and answers what the control gets.
    LRESULT DispatchEvent(int nEvent, LPARAM lParam);

    HWND GetControl() const { return m_hControl; }
    HWND GetOwner() const { return m_hOwner; }
    BOOL HadEvent16() const { return m_bEvent16; }

    // Sends synchronously; BRW_NO_CONTROL without a control window.
    LRESULT SendMsg(UINT nMsg, WPARAM wParam, LPARAM lParam) const;

    LRESULT SetColor(int nAttribute, COLORREF color);
    int SetOption(int nAttribute, int nValue);
    LRESULT SaveLayout(DWORD dwFlags, HKEY hRoot, LPCSTR pszKeyPath, LPCSTR pszValueName);
    LRESULT LoadLayout(DWORD dwFlags, HKEY hRoot, LPCSTR pszKeyPath, LPCSTR pszValueName);
    // The short form of the layout place (under HKEY_CURRENT_USER).
    LRESULT SaveLayoutOld(DWORD dwFlags, LPCSTR pszKeyPath, LPCSTR pszValueName);
    // Reads the descriptor of the column (its size is set here).
    LRESULT GetColumn(int nColumn, BRCOLUMN* pColumn);
    // Writes a descriptor read with GetColumn back, under its own column index.
    LRESULT SetColumn(BRCOLUMN* pColumn);
    // The row under the mouse, negative for none.
    int GetHitRow();
    LRESULT SetColumnTitles(LPCSTR pszTitles);
    LRESULT SetStyle(DWORD dwStyle);
    LRESULT SetRowText(int nRow, LPCSTR pszText);
    LRESULT ResetContent();
    LRESULT SetCurrentRow(int nRow);
    LRESULT SetSortOrder(int nOrder);
    int GetTextLen(int nRow);
    // The row's text, read into a buffer sized by GetTextLen; the result of the read, or the
    // negative length (the string then empty).
    LRESULT GetTextCopy(int nRow, CString& strText);
    void GetTextString(int nRow, CString& strText);
    int GetCurrentRow();
    int GetCount();
    int GetSortOrder();
    BOOL SetColumnWidths(int nCount, const int* pWidths);
    LRESULT BeginEdit(int nColumn);
    HICON GetIcon(int nIcon);
    LRESULT SetIcon(int nIcon, HICON hIcon);
    // 0 and the length, or a negative error (BRW_BAD_CELL for a negative row or column).
    LRESULT GetCellTextLength(int nRow, int nColumn, int& nLength);
    // 0 and the text; on failure the error and strText unchanged.
    LRESULT GetCellText(int nRow, int nColumn, CString& strText);
    LRESULT SetCellText(int nRow, int nColumn, LPCSTR pszText);
    int GetColumnCount();
    int AddRow(LPCSTR pszText, LPARAM lItemData);
    int AddString(LPCSTR pszText);
    LRESULT DeleteString(int nRow);
    int GetSel(int nRow);
    int GetCurSel();
    LRESULT SetSel(int nRow, BOOL bSelect);
    int GetSelCount();
    LPARAM GetItemData(int nRow);
    LRESULT SetItemData(int nRow, LPARAM lValue);
    LRESULT SetRedraw(BOOL bRedraw);
    int GetFirstSelected();
    BOOL FindItemData(LPARAM lValue, int& nRow);

    // Stops the events and forgets the control.
    void Detach();

protected:
    // Sends WM_COMMAND with the control's id and nCode to the owner.
    void NotifyOwner(int nCode);

private:
    LRESULT Attach(HWND hControl, BOOL bAttachEvents, HWND hOwner);
    void QueryVersion();
    static LRESULT CALLBACK EventCallback(HWND hControl, int nEvent, LPARAM lParam);

    HWND m_hControl;
    HWND m_hOwner;
    BRWEVENTPROC m_pfnCallback;
    BOOL m_bEvent16;

    CBrowserListWrapper(const CBrowserListWrapper&) = delete;
    CBrowserListWrapper& operator=(const CBrowserListWrapper&) = delete;
};
