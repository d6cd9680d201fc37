// The single object through which the program reaches its schedule data. The application object
// makes it after the settings object and deletes it at its end.
//
// It owns the engine session, two instances of the schedule table (one for appointments, one for
// to-dos), the in-memory indexes of the entries, the filter values, the reminder bookkeeping, the
// timer job of the timer library, the update event and the update thread. The table rows are the
// master copy of every entry: the controller keeps only their keys (CItemVersion) in the
// appointment map and the to-do map, each appointment's key in the day list of every day on which
// it occurs (the day index), and the record ids of the entries that pass the filter and are not
// moved in the appointment list and the to-do list, in table order. Rows are read on request by
// record id.
//
// States:
//   open          tables open, timer job, update event and update thread exist (Initialize ran to
//                 its end);
//   not open      the tables did not open: IsOpen is FALSE, there is no timer job, event or thread,
//                 and the main window was asked to close;
//   shutting down the destructor set the stop flag; every thread of the controller ends when it
//                 sees it, and the destructor waits for each of them before it destroys anything.
//
// Threads that enter the controller:
//   user-interface thread  every public operation but the ones named below;
//   update thread          ReloadWorker: wakes every 90 seconds or when the update event is set,
//                          and runs the reload passes unless the busy counter is raised;
//   occurrence thread      spreads the keys of series of more than 200 occurrences over the day
//                          index while loading goes on, one series after the other in the order
//                          they were registered; it runs while there are such series to spread;
//   timer-library threads  TimerMessageCallback.
// Every collection takes its own lock in every operation; keys are counted (CItemVersion), so a
// key a thread holds outlives its removal by another. The busy counter is the protocol between
// the user-interface thread and the update thread: an operation of the user-interface thread that
// reads or writes the tables raises it (EnterBusy, WaitIdleEnterBusy) and lowers it when done
// (LeaveBusy); the update thread starts no pass while it is raised and leaves a running pass at
// the next row.
//
// The walks over a day, a map or a list (a head or start position, then GetNext... until the
// position is NULL) are for the user-interface thread. Each walks over a copy of its collection
// of its own (CWalkSnapshots), taken at its head position and holding a reference to each key, so
// entries that another thread removes or adds meanwhile, and other walks begun meanwhile, neither
// break the walk nor make it skip or repeat entries.
#pragma once

#include <afxdisp.h>
#include <afxmt.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "CControllerTimings.h"
#include "CDataUserSource.h"
#include "CDayIndex.h"
#include "CFilterValue.h"
#include "CItemMap.h"
#include "CLockedList.h"
#include "CLinkedApplicationList.h"
#include "CLockedMap.h"
#include "CTableFileStamp.h"
#include "CWalkSnapshots.h"
#include "VL32T1.h"

class CDataAppointment;
class CDataDialogs;
class CDataMultiReminderWindow;
class CDataReminderWindow;
struct CEntryFilterChoice;
class CDbSession;
class CTerminRecordBuffer;
class CTerminTable;
class CTimerLibrary;

class CDataController : public CDataUserSource {
public:
    typedef CLockedList<DWORD, DWORD> CIdList;
    typedef CLockedMap<DWORD, DWORD, COleDateTime, const COleDateTime&> CDueMap;
    typedef CLockedMap<DWORD, DWORD, CDataReminderWindow*, CDataReminderWindow*> CReminderWindowMap;

    // Rights bits (SetRights).
    enum {
        kRightFilterOthers = 1,  // filter by other users
        kRightDelegate = 2,      // delegate entries to other users
        kRightManageOthers = 4,  // delete and delegate other users' entries
        kRightReserved = 8,
    };
    // A series with more occurrences than this is spread over the day index by the occurrence
    // thread.
    enum { kOccurrenceThreadThreshold = 200 };

    // Stores the data directory (a backslash is appended when it has none) and the current user,
    // then Initialize. pTimers: the timer library to use (NULL: VL32T1.dll); it must outlive the
    // controller. pTimings: the waits (NULL: the program's). Tables that do not open show as
    // IsOpen FALSE; the engine session's exception on failure passes on.
    CDataController(LPCTSTR lpszDataPath, LPCTSTR lpszCurrentUser, CTimerLibrary* pTimers = NULL,
                    const CControllerTimings* pTimings = NULL);
    // Stops the timer polling, stops and waits for the update thread and the occurrence thread,
    // closes the timer job and the event, stores the filter user into the settings, closes the
    // tables and the session, then destroys the collections.
    ~CDataController() override;
    CDataController(const CDataController&) = delete;
    CDataController& operator=(const CDataController&) = delete;

    // ---- tables, user and rights ------------------------------------------------------------------
    // Opens the appointment instance, then (only when that opened) the to-do instance of the
    // schedule table in the directory, shared; TRUE when both opened.
    BOOL OpenTables(LPCTSTR lpszDataPath);
    // The session and both instances exist and are open.
    BOOL IsOpen() const;
    const CString& GetDataPath() const { return m_strDataPath; }
    // The data directory of the open tables, ending in a backslash.
    CString GetDatabaseDirectory() const { return m_strDataPath; }
    CTerminTable* GetAppointmentTable() const { return m_pAppointmentTable; }
    CTerminTable* GetTaskTable() const { return m_pTodoTable; }
    // Adds rights from the settings text: 'T' at position 4 sets bit 2, at 5 bit 1, at 6 bit 8, at
    // 7 bit 4 (positions from 0). Bits are only added, never cleared; an empty text changes
    // nothing.
    void SetRights(LPCTSTR lpszRights);
    DWORD GetRights() const { return m_nRights; }
    long GetTimerJob() const { return m_nTimerJob; }

