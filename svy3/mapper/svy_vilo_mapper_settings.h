// SvyViloMapperSettings: the companion mapping program's settings kept in a project document,
// under /ZAR_SVY/VILO_Mapper_Settings/LocalWorld_Settings, one child element per setting.
#pragma once

#include <cstdint>
#include <string>

#include "svy3/external/measure.h"
#include "svy3/external/transform/coordinate_relationship.h"
#include "svy3/platform/export.h"

namespace ZAR {

class GpzSvy;

// The settings in memory: whether GPS is used, how GPS coordinates relate to the survey's local
// grid (a shift and rotation, or two reference points given in both systems), the UTM zone, the
// unit of the local grid and two import options. Each field is named after its element.
class SVY3_API SvyViloMapperSettings {
  public:
    // One reference point: local grid coordinates, its GPS coordinates (easting and northing,
    // or latitude and longitude) and the zone text of the point.
    struct SPoint {
        double localX = 0.0;
        double localY = 0.0;
        double eastingLatitude = 0.0;
        double northingLongitude = 0.0;
        std::string zone;
    };

    // The GPS display configuration written when a document has none.
    static const char* const kDefaultGpsConfiguration;

    // The defaults: every flag off but Ratio_CHeckBox, no zone text (zone 17T), no shift or
    // rotation, point 1 at (0, 0) and point 2 at (0, 1) in both systems, the metre.
    SvyViloMapperSettings();
    virtual ~SvyViloMapperSettings();
    SvyViloMapperSettings(const SvyViloMapperSettings&) = default;
    SvyViloMapperSettings& operator=(const SvyViloMapperSettings&) = default;

    // True when EnableGPS is 1.
    bool GpsEnabled() const { return m_nEnableGPS == 1; }

    // Reads every setting, in element order, stopping at the first that is missing or does not
    // convert. True when all were read. Without the settings element nothing changes; once the
    // chain has stopped, LocalWorld_Settings and EnableGPS read as 0, the zone number and letter
    // still come from the Zone text held, and the unit comes from the Unit text read (none when
    // unread). Moves the editor's cursor.
    bool Read(GpzSvy& editor);
    // Writes every setting (missing elements are appended), doubles with 17 significant digits,
    // the zone from the zone number and letter, the unit by its name. True when all were written.
    // Moves the editor's cursor; the settings themselves do not change.
    bool Write(GpzSvy& editor) const;

    // The relationship the settings describe: mode 0 for a two-point definition, else 3; the
    // destination angle is minus the rotation; the source points are the points' GPS coordinates
    // (turned from UTM into latitude and longitude when LocalWorld_Settings is 1; a point that does
    // not convert keeps its UTM values); the destination points are the local coordinates scaled
    // from the grid unit into metres. Other fields of `relationship` are left as they are.
    void GetGpsToDataRelationship(Transform::SCoordinateRelationship& relationship) const;
    // Takes a relationship: mode, rotation, both points (source latitude and longitude, local
    // destination), the shift and zone from point 1 in UTM, zone texts "0", latitude/longitude
    // points, the metre, and GPS enabled.
    void SetGpsToDataRelationship(const Transform::SCoordinateRelationship& relationship);

    bool m_bAutoImport;
    bool m_bFiducialsNotImported;
    std::string m_strGPSConfiguration;
    int32_t m_nLocalWorld_Settings;  // 1: the points' GPS coordinates are UTM
    int32_t m_nEnableGPS;            // 1: GPS enabled
    bool m_bTwoPointDefinition;
    bool m_bRatio_CHeckBox;
    bool m_bFit_Grid;
    std::string m_strZone;  // the Zone text as read
    int32_t m_nZoneNumber;  // parsed from m_strZone; -1 when it is not a zone
    char m_cZoneLetter;     // parsed from m_strZone; '\0' when it is not a zone
    double m_dShift_X;
    double m_dShift_Y;
    double m_dRotation;  // degrees
    SPoint m_points[2];
    Enum<UNIT_TYPE> m_eUnit;  // unit of the local grid
};

}  // namespace ZAR
