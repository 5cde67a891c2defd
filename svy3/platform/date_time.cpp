#include "svy3/platform/date_time.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

#include "svy3/platform/text.h"

namespace ZAR {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Days from 30 December 1899 to 1 January 1970, the origin of the calendar functions below.
constexpr int64_t kDaysTo1970 = 25569;
constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;

const char* const kMonthNames[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};
const char* const kDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};

// Days since 1 January 1970 of a date of the proleptic Gregorian calendar; exact for any year.
int64_t DaysFromCivil(int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;  // 0..399
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The inverse of DaysFromCivil.
void CivilFromDays(int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;  // 0..146096
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;  // 0..399
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // 0 = March
    day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool FieldsInRange(int year, int month, int day, int hour, int minute, int second) {
    return year >= kMinYear && year <= kMaxYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59 && second >= 0 && second <= 59;
}

// The stored value on a straight time line (days since the origin, time included with its sign),
// so that earlier moments give smaller numbers also before the origin.
double Linear(double dt) {
    if (dt >= 0.0)
        return dt;
    const double wholeDays = std::ceil(dt);
    return wholeDays - (dt - wholeDays);
}

struct Broken {
    int year, month, day, hour, minute, second;
    int weekday;    // 0 Sunday .. 6 Saturday
    int dayOfYear;  // 1..366
};

// Splits a stored value into its parts, rounded to the nearest second; false for NaN and for
// values outside the supported years.
bool Split(double dt, Broken& out) {
    if (!(std::fabs(dt) < 4.0e6))  // well beyond year 9999 either way; also catches NaN
        return false;
    const int64_t total = std::llround(Linear(dt) * kSecondsPerDay);
    int64_t days = total / kSecondsPerDay;
    int64_t seconds = total % kSecondsPerDay;
    if (seconds < 0) {
        seconds += kSecondsPerDay;
        days -= 1;
    }
    CivilFromDays(days - kDaysTo1970, out.year, out.month, out.day);
    if (out.year < kMinYear || out.year > kMaxYear)
        return false;
    out.hour = static_cast<int>(seconds / 3600);
    out.minute = static_cast<int>(seconds / 60 % 60);
    out.second = static_cast<int>(seconds % 60);
    out.weekday = static_cast<int>(((days + 6) % 7 + 7) % 7);  // the origin was a Saturday
    out.dayOfYear = static_cast<int>(days - kDaysTo1970 - DaysFromCivil(out.year, 1, 1) + 1);
    return true;
}

// --- Parsing ---------------------------------------------------------------------------------

struct Token {
    enum Kind { Number, Word, Blank, Mark } kind;
    std::string text;  // digits, letters, or the mark character
    int value = 0;     // Number: its value (digit runs are at most 4 long)
};

bool Tokenize(const std::string& text, std::vector<Token>& tokens) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        Token token;
        if (std::isdigit(c)) {
            token.kind = Token::Number;
            while (i < n && std::isdigit(static_cast<unsigned char>(text[i])))
                token.text += text[i++];
            if (token.text.size() > 4)
                return false;
            token.value = std::stoi(token.text);
        } else if (std::isalpha(c)) {
            token.kind = Token::Word;
            while (i < n && std::isalpha(static_cast<unsigned char>(text[i])))
                token.text += text[i++];
        } else if (std::isspace(c)) {
            token.kind = Token::Blank;
            while (i < n && std::isspace(static_cast<unsigned char>(text[i])))
                ++i;
        } else {
            token.kind = Token::Mark;
            token.text = text.substr(i++, 1);
        }
        tokens.push_back(token);
    }
    // Blanks around the whole text are ignored.
    if (!tokens.empty() && tokens.back().kind == Token::Blank)
        tokens.pop_back();
    if (!tokens.empty() && tokens.front().kind == Token::Blank)
        tokens.erase(tokens.begin());
    return true;
}

// 1..12 for an English month name or its three-letter abbreviation, else 0.
int MonthFromName(const std::string& word) {
    for (int m = 0; m < 12; ++m) {
        const std::string name = kMonthNames[m];
        if (EqualIgnoringCase(word, name) || EqualIgnoringCase(word, name.substr(0, 3)))
            return m + 1;
    }
    return 0;
}

