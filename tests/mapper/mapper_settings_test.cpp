// The mapper settings: reading, writing, defaults and the GPS-to-data relationship, alone and
// through the editor's Load.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "editor/editor_support.h"
#include "svy3/mapper/svy_vilo_mapper_settings.h"

namespace {

using svy3_test::Join;
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
// ("name=text;...", the last of a name counts; a text of "-" drops the element).
std::string SettingsXml(const std::string& changes) {
    std::map<std::string, std::string> texts;
    std::istringstream in(changes);
    for (std::string item; std::getline(in, item, ';');)
        texts[item.substr(0, item.find('='))] = item.substr(item.find('=') + 1);
    std::string xml = "<VILO_Mapper_Settings><LocalWorld_Settings>";
    std::istringstream defaults(kDefaults);
    for (std::string item; std::getline(defaults, item, ';');) {
        const std::string name = item.substr(0, item.find('='));
        std::string text = texts.count(name) ? texts[name] : item.substr(name.size() + 1);
        if (text == "@")
            text = std::regex_replace(SvyViloMapperSettings::kDefaultGpsConfiguration,
                                      std::regex("\""), "&quot;");
        if (text != "-")
            xml += "<" + name + ">" + text + "</" + name + ">";
    }
    return xml + "</LocalWorld_Settings></VILO_Mapper_Settings>";
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
    SCoordinateRelationship relationship;
    EXPECT_FALSE(m_editor.GetGpsToDataRelationship(relationship));

    ASSERT_TRUE(SvyViloMapperSettings().Write(m_editor));
    EXPECT_TRUE(m_editor.m_bCompactNumbers);  // restored after writing
    // Read back through a fresh object: every field as written.
    SvyViloMapperSettings back;
    back.m_bRatio_CHeckBox = false;
    back.m_eUnit = ZAR::UNIT_FT;
    EXPECT_TRUE(back.Read(m_editor));
    EXPECT_EQ(
        Join(back.m_bRatio_CHeckBox, back.m_eUnit, back.m_strGPSConfiguration,
             back.m_points[1].localY, back.m_strZone, back.m_cZoneLetter),
        Join(true, ZAR::UNIT_M, SvyViloMapperSettings::kDefaultGpsConfiguration, 1, "17T", 'T'));

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
    EXPECT_EQ(relationship.mode, 0);
    EXPECT_NEAR(relationship.source1.x, 42.0, 1e-4);    // latitude
    EXPECT_NEAR(relationship.source1.y, -81.0, 1e-4);   // longitude
    EXPECT_EQ(relationship.source2, S2DPoint(3, 1e8));  // outside the zone: kept as it was

    SvyViloMapperSettings back;
    back.m_bRatio_CHeckBox = false;
    back.SetGpsToDataRelationship(relationship);
    EXPECT_EQ(Join(back.m_bTwoPointDefinition, back.m_bRatio_CHeckBox, back.m_dRotation,
                   back.m_nZoneNumber, back.m_cZoneLetter, back.m_points[0].zone,
                   back.m_nLocalWorld_Settings, back.m_eUnit, back.GpsEnabled()),
              Join(true, true, 30, 17, 'T', "0", 0, ZAR::UNIT_M, true));
    EXPECT_NEAR(back.m_dShift_X, 500000, 0.01);
    EXPECT_NEAR(back.m_dShift_Y, 4649776, 0.01);
    EXPECT_EQ(back.m_points[1].localY, relationship.destination2.y);

    relationship.mode = 3;
    back.SetGpsToDataRelationship(relationship);
    EXPECT_FALSE(back.m_bTwoPointDefinition);
    EXPECT_TRUE(back.m_bRatio_CHeckBox);  // left as it was
}

TEST_F(MapperSettingsTest, TheEditorKeepsTheRelationshipOfTheDocument) {
    LoadWith(SettingsXml("EnableGPS=1;Rotation=12.5;Local_X_P2=7"));
    SCoordinateRelationship relationship;
    ASSERT_TRUE(m_editor.GetGpsToDataRelationship(relationship));
    EXPECT_EQ(relationship.destination_orientation_angle_deg(), -12.5);
    EXPECT_EQ(relationship.destination2, S2DPoint(7, 1));
    EXPECT_FALSE(m_editor.Empty());

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
