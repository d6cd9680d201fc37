// Day numbers and date texts as the engine converts them; used by DayNumberTest.py.
//   DayNumberProbe days FIRST LAST   for each day number from FIRST to LAST one line: the date text
//                                    the engine writes for it, followed by " <answer> <day number>"
//                                    when reading that text back does not give the same day.
//   DayNumberProbe texts             for each 8-character text on standard input one line:
//                                    "<answer> <day number>" (the day number -1 for the empty date).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Conversions.h"

namespace {

void PrintDay(int answer, double day)
{
    if (day >= DB_EMPTY_DATE)
        std::printf("%d -1\n", answer);
    else
        std::printf("%d %.0f\n", answer, day);
}

} // namespace

int main(int argc, char** argv)
{
    static char out[1 << 16];
    std::setvbuf(stdout, out, _IOFBF, sizeof out);
    if (argc == 4 && std::strcmp(argv[1], "days") == 0) {
        const long first = std::atol(argv[2]), last = std::atol(argv[3]);
        for (long n = first; n <= last; ++n) {
            char text[9];
            _day_to_date((double)n, text);
            double back = 0;
            int answer = _date_to_day(text, &back);
            if (answer == 0 && back == (double)n) {
                std::printf("%s\n", text);
            } else {
                std::printf("%s ", text);
                PrintDay(answer, back);
            }
        }
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "texts") == 0) {
        char line[64];
        while (std::fgets(line, sizeof line, stdin)) {
            line[std::strcspn(line, "\r\n")] = 0;
            double day = 0;
            int answer = _date_to_day(line, &day);
            PrintDay(answer, day);
        }
        return 0;
    }
    std::fprintf(stderr, "usage: DayNumberProbe days FIRST LAST | texts\n");
    return 2;
}
