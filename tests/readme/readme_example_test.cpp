#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "support/test_support.h"

// The README's examples, in readme_example.cpp.
int ListLines(const std::string& path);
int ShowPositions(const std::string& path, const std::string& copy);
int CreateProject(const std::string& path, const std::vector<std::string>& files);

namespace {

using testing::HasSubstr;
const std::string kData = SVY3_TEST_DATA_DIR;

TEST(ReadmeExample, MatchesTheReadme) {
    const std::string source = svy3_test::ReadFile(kData + "/../readme/readme_example.cpp");
    const std::string readme = svy3_test::ReadFile(kData + "/../../README.md");
    for (const std::string marker : {"EXAMPLE", "EDITOR-EXAMPLE"}) {
        SCOPED_TRACE(marker);
        const std::string begin = "// README-" + marker + "-BEGIN\n";
        const size_t from = source.find(begin), to = source.find("// README-" + marker + "-END\n");
        ASSERT_LT(from, to);
        const std::string example = source.substr(from + begin.size(), to - from - begin.size());
        EXPECT_THAT(readme, HasSubstr("```cpp\n" + example + "```"))
            << "the README's example differs from tests/readme/readme_example.cpp";
    }
}

TEST(ReadmeExample, Runs) {
    svy3_test::MessageBoxCapture boxes;
    svy3_test::TempDir dir;
    svy3_test::WriteFile(dir.File("A.HD"), "NUMBER OF TRACES = 10\r\nNUMBER OF PTS/TRC = 100\r\n");
    svy3_test::WriteFile(dir.File("A.DT1"), "");
    testing::internal::CaptureStdout();
    EXPECT_EQ(ListLines(kData + "/sample.svy"), 0);
    EXPECT_EQ(CreateProject(dir.File("p.svy"), {dir.File("A.DT1")}), 0);
    EXPECT_EQ(ListLines(dir.File("p.svy")), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Line1: 2 file slots\nLine2: 2 file slots\n12.5 m is odometer 12.500 m\n"
              "Line1: 1 file slots\n12.5 m is odometer 12.500 m\n");
    EXPECT_TRUE(boxes.messages().empty());
}

TEST(ReadmeExample, EditorExampleRuns) {
    svy3_test::TempDir dir;
    testing::internal::CaptureStdout();
    EXPECT_EQ(ShowPositions(kData + "/sample.svy", dir.File("c.svy")), 0);
    EXPECT_EQ(ShowPositions(dir.File("missing.svy"), dir.File("d.svy")), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "some data files are not in the map\n"
              "Line1 QUARRYC1B1.HD: (0, 0) to (0.002, 10)\n"
              "error -3: " +
                  dir.File("missing.svy") + "SVY file problem: File not found.\n");
    EXPECT_THAT(svy3_test::ReadFile(dir.File("c.svy")), HasSubstr("QUARRYC1B1"));
}

}  // namespace
