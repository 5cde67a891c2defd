// Settings blocks from data headers, and line and sequence numbers from data file names.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>

#include "support/radar_files.h"
#include "support/test_support.h"
#include "support/xml_outline.h"
#include "svy3/external/gpr_param.h"
#include "svy3/settings/data_line_and_sequence_file_params.h"
#include "svy3/settings/settings_block_v110.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace {

using Block = ZAR::CSvySettingsBlock_V110;
using ZAR::CSVYXmlFile;

class SettingsWriterTest : public testing::Test {
  protected:
    void SetUp() override {
        svy3_test::WriteFile(m_dir.File("in.svy"), "<ZAR_SVY><Data/></ZAR_SVY>");
        ASSERT_EQ(m_file.Initialize(m_dir.File("in.svy")), 1);
        ASSERT_EQ(m_file.GotoChildNode("Data"), 1);
    }
    ZAR::GprParam Header(const ZAR::SGprParam& param) {
        ZAR::GprParam header;
        header.SetGprParam(boost::make_shared<ZAR::SGprParam>(param));
        return header;
    }
    // Writes a block under Data, checks that the cursor came back, and returns its outline.
    std::string Write(const ZAR::SGprParam& param, double stepSize) {
        EXPECT_EQ(m_file.WriteSettingsBlock_V110(Header(param), stepSize), 1);
        std::string name;
        m_file.GetNodeName(name);
        EXPECT_EQ(name, "Data");
        EXPECT_EQ(m_file.Save(m_dir.File("out.svy")), 0);
        return svy3_test::OutlineOf(m_dir.File("out.svy"), "Data/Settings");
    }

    svy3_test::TempDir m_dir;
    CSVYXmlFile m_file;
};

const char kSampleAntenna[] =
    "Antenna{"
    "Receiver{AntPosition[X=0,Y=0.500000,Z=0,units=m,reference=relative] "
    "AntOrientation[X=NA,Y=NA,Z=NA,units=Perpendicular,reference=relative]} "
    "Transmitter{AntPosition[X=0,Y=-0.500000,Z=0,units=m,reference=relative] "
    "AntOrientation[X=NA,Y=NA,Z=NA,units=Perpendicular,reference=relative]}}";

TEST_F(SettingsWriterTest, WritesEveryElementInOrderWithTheNumberFormats) {
    EXPECT_EQ(Write(svy3_test::SampleHeader(), 0.0),
              "Settings[version=1.2.0]{"
              "Trace[sample_cnt=200,time_zero_cnt=20.000000,interval_ns=0.800000] "
              "OdometerCal[ticks_per_m=500.500000,sensorID=NA] "
              "StepSize[units=m]\"0.050000\" "
              "NominalFrequency[units=Mhz]\"100.000000\" "
              "Pulse[units=Vpp]\"400.000000\" " +
                  std::string(kSampleAntenna) +
                  " SurveyMode\"Reflection\" "
                  "Process[operationUID=STACK@,implementation=GPR System,version=NA,DIP=NA,"
                  "buffer=no,ID=-1]{Stack[type=sample]\"16\"}}");
}

TEST_F(SettingsWriterTest, StepArgumentTraceStackingAndForeignUnits) {
    ZAR::SGprParam param = svy3_test::SampleHeader();
    param.StepSize = ZAR::SMeasure(0.1, ZAR::UNIT_FT);
    // The separation is written as its number, labelled with the step's unit.
    param.AntennaSeparation = ZAR::SMeasure(3.0, ZAR::UNIT_CM);
    param.TraceStacking = "4 traces";
    param.SurveyMode = "warr";
    const std::string outline = Write(param, 0.25);
    EXPECT_NE(outline.find("StepSize[units=ft]\"0.250000\""), std::string::npos) << outline;
    EXPECT_NE(outline.find("AntPosition[X=0,Y=1.500000,Z=0,units=ft,reference=relative]"),
              std::string::npos)
        << outline;
    EXPECT_NE(outline.find("AntPosition[X=0,Y=-1.500000,Z=0,units=ft,reference=relative]"),
              std::string::npos)
        << outline;
    EXPECT_NE(outline.find("SurveyMode\"warr\""), std::string::npos) << outline;
    // The trace step is nested inside the sample step.
    EXPECT_NE(outline.find("{Stack[type=sample]\"16\" Process[operationUID=STACK@,implementation="
                           "GPR System,version=NA,DIP=NA,buffer=no,ID=-2]{Stack[type=trace]"
                           "\"4 traces\"}}}"),
              std::string::npos)
        << outline;
}

