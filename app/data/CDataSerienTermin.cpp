#include "CDataSerienTermin.h"

IMPLEMENT_SERIAL(CDataSerienTermin, CDataImage, 1)

CDataSerienTermin::CDataSerienTermin()
    : m_nVersion(1), m_nStartTime(-1), m_nEndTime(-1), m_nPatternStart(0), m_nPatternEnd(0), m_bNoEnd(FALSE),
      m_bDefaultEnd(TRUE), m_nType(daily), m_nDailyInterval(0), m_bEveryWorkday(FALSE), m_nWeeklyInterval(0),
      m_bWeekdays{}, m_bMonthlyByDay(TRUE), m_nMonthlyInterval(0), m_nDayOfMonth(0), m_nInstance(0), m_nWeekday(0),
      m_bYearlyByDate(TRUE), m_nMonth(0)
{
}

CDataSerienTermin::CDataSerienTermin(const CDataSerienTermin& other) : CDataImage(), m_nVersion(other.m_nVersion)
{
    CopyMembers(other);
}

CDataSerienTermin& CDataSerienTermin::operator=(const CDataSerienTermin& other)
{
    if (this != &other)
        CopyMembers(other);
    return *this;
}

CDataSerienTermin::~CDataSerienTermin() {}

void CDataSerienTermin::CopyMembers(const CDataSerienTermin& other)
{
    m_nStartTime = other.m_nStartTime;
    m_nEndTime = other.m_nEndTime;
    m_nPatternStart = other.m_nPatternStart;
    m_nPatternEnd = other.m_nPatternEnd;
    m_bNoEnd = other.m_bNoEnd;
    m_bDefaultEnd = other.m_bDefaultEnd;
    m_nType = other.m_nType;
    m_nDailyInterval = other.m_nDailyInterval;
    m_bEveryWorkday = other.m_bEveryWorkday;
    m_nWeeklyInterval = other.m_nWeeklyInterval;
    for (int i = 0; i < 7; ++i)
        m_bWeekdays[i] = other.m_bWeekdays[i];
    m_bMonthlyByDay = other.m_bMonthlyByDay;
    m_nMonthlyInterval = other.m_nMonthlyInterval;
    m_nDayOfMonth = other.m_nDayOfMonth;
    m_nInstance = other.m_nInstance;
    m_nWeekday = other.m_nWeekday;
    m_bYearlyByDate = other.m_bYearlyByDate;
    m_nMonth = other.m_nMonth;
}

bool CDataSerienTermin::operator==(const CDataSerienTermin& other) const
{
    for (int i = 0; i < 7; ++i) {
        if (m_bWeekdays[i] != other.m_bWeekdays[i])
            return false;
    }
    return m_nVersion == other.m_nVersion && m_nStartTime == other.m_nStartTime && m_nEndTime == other.m_nEndTime &&
           m_nPatternStart == other.m_nPatternStart && m_nPatternEnd == other.m_nPatternEnd &&
           m_bNoEnd == other.m_bNoEnd && m_bDefaultEnd == other.m_bDefaultEnd && m_nType == other.m_nType &&
           m_nDailyInterval == other.m_nDailyInterval && m_bEveryWorkday == other.m_bEveryWorkday &&
           m_nWeeklyInterval == other.m_nWeeklyInterval && m_bMonthlyByDay == other.m_bMonthlyByDay &&
           m_nMonthlyInterval == other.m_nMonthlyInterval && m_nDayOfMonth == other.m_nDayOfMonth &&
           m_nInstance == other.m_nInstance && m_nWeekday == other.m_nWeekday &&
           m_bYearlyByDate == other.m_bYearlyByDate && m_nMonth == other.m_nMonth;
}

void CDataSerienTermin::Store(CArchive& ar)
{
    m_nVersion = 1;
    ar << m_nVersion << m_nStartTime << m_nEndTime << m_nPatternStart << m_nPatternEnd << (LONG)m_bNoEnd
       << (LONG)m_bDefaultEnd << m_nType << m_nDailyInterval << (LONG)m_bEveryWorkday << m_nWeeklyInterval;
    for (int i = 0; i < 7; ++i)
        ar << (LONG)m_bWeekdays[i];
    ar << (LONG)m_bMonthlyByDay << m_nMonthlyInterval << m_nDayOfMonth << m_nInstance << m_nWeekday
       << (LONG)m_bYearlyByDate << m_nMonth;
}

void CDataSerienTermin::Load(CArchive& ar)
{
    ar >> m_nVersion >> m_nStartTime >> m_nEndTime >> m_nPatternStart >> m_nPatternEnd >> m_bNoEnd >>
        m_bDefaultEnd >> m_nType >> m_nDailyInterval >> m_bEveryWorkday >> m_nWeeklyInterval;
    for (int i = 0; i < 7; ++i)
        ar >> m_bWeekdays[i];
    ar >> m_bMonthlyByDay >> m_nMonthlyInterval >> m_nDayOfMonth >> m_nInstance >> m_nWeekday >> m_bYearlyByDate >>
        m_nMonth;
}
