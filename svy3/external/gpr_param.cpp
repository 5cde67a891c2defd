#include "svy3/external/gpr_param.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <vector>

#include <boost/filesystem/operations.hpp>
#include <boost/make_shared.hpp>

#include "svy3/platform/date_time.h"
#include "svy3/platform/leading_number.h"
#include "svy3/platform/text.h"

namespace ZAR {
namespace {

// Normalised spellings of the keys this reader knows.
const char* const kNumTraces = "NUMBER OF TRACES";
const char* const kSamples = "NUMBER OF PTS/TRC";
const char* const kTimeZero = "TIMEZERO AT POINT";
const char* const kTimeWindow = "TOTAL TIME WINDOW";
const char* const kSamplingInterval = "SAMPLING INTERVAL";
const char* const kStart = "STARTING POSITION";
const char* const kEnd = "FINAL POSITION";
const char* const kStep = "STEP SIZE USED";
const char* const kUnits = "POSITION UNITS";
const char* const kFrequency = "NOMINAL FREQUENCY";
const char* const kSeparation = "ANTENNA SEPARATION";
const char* const kVoltage = "PULSER VOLTAGE (V)";
const char* const kStacks = "NUMBER OF STACKS";
const char* const kSurveyMode = "SURVEY MODE";
const char* const kOdometer = "ODOMETER CALIBRATION (T/M)";
const char* const kTraceStacking = "TRACE STACKING";
const char* const kDate = "DATE";

const char* const kKeys[] = {kNumTraces,     kSamples, kTimeZero, kTimeWindow, kSamplingInterval,
                             kStart,         kEnd,     kStep,     kUnits,      kFrequency,
                             kSeparation,    kVoltage, kStacks,   kSurveyMode, kOdometer,
                             kTraceStacking, kDate};

// Blanks within a header line; line ends are already gone.
const char kBlanks[] = " \t\v\f";

bool IsBlank(char c) {
    return c != '\0' && std::strchr(kBlanks, c) != nullptr;
}

std::string TrimLine(const std::string& text) {
    return Trim(text, kBlanks);
}

// Upper case, blank runs collapsed to one space, no blanks at either end.
std::string NormalizeKey(const std::string& key) {
    std::string result;
    bool pendingBlank = false;
    for (char c : key) {
        if (IsBlank(c)) {
            pendingBlank = !result.empty();
            continue;
        }
        if (pendingBlank)
            result += ' ';
        pendingBlank = false;
        result += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return result;
}

// Splits at LF, CR LF and lone CR.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// The date line: a line the date-time class reads as a date with an optional time.
bool LooksLikeDate(const std::string& line) {
    CDateTime date;
    return date.ParseDateTime(line);
}

// Leading number of a value; false (and 0) when there is none or it is not finite.
double ReadDouble(const std::string& text) {
    const double value = LeadingDouble(text.c_str());
    return std::isfinite(value) ? value : 0.0;
}

// Leading digits of a count; 0 when negative, missing or beyond 32 bits.
uint32_t ReadCount(const std::string& text) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '+')
        ++i;
    uint64_t value = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
        digits = true;
        if (value > 0xFFFFFFFFull)
            return 0;
    }
    return digits ? static_cast<uint32_t>(value) : 0;
}

std::string NumberText(double value) {
    char buffer[64];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

std::string SingleLine(const std::string& text) {
    std::string result = text;
    for (char& c : result)
        if (c == '\r' || c == '\n')
            c = ' ';
    return TrimLine(result);
}

}  // namespace

bool SGprParam::operator==(const SGprParam& o) const {
    return NumTraces == o.NumTraces && SamplesPerTrace == o.SamplesPerTrace &&
           TimeZero == o.TimeZero && TimeWindowNs == o.TimeWindowNs &&
           SamplingIntervalNs == o.SamplingIntervalNs && StartPosition == o.StartPosition &&
           EndPosition == o.EndPosition && StepSize == o.StepSize &&
           FrequencyMHz == o.FrequencyMHz && AntennaSeparation == o.AntennaSeparation &&
           PulserVoltage == o.PulserVoltage && Stacks == o.Stacks && SurveyMode == o.SurveyMode &&
           OdometerTicksPerMetre == o.OdometerTicksPerMetre && TraceStacking == o.TraceStacking &&
           DateTime == o.DateTime;
}

GprParam::GprParam() : m_param(boost::make_shared<SGprParam>()) {}

void GprParam::SetGprParam(const boost::shared_ptr<SGprParam>& param) {
    if (param)
        m_param = param;
}

