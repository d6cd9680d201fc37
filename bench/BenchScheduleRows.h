// Rows of the schedule table for the benchmarks that need a filled data directory.
#pragma once

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "BenchTable.h"

// Raw rows of the schedule table: blanks with a record id, a user, a first day and a subject.
inline std::string MakeScheduleRows(const std::string& path, long count)
{
    std::vector<std::pair<std::string, int>> fields;
    unsigned recordLength = 0;
    if (!ReadFieldLayout(path.c_str(), fields, recordLength))
        return std::string();
    std::string rows;
    rows.reserve((size_t)recordLength * count);
    const char* users[] = {"MEIER", "HUBER", "SCHMIDT", "WEBER"};
    for (long n = 0; n < count; ++n) {
        std::string row(recordLength, ' ');
        size_t at = 1;
        for (const auto& field : fields) {
            char value[64] = "";
            if (field.first == "RECORDID")
                snprintf(value, sizeof value, "%10ld", 1000000 + n * 7);
            else if (field.first == "USER")
                snprintf(value, sizeof value, "%s", users[n % 4]);
            else if (field.first == "D_FIRST_OC")
                snprintf(value, sizeof value, "2026%02ld%02ld", 1 + n % 12, 1 + n % 28);
            else if (field.first == "BETREFF")
                snprintf(value, sizeof value, "Termin %ld", n);
            else if (field.first == "FOOTPRINT" || field.first == "T_BEGIN")
                snprintf(value, sizeof value, "%4ld", n % 1440);
            const size_t length = strlen(value);
            if (length > 0)
                row.replace(at, std::min<size_t>(length, field.second), value, std::min<size_t>(length, field.second));
            at += field.second;
        }
        rows += row;
    }
    return rows;
}

