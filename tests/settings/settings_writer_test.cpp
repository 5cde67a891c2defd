// Settings blocks from data headers, and line and sequence numbers from data file names.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
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
    EXPECT_EQ(file.Save(dir.File("out.svy")), 0);
    pugi::xml_document doc;
    doc.load_file(dir.File("out.svy").c_str());
    return svy3_test::Outline(doc.child("ZAR_SVY").child("Data").child("Settings"));
}

const char kStackProcess[] =
    "Process[operationUID=STACK@,implementation=GPR System,version=NA,"
    "DIP=NA,buffer=no,ID=";

TEST(SettingsWriter, WritesEveryElementInOrderWithTheNumberFormats) {
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
}

TEST(SettingsWriter, StepArgumentTraceStackingAndSeparationUnits) {
    ZAR::SGprParam param = svy3_test::SampleHeader();
    param.StepSize = ZAR::SMeasure(0.1, ZAR::UNIT_FT);
    param.AntennaSeparation = ZAR::SMeasure(3.0, ZAR::UNIT_CM);  // its number, the step's unit
    param.TraceStacking = "4 traces";
    const std::string block = WrittenBlock(param, 0.25);
    for (const std::string& part : std::vector<std::string>{
             "StepSize[units=ft]\"0.250000\"", "AntPosition[X=0,Y=1.500000,Z=0,units=ft,",
             "AntPosition[X=0,Y=-1.500000,Z=0,units=ft,",
             "{Stack[type=sample]\"16\" " + std::string(kStackProcess) +
                 "-2]{Stack[type=trace]\"4 traces\"}}}"})
        EXPECT_NE(block.find(part), std::string::npos) << part << "\nin " << block;
}

TEST(SettingsWriter, BlockInMemoryHasMetresFixedOrientationsAndASurveyModeCode) {
    ZAR::SGprParam param = svy3_test::SampleHeader();
    param.StepSize = ZAR::SMeasure(0.1, ZAR::UNIT_FT);
    param.AntennaSeparation = ZAR::SMeasure(1.0, ZAR::UNIT_FT);
    const auto block = CSVYXmlFile::LoadSettings110FromHd(Header(param));
    ASSERT_TRUE(block);
    EXPECT_EQ(block->SampleCount, 200);
    EXPECT_DOUBLE_EQ(block->TimeWindowNs, 160.0);
    EXPECT_DOUBLE_EQ(block->SampleIntervalNs, 0.8);
    EXPECT_DOUBLE_EQ(block->OdometerTicksPerMetre, 500.5);
    EXPECT_EQ(block->StepSizeMeasure, ZAR::SMeasure(0.1, ZAR::UNIT_FT));
    EXPECT_DOUBLE_EQ(block->ReceiverAntenna.Y, 0.1524);
    EXPECT_DOUBLE_EQ(block->TransmitterAntenna.Y, -0.1524);
    for (const Block::SAntenna& a : {block->ReceiverAntenna, block->TransmitterAntenna}) {
        EXPECT_EQ(std::vector<double>({a.X, a.Z, a.OrientX, a.OrientY, a.OrientZ}),
                  std::vector<double>({0.0, 0.0, -1.0, -1.0, -1.0}));
        EXPECT_EQ(a.OrientationType, Block::Perpendicular);
        EXPECT_EQ(a.PositionReference, Block::relative);
        EXPECT_EQ(a.OrientationReference, Block::relative);
    }
    EXPECT_TRUE(block->ProcessList.empty());
    const std::pair<const char*, int32_t> modes[] = {{"CMP", Block::CMP_WARR},
                                                     {"warr", Block::CMP_WARR},
                                                     {"CMP/WARR", Block::Reflection},
                                                     {"WARR ", Block::Reflection},
                                                     {"Reflection", Block::Reflection}};
    for (const auto& [mode, code] : modes) {
        param.SurveyMode = mode;
        EXPECT_EQ(CSVYXmlFile::LoadSettings110FromHd(Header(param))->SurveyModeCode, code) << mode;
    }
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
        {"SURVEY.DT1", 1, 1, "SURVEY", ".DT1"},  // after a match: nothing left over
        {"C:\\survey\\scan_c2b10.hd", 2, 10, "SCAN_C2B10", ".HD"},
        {"/d/ACB5C3B7x.dt1", 3, 7, "ACB5C3B7X", ".DT1"},  // last C, last B; leading digits
        {"B3C5.DT1", 0, 3, "B3C5", ".DT1"},               // B before C: empty line span
        {"C0B0.DT1", 1, 1, "C0B0", ".DT1"},
        {"C5B7.sen", 1, 1, "C5B7", ".SEN"},  // numbers only for radar files
        {"x.y\\C4B2", 1, 1, "C4B2", ""},     // dots in folders do not count
        {"d/C4B2.tar.DT1", 4, 2, "C4B2.TAR", ".DT1"},
        {"C99999999999B1.DT1", 2147483647, 1, "C99999999999B1", ".DT1"},
    };
    ZAR::CDataLineAndSequenceFileParams params;  // reused: each parse must start afresh
    for (const Case& c : cases) {
        EXPECT_EQ(params.Parse(c.path), 1);
        EXPECT_EQ(params.LineNumber, c.line) << c.path;
        EXPECT_EQ(params.SequenceNumber, c.sequence) << c.path;
        EXPECT_EQ(params.m_strBaseName, c.base) << c.path;
        EXPECT_EQ(params.m_strExt, c.ext) << c.path;
    }
}

TEST(LineSequenceFileParams, OrdersByLineThenSequenceAndReportsTies) {
    std::vector<ZAR::CDataLineAndSequenceFileParams> files(5);
    const char* names[] = {"C2B10.HD", "C10B1.DT1", "C2B9.DT1", "SURVEY.DT1", "X_C2B9.DT1"};
    for (int i = 0; i < 5; ++i)
        files[i].Parse(names[i]);
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