    // The host application's id text, kept for automation clients (user-interface thread).
    const CString& GetHostId() const { return m_strHostId; }
    void SetHostId(LPCTSTR lpszHostId) { m_strHostId = lpszHostId != NULL ? lpszHostId : ""; }

    CString GetCurrentUser() const override;
    // The current user becomes the user: the user of new entries and reminders, and the stamp
    // user of both table instances (rows written from now on get it in empty ERF_USER/L_USER).
    // Timers already registered stay as they are until their entries are registered again.
    void SetCurrentUser(LPCTSTR lpszUser);
    CString GetFilterUser() const override;
    // The users of the linked applications, in list order, each name once.
    void GetLinkedUsers(CStringList& users) const override;
    // The resource list (the controller loads none yet: empty).
    void GetResourceNames(CStringList& names) const override;

    // ---- the busy counter and the update thread ----------------------------------------------------
    // Raises the busy counter, then waits while a reload pass runs (the timings' busy polls: by
    // default 100 ms steps, at most 5,000).
    void EnterBusy();
    // Waits while a reload pass runs, then raises the busy counter.
    void WaitIdleEnterBusy();
    // Lowers the busy counter.
    void LeaveBusy() { ::InterlockedDecrement(&m_nBusy); }
    volatile LONG* GetBusyCounter() { return &m_nBusy; }
    // Non-zero while the update thread is inside a reload pass.
    LONG GetReloadCount() const { return m_nReloading; }
    // Sets the update event: the update thread wakes and runs its passes (unless busy).
    void WakeUpdateThread();
    // The update thread's wake-ups that have ended (with or without a pass).
    LONG GetUpdateCycles() const { return m_nUpdateCyclesDone; }
    // One reload pass over the appointment or to-do instance; bIgnoreBusy: the caller raised the
    // busy counter itself, and the pass does not stop for it. A map that holds entries gets the
    // incremental pass: nothing when the table file's stamp (CTableFileStamp) is the one of the
    // last complete pass; otherwise every filtered row's record id and footprint are read, the id
    // list is built again in table order, new rows and rows whose footprint changed are
    // registered (a changed one's old key leaves the map and the day index and its timer is
    // deleted first), and when the pass went through to the end, the entries whose rows it did
    // not see (deleted, or no longer passing the filter) leave the same way. An empty map gets the
    // full load. A pass that is left (busy counter, stop) changes no count and leaves the stamp
    // as it was, so the next wake-up runs it again. Both passes pass over a row that cannot be
    // read and go on; such a pass drops no entry it did not see and leaves the stamp as it was,
    // so the next wake-up tries the row again.
    void ReloadAppointments(BOOL bIgnoreBusy = FALSE);
    void ReloadTasks(BOOL bIgnoreBusy = FALSE);
    LONG GetMovedAppointmentCount() const { return m_nMovedAppointments; }
    LONG GetMovedTaskCount() const { return m_nMovedTodos; }
    // The next pass over the to-do (or appointment) instance reads every row, changed file or
    // not.
    void ResetFileTime(BOOL bTodo);
    // Makes the update thread pass over both instances, reading every row, and waits until it
    // has (at most the timings' ReloadNow polls).
    void ReloadNow();
    // Empties both maps and the day index (the entries' timers go with them) and loads both
    // instances again on this thread, which registers the timers of the entries loaded; the
    // views get hint 107.
    void ReloadAll();
    // Switches to the data directory and loads everything from there; nothing for NULL or a
    // directory that does not exist. The entries of the old directory leave with their timers.
    void SetDataPath(LPCTSTR lpszDataPath);
    const CControllerTimings& GetTimings() const { return m_timings; }

