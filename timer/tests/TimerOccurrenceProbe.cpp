// Occurrence sequences of the timer rules, for TimerOccurrenceTest.py. Reads one case per line
// from standard input:
//   <name> <kind> <start> <end or -> <count> <lead minutes> <parameters...>
// with dates as yyyy-mm-ddThh:mm:ss and the parameters in the order of the kind's add export:
//   fixed | seconds N | minutes N | daily N | workdays | weekly N WEEKDAY | weekbyday N F1..F7 |
//   monthly N DAY | monthext WEEKINDEX WEEKDAY N | yearly DAYOFYEAR | yeardayinmonth MONTH DAY |
//   yearext MONTH WEEKINDEX WEEKDAY
// For each rule the case makes (weekbyday: one per set flag, named <name>/<sub-index>) it writes
// one line: the name, then "due|occurrence" for the first due and for each next occurrence, at
// most count in all. Each next occurrence is asked for at the previous due time, as a sweep at
// that moment would ask.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "CTimerRuleDaily.h"
#include "CTimerRuleFixed.h"
#include "CTimerRuleMonthly.h"
#include "CTimerRuleSeconds.h"
#include "CTimerRuleWeekly.h"
#include "CTimerRuleYearly.h"
#include "CTimerRuleYearlyWeekday.h"

namespace {

bool ParseDate(const char* text, COleDateTime& date)
{
    if (std::strcmp(text, "-") == 0) {
        date.SetStatus(COleDateTime::null);
        return true;
    }
    int y, mo, d, h, mi, s;
    if (std::sscanf(text, "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &s) != 6)
        return false;
    return date.SetDateTime(y, mo, d, h, mi, s) == COleDateTime::valid;
}

std::string Show(const COleDateTime& date)
{
    if (date.GetStatus() != COleDateTime::valid)
        return "invalid";
    return (LPCTSTR)date.Format("%Y-%m-%dT%H:%M:%S");
}

void Run(const std::string& name, CTimerRule* pRule, int nCount)
{
    std::unique_ptr<CTimerRule> rule(pRule);
    std::string line = name;
    COleDateTime due;
    // The first due; "now" only matters for rules without a start, which the cases do not use.
    if (rule->FirstDue(COleDateTime::GetCurrentTime(), due)) {
        line += " " + Show(due) + "|" + Show(rule->m_cur);
        for (int i = 1; i < nCount; i++) {
            COleDateTime nextDue, occurrence;
            if (!rule->NextOccurrence(due, nextDue, occurrence))
                break;
            line += " " + Show(nextDue) + "|" + Show(occurrence);
            due = nextDue;
        }
    }
    std::printf("%s\n", line.c_str());
}

bool RunCase(char* text)
{
    std::vector<std::string> words;
    for (char* word = std::strtok(text, " \t\r\n"); word != NULL; word = std::strtok(NULL, " \t\r\n"))
        words.push_back(word);
    if (words.size() < 6)
        return words.empty();
    const std::string& name = words[0];
    const std::string& kind = words[1];
    COleDateTime start, end;
    if (!ParseDate(words[2].c_str(), start) || !ParseDate(words[3].c_str(), end))
        return false;
    const int nCount = std::atoi(words[4].c_str());
    const int nLead = std::atoi(words[5].c_str());
    std::vector<int> p;
    for (size_t i = 6; i < words.size(); i++)
        p.push_back(std::atoi(words[i].c_str()));
    auto need = [&](size_t n) { return p.size() == n; };
    const long lId = 1;

    if (kind == "fixed" && need(0))
        Run(name, new CTimerRuleFixed(lId, start, nLead), nCount);
    else if (kind == "seconds" && need(1))
        Run(name, new CTimerRuleSeconds(lId, start, end, p[0]), nCount);
    else if (kind == "minutes" && need(1))
        Run(name, new CTimerRuleSeconds(lId, start, end, p[0] * 60), nCount);
    else if (kind == "daily" && need(1))
        Run(name, new CTimerRuleDaily(lId, start, end, FALSE, p[0], nLead), nCount);
    else if (kind == "workdays" && need(0))
        Run(name, new CTimerRuleDaily(lId, start, end, TRUE, 1, nLead), nCount);
    else if (kind == "weekly" && need(2))
        Run(name, new CTimerRuleWeekly(lId, 0, start, end, p[0], p[1], nLead), nCount);
    else if (kind == "weekbyday" && need(8)) {
        int nSubIndex = 0;
        for (int nWeekday = 1; nWeekday <= 7; nWeekday++) {
            if (p[nWeekday] == 0)
                continue;
            Run(name + "/" + std::to_string(nSubIndex),
                new CTimerRuleWeekly(lId, nSubIndex, start, end, p[0], nWeekday, nLead), nCount);
            nSubIndex++;
        }
    } else if (kind == "monthly" && need(2))
        Run(name, new CTimerRuleMonthly(lId, start, end, p[0], p[1], nLead), nCount);
    else if (kind == "monthext" && need(3))
        Run(name, new CTimerRuleMonthly(lId, start, end, p[2], CTimerRule::MakeWeekdayCode(p[0], p[1]), nLead),
            nCount);
    else if (kind == "yearly" && need(1))
        Run(name, new CTimerRuleYearly(lId, start, end, p[0], nLead), nCount);
    else if (kind == "yeardayinmonth" && need(2))
        Run(name, new CTimerRuleYearly(lId, start, end, p[0], p[1], nLead), nCount);
    else if (kind == "yearext" && need(3))
        Run(name, new CTimerRuleYearlyWeekday(lId, start, end, CTimerRule::MakeWeekdayCode(p[1], p[2]), p[0], nLead),
            nCount);
    else
        return false;
    return true;
}

} // namespace

int main()
{
    static char out[1 << 16];
    std::setvbuf(stdout, out, _IOFBF, sizeof out);
    char line[1024];
    int nLine = 0;
    while (std::fgets(line, sizeof line, stdin)) {
        nLine++;
        if (!RunCase(line)) {
            std::fprintf(stderr, "line %d: not a case\n", nLine);
            return 2;
        }
    }
    return 0;
}
