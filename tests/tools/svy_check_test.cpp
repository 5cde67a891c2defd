// svy check and svy lines: damages to a survey's files, each found once, in text and JSON; the
// lines table as text and CSV.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "support/test_support.h"
#include "tests/tools/tool_support.h"
#include "tools/samples/sample_survey.h"
#include "tools/svy/check_command.h"
#include "tools/svy/create_command.h"
#include "tools/svy/exit_status.h"

namespace {

using svy_tool_test::Invoke;
using svy_tool_test::Output;
using testing::HasSubstr;

// A survey of two lines of two radar files and an odometer file in data/, and its project in
// project/ (so that the data files are found through the document's data folder only).
TEST(SvyCheck, EachDamageIsOneProblem) {
    svy3_test::TempDir dir;
    svy3_samples::RadarSurveyShape shape;
    shape.lines = 2;
    shape.filesPerLine = 2;
    shape.tracesPerFile = 10;
    std::string error;
    ASSERT_EQ(svy3_samples::WriteRadarSurvey(dir.File("data"), shape, error).size(), 5u) << error;
    boost::filesystem::create_directory(dir.File("project"));
    svy_tool::CreateOptions create;
    create.inputs = {dir.File("data/*.DT1"), dir.File("data/*.sen")};
    create.output = dir.File("project/survey.svy");
    create.lineSpacing = 0.75;
    create.quiet = true;
    std::ostringstream created;
    ASSERT_EQ(svy_tool::RunCreate(create, created), 0);
    const auto check = [&](int status) {
        const Output text = Invoke(svy_tool::RunCheck, create.output, false);
        const Output json = Invoke(svy_tool::RunCheck, create.output, true);
        EXPECT_EQ(text.status, status);
        EXPECT_EQ(json.status, status);
        return std::make_pair(text.out, nlohmann::json::parse(json.out));
    };
    auto [text, json] = check(svy_tool::kExitOk);
    EXPECT_EQ(text, create.output + ": 5 data files, all on disk and readable\n");
    EXPECT_EQ(json["dataFiles"], 5);

    const struct {
        const char* file;      // in data/
        const char* contents;  // nullptr: removed
        std::vector<std::string> problems;
    } damages[] = {
        {"DEMOC1B2.DT1", nullptr, {"Line1: DEMOC1B2: missing .DT1 file"}},
        {"DEMOC1B1.sen", nullptr, {"Line1: DEMOC1B1: missing .sen file"}},
        {"DEMOC2B1.HD", "not a header", {"dimensions unknown", "DEMOC2B1.HD cannot be read"}},
        {"DEMOC2B2.HD", nullptr, {"Line2: DEMOC2B2: missing .HD", "dimensions unknown"}},
    };
    size_t expected = 0;
    for (const auto& damage : damages) {
        SCOPED_TRACE(damage.file);
        if (damage.contents)
            svy3_test::WriteFile(dir.File("data/") + damage.file, damage.contents);
        else
            ASSERT_EQ(std::remove((dir.File("data/") + damage.file).c_str()), 0);
        expected += damage.problems.size();  // the damages add up
        std::tie(text, json) = check(svy_tool::kExitDocument);
        for (const std::string& problem : damage.problems)
            EXPECT_THAT(text, HasSubstr(problem));
        EXPECT_EQ(json["problems"].size(), expected) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(expected));
    }
    EXPECT_EQ(Invoke(svy_tool::RunCheck, dir.File("project/none.svy"), false).status,
              svy_tool::kExitFileSystem);
}

TEST(SvyCheck, LinesAsTextAndCsv) {
    const std::string sample = std::string(SVY3_TEST_DATA_DIR) + "/sample.svy";
    EXPECT_EQ(Invoke(svy_tool::RunLines, sample, true).out,
              "line,set,start_x,start_y,end_x,end_y,direction,lateral_offset_m,files,positions\r\n"
              "Line1,,0,0,0.002,20,Y,0,2,5\r\nLine2,,0,0,0,0,N,0.5,2,0\r\n");

    // Names with the CSV's own characters, and a control character in the text table.
    svy3_test::TempDir dir;
    const std::string odd =
        svy3_test::WriteFile(dir.File("odd.svy"),
                             "<ZAR_SVY version=\"1.1.0\"><Data version=\"1.1.0\">"
                             "<Line name=\"a,&quot;b&quot;&#10;c\"/><Line name=\"x&#27;\"/>"
                             "</Data></ZAR_SVY>");
    const Output csv = Invoke(svy_tool::RunLines, odd, true);
    EXPECT_EQ(csv.status, svy_tool::kExitOk);
    EXPECT_THAT(csv.out, testing::EndsWith("\r\n\"a,\"\"b\"\"\nc\",,0,0,0,0,N,0,0,0\r\n"
                                           "x\x1b,,0,0,0,0,N,0,0,0\r\n"));
    EXPECT_EQ(Invoke(svy_tool::RunLines, odd, false).out,
              "a,\"b\"\\x0ac\t\t0\t0\t0\t0\tN\t0\t0\t0\nx\\x1b\t\t0\t0\t0\t0\tN\t0\t0\t0\n");
}

}  // namespace
