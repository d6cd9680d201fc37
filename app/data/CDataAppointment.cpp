#include "CDataAppointment.h"

#include "CAppSettings.h"
#include "CDataApplication.h"
#include "CDataUserSource.h"

IMPLEMENT_SERIAL(CDataAppointment, CDataImage, 1)

namespace {

COleDateTime NullDate()
{
    COleDateTime dt;
    dt.SetStatus(COleDateTime::null);
    return dt;
}

// The user of a new entry.
CString DefaultUser()
{
    CDataApplication* pApp = CDataApplication::Get();
    CDataUserSource* pUsers = pApp != NULL ? pApp->GetUserSource() : NULL;
    if (pUsers == NULL)
        return CString();
    CAppSettings* pSettings = pApp->GetSettings();
    CString strUser;
    if (pSettings != NULL && pSettings->m_bMarkFilterUser)
        strUser = pUsers->GetFilterUser();
    if (strUser.IsEmpty())
        strUser = pUsers->GetCurrentUser();
    return strUser;
}

} // namespace

CDataAppointment::CDataAppointment()
    : m_nVersion(1), m_bPrivate(FALSE), m_bRemind(FALSE), m_nRemindSpan(0), m_bSeries(FALSE), m_nDbRecId(0),
      m_bTodo(FALSE), m_nPercentDone(0), m_strUser(DefaultUser()), m_dtCreated(NullDate()), m_dtChanged(NullDate()),
      m_dtNextOccurrence(NullDate())
{
}

CDataAppointment::CDataAppointment(const CDataAppointment& other)
    : CDataImage(), m_nVersion(other.m_nVersion), m_pattern(other.m_pattern), m_action(other.m_action)
{
    CopyMembers(other);
}

CDataAppointment& CDataAppointment::operator=(const CDataAppointment& other)
{
    if (this != &other) {
        m_pattern = other.m_pattern;
        m_action = other.m_action;
        CopyMembers(other);
    }
    return *this;
}

CDataAppointment::~CDataAppointment() {}

void CDataAppointment::CopyMembers(const CDataAppointment& other)
{
    m_strRecordId = other.m_strRecordId;
    m_strSubject = other.m_strSubject;
    m_strParticipants = other.m_strParticipants;
    m_strPlace = other.m_strPlace;
    m_strNotes = other.m_strNotes;
    m_bPrivate = other.m_bPrivate;
    m_bRemind = other.m_bRemind;
    m_nRemindSpan = other.m_nRemindSpan;
    m_bSeries = other.m_bSeries;
    m_strAppId = other.m_strAppId;
    m_strDbPath = other.m_strDbPath;
    m_nDbRecId = other.m_nDbRecId;
    m_bTodo = other.m_bTodo;
    m_strPriority = other.m_strPriority;
    m_nPercentDone = other.m_nPercentDone;
    m_strTodoState = other.m_strTodoState;
    m_strUser = other.m_strUser;
    m_strCreatedBy = other.m_strCreatedBy;
    m_strChangedBy = other.m_strChangedBy;
    m_dtCreated = other.m_dtCreated;
    m_dtChanged = other.m_dtChanged;
    m_dtNextOccurrence = other.m_dtNextOccurrence;
    m_strStatus = other.m_strStatus;
    m_strMovedRecordId = other.m_strMovedRecordId;
    m_pAsRead = other.m_pAsRead;
}

namespace {

// One member of a three-way save: whether mine changed it, and whether that collides with a change
// of the current row (another value than mine).
template <class T> struct CMemberChange {
    static bool Changed(const T& base, const T& mine) { return !(mine == base); }
    static bool Collides(const T& base, const T& mine, const T& current)
    {
        return Changed(base, mine) && !(current == base) && !(current == mine);
    }
};

} // namespace