TEST_F(SettingsWriterTest, WrittenBlockReadsBackButDiffersFromTheBlockBuiltInMemory) {
    Write(svy3_test::SampleHeader(), 0.0);
    ASSERT_EQ(m_file.GotoChildNode("Settings"), 1);
    Block read;
    std::string error;
    ASSERT_EQ(read.LoadSettings(&m_file, error), 1) << error;
    EXPECT_EQ(error, "");
    EXPECT_EQ(read.SampleCount, 200);
    EXPECT_DOUBLE_EQ(read.SampleIntervalNs, 0.8);
    EXPECT_DOUBLE_EQ(read.TimeZero, 20.0);
    EXPECT_DOUBLE_EQ(read.StepSizeMeasure.value, 0.05);
    EXPECT_DOUBLE_EQ(read.NominalFrequencyMHz, 100.0);
    EXPECT_DOUBLE_EQ(read.PulseVoltage, 400.0);
    EXPECT_DOUBLE_EQ(read.ReceiverAntenna.Y, 0.5);
    EXPECT_DOUBLE_EQ(read.TransmitterAntenna.Y, -0.5);
    EXPECT_EQ(read.ProcessList, std::vector<std::string>{"Stacksample=16"});

    const std::unique_ptr<Block> built =
        CSVYXmlFile::LoadSettings110FromHd(Header(svy3_test::SampleHeader()));
    ASSERT_TRUE(built);
    EXPECT_EQ(built->Compare(&read), 0);  // orientation angles -1 against 0, 90, 0
    Block aligned = *built;
    aligned.ReceiverAntenna.OrientX = read.ReceiverAntenna.OrientX;
    aligned.ReceiverAntenna.OrientY = read.ReceiverAntenna.OrientY;
    aligned.ReceiverAntenna.OrientZ = read.ReceiverAntenna.OrientZ;
    aligned.ReceiverAntenna.OrientationText = read.ReceiverAntenna.OrientationText;
    aligned.TimeWindowNs = read.TimeWindowNs;
    EXPECT_EQ(aligned.Compare(&read), 1);
}

TEST_F(SettingsWriterTest, BlockBuiltInMemoryConvertsTheSeparationAndCodesTheSurveyMode) {
    ZAR::SGprParam param = svy3_test::SampleHeader();
    param.StepSize = ZAR::SMeasure(0.1, ZAR::UNIT_FT);
    param.AntennaSeparation = ZAR::SMeasure(1.0, ZAR::UNIT_FT);
    param.SurveyMode = "warr";
    auto block = CSVYXmlFile::LoadSettings110FromHd(Header(param));
    ASSERT_TRUE(block);
    EXPECT_EQ(block->SampleCount, 200);
    EXPECT_DOUBLE_EQ(block->TimeWindowNs, 160.0);
    EXPECT_DOUBLE_EQ(block->SampleIntervalNs, 0.8);
    EXPECT_DOUBLE_EQ(block->OdometerTicksPerMetre, 500.5);
    EXPECT_EQ(block->OdometerSensorId, 0);
    EXPECT_EQ(block->StepSizeMeasure, ZAR::SMeasure(0.1, ZAR::UNIT_FT));
    EXPECT_DOUBLE_EQ(block->ReceiverAntenna.Y, 0.1524);
    EXPECT_DOUBLE_EQ(block->TransmitterAntenna.Y, -0.1524);
    for (const Block::SAntenna* antenna : {&block->ReceiverAntenna, &block->TransmitterAntenna}) {
        EXPECT_EQ(antenna->X, 0.0);
        EXPECT_EQ(antenna->OrientX, -1.0);
        EXPECT_EQ(antenna->OrientY, -1.0);
        EXPECT_EQ(antenna->OrientZ, -1.0);
        EXPECT_EQ(antenna->OrientationType, Block::Perpendicular);
        EXPECT_EQ(antenna->PositionReference, Block::relative);
        EXPECT_EQ(antenna->OrientationReference, Block::relative);
        EXPECT_EQ(antenna->Reversed, 0);
    }
    EXPECT_EQ(block->SurveyModeCode, Block::CMP_WARR);
    EXPECT_TRUE(block->ProcessList.empty());

    for (const char* mode : {"CMP", "cMp", "WARR"}) {
        param.SurveyMode = mode;
        EXPECT_EQ(CSVYXmlFile::LoadSettings110FromHd(Header(param))->SurveyModeCode,
                  Block::CMP_WARR)
            << mode;
    }
    for (const char* mode : {"CMP/WARR", "CMP ", "Reflection", ""}) {
        param.SurveyMode = mode;
        EXPECT_EQ(CSVYXmlFile::LoadSettings110FromHd(Header(param))->SurveyModeCode,
                  Block::Reflection)
            << mode;
    }
}

