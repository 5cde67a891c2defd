#include "svy3/external/position.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "svy3/external/number_tests.h"
#include "svy3/external/uid.h"

namespace {

using ZAR::Position;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Position, DefaultIsNotValidAndValidityNeedsXAndY) {
    Position<double> p;
    EXPECT_FALSE(p.Valid());
    p.X(1.0, 1);
    EXPECT_FALSE(p.Valid());
    p.Y(2.0, 1);
    EXPECT_TRUE(p.Valid());  // a missing height is allowed
    EXPECT_TRUE(ZAR::IsNaN(p.Z(1)));
    p.Y(std::numeric_limits<double>::infinity(), 1);
    EXPECT_FALSE(p.Valid());
}

TEST(Position, CoordinatesConvertBetweenUnits) {
    Position<double> p;
    p.X(10.0, 5);   // ft
    p.Y(250.0, 2);  // cm
    p.Z(-3.0, 1);
    EXPECT_DOUBLE_EQ(p.X(1), 3.048);
    EXPECT_DOUBLE_EQ(p.Y(1), 2.5);
    EXPECT_DOUBLE_EQ(p.Z(3), -3000.0);
    EXPECT_DOUBLE_EQ(p.X(5), 10.0);
    // Unit 0 takes and gives the stored metres unchanged.
    p.X(7.0, 0);
    EXPECT_EQ(p.X(1), 7.0);
    EXPECT_EQ(p.X(0), 7.0);
    // Time is kept as given whatever the unit argument.
    p.T(12.5, 5);
    EXPECT_EQ(p.T(1), 12.5);
}

TEST(Position, WholePointSetAndCoordinateCall) {
    Position<double> p(1.0, 2.0, 3.0, 1);
    p.T(4.0, 0);
    p.Trace(17.0);
    p(5.0, 6.0, 7.0, 1);  // keeps time and trace
    EXPECT_EQ(p.T(0), 4.0);
    EXPECT_EQ(p.Trace(), 17.0);
    EXPECT_EQ(p.X(1), 5.0);
    p.Set(1.0, 1.0, 1.0, 3);  // a new point: time and trace back to 0
    EXPECT_EQ(p.T(0), 0.0);
    EXPECT_EQ(p.Trace(), 0.0);
    EXPECT_DOUBLE_EQ(p.Z(1), 0.001);
}

TEST(Position, EqualityCopyAndNaN) {
    Position<double> a(1.0, 2.0, kNaN, 1);
    a.Trace(3.0);
    Position<double> b;
    EXPECT_TRUE(b != a);
    b.Set(a, 5);
    EXPECT_TRUE(b == a);  // NaN heights in the same place are equal
    EXPECT_DOUBLE_EQ(b.X(1), 1.0);
    b.Trace(4.0);
    EXPECT_FALSE(b == a);
    EXPECT_TRUE(Position<double>() == Position<double>());
    Position<double> c(1.0, 2.0, 0.0, 1);
    c.Trace(3.0);
    EXPECT_FALSE(c == a);
}

TEST(Position, MatrixProductsTreatMissingHeightAsZero) {
    const ZAR::PositionMatrix rotate = {{0.0, -1.0, 0.0}, {1.0, 0.0, 0.0}, {0.0, 0.0, 2.0}};
    Position<double> p(3.0, 4.0, kNaN, 1);
    EXPECT_EQ(p.X(rotate), -4.0);
    EXPECT_EQ(p.Y(rotate), 3.0);
    EXPECT_EQ(p.Z(rotate), 0.0);
    p.Z(5.0, 1);
    EXPECT_EQ(p.Z(rotate), 10.0);
}

TEST(Position, PrintsOnOneLine) {
    Position<double> p(1.5, -2.0, kNaN, 1);
    p.Trace(17.0);
    std::ostringstream out;
    out << p << p;
    EXPECT_EQ(out.str(), "(1.5,-2,nan,0,17)(1.5,-2,nan,0,17)");
}

TEST(Uid, IsTheFnv1aHashOfTheBytes) {
    // Published 32-bit FNV-1a test vectors.
    EXPECT_EQ(static_cast<uint32_t>(ZAR::Str2UID("")), 0x811C9DC5u);
    EXPECT_EQ(static_cast<uint32_t>(ZAR::Str2UID("a")), 0xE40C292Cu);
    EXPECT_EQ(static_cast<uint32_t>(ZAR::Str2UID("foobar")), 0xBF9CF968u);
    EXPECT_EQ(ZAR::Str2UID("COR@@@"), ZAR::Str2UID(std::string("COR@@@")));
    EXPECT_NE(ZAR::Str2UID("COR@@@"), ZAR::Str2UID("GPS@@@"));
    EXPECT_NE(ZAR::Str2UID(std::string("a\0b", 3)), ZAR::Str2UID("a"));
}

TEST(NumberTests, IsNaNOnlyForNotANumber) {
    EXPECT_TRUE(ZAR::IsNaN(kNaN));
    EXPECT_TRUE(ZAR::IsNaN(-kNaN));
    EXPECT_FALSE(ZAR::IsNaN(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(ZAR::IsNaN(0.0));
}

}  // namespace
