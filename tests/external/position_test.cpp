#include "svy3/external/position.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "support/test_support.h"
#include "svy3/external/number_tests.h"
#include "svy3/external/uid.h"

namespace {

using svy3_test::Join;
using ZAR::Position;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Position, ValidityAndUnits) {
    EXPECT_FALSE(Position<double>(1.0, kNaN, 0.0, 1).Valid());
    Position<double> p;
    p.Y(250.0, 2);  // cm
    EXPECT_FALSE(p.Valid());
    p.X(10.0, 5);            // ft
    EXPECT_TRUE(p.Valid());  // a missing height is allowed
    const std::string converted = Join(p.X(1), p.Y(3), p.Z(1));
    p.X(7.0, 0);   // unit 0: stored as given
    p.T(12.5, 5);  // time ignores the unit
    EXPECT_EQ(converted + Join(p.X(1), p.T(1)), "3.048 2500 nan 7 12.5 ");
}

TEST(Position, SettingEqualityAndCopy) {
    Position<double> a(1.0, 2.0, kNaN, 1);
    a.T(4.0, 0);
    a.Trace(17.0);
    a(5.0, 6.0, kNaN, 1);  // coordinates only: time and trace stay
    EXPECT_EQ(Join(a.X(1), a.T(0), a.Trace()), "5 4 17 ");
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
}

TEST(Position, MatrixProductsAndOutput) {
    const ZAR::PositionMatrix m = {{0.0, -1.0, 0.0}, {1.0, 0.0, 0.0}, {0.0, 0.0, 2.0}};
    Position<double> p(1.5, -2.0, kNaN, 1);
    p.Trace(17.0);
    std::ostringstream out;
    out << p << p;
    // A missing height counts as 0 in the products.
    EXPECT_EQ(Join(p.X(m), p.Y(m), p.Z(m), out.str()),
              "2 1.5 0 (1.5,-2,nan,0,17)(1.5,-2,nan,0,17) ");
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
