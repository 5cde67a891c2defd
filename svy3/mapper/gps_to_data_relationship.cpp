// The editor's GPS-to-data relationship, kept in the document's mapper settings.
#include "svy3/editor/gpz_svy.h"
#include "svy3/mapper/svy_vilo_mapper_settings.h"

namespace ZAR {

bool GpzSvy::GpsToDataRelationship(Transform::SCoordinateRelationship& relationship) {
    SvyViloMapperSettings settings;
    if (!settings.Read(*this) || !settings.GpsEnabled())
        return false;
    settings.GetGpsToDataRelationship(relationship);
    return true;
}

bool GpzSvy::SetGpsToDataRelationship(const Transform::SCoordinateRelationship& relationship) {
    if (!m_pGpsToDataRelationship)
        m_pGpsToDataRelationship = std::make_unique<Transform::SCoordinateRelationship>();
    SvyViloMapperSettings settings;
    settings.SetGpsToDataRelationship(relationship);
    if (!settings.Write(*this))
        return false;
    *m_pGpsToDataRelationship = relationship;
    return true;
}

}  // namespace ZAR
