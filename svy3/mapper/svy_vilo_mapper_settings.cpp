// The mapper settings: reading and writing them through the editor, and the GPS-to-data
// relationship they describe.
#include "svy3/mapper/svy_vilo_mapper_settings.h"

#include <boost/filesystem/path.hpp>
#include <boost/lexical_cast/bad_lexical_cast.hpp>

#include "svy3/editor/gpz_svy.h"
#include "svy3/external/gps_zone.h"

namespace ZAR {
namespace {

const boost::filesystem::path& SettingsPath() {
    static const boost::filesystem::path path =
        boost::filesystem::path("/ZAR_SVY") / "VILO_Mapper_Settings" / "LocalWorld_Settings";
    return path;
}

// Element names of a reference point's fields; the point's digit follows each.
const char* const kPointElements[] = {"Local_X_P", "Local_Y_P", "EASTING_LATITUDE_P",
                                      "NORTHING_LONGITUDE_P", "Zone"};

std::string PointElement(int field, int point) {
    return kPointElements[field] + std::to_string(point + 1);
}

}  // namespace

const char* const SvyViloMapperSettings::kDefaultGpsConfiguration =
    "1,1,2,5,0,23,1,1,2,\", \",\"Lat: \",\"Long: \",\"E: \",\"N: \",\"Z: \"";

SvyViloMapperSettings::SvyViloMapperSettings()
    : m_bAutoImport(false),
      m_bFiducialsNotImported(false),
      m_strGPSConfiguration(kDefaultGpsConfiguration),
      m_nLocalWorld_Settings(0),
      m_nEnableGPS(0),
      m_bTwoPointDefinition(false),
      m_bRatio_CHeckBox(true),
      m_bFit_Grid(false),
      m_nZoneNumber(17),
      m_cZoneLetter('T'),
      m_dShift_X(0.0),
      m_dShift_Y(0.0),
      m_dRotation(0.0),
      m_eUnit(UNIT_M) {
    m_points[1].localY = 1.0;
    m_points[1].northingLongitude = 1.0;
}

SvyViloMapperSettings::~SvyViloMapperSettings() = default;

bool SvyViloMapperSettings::Read(GpzSvy& editor) {
    if (!editor.GotoNode(SettingsPath(), false))
        return false;
    // Each read runs only while every earlier one succeeded; a number whose text does not
    // convert ends the chain like a missing element.
    bool ok = true;
    auto value = [&](auto& v, const std::string& element) {
        try {
            ok = ok && editor.GetSubNodeValue(v, element, nullptr);
        } catch (const boost::bad_lexical_cast&) {
            ok = false;
        }
    };
    auto text = [&](std::string& t, const std::string& element) {
        ok = ok && editor.GetSubNodeText(t, element, nullptr);
    };
    value(m_bAutoImport, "AutoImport");
    value(m_bFiducialsNotImported, "FiducialsNotImported");
    text(m_strGPSConfiguration, "GPSConfiguration");
    int32_t localWorld = 0;
    value(localWorld, "LocalWorld_Settings");
    m_nLocalWorld_Settings = localWorld;
    int32_t enableGps = 0;
    value(enableGps, "EnableGPS");
    m_nEnableGPS = enableGps;
    value(m_bTwoPointDefinition, "TwoPointDefinition");
    value(m_bRatio_CHeckBox, "Ratio_CHeckBox");
    value(m_bFit_Grid, "Fit_Grid");
    text(m_strZone, "Zone");

    m_nZoneNumber = -1;
    m_cZoneLetter = '\0';
    if (!m_strZone.empty()) {
        if (const auto zone = CGps::Zone(m_strZone)) {
            m_nZoneNumber = zone->first;
            m_cZoneLetter = zone->second;
        }
    }

    value(m_dShift_X, "Shift_X");
    value(m_dShift_Y, "Shift_Y");
    value(m_dRotation, "Rotation");
    for (int p = 0; p < 2; ++p) {
        value(m_points[p].localX, PointElement(0, p));
        value(m_points[p].localY, PointElement(1, p));
        value(m_points[p].eastingLatitude, PointElement(2, p));
        value(m_points[p].northingLongitude, PointElement(3, p));
        text(m_points[p].zone, PointElement(4, p));
    }
    std::string unit;
    text(unit, "Unit");
    m_eUnit = CMeasure::StringToUnit(unit, false);
    return ok;
}

bool SvyViloMapperSettings::Write(GpzSvy& editor) const {
    const bool compact = editor.m_bCompactNumbers;
    editor.m_bCompactNumbers = false;
    bool ok = editor.GotoNode(SettingsPath(), true);
    auto value = [&](auto v, const std::string& element) {
        ok = ok && editor.SetSubNodeValue(v, element, nullptr);
    };
    auto text = [&](const std::string& t, const std::string& element) {
        ok = ok && editor.SetSubNodeText(t, element, nullptr);
    };
    value(m_bAutoImport, "AutoImport");
    value(m_bFiducialsNotImported, "FiducialsNotImported");
    text(m_strGPSConfiguration, "GPSConfiguration");
    value(m_nLocalWorld_Settings, "LocalWorld_Settings");
    value(m_nEnableGPS, "EnableGPS");
    value(m_bTwoPointDefinition, "TwoPointDefinition");
    value(m_bRatio_CHeckBox, "Ratio_CHeckBox");
    value(m_bFit_Grid, "Fit_Grid");
    text(CGps::Zone(m_nZoneNumber, m_cZoneLetter), "Zone");
    value(m_dShift_X, "Shift_X");
    value(m_dShift_Y, "Shift_Y");
    value(m_dRotation, "Rotation");
    for (int p = 0; p < 2; ++p) {
        value(m_points[p].localX, PointElement(0, p));
        value(m_points[p].localY, PointElement(1, p));
        value(m_points[p].eastingLatitude, PointElement(2, p));
        value(m_points[p].northingLongitude, PointElement(3, p));
        text(m_points[p].zone, PointElement(4, p));
    }
    text(CMeasure::UnitToString(m_eUnit), "Unit");
    editor.m_bCompactNumbers = compact;
    return ok;
}

void SvyViloMapperSettings::GetGpsToDataRelationship(
    Transform::SCoordinateRelationship& relationship) const {
    double factor = 1.0;
    CMeasure::GetConversionFactor(m_eUnit, UNIT_M, factor);
    relationship.mode = m_bTwoPointDefinition ? 0 : 3;
    relationship.destination_orientation_angle_deg(-m_dRotation);

    Transform::S2DPoint* sources[2] = {&relationship.source1, &relationship.source2};
    Transform::S2DPoint* destinations[2] = {&relationship.destination1, &relationship.destination2};
    for (int p = 0; p < 2; ++p) {
        const SPoint& point = m_points[p];
        Transform::S2DPoint source(point.eastingLatitude, point.northingLongitude);
        if (m_nLocalWorld_Settings == 1) {
            Transform::S2DPoint latLong = source;
            Transform::CCoordinateRelationship::UtmToLatLong(source, m_nZoneNumber, m_cZoneLetter,
                                                             latLong);
            source = latLong;
        }
        *sources[p] = source;
        *destinations[p] = Transform::S2DPoint(point.localX * factor, point.localY * factor);
    }
}

void SvyViloMapperSettings::SetGpsToDataRelationship(
    const Transform::SCoordinateRelationship& relationship) {
    if (relationship.mode == 0) {
        m_bTwoPointDefinition = true;
        m_bRatio_CHeckBox = true;
    } else {
        m_bTwoPointDefinition = false;
    }
    m_dRotation = -relationship.destination_orientation_angle_deg();

    const Transform::S2DPoint* sources[2] = {&relationship.source1, &relationship.source2};
    const Transform::S2DPoint* destinations[2] = {&relationship.destination1,
                                                  &relationship.destination2};
    for (int p = 0; p < 2; ++p) {
        m_points[p].eastingLatitude = sources[p]->x;
        m_points[p].northingLongitude = sources[p]->y;
        m_points[p].localX = destinations[p]->x;
        m_points[p].localY = destinations[p]->y;
        m_points[p].zone = "0";
    }

    // The shift is point 1 in UTM, in the zone the point falls in; a point outside the UTM range
    // leaves the shift at 0 and the zone number at 0.
    m_nZoneNumber = 0;
    Transform::S2DPoint utm;
    Transform::CCoordinateRelationship::LatLongToUtm(relationship.source1, utm, m_nZoneNumber,
                                                     m_cZoneLetter);
    m_dShift_X = utm.x;
    m_dShift_Y = utm.y;

    m_nLocalWorld_Settings = 0;
    m_eUnit = UNIT_M;
    m_nEnableGPS = 1;
}

}  // namespace ZAR
