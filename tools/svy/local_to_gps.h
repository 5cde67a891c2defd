// Local survey-grid coordinates to WGS84 latitude and longitude, through the document's
// GPS-to-data relationship.
#pragma once

#include <string>

#include "svy3/external/transform/coordinate_relationship.h"

namespace svy_tool {

// A similarity transform (scale, rotation, shift) fitted to the relationship's two point pairs
// in UTM: each reference point's latitude and longitude (source) is converted to UTM in the zone
// of the first point, and the local points (destination, metres) are mapped onto them. Positions
// are carried into UTM by the fit and back to latitude and longitude.
class LocalToGps {
  public:
    // Fits the transform; false with `error` set when the points coincide in either system or
    // lie outside UTM.
    bool Fit(const ZAR::Transform::SCoordinateRelationship& relationship, std::string& error);
    // Local (x, y) in metres to latitude and longitude in degrees; false outside UTM.
    bool Convert(double x, double y, double& latitude, double& longitude) const;
    // The UTM zone of the fit, as "17T".
    std::string Zone() const;

  private:
    ZAR::Transform::S2DPoint m_local1, m_utm1;
    double m_a = 1.0, m_b = 0.0;  // the complex factor a + ib: scale and rotation
    int m_zoneNumber = 0;
    char m_zoneLetter = 0;
};

}  // namespace svy_tool