    // ---- creating, editing, saving and deleting entries (user-interface thread) ------------------
    // Rows are changed under their record lock, which is taken before the row is read, so that
    // what is written back holds every change another station made before. Each written or
    // deleted row gets its companion notice and its key, day-index entries and timer are brought
    // in step; the views get their hint (CDataDocument::Hint) with the id in the changed or
    // deleted ids.
    // A new appointment through the appointment dialog, on the day (negative: none) at the start
    // minute (negative: none): one row per user chosen in the dialog, registered when the filter
    // user is empty or that user. TRUE when the dialog ended with OK.
    BOOL NewAppointment(long nDay, int nStartMinute);
    // The same on the document's selected day, without a start minute.
    BOOL NewAppointmentOnDocumentDate();
    // A new to-do through the to-do dialog, starting and due on the document's selected day.
    BOOL NewTask();
    // The entry of the record id through its dialog; its row stays locked while the dialog is
    // open. When the row cannot be written after OK, message 40191 and the dialog opens again
    // with the user's edits (until they are written or the dialog is cancelled). 1 after a
    // cancelled dialog, the delete's result after the dialog's delete button, otherwise whether
    // the row was written; 0 (after its message) for an id no longer in the
    // table, a row another station holds, or another user's private entry.
    int EditAppointment(LPCTSTR lpszRecordId);
    int EditTask(LPCTSTR lpszRecordId);
    // Saves the record: a new entry when the id is empty (the id of the row written goes back
    // through it), else the row of the id, locked for the time of the save. Through its dialog
    // unless bNoDialog; bNotifyViews: the views get their hint. Whether the row was written.
    // With or without its dialog, a record read from the row (its m_pAsRead) puts over the row
    // only the members changed since it was read, so changes another station made meanwhile stay; when
    // that station changed one of the same members to another value, nothing is written (message
    // 40190).
    BOOL SaveAppointment(CDataAppointment& record, CString& strRecordId, BOOL bNoDialog, BOOL bNotifyViews);
    BOOL SaveTask(CDataAppointment& record, CString& strRecordId, BOOL bNoDialog, BOOL bNotifyViews);
    // Deletes the entry of the id, after asking when bAsk. 0 for an id no longer in the table,
    // another user's private entry, or a refusal for rights (bit 4 for other users' entries); 1
    // when not confirmed; otherwise whether the row was deleted.
    int DeleteAppointment(LPCTSTR lpszRecordId, BOOL bAsk);
    int DeleteTask(LPCTSTR lpszRecordId, BOOL bAsk);
    // The companion notice (CCompanionNotice) of a written or deleted entry.
    void NotifyCompanionWindows(BOOL bDeleted, long nRecordId, BOOL bTodo);
    // For tests: asked before a reload pass reads a row (by record number); FALSE makes that read
    // fail as an unreadable row would.
    void SetPassReadHook(std::function<BOOL(long)> hook) { m_passReadHook = std::move(hook); }
    // For tests: called before an edited entry's row is written; FALSE makes that write fail as a
    // failing table write would.
    void SetEntryWriteHook(std::function<BOOL(const CDataAppointment&)> hook) { m_entryWriteHook = std::move(hook); }
    // For tests: called with the record number as soon as an entry's row has been read for a
    // change (edit or save), before anything else happens to the row.
    void SetRowReadHook(std::function<void(long)> hook) { m_rowReadHook = std::move(hook); }

    // ---- registration ----------------------------------------------------------------------------
    // Registers an appointment under its key (callers remove a former key of the id first). A
    // single appointment enters the appointment map, and the day index on its start day unless it
    // is moved (MOVERECID); a series is expanded: it enters the map whatever the expansion gives
    // (also nothing), and the day index on every occurrence, by a thread of its own when it has
    // more than 200 by the occurrence thread (an unknown pattern type registers nothing). Entries
    // with an active reminder get their timer. Always 1. With pDays a single appointment's day
    // goes to that list instead, for the caller to add with others (CDayIndex::AddEach).
    int AddAppointmentItem(CDataAppointment& record, LPCTSTR lpszRecordId, LPCTSTR lpszFootprint,
                           CDayEntries* pDays = NULL);
    // Registers a to-do in the to-do map, with its timer when its reminder is active and its state
    // is not "E". Always 1.
    int AddTaskItem(CDataAppointment& record, LPCTSTR lpszRecordId, LPCTSTR lpszFootprint);
    // The series waiting for the occurrence thread or being spread by it.
    int GetPendingOccurrenceSeries();
    // Waits until the occurrence thread has spread every series handed to it (the day index is
    // complete); FALSE when the time ran out.
    BOOL WaitForOccurrences(DWORD dwMilliseconds);

    // ---- reminder timers -------------------------------------------------------------------------
    // The entry's one timer in the job (id = record id), for entries of the current user only: a
    // fixed timer at the start day (a to-do's due day) and start time for single entries, the
    // cyclic timer of the pattern for series, starting at the date of occurrence (or of the next
    // occurrence stored with the entry) at the start time; a series whose interval is below 1
    // (which the day index holds on its first days only) gets an interval of 1 and ends on the
    // last of those days, so the reminder comes on exactly the days the views show. Always 1.
    int ScheduleReminderTimer(CItemVersion* pKey, CDataAppointment& record, const COleDateTime& occurrence);
    // The timer library's callback: signals become the main window's messages 1128 (due), 1130
    // (finished) and 1132 (next occurrence scheduled, whose time goes into the due map) with
    // lParam = record id; nothing while the document's reminder switch is off. Runs on the timer
    // library's threads.
    static int CALLBACK TimerMessageCallback(int nType, const TimerInfo* pInfo);
    // The due time the timer library last reported for a series.
    BOOL LookupDueTime(long nRecordId, COleDateTime& due) const;

