#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "support/test_support.h"
#include "tools/samples/sample_survey.h"
#include "tools/svy/create_command.h"
#include "tools/svy/demo_survey.h"
#include "tools/svy/project_summary.h"

namespace {

TEST(SvyCreate, DemoSurveyIsCreatedAndReadsBack) {
    svy3_test::TempDir dir;
    std::ostringstream out;
    testing::internal::CaptureStderr();
    ASSERT_EQ(svy_tool::RunDemo(dir.path(), out), 0) << testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStderr();
    EXPECT_NE(out.str().find("3 lines, 10 data files from 10 selected files"), std::string::npos)
        << out.str();

    // How the library reads a created document is checked with the document creator; here what
    // the demo generates (files of 250 samples, 200 traces each, 10 m apart), selects and passes.
    svy_tool::ProjectSummary summary;
    std::string error;
    ASSERT_TRUE(svy_tool::SummarizeProject(dir.File("demo.svy"), summary, error)) << error;
    ASSERT_EQ(summary.lines.size(), 3u);
    EXPECT_EQ(summary.lines[0].files.size(), 4u);  // three radar files and the odometer file
    EXPECT_DOUBLE_EQ(summary.lines[2].lateralOffset, 1.0);  // (3 - 1) x 0.5 m
    EXPECT_EQ(summary.provenance.at(0).name, "svy demo");
    const svy_tool::FileSummary& third = summary.lines[1].files.at(2);
    EXPECT_EQ(std::make_tuple(summary.settings.at(0).sampleCount, third.dim2, third.odoStart),
              std::make_tuple(250, 200, 20.0));
}

TEST(SvyCreate, SelectionsAndFailures) {
    svy3_test::TempDir dir;
    std::string error;
    svy3_samples::RadarSurveyShape shape;
    shape.lines = 2;
    shape.filesPerLine = 2;
    shape.tracesPerFile = 10;
    ASSERT_EQ(svy3_samples::WriteRadarSurvey(dir.path(), shape, error).size(), 5u) << error;
    svy3_test::WriteFile(dir.File("notes.txt"), "not data");

    // Globs keep data files only.
    const auto files = svy_tool::ExpandSelection({dir.File("*"), dir.File("missing.DT1")});
    EXPECT_EQ(files.size(), 4u + 4u + 1u + 1u);  // .HD, .DT1, .sen and the named missing file
    testing::internal::CaptureStderr();
    EXPECT_TRUE(svy_tool::ExpandSelection({dir.File("*.none")}).empty());  // not taken literally
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no file matches"), std::string::npos);

    std::ostringstream out;
    svy_tool::CreateOptions options;
    options.inputs = {dir.File("*.txt")};
    options.output = dir.File("none.svy");
    testing::internal::CaptureStderr();
    EXPECT_EQ(svy_tool::RunCreate(options, out), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no .DT1, .HD or .sen files"),
              std::string::npos);

    // An unwritable target: nothing is left behind.
    options.inputs = {dir.File("*.DT1")};
    options.lineSpacing = 0.25;
    options.output = dir.File("missing-folder/out.svy");
    testing::internal::CaptureStderr();
    EXPECT_EQ(svy_tool::RunCreate(options, out), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot write"), std::string::npos);

    // A radar file without its header is named and skipped; the rest is written.
    ASSERT_EQ(std::remove(dir.File("DEMOC2B2.HD").c_str()), 0);
    options.output = dir.File("out.svy");
    testing::internal::CaptureStderr();
    EXPECT_EQ(svy_tool::RunCreate(options, out), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("DEMOC2B2.DT1: its header"),
              std::string::npos);
    EXPECT_NE(out.str().find("2 lines, 3 data files from 4 selected files (1 without a readable "
                             "header)"),
              std::string::npos)
        << out.str();
}

}  // namespace