// Walks the token list; every matcher consumes its token only on success.
class Reader {
  public:
    explicit Reader(const std::vector<Token>& tokens) : m_tokens(tokens) {}

    bool AtEnd() const { return m_pos == m_tokens.size(); }

    bool Number(int minDigits, int maxDigits, int& value) {
        if (AtEnd() || m_tokens[m_pos].kind != Token::Number)
            return false;
        const int digits = static_cast<int>(m_tokens[m_pos].text.size());
        if (digits < minDigits || digits > maxDigits)
            return false;
        value = m_tokens[m_pos++].value;
        return true;
    }
    bool MonthName(int& month) {
        if (AtEnd() || m_tokens[m_pos].kind != Token::Word)
            return false;
        month = MonthFromName(m_tokens[m_pos].text);
        if (month == 0)
            return false;
        ++m_pos;
        return true;
    }
    bool Mark(char& mark, const char* allowed) {
        if (AtEnd() || m_tokens[m_pos].kind != Token::Mark)
            return false;
        for (const char* a = allowed; *a; ++a) {
            if (m_tokens[m_pos].text[0] == *a) {
                mark = *a;
                ++m_pos;
                return true;
            }
        }
        return false;
    }
    bool Mark(char wanted) {
        char found = 0;
        const char allowed[2] = {wanted, '\0'};
        return Mark(found, allowed);
    }
    bool Blank() {
        if (AtEnd() || m_tokens[m_pos].kind != Token::Blank)
            return false;
        ++m_pos;
        return true;
    }
    bool Word(const char* word) {
        if (AtEnd() || m_tokens[m_pos].kind != Token::Word ||
            !EqualIgnoringCase(m_tokens[m_pos].text, word))
            return false;
        ++m_pos;
        return true;
    }
    std::size_t Position() const { return m_pos; }
    void Rewind(std::size_t pos) { m_pos = pos; }

  private:
    const std::vector<Token>& m_tokens;
    std::size_t m_pos = 0;
};

const char* const kDateSeparators = "-/.";

// A month given as a number or a name.
bool Month(Reader& r, int& month, bool& named) {
    named = r.MonthName(month);
    return named || r.Number(1, 2, month);
}

// YYYY-MM-DD, YYYY-Mon-DD.
bool YearFirst(Reader& r, int& year, int& month, int& day) {
    char first = 0;
    bool named = false;
    return r.Number(3, 4, year) && r.Mark(first, kDateSeparators) && Month(r, month, named) &&
           r.Mark(first) && r.Number(1, 2, day);
}

// DD-MM-YYYY, DD-Mon-YYYY; MM-DD-YYYY when only that order makes sense.
bool DayFirst(Reader& r, int& year, int& month, int& day) {
    char first = 0;
    bool named = false;
    if (!(r.Number(1, 2, day) && r.Mark(first, kDateSeparators) && Month(r, month, named) &&
          r.Mark(first) && r.Number(3, 4, year)))
        return false;
    if (!named && month > 12 && day <= 12)
        std::swap(day, month);
    return true;
}

// Mon DD YYYY, Mon DD, YYYY, DD Mon YYYY.
bool Spelled(Reader& r, int& year, int& month, int& day) {
    const std::size_t start = r.Position();
    if (r.MonthName(month)) {
        if (!(r.Blank() && r.Number(1, 2, day)))
            return false;
        const bool comma = r.Mark(',');
        return (r.Blank() || comma) && r.Number(3, 4, year);
    }
    r.Rewind(start);
    return r.Number(1, 2, day) && r.Blank() && r.MonthName(month) && r.Blank() &&
           r.Number(3, 4, year);
}

// HH:MM[:SS][ AM|PM], after the date's blank or 'T'.
bool TimeOfDay(Reader& r, int& hour, int& minute, int& second) {
    second = 0;
    if (!(r.Number(1, 2, hour) && r.Mark(':') && r.Number(2, 2, minute)))
        return false;
    if (r.Mark(':') && !r.Number(2, 2, second))
        return false;
    const std::size_t beforeSuffix = r.Position();
    r.Blank();
    const bool am = r.Word("AM");
    const bool pm = !am && r.Word("PM");
    if (!am && !pm) {
        r.Rewind(beforeSuffix);
        return true;
    }
    if (hour < 1 || hour > 12)
        return false;
    hour = hour % 12 + (pm ? 12 : 0);
    return true;
}

