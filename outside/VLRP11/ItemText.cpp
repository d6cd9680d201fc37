#include "ItemText.h"

#include <windows.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "TextMetrics.h"
#include "VLRP11.h"

namespace rp {
namespace {

// Parses [-]digits[(.|,)digits] without the C library, whose decimal separator follows the
// process's locale.
bool ParseNumber(const std::string& text, double& value)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    double result = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, digits = true)
        result = result * 10 + (text[i] - '0');
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, digits = true, scale /= 10)
            result += (text[i] - '0') * scale;
    }
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (!digits || i != text.size())
        return false;
    value = negative ? -result : result;
    return true;
}

// Day, month and year of a count of days since 1.3.0000 in the proleptic Gregorian calendar.
void CivilFromDays(long long days, int& year, int& month, int& day)
{
    long long era = (days >= 0 ? days : days - 146096) / 146097;
    long long doe = days - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    day = (int)(doy - (153 * mp + 2) / 5 + 1);
    month = (int)(mp < 10 ? mp + 3 : mp - 9);
    year = (int)(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

} // namespace

bool FormatOleDate(const std::string& text, std::string& out)
{
    double value;
    if (!ParseNumber(text, value) || !(std::fabs(value) < 3000000.0))
        return false;
    // Before 30.12.1899 the fraction still counts forward from the day's midnight.
    double whole = std::trunc(value);
    long long minutes = std::llround(std::fabs(value - whole) * 1440.0);
    long long dayNumber = (long long)whole;
    if (minutes >= 1440) {
        minutes -= 1440;
        dayNumber += value < 0 ? -1 : 1;
    }
    // 30.12.1899 is day 693899 after 1.3.0000.
    int year, month, day;
    CivilFromDays(dayNumber + 693899, year, month, day);
    if (year < 100 || year > 9999)
        return false;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d %02d:%02d", day, month, year, (int)(minutes / 60),
                  (int)(minutes % 60));
    out = buffer;
    return true;
}

namespace {

// RTF to text; styled: with style marks where bold, italic or underline change.
std::string ConvertRtf(const std::string& rtf, bool styled)
{
    if (rtf.compare(0, 5, "{\\rtf") != 0)
        return rtf;
    std::vector<int> styles; // of the enclosing groups
    int style = 0, emitted = 0;
    static const char* const kSkipped[] = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "object",
                                           "header", "footer", "listtable", "listoverridetable",
                                           "generator", "themedata", "datastore", "latentstyles", "xmlnstbl"};
    std::string out;
    auto emit = [&](char c) {
        if (styled && style != emitted && c != '\n') {
            out += StyleMark(style);
            emitted = style;
        }
        out += c;
    };
    int depth = 0;
    int skipDepth = 0; // the depth of the group being left out, 0: none
    int fallback = 0;  // characters still to drop after \uN
    size_t i = 0;
    while (i < rtf.size()) {
        char c = rtf[i];
        if (c == '{') {
            ++depth;
            styles.push_back(style);
            ++i;
            continue;
        }
        if (c == '}') {
            if (skipDepth == depth)
                skipDepth = 0;
            --depth;
            if (!styles.empty()) {
                style = styles.back();
                styles.pop_back();
            }
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c != '\\') {
            if (fallback > 0)
                --fallback;
            else if (!skipDepth)
                emit(c);
            ++i;
            continue;
        }
        // A control word or symbol.
        ++i;
        if (i >= rtf.size())
            break;
        char s = rtf[i];
        if (s == '\\' || s == '{' || s == '}') {
            if (fallback > 0)
                --fallback;
            else if (!skipDepth)
                emit(s);
            ++i;
            continue;
        }
        if (s == '\'') {
            unsigned value = 0;
            if (i + 2 < rtf.size() && std::sscanf(rtf.substr(i + 1, 2).c_str(), "%2x", &value) == 1) {
                if (fallback > 0)
                    --fallback;
                else if (!skipDepth)
                    emit((char)value);
            }
            i += 3;
            continue;
        }
        if (s == '*') {
            if (!skipDepth)
                skipDepth = depth; // an ignorable destination
            ++i;
            continue;
        }
        if (!std::isalpha((unsigned char)s)) {
            if (s == '~' && !skipDepth)
                emit(' ');
            ++i;
            continue;
        }
        size_t start = i;
        while (i < rtf.size() && std::isalpha((unsigned char)rtf[i]))
            ++i;
        std::string word = rtf.substr(start, i - start);
        bool hasParam = false;
        long param = 0;
        bool negative = i < rtf.size() && rtf[i] == '-';
        if (negative)
            ++i;
        while (i < rtf.size() && std::isdigit((unsigned char)rtf[i])) {
            param = param * 10 + (rtf[i++] - '0');
            hasParam = true;
        }
        if (negative)
            param = -param;
        if (i < rtf.size() && rtf[i] == ' ')
            ++i;
        if (skipDepth)
            continue;
        for (const char* skipped : kSkipped)
            if (word == skipped)
                skipDepth = depth;
        if (skipDepth)
            continue;
        if (word == "par" || word == "line")
            emit('\n');
        else if (word == "tab")
            emit('\t');
        else if (word == "b")
            style = hasParam && param == 0 ? style & ~kStyleBold : style | kStyleBold;
        else if (word == "i")
            style = hasParam && param == 0 ? style & ~kStyleItalic : style | kStyleItalic;
        else if (word == "ul")
            style = hasParam && param == 0 ? style & ~kStyleUnderline : style | kStyleUnderline;
        else if (word == "ulnone")
            style &= ~kStyleUnderline;
        else if (word == "plain")
            style = 0;
        else if (word == "u" && hasParam) {
            wchar_t wide = (wchar_t)(param < 0 ? param + 65536 : param);
            char narrow = '?';
            if (WideCharToMultiByte(1252, 0, &wide, 1, &narrow, 1, "?", nullptr) != 1)
                narrow = '?';
            emit(narrow);
            fallback = 1;
        }
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ' || IsStyleMark(out.back())))
        out.pop_back();
    return out;
}

} // namespace

std::string RtfToPlainText(const std::string& rtf)
{
    return ConvertRtf(rtf, false);
}

std::string RtfToStyledText(const std::string& rtf)
{
    return ConvertRtf(rtf, true);
}

std::string DisplayText(const std::string& value, int type)
{
    switch (type) {
    case RP_ITEM_BOOLEAN:
        return value == "T" ? std::string(1, kCheckMark) : std::string();
    case RP_ITEM_DATE: {
        std::string date;
        return FormatOleDate(value, date) ? date : value;
    }
    case RP_ITEM_RTF:
        return RtfToStyledText(value);
    case RP_ITEM_ICON:
        return std::string();
    default:
        return value;
    }
}

} // namespace rp
