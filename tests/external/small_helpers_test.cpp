// The small types and helpers of the external code: file names, UTM zone texts, measures and
// units, positions, text hashes and the NaN test.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>

#include "support/test_support.h"
#include "svy3/external/cfile.h"
#include "svy3/external/gps_zone.h"
#include "svy3/external/measure.h"
#include "svy3/external/number_tests.h"
#include "svy3/external/position.h"
#include "svy3/external/uid.h"

namespace {

using svy3_test::Join;
using ZAR::CGps;
using ZAR::CMeasure;
using ZAR::Position;
using ZAR::SMeasure;
using ZAR::cfile::IsLegalFilename;
using ZAR::cfile::SanitizeName;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(CFile, LegalAndIllegalNames) {
    for (const char* name :
         {"LINE01", "a..b", ".hidden", "CONSOLE", "COM10", "LPT0", "my con", "\xC3\xA9t\xC3\xA9"})
        EXPECT_TRUE(IsLegalFilename(name, false)) << name;
    EXPECT_TRUE(IsLegalFilename(std::string(255, 'a'), false));
    for (const char* name : {"",     ".",   "..",      "a<b",        "a:b",       "a\"b",  "a/b",
                             "a\\b", "a|b", "a?b",     "a*b",        "tab\there", "name.", "name ",
                             "CON",  "con", "Prn.txt", "aux.tar.gz", "com9.log",  "LPT1"})
        EXPECT_FALSE(IsLegalFilename(name, false)) << name;
    EXPECT_FALSE(IsLegalFilename(std::string("a\0b", 3), false));
    EXPECT_FALSE(IsLegalFilename(std::string(256, 'a'), false));
    // As a relative path, each element must be legal.
    EXPECT_TRUE(IsLegalFilename("data/line1\\file.hd", true));
    for (const char* path : {"/abs", "dir/", "a//b", "dir/CON", "dir/../x"})
        EXPECT_FALSE(IsLegalFilename(path, true)) << path;
}

TEST(CFile, SanitizeRepairsIntoLegalNamesOrFailsLeavingTheName) {
    // The name, whether to replace or drop what is illegal, and the name repaired; null when
    // nothing legal remains and the call fails.
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"a<b>c", true, "a_b_c"},       {"a<b>c", false, "abc"},
        {"dir/file", true, "dir_file"}, {"CON", true, "_CON"},
        {"con.txt", false, "_con.txt"}, {"name. . ", true, "name"},
        {"ok name", true, "ok name"},   {"COM1 .", true, "_COM1"},
        {"???", false, nullptr},        {"..", true, nullptr},
        {" . ", true, nullptr},         {"", true, nullptr}};
    for (const auto& [in, replace, out] : cases) {
        std::string name = in;
        EXPECT_EQ(SanitizeName(name, replace), out != nullptr) << "'" << in << "'";
        EXPECT_EQ(name, out ? out : in) << "'" << in << "'";
    }
    // Long names are cut before a character that would straddle byte 255.
    std::string name = std::string(254, 'a') + "\xC3\xA9" + "tail";
    ASSERT_TRUE(SanitizeName(name, true));
    EXPECT_EQ(name, std::string(254, 'a'));
}

// The zone number and letter a text reads as; "none" when it is not a zone.
std::string ReadZone(const std::string& text) {
    const auto zone = CGps::Zone(text);
    return zone ? Join(zone->first, zone->second) : "none";
}