int GprParam::Load(const std::string& path, int storageType) {
    m_param = boost::make_shared<SGprParam>();
    if (storageType != 0)
        return LoadUnknownStorage;

    boost::system::error_code ec;
    if (!boost::filesystem::is_regular_file(boost::filesystem::path(path), ec) || ec)
        return LoadCannotRead;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return LoadCannotRead;
    // Read in chunks so that a small header costs little; one byte more than allowed tells a
    // file at the limit from a larger one.
    std::string text;
    char chunk[16384];
    while (text.size() <= MaxHeaderBytes && file.read(chunk, sizeof chunk).gcount() > 0)
        text.append(chunk, static_cast<std::size_t>(file.gcount()));
    if (file.bad())
        return LoadCannotRead;
    if (text.size() > MaxHeaderBytes)
        return LoadTooLarge;
    if (text.empty() || text.find('\0') != std::string::npos)
        return LoadNotAHeader;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);

    std::map<std::string, std::string> values;
    std::string dateLine;
    int nonBlankLines = 0;
    for (const std::string& raw : SplitLines(text)) {
        const std::string line = TrimLine(raw);
        if (line.empty())
            continue;
        ++nonBlankLines;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            if (nonBlankLines <= 3 && dateLine.empty() && LooksLikeDate(line))
                dateLine = line;
            continue;
        }
        const std::string key = NormalizeKey(line.substr(0, equals));
        for (const char* known : kKeys)
            if (key == known)
                values[key] = TrimLine(line.substr(equals + 1));
    }
    if (values.empty())
        return LoadNotAHeader;

    auto get = [&](const char* key) -> std::string {
        const auto it = values.find(key);
        return it == values.end() ? std::string() : it->second;
    };
    SGprParam& p = *m_param;
    p.NumTraces = ReadCount(get(kNumTraces));
    p.SamplesPerTrace = ReadCount(get(kSamples));
    p.TimeZero = ReadDouble(get(kTimeZero));
    p.TimeWindowNs = ReadDouble(get(kTimeWindow));
    p.SamplingIntervalNs = ReadDouble(get(kSamplingInterval));
    if (!(p.SamplingIntervalNs > 0.0))
        p.SamplingIntervalNs = p.SamplesPerTrace > 0 ? p.TimeWindowNs / p.SamplesPerTrace : 0.0;
    const Enum<UNIT_TYPE> unit = CMeasure::StringToUnit(get(kUnits), false);
    p.StartPosition = SMeasure(ReadDouble(get(kStart)), unit);
    p.EndPosition = SMeasure(ReadDouble(get(kEnd)), unit);
    p.StepSize = SMeasure(ReadDouble(get(kStep)), unit);
    p.AntennaSeparation = SMeasure(ReadDouble(get(kSeparation)), unit);
    p.FrequencyMHz = ReadDouble(get(kFrequency));
    p.PulserVoltage = ReadDouble(get(kVoltage));
    p.Stacks = ReadCount(get(kStacks));
    p.SurveyMode = get(kSurveyMode);
    p.OdometerTicksPerMetre = ReadDouble(get(kOdometer));
    p.TraceStacking = get(kTraceStacking);
    p.DateTime = values.count(kDate) ? get(kDate) : dateLine;
    return LoadOk;
}

int GprParam::Save(const std::string& path) const {
    const SGprParam& p = *m_param;
    const Enum<UNIT_TYPE> unit = p.StepSize.unit;
    const std::string date = SingleLine(p.DateTime);
    std::string text;
    auto line = [&text](const char* key, const std::string& value) {
        text += key;
        text += " = ";
        text += value;
        text += "\r\n";
    };
    if (!date.empty() && LooksLikeDate(date))
        text += date + "\r\n";
    else if (!date.empty())
        line(kDate, date);
    line(kNumTraces, std::to_string(p.NumTraces));
    line(kSamples, std::to_string(p.SamplesPerTrace));
    line(kTimeZero, NumberText(p.TimeZero));
    line(kTimeWindow, NumberText(p.TimeWindowNs));
    line(kSamplingInterval, NumberText(p.SamplingIntervalNs));
    line(kStart, NumberText(p.StartPosition(unit)));
    line(kEnd, NumberText(p.EndPosition(unit)));
    line(kStep, NumberText(p.StepSize.value));
    line(kUnits, CMeasure::UnitToString(unit));
    line(kFrequency, NumberText(p.FrequencyMHz));
    line(kSeparation, NumberText(p.AntennaSeparation(unit)));
    line(kVoltage, NumberText(p.PulserVoltage));
    line(kStacks, std::to_string(p.Stacks));
    line(kSurveyMode, SingleLine(p.SurveyMode));
    line(kOdometer, NumberText(p.OdometerTicksPerMetre));
    if (!p.TraceStacking.empty())
        line(kTraceStacking, SingleLine(p.TraceStacking));

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return SaveCannotWrite;
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    return file ? SaveOk : SaveCannotWrite;
}

}  // namespace ZAR