    // ---- reading (user-interface thread) ----------------------------------------------------------
    int GetDayItemCount(long nDay) const;
    // The head of the day's walk; NULL when the day has no entries.
    POSITION GetDayItemHeadPosition(long nDay);
    // The entry at the position, read from the table; the position moves on (NULL after the last).
    // 1 when the row was read; 0 (and a NULL position) when the day has no entries. Without
    // bMemos the memo fields are not read (ReadEntryForDisplay).
    int GetNextDayAppointment(long nDay, POSITION& rPosition, CDataAppointment& record, BOOL bMemos = TRUE);
    // The entry of the record id as a view shows it: every field but the memos (NOTIZEN,
    // APP_DAT1, APP_DAT2 stay empty, the action at its default), found through the record-id
    // index (one seek). Saved back without a dialog, such a record leaves the memos of the row as
    // they are. FALSE for an id the table does not hold or a row that could not be read.
    BOOL ReadEntryForDisplay(LPCTSTR lpszRecordId, CDataAppointment& record, BOOL bTodo);
    // Walks over the maps: entries with a MOVERECID are passed over; 0 when the entry could not be
    // read or the walk ended on a moved entry.
    POSITION GetAppointmentStartPosition();
    int GetNextAppointment(POSITION& rPosition, CDataAppointment& record, CTerminRecordBuffer& buffer);
    POSITION GetTaskStartPosition();
    int GetNextTask(POSITION& rPosition, CDataAppointment& record, CTerminRecordBuffer& buffer);
    // Walks over the appointment and to-do lists, each id looked up in its map first (0 for an id
    // the map does not hold), moved entries passed over as above.
    POSITION GetAppointmentListHeadPosition();
    POSITION GetTaskListHeadPosition();
    int GetNextListedAppointment(POSITION& rPosition, CDataAppointment& record, CTerminRecordBuffer& buffer);
    int GetNextListedTask(POSITION& rPosition, CDataAppointment& record, CTerminRecordBuffer& buffer);
    // The row with the record id (ten digits) into the record and the buffer, under the busy
    // counter. FALSE for an id the table does not hold, and after message 40008 when the row could
    // not be read.
    BOOL ReadAppointment(LPCTSTR lpszRecordId, CDataAppointment& record, CTerminRecordBuffer& buffer);
    BOOL ReadTask(LPCTSTR lpszRecordId, CDataAppointment& record, CTerminRecordBuffer& buffer);
    // The footprint ("%04d") of the id, from the to-do map first, then the appointment map; empty
    // for an empty or unknown id.
    CString GetItemFootprint(LPCTSTR lpszRecordId) const;

    // ---- reminder results (user-interface thread; CDataControllerReminders.cpp) -------------------
    // Both the controller's and the main frame's busy counters are raised while they work.
    // Acknowledges the reminder of the entry: its row gets STATUS "N" (and REMIND "0" unless it is
    // a series), changed under its record lock; then the timer goes. bRemoveOnly: only the timer
    // goes. 1; 0 (timer kept) when the row is held by another station or could not be written. An
    // id in neither map changes no row, and its timer still goes.
    int AcknowledgeReminder(long nRecordId, BOOL bRemoveOnly);
    // Postpones the reminder: the postponement copy, a row with MOVERECID = the id, STATUS "C", no
    // lead time and no series, due at now + span, is written (over the row of nCopyId when that
    // is given and can be locked, else as a new row); only then is the entry saved with STATUS
    // "D" and its timer deleted (not for a series or a copy); the update thread then loads the
    // copy. TRUE only when both rows were written. On failure message 40062, and the entry keeps
    // its status and timer (a new copy written before the entry's save failed is deleted again).
    BOOL PostponeReminder(LPCTSTR lpszRecordId, const CDataAppointment& reminder, const COleDateTimeSpan& span,
                          long nCopyId);
    // Moves the entry by the span (an appointment keeps its duration, ending at 23:59 at the
    // latest; a to-do's due time moves) with STATUS "C", saved without a dialog: only the dates
    // and the status go over the row (see SaveAppointment), and the entry's timer changes only
    // when the save succeeded. The save's result.
    BOOL MoveItemBySpan(LPCTSTR lpszRecordId, const CDataAppointment& record, const COleDateTimeSpan& span);
    // Stores the next occurrence (D_NEXT_OC) of the entry; the save's result, FALSE for id 0, a
    // date that is not valid or an id in neither map.
    BOOL SetNextOccurrence(long nRecordId, const COleDateTime& next);
    // Postpones the reminder of every single reminder window by the span chosen there, with the
    // timer job's polling stopped and a progress dialog; the windows of the reminders postponed
    // go. 1 when all were postponed; 0 after message 40062 when one was not, or when no window is
    // open.
    int PostponeReminders();