bool ParseFields(const std::string& text, int& year, int& month, int& day, int& hour, int& minute,
                 int& second) {
    std::vector<Token> tokens;
    if (!Tokenize(text, tokens))
        return false;
    Reader r(tokens);
    bool dated = false;
    for (auto form : {YearFirst, DayFirst, Spelled}) {
        r.Rewind(0);
        if (form(r, year, month, day)) {
            dated = true;
            break;
        }
    }
    if (!dated)
        return false;
    hour = minute = second = 0;
    if (r.AtEnd())
        return true;
    if (!r.Blank() && !r.Word("T"))
        return false;
    return TimeOfDay(r, hour, minute, second) && r.AtEnd();
}

// --- Formatting ------------------------------------------------------------------------------

// Conversions whose result is a number: the conversion letters, then per letter the width to
// which the number is padded.
const char kNumericConversions[] = "YyCmdejHIMSwu";
const int kNumericWidths[] = {1, 2, 2, 2, 2, 2, 3, 2, 2, 2, 2, 1, 1};

// Conversions that stand for a sequence of others.
const char* Expansion(char c) {
    switch (c) {
        case 'F':
            return "%Y-%m-%d";
        case 'T':
            return "%H:%M:%S";
        case 'R':
            return "%H:%M";
        case 'r':
            return "%I:%M:%S %p";
        case 'D':
            return "%m/%d/%y";
        default:
            return nullptr;
    }
}

// Conversions handed to the C library's strftime: locale forms, week numbers and the zone.
const char kLibraryConversions[] = "cxXUWVGgzZ";

void AppendFromLibrary(std::string& out, char conversion, const Broken& b) {
    std::tm tm{};
    tm.tm_year = b.year - 1900;
    tm.tm_mon = b.month - 1;
    tm.tm_mday = b.day;
    tm.tm_hour = b.hour;
    tm.tm_min = b.minute;
    tm.tm_sec = b.second;
    tm.tm_wday = b.weekday;
    tm.tm_yday = b.dayOfYear - 1;
    tm.tm_isdst = -1;
    const char format[3] = {'%', conversion, '\0'};
    char buffer[256];
    const std::size_t n = std::strftime(buffer, sizeof buffer, format, &tm);
    out.append(buffer, n);
}

void FormatInto(std::string& out, const char* format, const Broken& b);

// Appends one conversion; false when `c` is not a conversion this formatter knows.
bool AppendConversion(std::string& out, char c, const Broken& b) {
    const char* numeric = c != '\0' ? std::strchr(kNumericConversions, c) : nullptr;
    if (numeric != nullptr) {
        const int hour12 = b.hour % 12 == 0 ? 12 : b.hour % 12;
        const int values[] = {b.year,
                              b.year % 100,
                              b.year / 100,
                              b.month,
                              b.day,
                              b.day,
                              b.dayOfYear,
                              b.hour,
                              hour12,
                              b.minute,
                              b.second,
                              b.weekday,
                              b.weekday == 0 ? 7 : b.weekday};
        const std::size_t k = static_cast<std::size_t>(numeric - kNumericConversions);
        const std::string digits = std::to_string(values[k]);
        const std::size_t width = static_cast<std::size_t>(kNumericWidths[k]);
        if (digits.size() < width)
            out.append(width - digits.size(), c == 'e' ? ' ' : '0');
        out += digits;
    } else if (const char* expansion = Expansion(c)) {
        FormatInto(out, expansion, b);
    } else if (c == 'a' || c == 'A') {
        const std::string name = kDayNames[b.weekday];
        out += c == 'a' ? name.substr(0, 3) : name;
    } else if (c == 'b' || c == 'h' || c == 'B') {
        const std::string name = kMonthNames[b.month - 1];
        out += c == 'B' ? name : name.substr(0, 3);
    } else if (c == 'p') {
        out += b.hour < 12 ? "AM" : "PM";
    } else if (c == 'n' || c == 't' || c == '%') {
        out += c == 'n' ? '\n' : c == 't' ? '\t' : '%';
    } else if (c != '\0' && std::strchr(kLibraryConversions, c) != nullptr) {
        AppendFromLibrary(out, c, b);
    } else {
        return false;
    }
    return true;
}

