#include "svy3/platform/date_time.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using ZAR::CDateTime;

struct Fields {
    int year, month, day, hour, minute, second;
};

void ExpectFields(const CDateTime& dt, const Fields& f, const std::string& context) {
    SCOPED_TRACE(context);
    ASSERT_EQ(dt.GetStatus(), CDateTime::valid);
    EXPECT_EQ(dt.GetYear(), f.year);
    EXPECT_EQ(dt.GetMonth(), f.month);
    EXPECT_EQ(dt.GetDay(), f.day);
    EXPECT_EQ(dt.GetHour(), f.hour);
    EXPECT_EQ(dt.GetMinute(), f.minute);
    EXPECT_EQ(dt.GetSecond(), f.second);
}

TEST(DateTime, SerialNumbersOfKnownDates) {
    EXPECT_EQ(CDateTime().m_dt, 0.0);
    EXPECT_EQ(CDateTime().GetStatus(), CDateTime::valid);
    EXPECT_EQ(CDateTime(1899, 12, 30, 0, 0, 0).m_dt, 0.0);
    EXPECT_EQ(CDateTime(1900, 1, 1, 0, 0, 0).m_dt, 2.0);
    EXPECT_EQ(CDateTime(1970, 1, 1, 0, 0, 0).m_dt, 25569.0);
    EXPECT_EQ(CDateTime(2000, 1, 1, 0, 0, 0).m_dt, 36526.0);
    EXPECT_EQ(CDateTime(2024, 5, 21, 12, 0, 0).m_dt, 45433.5);
    EXPECT_EQ(CDateTime(100, 1, 1, 0, 0, 0).m_dt, -657434.0);
    EXPECT_EQ(CDateTime(9999, 12, 31, 0, 0, 0).m_dt, 2958465.0);
    // Before the origin the time of day is added to the magnitude of the day number.
    EXPECT_EQ(CDateTime(1899, 12, 29, 6, 0, 0).m_dt, -1.25);
    ExpectFields(CDateTime(1899, 12, 29, 6, 0, 0), {1899, 12, 29, 6, 0, 0}, "before origin");
}

TEST(DateTime, EveryDayFromYear100To9999IsOneMoreThanTheDayBefore) {
    double expected = CDateTime(100, 1, 1, 0, 0, 0).m_dt;
    for (int year = 100; year <= 9999; ++year) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        const int lengths[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= lengths[month - 1]; ++day, expected += 1.0) {
                const CDateTime dt(year, month, day, 23, 59, 59);
                // The whole-day part, truncated towards zero (before the origin the time of
                // day makes the value more negative).
                ASSERT_EQ(static_cast<long>(dt.m_dt), static_cast<long>(expected))
                    << year << "-" << month << "-" << day;
                if (day == 1 || day == lengths[month - 1]) {
                    ASSERT_EQ(dt.GetYear(), year);
                    ASSERT_EQ(dt.GetMonth(), month);
                    ASSERT_EQ(dt.GetDay(), day);
                    ASSERT_EQ(dt.GetSecond(), 59);
                }
            }
        }
    }
}

TEST(DateTime, OutOfRangeFieldsAreInvalid) {
    const Fields bad[] = {{2023, 2, 29, 0, 0, 0}, {1900, 2, 29, 0, 0, 0}, {2024, 13, 1, 0, 0, 0},
                          {2024, 0, 1, 0, 0, 0},  {2024, 4, 31, 0, 0, 0}, {2024, 1, 0, 0, 0, 0},
                          {2024, 1, 1, 24, 0, 0}, {2024, 1, 1, 0, 60, 0}, {2024, 1, 1, 0, 0, 60},
                          {2024, 1, 1, -1, 0, 0}, {99, 12, 31, 0, 0, 0},  {10000, 1, 1, 0, 0, 0}};
    for (const Fields& f : bad) {
        const CDateTime dt(f.year, f.month, f.day, f.hour, f.minute, f.second);
        EXPECT_EQ(dt.GetStatus(), CDateTime::invalid) << f.year << "-" << f.month << "-" << f.day;
        EXPECT_EQ(dt.GetYear(), -1);
    }
    EXPECT_EQ(CDateTime(2024, 2, 29, 0, 0, 0).GetStatus(), CDateTime::valid);
    EXPECT_EQ(CDateTime(2000, 2, 29, 0, 0, 0).GetStatus(), CDateTime::valid);
}

