// The relationship between GPS coordinates and a survey's local data coordinates, and the UTM
// conversions used to state it.
#pragma once

#include <cstdint>

#include "svy3/platform/export.h"

namespace ZAR {
namespace Transform {

// A point. For geographic points x is the latitude and y the longitude, in degrees; for UTM
// points x is the easting and y the northing, in metres.
struct SVY3_API S2DPoint {
    double x = 0.0;
    double y = 0.0;

    S2DPoint() = default;
    S2DPoint(double px, double py) : x(px), y(py) {}
    bool operator==(const S2DPoint& other) const { return x == other.x && y == other.y; }
    bool operator!=(const S2DPoint& other) const { return !(*this == other); }
};

// Two points, each given in a source (GPS) system and a destination (local data) system, the
// orientation of the destination system in degrees, and a mode number: 0 for a two-point
// definition, 3 for a shift-and-rotation definition, 4 for the default record.
struct SVY3_API SCoordinateRelationship {
    S2DPoint source1;
    S2DPoint destination1;
    S2DPoint source2;
    S2DPoint destination2;

    // Default: points 1 at (0, 0), points 2 at (10, 10), angle 0, mode 4.
    SCoordinateRelationship();
    SCoordinateRelationship(const S2DPoint& s1, const S2DPoint& d1, const S2DPoint& s2,
                            const S2DPoint& d2, double angleDeg, int32_t modeNumber);
    SCoordinateRelationship(const SCoordinateRelationship&) = default;
    SCoordinateRelationship& operator=(const SCoordinateRelationship&) = default;
    virtual ~SCoordinateRelationship();

    double destination_orientation_angle_deg() const { return m_destinationOrientationAngleDeg; }
    void destination_orientation_angle_deg(double angleDeg) {
        m_destinationOrientationAngleDeg = angleDeg;
    }

    // Every field equal.
    bool operator==(const SCoordinateRelationship& other) const;
    bool operator!=(const SCoordinateRelationship& other) const { return !(*this == other); }

  protected:
    double m_destinationOrientationAngleDeg;

  public:
    int32_t mode;
};

// UTM conversions on the WGS84 ellipsoid. Zones are numbered 1 to 60 and carry a latitude band
// letter C to X (without I and O); the polar regions (UPS) are not covered.
class SVY3_API CCoordinateRelationship {
  public:
    // Converts `latLong` (x latitude, y longitude, degrees) to `utm` (x easting, y northing,
    // metres; the southern hemisphere has a false northing of 10 000 000 m). `zoneNumber` selects
    // the zone on entry: 1..60 forces that zone, anything else takes the standard zone of the
    // point (with the Norway and Svalbard exceptions). On success `zoneNumber` and `zoneLetter`
    // (upper case) give the zone used and the result is true. The latitude must lie in -80..84
    // and the longitude be finite; otherwise, or when a forced zone is too far from the point,
    // the result is false and the outputs are unchanged.
    static bool LatLongToUtm(const S2DPoint& latLong, S2DPoint& utm, int& zoneNumber,
                             char& zoneLetter);

    // Converts `utm` (x easting, y northing, metres) in zone `zoneNumber` (1..60) with band
    // letter `zoneLetter` (either case; N to X is the northern hemisphere, C to M the southern)
    // to `latLong` (x latitude, y longitude in -180..180, degrees). Only the hemisphere is taken
    // from the letter. False, with `latLong` unchanged, for an invalid zone or letter and for
    // coordinates outside the range of a UTM zone.
    static bool UtmToLatLong(const S2DPoint& utm, int zoneNumber, char zoneLetter,
                             S2DPoint& latLong);
};

}  // namespace Transform
}  // namespace ZAR
