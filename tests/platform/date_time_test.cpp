#include "svy3/platform/date_time.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ZAR::CDateTime;

// Year, month, day, hour, minute, second, day of week (1 Sunday) and day of year of a value.
std::vector<int> Fields(const CDateTime& dt) {
    return {dt.GetYear(),   dt.GetMonth(),  dt.GetDay(),       dt.GetHour(),
            dt.GetMinute(), dt.GetSecond(), dt.GetDayOfWeek(), dt.GetDayOfYear()};
}

TEST(DateTime, SerialNumbersAndFieldsOfEveryDayFromYear100To9999) {
    // The time of day is the fraction; before the origin it is added to the magnitude of the day
    // number. Day 0 counts as after the origin.
    EXPECT_EQ(CDateTime(1899, 12, 30, 12, 0, 0).m_dt, 0.5);
    EXPECT_EQ(CDateTime(2024, 5, 21, 12, 0, 0).m_dt, 45433.5);
    EXPECT_EQ(CDateTime(1899, 12, 29, 6, 0, 0).m_dt, -1.25);
    EXPECT_EQ(Fields(CDateTime(1899, 12, 29, 6, 7, 8)),
              std::vector<int>({1899, 12, 29, 6, 7, 8, 6, 363}));
    EXPECT_LT(CDateTime(2024, 1, 1, 0, 0, 0), CDateTime::GetCurrentTime());  // valid and recent

    long expected = -657434;  // 1 January 100
    for (int year = 100; year <= 9999; ++year) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        const int lengths[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        int dayOfYear = 0;
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= lengths[month - 1]; ++day, ++expected) {
                const CDateTime dt(year, month, day, 23, 59, 59);
                ++dayOfYear;
                // The whole-day part, truncated towards zero (before the origin the time of
                // day makes the value more negative).
                ASSERT_EQ(static_cast<long>(dt.m_dt), expected)
                    << year << "-" << month << "-" << day;
                if (day == 1 || day == lengths[month - 1]) {
                    // Day 0 was a Saturday (7).
                    const int dayOfWeek = static_cast<int>((expected % 7 + 13) % 7) + 1;
                    ASSERT_EQ(Fields(dt), std::vector<int>({year, month, day, 23, 59, 59, dayOfWeek,
                                                            dayOfYear}));
                }
            }
        }
    }
}

TEST(DateTime, ParsesEveryAcceptedForm) {
    // Text and the value it reads as.
    const std::pair<const char*, CDateTime> cases[] = {
        {"2024-05-21T13:04:05", CDateTime(2024, 5, 21, 13, 4, 5)},
        {"2024/05/21 13:04", CDateTime(2024, 5, 21, 13, 4, 0)},
        {" \t2024-5-1   7:08:09  ", CDateTime(2024, 5, 1, 7, 8, 9)},
        {"2024/sep/03 23:59:59", CDateTime(2024, 9, 3, 23, 59, 59)},
        {"21-DECEMBER-2024 13:04:05", CDateTime(2024, 12, 21, 13, 4, 5)},
        {"May 21 2024", CDateTime(2024, 5, 21, 0, 0, 0)},
        {"May 21, 999", CDateTime(999, 5, 21, 0, 0, 0)},
        {"february 9,2024 13:04", CDateTime(2024, 2, 9, 13, 4, 0)},
        {"21 May 999 13:04:05", CDateTime(999, 5, 21, 13, 4, 5)},
        {"02/03/2024 13:04:05", CDateTime(2024, 3, 2, 13, 4, 5)},  // day first when both fit
        {"05/12/2024", CDateTime(2024, 12, 5, 0, 0, 0)},
        {"05/21/2024", CDateTime(2024, 5, 21, 0, 0, 0)},  // the only order that fits
        {"12/13/2024", CDateTime(2024, 12, 13, 0, 0, 0)},
        {"21.05.999", CDateTime(999, 5, 21, 0, 0, 0)},
        {"2024-05-21 1:04:05 PM", CDateTime(2024, 5, 21, 13, 4, 5)},
        {"2024-05-21 12:30am", CDateTime(2024, 5, 21, 0, 30, 0)},
        {"100-01-01", CDateTime(100, 1, 1, 0, 0, 0)},  // a date alone is midnight
    };
    for (const auto& [text, expected] : cases) {
        CDateTime dt(1999, 1, 1, 1, 1, 1);
        EXPECT_TRUE(dt.ParseDateTime(text)) << text;
        EXPECT_EQ(dt, expected) << text;
    }
    // Out of range, trailing text, malformed dates and times, unknown month names, lone parts.
    for (const char* text :
         {"", "   ", "2023-02-29", "2024-05-21 24:00", "10000-01-01", "2024-05-21x",
          "2024-05-21 13:04:05 later", "2024-05/21", "2024-05-21T", "2024-05-21 13",
          "2024-05-21 13:4", "2024-05-21 0:30 PM", "2024-05-21 13:04:05.5", "Sept 3 2024",
          "24-05-21", "13/13/2024", "2024", "13:04:05", "May 2024"}) {
        CDateTime dt(2024, 1, 1, 0, 0, 0);
        EXPECT_FALSE(dt.ParseDateTime(text)) << '"' << text << '"';
        EXPECT_EQ(std::make_pair(dt.GetStatus(), dt.m_dt), std::make_pair(CDateTime::invalid, 0.0))
            << text;
    }
}