TEST(DateTime, ParsesEveryAcceptedForm) {
    const struct {
        const char* text;
        Fields expected;
    } cases[] = {
        {"2024-05-21", {2024, 5, 21, 0, 0, 0}},
        {"2024-05-21 13:04:05", {2024, 5, 21, 13, 4, 5}},
        {"2024-05-21T13:04:05", {2024, 5, 21, 13, 4, 5}},
        {"2024/05/21 13:04", {2024, 5, 21, 13, 4, 0}},
        {" \t2024-5-1   7:08:09  ", {2024, 5, 1, 7, 8, 9}},
        {"2024-May-21", {2024, 5, 21, 0, 0, 0}},
        {"2024/sep/03 23:59:59", {2024, 9, 3, 23, 59, 59}},
        {"21-May-2024", {2024, 5, 21, 0, 0, 0}},
        {"21-DECEMBER-2024 13:04:05", {2024, 12, 21, 13, 4, 5}},
        {"May 21 2024", {2024, 5, 21, 0, 0, 0}},
        {"May 21, 2024", {2024, 5, 21, 0, 0, 0}},
        {"february 9,2024 13:04", {2024, 2, 9, 13, 4, 0}},
        {"21 May 2024 13:04:05", {2024, 5, 21, 13, 4, 5}},
        {"21/05/2024", {2024, 5, 21, 0, 0, 0}},
        {"02/03/2024 13:04:05", {2024, 3, 2, 13, 4, 5}},  // day first when both orders fit
        {"05/21/2024", {2024, 5, 21, 0, 0, 0}},           // the only order that fits
        {"21.05.2024", {2024, 5, 21, 0, 0, 0}},
        {"2024-05-21 1:04:05 PM", {2024, 5, 21, 13, 4, 5}},
        {"2024-05-21 12:30am", {2024, 5, 21, 0, 30, 0}},
        {"2024-02-29", {2024, 2, 29, 0, 0, 0}},
        {"100-01-01", {100, 1, 1, 0, 0, 0}},
        {"1899-12-29 06:00:00", {1899, 12, 29, 6, 0, 0}},
    };
    for (const auto& c : cases) {
        CDateTime dt(1999, 1, 1, 1, 1, 1);
        EXPECT_TRUE(dt.ParseDateTime(c.text)) << c.text;
        ExpectFields(dt, c.expected, c.text);
        const Fields& f = c.expected;
        EXPECT_EQ(dt, CDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second)) << c.text;
    }
}

