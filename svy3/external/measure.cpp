#include "svy3/external/measure.h"

#include <cctype>
#include <cmath>

#include "svy3/platform/text.h"

namespace ZAR {
namespace {

// Every known unit as a whole number of micrometres: all of them are exact in a double, so a
// conversion factor is one correctly rounded division and 3 ft converts to exactly 36 in.
struct UnitRow {
    const char* symbol;
    double micrometres;
    // Accepted names beside the symbol, lower case, null-terminated list.
    const char* names[6];
};

const UnitRow kUnits[] = {
    {"", 0.0, {nullptr}},
    {"m", 1e6, {"metre", "meter", "metres", "meters", nullptr}},
    {"cm", 1e4, {"centimetre", "centimeter", "centimetres", "centimeters", nullptr}},
    {"mm", 1e3, {"millimetre", "millimeter", "millimetres", "millimeters", nullptr}},
    {"km", 1e9, {"kilometre", "kilometer", "kilometres", "kilometers", nullptr}},
    {"ft", 304800.0, {"foot", "feet", nullptr}},
    {"in", 25400.0, {"inch", "inches", nullptr}},
    {"yd", 914400.0, {"yard", "yards", "yds", nullptr}},
    {"mi", 1609344000.0, {"mile", "miles", nullptr}},
};
constexpr int kUnitCount = static_cast<int>(sizeof(kUnits) / sizeof(kUnits[0]));

bool IsLength(Enum<UNIT_TYPE> unit) {
    return unit > UNIT_NONE && unit < kUnitCount;
}

std::string TrimmedLower(const std::string& text) {
    return ToLower(Trim(text));
}

}  // namespace

double SMeasure::operator()(Enum<UNIT_TYPE> to) const {
    return CMeasure::ConvertTo(value, unit, to);
}

SMeasure SMeasure::Convert(Enum<UNIT_TYPE> to, int decimals) const {
    double converted = CMeasure::ConvertTo(value, unit, to);
    if (decimals >= 0 && std::isfinite(converted)) {
        const double scale = std::pow(10.0, decimals);
        const double scaled = converted * scale;
        // Beyond the precision of a double rounding changes nothing (and the scale may overflow).
        if (std::isfinite(scaled) && std::fabs(scaled) < 9007199254740992.0)
            converted = std::round(scaled) / scale;
    }
    return SMeasure(converted, to);
}

CMeasure::~CMeasure() = default;

std::string CMeasure::GetUnitSymbol() const {
    return UnitToString(m_measure.unit);
}

Enum<UNIT_TYPE> CMeasure::StringToUnit(const std::string& text, bool strict) {
    if (strict) {
        for (int code = 1; code < kUnitCount; ++code)
            if (text == kUnits[code].symbol)
                return code;
        return UNIT_NONE;
    }
    const std::string key = TrimmedLower(text);
    if (key.empty())
        return UNIT_NONE;
    for (int code = 1; code < kUnitCount; ++code) {
        if (key == kUnits[code].symbol)
            return code;
        for (const char* const* name = kUnits[code].names; *name; ++name)
            if (key == *name)
                return code;
    }
    return UNIT_NONE;
}

std::string CMeasure::UnitToString(Enum<UNIT_TYPE> unit) {
    return IsLength(unit) ? kUnits[unit].symbol : "";
}

double CMeasure::ConvertTo(double value, Enum<UNIT_TYPE> from, Enum<UNIT_TYPE> to) {
    if (from == to || !IsLength(from) || !IsLength(to))
        return value;
    // Multiplying first keeps exact results exact (3 ft * 304800 / 25400 = 36 in); a value so
    // large that the product overflows takes the factor instead.
    const double product = value * kUnits[from].micrometres;
    if (std::isfinite(product) || !std::isfinite(value))
        return product / kUnits[to].micrometres;
    return value * (kUnits[from].micrometres / kUnits[to].micrometres);
}

bool CMeasure::GetConversionFactor(Enum<UNIT_TYPE> from, Enum<UNIT_TYPE> to, double& factor) {
    if (!IsLength(from) || !IsLength(to)) {
        factor = 1.0;
        return false;
    }
    factor = kUnits[from].micrometres / kUnits[to].micrometres;
    return true;
}

}  // namespace ZAR
