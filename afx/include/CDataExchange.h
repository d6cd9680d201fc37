// The exchange of a dialog's data between its controls and its members (CWnd::UpdateData,
// DoDataExchange). Every DDX_ function moves one value in the direction of m_bSaveAndValidate;
// a value that cannot be taken shows a German prompt (AfxMessageBox), puts the focus on the
// control and ends the exchange (Fail throws CUserException). DDV_ functions check the value
// just taken and are called right after its DDX_ function.
#pragma once

#include "CString.h"

class CWnd;

class CDataExchange {
public:
    // While the object lives, the library's message boxes of the thread belong to pDlgWnd's
    // top-level window.
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
    ~CDataExchange();

    BOOL m_bSaveAndValidate; // TRUE: controls to members, with checks
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl; // the control of the last DDX_ call
    BOOL m_bEditLastControl; // it is an edit control (the focus selects its text)

    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Focus on the last control, then CUserException.
    [[noreturn]] void Fail();

private:
    HWND m_hWndBoxOwnerOuter; // the box owner before this exchange
    CDataExchange(const CDataExchange&) = delete;
    CDataExchange& operator=(const CDataExchange&) = delete;
};

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, short& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value);
// 0 unchecked, 1 checked, 2 indeterminate.
void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The index of the checked button of the group that starts with nIDC (-1: none).
void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
// Subclasses the control with rControl the first time (a control object stays attached).
void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void AFXAPI DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void AFXAPI DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal);
void AFXAPI DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
void AFXAPI DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal);
