// Another station for the tests of several controllers on one data directory: a data controller
// of its own (recording timer library, short waits) in a process of its own, driven one command a
// line on standard input; each command answers one line on standard output.
//
//   data_controller_probe <data directory> <user>
//
//   new <subject> <day serial> <start minute>   saves a new appointment of the user without a
//                                                dialog: "ok <record id>" or "fail"
//   series <subject> <day serial> <days>         the same for a daily series of that many days
//   change <id> <subject> <day serial>           saves the entry with the subject and day:
//                                                "ok" or "fail"
//   delete <id>                                  deletes the entry without asking: "ok" or "fail"
//   hold <id>                                    locks the entry's row and keeps the lock:
//                                                "ok" or "locked"
//   release                                      releases the held row: "ok"
//   place <id> <text>                            writes the text into the row's place (ORT), under
//                                                the row's lock: "ok", or "locked" when another
//                                                station holds the row
//   filetime                                     the table's file time (DOS date and time): "ok <n>"
//   quit                                         ends the program
//
// Subjects and texts are single words. Message boxes go to the controls library's log (the
// parent's unattended settings are inherited).
#include <afxdisp.h>

#include <stdio.h>
#include <stdlib.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "CDataAppointment.h"
#include "CDataController.h"
#include "CRecordingTimerLibrary.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"

namespace {

std::string IdText(long nId)
{
    char szId[16];
    snprintf(szId, sizeof szId, "%010ld", nId);
    return szId;
}

class CProbe {
public:
    CProbe(const char* pszDirectory, const char* pszUser) : m_strUser(pszUser)
    {
        CControllerTimings timings;
        timings.dwUpdateInterval = INFINITE;
        timings.dwBusyPoll = 5;
        timings.dwReloadNowPoll = 10;
        timings.dwSavePause = timings.dwSeriesPause = timings.dwNoticePause = timings.dwDeletePause = 0;
        m_controller = std::make_unique<CDataController>(pszDirectory, pszUser, &m_timers, &timings);
    }

    bool IsOpen() const { return m_controller->IsOpen() != FALSE; }

    std::string Run(const std::string& line)
    {
        std::istringstream in(line);
        std::string command;
        in >> command;
        if (command == "new" || command == "series") {
            std::string subject;
            long nDay = 0, nValue = 0;
            in >> subject >> nDay >> nValue;
            CDataAppointment record;
            record.m_strUser = m_strUser.c_str();
            record.m_strSubject = subject.c_str();
            record.m_bRemind = TRUE;
            record.m_pattern.m_nPatternStart = record.m_pattern.m_nPatternEnd = nDay;
            if (command == "new")
                record.m_pattern.m_nStartTime = (short)nValue;
            else {
                record.m_bSeries = TRUE;
                record.m_pattern.m_nType = CDataSerienTermin::daily;
                record.m_pattern.m_nDailyInterval = 1;
                record.m_pattern.m_nPatternEnd = nDay + nValue - 1;
                record.m_pattern.m_nStartTime = 480;
            }
            CString strId;
            if (!m_controller->SaveAppointment(record, strId, TRUE, FALSE))
                return "fail";
            return "ok " + std::to_string(CItemVersion::ParseNumber(strId));
        }
        if (command == "change") {
            long nId = 0, nDay = 0;
            std::string subject;
            in >> nId >> subject >> nDay;
            CDataAppointment record;
            CTerminRecordBuffer buffer(m_controller->GetAppointmentTable());
            if (!m_controller->ReadAppointment(IdText(nId).c_str(), record, buffer))
                return "fail";
            record.m_strSubject = subject.c_str();
            record.m_pattern.m_nPatternStart = record.m_pattern.m_nPatternEnd = nDay;
            CString strId = IdText(nId).c_str();
            return m_controller->SaveAppointment(record, strId, TRUE, FALSE) ? "ok" : "fail";
        }
        if (command == "delete") {
            long nId = 0;
            in >> nId;
            return m_controller->DeleteAppointment(IdText(nId).c_str(), FALSE) == 1 ? "ok" : "fail";
        }
        if (command == "hold" || command == "place") {
            long nId = 0;
            std::string text;
            in >> nId >> text;
            m_held = std::make_unique<CTerminRecordBuffer>(m_controller->GetAppointmentTable());
            m_held->AttachFields();
            const long nRecNo = m_controller->GetAppointmentTable()->FindRecordById(IdText(nId).c_str());
            if (nRecNo <= 0 || m_held->LockAndRead(nRecNo) != 0) {
                m_held.reset();
                return "locked";
            }
            if (command == "hold")
                return "ok";
            m_held->SetFieldValue("ORT", text.c_str());
            const bool written = m_held->WriteRecord() == 0;
            m_held.reset();
            return written ? "ok" : "fail";
        }
        if (command == "release") {
            m_held.reset();
            return "ok";
        }
        if (command == "filetime")
            return "ok " + std::to_string(m_controller->GetAppointmentTable()->GetFileTime());
        return "unknown";
    }

private:
    std::string m_strUser;
    CRecordingTimerLibrary m_timers;
    std::unique_ptr<CDataController> m_controller;
    std::unique_ptr<CTerminRecordBuffer> m_held;
};

} // namespace

int main(int argc, char** argv)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    if (argc != 3) {
        printf("usage: data_controller_probe <data directory> <user>\n");
        return 2;
    }
    CProbe probe(argv[1], argv[2]);
    printf("%s\n", probe.IsOpen() ? "ready" : "not open");
    fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "quit")
            break;
        std::string answer;
        try {
            answer = probe.Run(line);
        } catch (CException* e) {
            e->Delete();
            answer = "exception";
        }
        printf("%s\n", answer.c_str());
        fflush(stdout);
    }
    return 0;
}
