#include "svy3/reference/converter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace {

TEST(Converter, InterpolatesExtrapolatesAndRecordsTheSegmentBothWays) {
    const double x[] = {0.0, 10.0, 20.0};
    const double y[] = {0.0, 20.0, 25.0};  // slopes 2 and 0.5
    ZAR::CConverter table;
    table.Initialize(x, y, 3);
    // (x, y, lower point of the segment): inside each segment, beyond each end (the end segment
    // continued), and on the inner point, which uses the following segment.
    const double rows[][3] = {{5, 10, 0}, {15, 22.5, 1}, {-5, -10, 0}, {30, 30, 1}, {10, 20, 1}};
    for (const auto& [in, out, lower] : rows) {
        EXPECT_DOUBLE_EQ(table.Convert(in), out) << in;
        EXPECT_EQ(table.GetLowerIndex(), lower) << in;
        EXPECT_EQ(table.GetUpperIndex(), lower + 1) << in;
        EXPECT_DOUBLE_EQ(table.ConvertInverse(out), in) << out;
        EXPECT_EQ(table.GetLowerIndex(), lower) << out;
        EXPECT_EQ(table.GetUpperIndex(), lower + 1) << out;
    }
    table.Initialize(y + 1, x + 1, 1);  // the one point (20, 10): an offset of -10
    EXPECT_DOUBLE_EQ(table.Convert(35.0), 25.0);
    EXPECT_DOUBLE_EQ(table.ConvertInverse(25.0), 35.0);
    EXPECT_EQ(table.GetLowerIndex(), 0);
    EXPECT_EQ(table.GetUpperIndex(), 0);
}

TEST(Converter, EqualNeighbouringInputsDivideByZeroSilently) {
    const double x[] = {0.0, 5.0, 5.0};
    const double y[] = {0.0, 1.0, 2.0};
    ZAR::CConverter table;
    table.Initialize(x, y, 3);
    EXPECT_TRUE(std::isnan(table.Convert(5.0)));
    EXPECT_TRUE(std::isinf(table.Convert(6.0)));
    EXPECT_DOUBLE_EQ(table.ConvertInverse(0.5), 2.5);  // y ascends: the inverse stays finite
}

TEST(Converter, InitializeKeepsTableOnBadArgumentsAndEmptiesOnZeroCount) {
    const double x[] = {1.0, 2.0};
    ZAR::CConverter table;
    table.Initialize(x, x, 2);
    table.Initialize(nullptr, x, 1);
    table.Initialize(x, nullptr, 1);
    table.Initialize(x, x, -1);
    ASSERT_EQ(table.GetPoints().size(), 2u);
    EXPECT_DOUBLE_EQ(table.GetPoints()[1].y, 2.0);

    table.Initialize(x, x, 0);
    EXPECT_TRUE(table.GetPoints().empty());
    EXPECT_THROW(table.Convert(1.0), std::invalid_argument);
    EXPECT_THROW(table.ConvertInverse(1.0), std::invalid_argument);
}

}  // namespace