    // ---- filters (user-interface thread; CDataControllerFilters.cpp) ------------------------------
    // Each change empties the maps it concerns (with the timers of their entries: only the
    // entries loaded again get theirs back) and has the update thread load them again, waiting
    // until it has; the views then get hint 0. The link filters and the to-do filter dialog wait
    // for the update thread in steps of their own (CControllerTimings); the others also stop the
    // timer job's polling and raise the main frame's busy counter meanwhile. All answer 1.
    // nFlags kLinkUser: the filter user becomes the user (both kinds are loaded again); kLinkRecord:
    // only entries linked to the record (path, record id text) of the linked database. Neither:
    // nothing. The filter user before is kept for ResetFilters.
    enum { kLinkRecord = 1, kLinkUser = 4 };
    int SetAppointmentLinkFilter(int nFlags, LPCTSTR lpszLinkPath, LPCTSTR lpszLinkRecord, LPCTSTR lpszUser);
    int SetTaskLinkFilter(int nFlags, LPCTSTR lpszLinkPath, LPCTSTR lpszLinkRecord, LPCTSTR lpszUser);
    // The appointments' status (bNotStatus: not that status), private and series conditions and
    // first-day range; subject and partner back to "all", the reminder condition emptied. Nothing
    // when that changes no value.
    int SetAppointmentFilter(LPCTSTR lpszStatus, LPCTSTR lpszPrivate, LPCTSTR lpszSeries, const COleDateTime& firstFrom,
                             const COleDateTime& firstTo, BOOL bNotStatus);
    // The to-dos' priority range, state (bNotTodoState: not that state) and last-day range;
    // subject and partner back to "all", private and reminder conditions emptied. Nothing when
    // that changes no value.
    int SetTaskFilter(LPCTSTR lpszPrioFrom, LPCTSTR lpszPrioTo, LPCTSTR lpszTodoState, const COleDateTime& lastFrom,
                      const COleDateTime& lastTo, BOOL bNotTodoState);
    // The filter dialogs; their choices apply after OK. A user choice of " < Alle Benutzer >"
    // shows every user's entries; without a user choice, a user who may not filter by other users
    // (rights bit 1) sees their own.
    int EditAppointmentFilter();
    int EditTaskFilter();
    // The shared filter user (empty: all users); nothing when it is the one set.
    int SetFilterUser(LPCTSTR lpszUser);
    // Every filter back to its start; the filter user becomes the one before the last link filter
    // (with rights bit 1) or the current user.
    int ResetFilters();
    CString GetPreviousFilterUser() const { return m_strPreviousFilterUser; }

    // ---- reminder windows, resources, time conflicts (user-interface thread;
    //      CDataControllerWindows.cpp) -----------------------------------------------------------
    // The open single reminder windows by record id (owned: whoever removes one deletes it). The
    // main frame enters and removes them.
    CReminderWindowMap& GetReminderWindows() { return m_reminderWindows; }
    // The collective reminder window, NULL until it is needed.
    CDataMultiReminderWindow* GetCollectiveReminder() const { return m_pCollectiveReminder; }
    // Adds the entry to the collective reminder window, which is made (parent the desktop, telling
    // the main window) when there is none. FALSE when it cannot be made.
    BOOL ShowInCollectiveReminder(long nRecordId);
    // After the setting "MultiReminderDlg" changed: on, every single window is hidden and its
    // entry goes to the collective window; off, the collective window goes and every single
    // window is shown on the desktop. 1.
    int ArrangeReminderWindows();
    // The resource names of "ox_res.ini" in the program's directory, section
    // "chronivo Resources", keys "RES_0", "RES_1", ... up to the first that is missing or empty.
    // 1.
    int LoadResourceList(CStringList& list);
    // Writes the section anew: the names under "RES_0" on in list order. 0.
    int SaveResourceList(const CStringList& list);
    // The controller's resource list becomes a copy of the list.
    void SetResourceList(const CStringList& list);
    // The appointments of the day whose time overlaps nFrom..nTo (minutes; both ends exclusive),
    // of the users (every user when empty), as lines "subject\tpartner\tplace\tuser\tid\tHH:MM -
    // HH:MM" in day-list order. bSkipAllDay: entries from 0 to 1439 never collide; bSkipPrivate:
    // private ones are left out. 1 when none was listed (the result is not touched when the day
    // has no entries), 0 otherwise; -1 when the schedule table could not be opened (message 40003
    // when it is not there: it is never made anew here).
    int ListTimeConflicts(long nDay, int nFrom, int nTo, BOOL bSkipAllDay, BOOL bSkipPrivate, const CStringList& users,
                          CStringList& result);

    // ---- linked applications and delegation (user-interface thread; CDataControllerLinked.cpp,
    //      CDataControllerDelegation.cpp) ---------------------------------------------------------
    // The applications of the subkeys of "<registry path>\Apps" below HKEY_CURRENT_USER, in
    // registry order, each with its users and actions, then the program's own application "OXAPP"
    // with the mail and open-file actions; the list loaded before goes.
    void LoadLinkedApplications();
    // Every application loads its users again; TRUE when any has users.
    BOOL LoadLinkedUsers();
    CLinkedApplicationList& GetLinkedApplications() { return m_linkedApplications; }
    // The application whose id is the text (an entry's APP_ID), or NULL.
    CLinkedApplication* FindLinkedApplication(LPCTSTR lpszAppId) const;
    // Asks the linked application of the entry of the record id (appointment map first, then
    // to-do map) to open the entry's linked record ("OXJumpToRec" with DB_RECID as "%ld",
    // DB_PATH and an automation object of the entry): 1 when it did. An entry without a complete
    // link (APP_ID, DB_PATH, DB_RECID not 0) gets message 41203; an application that is not
    // known, cannot be reached or refuses the call (or no automation object of the entry to be
    // had) message 40069. 0 without a message for an id in neither map.
    int GoToLinkedRecord(LPCTSTR lpszRecordId);
    // Delegates the entry of the record id (appointment map first, then to-do map) through the
    // delegation dialog (rights bit 2; other users' entries need bit 4, else message 40066): a
    // copy with the chosen user as USER, the current user as L_USER and today as L_DAT is written
    // as a new row (new RECORDID and FOOTPRINT); with the dialog's move option the original is
    // deleted afterwards, and only when the copy was written (message 40048 when it was not: the
    // original stays). 40074 for an id in neither map. The views get hint 103 for a to-do, else
    // 100.
    void DelegateItem(LPCTSTR lpszRecordId);
    // The same for every id of the list with one dialog (only with rights bit 2): entries that
    // are gone or refused are passed over and reported once after the loop (40066, then 40074).
    void DelegateItems(const CStringList& ids);
    // For tests: called before a delegated copy is written; FALSE makes that write fail as a
    // failing table write would.
    void SetCopyWriteHook(std::function<BOOL(const CDataAppointment&)> hook) { m_copyWriteHook = std::move(hook); }

