#include "afx.h"
#include "AfxTimeFormat.h"

#include <stdio.h>

namespace {

CString LocaleText(LCTYPE type)
{
    char buffer[128];
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    return n > 0 ? CString(buffer) : CString();
}

CString DayName(int nDayOfWeek, bool bAbbrev)
{
    // The locale numbers the days from Monday (1) to Sunday (7).
    int nIndex = (nDayOfWeek + 6) % 7;
    return LocaleText((bAbbrev ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1) + nIndex);
}

CString MonthName(int nMonth, bool bAbbrev)
{
    return LocaleText((bAbbrev ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1) + (nMonth - 1));
}

void AppendNumber(CString& out, int nValue, int nDigits)
{
    char buffer[32];
    _snprintf(buffer, sizeof buffer, "%0*d", nDigits, nValue);
    buffer[sizeof buffer - 1] = '\0';
    out += buffer;
}

// Expands a locale picture such as "dd.MM.yyyy" or "HH:mm:ss": d, dd, ddd, dddd, M, MM, MMM,
// MMMM, y, yy, yyyy, h, hh, H, HH, m, mm, s, ss, t, tt and 'quoted' text.
CString ExpandPicture(const AFX_TIME_PARTS& t, LPCTSTR lpszPicture)
{
    CString out;
    for (LPCTSTR p = lpszPicture; *p != '\0';) {
        char ch = *p;
        if (ch == '\'') {
            ++p;
            while (*p != '\0') {
                if (*p == '\'') {
                    if (p[1] == '\'') {
                        out += '\'';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                out += *p++;
            }
            continue;
        }
        int n = 0;
        while (p[n] == ch)
            ++n;
        switch (ch) {
        case 'd':
            if (n >= 4)
                out += DayName(t.nDayOfWeek, false);
            else if (n == 3)
                out += DayName(t.nDayOfWeek, true);
            else
                AppendNumber(out, t.nDay, n);
            break;
        case 'M':
            if (n >= 4)
                out += MonthName(t.nMonth, false);
            else if (n == 3)
                out += MonthName(t.nMonth, true);
            else
                AppendNumber(out, t.nMonth, n);
            break;
        case 'y':
            if (n <= 2)
                AppendNumber(out, t.nYear % 100, n);
            else
                AppendNumber(out, t.nYear, 4);
            break;
        case 'H':
            AppendNumber(out, t.nHour, n > 2 ? 2 : n);
            break;
        case 'h':
            AppendNumber(out, t.nHour % 12 == 0 ? 12 : t.nHour % 12, n > 2 ? 2 : n);
            break;
        case 'm':
            AppendNumber(out, t.nMinute, n > 2 ? 2 : n);
            break;
        case 's':
            AppendNumber(out, t.nSecond, n > 2 ? 2 : n);
            break;
        case 't': {
            CString marker = LocaleText(t.nHour < 12 ? LOCALE_S1159 : LOCALE_S2359);
            out += n == 1 ? marker.Left(1) : marker;
            break;
        }
        case 'g':
            break; // era: none in the Gregorian calendar
        default:
            out += CString(ch, n);
            break;
        }
        p += n;
    }
    return out;
}

CString TimeZoneName(int nIsDst)
{
    TIME_ZONE_INFORMATION tzi;
    if (GetTimeZoneInformation(&tzi) == TIME_ZONE_ID_INVALID)
        return CString();
    return CString(nIsDst > 0 ? tzi.DaylightName : tzi.StandardName);
}

} // namespace

CString AFXAPI AfxFormatTimeParts(const AFX_TIME_PARTS& t, LPCTSTR lpszFormat)
{
    CString out;
    if (lpszFormat == NULL)
        return out;
    for (LPCTSTR p = lpszFormat; *p != '\0'; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        ++p;
        bool bAlt = false;
        if (*p == '#') {
            bAlt = true;
            ++p;
        }
        int nDigits = bAlt ? 1 : 2; // '#' drops leading zeros
        switch (*p) {
        case '\0':
            return out;
        case 'a':
            out += DayName(t.nDayOfWeek, true);
            break;
        case 'A':
            out += DayName(t.nDayOfWeek, false);
            break;
        case 'b':
            out += MonthName(t.nMonth, true);
            break;
        case 'B':
            out += MonthName(t.nMonth, false);
            break;
        case 'c':
            out += ExpandPicture(t, LocaleText(bAlt ? LOCALE_SLONGDATE : LOCALE_SSHORTDATE));
            out += ' ';
            out += ExpandPicture(t, LocaleText(LOCALE_STIMEFORMAT));
            break;
        case 'x':
            out += ExpandPicture(t, LocaleText(bAlt ? LOCALE_SLONGDATE : LOCALE_SSHORTDATE));
            break;
        case 'X':
            out += ExpandPicture(t, LocaleText(LOCALE_STIMEFORMAT));
            break;
        case 'd':
            AppendNumber(out, t.nDay, nDigits);
            break;
        case 'H':
            AppendNumber(out, t.nHour, nDigits);
            break;
        case 'I':
            AppendNumber(out, t.nHour % 12 == 0 ? 12 : t.nHour % 12, nDigits);
            break;
        case 'j':
            AppendNumber(out, t.nDayOfYear, bAlt ? 1 : 3);
            break;
        case 'm':
            AppendNumber(out, t.nMonth, nDigits);
            break;
        case 'M':
            AppendNumber(out, t.nMinute, nDigits);
            break;
        case 'p':
            out += LocaleText(t.nHour < 12 ? LOCALE_S1159 : LOCALE_S2359);
            break;
        case 'S':
            AppendNumber(out, t.nSecond, nDigits);
            break;
        case 'U':
            AppendNumber(out, (t.nDayOfYear - 1 + 7 - t.nDayOfWeek) / 7, nDigits);
            break;
        case 'w':
            AppendNumber(out, t.nDayOfWeek, 1);
            break;
        case 'W':
            AppendNumber(out, (t.nDayOfYear - 1 + 7 - (t.nDayOfWeek + 6) % 7) / 7, nDigits);
            break;
        case 'y':
            AppendNumber(out, t.nYear % 100, nDigits);
            break;
        case 'Y':
            AppendNumber(out, t.nYear, 1);
            break;
        case 'z':
        case 'Z':
            out += TimeZoneName(t.nIsDst);
            break;
        case '%':
            out += '%';
            break;
        default:
            // Not a conversion code: keep the text as written.
            out += '%';
            if (bAlt)
                out += '#';
            out += *p;
            break;
        }
    }
    return out;
}

CString AFXAPI AfxFormatTimeSpan(LPCTSTR lpszFormat, LONG lTotalDays, int nHours, int nMinutes, int nSeconds)
{
    CString out;
    if (lpszFormat == NULL)
        return out;
    char buffer[32];
    for (LPCTSTR p = lpszFormat; *p != '\0'; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        ++p;
        switch (*p) {
        case '\0':
            return out;
        case 'D':
            _snprintf(buffer, sizeof buffer, "%ld", lTotalDays);
            out += buffer;
            break;
        case 'H':
            AppendNumber(out, nHours, 2);
            break;
        case 'M':
            AppendNumber(out, nMinutes, 2);
            break;
        case 'S':
            AppendNumber(out, nSeconds, 2);
            break;
        default:
            out += *p; // "%%" and unknown codes give the character itself
            break;
        }
    }
    return out;
}
