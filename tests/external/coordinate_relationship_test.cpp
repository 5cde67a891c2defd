#include "svy3/external/transform/coordinate_relationship.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace {

using ZAR::Transform::CCoordinateRelationship;
using ZAR::Transform::S2DPoint;
using ZAR::Transform::SCoordinateRelationship;

// LatLongToUtm with zone `force` on entry; outputs start as (-1, -2), `force` and '?'.
struct Utm {
    Utm(double lat, double lon, int forced = 0) : force(forced), zone(forced) {
        ok = CCoordinateRelationship::LatLongToUtm(S2DPoint(lat, lon), utm, zone, letter);
    }
    bool ok;
    int force;
    S2DPoint utm{-1.0, -2.0};
    int zone;
    char letter = '?';
};

// The projection itself is the geodesy library's; these tests check the zone and band chosen,
// the hemisphere passed on, and that each direction undoes the other.
TEST(CoordinateRelationship, ZonesBandsAndTheWayBack) {
    // Latitude, longitude, the zone forced (0: none), and the zone and band expected.
    const std::tuple<double, double, int, int, char> cases[] = {
        {-33.8568, 151.2153, 0, 56, 'H'},  // Sydney
        {51.4779, -0.0015, 0, 30, 'U'},    // Greenwich, just west of zone 31
        {45.0, -177.0, 0, 1, 'T'},         // single-digit zone
        {-41.0, 177.0, 0, 60, 'G'},        // the last zone
        {-79.9, -179.9, 0, 1, 'C'},        // southern edge band
        {83.5, 10.0, 0, 33, 'X'},          // northern band, Svalbard rule
        {78.0, 10.0, 0, 33, 'X'},          // Svalbard: 33X covers 9..21 E
        {60.5, 4.0, 0, 32, 'V'},           // Norway: 32V reaches 3 E
        {60.5, 4.0, 31, 31, 'V'},          // forced: the neighbouring zone
        {-0.1, 15.0, 0, 33, 'M'},          // either side of the equator
        {0.0, 15.0, 0, 33, 'N'},          {71.9, 15.0, 0, 33, 'W'},  // just below band X
    };
    for (const auto& [lat, lon, force, zone, letter] : cases) {
        SCOPED_TRACE(testing::Message() << lat << "," << lon << " zone " << force);
        const Utm r(lat, lon, force);
        EXPECT_EQ(std::make_tuple(r.ok, r.zone, r.letter), std::make_tuple(true, zone, letter));
        // Either letter case names the band.
        S2DPoint back;
        ASSERT_TRUE(CCoordinateRelationship::UtmToLatLong(r.utm, r.zone, r.letter + 32, back));
        EXPECT_LT(std::hypot(back.x - lat, back.y - lon), 1e-9);  // about 0.1 mm
    }
    // The CN Tower, 43°38'33.24"N 79°23'13.7"W, published as 17T 630084 4833438.
    const Utm tower(43 + 38 / 60.0 + 33.24 / 3600.0, -(79 + 23 / 60.0 + 13.7 / 3600.0));
    EXPECT_LT(std::hypot(tower.utm.x - 630084.0, tower.utm.y - 4833438.0), 1.0);
    // On the equator at a central meridian the projection gives the false origin exactly, and
    // the southern false northing leads back there.
    const Utm origin(0.0, 3.0);
    EXPECT_LT(std::hypot(origin.utm.x - 500000.0, origin.utm.y), 1e-6);
    S2DPoint back;
    ASSERT_TRUE(
        CCoordinateRelationship::UtmToLatLong(S2DPoint(500000.0, 10000000.0), 31, 'M', back));
    EXPECT_LT(std::hypot(back.x, back.y - 3.0), 1e-12);
}

TEST(CoordinateRelationship, RefusedInputsLeaveOutputsUnchanged) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Latitudes beyond the UTM bands, non-finite numbers, a forced zone far from the point.
    for (const Utm& r :
         {Utm(84.5, 0.0), Utm(-80.5, 0.0), Utm(nan, 0.0), Utm(0.0, nan), Utm(60.5, 4.0, 40)})
        EXPECT_EQ(std::make_tuple(r.ok, r.utm, r.zone, r.letter),
                  std::make_tuple(false, S2DPoint(-1.0, -2.0), r.force, '?'));
    const std::tuple<S2DPoint, int, char> bad[] = {
        {S2DPoint(500000, 0), 0, 'N'},  {S2DPoint(500000, 0), 61, 'N'},
        {S2DPoint(500000, 0), 31, 'I'}, {S2DPoint(500000, 0), 31, 'A'},
        {S2DPoint(5e7, 0), 31, 'N'},    {S2DPoint(500000, 5e7), 31, 'N'},
        {S2DPoint(nan, 0), 31, 'N'}};
    for (const auto& [utm, zone, letter] : bad) {
        S2DPoint latLong(-1.0, -2.0);
        EXPECT_FALSE(CCoordinateRelationship::UtmToLatLong(utm, zone, letter, latLong));
        EXPECT_EQ(latLong, S2DPoint(-1.0, -2.0));
    }
}

TEST(CoordinateRelationship, RecordEqualityLooksAtEveryField) {
    const SCoordinateRelationship record;
    SCoordinateRelationship angle = record, mode = record;
    angle.destination_orientation_angle_deg(-30.0);
    mode.mode = 0;
    EXPECT_FALSE(angle == record || mode == record);
}

}  // namespace
