// The mapper settings: reading, writing, defaults and the GPS-to-data relationship, alone and
// through the editor's Load.
#include <gmock/gmock.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "editor/editor_support.h"
#include "svy3/mapper/svy_vilo_mapper_settings.h"

namespace {

using svy3_test::Join;
using testing::DoubleNear;
using testing::Pointwise;
using ZAR::SvyViloMapperSettings;
using ZAR::Transform::S2DPoint;
using ZAR::Transform::SCoordinateRelationship;

// The settings elements in writing order with the texts that a written default gives ("@" for
// the default GPS configuration), but for zone texts on both points, as a written relationship
// has them: an empty zone text reads as no text and would end a read there.
const char kDefaults[] =
    "AutoImport=N;FiducialsNotImported=N;GPSConfiguration=@;LocalWorld_Settings=0;EnableGPS=0;"
    "TwoPointDefinition=N;Ratio_CHeckBox=Y;Fit_Grid=N;Zone=17T;Shift_X=0;Shift_Y=0;Rotation=0;"
    "Local_X_P1=0;Local_Y_P1=0;EASTING_LATITUDE_P1=0;NORTHING_LONGITUDE_P1=0;Zone1=0;Local_X_P2=0;"
    "Local_Y_P2=1;EASTING_LATITUDE_P2=0;NORTHING_LONGITUDE_P2=1;Zone2=0;Unit=m";

// The mapper settings block with the defaults, some elements replaced by `changes`
// ("name=text;..."; a text of "-" drops the element).
std::string SettingsXml(const std::string& changes) {
    std::string xml = std::regex_replace(kDefaults, std::regex("(\\w+)=([^;]*);?"), "<$1>$2</$1>");
    std::istringstream in(changes);
    for (std::string item; std::getline(in, item, ';');) {
        const std::string name = item.substr(0, item.find('=')),
                          text = item.substr(name.size() + 1);
        const std::string element = "<" + name + ">" + text + "</" + name + ">";
        xml = std::regex_replace(xml, std::regex("<" + name + ">[^<]*</" + name + ">"),
                                 text == "-" ? "" : element);
    }
    const std::string gps = std::regex_replace(SvyViloMapperSettings::kDefaultGpsConfiguration,
                                               std::regex("\""), "&quot;");
    return "<VILO_Mapper_Settings><LocalWorld_Settings>" +
           std::regex_replace(xml, std::regex("@"), gps) +
           "</LocalWorld_Settings></VILO_Mapper_Settings>";
}

class MapperSettingsTest : public svy3_test::EditorFixture, public testing::Test {
  protected:
    void LoadWith(const std::string& settings) {
        ASSERT_EQ(Load(svy3_test::SvyDocument("", "", settings)), 1);
    }
};

TEST_F(MapperSettingsTest, WithoutTheElementReadFailsAndWriteAppendsTheDefaultsInOrder) {
    LoadWith("");
    SvyViloMapperSettings settings;
    settings.m_dShift_X = 5;  // not a default: Read must leave it
    EXPECT_FALSE(settings.Read(m_editor));
    EXPECT_EQ(Join(settings.m_dShift_X, settings.m_nZoneNumber, settings.m_eUnit), "5 17 1 ");

    ASSERT_TRUE(SvyViloMapperSettings().Write(m_editor));
    EXPECT_TRUE(m_editor.m_bCompactNumbers);  // restored after writing
    // Saved and loaded again, so that empty texts take the form a load gives them.
    ASSERT_TRUE(m_editor.Save(nullptr));
    ASSERT_EQ(m_editor.Load(SvyPath().c_str()), 1);
    ASSERT_TRUE(m_editor.Save(nullptr));
    const std::string saved = svy3_test::ReadFile(SvyPath());
    LoadWith(SettingsXml("Zone1=;Zone2="));
    ASSERT_TRUE(m_editor.Save(nullptr));
    EXPECT_EQ(saved, svy3_test::ReadFile(SvyPath()));
    // An empty zone text reads as no text at all, which ends the chain there.
    EXPECT_FALSE(settings.Read(m_editor));
    EXPECT_EQ(settings.m_eUnit, ZAR::UNIT_NONE);
}

TEST_F(MapperSettingsTest, ReadStopsAtTheFirstBadSettingButParsesTheZoneAndUnit) {
    // The changes, then the result of Read, EnableGPS, whether GPS is enabled, the zone number and
    // letter, the X shift (which stays 9 when the chain stopped before it) and the unit.
    const std::pair<const char*, std::string> cases[] = {
        {"EnableGPS=2;Zone=33 u;Shift_X=4.5;Unit=feet", "1 2 0 33 U 4.5 5 "},  // all read
        {"EnableGPS=1;Fit_Grid=maybe;Zone=-;Unit=ft", "0 1 1 5 C 9 0 "},  // the zone held is parsed
        {"EnableGPS=x1;Zone=10S", "0 0 0 5 C 9 0 "},                      // a bad number
        {"EnableGPS=1;Shift_X=east", "0 1 1 17 T 9 0 "},                  // a bad double
        {"EnableGPS=1;Unit=-", "0 1 1 17 T 0 0 "},                        // the last one missing
        {"Zone=61C", std::string("1 0 0 -1 ") + '\0' + " 0 1 "},          // not a zone
    };
    for (const auto& [changes, expected] : cases) {
        LoadWith(SettingsXml(changes));
        SvyViloMapperSettings s;
        s.m_dShift_X = 9;
        s.m_nEnableGPS = 5;
        s.m_strZone = "5C";
        const bool ok = s.Read(m_editor);  // before the fields are looked at
        EXPECT_EQ(Join(ok, s.m_nEnableGPS, s.GpsEnabled(), s.m_nZoneNumber, s.m_cZoneLetter,
                       s.m_dShift_X, s.m_eUnit),
                  expected)
            << changes;
    }
}

TEST_F(MapperSettingsTest, RelationshipFromShiftAndRotationOrTwoPoints) {
    SvyViloMapperSettings settings;
    settings.m_dRotation = 30;
    settings.m_eUnit = ZAR::UNIT_FT;
    settings.m_points[0] = {10, 20, 500000, 4649776, ""};
    settings.m_points[1] = {1, 2, 3, 1e8, ""};
    SCoordinateRelationship relationship;
    relationship.mode = 99;
    settings.GetGpsToDataRelationship(relationship);
    // The sources not scaled, the destinations from feet.
    EXPECT_EQ(Join(relationship.mode, relationship.destination_orientation_angle_deg(),
                   relationship.source1.x, relationship.source1.y, relationship.destination1.x,
                   relationship.destination2.y),
              Join(3, -30, 500000, 4649776, 10 * 0.3048, 2 * 0.3048));

    settings.m_bTwoPointDefinition = true;
    settings.m_nLocalWorld_Settings = 1;  // the points are UTM in zone 17T
    settings.GetGpsToDataRelationship(relationship);
    // Point 1 as latitude and longitude; point 2 lies outside the zone and is kept as it was.
    EXPECT_EQ(relationship.mode, 0);
    EXPECT_THAT((std::vector<double>{relationship.source1.x, relationship.source1.y}),
                Pointwise(DoubleNear(1e-4), {42.0, -81.0}));
    EXPECT_EQ(relationship.source2, S2DPoint(3, 1e8));

    // Back into settings; the editor's round trip below sees the rest.
    SvyViloMapperSettings back;
    back.m_bRatio_CHeckBox = false;
    back.SetGpsToDataRelationship(relationship);
    EXPECT_EQ(Join(back.m_bRatio_CHeckBox, back.m_nZoneNumber, back.m_cZoneLetter), "1 17 T ");
    EXPECT_THAT((std::vector<double>{back.m_dShift_X, back.m_dShift_Y}),
                Pointwise(DoubleNear(0.01), {500000.0, 4649776.0}));
    relationship.mode = 3;
    back.SetGpsToDataRelationship(relationship);
    EXPECT_EQ(Join(back.m_bTwoPointDefinition, back.m_bRatio_CHeckBox), "0 1 ");  // ratio kept
}

TEST_F(MapperSettingsTest, TheEditorKeepsTheRelationshipOfTheDocument) {
    LoadWith(SettingsXml("EnableGPS=1;Rotation=12.5;Local_X_P2=7"));
    SCoordinateRelationship relationship;
    ASSERT_TRUE(m_editor.GetGpsToDataRelationship(relationship));
    EXPECT_EQ(relationship.destination_orientation_angle_deg(), -12.5);
    EXPECT_EQ(relationship.destination2, S2DPoint(7, 1));

    LoadWith(SettingsXml("EnableGPS=0"));  // not enabled: the editor holds none
    EXPECT_FALSE(m_editor.GetGpsToDataRelationship(relationship));

    const SCoordinateRelationship set(S2DPoint(45, 9), S2DPoint(1, 2), S2DPoint(45.001, 9.001),
                                      S2DPoint(3.25, 4.125), 15, 0);
    ASSERT_TRUE(m_editor.SetGpsToDataRelationship(set));
    ASSERT_TRUE(m_editor.GetGpsToDataRelationship(relationship));
    EXPECT_EQ(relationship, set);
    ASSERT_TRUE(m_editor.Save(nullptr));
    svy3_test::OpenEditor reloaded;
    ASSERT_EQ(reloaded.Load(SvyPath().c_str()), 1);
    SCoordinateRelationship read;
    ASSERT_TRUE(reloaded.GetGpsToDataRelationship(read));
    EXPECT_EQ(read, set);  // 17 digits: exact
}

}  // namespace
