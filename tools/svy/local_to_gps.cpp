#include "tools/svy/local_to_gps.h"

#include <cmath>
#include <complex>

#include "svy3/external/gps_zone.h"

namespace svy_tool {

using ZAR::Transform::CCoordinateRelationship;
using ZAR::Transform::S2DPoint;

bool LocalToGps::Fit(const ZAR::Transform::SCoordinateRelationship& relationship,
                     std::string& error) {
    int zone = 0;
    char letter = 0;
    S2DPoint utm1, utm2;
    if (!CCoordinateRelationship::LatLongToUtm(relationship.source1, utm1, zone, letter)) {
        error = "the first reference point lies outside UTM";
        return false;
    }
    // The second point in the first point's zone, so that both share one grid.
    int zone2 = zone;
    char letter2 = 0;
    if (!CCoordinateRelationship::LatLongToUtm(relationship.source2, utm2, zone2, letter2)) {
        error = "the second reference point lies outside the first point's UTM zone";
        return false;
    }
    const std::complex<double> local1(relationship.destination1.x, relationship.destination1.y);
    const std::complex<double> local2(relationship.destination2.x, relationship.destination2.y);
    const std::complex<double> grid1(utm1.x, utm1.y), grid2(utm2.x, utm2.y);
    if (local1 == local2 || grid1 == grid2) {
        error = "the two reference points coincide";
        return false;
    }
    const std::complex<double> factor = (grid2 - grid1) / (local2 - local1);
    if (!std::isfinite(factor.real()) || !std::isfinite(factor.imag())) {
        error = "the reference points are not finite";
        return false;
    }
    m_local1 = relationship.destination1;
    m_utm1 = utm1;
    m_a = factor.real();
    m_b = factor.imag();
    m_zoneNumber = zone;
    m_zoneLetter = letter;
    return true;
}

bool LocalToGps::Convert(double x, double y, double& latitude, double& longitude) const {
    const std::complex<double> offset(x - m_local1.x, y - m_local1.y);
    const std::complex<double> grid =
        std::complex<double>(m_utm1.x, m_utm1.y) + std::complex<double>(m_a, m_b) * offset;
    S2DPoint latLong;
    if (!CCoordinateRelationship::UtmToLatLong(S2DPoint(grid.real(), grid.imag()), m_zoneNumber,
                                               m_zoneLetter, latLong))
        return false;
    latitude = latLong.x;
    longitude = latLong.y;
    return true;
}

std::string LocalToGps::Zone() const {
    return ZAR::CGps::Zone(m_zoneNumber, m_zoneLetter);
}

}  // namespace svy_tool
