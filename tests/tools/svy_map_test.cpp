// svy map: the editor's line map of a project, readable and as JSON, and the documents it refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/test_support.h"
#include "tests/tools/tool_support.h"
#include "tools/svy/map_command.h"

namespace {

using svy_tool_test::Invoke;
using svy_tool_test::Output;
using testing::HasSubstr;

TEST(SvyMap, PrintsTheSampleMapReadablyAndAsJson) {
    const std::string sample = std::string(SVY3_TEST_DATA_DIR) + "/sample.svy";
    const Output text = Invoke(svy_tool::RunMap, sample, false);
    EXPECT_EQ(text.status, 0);
    // The sample's second file of Line1 has sequence number 2: left out, and said so.
    EXPECT_THAT(text.err, HasSubstr("sequence number is not 1"));
    EXPECT_THAT(text.out, HasSubstr("Lines outside line sets\n  Line Line1\n"));
    EXPECT_THAT(text.out, HasSubstr("C:/surveys/quarry/QUARRYC1B1.HD: 3 positions, first (0, 0, "
                                    "nan) at 0, last (0.002, 10, nan) at 1\n"));
    EXPECT_THAT(text.out, testing::Not(HasSubstr("QUARRYC1B2")));

    const Output json = Invoke(svy_tool::RunMap, sample, true);
    ASSERT_EQ(json.status, 0);
    const auto map = nlohmann::json::parse(json.out);
    EXPECT_EQ(map["unit"], "m");
    EXPECT_EQ(map["complete"], false);
    const auto& lines = map["lineSets"][0]["lines"];
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1]["name"], "Line2");
    const auto& hd = lines[0]["files"][1];
    EXPECT_EQ(hd["positions"], 3);
    EXPECT_TRUE(hd["first"]["z"].is_null());
    EXPECT_EQ(hd["last"]["y"], 10.0);
    EXPECT_EQ(lines[0]["files"][0].count("first"), 0u);  // the .DT1 entry has no positions
}

TEST(SvyMap, RefusedDocumentsGiveTheEditorsCodeAndMessage) {
    svy3_test::TempDir dir;
    const Output run =
        Invoke(svy_tool::RunMap,
               svy3_test::WriteFile(dir.File("bad.svy"), "<ZAR_SVY><Data/></ZAR_SVY>"), false);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "svy map: error -7: Malformed SVY file: <ZAR_SVY><Data><DataDirPath> not found.\n");
    // Names that are not UTF-8 still give valid JSON.
    const std::string latin1 = svy3_test::WriteFile(
        dir.File("latin1.svy"),
        "<ZAR_SVY><Data><DataDirPath>/d</DataDirPath><Line name=\"L\xe9\"><DataFile name=\"A\" "
        "ext=\"HD\" seq=\"1\"/></Line></Data></ZAR_SVY>");
    const Output json = Invoke(svy_tool::RunMap, latin1, true);
    ASSERT_EQ(json.status, 0);
    EXPECT_EQ(nlohmann::json::parse(json.out)["lineSets"][0]["lines"][0]["name"], "L\xef\xbf\xbd");
}

}  // namespace