    // ---- the collections ---------------------------------------------------------------------------
    CDayIndex& GetDayIndex() { return m_dayIndex; }
    CItemMap& GetAppointmentMap() { return m_appointmentMap; }
    CItemMap& GetTaskMap() { return m_todoMap; }
    CIdList& GetAppointmentList() { return m_appointmentList; }
    CIdList& GetTaskList() { return m_todoList; }

    // ---- maintenance of the schedule table (user-interface thread) -------------------------------
    // Each runs with the wait cursor, the timer job's polling stopped, the main frame's busy counter
    // and the controller's busy counter raised, so that neither the update thread nor a reminder
    // touches the tables meanwhile; the controller's table instances are open again afterwards
    // (IsOpen tells whether they opened).
    //
    // Rebuilds the index files of the schedule table: in place on the appointment instance while
    // every instance stays open; when that fails, the instances are closed, the files are made anew
    // on a temporary exclusive instance (message 40019 when the table cannot be had exclusively,
    // 40050 when an index cannot be made) and the instances opened again. TRUE when the indexes
    // were rebuilt.
    BOOL Reindex();
    // Unless bSilent, asks first (41004; any answer but Yes ends it). With bCleanUp the dead rows
    // are marked deleted (RemoveInvalidRows); then, with the instances closed, a temporary
    // exclusive instance removes the rows marked deleted for good and makes the index files anew.
    // Unless bSilent, message 40019 when the table cannot be had exclusively (another program
    // instance has it open), 40068 when packing fails, 40050 when an index cannot be made. TRUE
    // when the table was packed and its indexes made.
    BOOL Reorganize(BOOL bSilent, BOOL bCleanUp);
    // Marks the dead rows of the schedule table deleted, through a temporary shared instance: rows
    // whose RECORDID is empty or 0, and postponement copies (MOVERECID set) whose STATUS is "N".
    // A row another station holds locked stays (message 40011). TRUE when the walk reached the end
    // of the table; FALSE when the table did not open or an engine failure ended the walk.
    BOOL RemoveInvalidRows();

private:
    // One kind of entry (appointments or to-dos) and what belongs to it.
    struct EntrySide {
        BOOL bTodo;
        CTerminTable* pTable;
        CItemMap* pMap;
        CIdList* pList;
        CTableFileStamp* pStamp;
        LONG* pStampGeneration;
        LONG* pMoved;
        // The timer job holds no timer of this kind (just opened, or its timers deleted): the
        // next full load need not delete each entry's timer before it registers it.
        BOOL* pTimersCleared;
        LPARAM lHintCreated, lHintDeleted, lHintChanged;
    };
    // A series waiting for the occurrence thread: the key (with a reference) and the day serials.
    // The queue, then the thread owns it.
    struct OccurrenceHolder;

    // The start (see the class comment): session, tables, user, rights, filter user, timer job,
    // both loads, polling, update event, update thread.
    void Initialize();
    void StartUpdateThread();
    void StopThreads();
    static UINT ReloadWorker(LPVOID pParam);
    static UINT AddOccurrencesThread(LPVOID pParam);
    // Queues the series for the occurrence thread, which is started when it does not run.
    void QueueOccurrences(OccurrenceHolder* pHolder);
    // Spreads the series over the day index until its days end, its key is retired or the
    // controller stops.
    void SpreadOccurrences(OccurrenceHolder& holder);

    EntrySide AppointmentSide();
    EntrySide TodoSide();
    void Reload(EntrySide& side, BOOL bIgnoreBusy);
    void ReloadFull(EntrySide& side, BOOL bIgnoreBusy);
    void ReloadIncremental(EntrySide& side, BOOL bIgnoreBusy);
    BOOL SetPassFilter(const EntrySide& side);
    // The side's id list becomes the ids, in one locked step.
    void ReplaceList(const EntrySide& side, const std::vector<DWORD>& ids);
    // The busy counter stops a pass (unless the pass ignores it).
    BOOL IsPassStopped(BOOL bIgnoreBusy) const { return m_bStop || (!bIgnoreBusy && m_nBusy != 0); }
    // The stamp of the side's file, and the generation of its remembered stamp; TRUE when the
    // stamp differs from the remembered one.
    BOOL StampChanged(const EntrySide& side, CTableFileStamp& stamp, LONG& nGeneration);
    // Remembers the stamp after a complete pass, unless it was reset meanwhile.
    void RememberStamp(const EntrySide& side, const CTableFileStamp& stamp, LONG nGeneration);
    // A reload pass's read of the fields of the mask of row n from its stored record (as
    // CDbTable::ReadRows hands it out); FALSE when the row could not be read.
    BOOL ReadPassRow(CTerminRecordBuffer& row, long nRecNo, const char* pRecord, DWORD dwMask);
    // Empties the appointment map with the day index and/or the to-do map; the timers of the
    // entries they held go too (a timer exists only for an entry a map holds).
    void ForgetEntries(BOOL bAppointments, BOOL bTodos);

