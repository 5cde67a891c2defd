// Length units and measures: a value with its unit code, conversions between units and the unit
// texts written into and read from project documents.
#pragma once

#include <cstdint>
#include <string>

#include "svy3/platform/export.h"

namespace ZAR {

// Carries an enumeration's value as a plain 32-bit integer, so that codes read from documents and
// codes the library does not know pass through unchanged.
template <class T>
using Enum = T;

// Length unit code. Code 0 means "no unit": conversions from or to it leave a value unchanged.
using UNIT_TYPE = int32_t;

constexpr UNIT_TYPE UNIT_NONE = 0;
constexpr UNIT_TYPE UNIT_M = 1;  // metre, the length unit of every model of the library
constexpr UNIT_TYPE UNIT_CM = 2;
constexpr UNIT_TYPE UNIT_MM = 3;
constexpr UNIT_TYPE UNIT_KM = 4;
constexpr UNIT_TYPE UNIT_FT = 5;
constexpr UNIT_TYPE UNIT_IN = 6;
constexpr UNIT_TYPE UNIT_YD = 7;
constexpr UNIT_TYPE UNIT_MI = 8;

// A value and the unit it is expressed in.
struct SVY3_API SMeasure {
    double value = 0.0;
    Enum<UNIT_TYPE> unit = UNIT_NONE;

    SMeasure() = default;
    SMeasure(double v, Enum<UNIT_TYPE> u) : value(v), unit(u) {}

    // Replaces the value and keeps the unit.
    SMeasure& operator=(double v) {
        value = v;
        return *this;
    }

    // The value expressed in `to` (unchanged when either unit is 0 or not a known code).
    double operator()(Enum<UNIT_TYPE> to) const;

    // The measure expressed in `to` (its unit becomes `to` in every case). A non-negative
    // `decimals` rounds the converted value to that many digits after the decimal point (half away
    // from zero); -1 keeps it as computed.
    SMeasure Convert(Enum<UNIT_TYPE> to, int decimals = -1) const;

    // Same value and same unit code (no conversion).
    bool operator==(const SMeasure& other) const {
        return value == other.value && unit == other.unit;
    }
    bool operator!=(const SMeasure& other) const { return !(*this == other); }
};

// A measure object: holds an SMeasure and gives the texts of unit codes.
class SVY3_API CMeasure {
  public:
    CMeasure() = default;
    explicit CMeasure(const SMeasure& measure) : m_measure(measure) {}
    virtual ~CMeasure();

    void SetMeasure(const SMeasure& measure) { m_measure = measure; }
    const SMeasure& GetMeasure() const { return m_measure; }

    // Symbol of the held measure's unit, as UnitToString gives it.
    std::string GetUnitSymbol() const;

    // Unit code of a unit text. With `strict` false, blanks around the text and letter case are
    // ignored and names are accepted beside symbols ("m", "metre", "meter", "metres", "FEET",
    // "in", "inches", ...). With `strict` true only the exact symbols of UnitToString are
    // accepted. Any other text gives 0.
    static Enum<UNIT_TYPE> StringToUnit(const std::string& text, bool strict);

    // Symbol of a unit code: "m", "cm", "mm", "km", "ft", "in", "yd", "mi"; the empty text for 0
    // and for unknown codes. StringToUnit reads every symbol back to its code.
    static std::string UnitToString(Enum<UNIT_TYPE> unit);

    // `value` given in `from`, expressed in `to`. Unchanged when either code is 0 or unknown.
    static double ConvertTo(double value, Enum<UNIT_TYPE> from, Enum<UNIT_TYPE> to);

    // Sets `factor` to the number by which values in `from` are multiplied to express them in
    // `to` and returns true. When either code is 0 or unknown, `factor` becomes 1.0 and the
    // result is false.
    static bool GetConversionFactor(Enum<UNIT_TYPE> from, Enum<UNIT_TYPE> to, double& factor);

  protected:
    SMeasure m_measure;
};

}  // namespace ZAR