void FormatInto(std::string& out, const char* format, const Broken& b) {
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        const char* start = p;
        // The E and O modifiers ask for a locale's alternative era or digits; the plain
        // conversion is what they give in the "C" locale.
        if (p[1] == 'E' || p[1] == 'O')
            ++p;
        if (p[1] == '\0') {  // a '%' that ends the format is kept as text
            out.append(start);
            return;
        }
        ++p;
        if (!AppendConversion(out, *p, b))
            out.append(start, static_cast<std::size_t>(p - start + 1));
    }
}

void SetFromFields(double& dt, int year, int month, int day, int hour, int minute, int second) {
    const int64_t days = DaysFromCivil(year, month, day) + kDaysTo1970;
    const double timeOfDay = (hour * 3600 + minute * 60 + second) / double(kSecondsPerDay);
    dt = days >= 0 ? static_cast<double>(days) + timeOfDay : static_cast<double>(days) - timeOfDay;
}

}  // namespace

CDateTime::CDateTime() : m_dt(0.0), m_status(valid) {}

CDateTime::CDateTime(int year, int month, int day, int hour, int minute, int second)
    : m_dt(0.0), m_status(valid) {
    SetDateTime(year, month, day, hour, minute, second);
}

bool CDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
    if (!FieldsInRange(year, month, day, hour, minute, second)) {
        m_dt = 0.0;
        m_status = invalid;
        return false;
    }
    SetFromFields(m_dt, year, month, day, hour, minute, second);
    m_status = valid;
    return true;
}

CDateTime CDateTime::GetCurrentTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    const bool ok = localtime_s(&local, &now) == 0;
#else
    const bool ok = localtime_r(&now, &local) != nullptr;
#endif
    CDateTime result;
    if (!ok) {
        result.m_status = invalid;
        return result;
    }
    // A leap second (60) is shown as the last second of its minute.
    result.SetDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                       local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec);
    return result;
}

bool CDateTime::ParseDateTime(const std::string& text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!ParseFields(text, year, month, day, hour, minute, second)) {
        m_dt = 0.0;
        m_status = invalid;
        return false;
    }
    return SetDateTime(year, month, day, hour, minute, second);
}

std::string CDateTime::Format(const char* strftimeFormat) const {
    if (m_status == null)
        return std::string();
    Broken b{};
    if (m_status != valid || !Split(m_dt, b))
        return "Invalid DateTime";
    std::string out;
    if (strftimeFormat != nullptr)
        FormatInto(out, strftimeFormat, b);
    return out;
}

namespace {
// One part of a value, or -1 when the value is not valid.
int PartOf(const CDateTime& dt, int Broken::*part, int offset = 0) {
    Broken b{};
    return dt.m_status == CDateTime::valid && Split(dt.m_dt, b) ? b.*part + offset : -1;
}
}  // namespace

int CDateTime::GetYear() const {
    return PartOf(*this, &Broken::year);
}
int CDateTime::GetMonth() const {
    return PartOf(*this, &Broken::month);
}
int CDateTime::GetDay() const {
    return PartOf(*this, &Broken::day);
}
int CDateTime::GetHour() const {
    return PartOf(*this, &Broken::hour);
}
int CDateTime::GetMinute() const {
    return PartOf(*this, &Broken::minute);
}
int CDateTime::GetSecond() const {
    return PartOf(*this, &Broken::second);
}
int CDateTime::GetDayOfWeek() const {
    return PartOf(*this, &Broken::weekday, 1);
}
int CDateTime::GetDayOfYear() const {
    return PartOf(*this, &Broken::dayOfYear);
}

bool CDateTime::operator<(const CDateTime& other) const {
    return m_status == valid && other.m_status == valid && Linear(m_dt) < Linear(other.m_dt);
}

bool CDateTime::operator==(const CDateTime& other) const {
    return m_status == other.m_status && (m_status != valid || m_dt == other.m_dt);
}

}  // namespace ZAR