    // Registration of a read-back row, and the removal of an entry's key (map, day index) and
    // timer.
    void RegisterEntry(const EntrySide& side, CDataAppointment& record, LPCTSTR lpszRecordId,
                       LPCTSTR lpszFootprint, CDayEntries* pDays = NULL);
    void UnregisterEntry(const EntrySide& side, long nRecordId);
    BOOL NewEntry(EntrySide side, CDataAppointment& record);
    int EditEntry(EntrySide side, LPCTSTR lpszRecordId);
    BOOL SaveEntry(EntrySide side, CDataAppointment& record, CString& strRecordId, BOOL bNoDialog,
                   BOOL bNotifyViews);
    int DeleteEntry(EntrySide side, LPCTSTR lpszRecordId, BOOL bAsk);
    // A save without a dialog over the locked, just read row: the record becomes the row with the
    // members the caller changed since the record was read put over it. FALSE when another
    // station changed one of those members meanwhile to another value (nothing may be written).
    BOOL TakeCallersChanges(CTerminRecordBuffer& row, CDataAppointment& record);
    // The entry dialog of the side; IDCANCEL without dialogs.
    int RunEntryDialog(const EntrySide& side, CDataAppointment& record, BOOL bNew, CStringList& users);
    // Whether the user information a new or edited entry needs is there (message 41201 if not).
    BOOL CheckUserInformation();
    // Another user's private entry.
    BOOL IsForeignPrivate(const CDataAppointment& record) const;
    // The pauses after a saved appointment.
    void PauseAfterSave(const EntrySide& side, const CDataAppointment& record);
    void Pause(DWORD dwMilliseconds) const;
    void TellViews(LPARAM lHint, CStringList* pIds, LPCTSTR lpszRecordId);

    // Reads the row of the id under the busy counter; bReportFailure: message 40008 when the row
    // was found but could not be read.
    BOOL ReadEntry(CTerminTable* pTable, LPCTSTR lpszRecordId, CDataAppointment& record, CTerminRecordBuffer& buffer,
                   BOOL bReportFailure);
    // One step of a walk (step gives the key at the position and moves it on; false or an empty
    // key ends the step with 0): reads the entry, passing over moved ones.
    int NextInWalk(const std::function<bool(POSITION&, CItemVersionRef&)>& step, POSITION& rPosition,
                   BOOL bAppointments, CDataAppointment& record, CTerminRecordBuffer& buffer);
    CString GetSettingsRights() const;
    // Dispatches the messages waiting for this thread (a dialog that just closed leaves its
    // repaints).
    static void PumpWaitingMessages();

    // PostponeReminder without its message (the bulk postponement reports once).
    BOOL Postpone(LPCTSTR lpszRecordId, const CDataAppointment& reminder, const COleDateTimeSpan& span,
                  long nCopyId);
    // Reminder results: the row of the id locked and read into a buffer of the table of its map
    // (the appointment map first); 1, 0 when neither map holds the id or its row is gone, -1 when
    // the row is held by another station.
    int LockEntryRow(long nRecordId, std::unique_ptr<CTerminRecordBuffer>& row, BOOL& bTodo);
    // The entry of the id read from the table of its map (the appointment map first).
    BOOL ReadEntryOfId(long nRecordId, CDataAppointment& record, BOOL& bTodo);

    // Filters: which reload sequence, and which maps it empties.
    struct FilterReload {
        BOOL bLinkFilter;
        BOOL bAppointments;
        BOOL bTodos;
    };
    // The reload sequence: under the busy counter, change() stores the new values and the maps
    // are emptied; then the update thread loads them and this thread waits until it has.
    void RunFilterReload(const FilterReload& how, const std::function<void()>& change);
    // Waits until an update-thread wake-up begun after nBegun wake-ups has ended (at most the
    // polls); FALSE when the time ran out.
    BOOL WaitForUpdatePass(LONG nBegun, DWORD dwPoll, int nPolls);
    // The filter user a filter dialog's choice gives (unchanged when it gives none).
    CString FilterUserOfChoice(const CEntryFilterChoice& choice) const;
    // Every filter value but the filter user back to its start.
    void ClearFilterValues();
    // The controller whose timer job reports through TimerMessageCallback: set to pController;
    // with pExpected, only when that one is still registered.
    static void RegisterTimerCallback(CDataController* pController, CDataController* pExpected = NULL);

    // The frame of a maintenance operation (wait cursor, polling, both busy counters).
    struct MaintenanceFrame;
    // Closes both table instances (with their look-up instances).
    void CloseTables();
    // The work on a temporary exclusive instance while the controller's instances are closed:
    // with bPack the rows marked deleted are removed, then every index file is made anew. With
    // bReport the failure's message (40019, 40068 or 40050) is shown. TRUE when all was done.
    BOOL MaintainExclusively(BOOL bPack, BOOL bReport);

