// A calendar date and time of day with a validity status, the value the project document's
// provenance and site blocks store.
#pragma once

#include <string>

#include "svy3/platform/export.h"

#if defined(_WIN32) && defined(GetCurrentTime)
#undef GetCurrentTime  // <windows.h> maps this name to GetTickCount
#endif

namespace ZAR {

// A date and time to the second, from 1 January 100 to 31 December 9999, kept as days since
// 30 December 1899 midnight. The whole part counts days; the fractional part is the time of day
// (0.25 is 06:00). Before 30 December 1899 the whole part is negative and the time of day is still
// added to its magnitude: -1.25 is 29 December 1899 06:00. Times carry no time zone.
class SVY3_API CDateTime {
  public:
    enum DateTimeStatus {
        valid = 0,    // m_dt holds a date and time
        invalid = 1,  // the last construction, parse or set failed
        null = 2,     // no value
    };

    // Valid, 30 December 1899 00:00:00 (m_dt 0.0).
    CDateTime();
    // The given date and time; status invalid (m_dt 0.0) when a field is out of range: year
    // 100..9999, month 1..12, day within the month, hour 0..23, minute and second 0..59.
    CDateTime(int year, int month, int day, int hour, int minute, int second);

    // The computer's local date and time, to the second.
    static CDateTime GetCurrentTime();

    // Sets the date and time as the constructor does; true when valid.
    bool SetDateTime(int year, int month, int day, int hour, int minute, int second);

    // Reads a date with an optional time; leading and trailing blanks are allowed. Dates:
    //   YYYY-MM-DD, YYYY-Mon-DD          year first
    //   DD-MM-YYYY, DD-Mon-YYYY          day first (MM-DD-YYYY only when the first number cannot
    //                                    be a month's day but the second cannot be a month)
    //   Mon DD YYYY, Mon DD, YYYY, DD Mon YYYY
    // where '-' may also be '/' or '.' (the same twice), the year has three or four digits, and
    // Mon is an English month name, full or its first three letters, in any letter case. The time
    // follows after blanks or a 'T': HH:MM or HH:MM:SS, optionally followed by AM or PM (then the
    // hour is 1..12). A date alone is midnight. On success the status is valid and true is
    // returned; anything else, including impossible dates and trailing text, leaves status
    // invalid and m_dt 0.0 and returns false.
    bool ParseDateTime(const std::string& text);

    // Formats the value like strftime: status null gives "", invalid (or a value outside the
    // supported years) gives "Invalid DateTime". These conversions are done here, in English and
    // for any year: %Y %y %C %m %d %e %j %H %I %M %S %p %a %A %b %B %h %w %u %F %T %D %R %r %n %t
    // %%. %c %x %X %U %W %V %G %g %z %Z go to the C library's strftime (the current locale; no
    // time zone conversion takes place). Any other conversion is copied as written.
    std::string Format(const char* strftimeFormat) const;

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }

    // Parts of a valid value; -1 when the value is not valid.
    int GetYear() const;
    int GetMonth() const;      // 1..12
    int GetDay() const;        // 1..31
    int GetHour() const;       // 0..23
    int GetMinute() const;     // 0..59
    int GetSecond() const;     // 0..59
    int GetDayOfWeek() const;  // 1 Sunday .. 7 Saturday
    int GetDayOfYear() const;  // 1..366

    // Earlier in time. A value that is not valid is neither earlier nor later than any other.
    bool operator<(const CDateTime& other) const;
    // Same status and, when valid, the same moment.
    bool operator==(const CDateTime& other) const;
    bool operator!=(const CDateTime& other) const { return !(*this == other); }

    double m_dt;
    DateTimeStatus m_status;
};

}  // namespace ZAR