TEST(GpsZone, ReadsAndFormatsZoneTextsAndRefusesOthers) {
    // Blanks around the text and one between, either letter case, a leading zero; plain texts
    // such as "17T" are read in the round trip below.
    EXPECT_EQ(ReadZone("17 t") + ReadZone(" 7c\t") + ReadZone("07T"), "17 T 7 C 7 T ");
    for (const char* text : {"", "0Z", "0C", "61C", "17I", "17O", "17A", "17Y", "17", "T", "17TT",
                             "17  T", "-1C", "123C", "1 7T", "+7T"})
        EXPECT_EQ(ReadZone(text), "none") << "'" << text << "'";

    // Formatting and reading are inverse.
    for (int number = 1; number <= 60; ++number)
        for (char letter : std::string("CDEFGHJKLMNPQRSTUVWX"))
            EXPECT_EQ(ReadZone(CGps::Zone(std::make_pair(number, letter))), Join(number, letter));
    EXPECT_EQ(CGps::Zone(17, 'T'), "17T");
    EXPECT_EQ(CGps::Zone(5, 't'), "5T");
    // Invalid pairs give the empty text, which reads as no zone.
    for (const auto& pair : {std::make_pair(0, 'T'), std::make_pair(61, 'T'),
                             std::make_pair(17, 'I'), std::make_pair(17, '\0')})
        EXPECT_EQ(CGps::Zone(pair), "") << pair.first;
}

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

    // A measure keeps its unit and converts, rounded to a number of decimals when asked.
    SMeasure step(0.05, 1);
    step = 0.25;  // replaces the value only
    EXPECT_EQ(step, SMeasure(0.25, 1));
    EXPECT_EQ(step(3), 250.0);
    EXPECT_EQ(step.Convert(2), SMeasure(25.0, 2));
    EXPECT_EQ(SMeasure(1.0, 1).Convert(5, 3), SMeasure(3.281, 5));
    EXPECT_EQ(SMeasure(-1.0, 1).Convert(5, 0), SMeasure(-3.0, 5));
    EXPECT_EQ(SMeasure(1.0, 1).Convert(5, 400).value, SMeasure(1.0, 1).Convert(5).value);
}

TEST(Position, ValidityUnitsCopiesEqualityProductsAndOutput) {
    EXPECT_FALSE(Position<double>(1.0, kNaN, 0.0, 1).Valid());
    Position<double> a;
    a.Y(250.0, 2);  // cm
    EXPECT_FALSE(a.Valid());
    a.X(10.0, 5);            // ft
    EXPECT_TRUE(a.Valid());  // a missing height is allowed
    a.T(4.0, 5);             // time ignores the unit
    a.Trace(17.0);
    const std::string converted = Join(a.X(1), a.Y(3), a.Z(1), a.T(1));
    a(5.0, 6.0, kNaN, 0);  // unit 0: stored as given; coordinates only: time and trace stay
    EXPECT_EQ(converted + Join(a.X(1), a.Y(1), a.T(0), a.Trace()), "3.048 2500 nan 4 5 6 4 17 ");

    Position<double> b;
    EXPECT_TRUE(b != a);
    b.Set(a, 5);
    EXPECT_TRUE(b == a);  // NaN heights in the same place are equal
    b.T(4.5, 0);
    EXPECT_TRUE(b != a);
    b.Set(5.0, 6.0, kNaN, 1);  // a new point: time and trace back to 0
    EXPECT_EQ(Join(b.T(0), b.Trace()), "0 0 ");
    b.T(4.0, 0);
    EXPECT_FALSE(b == a);  // the trace number differs

    // A missing height counts as 0 in the products.
    const ZAR::PositionMatrix m = {{0.0, -1.0, 0.0}, {1.0, 0.0, 0.0}, {0.0, 0.0, 2.0}};
    std::ostringstream out;
    out << a << a;
    EXPECT_EQ(Join(a.X(m), a.Y(m), a.Z(m), out.str()), "-6 5 0 (5,6,nan,4,17)(5,6,nan,4,17) ");
}

TEST(Uid, IsTheFnv1aHashOfTheBytes) {
    // Published 32-bit FNV-1a test vectors; the bit pattern is read as a signed number.
    EXPECT_EQ(ZAR::Str2UID(""), -2128831035);
    EXPECT_EQ(static_cast<uint32_t>(ZAR::Str2UID("a")), 0xE40C292Cu);
    EXPECT_EQ(static_cast<uint32_t>(ZAR::Str2UID("foobar")), 0xBF9CF968u);
}

TEST(NumberTests, IsNaNOnlyForNotANumber) {
    EXPECT_TRUE(ZAR::IsNaN(-kNaN));
    EXPECT_FALSE(ZAR::IsNaN(std::numeric_limits<double>::infinity()));
}

}  // namespace
