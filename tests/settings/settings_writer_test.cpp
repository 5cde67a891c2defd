// Settings blocks from data headers, and line and sequence numbers from data file names.
#include <gmock/gmock.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <boost/make_shared.hpp>

#include "support/test_support.h"
#include "support/writer_support.h"
#include "svy3/settings/data_line_and_sequence_file_params.h"
#include "svy3/settings/settings_block_v110.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace {

using Block = ZAR::CSvySettingsBlock_V110;
using svy3_test::Join;
using testing::HasSubstr;
using ZAR::CSVYXmlFile;

ZAR::GprParam Header(const ZAR::SGprParam& param) {
    ZAR::GprParam header;
    header.SetGprParam(boost::make_shared<ZAR::SGprParam>(param));
    return header;
}

// Writes a block under the Data element of a small document; returns its outline.
std::string WrittenBlock(const ZAR::SGprParam& param, double stepSize) {
    svy3_test::TempDir dir;
    svy3_test::WriteFile(dir.File("in.svy"), "<ZAR_SVY><Data/></ZAR_SVY>");
    CSVYXmlFile file;
    EXPECT_EQ(file.Initialize(dir.File("in.svy")), 1);
    file.GotoChildNode("Data");
    EXPECT_EQ(file.WriteSettingsBlock_V110(Header(param), stepSize), 1);
    std::string name;
    EXPECT_TRUE(file.GetNodeName(name) && name == "Data");  // the cursor came back
    pugi::xml_document doc;
    return svy3_test::Outline(
        svy3_test::SaveAndLoad(file, dir.File("out.svy"), doc).child("Data").child("Settings"));
}

const char kStackProcess[] =
    "Process[operationUID=STACK@,implementation=GPR System,version=NA,"
    "DIP=NA,buffer=no,ID=";

TEST(SettingsWriter, WritesEveryElementInOrderWithTheNumberFormatsAndUnits) {
    const char* orientation =
        "AntOrientation[X=NA,Y=NA,Z=NA,units=Perpendicular,reference=relative]";
    EXPECT_EQ(WrittenBlock(svy3_test::SampleHeader(), 0.0),
              std::string("Settings[version=1.2.0]{"
                          "Trace[sample_cnt=200,time_zero_cnt=20.000000,interval_ns=0.800000] "
                          "OdometerCal[ticks_per_m=500.500000,sensorID=NA] "
                          "StepSize[units=m]\"0.050000\" NominalFrequency[units=Mhz]\"100.000000\" "
                          "Pulse[units=Vpp]\"400.000000\" Antenna{"
                          "Receiver{AntPosition[X=0,Y=0.500000,Z=0,units=m,reference=relative] ") +
                  orientation +
                  "} Transmitter{AntPosition[X=0,Y=-0.500000,Z=0,units=m,reference=relative] " +
                  orientation + "}} SurveyMode\"Reflection\" " + kStackProcess +
                  "-1]{Stack[type=sample]\"16\"}}");

    // A step argument other than 0 is written instead of the header's step, in the header's step
    // unit; the separation is taken as a number in that unit too. Trace stacking is a second
    // step nested in the first.
    ZAR::SGprParam param = svy3_test::SampleHeader();
    param.StepSize = ZAR::SMeasure(0.1, ZAR::UNIT_FT);
    param.AntennaSeparation = ZAR::SMeasure(3.0, ZAR::UNIT_CM);
    param.TraceStacking = "4 traces";
    EXPECT_THAT(WrittenBlock(param, 0.25),
                AllOf(HasSubstr("StepSize[units=ft]\"0.250000\""),
                      HasSubstr("AntPosition[X=0,Y=1.500000,Z=0,units=ft,"),
                      HasSubstr("AntPosition[X=0,Y=-1.500000,Z=0,units=ft,"),
                      HasSubstr("{Stack[type=sample]\"16\" " + std::string(kStackProcess) +
                                "-2]{Stack[type=trace]\"4 traces\"}}}")));
}

