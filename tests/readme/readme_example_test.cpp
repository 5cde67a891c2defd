// The README's examples, in examples/: the text between each pair of markers must be the README's.
#include "examples/examples.h"

#include <gmock/gmock.h>

#include <string>

#include "support/test_support.h"

namespace {

using testing::HasSubstr;
const std::string kData = SVY3_TEST_DATA_DIR;

TEST(ReadmeExample, MatchesTheReadme) {
    const std::string readme = svy3_test::ReadFile(kData + "/../../README.md");
    const struct {
        const char *file, *marker;
    } examples[] = {{"readme_example.cpp", "EXAMPLE"},
                    {"readme_example.cpp", "EDITOR-EXAMPLE"},
                    {"api_example.cpp", "API-EXAMPLE"}};
    for (const auto& example : examples) {
        SCOPED_TRACE(example.marker);
        const std::string source = svy3_test::ReadFile(kData + "/../../examples/" + example.file);
        const std::string begin = std::string("// README-") + example.marker + "-BEGIN\n";
        const size_t from = source.find(begin);
        const size_t to = source.find(std::string("// README-") + example.marker + "-END\n");
        ASSERT_LT(from, to);
        EXPECT_THAT(readme,
                    HasSubstr("```cpp\n" +
                              source.substr(from + begin.size(), to - from - begin.size()) + "```"))
            << "the README's example differs from examples/" << example.file;
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
