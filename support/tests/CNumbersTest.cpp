// Number texts keep the decimal point when the host program switches the run time's locale.
#include <gtest/gtest.h>

#include <clocale>

#include "CNumbers.h"
#include "PrintfFormat.h"

TEST(CNumbers, PointSurvivesAHostLocaleWithDecimalComma)
{
    ASSERT_NE(nullptr, setlocale(LC_NUMERIC, "German_Germany.1252"));
    char probe[16];
    snprintf(probe, sizeof probe, "%.1f", 1.5);
    char buffer[32];
    Format(buffer, sizeof buffer, "%8.2f|%g", 1234.5, 0.25);
    double parsed = CStrToD("12.75");
    setlocale(LC_NUMERIC, "C");
    EXPECT_STREQ(" 1234.50|0.25", buffer) << "the run time itself printed " << probe;
    EXPECT_EQ(12.75, parsed);
}
