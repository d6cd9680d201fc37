// The modal dialog in which one appointment is created or edited: subject, partner, place, private
// flag, date, start and end time or all day, series, reminder with its lead time, notes as rich
// text, the users a new appointment is made for and the action that runs at reminder time.
//
// It works on a copy of the caller's record. OK checks everything first; only when every check
// passed is the copy written into the caller's record (a refused OK followed by Cancel leaves the
// caller's record as it was). DoModal answers IDOK, IDCANCEL or kDeleteResult (the user confirmed
// the deletion; the caller deletes the entry).
#pragma once

#include <afxwin.h>
#include <afxcmn.h>
#include <afxdisp.h>

#include "CBrowserCheckList.h"
#include "CCtDEdit.h"
#include "CColorPickerCombo.h"
#include "CDataAppointment.h"
#include "CHistoryCombo.h"
#include "CItemDataComboBox.h"
#include "CMfxSizableDialog.h"
#include "CParsedEdit.h"
#include "CTkTabCtrl.h"
#include "CTkWindowPosition.h"
#include "CFontComboBox.h"
#include "CSizeComboBox.h"

class CDataController;
class CLinkedAction;

class CAppointmentDialog : public CMfxSizableDialog {
    DECLARE_DYNAMIC(CAppointmentDialog)
public:
    enum { kDeleteResult = 161 };
    enum { kAnchorRows = 38 };
    // The notes editor's limit in characters.
    enum { kNotesLimit = 50000 };
    // The format bar's refresh timer.
    enum { kFormatTimer = 10 };

    // pRecord: the record to edit (NULL: a fresh one). nIDTemplate, pAnchors and nAnchors let a
    // derived dialog bring its own template and anchor table (NULL and 0: the appointment's).
    CAppointmentDialog(CDataAppointment* pRecord, CWnd* pParent, BOOL bNew, UINT nIDTemplate = 153,
                       MfxResizeAnchor* pAnchors = NULL, int nAnchors = 0);
    ~CAppointmentDialog() override;

    // The users the entry is meant for, as checked on the users page when OK was pressed.
    const CStringList& GetSelectedUserList() const { return m_selectedUsers; }
    // The dialog's own copy of the record.
    const CDataAppointment& GetWorkingCopy() const { return m_copy; }

    // The notes: into the editor (RTF streamed in, any other text as plain text), and back out
    // as RTF.
    void SetNotesRtf(LPCTSTR lpszText);
    void GetNotesRtf(CString& strRtf);
    // The format bar's font names (every family of the screen) and the sizes of the chosen face.
    void FillFontNames();
    void FillFontSizes();
    void UpdateFormatBar();

    // The end rule: an end not after the start becomes start + unit, at most 23:59.
    static int ApplyEndRule(int nStart, int nEnd, int nUnit);
    // The lead-time unit (1, 60 or 1440 minutes) that shows the span: the largest that divides it.
    static int LeadUnitFor(long nSpan);

    BOOL OnInitDialog() override;

protected:
    virtual void LoadFromRecord();
    virtual void InitTabs();
    // The recurrence dialog over the series (bAllDay: the entry lasts all day); IDOK when the
    // series was edited. The recurrence dialog comes with its own work: until then IDCANCEL, and
    // the series keeps its pattern.
    virtual int RunRecurrenceDialog(CDataSerienTermin& series, BOOL bAllDay);
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    // time rules and the fields
    int GetTimeUnit() const;
    void ApplyEndRuleToFields();
    void ShowTimes(int nStart, int nEnd);
    // users and actions pages
    void InitUsers();
    void FillUserList(const CStringList& users, const CStringList& resources);
    void GetSelectedUsers(CStringList& list);
    void InitActionImages();
    void FillActions();
    CLinkedAction* GetSelectedAction();
    void ShowPageControls(int nPage);
    CString BuildInfoText() const;
    CDataController* GetController() const;
    CString GetCurrentUser() const;
    DWORD GetRights() const;

    afx_msg void OnSeriesType();
    afx_msg void OnSeriesClicked();
    afx_msg void OnAllDay();
    afx_msg void OnReminderClicked();
    afx_msg void OnDestroy();
    afx_msg void OnHelpClicked();
    afx_msg void OnTabSelChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnToolkitTabSelChange(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCheckAllUsers();
    afx_msg void OnUncheckAllUsers();
    afx_msg void OnActionSelChange();
    afx_msg void OnBrowseFile();
    afx_msg void OnGoToRecord();
    afx_msg void OnPrintCard();
    afx_msg void OnDeleteEntry();
    afx_msg void OnConflictCheck();
    afx_msg void OnFontChosen();
    afx_msg void OnNotesSelChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSizeChosen();
    void OnTabSelChanged();

    void OnDateDropDown();
    void OnStartTimeDropDown();
    void OnEndTimeDropDown();
    void OnStartTimeSpin(short nDirection);
    void OnEndTimeSpin(short nDirection);
    void OnStartTimeChange();

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

    // controls
    CComboBoxEx m_actionCombo;
    CTkTabCtrl m_tabs;
    CSizeComboBox m_sizeCombo;
    CFontComboBox m_fontCombo;
    CColorPickerCombo m_colorCombo;
    CRichEditCtrl m_notes;
    CParsedEdit m_leadEdit;
    CCtDEdit m_date;
    CCtDEdit m_dueDate;
    CCtDEdit m_start;
    CCtDEdit m_end;
    CItemDataComboBox m_leadUnit;
    CHistoryCombo m_subjectCombo;
    CHistoryCombo m_partnerCombo;
    CHistoryCombo m_placeCombo;

    // values exchanged with the controls
    CString m_strSubject;
    CString m_strPartner;
    CString m_strPlace;
    int m_bSeries;
    int m_bPrivate;
    int m_bRemind;
    int m_bAllDay;
    UINT m_nLead;
    CString m_strNotesRtf;

    CDataAppointment* m_pRecord;
    CDataAppointment m_copy;
    HICON m_hIcon;
    CBrowserCheckList* m_pUserList;
    CImageList* m_pActionImages;
    BOOL m_bNew;
    CStringList m_selectedUsers;
    UINT_PTR m_nFormatTimer;
    CString m_strLastSize;
    BOOL m_bInitialised;
    // the placement kept between openings, under its registry suffix
    CTkWindowPosition m_windowPos;
    CString m_strPosSuffix;
};