bool CDataAppointment::TakeChanges(const CDataAppointment& base, const CDataAppointment& mine)
{
    // Every member a user or an operation changes; the change stamp is handled below.
#define OX_APPOINTMENT_MEMBERS(X)                                                                                    \
    X(m_strSubject) X(m_strParticipants) X(m_strPlace) X(m_strNotes) X(m_bPrivate) X(m_bRemind) X(m_nRemindSpan)  \
        X(m_bSeries) X(m_pattern) X(m_strAppId) X(m_strDbPath) X(m_nDbRecId) X(m_bTodo) X(m_strPriority)          \
            X(m_nPercentDone) X(m_strTodoState) X(m_action) X(m_strUser) X(m_strCreatedBy) X(m_dtCreated)         \
                X(m_dtNextOccurrence) X(m_strStatus) X(m_strMovedRecordId)
#define OX_COLLIDES(member)                                                                                          \
    if (CMemberChange<decltype(member)>::Collides(base.member, mine.member, member))                                \
        return false;
#define OX_TAKE(member)                                                                                              \
    if (CMemberChange<decltype(member)>::Changed(base.member, mine.member))                                         \
        member = mine.member;
    OX_APPOINTMENT_MEMBERS(OX_COLLIDES)
    OX_APPOINTMENT_MEMBERS(OX_TAKE)
    OX_TAKE(m_strChangedBy)
    OX_TAKE(m_dtChanged)
#undef OX_TAKE
#undef OX_COLLIDES
#undef OX_APPOINTMENT_MEMBERS
    return true;
}

bool CDataAppointment::operator==(const CDataAppointment& other) const
{
    return m_nVersion == other.m_nVersion && m_strRecordId == other.m_strRecordId &&
           m_strSubject == other.m_strSubject && m_strParticipants == other.m_strParticipants &&
           m_strPlace == other.m_strPlace && m_strNotes == other.m_strNotes && m_bPrivate == other.m_bPrivate &&
           m_bRemind == other.m_bRemind && m_nRemindSpan == other.m_nRemindSpan && m_bSeries == other.m_bSeries &&
           m_pattern == other.m_pattern && m_strAppId == other.m_strAppId && m_strDbPath == other.m_strDbPath &&
           m_nDbRecId == other.m_nDbRecId && m_bTodo == other.m_bTodo && m_strPriority == other.m_strPriority &&
           m_nPercentDone == other.m_nPercentDone && m_strTodoState == other.m_strTodoState &&
           m_action == other.m_action && m_strUser == other.m_strUser && m_strCreatedBy == other.m_strCreatedBy &&
           m_strChangedBy == other.m_strChangedBy && m_dtCreated == other.m_dtCreated &&
           m_dtChanged == other.m_dtChanged && m_dtNextOccurrence == other.m_dtNextOccurrence &&
           m_strStatus == other.m_strStatus && m_strMovedRecordId == other.m_strMovedRecordId;
}

BOOL CDataAppointment::HasActiveReminder() const
{
    if (!m_bRemind && m_action.m_strName.IsEmpty())
        return FALSE;
    return m_strStatus.IsEmpty() || m_strStatus == "C" || (m_bSeries && m_strStatus == "D");
}

void CDataAppointment::Store(CArchive& ar)
{
    m_nVersion = 1;
    ar << m_nVersion << m_strRecordId << m_strSubject << m_strParticipants << m_strPlace << m_strNotes;
    ar << (LONG)m_bPrivate << (LONG)m_bRemind << m_nRemindSpan << (LONG)m_bSeries;
    m_pattern.Store(ar);
    ar << m_strAppId << m_strDbPath << m_nDbRecId;
    ar << m_strUser;
    m_action.Store(ar);
    ar << (LONG)m_bTodo << m_strPriority << m_nPercentDone << m_strTodoState;
    ar << m_strCreatedBy << m_strChangedBy;
    ar << m_dtCreated << m_dtChanged;
    ar << m_strMovedRecordId << m_strStatus;
    ar << m_dtNextOccurrence;
}

void CDataAppointment::Load(CArchive& ar)
{
    ar >> m_nVersion >> m_strRecordId >> m_strSubject >> m_strParticipants >> m_strPlace >> m_strNotes;
    ar >> m_bPrivate >> m_bRemind >> m_nRemindSpan >> m_bSeries;
    m_pattern.Load(ar);
    ar >> m_strAppId >> m_strDbPath >> m_nDbRecId;
    ar >> m_strUser;
    m_action.Load(ar);
    ar >> m_bTodo >> m_strPriority >> m_nPercentDone >> m_strTodoState;
    ar >> m_strCreatedBy >> m_strChangedBy;
    ar >> m_dtCreated >> m_dtChanged;
    ar >> m_strMovedRecordId >> m_strStatus;
    ar >> m_dtNextOccurrence;
}
