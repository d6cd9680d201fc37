#include "ControllerTestKit.h"

namespace controllertest {

CDataAppointment Record(const Entry& e)
{
    CDataAppointment a;
    a.m_strSubject = e.subject.c_str();
    a.m_strUser = e.user.c_str();
    a.m_bTodo = e.todo;
    a.m_bSeries = e.series;
    a.m_pattern.m_nPatternStart = Day(e.start);
    a.m_pattern.m_nPatternEnd = Day(e.end);
    a.m_pattern.m_bDefaultEnd = FALSE;
    a.m_pattern.m_nStartTime = (short)e.startTime;
    a.m_pattern.m_nEndTime = (short)e.endTime;
    if (e.pattern)
        e.pattern(a.m_pattern);
    a.m_bRemind = e.remind;
    a.m_bPrivate = e.isPrivate;
    a.m_nRemindSpan = e.lead;
    a.m_strStatus = e.status.c_str();
    a.m_strMovedRecordId = e.movedId.c_str();
    a.m_strTodoState = e.todoState.c_str();
    a.m_strParticipants = e.partner.c_str();
    a.m_strPlace = e.place.c_str();
    a.m_strPriority = e.priority.c_str();
    a.m_strDbPath = e.dbPath.c_str();
    a.m_nDbRecId = e.dbRecId;
    a.m_strAppId = e.appId.c_str();
    if (e.nextOccurrence != nullptr) {
        const long nDay = Day(e.nextOccurrence);
        a.m_dtNextOccurrence = CDateValue(nDay, 0);
    }
    return a;
}

} // namespace controllertest
