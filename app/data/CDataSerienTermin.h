// The recurrence pattern of an entry. Its archive image is 80 bytes, little-endian, written in
// member order:
//
//   offset  bytes  member              default  meaning
//   0       2      m_nVersion          1        schema version, always written as 1
//   2       2      m_nStartTime        -1       minutes after midnight, -1 none (T_BEGIN)
//   4       2      m_nEndTime          -1       minutes after midnight (at most 1439), -1 none
//   6       4      m_nPatternStart     0        day serial of the first day (D_FIRST_OC)
//   10      4      m_nPatternEnd       0        day serial of the last day (D_LAST_OC)
//   14      4      m_bNoEnd            0        the series has no end
//   18      4      m_bDefaultEnd       1        (without m_bNoEnd) ends ten years after its start
//   22      4      m_nType             0        0 daily, 1 weekly, 2 monthly, 3 yearly
//   26      2      m_nDailyInterval    0        every N days
//   28      4      m_bEveryWorkday     0        daily: Monday to Friday instead of every N days
//   32      2      m_nWeeklyInterval   0        every N weeks
//   34      7 x 4  m_bWeekdays[7]      0        weekly: one flag per weekday, Sunday first
//   62      4      m_bMonthlyByDay     1        monthly: on a day of the month, else Nth weekday
//   66      2      m_nMonthlyInterval  0        every N months
//   68      2      m_nDayOfMonth       0        1 to 31
//   70      2      m_nInstance         0        1 to 5: the Nth weekday of the month, 5 = last
//   72      2      m_nWeekday          0        1 Sunday to 7 Saturday
//   74      4      m_bYearlyByDate     1        yearly: on a date, else Nth weekday of a month
//   78      2      m_nMonth            0        1 to 12
//
// The image of a default pattern is therefore the 160 hexadecimal digits
// 0100FFFFFFFF00000000000000000000000001000000000000000000000000000000000000000000
// 00000000000000000000000000000000000000000000010000000000000000000000010000000000.
#pragma once

#include "CDataImage.h"

class CDataSerienTermin : public CDataImage {
    DECLARE_SERIAL(CDataSerienTermin)
public:
    enum { kImageSize = 80 };
    enum PatternType { daily = 0, weekly = 1, monthly = 2, yearly = 3 };

    CDataSerienTermin();
    // Copies every member, the schema version included.
    CDataSerienTermin(const CDataSerienTermin& other);
    // Copies every member but the schema version.
    CDataSerienTermin& operator=(const CDataSerienTermin& other);
    virtual ~CDataSerienTermin();

    // Every member equal, the schema version included.
    bool operator==(const CDataSerienTermin& other) const;
    bool operator!=(const CDataSerienTermin& other) const { return !(*this == other); }

    // Sets the schema version to 1 and writes the 80 bytes.
    virtual void Store(CArchive& ar);
    // Reads the 80 bytes; the version read is kept as it is.
    virtual void Load(CArchive& ar);

    WORD m_nVersion;
    short m_nStartTime;
    short m_nEndTime;
    LONG m_nPatternStart;
    LONG m_nPatternEnd;
    BOOL m_bNoEnd;
    BOOL m_bDefaultEnd;
    LONG m_nType;
    WORD m_nDailyInterval;
    BOOL m_bEveryWorkday;
    WORD m_nWeeklyInterval;
    BOOL m_bWeekdays[7];
    BOOL m_bMonthlyByDay;
    WORD m_nMonthlyInterval;
    WORD m_nDayOfMonth;
    WORD m_nInstance;
    WORD m_nWeekday;
    BOOL m_bYearlyByDate;
    WORD m_nMonth;

private:
    void CopyMembers(const CDataSerienTermin& other);
};

static_assert(sizeof(BOOL) == 4 && sizeof(LONG) == 4, "the pattern image holds flags and numbers as 4 bytes");
