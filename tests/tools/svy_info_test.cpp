#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "support/test_support.h"
#include "tools/svy/project_summary.h"
#include "tools/svy/summary_output.h"

namespace {

const std::string kSample = std::string(SVY3_TEST_DATA_DIR) + "/sample.svy";

TEST(SvyInfo, SummarizesTheSampleProject) {
    svy3_test::MessageBoxCapture boxes;
    svy_tool::ProjectSummary summary;
    std::string error;
    ASSERT_TRUE(svy_tool::SummarizeProject(kSample, summary, error)) << error;
    EXPECT_EQ(std::make_tuple(summary.version, summary.dataDir, summary.messages, summary.jobDate),
              std::make_tuple("1.1.0", "C:\\surveys\\quarry\\", "", "2024-05-21 08:30:00"));
    EXPECT_EQ(summary.siteComments.size(), 2u);
    // Provenance: the site block's record, then the data block's with its modification.
    ASSERT_EQ(summary.provenance.size(), 3u);
    EXPECT_EQ(summary.provenance[2].kind + "|" + summary.provenance[2].comment,
              "modified|positions added");

    ASSERT_EQ(summary.lines.size(), 2u);
    const svy_tool::LineSummary& first = summary.lines[0];
    ASSERT_EQ(first.files.size(), 2u);
    // X stays within the tolerance: the line runs along Y (type 3).
    EXPECT_EQ(std::make_tuple(first.name, first.type, first.startY, first.endY, first.direction,
                              first.files[1].odoStart, first.files[0].positionCount),
              std::make_tuple("Line1", 3, 0.0, 20.0, 'Y', 10.0, 3));
    // Line 2 has its own settings, in centimetres, and a .sen entry beside its radar file.
    const svy_tool::LineSummary& second = summary.lines[1];
    ASSERT_EQ(second.files.size(), 2u);
    EXPECT_EQ(second.files[0].kind + "|" + second.files[1].kind, "HD+DT1|.SEN");
    EXPECT_DOUBLE_EQ(second.files[0].odoEnd, 10.0);
    ASSERT_EQ(summary.settings.size(), 2u);
    const auto& own = summary.settings[second.files[0].settingsIndex];
    EXPECT_EQ(own.sampleCount, 500);
    EXPECT_DOUBLE_EQ(own.stepSizeMetres, 0.025);
    EXPECT_DOUBLE_EQ(summary.settings[first.files[0].settingsIndex].antennaSeparationMetres, 0.38);

    std::ostringstream text;
    svy_tool::PrintSummary(summary, text);
    EXPECT_NE(text.str().find("QUARRYC2B1  HD+DT1"), std::string::npos);
    const nlohmann::json json = svy_tool::SummaryToJson(summary);
    EXPECT_EQ(json["lines"][1]["files"][1]["kind"], ".SEN");
    EXPECT_EQ(json["site"]["fields"]["Operator"], "A. Surveyor");
}

TEST(SvyInfo, ReportsDocumentsThatDoNotOpen) {
    svy3_test::MessageBoxCapture boxes;
    svy3_test::TempDir dir;
    svy_tool::ProjectSummary summary;
    std::string error;
    EXPECT_FALSE(svy_tool::SummarizeProject(dir.File("missing.svy"), summary, error));
    EXPECT_NE(error.find("cannot load"), std::string::npos);

    svy3_test::WriteFile(dir.File("nodata.svy"), "<ZAR_SVY version=\"1.1.0\"/>");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(svy_tool::SummarizeProject(dir.File("nodata.svy"), summary, error));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Error: No Datablock found!"),
              std::string::npos);
    EXPECT_NE(summary.messages.find("No Datablock found!"), std::string::npos);
}

}  // namespace
