#include "svy3/external/measure.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using ZAR::CMeasure;
using ZAR::SMeasure;

TEST(Measure, UnitTextsReadBackAndNamesAreAcceptedWithoutRegardToCase) {
    std::string symbols;
    for (ZAR::Enum<ZAR::UNIT_TYPE> unit = 0; unit <= 8; ++unit) {
        const std::string text = CMeasure(SMeasure(2.0, unit)).GetUnitSymbol();
        EXPECT_EQ(CMeasure::StringToUnit(text, false), unit) << "'" << text << "'";
        EXPECT_EQ(CMeasure::StringToUnit(text, true), unit) << "'" << text << "'";
        symbols += text + ",";
    }
    EXPECT_EQ(symbols + CMeasure::UnitToString(9), ",m,cm,mm,km,ft,in,yd,mi,");  // 9: unknown
    const std::pair<const char*, int> accepted[] = {
        {"metre", 1}, {"Meter", 1}, {"METRES", 1}, {" M ", 1},        {"MM", 3},
        {"feet", 5},  {"Foot", 5},  {"inches", 6}, {"Kilometers", 4}, {"\tyards\r\n", 7}};
    for (const auto& [text, code] : accepted)
        EXPECT_EQ(CMeasure::StringToUnit(text, false), code) << text;
    EXPECT_EQ(CMeasure::StringToUnit("metre", true), 0);
    for (const char* refused : {"", "meterz", "f t", "furlong", "1m", "none"})
        EXPECT_EQ(CMeasure::StringToUnit(refused, false), 0) << refused;
}

TEST(Measure, ConversionsAreExactWhereTheDefinitionsAreAndReversible) {
    EXPECT_EQ(CMeasure::ConvertTo(3.0, 5, 6), 36.0);            // ft -> in
    EXPECT_EQ(CMeasure::ConvertTo(1.0, 8, 1), 1609.344);        // mi -> m
    EXPECT_EQ(CMeasure::ConvertTo(1.0, 8, 7), 1760.0);          // mi -> yd
    EXPECT_EQ(CMeasure::ConvertTo(2.5, 4, 2), 250000.0);        // km -> cm
    EXPECT_DOUBLE_EQ(CMeasure::ConvertTo(1e305, 4, 1), 1e308);  // no overflow on the way
    for (int from = 1; from <= 8; ++from)
        for (int to = 1; to <= 8; ++to) {
            const double v = -1234.5678;
            const double back = CMeasure::ConvertTo(CMeasure::ConvertTo(v, from, to), to, from);
            EXPECT_NEAR(back, v, 1e-12) << from << "->" << to;
            double f = 0.0;
            ASSERT_TRUE(CMeasure::GetConversionFactor(from, to, f));
            EXPECT_NEAR(v * f, CMeasure::ConvertTo(v, from, to), std::abs(v * f) * 1e-15);
        }
    // No unit (0) or an unknown code on either side leaves values unchanged.
    for (int other : {0, 1, 8})
        for (int none : {0, 42}) {
            EXPECT_EQ(CMeasure::ConvertTo(12.5, none, other), 12.5);
            EXPECT_EQ(CMeasure::ConvertTo(12.5, other, none), 12.5);
            double factor = 7.0;
            EXPECT_FALSE(CMeasure::GetConversionFactor(other, none, factor));
            EXPECT_EQ(factor, 1.0);
        }
}

TEST(Measure, SMeasureKeepsItsUnitAndConverts) {
    SMeasure step(0.05, 1);
    step = 0.25;  // replaces the value only
    EXPECT_EQ(step, SMeasure(0.25, 1));
    EXPECT_EQ(step(3), 250.0);
    EXPECT_EQ(step(0), 0.25);
    EXPECT_EQ(step.Convert(2), SMeasure(25.0, 2));
    EXPECT_EQ(SMeasure(1.0, 1).Convert(5, 3), SMeasure(3.281, 5));
    EXPECT_EQ(SMeasure(-1.0, 1).Convert(5, 0), SMeasure(-3.0, 5));
    EXPECT_EQ(SMeasure(1.0, 1).Convert(5, 400).value, SMeasure(1.0, 1).Convert(5).value);
    EXPECT_EQ(SMeasure(4.0, 0).Convert(1), SMeasure(4.0, 1));
}

}  // namespace
