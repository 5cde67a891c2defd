// Opening the data block of a document through CSvyDataBlockInterface::CreateAndInit, the settings
// factory and the module version text.
#include "svy3/datablock/svy_data_block_interface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/test_support.h"
#include "svy3/settings/settings_block_v110.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace {

using ZAR::CSvyDataBlockInterface;
using ZAR::CSvyDataBlockInterface_V110;

const std::string kPrefix =
    "The following errors have occured while attempting to load SVY:\n(creating a new SVY file "
    "and manually importing Lines in\nSVY_Edit may solve this problem)";
const std::string kNoData = "\nError: No Datablock found!";
const std::string kVersionWarning =
    "\nWarning: The SVY Data block you are attempting to open is not supportedby the current "
    "version of the software.\nInvalid Version.  We only support 1.10 to 1.20.";

const std::string kSettings =
    R"(<Settings version="1.1.0">)"
    R"(<Trace sample_cnt="200" time_zero_cnt="20.000000" interval_ns="0.800000"/>)"
    R"(<OdometerCal ticks_per_m="1000.000000" sensorID="NA"/>)"
    R"(<StepSize units="m">0.050000</StepSize>)"
    R"(<NominalFrequency units="Mhz">100.000000</NominalFrequency>)"
    R"(<Pulse units="Vpp">400.000000</Pulse>)"
    R"(<Antenna><Receiver><AntPosition X="0" Y="0.5" Z="0" units="m" reference="relative"/>)"
    R"(</Receiver><Transmitter><AntPosition X="0" Y="-0.5" Z="0" units="m" )"
    R"(reference="relative"/></Transmitter></Antenna>)"
    R"(<SurveyMode>Reflection</SurveyMode></Settings>)";

// A DataFile with odometer values and sample counts, so that no header needs to be read.
std::string DataFile(const std::string& name, int seq, const std::string& extra = "") {
    return R"(<DataFile name=")" + name + R"(" ext="HD+DT1" seq=")" + std::to_string(seq) +
           R"("><DataSampleCnt dim0="2" dim1="200" dim2="50" dim3="NA"/>)" + extra +
           R"(<Odometer start="0" end="2.5" step="0.05" units="m"/></DataFile>)";
}

class DataBlockQueryOpen : public ::testing::Test {
  protected:
    // Loads a document whose root holds `body`; the cursor stands on the root.
    void Load(const std::string& body) {
        const std::string path = dir.File("survey.svy");
        svy3_test::WriteFile(
            path, R"(<?xml version="1.0"?><ZAR_SVY version="1.1.0">)" + body + "</ZAR_SVY>");
        ASSERT_EQ(file.Initialize(path), 1);
    }

    std::string Data(const std::string& versionAttribute, const std::string& lines) {
        return "<Data" + versionAttribute + "><DataDirPath>C:\\data</DataDirPath>" + kSettings +
               lines + "</Data>";
    }

    std::string NodeName() {
        std::string name;
        file.GetNodeName(name);
        return name;
    }

    // Exactly one box was shown, with the exclamation icon, the prefix and `message`.
    void ExpectOneBox(const std::string& message) {
        ASSERT_EQ(boxes.messages().size(), 1u);
        EXPECT_EQ(boxes.messages()[0].first, kPrefix + message);
        EXPECT_EQ(boxes.messages()[0].second, ZAR::MessageIcon::Exclamation);
    }

    svy3_test::TempDir dir;
    svy3_test::MessageBoxCapture boxes;
    ZAR::CSVYXmlFile file;
};

TEST_F(DataBlockQueryOpen, MissingDataBlockGivesNullTheErrorAndABoxWhenAsked) {
    Load("<SiteDefinition/>");
    file.GotoChildNode("SiteDefinition");
    std::string error = "stale";
    EXPECT_EQ(CSvyDataBlockInterface::CreateAndInit(&file, 1, &error), nullptr);
    EXPECT_EQ(error, kNoData);
    ExpectOneBox(kNoData);
    EXPECT_EQ(NodeName(), "SiteDefinition");  // the cursor is back where it was

    // Messages off: no box; no error string: nothing written.
    EXPECT_EQ(CSvyDataBlockInterface::CreateAndInit(&file, 0, &error), nullptr);
    EXPECT_EQ(CSvyDataBlockInterface::CreateAndInit(&file, 0, nullptr), nullptr);
    EXPECT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(CSvyDataBlockInterface::CreateAndInit(nullptr, 1, &error), nullptr);
    EXPECT_EQ(error, "");
}

