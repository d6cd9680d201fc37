// The program's side of ReminderRowsTest.py: writes entries into the schedule table of a data
// directory, starts a data controller on it (recording timer library, short waits) and answers
// reminders the way the reminder windows do, so that the script can read the rows it left with an
// independent reader.
//
//   reminder_probe <data directory>
//   reminder_probe move <data directory>
//   reminder_probe place <data directory> <record id> <place>
//
// "move" is station A of the two-station move: it writes the entry "Besprechung" (1 March 2005,
// 10:00 to 11:00, place "Raum 1"), starts a data controller, takes a copy of the entry as a
// reminder window holds it, prints "id Besprechung <record id>", and waits (at most a minute) for
// the named event "OXTestStationB" before it moves its copy by one hour ("result move <answer>").
// "place" is station B: a table instance of its own changes the place of the row, then sets the
// event.
//
// Entries (user "ANNA", 1 March 2005, reminders on): "Einzeln" 09:00, "Serie" a daily series
// 08:00 to 20 March, "Spaet" 09:00 lead 15, "Aufgabe" a to-do due 10 March 10:00. Then:
// acknowledge "Einzeln" and "Serie"; postpone "Spaet" by 15 minutes and "Aufgabe" by 2 hours;
// postpone the copy of "Spaet" once more by 30 minutes (the copy is rewritten).
// Output: "id <subject> <record id>" per entry and copy, "now <YYYYMMDDHHMM>" before the
// postponements, "result <operation> <answer>" per operation, then "ok".
#include <afxdisp.h>

#include <stdio.h>

#include <memory>
#include <string>

#include "CDataAppointment.h"
#include "CDataController.h"
#include "CDateValue.h"
#include "CDbSession.h"
#include "CRecordingTimerLibrary.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"

