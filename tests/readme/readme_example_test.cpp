#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/test_support.h"
#include "svy3/svy3.h"
#include "tests/readme/readme_example.h"

namespace {

std::string Between(const std::string& text, const std::string& begin, const std::string& end) {
    const size_t from = text.find(begin);
    const size_t to = text.find(end, from == std::string::npos ? 0 : from);
    if (from == std::string::npos || to == std::string::npos)
        return "";
    return text.substr(from + begin.size(), to - from - begin.size());
}

TEST(ReadmeExample, MatchesTheReadme) {
    const std::string source =
        svy3_test::ReadFile(std::string(SVY3_TEST_DATA_DIR) + "/../readme/readme_example.cpp");
    const std::string readme =
        svy3_test::ReadFile(std::string(SVY3_TEST_DATA_DIR) + "/../../README.md");
    for (const char* marker : {"EXAMPLE", "EDITOR-EXAMPLE"}) {
        SCOPED_TRACE(marker);
        const std::string example = Between(source, "// README-" + std::string(marker) + "-BEGIN\n",
                                            "// README-" + std::string(marker) + "-END\n");
        ASSERT_FALSE(example.empty());
        EXPECT_NE(readme.find("```cpp\n" + example + "```"), std::string::npos)
            << "the README's example differs from tests/readme/readme_example.cpp";
    }
}

TEST(ReadmeExample, Runs) {
    svy3_test::MessageBoxCapture boxes;
    testing::internal::CaptureStdout();
    EXPECT_EQ(ListLines(std::string(SVY3_TEST_DATA_DIR) + "/sample.svy"), 0);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("Line1: 2 file slots"), std::string::npos) << printed;
    EXPECT_NE(printed.find("12.5 m is odometer 12.500 m"), std::string::npos) << printed;

    svy3_test::TempDir dir;
    svy3_test::WriteFile(dir.File("A.HD"), "NUMBER OF TRACES = 10\r\nNUMBER OF PTS/TRC = 100\r\n");
    svy3_test::WriteFile(dir.File("A.DT1"), "");
    EXPECT_EQ(CreateProject(dir.File("p.svy"), {dir.File("A.DT1")}), 0);
    EXPECT_EQ(ListLines(dir.File("p.svy")), 0);
    EXPECT_TRUE(boxes.messages().empty());
}

TEST(ReadmeExample, EditorExampleRuns) {
    svy3_test::TempDir dir;
    testing::internal::CaptureStdout();
    EXPECT_EQ(ShowPositions(std::string(SVY3_TEST_DATA_DIR) + "/sample.svy", dir.File("c.svy")), 0);
    EXPECT_EQ(ShowPositions(dir.File("missing.svy"), dir.File("d.svy")), 1);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed,
              "some data files are not in the map\n"
              "Line1 QUARRYC1B1.HD: (0, 0) to (0.002, 10)\n"
              "error -3: " +
                  dir.File("missing.svy") + "SVY file problem: File not found.\n");
    EXPECT_NE(svy3_test::ReadFile(dir.File("c.svy")).find("QUARRYC1B1"), std::string::npos);
}

}  // namespace