TEST_F(DataBlockQueryOpen, EveryVersionOpensOnlyOthersThan11And12WarnAndTheModelIsQueried) {
    const std::string lines = R"(<Line name="L2">)" + DataFile("F1", 1) + DataFile("F2", 2) +
                              R"(</Line><Line name="L1">)" + DataFile("F3", 1) + "</Line>";
    const struct {
        const char* version;
        std::string error;  // the other version comes last: its box is the only one
    } cases[] = {{R"( version="1.2.0")", ""},
                 {R"( version="1.1.0")", ""},
                 {"", ""},
                 {R"( version="1.3.0")", kVersionWarning}};
    for (const auto& c : cases) {
        Load(Data(c.version, lines));
        std::string error = "stale";
        auto block = CSvyDataBlockInterface::CreateAndInit(&file, 1, &error);
        ASSERT_NE(block, nullptr) << c.version << error;
        EXPECT_EQ(error, c.error) << c.version;
        EXPECT_EQ(boxes.messages().size(), c.error.empty() ? 0u : 1u) << c.version;
        EXPECT_EQ(NodeName(), "ZAR_SVY");
        EXPECT_EQ(block->GetDataDir(), "C:\\data");
        EXPECT_EQ(block->GetNumLines(-2, ZAR::eLineAny), 2);
        ZAR::FileInfo info;
        ASSERT_EQ(block->GetFileInfo(0, "hd+dt1", 1, info), 1);  // L2 comes first
        EXPECT_EQ(info.name, "F2");
        ASSERT_NE(info.settings, nullptr);  // built by the settings factory
        EXPECT_EQ(info.settings->SampleCount, 200);
    }
    ExpectOneBox(kVersionWarning);
}

TEST_F(DataBlockQueryOpen, ReaderFailureGivesNullWithItsMessages) {
    // Two files with the same sequence number: the reader refuses the second.
    Load(Data("", R"(<Line name="L1">)" + DataFile("F1", 1) + DataFile("F2", 1) + "</Line>"));
    file.GotoChildNode("Data");
    std::string error;
    EXPECT_EQ(CSvyDataBlockInterface::CreateAndInit(&file, 1, &error), nullptr);
    EXPECT_EQ(error, "\nError: Invalid file sequence in line:L1");
    ExpectOneBox(error);
    EXPECT_EQ(NodeName(), "Data");
}

TEST_F(DataBlockQueryOpen, SettingsWarningIsReportedButTheBlockOpens) {
    // The line's Settings lacks required elements: the factory gives null and the file takes the
    // block's settings.
    Load(Data("", R"(<Line name="L1"><Settings/>)" + DataFile("F1", 1) + "</Line>"));
    std::string error;
    auto block = CSvyDataBlockInterface::CreateAndInit(&file, 0, &error);
    ASSERT_NE(block, nullptr);
    EXPECT_NE(error.find("\nWarning: <Settings> could not be correctly loaded."), std::string::npos)
        << error;
    EXPECT_TRUE(boxes.messages().empty());
    ZAR::FileInfo info;
    ASSERT_EQ(block->GetFileInfo(0, 0, 0, info), 1);
    EXPECT_NE(info.settings, nullptr);
}

TEST_F(DataBlockQueryOpen, CreateSettingsLoadsTheElementUnderTheCursorOrGivesNull) {
    Load(Data("", "") + "<Other/>");
    ASSERT_EQ(file.GotoChildNode("Data"), 1);
    ASSERT_EQ(file.GotoChildNode("Settings"), 1);
    std::string error;
    auto settings = CSvyDataBlockInterface_V110::CreateSettings(&file, error);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->SampleCount, 200);
    EXPECT_DOUBLE_EQ(settings->NominalFrequencyMHz, 100.0);
    EXPECT_EQ(error, "");
    file.GotoRootNode();
    file.GotoChildNode("Other");
    EXPECT_EQ(CSvyDataBlockInterface_V110::CreateSettings(&file, error), nullptr);
    EXPECT_EQ(CSvyDataBlockInterface_V110::CreateSettings(nullptr, error), nullptr);
}

TEST(DataBlockQueryVersion, TextIsCutToTheBufferSize) {
    const std::string expected =
        "SVYDataBlockInterfaceRM\t1.1.0.0\tVersion 1 Release 1\t2005-02-07\t";
    char buffer[128];
    SVYDataBlockInterfaceRM_GetVerStr(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer).substr(0, expected.size()), expected);
    EXPECT_GT(std::strlen(buffer), expected.size());  // a part number follows

    char small[9];
    std::memset(small, 'x', sizeof small);
    SVYDataBlockInterfaceRM_GetVerStr(small, 8);
    EXPECT_STREQ(small, "SVYData");
    EXPECT_EQ(small[8], 'x');
}

}  // namespace
