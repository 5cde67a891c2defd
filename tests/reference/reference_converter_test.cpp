#include "svy3/reference/reference_converter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

const double kOrigin[] = {0.0};

// User distance equals reference distance; the odometer reads 11 where the ground says 10.
ZAR::CReferenceConverter LongOdometer() {
    ZAR::CReferenceConverter c;
    c.InitializeUser2RefTable(kOrigin, kOrigin, 1);
    const double ref[] = {0.0, 10.0};
    const double odo[] = {0.0, 11.0};
    c.InitializeRef2OdoTable(ref, odo, 2);
    return c;
}

// Every scale equal: index = (user - start) / step.
ZAR::CReferenceConverter Identity() {
    ZAR::CReferenceConverter c;
    c.InitializeUser2RefTable(kOrigin, kOrigin, 1);
    c.InitializeRef2OdoTable(kOrigin, kOrigin, 1);
    return c;
}

TEST(ReferenceConverter, ConvertsBetweenUserAndOdometerDistance) {
    ZAR::CReferenceConverter c = LongOdometer();
    EXPECT_DOUBLE_EQ(c.User2Odo(5.0), 5.5);
    EXPECT_DOUBLE_EQ(c.User2Odo(20.0), 22.0);
    EXPECT_DOUBLE_EQ(c.User2Odo(-10.0), -11.0);
    EXPECT_DOUBLE_EQ(c.Odo2User(5.5), 5.0);
    EXPECT_DOUBLE_EQ(c.Odo2User(22.0), 20.0);
    EXPECT_DOUBLE_EQ(c.Odo2User(-11.0), -10.0);
}

TEST(ReferenceConverter, TablesAreChainedInTheRightOrder) {
    // Reference = user - 5, odometer = 2 * reference: the two orders give different results.
    ZAR::CReferenceConverter c;
    const double user[] = {5.0};
    c.InitializeUser2RefTable(user, kOrigin, 1);
    const double ref[] = {0.0, 10.0};
    const double odo[] = {0.0, 20.0};
    c.InitializeRef2OdoTable(ref, odo, 2);
    EXPECT_DOUBLE_EQ(c.User2Odo(15.0), 20.0);
    EXPECT_DOUBLE_EQ(c.Odo2User(20.0), 15.0);
    EXPECT_DOUBLE_EQ(c.Idx2User(4.0, 2.0, 4.5), 15.0);  // odometer 4 * 4.5 + 2 = 20
}

TEST(ReferenceConverter, User2IdxRoundsAndMovesTheUserDistance) {
    ZAR::CReferenceConverter c = Identity();
    double user = 1.2;  // index 2.4
    EXPECT_DOUBLE_EQ(c.User2Idx(user, 0.0, 0.5, ZAR::RoundNearest), 2.0);
    EXPECT_DOUBLE_EQ(user, 1.0);
    user = 1.2;
    EXPECT_DOUBLE_EQ(c.User2Idx(user, 0.0, 0.5, ZAR::RoundUp), 3.0);
    EXPECT_DOUBLE_EQ(user, 1.5);
    user = 1.2;
    EXPECT_DOUBLE_EQ(c.User2Idx(user, 0.0, 0.5, ZAR::RoundDown), 2.0);
    EXPECT_DOUBLE_EQ(user, 1.0);
    user = 1.2;
    EXPECT_DOUBLE_EQ(c.User2Idx(user, 0.0, 0.5, ZAR::RoundNone), 2.4);
    EXPECT_DOUBLE_EQ(user, 1.2);
    user = 1.2;  // an unknown rounding value does not round
    EXPECT_DOUBLE_EQ(c.User2Idx(user, 0.0, 0.5, static_cast<ZAR::ERounding>(7)), 2.4);
}

TEST(ReferenceConverter, User2IdxHalvesAndNegativeIndices) {
    ZAR::CReferenceConverter c = Identity();
    double user = 1.25;  // index exactly 2.5
    EXPECT_DOUBLE_EQ(c.User2Idx(user, 0.0, 0.5, ZAR::RoundNearest), 3.0);
    EXPECT_DOUBLE_EQ(user, 1.5);
    user = -1.25;  // index -2.5: halves go up, towards -2
    EXPECT_DOUBLE_EQ(c.User2Idx(user, 0.0, 0.5, ZAR::RoundNearest), -2.0);
    EXPECT_DOUBLE_EQ(user, -1.0);
    user = -1.25;
    EXPECT_DOUBLE_EQ(c.User2Idx(user, 0.0, 0.5, ZAR::RoundDown), -3.0);
    EXPECT_DOUBLE_EQ(user, -1.5);
    user = -1.25;
    EXPECT_DOUBLE_EQ(c.User2Idx(user, 0.0, 0.5, ZAR::RoundUp), -2.0);
    EXPECT_DOUBLE_EQ(user, -1.0);
}