namespace {

const char kUser[] = "ANNA";

CDataAppointment Entry(const char* pszSubject, int nStartTime)
{
    CDataAppointment a;
    a.m_strSubject = pszSubject;
    a.m_strUser = kUser;
    a.m_bRemind = TRUE;
    a.m_pattern.m_nPatternStart = a.m_pattern.m_nPatternEnd = CDateValue(COleDateTime(2005, 3, 1, 0, 0, 0)).GetDaySerial();
    a.m_pattern.m_bDefaultEnd = FALSE;
    a.m_pattern.m_nStartTime = (short)nStartTime;
    return a;
}

long Write(CTerminTable& table, CDataAppointment a)
{
    CTerminRecordBuffer row(&table);
    row.AttachFields();
    row.PutAppointment(a);
    if (row.WriteRecord() != 0)
        return 0;
    const long nId = atol(table.FieldValue("RECORDID", TRUE));
    row.UnlockRecord();
    printf("id %s %ld\n", (LPCTSTR)a.m_strSubject, nId);
    return nId;
}

CString IdText(long nId)
{
    CString strId;
    strId.Format("%010ld", nId);
    return strId;
}

int Run(const char* pszDirectory)
{
    long nSingle, nSeries, nLate, nTodo;
    {
        CDbSession session;
        CTerminTable table(&session, FALSE);
        table.SetUserName(kUser);
        if (table.OpenMain(pszDirectory, 0, 0) == DB_OPEN_FAILED)
            return 1;
        nSingle = Write(table, Entry("Einzeln", 540));
        CDataAppointment series = Entry("Serie", 480);
        series.m_bSeries = TRUE;
        series.m_pattern.m_nType = CDataSerienTermin::daily;
        series.m_pattern.m_nDailyInterval = 1;
        series.m_pattern.m_nPatternEnd = series.m_pattern.m_nPatternStart + 19;
        nSeries = Write(table, series);
        CDataAppointment late = Entry("Spaet", 540);
        late.m_nRemindSpan = 15;
        nLate = Write(table, late);
        CDataAppointment todo = Entry("Aufgabe", 600);
        todo.m_bTodo = TRUE;
        todo.m_pattern.m_nPatternEnd = todo.m_pattern.m_nPatternStart + 9;
        nTodo = Write(table, todo);
    }
    CRecordingTimerLibrary timers;
    CControllerTimings timings;
    timings.dwUpdateInterval = INFINITE;
    timings.dwBusyPoll = 5;
    timings.dwSavePause = timings.dwSeriesPause = timings.dwNoticePause = timings.dwDeletePause = 0;
    CDataController controller(pszDirectory, kUser, &timers, &timings);
    if (!controller.IsOpen())
        return 1;
    printf("result acknowledge-single %d\n", controller.AcknowledgeReminder(nSingle, FALSE));
    printf("result acknowledge-series %d\n", controller.AcknowledgeReminder(nSeries, FALSE));
    const COleDateTime now = COleDateTime::GetCurrentTime();
    printf("now %s\n", (LPCTSTR)now.Format("%Y%m%d%H%M"));

    CDataAppointment record;
    CTerminRecordBuffer buffer(controller.GetAppointmentTable());
    controller.ReadAppointment(IdText(nLate), record, buffer);
    printf("result postpone-late %d\n",
           controller.PostponeReminder(IdText(nLate), record, COleDateTimeSpan(0, 0, 15, 0), 0) ? 1 : 0);
    CTerminRecordBuffer todoBuffer(controller.GetTaskTable());
    controller.ReadTask(IdText(nTodo), record, todoBuffer);
    printf("result postpone-todo %d\n",
           controller.PostponeReminder(IdText(nTodo), record, COleDateTimeSpan(0, 2, 0, 0), 0) ? 1 : 0);

    // The copy of "Spaet": the row that carries its id as moved record id.
    controller.ReloadNow();
    long nCopy = 0;
    for (const CItemVersionRef& key : controller.GetAppointmentMap().GetKeys())
        if (controller.ReadAppointment(key->GetIdText(), record, buffer) && atol(record.m_strMovedRecordId) == nLate)
            nCopy = key->GetRecordId();
    printf("id Kopie %ld\n", nCopy);
    if (nCopy == 0)
        return 1;
    controller.ReadAppointment(IdText(nCopy), record, buffer);
    printf("result postpone-copy %d\n",
           controller.PostponeReminder(IdText(nLate), record, COleDateTimeSpan(0, 0, 30, 0), nCopy) ? 1 : 0);
    printf("ok\n");
    return 0;
}

const char kStationEvent[] = "OXTestStationB";

int Move(const char* pszDirectory)
{
    HANDLE hEvent = CreateEventA(NULL, TRUE, FALSE, kStationEvent);
    if (hEvent == NULL)
        return 1;
    long nId;
    {
        CDbSession session;
        CTerminTable table(&session, FALSE);
        table.SetUserName(kUser);
        if (table.OpenMain(pszDirectory, 0, 0) == DB_OPEN_FAILED)
            return 1;
        CDataAppointment entry = Entry("Besprechung", 600);
        entry.m_pattern.m_nEndTime = 660;
        entry.m_strPlace = "Raum 1";
        nId = Write(table, entry);
    }
    CRecordingTimerLibrary timers;
    CControllerTimings timings;
    timings.dwUpdateInterval = INFINITE;
    timings.dwBusyPoll = 5;
    timings.dwSavePause = timings.dwSeriesPause = timings.dwNoticePause = timings.dwDeletePause = 0;
    CDataController controller(pszDirectory, kUser, &timers, &timings);
    if (!controller.IsOpen())
        return 1;
    // The reminder window's copy, taken before station B's change.
    CDataAppointment copy;
    CTerminRecordBuffer buffer(controller.GetAppointmentTable());
    if (!controller.ReadAppointment(IdText(nId), copy, buffer))
        return 1;
    fflush(stdout);
    if (WaitForSingleObject(hEvent, 60000) != WAIT_OBJECT_0)
        return 1;
    CloseHandle(hEvent);
    printf("result move %d\n", controller.MoveItemBySpan(IdText(nId), copy, COleDateTimeSpan(0, 1, 0, 0)) ? 1 : 0);
    printf("ok\n");
    return 0;
}

int Place(const char* pszDirectory, const char* pszId, const char* pszPlace)
{
    {
        CDbSession session;
        CTerminTable table(&session, FALSE);
        table.SetUserName("BERT");
        if (table.OpenMain(pszDirectory, 0, 0) == DB_OPEN_FAILED)
            return 1;
        const long nRecNo = table.FindRecordById(IdText(atol(pszId)));
        CTerminRecordBuffer row(&table);
        row.AttachFields();
        if (nRecNo <= 0 || row.LockAndRead(nRecNo) != 0)
            return 1;
        row.SetFieldValue("ORT", pszPlace);
        const BOOL bWritten = row.WriteRecord() == 0;
        row.UnlockRecord();
        if (!bWritten)
            return 1;
    }
    HANDLE hEvent = OpenEventA(EVENT_MODIFY_STATE, FALSE, kStationEvent);
    if (hEvent == NULL)
        return 1;
    SetEvent(hEvent);
    CloseHandle(hEvent);
    printf("ok\n");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    const std::string command = argc > 1 ? argv[1] : "";
    if (!(argc == 2 || (command == "move" && argc == 3) || (command == "place" && argc == 5))) {
        printf("usage: reminder_probe <data directory> | move <dir> | place <dir> <id> <place>\n");
        return 2;
    }
    int nResult;
    try {
        if (command == "move")
            nResult = Move(argv[2]);
        else if (command == "place")
            nResult = Place(argv[2], argv[3], argv[4]);
        else
            nResult = Run(argv[1]);
    } catch (CException* e) {
        e->Delete();
        nResult = 3;
    }
    fflush(stdout);
    return nResult;
}
