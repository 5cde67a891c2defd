#include "svy3/reference/converter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace {

// Three points with segments of slope 2 and 0.5.
ZAR::CConverter TwoSegments() {
    const double x[] = {0.0, 10.0, 20.0};
    const double y[] = {0.0, 20.0, 25.0};
    ZAR::CConverter table;
    table.Initialize(x, y, 3);
    return table;
}

TEST(Converter, ForwardInterpolatesAndExtrapolatesAlongEndSegments) {
    ZAR::CConverter table = TwoSegments();
    EXPECT_DOUBLE_EQ(table.Convert(5.0), 10.0);
    EXPECT_DOUBLE_EQ(table.Convert(15.0), 22.5);
    // Below the table: the first segment continued; above: the last one.
    EXPECT_DOUBLE_EQ(table.Convert(-5.0), -10.0);
    EXPECT_EQ(table.GetLowerIndex(), 0);
    EXPECT_EQ(table.GetUpperIndex(), 1);
    EXPECT_DOUBLE_EQ(table.Convert(30.0), 30.0);
    EXPECT_EQ(table.GetLowerIndex(), 1);
    EXPECT_EQ(table.GetUpperIndex(), 2);
}

TEST(Converter, ValueOnInnerPointUsesTheFollowingSegment) {
    ZAR::CConverter table = TwoSegments();
    EXPECT_DOUBLE_EQ(table.Convert(10.0), 20.0);
    EXPECT_EQ(table.GetLowerIndex(), 1);
    EXPECT_EQ(table.GetUpperIndex(), 2);
    EXPECT_DOUBLE_EQ(table.ConvertInverse(20.0), 10.0);
    EXPECT_EQ(table.GetLowerIndex(), 1);
}

TEST(Converter, InverseSearchesTheOutputScale) {
    ZAR::CConverter table = TwoSegments();
    EXPECT_DOUBLE_EQ(table.ConvertInverse(10.0), 5.0);
    EXPECT_DOUBLE_EQ(table.ConvertInverse(22.5), 15.0);
    EXPECT_DOUBLE_EQ(table.ConvertInverse(-10.0), -5.0);
    EXPECT_DOUBLE_EQ(table.ConvertInverse(30.0), 30.0);
}

TEST(Converter, EqualNeighbouringInputsDivideByZeroSilently) {
    const double x[] = {0.0, 5.0, 5.0};
    const double y[] = {0.0, 1.0, 2.0};
    ZAR::CConverter table;
    table.Initialize(x, y, 3);
    EXPECT_TRUE(std::isnan(table.Convert(5.0)));
    EXPECT_TRUE(std::isinf(table.Convert(6.0)));
    // The inverse searches y, which ascends, so it stays finite.
    EXPECT_DOUBLE_EQ(table.ConvertInverse(0.5), 2.5);
}

TEST(Converter, InitializeKeepsTableOnBadArgumentsAndEmptiesOnZeroCount) {
    ZAR::CConverter table = TwoSegments();
    const double x[] = {1.0};
    table.Initialize(nullptr, x, 1);
    table.Initialize(x, nullptr, 1);
    table.Initialize(x, x, -1);
    ASSERT_EQ(table.GetPoints().size(), 3u);
    EXPECT_DOUBLE_EQ(table.GetPoints()[2].y, 25.0);

    table.Initialize(x, x, 0);
    EXPECT_TRUE(table.GetPoints().empty());
    EXPECT_THROW(table.Convert(1.0), std::invalid_argument);
    EXPECT_THROW(table.ConvertInverse(1.0), std::invalid_argument);
}

}  // namespace