TEST(DateTime, FormatsEachConversion) {
    const CDateTime dt(2024, 5, 21, 13, 4, 5);  // a Tuesday, day 142 of a leap year
    EXPECT_EQ(dt.Format("%Y-%m-%d %H:%M:%S"), "2024-05-21 13:04:05");
    EXPECT_EQ(dt.Format("%y|%b|%B|%a|%A|%p|%j|%%|%I|%e"), "24|May|May|Tue|Tuesday|PM|142|%|01|21");
    EXPECT_EQ(dt.Format("%F %T %D %R %r %C %w %u %h"),
              "2024-05-21 13:04:05 05/21/24 13:04 01:04:05 PM 20 2 2 May");
    EXPECT_EQ(dt.Format("%U"), "20");  // week number from the C library, Sunday-based
    EXPECT_EQ(dt.Format("Job %Q %Ey%"), "Job %Q 24%");

    const CDateTime early(1753, 1, 6, 0, 7, 0);  // a Saturday
    EXPECT_EQ(early.Format("%A %d %B %Y %I:%M %p %j"), "Saturday 06 January 1753 12:07 AM 006");
    EXPECT_EQ(CDateTime(2024, 5, 21, 12, 0, 0).Format("%I %p"), "12 PM");
    EXPECT_EQ(CDateTime(9999, 12, 31, 23, 59, 59).Format("%c %Y %j"),
              CDateTime(9999, 12, 31, 23, 59, 59).Format("%c") + " 9999 365");
    EXPECT_EQ(CDateTime(100, 3, 1, 0, 0, 0).Format("%Y-%m-%d %y %a"), "100-03-01 00 Mon");
}

TEST(DateTime, OutOfRangeFieldsAreInvalidStatusDecidesFormatValidValuesOrderByMoment) {
    // Leap days of non-leap years are among them; those of leap years are in the every-day test.
    const int bad[][6] = {{2023, 2, 29, 0, 0, 0}, {1900, 2, 29, 0, 0, 0}, {2024, 13, 1, 0, 0, 0},
                          {2024, 0, 1, 0, 0, 0},  {2024, 4, 31, 0, 0, 0}, {2024, 1, 0, 0, 0, 0},
                          {2024, 1, 1, 24, 0, 0}, {2024, 1, 1, 0, 60, 0}, {2024, 1, 1, 0, 0, 60},
                          {2024, 1, 1, -1, 0, 0}, {99, 12, 31, 0, 0, 0},  {10000, 1, 1, 0, 0, 0}};
    for (const auto& [year, month, day, hour, minute, second] : bad) {
        const CDateTime dt(year, month, day, hour, minute, second);
        EXPECT_EQ(dt.GetStatus(), CDateTime::invalid) << year << "-" << month << "-" << day;
        EXPECT_EQ(dt.GetYear(), -1);
    }

    CDateTime invalid(2024, 5, 21, 13, 4, 5), none = invalid, far;
    invalid.SetStatus(CDateTime::invalid);
    none.SetStatus(CDateTime::null);
    far.m_dt = 1e9;  // valid status, a value beyond the supported years
    EXPECT_EQ(invalid.Format("%Y-%m-%d") + none.Format("%Y") + far.Format("%Y"),
              "Invalid DateTimeInvalid DateTime");
    EXPECT_EQ(invalid.GetDay(), -1);
    EXPECT_EQ(invalid, CDateTime(2023, 2, 29, 0, 0, 0));  // two invalid values are equal

    // Also before the origin, where the time of day makes the stored value more negative.
    const CDateTime sequence[] = {
        CDateTime(100, 1, 1, 0, 0, 0),      CDateTime(1899, 12, 29, 6, 0, 0),
        CDateTime(1899, 12, 29, 12, 0, 0),  CDateTime(1899, 12, 30, 0, 0, 0),
        CDateTime(1899, 12, 30, 0, 0, 1),   CDateTime(2024, 5, 21, 13, 4, 5),
        CDateTime(9999, 12, 31, 23, 59, 59)};
    const int n = sizeof sequence / sizeof sequence[0];
    for (int i = 0; i < n; ++i) {
        // An invalid value is neither earlier nor later than any other, nor equal to a valid one.
        EXPECT_FALSE(sequence[i] < invalid || invalid < sequence[i] || sequence[i] == invalid) << i;
        for (int j = 0; j < n; ++j) {
            EXPECT_EQ(sequence[i] < sequence[j], i < j) << i << " " << j;
            EXPECT_EQ(sequence[i] == sequence[j], i == j) << i << " " << j;
        }
    }
}

}  // namespace