TEST(ReferenceConverter, User2IdxUsesStartAndConvertsBackThroughTheTables) {
    ZAR::CReferenceConverter identity = Identity();
    double user = 2.1;  // index (2.1 - 1) / 0.25 = 4.4
    EXPECT_DOUBLE_EQ(identity.User2Idx(user, 1.0, 0.25, ZAR::RoundNearest), 4.0);
    EXPECT_DOUBLE_EQ(user, 2.0);

    ZAR::CReferenceConverter c = LongOdometer();
    user = 5.0;  // odometer 5.5, index 5.5 -> 6, odometer 6 is user 60 / 11
    EXPECT_DOUBLE_EQ(c.User2Idx(user, 0.0, 1.0, ZAR::RoundNearest), 6.0);
    EXPECT_DOUBLE_EQ(user, 60.0 / 11.0);
}

TEST(ReferenceConverter, LargestRef2OdoRatio) {
    ZAR::CReferenceConverter c;
    EXPECT_DOUBLE_EQ(c.GetLargestRef2OdoRatio(), 1.0);  // empty
    c.InitializeRef2OdoTable(kOrigin, kOrigin, 1);
    EXPECT_DOUBLE_EQ(c.GetLargestRef2OdoRatio(), 1.0);

    const double ref[] = {0.0, 10.0, 20.0};
    const double odo[] = {0.0, 11.0, 20.0};
    c.InitializeRef2OdoTable(ref, odo, 3);
    EXPECT_DOUBLE_EQ(c.GetLargestRef2OdoRatio(), 10.0 / 9.0);

    const double falling[] = {0.0, -5.0};
    c.InitializeRef2OdoTable(ref, falling, 2);
    EXPECT_DOUBLE_EQ(c.GetLargestRef2OdoRatio(), 0.0);

    // A repeated point gives 0/0, which is skipped; the next segment's ratio is 2.
    const double ref3[] = {0.0, 0.0, 10.0};
    const double odo3[] = {0.0, 0.0, 5.0};
    c.InitializeRef2OdoTable(ref3, odo3, 3);
    EXPECT_DOUBLE_EQ(c.GetLargestRef2OdoRatio(), 2.0);

    const double flat[] = {0.0, 0.0};
    c.InitializeRef2OdoTable(ref, flat, 2);
    EXPECT_EQ(c.GetLargestRef2OdoRatio(), std::numeric_limits<double>::infinity());
}

TEST(ReferenceConverter, EmptyTablesThrowInvalidArgument) {
    ZAR::CReferenceConverter fresh;
    EXPECT_THROW(fresh.User2Odo(1.0), std::invalid_argument);
    EXPECT_THROW(fresh.Odo2User(1.0), std::invalid_argument);

    // A table emptied by a count of 0 after it held points, with the other table filled.
    ZAR::CReferenceConverter c = LongOdometer();
    c.InitializeRef2OdoTable(kOrigin, kOrigin, 0);
    EXPECT_THROW(c.User2Odo(1.0), std::invalid_argument);
    EXPECT_THROW(c.Odo2User(1.0), std::invalid_argument);
    double user = 1.0;
    EXPECT_THROW(c.User2Idx(user, 0.0, 1.0, ZAR::RoundNone), std::invalid_argument);
}

TEST(ReferenceConverter, CopiesOwnTheirTables) {
    ZAR::CReferenceConverter original = LongOdometer();
    ZAR::CReferenceConverter copy(original);
    ZAR::CReferenceConverter assigned;
    assigned = original;
    original.InitializeRef2OdoTable(kOrigin, kOrigin, 0);

    EXPECT_DOUBLE_EQ(copy.User2Odo(20.0), 22.0);
    EXPECT_DOUBLE_EQ(assigned.User2Odo(20.0), 22.0);
    ASSERT_EQ(assigned.GetRef2OdoTable().size(), 2u);
    EXPECT_DOUBLE_EQ(assigned.GetRef2OdoTable()[1].y, 11.0);
    EXPECT_EQ(assigned.GetUser2RefTable().size(), 1u);

    const ZAR::CReferenceConverter& same = assigned;
    assigned = same;  // self-assignment keeps the tables
    EXPECT_DOUBLE_EQ(assigned.Odo2User(11.0), 10.0);
}

}  // namespace
