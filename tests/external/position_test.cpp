#include "svy3/external/position.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "svy3/external/number_tests.h"
#include "svy3/external/uid.h"

namespace {

using ZAR::Position;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Position, ValidityAndUnits) {
    EXPECT_FALSE(Position<double>(1.0, kNaN, 0.0, 1).Valid());
    Position<double> p;
    p.Y(250.0, 2);  // cm
    EXPECT_FALSE(p.Valid());
    p.X(10.0, 5);            // ft
    EXPECT_TRUE(p.Valid());  // a missing height is allowed
    EXPECT_TRUE(ZAR::IsNaN(p.Z(1)));
    EXPECT_DOUBLE_EQ(p.X(1), 3.048);
    EXPECT_DOUBLE_EQ(p.Y(3), 2500.0);
    p.X(7.0, 0);   // unit 0: stored as given
    p.T(12.5, 5);  // time ignores the unit
    EXPECT_EQ(p.X(1), 7.0);
    EXPECT_EQ(p.T(1), 12.5);
}

TEST(Position, SettingEqualityAndCopy) {
    Position<double> a(1.0, 2.0, kNaN, 1);
    a.T(4.0, 0);
    a.Trace(17.0);
    a(5.0, 6.0, kNaN, 1);  // coordinates only: time and trace stay
    EXPECT_EQ(a.T(0), 4.0);
    EXPECT_EQ(a.Trace(), 17.0);
    Position<double> b;
    EXPECT_TRUE(b != a);
    b.Set(a, 5);
    EXPECT_TRUE(b == a);  // NaN heights in the same place are equal
    b.T(4.5, 0);
    EXPECT_TRUE(b != a);
    b.Set(5.0, 6.0, kNaN, 1);  // a new point: time and trace back to 0
    EXPECT_EQ(b.T(0), 0.0);
    EXPECT_EQ(b.Trace(), 0.0);
    b.T(4.0, 0);
    EXPECT_FALSE(b == a);  // the trace number differs
}

TEST(Position, MatrixProductsAndOutput) {
    const ZAR::PositionMatrix m = {{0.0, -1.0, 0.0}, {1.0, 0.0, 0.0}, {0.0, 0.0, 2.0}};
    Position<double> p(1.5, -2.0, kNaN, 1);
    EXPECT_EQ(p.X(m), 2.0);
    EXPECT_EQ(p.Y(m), 1.5);
    EXPECT_EQ(p.Z(m), 0.0);  // a missing height counts as 0
    p.Trace(17.0);
    std::ostringstream out;
    out << p << p;
    EXPECT_EQ(out.str(), "(1.5,-2,nan,0,17)(1.5,-2,nan,0,17)");
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
