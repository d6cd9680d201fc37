// An appointment or a to-do as the program carries it: the members of one row of the schedule
// table with its recurrence pattern and its action. Its archive image (strings in CString form,
// flags and numbers 4 bytes, dates as LONG status + double) does not follow the member order:
//
//   1  m_nVersion (2 bytes, written as 1)
//   2  m_strRecordId, m_strSubject, m_strParticipants, m_strPlace, m_strNotes
//   3  m_bPrivate, m_bRemind, m_nRemindSpan, m_bSeries
//   4  m_pattern (its 80-byte image)
//   5  m_strAppId, m_strDbPath, m_nDbRecId
//   6  m_strUser
//   7  m_action (its image)
//   8  m_bTodo, m_strPriority, m_nPercentDone, m_strTodoState
//   9  m_strCreatedBy, m_strChangedBy
//   10 m_dtCreated, m_dtChanged
//   11 m_strMovedRecordId, m_strStatus
//   12 m_dtNextOccurrence
#pragma once

#include <afxdisp.h>

#include <memory>

#include "CDataAction.h"
#include "CDataSerienTermin.h"

class CDataAppointment : public CDataImage {
    DECLARE_SERIAL(CDataAppointment)
public:
    // Every member at its default; the user is the default user of new entries: with the setting
    // "MarkFilterUser" on, the data controller's filter user, when that is empty (or the setting
    // off) the current user; empty without a data controller.
    CDataAppointment();
    // Copies every member, the schema version included.
    CDataAppointment(const CDataAppointment& other);
    // Copies every member but the schema version.
    CDataAppointment& operator=(const CDataAppointment& other);
    virtual ~CDataAppointment();

    // Every member equal, the schema versions included.
    bool operator==(const CDataAppointment& other) const;
    bool operator!=(const CDataAppointment& other) const { return !(*this == other); }

    // (Reminder on or an action named) and (no status, "C", or a series with status "D").
    BOOL HasActiveReminder() const;

    // Into this record (an entry's row as it is now) the members that mine changed against base
    // (what mine was read as); the change stamp (changing user and date) is taken from mine
    // whenever mine changed it. false, with nothing changed, when a member mine changed has
    // meanwhile been changed here to another value. The record id stays this record's.
    bool TakeChanges(const CDataAppointment& base, const CDataAppointment& mine);

    virtual void Store(CArchive& ar);
    virtual void Load(CArchive& ar);

    WORD m_nVersion;
    CString m_strRecordId;          // RECORDID
    CString m_strSubject;           // BETREFF
    CString m_strParticipants;      // WITH
    CString m_strPlace;             // ORT
    CString m_strNotes;             // NOTIZEN
    BOOL m_bPrivate;                // PRIVAT
    BOOL m_bRemind;                 // REMIND
    LONG m_nRemindSpan;             // T_REMSPAN, minutes
    BOOL m_bSeries;                 // SERIE
    CDataSerienTermin m_pattern;    // TERMIN (and T_BEGIN, T_END, D_FIRST_OC, D_LAST_OC)
    CString m_strAppId;             // APP_ID
    CString m_strDbPath;            // DB_PATH
    LONG m_nDbRecId;                // DB_RECID
    BOOL m_bTodo;                   // TYPE "TD"
    CString m_strPriority;          // PRIO
    LONG m_nPercentDone;            // PERCDONE
    CString m_strTodoState;         // TODOSTAT
    CDataAction m_action;           // APP_DAT1
    CString m_strUser;              // USER
    CString m_strCreatedBy;         // ERF_USER
    CString m_strChangedBy;         // L_USER
    COleDateTime m_dtCreated;       // ERF_DAT (null by default)
    COleDateTime m_dtChanged;       // L_DAT (null by default)
    COleDateTime m_dtNextOccurrence; // D_NEXT_OC (null by default)
    CString m_strStatus;            // STATUS
    CString m_strMovedRecordId;     // MOVERECID
    // The entry as it was read from its row (CTerminRecordBuffer::GetAppointment), so that a save
    // without a dialog puts back only what was changed since; copies share it. Not part of the
    // image and not compared; NULL for a record that was not read from a row.
    std::shared_ptr<const CDataAppointment> m_pAsRead;

private:
    void CopyMembers(const CDataAppointment& other);
};