    // Delegation: the entry of the id read for delegation (appointment map first) into the record
    // and the row's buffer; 1 read, 0 gone, -1 refused for rights.
    int ReadEntryToDelegate(LPCTSTR lpszRecordId, CDataAppointment& record, std::unique_ptr<CTerminRecordBuffer>& row,
                            BOOL& bTodo);
    // Writes the row's buffer as a new row for the user (every field of the row kept), then
    // (bMove) deletes the original; FALSE when the copy could not be written.
    BOOL WriteDelegatedCopy(const CTerminRecordBuffer& source, const CDataAppointment& record, BOOL bTodo,
                            LPCTSTR lpszRecordId, LPCTSTR lpszUser, BOOL bMove);

    // ---- members in the order of their roles ----
    // The file stamps of the last complete passes (empty: the next pass reads every row), and
    // their generations, raised whenever a stamp is reset.
    CCriticalSection m_stampLock;
    CTableFileStamp m_appointmentStamp;
    CTableFileStamp m_todoStamp;
    LONG m_nAppointmentStampGeneration;
    LONG m_nTodoStampGeneration;
    CString m_strDataPath;
    CString m_strHostId;
    CDbSession* m_pSession;
    CTerminTable* m_pAppointmentTable;
    CTerminTable* m_pTodoTable;
    // Destroyed last: the day lists hold the last references of the keys.
    CDayIndex m_dayIndex;
    CItemMap m_appointmentMap;
    CItemMap m_todoMap;
    CIdList m_appointmentList;
    CIdList m_todoList;
    // Changed only by the user-interface thread; the update thread reads it under the lock.
    mutable CCriticalSection m_currentUserLock;
    CString m_strCurrentUser;
    DWORD m_nRights;
    long m_nTimerJob;
    CDueMap m_dueMap;
    volatile LONG m_bStop;
    volatile LONG m_nBusy;
    LONG m_nMovedAppointments;
    LONG m_nMovedTodos;
    // The record id of the entry deleted last and of the entry saved last, the views' hint
    // objects.
    CStringList m_deletedIds;
    CStringList m_changedIds;

    // The filters (the filter user is shared by both; the rest per kind). An empty text, a null
    // date, a record id 0 and an "all" value impose no condition.
    mutable CCriticalSection m_filterUserLock;
    CString m_strFilterUser;
    CString m_strAppointmentAppId, m_strTodoAppId;
    CString m_strAppointmentLinkPath, m_strTodoLinkPath;
    long m_nAppointmentLinkRecord, m_nTodoLinkRecord;
    CString m_strAppointmentPrivate, m_strTodoPrivate;
    CString m_strAppointmentRemind, m_strTodoRemind;
    CFilterValue m_appointmentSubject, m_appointmentPartner, m_todoSubject, m_todoPartner;
    CString m_strStatus;
    BOOL m_bNotStatus;
    CString m_strSeries;
    COleDateTime m_dtFirstFrom, m_dtFirstTo;
    CString m_strPrioFrom, m_strPrioTo;
    CString m_strTodoState;
    BOOL m_bNotTodoState;
    COleDateTime m_dtLastFrom, m_dtLastTo;

    CStringList m_resources;
    CString m_strPreviousFilterUser;
    BOOL m_bAppointmentTimersCleared;
    BOOL m_bTodoTimersCleared;
    CReminderWindowMap m_reminderWindows;
    CDataMultiReminderWindow* m_pCollectiveReminder;
    CWinThread* m_pUpdateThread;
    HANDLE m_hUpdateEvent;
    // Set once when the controller stops (manual reset).
    HANDLE m_hStopEvent;
    volatile LONG m_nReloading;
    // The update thread's wake-ups begun and ended.
    volatile LONG m_nUpdateCyclesStarted;
    volatile LONG m_nUpdateCyclesDone;
    CControllerTimings m_timings;
    std::function<void(long)> m_rowReadHook;
    std::function<BOOL(const CDataAppointment&)> m_copyWriteHook;
    std::function<BOOL(const CDataAppointment&)> m_entryWriteHook;
    std::function<BOOL(long)> m_passReadHook;
    // The linked applications (owned).
    CLinkedApplicationList m_linkedApplications;

    CTimerLibrary* m_pTimers;
    // The occurrence thread: its queue, the series it spreads, whether it runs (it decides to end
    // under the lock), its object (kept until waited for) and the event set while it has nothing
    // to do.
    CCriticalSection m_occurrenceLock;
    std::deque<OccurrenceHolder*> m_occurrenceQueue;
    int m_nOccurrencesInHand;
    BOOL m_bOccurrenceThreadRuns;
    CWinThread* m_pOccurrenceThread;
    HANDLE m_hOccurrencesDone;

    // The walks of the user-interface thread, each over a snapshot of its own.
    CWalkSnapshots<CItemVersionRef> m_dayWalks;
    CWalkSnapshots<CItemVersionRef> m_mapWalks;
    CWalkSnapshots<DWORD> m_listWalks;
};
