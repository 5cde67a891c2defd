#include "svy3/reference/reference_converter.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace {

const double kOrigin[] = {0.0};

// Reference = user - 5, odometer = 2 * reference: the two orders of the tables differ.
ZAR::CReferenceConverter Chained() {
    ZAR::CReferenceConverter c;
    const double five[] = {5.0};
    c.InitializeUser2RefTable(five, kOrigin, 1);
    const double ref[] = {0.0, 10.0};
    const double odo[] = {0.0, 20.0};
    c.InitializeRef2OdoTable(ref, odo, 2);
    return c;
}

TEST(ReferenceConverter, TablesAreChainedInTheRightOrder) {
    ZAR::CReferenceConverter c = Chained();
    EXPECT_DOUBLE_EQ(c.User2Odo(15.0), 20.0);
    EXPECT_DOUBLE_EQ(c.Odo2User(20.0), 15.0);
    EXPECT_DOUBLE_EQ(c.Idx2User(4.0, 2.0, 4.5), 15.0);  // odometer 4 * 4.5 + 2 = 20
    // User 16 is odometer 22, index (22 - 3) / 4.5 = 4.2 rounded to 4, odometer 21, user 15.5.
    double user = 16.0;
    EXPECT_DOUBLE_EQ(c.User2Idx(user, 3.0, 4.5, ZAR::RoundNearest), 4.0);
    EXPECT_DOUBLE_EQ(user, 15.5);
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
    EXPECT_DOUBLE_EQ(c.GetLargestRef2OdoRatio(), 1.0);  // empty
    const auto ratio = [&c](std::vector<double> ref, std::vector<double> odo) {
        c.InitializeRef2OdoTable(ref.data(), odo.data(), static_cast<int32_t>(ref.size()));
        return c.GetLargestRef2OdoRatio();
    };
    EXPECT_DOUBLE_EQ(ratio({0}, {0}), 1.0);
    EXPECT_DOUBLE_EQ(ratio({0, 10, 20}, {0, 11, 20}), 10.0 / 9.0);
    EXPECT_DOUBLE_EQ(ratio({0, 10}, {0, -5}), 0.0);
    EXPECT_DOUBLE_EQ(ratio({0, 10, 10}, {0, 5, 5}), 2.0);  // the 0/0 of a repeated point is skipped
    EXPECT_EQ(ratio({0, 10}, {0, 0}), std::numeric_limits<double>::infinity());
}

TEST(ReferenceConverter, TablesStartEmptyAndCopiesOwnTheirTables) {
    ZAR::CReferenceConverter original = Chained(), copy(original), assigned;
    EXPECT_THROW(assigned.User2Odo(1.0), std::invalid_argument);
    EXPECT_THROW(assigned.Odo2User(1.0), std::invalid_argument);
    assigned = original;
    original.InitializeRef2OdoTable(kOrigin, kOrigin, 0);  // the chain's second table emptied
    double user = 1.0;
    EXPECT_THROW(original.User2Idx(user, 0.0, 1.0, ZAR::RoundNone), std::invalid_argument);

    EXPECT_DOUBLE_EQ(copy.User2Odo(15.0), 20.0);
    EXPECT_DOUBLE_EQ(assigned.User2Odo(15.0), 20.0);
    ASSERT_EQ(assigned.GetRef2OdoTable().size(), 2u);
    EXPECT_DOUBLE_EQ(assigned.GetRef2OdoTable()[1].y, 20.0);
    EXPECT_EQ(assigned.GetUser2RefTable().size(), 1u);
    const ZAR::CReferenceConverter& same = assigned;
    assigned = same;  // self-assignment keeps the tables
    EXPECT_DOUBLE_EQ(assigned.Odo2User(20.0), 15.0);
}

}  // namespace