TEST(SettingsWriter, BlockInMemoryHasMetresFixedOrientationsAndASurveyModeCode) {
    ZAR::SGprParam param = svy3_test::SampleHeader();
    param.StepSize = ZAR::SMeasure(0.1, ZAR::UNIT_FT);
    param.AntennaSeparation = ZAR::SMeasure(1.0, ZAR::UNIT_FT);
    const auto block = CSVYXmlFile::LoadSettings110FromHd(Header(param));
    ASSERT_TRUE(block);
    // The step is kept in its unit; the antennas stand half of 1 ft, in metres, either side.
    const Block& b = *block;
    EXPECT_EQ(Join(b.SampleCount, b.TimeWindowNs, b.SampleIntervalNs, b.TimeZero,
                   b.OdometerTicksPerMetre, b.OdometerSensorId, b.NominalFrequencyMHz,
                   b.PulseVoltage, b.StepSizeMeasure.value, b.StepSizeMeasure.unit,
                   b.ReceiverAntenna.Y, b.TransmitterAntenna.Y, b.ProcessList.size()),
              Join(200, 160, 0.8, 20, 500.5, 0, 100, 400, 0.1, ZAR::UNIT_FT, 0.1524, -0.1524, 0));
    for (const Block::SAntenna& a : {b.ReceiverAntenna, b.TransmitterAntenna})
        EXPECT_EQ(Join(a.X, a.Z, a.OrientX, a.OrientY, a.OrientZ, a.OrientationType,
                       a.PositionReference, a.OrientationReference),
                  Join(0, 0, -1, -1, -1, Block::Perpendicular, Block::relative, Block::relative));
    // "CMP" or "WARR" in any case, and nothing longer, is CMP/WARR.
    const std::pair<const char*, int32_t> modes[] = {{"CMP", Block::CMP_WARR},
                                                     {"warr", Block::CMP_WARR},
                                                     {"CMP/WARR", Block::Reflection},
                                                     {"WARR ", Block::Reflection}};
    for (const auto& [mode, code] : modes) {
        param.SurveyMode = mode;
        EXPECT_EQ(CSVYXmlFile::LoadSettings110FromHd(Header(param))->SurveyModeCode, code) << mode;
    }
}

TEST(LineSequenceFileParams, NumbersComeFromTheLastCAndTheLastB) {
    // Path, line, sequence, base name, extension.
    using Case = std::tuple<const char*, int32_t, int32_t, std::string, std::string>;
    const Case cases[] = {
        {"LINE__C12B003.DT1", 12, 3, "LINE__C12B003", ".DT1"},
        {"SURVEY.DT1", 1, 1, "SURVEY", ".DT1"},  // after a match: nothing left over
        {"C:\\survey\\scan_c2b10.hd", 2, 10, "SCAN_C2B10", ".HD"},
        {"/d/ACB5C3B7x.dt1", 3, 7, "ACB5C3B7X", ".DT1"},  // last C, last B; leading digits
        {"B3C5.DT1", 0, 3, "B3C5", ".DT1"},               // B before C: empty line span
        {"C0B0.DT1", 1, 1, "C0B0", ".DT1"},
        {"C5.DT1", 1, 1, "C5", ".DT1"},  // a C without a B, or a B without a C: no numbers
        {"7B2.HD", 1, 1, "7B2", ".HD"},
        {"C5B7.sen", 1, 1, "C5B7", ".SEN"},  // numbers only for radar files
        {"x.y\\C4B2", 1, 1, "C4B2", ""},     // dots in folders do not count
        {"d/C4B2.tar.DT1", 4, 2, "C4B2.TAR", ".DT1"},
        {"C99999999999B1.DT1", 2147483647, 1, "C99999999999B1", ".DT1"},
    };
    ZAR::CDataLineAndSequenceFileParams params;  // reused: each parse must start afresh
    for (const Case& c : cases) {
        EXPECT_EQ(params.Parse(std::get<0>(c)), 1);
        EXPECT_EQ(Case(std::get<0>(c), params.LineNumber, params.SequenceNumber,
                       params.m_strBaseName, params.m_strExt),
                  c);
    }
}

TEST(LineSequenceFileParams, OrdersByLineThenSequenceAndReportsTies) {
    std::vector<ZAR::CDataLineAndSequenceFileParams> files;
    for (const char* name : {"C2B10.HD", "C10B1.DT1", "C2B9.DT1", "SURVEY.DT1", "X_C2B9.DT1"})
        files.emplace_back().Parse(name);
    auto a = files[2], b = files[4];
    std::stable_sort(files.begin(), files.end());
    std::string order;
    for (const auto& f : files)
        order += f.m_strBaseName + " ";
    EXPECT_EQ(order, "SURVEY C2B9 X_C2B9 C2B10 C10B1 ");

    int32_t flag = 0;
    a.m_pTieFlag = &flag;
    EXPECT_FALSE(a < b || b < a);
    EXPECT_EQ(flag, 0);  // equal tie values are no tie
    b.m_nTie = 1;
    EXPECT_FALSE(a < b);
    EXPECT_EQ(flag, 1);
}

}  // namespace