TEST(DateTime, RejectsImpossibleAndMalformedTexts) {
    const char* const texts[] = {"",
                                 "   ",
                                 "2023-02-29",
                                 "2024-13-01",
                                 "2024-04-31",
                                 "2024-05-21 24:00",
                                 "2024-05-21 13:60",
                                 "2024-05-21 13:04:60",
                                 "2024-05-21x",
                                 "2024-05-21 13:04:05 later",
                                 "2024-05/21",
                                 "2024-05-21T",
                                 "2024-05-21 13",
                                 "2024-05-21 13:4",
                                 "2024-05-21 0:30 PM",
                                 "2024-05-21 13:04:05.5",
                                 "Sept 3 2024",
                                 "Mai 21 2024",
                                 "24-05-21",
                                 "13/13/2024",
                                 "0099-12-31",
                                 "10000-01-01",
                                 "12345",
                                 "2024",
                                 "13:04:05",
                                 "May 2024",
                                 "2024-05-21 13:04:05:06"};
    for (const char* text : texts) {
        CDateTime dt(2024, 1, 1, 0, 0, 0);
        EXPECT_FALSE(dt.ParseDateTime(text)) << '"' << text << '"';
        EXPECT_EQ(dt.GetStatus(), CDateTime::invalid) << text;
        EXPECT_EQ(dt.m_dt, 0.0) << text;
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
    EXPECT_EQ(CDateTime(9999, 12, 31, 23, 59, 59).Format("%c %Y %j"),
              CDateTime(9999, 12, 31, 23, 59, 59).Format("%c") + " 9999 365");
    EXPECT_EQ(CDateTime(100, 3, 1, 0, 0, 0).Format("%Y-%m-%d %y %a"), "100-03-01 00 Mon");
}

TEST(DateTime, StatusDecidesFormatAndComparisons) {
    CDateTime dt(2024, 5, 21, 13, 4, 5);
    dt.SetStatus(CDateTime::null);
    EXPECT_EQ(dt.Format("%Y"), "");
    dt.SetStatus(CDateTime::invalid);
    EXPECT_EQ(dt.Format("%Y-%m-%d"), "Invalid DateTime");
    EXPECT_EQ(dt.GetDay(), -1);

    // A valid status with a value beyond the supported years cannot be formatted.
    CDateTime far;
    far.m_dt = 1e9;
    EXPECT_EQ(far.Format("%Y"), "Invalid DateTime");

    const CDateTime ok(2024, 5, 21, 13, 4, 5);
    EXPECT_FALSE(dt < ok);
    EXPECT_FALSE(ok < dt);
    EXPECT_NE(dt, ok);
    EXPECT_EQ(dt, CDateTime(2023, 2, 29, 0, 0, 0));  // two invalid values are equal
}

TEST(DateTime, OrdersByMomentAlsoBeforeTheOrigin) {
    const CDateTime sequence[] = {
        CDateTime(100, 1, 1, 0, 0, 0),      CDateTime(1899, 12, 29, 6, 0, 0),
        CDateTime(1899, 12, 29, 12, 0, 0),  CDateTime(1899, 12, 30, 0, 0, 0),
        CDateTime(1899, 12, 30, 0, 0, 1),   CDateTime(2024, 5, 21, 13, 4, 5),
        CDateTime(9999, 12, 31, 23, 59, 59)};
    const int n = sizeof sequence / sizeof sequence[0];
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            EXPECT_EQ(sequence[i] < sequence[j], i < j) << i << " " << j;
            EXPECT_EQ(sequence[i] == sequence[j], i == j) << i << " " << j;
        }
    }
}

TEST(DateTime, FormattedTextParsesBackToTheSameValue) {
    const CDateTime values[] = {CDateTime(2024, 5, 21, 13, 4, 5),
                                CDateTime(1899, 12, 29, 18, 30, 59),
                                CDateTime(1600, 2, 29, 0, 0, 1), CDateTime(100, 1, 1, 0, 0, 0),
                                CDateTime(9999, 12, 31, 23, 59, 59)};
    const char* const formats[] = {"%Y-%m-%d %H:%M:%S", "%Y-%m-%dT%H:%M:%S", "%d %B %Y %H:%M:%S",
                                   "%b %d, %Y %I:%M:%S %p", "%d/%m/%Y %H:%M:%S"};
    for (const CDateTime& value : values) {
        for (const char* format : formats) {
            const std::string text = value.Format(format);
            CDateTime back;
            EXPECT_TRUE(back.ParseDateTime(text)) << text;
            EXPECT_EQ(back, value) << text;
        }
    }
}

TEST(DateTime, CurrentTimeIsAValidRecentDate) {
    const CDateTime now = CDateTime::GetCurrentTime();
    ASSERT_EQ(now.GetStatus(), CDateTime::valid);
    EXPECT_GE(now.GetYear(), 2024);
    EXPECT_LT(CDateTime(2024, 1, 1, 0, 0, 0), now);
}

}  // namespace
