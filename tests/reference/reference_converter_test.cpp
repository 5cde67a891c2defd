// The distance tables: one table's interpolation both ways, and the user-to-odometer chain.
#include "svy3/reference/reference_converter.h"

#include <gmock/gmock.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "svy3/reference/converter.h"

namespace {

using testing::ElementsAre;
using testing::IsNan;

const double kOrigin[] = {0.0};

// Lower and upper point of the segment the last conversion used.
std::vector<double> Segment(const ZAR::CConverter& table) {
    return {double(table.GetLowerIndex()), double(table.GetUpperIndex())};
}

TEST(Converter, InterpolatesExtrapolatesAndRecordsTheSegmentBothWays) {
    const double x[] = {0.0, 10.0, 20.0};
    const double y[] = {0.0, 20.0, 25.0};  // slopes 2 and 0.5
    ZAR::CConverter table;
    table.Initialize(x, y, 3);
    // (x, y, lower point of the segment): inside each segment, beyond each end (the end segment
    // continued), and on the inner point, which uses the following segment.
    const double rows[][3] = {{5, 10, 0}, {15, 22.5, 1}, {-5, -10, 0}, {30, 30, 1}, {10, 20, 1}};
    for (const auto& [in, out, lower] : rows) {
        SCOPED_TRACE(in);
        EXPECT_DOUBLE_EQ(table.Convert(in), out);
        EXPECT_THAT(Segment(table), ElementsAre(lower, lower + 1));
        EXPECT_DOUBLE_EQ(table.ConvertInverse(out), in);
        EXPECT_THAT(Segment(table), ElementsAre(lower, lower + 1));
    }
    table.Initialize(y + 1, x + 1, 1);  // the one point (20, 10): an offset of -10
    EXPECT_DOUBLE_EQ(table.Convert(35.0), 25.0);
    EXPECT_DOUBLE_EQ(table.ConvertInverse(25.0), 35.0);
    EXPECT_THAT(Segment(table), ElementsAre(0, 0));

    // Equal neighbouring inputs divide by zero silently; y ascends: the inverse stays finite.
    const double repeated[] = {0.0, 5.0, 5.0};
    table.Initialize(repeated, x, 3);
    EXPECT_THAT(table.Convert(5.0), IsNan());
    EXPECT_TRUE(std::isinf(table.Convert(6.0)));
    EXPECT_DOUBLE_EQ(table.ConvertInverse(5.0), 2.5);

    // Bad arguments keep the table; a count of zero empties it.
    table.Initialize(nullptr, x, 1);
    table.Initialize(x, nullptr, 1);
    table.Initialize(x, x, -1);
    EXPECT_EQ(table.GetPoints().size(), 3u);
    table.Initialize(x, x, 0);
    EXPECT_THROW(table.Convert(1.0), std::invalid_argument);
    EXPECT_THROW(table.ConvertInverse(1.0), std::invalid_argument);
}

TEST(ReferenceConverter, User2IdxRoundsAndMovesTheUserDistance) {
    ZAR::CReferenceConverter c;  // every scale equal
    c.InitializeUser2RefTable(kOrigin, kOrigin, 1);
    c.InitializeRef2OdoTable(kOrigin, kOrigin, 1);
    // User, rounding, index and the user distance of that index; start 0, step 0.5: index 2 * user.
    // Halves, negative indices and whole indices (user 1.5) included.
    const std::tuple<double, ZAR::ERounding, double, double> rows[] = {
        {1.2, ZAR::RoundNearest, 2.0, 1.0},  {1.2, ZAR::RoundUp, 3.0, 1.5},
        {1.2, ZAR::RoundNone, 2.4, 1.2},     {1.2, ZAR::ERounding(7), 2.4, 1.2},
        {1.25, ZAR::RoundNearest, 3.0, 1.5}, {-1.25, ZAR::RoundNearest, -2.0, -1.0},
        {-1.25, ZAR::RoundDown, -3.0, -1.5}, {-1.25, ZAR::RoundUp, -2.0, -1.0},
        {1.5, ZAR::RoundUp, 3.0, 1.5},       {1.5, ZAR::RoundDown, 3.0, 1.5}};
    for (const auto& [given, rounding, index, moved] : rows) {
        SCOPED_TRACE(testing::Message() << given << " rounding " << rounding);
        double user = given;
        EXPECT_DOUBLE_EQ(c.User2Idx(user, 0.0, 0.5, rounding), index);
        EXPECT_DOUBLE_EQ(user, moved);
    }
}

TEST(ReferenceConverter, LargestRef2OdoRatio) {
    ZAR::CReferenceConverter c;
    const auto ratio = [&c](std::vector<double> ref, std::vector<double> odo) {
        c.InitializeRef2OdoTable(ref.data(), odo.data(), static_cast<int32_t>(ref.size()));
        return c.GetLargestRef2OdoRatio();
    };
    EXPECT_DOUBLE_EQ(ratio({0}, {0}), 1.0);  // no segment
    EXPECT_DOUBLE_EQ(ratio({0, 10, 20}, {0, 11, 20}), 10.0 / 9.0);
    EXPECT_DOUBLE_EQ(ratio({0, 10}, {0, -5}), 0.0);
    EXPECT_DOUBLE_EQ(ratio({0, 10, 10}, {0, 5, 5}), 2.0);  // the 0/0 of a repeated point is skipped
    EXPECT_EQ(ratio({0, 10}, {0, 0}), std::numeric_limits<double>::infinity());
}

TEST(ReferenceConverter, TablesAreChainedInTheRightOrderAndCopiesOwnThem) {
    // Reference = user - 5, odometer = 2 * reference: the two orders of the tables differ.
    const double five[] = {5.0}, ref[] = {0.0, 10.0}, odo[] = {0.0, 20.0};
    ZAR::CReferenceConverter original, assigned;
    original.InitializeUser2RefTable(five, kOrigin, 1);
    original.InitializeRef2OdoTable(ref, odo, 2);
    ZAR::CReferenceConverter copy(original);
    EXPECT_THROW(assigned.User2Odo(1.0), std::invalid_argument);  // the tables start empty
    assigned = original;
    const ZAR::CReferenceConverter& same = assigned;
    assigned = same;                                       // self-assignment keeps the tables
    original.InitializeRef2OdoTable(kOrigin, kOrigin, 0);  // the chain's second table emptied
    double user = 16.0;
    EXPECT_THROW(original.User2Idx(user, 0.0, 1.0, ZAR::RoundNone), std::invalid_argument);

    for (ZAR::CReferenceConverter* c : {&copy, &assigned}) {
        EXPECT_DOUBLE_EQ(c->User2Odo(15.0), 20.0);
        EXPECT_DOUBLE_EQ(c->Odo2User(20.0), 15.0);
    }
    EXPECT_DOUBLE_EQ(copy.Idx2User(4.0, 2.0, 4.5), 15.0);  // odometer 4 * 4.5 + 2 = 20
    // User 16 is odometer 22, index (22 - 3) / 4.5 = 4.2 rounded to 4, odometer 21, user 15.5.
    EXPECT_DOUBLE_EQ(copy.User2Idx(user, 3.0, 4.5, ZAR::RoundNearest), 4.0);
    EXPECT_DOUBLE_EQ(user, 15.5);
}

}  // namespace
