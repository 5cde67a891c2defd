// Rewriting the acquisition settings of a line from a radar header record: what goes where and in
// which order, and what a failing write stops.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/editor_support.h"

namespace {

using svy3_test::DataFileXml;
using svy3_test::Saved;
using testing::HasSubstr;

// A header record whose lengths come in three different units.
ZAR::SGprParam Header() {
    ZAR::SGprParam param;
    param.NumTraces = 120;
    param.SamplesPerTrace = 512;
    param.TimeZero = 25;
    param.SamplingIntervalNs = 0.2;
    param.StartPosition = {1.5, ZAR::UNIT_M};
    param.EndPosition = {7500, ZAR::UNIT_MM};
    param.StepSize = {5, ZAR::UNIT_CM};
    param.FrequencyMHz = 250;
    param.AntennaSeparation = {38, ZAR::UNIT_CM};
    param.PulserVoltage = 400;
    param.SurveyMode = "CMP/WARR";
    param.OdometerTicksPerMetre = 1000;
    return param;
}

// A complete 1.1.0 Settings element with values unlike Header()'s.
std::string OldSettings() {
    return R"(<Settings version="1.1.0"><Trace sample_cnt="200" time_zero_cnt="20" )"
           R"(interval_ns="0.8"/><OdometerCal ticks_per_m="500" sensorID="3"/>)"
           R"(<StepSize units="m">0.05</StepSize><NominalFrequency units="MHz">100)"
           R"(</NominalFrequency><Pulse units="Vpp">200</Pulse><Antenna><Receiver>)"
           R"(<AntPosition X="0.1" Y="0.5" Z="0" units="m" reference="relative"/></Receiver>)"
           R"(<Transmitter><AntPosition X="0.1" Y="-0.5" Z="0" units="m" reference="relative"/>)"
           R"(</Transmitter></Antenna><SurveyMode>Reflection</SurveyMode></Settings>)";
}

class SettingsUpdateTest : public svy3_test::EditorWriteTest {
  protected:
    void Goto(const std::string& path) { ASSERT_TRUE(m_editor.GotoNode(path, false)) << path; }
    const ZAR::SGprParam m_param = Header();
    // What Header() makes of a radar pair's odometer and sample counts.
    const std::string m_pairValues = R"(<Odometer units="cm" step="5" start="150" end="750"/>)"
                                     R"(<DataSampleCnt dim3="NA" dim2="120" dim1="512" dim0="2"/>)";
};

TEST_F(SettingsUpdateTest, LineWithoutSettingsGetsItsOwnWrittenInOrderUntilAWriteFails) {
    const std::string data = R"(<Line name="L1">)" + DataFileXml("F1", "HD+DT1", 1) + "</Line>";
    LoadData(data);
    Goto("/ZAR_SVY/Data/Line");
    ASSERT_TRUE(m_editor.SetGprParamSettings(m_param));
    EXPECT_TRUE(m_editor.IsNode("Line"));
    EXPECT_EQ(svy3_test::Joined(m_editor.writes),
              "DataFile/Odometer@units=cm DataFile/Odometer@step=5 DataFile/Odometer@start=150 "
              "DataFile/Odometer@end=750 DataFile/DataSampleCnt@dim3=NA "
              "DataFile/DataSampleCnt@dim2=120 DataFile/DataSampleCnt@dim1=512 "
              "DataFile/DataSampleCnt@dim0=2 Line/Settings@version=1.2.0 "
              "Settings/OdometerCal@ticks_per_m=1000 Settings/Trace@interval_ns=0.2 "
              "Settings/Trace@time_zero_cnt=25 Settings/Trace@sample_cnt=512 "
              "Settings/StepSize@units=cm Settings/StepSize#=5 Settings/NominalFrequency@units=MHz "
              "Settings/NominalFrequency#=250 Settings/Pulse@units=Vpp Settings/Pulse#=400 "
              "Receiver/AntPosition@units=cm Receiver/AntPosition@Y=19 "
              "Transmitter/AntPosition@units=cm Transmitter/AntPosition@Y=-19 "
              "Settings/SurveyMode#=CMP/WARR ");

    const std::string saved = Saved(m_editor);
    EXPECT_EQ(saved.find("<Settings"), saved.rfind("<Settings"));  // the line's is the only one

    // The first failing write stops the rest.
    const std::vector<std::string> all = m_editor.writes;
    for (size_t failAt = 1; failAt <= all.size(); ++failAt) {
        SCOPED_TRACE(all[failAt - 1]);
        LoadData(data);
        Goto("/ZAR_SVY/Data/Line");
        m_editor.failAt = static_cast<int>(failAt);
        EXPECT_FALSE(m_editor.SetGprParamSettings(m_param));
        EXPECT_EQ(m_editor.writes, std::vector<std::string>(all.begin(), all.begin() + failAt));
    }
}

TEST_F(SettingsUpdateTest, LineSetSettingsAreCopiedToTheLineThenOverwritten) {
    LoadData(R"(<LineSet name="S">)" + OldSettings() + R"(<Line name="L1">)" +
             DataFileXml("F1", "HD+DT1", 1) + "</Line></LineSet>");
    Goto("/ZAR_SVY/Data/LineSet/Line");
    ASSERT_TRUE(m_editor.SetGprParamSettings(m_param));
    // The line set keeps its values; the line's copy is rewritten in place: what the header does
    // not give survives (the odometer sensor, the antennas' X numbers, which now count in the
    // header's unit: only Y and the unit are rewritten).
    EXPECT_THAT(
        Saved(m_editor),
        HasSubstr(R"(<LineSet name="S">)" + OldSettings() + R"(<Line name="L1">)" +
                  DataFileXml("F1", "HD+DT1", 1, m_pairValues) +
                  R"(<Settings version="1.2.0"><Trace )"
                  R"(sample_cnt="512" time_zero_cnt="25" interval_ns="0.2"/><OdometerCal )"
                  R"(ticks_per_m="1000" sensorID="3"/><StepSize units="cm">5</StepSize>)"
                  R"(<NominalFrequency units="MHz">250</NominalFrequency><Pulse units="Vpp">400)"
                  R"(</Pulse><Antenna><Receiver><AntPosition X="0.1" Y="19" Z="0" units="cm" )"
                  R"(reference="relative"/></Receiver><Transmitter><AntPosition X="0.1" Y="-19" )"
                  R"(Z="0" units="cm" reference="relative"/></Transmitter></Antenna><SurveyMode>)"
                  R"(CMP/WARR</SurveyMode></Settings></Line></LineSet>)"));
}

TEST_F(SettingsUpdateTest, RadarPairsKeepTheirOwnSettingsAndOtherFilesLoseTheirs) {
    const std::string odometer = R"(<Odometer units="m" start="0" end="1" step="0.1"/>)";
    LoadData(R"(<Line name="L1">)" + DataFileXml("A", "HD+DT1", 1, OldSettings()) +
             DataFileXml("B", "GPS", 1, OldSettings() + odometer) + DataFileXml("C", "HD+DT1", 1) +
             "</Line>");
    // A data file without a kind is passed over.
    Goto("/ZAR_SVY/Data/Line");
    ASSERT_TRUE(m_editor.ChildNode("DataFile", ZAR::GpzSvy::eGpzAppend));
    ASSERT_TRUE(m_editor.SetNodeTxt("D", "name"));
    ASSERT_TRUE(m_editor.ChildNode("Settings", ZAR::GpzSvy::eGpzAppend));
    m_editor.ParentNode("Line");
    ASSERT_TRUE(m_editor.SetGprParamSettings(m_param));
    EXPECT_TRUE(m_editor.IsNode("Line"));
    const std::string saved = Saved(m_editor);
    EXPECT_THAT(saved, HasSubstr(R"(<DataFile name="A" ext="HD+DT1" seq="1"><Settings )"
                                 R"(version="1.2.0"><Trace sample_cnt="512" time_zero_cnt="25" )"
                                 R"(interval_ns="0.2"/>)"));
    EXPECT_THAT(saved, HasSubstr("</Settings>" + m_pairValues + "</DataFile>"));
    EXPECT_THAT(saved, HasSubstr(DataFileXml("B", "GPS", 1, odometer)));
    // A data file had Settings: the line gets none.
    EXPECT_THAT(saved, HasSubstr(DataFileXml("C", "HD+DT1", 1, m_pairValues) +
                                 R"(<DataFile name="D"><Settings/></DataFile></Line>)"));
}

TEST_F(SettingsUpdateTest, OnlyALineOrASettingsElementIsWritten) {
    LoadData(R"(<Line name="L1">)" + DataFileXml("F1", "HD+DT1", 1) + "</Line>");
    const std::string before = Saved(m_editor);
    for (const auto& [path, name] : std::vector<std::pair<const char*, const char*>>{
             {"/ZAR_SVY/Data", "Data"}, {"/ZAR_SVY/Data/Line/DataFile", "DataFile"}}) {
        SCOPED_TRACE(path);
        Goto(path);
        EXPECT_FALSE(m_editor.SetGprParamSettings(m_param));
        EXPECT_FALSE(m_editor.SetSettings(m_param));
        EXPECT_TRUE(m_editor.IsNode(name));  // the cursor did not move
        EXPECT_TRUE(m_editor.writes.empty());
        EXPECT_EQ(Saved(m_editor), before);
    }
}

TEST_F(SettingsUpdateTest, AntennasStandSymmetricOnTheYAxis) {
    LoadData(R"(<Settings/><Line name="L1"><Settings><Antenna><Receiver><AntPosition X="0.3" )"
             R"(reference="relative"/></Receiver></Antenna></Settings></Line>)");
    Goto("/ZAR_SVY/Data/Settings");
    ASSERT_TRUE(m_editor.SetAntennaSeperation(1.0, "m"));
    EXPECT_TRUE(m_editor.IsNode("Settings"));
    Goto("/ZAR_SVY/Data/Line/Settings");
    ASSERT_TRUE(m_editor.SetAntennaSeperation(2.5, "ft"));
    EXPECT_TRUE(m_editor.IsNode("Settings"));
    // Existing positions are rewritten, not duplicated, and keep their other attributes.
    EXPECT_THAT(Saved(m_editor),
                HasSubstr(R"(<Settings><Antenna><Receiver><AntPosition units="m" Y="0.5"/>)"
                          R"(</Receiver><Transmitter><AntPosition units="m" Y="-0.5"/>)"
                          R"(</Transmitter></Antenna></Settings><Line name="L1"><Settings>)"
                          R"(<Antenna><Receiver><AntPosition X="0.3" reference="relative" )"
                          R"(units="ft" Y="1.25"/></Receiver><Transmitter><AntPosition )"
                          R"(units="ft" Y="-1.25"/></Transmitter></Antenna></Settings></Line>)"));
}

TEST_F(SettingsUpdateTest, FailedReceiverLeavesTheTransmitterUnwritten) {
    for (int failAt : {1, 2}) {
        SCOPED_TRACE(failAt);
        LoadData("<Settings/>");
        Goto("/ZAR_SVY/Data/Settings");
        m_editor.failAt = failAt;
        EXPECT_FALSE(m_editor.SetAntennaSeperation(1.0, "m"));
        EXPECT_TRUE(m_editor.IsNode("Settings"));
        EXPECT_EQ(m_editor.writes.size(), static_cast<size_t>(failAt));
        // The climbs after the failed write go back to Antenna, not just one level up.
        EXPECT_THAT(Saved(m_editor), HasSubstr("</Receiver><Transmitter/></Antenna></Settings>"));
    }
}

TEST_F(SettingsUpdateTest, LineTakesADeepCopyOfTheNearestSettings) {
    const std::string dataSettings = R"(<Settings from="data"><Trace sample_cnt="1"/></Settings>)";
    const std::string setSettings = R"(<Settings from="set"><Trace sample_cnt="2"/></Settings>)";
    const std::string file = R"(<DataFile name="F1" ext="HD+DT1" seq="1"/>)";
    const std::string line = R"(<Line name="L1">)" + file + "</Line>";
    const struct {
        std::string data;
        int32_t result;
        std::string copy;
    } cases[] = {
        {dataSettings + R"(<LineSet name="S">)" + setSettings + line + "</LineSet>", 1,
         setSettings},
        {dataSettings + R"(<LineSet name="S">)" + line + "</LineSet>", 1, dataSettings},
        {R"(<LineSet name="S">)" + line + "</LineSet>", -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.copy);
        LoadData(c.data);
        Goto("/ZAR_SVY/Data/LineSet/Line");
        EXPECT_EQ(m_editor.CopyLinesetSettingsToLine(), c.result);
        EXPECT_TRUE(m_editor.IsNode("Line"));
        EXPECT_THAT(Saved(m_editor), HasSubstr(R"(<Line name="L1">)" + file + c.copy + "</Line>"));
    }
}

}  // namespace
