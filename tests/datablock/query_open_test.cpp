// Opening the data block of a document through CSvyDataBlockInterface::CreateAndInit, and the
// settings factory it gives the reader.
#include "svy3/datablock/svy_data_block_interface.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "support/document_support.h"
#include "svy3/settings/settings_block_v110.h"

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

std::string DataFile(const std::string& name, int seq) {
    return svy3_test::DataFileElement(name, "HD+DT1", seq);
}

class DataBlockQueryOpen : public svy3_test::DocumentTest {
  protected:
    // Loads a document whose root holds `body`; the cursor stands on the root.
    void Load(const std::string& body) {
        Open(R"(<?xml version="1.0"?><ZAR_SVY version="1.1.0">)" + body + "</ZAR_SVY>");
    }
    static std::string Data(const std::string& versionAttribute, const std::string& lines) {
        return "<Data" + versionAttribute + "><DataDirPath>C:\\data</DataDirPath>" +
               svy3_test::SettingsChildren().Xml() + lines + "</Data>";
    }
    // Exactly one box was shown, with the exclamation icon, the prefix and `message`.
    void ExpectOneBox(const std::string& message) {
        EXPECT_EQ(boxes.messages(), (std::vector<std::pair<std::string, ZAR::MessageIcon>>{
                                        {kPrefix + message, ZAR::MessageIcon::Exclamation}}));
    }

    svy3_test::MessageBoxCapture boxes;
};

TEST_F(DataBlockQueryOpen, MissingDataBlockGivesNullTheErrorAndABoxWhenAsked) {
    Load("<SiteDefinition/>");
    m_file.GotoChildNode("SiteDefinition");
    std::string error = "stale";
    EXPECT_EQ(CSvyDataBlockInterface::CreateAndInit(&m_file, 1, &error), nullptr);
    EXPECT_EQ(error, kNoData);
    ExpectOneBox(kNoData);
    EXPECT_EQ(Name(), "SiteDefinition");  // the cursor is back where it was

    // Messages off: no box; no error string: nothing written.
    EXPECT_EQ(CSvyDataBlockInterface::CreateAndInit(&m_file, 0, &error), nullptr);
    EXPECT_EQ(CSvyDataBlockInterface::CreateAndInit(&m_file, 0, nullptr), nullptr);
    EXPECT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(CSvyDataBlockInterface::CreateAndInit(nullptr, 1, &error), nullptr);
    EXPECT_EQ(error, "");
}

TEST_F(DataBlockQueryOpen, EveryVersionOpensOnlyOthersThan11And12WarnAndTheModelIsQueried) {
    const std::string lines = R"(<Line name="L2">)" + DataFile("F1", 1) + DataFile("F2", 2) +
                              R"(</Line><Line name="L1">)" + DataFile("F3", 1) + "</Line>";
    // The other version comes last: its box is the only one.
    const std::pair<const char*, std::string> cases[] = {{R"( version="1.2.0")", ""},
                                                         {R"( version="1.1.0")", ""},
                                                         {"", ""},
                                                         {R"( version="1.3.0")", kVersionWarning}};
    for (const auto& [version, message] : cases) {
        SCOPED_TRACE(version);
        Load(Data(version, lines));
        std::string error = "stale";
        auto block = CSvyDataBlockInterface::CreateAndInit(&m_file, 1, &error);
        ASSERT_NE(block, nullptr) << error;
        EXPECT_EQ(error, message);
        EXPECT_EQ(boxes.messages().size(), message.empty() ? 0u : 1u);
        EXPECT_EQ(Name(), "ZAR_SVY");
        EXPECT_EQ(block->GetNumLines(-2, ZAR::eLineAny), 2);
    }
    ExpectOneBox(kVersionWarning);
}

TEST_F(DataBlockQueryOpen, ReaderFailureGivesNullWithItsMessagesAndASettingsWarningDoesNot) {
    // Two files with the same sequence number: the reader refuses the second.
    Load(Data("", R"(<Line name="L1">)" + DataFile("F1", 1) + DataFile("F2", 1) + "</Line>"));
    m_file.GotoChildNode("Data");
    std::string error;
    EXPECT_EQ(CSvyDataBlockInterface::CreateAndInit(&m_file, 1, &error), nullptr);
    EXPECT_EQ(error, "\nError: Invalid file sequence in line:L1");
    ExpectOneBox(error);
    EXPECT_EQ(Name(), "Data");

    // The line's Settings lacks required elements: the factory gives null and the file takes the
    // block's settings.
    Load(Data("", R"(<Line name="L1"><Settings/>)" + DataFile("F1", 1) + "</Line>"));
    auto block = CSvyDataBlockInterface::CreateAndInit(&m_file, 0, &error);
    ASSERT_NE(block, nullptr);
    EXPECT_THAT(error, testing::HasSubstr("\nWarning: <Settings> could not be correctly loaded."));
    EXPECT_EQ(boxes.messages().size(), 1u);
    ZAR::FileInfo info;
    ASSERT_EQ(block->GetFileInfo(0, 0, 0, info), 1);
    EXPECT_DOUBLE_EQ(info.settings->NominalFrequencyMHz, 100.0);
    EXPECT_EQ(CSvyDataBlockInterface_V110::CreateSettings(nullptr, error), nullptr);
}

}  // namespace
