#include "svy3/external/transform/coordinate_relationship.h"

#include <cmath>
#include <string>

#include <GeographicLib/Constants.hpp>
#include <GeographicLib/MGRS.hpp>
#include <GeographicLib/UTMUPS.hpp>

#include "svy3/external/gps_zone.h"

namespace ZAR {
namespace Transform {

SCoordinateRelationship::SCoordinateRelationship()
    : source1(0.0, 0.0),
      destination1(0.0, 0.0),
      source2(10.0, 10.0),
      destination2(10.0, 10.0),
      m_destinationOrientationAngleDeg(0.0),
      mode(4) {}

SCoordinateRelationship::SCoordinateRelationship(const S2DPoint& s1, const S2DPoint& d1,
                                                 const S2DPoint& s2, const S2DPoint& d2,
                                                 double angleDeg, int32_t modeNumber)
    : source1(s1),
      destination1(d1),
      source2(s2),
      destination2(d2),
      m_destinationOrientationAngleDeg(angleDeg),
      mode(modeNumber) {}

SCoordinateRelationship::~SCoordinateRelationship() = default;

bool SCoordinateRelationship::operator==(const SCoordinateRelationship& other) const {
    return source1 == other.source1 && destination1 == other.destination1 &&
           source2 == other.source2 && destination2 == other.destination2 &&
           m_destinationOrientationAngleDeg == other.m_destinationOrientationAngleDeg &&
           mode == other.mode;
}

bool CCoordinateRelationship::LatLongToUtm(const S2DPoint& latLong, S2DPoint& utm, int& zoneNumber,
                                           char& zoneLetter) {
    const double lat = latLong.x;
    const double lon = latLong.y;
    if (!(lat >= -80.0 && lat <= 84.0) || !std::isfinite(lon))
        return false;
    const int setZone =
        zoneNumber >= 1 && zoneNumber <= 60 ? zoneNumber : int(GeographicLib::UTMUPS::UTM);
    try {
        int zone = 0;
        bool north = false;
        double easting = 0.0;
        double northing = 0.0;
        GeographicLib::UTMUPS::Forward(lat, lon, zone, north, easting, northing, setZone);
        // The band letter follows the zone digits of the grid reference, e.g. "17T" + square.
        std::string reference;
        GeographicLib::MGRS::Forward(zone, north, easting, northing, lat, 0, reference);
        if (reference.size() < 3)
            return false;
        const char letter = CGps::BandLetter(reference[2]);
        if (letter == '\0')
            return false;
        utm = S2DPoint(easting, northing);
        zoneNumber = zone;
        zoneLetter = letter;
        return true;
    } catch (const GeographicLib::GeographicErr&) {
        return false;
    }
}

bool CCoordinateRelationship::UtmToLatLong(const S2DPoint& utm, int zoneNumber, char zoneLetter,
                                           S2DPoint& latLong) {
    const char letter = CGps::BandLetter(zoneLetter);
    if (zoneNumber < 1 || zoneNumber > 60 || letter == '\0')
        return false;
    if (!std::isfinite(utm.x) || !std::isfinite(utm.y))
        return false;
    try {
        double lat = 0.0;
        double lon = 0.0;
        GeographicLib::UTMUPS::Reverse(zoneNumber, letter >= 'N', utm.x, utm.y, lat, lon);
        latLong = S2DPoint(lat, lon);
        return true;
    } catch (const GeographicLib::GeographicErr&) {
        return false;
    }
}

}  // namespace Transform
}  // namespace ZAR