// --- file names -------------------------------------------------------------------------------

ZAR::CDataLineAndSequenceFileParams Parsed(const std::string& path) {
    ZAR::CDataLineAndSequenceFileParams params;
    EXPECT_EQ(params.Parse(path), 1);
    return params;
}

TEST(LineSequenceFileParams, NumbersComeFromTheLastCAndTheLastB) {
    struct Case {
        const char* path;
        int32_t line, sequence;
        const char* base;
        const char* ext;
    };
    const Case cases[] = {
        {"LINE__C12B003.DT1", 12, 3, "LINE__C12B003", ".DT1"},
        {"C:\\survey\\scan_c2b10.hd", 2, 10, "SCAN_C2B10", ".HD"},
        {"/data/C:B9.Dt1", 0, 9, "C:B9", ".DT1"},            // no digits after C
        {"/data/ACB5C3B7x.dt1", 3, 7, "ACB5C3B7X", ".DT1"},  // last C and last B; digits lead
        {"B3C5.DT1", 0, 3, "B3C5", ".DT1"},                  // B before C: empty line span
        {"C0B0.DT1", 1, 1, "C0B0", ".DT1"},                  // both not above 0
        {"SURVEY.DT1", 1, 1, "SURVEY", ".DT1"},
        {"C5B7.sen", 1, 1, "C5B7", ".SEN"},  // numbers only for radar files
        {"x.y\\C4B2", 1, 1, "C4B2", ""},     // dots in folders do not count
        {"d/x\\C4B2.tar.DT1", 4, 2, "C4B2.TAR", ".DT1"},
        {"C99999999999B1.DT1", 2147483647, 1, "C99999999999B1", ".DT1"},
    };
    for (const Case& c : cases) {
        const auto params = Parsed(c.path);
        EXPECT_EQ(params.LineNumber, c.line) << c.path;
        EXPECT_EQ(params.SequenceNumber, c.sequence) << c.path;
        EXPECT_EQ(params.m_strBaseName, c.base) << c.path;
        EXPECT_EQ(params.m_strExt, c.ext) << c.path;
    }
}

TEST(LineSequenceFileParams, ParsingAgainStartsAfresh) {
    ZAR::CDataLineAndSequenceFileParams params;
    params.Parse("C7B8.DT1");
    params.Parse("B1.DT1");  // no C: the old numbers must not survive
    EXPECT_EQ(params.LineNumber, 1);
    EXPECT_EQ(params.SequenceNumber, 1);
}

TEST(LineSequenceFileParams, OrdersByLineThenSequenceAndReportsTies) {
    std::vector<ZAR::CDataLineAndSequenceFileParams> files = {
        Parsed("C2B10.HD"), Parsed("C10B1.DT1"), Parsed("C2B9.DT1"), Parsed("SURVEY.DT1")};
    std::sort(files.begin(), files.end());
    std::vector<std::string> names;
    for (const auto& f : files)
        names.push_back(f.m_strBaseName);
    EXPECT_EQ(names, (std::vector<std::string>{"SURVEY", "C2B9", "C2B10", "C10B1"}));

    auto a = Parsed("A_C3B4.DT1");
    auto b = Parsed("B_C3B4.DT1");
    EXPECT_FALSE(a < b);
    EXPECT_FALSE(b < a);
    int32_t flag = 0;
    a.m_pTieFlag = &flag;
    EXPECT_FALSE(a < b);
    EXPECT_EQ(flag, 0);  // equal tie values are no tie
    b.m_nTie = 1;
    EXPECT_FALSE(a < b);
    EXPECT_EQ(flag, 1);
    flag = 0;
    EXPECT_TRUE(a < Parsed("C3B5.DT1"));
    EXPECT_EQ(flag, 0);
}

}  // namespace
