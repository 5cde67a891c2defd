// The commands that report on a project and change nothing: svy info (text and JSON), svy map
// (the editor's line map), svy check (damaged data files) and svy lines (text and CSV); the file
// problems they tell apart, and names that are not plain text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <nlohmann/json.hpp>

#include "support/test_support.h"
#include "tests/tools/tool_support.h"
#include "tools/svy/check_command.h"
#include "tools/svy/exit_status.h"
#include "tools/svy/info_command.h"
#include "tools/svy/map_command.h"
#include "tools/svy/project_summary.h"
#include "tools/svy/summary_output.h"

namespace {

using svy3_test::Join;
using svy_tool_test::Captured;
using svy_tool_test::Invoke;
using svy_tool_test::Output;
using testing::HasSubstr;

const std::string kSample = std::string(SVY3_TEST_DATA_DIR) + "/sample.svy";

TEST(SvyInfo, SummarizesTheSampleProject) {
    svy3_test::MessageBoxCapture boxes;
    svy_tool::ProjectSummary s;
    std::string error;
    ASSERT_TRUE(svy_tool::SummarizeProject(kSample, s, error)) << error;
    ASSERT_EQ(Join(s.provenance.size(), s.lines.size(), s.settings.size()), "3 2 2 ");
    EXPECT_EQ(Join(s.version, s.dataDir, s.messages.empty(), s.jobDate, s.siteComments.size()),
              "1.1.0 C:\\surveys\\quarry\\ 1 2024-05-21 08:30:00 2 ");
    // Provenance: the site block's record, then the data block's with its modification.
    EXPECT_EQ(Join(s.provenance[2].kind, s.provenance[2].comment), "modified positions added ");
    // Line 1 runs along Y (type 3), X within the tolerance. Line 2 has its own settings, in
    // centimetres, and a .sen entry beside its radar file.
    const svy_tool::LineSummary &first = s.lines[0], &second = s.lines[1];
    ASSERT_EQ(Join(first.files.size(), second.files.size()), "2 2 ");
    EXPECT_EQ(Join(first.name, first.type, first.files[1].odoStart, first.files[0].positionCount),
              "Line1 3 10 3 ");
    EXPECT_EQ(Join(second.files[0].kind, second.files[1].kind, second.files[0].odoEnd),
              "HD+DT1 .SEN 10 ");
    const svy_tool::SettingsSummary& own = s.settings.at(second.files[0].settingsIndex);
    EXPECT_EQ(Join(own.sampleCount, own.stepSizeMetres,
                   s.settings.at(first.files[0].settingsIndex).antennaSeparationMetres),
              "500 0.025 0.38 ");

    std::ostringstream text;
    svy_tool::PrintSummary(s, text);
    EXPECT_THAT(text.str(), HasSubstr("QUARRYC2B1  HD+DT1"));
    EXPECT_THAT(text.str(), HasSubstr("\n  #2: 500 samples at 0.2000 ns"));  // numbered from 1
    const nlohmann::json json = svy_tool::SummaryToJson(s);
    EXPECT_EQ(json["lines"][1]["files"][1]["kind"], ".SEN");
    // Settings numbered from 1 as in the text, line types by name, messages as a list.
    EXPECT_EQ(json["lines"][1]["files"][0]["settings"], second.files[0].settingsIndex + 1);
    EXPECT_EQ(json["lines"][0]["type"], "along Y");
    EXPECT_TRUE(json["messages"].is_array());
    EXPECT_EQ(json["site"]["fields"]["Operator"], "A. Surveyor");

    // What the library reports on a document it refuses goes to standard error and the summary.
    svy3_test::TempDir dir;
    const std::string nodata =
        svy3_test::WriteFile(dir.File("nodata.svy"), "<ZAR_SVY version=\"1.1.0\"/>");
    const Output refused = Captured(
        [&](std::ostream&, std::ostream&) { return svy_tool::SummarizeProject(nodata, s, error); });
    EXPECT_FALSE(refused.status);
    EXPECT_THAT(refused.err, HasSubstr("Error: No Datablock found!"));
    EXPECT_THAT(s.messages, HasSubstr("No Datablock found!"));
}

// Every way a project path can fail, each told in its own words and with its exit status, by
// every command that reads a project (map tells a document it refuses in the editor's words).
TEST(SvyInfo, FileProblemsAreToldApart) {
    svy3_test::MessageBoxCapture boxes;
    svy3_test::TempDir dir;
    svy3_test::WriteFile(dir.File("text.svy"), "this is not XML <");
    svy3_test::WriteFile(dir.File("locked.svy"), "<ZAR_SVY/>");
    chmod(dir.File("locked.svy").c_str(), 0);
    const bool lockWorks = access(dir.File("locked.svy").c_str(), R_OK) != 0;  // not as root
    std::string longPath = dir.path() + "/";
    while (longPath.size() < 300)
        longPath += "deeper/";
    const struct {
        std::string path;
        int status;
        const char* message;
    } cases[] = {
        {dir.File("missing.svy"), svy_tool::kExitFileSystem, "no such file"},
        {dir.File("missing/a.svy"), svy_tool::kExitFileSystem, "no such file"},
        {dir.path(), svy_tool::kExitFileSystem, "is a folder"},
        {dir.File("locked.svy"), svy_tool::kExitFileSystem, "cannot be read"},
        {longPath + "a.svy", svy_tool::kExitFileSystem, "at most 255 bytes"},
        {dir.File("text.svy"), svy_tool::kExitDocument, "not an XML document"},
    };
    using namespace std::placeholders;  // the path, standard output and standard error
    using Command = std::function<int(const std::string&, std::ostream&, std::ostream&)>;
    const std::pair<const char*, Command> commands[] = {
        {"info", std::bind(svy_tool::RunInfo, _1, false, _2)},
        {"info --json", std::bind(svy_tool::RunInfo, _1, true, _2)},
        {"map", std::bind(svy_tool::RunMap, _1, false, _2, _3)},
        {"check", std::bind(svy_tool::RunCheck, _1, false, _2, _3)},
        {"lines", std::bind(svy_tool::RunLines, _1, false, _2, _3)},
    };
    for (const auto& [name, command] : commands) {
        for (const auto& c : cases) {
            if (c.path == dir.File("locked.svy") && !lockWorks)
                continue;
            SCOPED_TRACE(std::string(name) + " " + c.path);
            const Output run = Captured(
                [&](std::ostream& out, std::ostream& err) { return command(c.path, out, err); });
            EXPECT_EQ(run.status, c.status);
            if (name != std::string("map") || c.status != svy_tool::kExitDocument) {
                EXPECT_THAT(run.err, HasSubstr(c.message));
            }
            EXPECT_EQ(run.out, "");
        }
    }
}

TEST(SvyMap, PrintsTheSampleMapReadablyAndAsJson) {
    const Output text = Invoke(svy_tool::RunMap, kSample, false);
    EXPECT_EQ(text.status, 0);
    // The sample's second file of Line1 has sequence number 2: left out, and said so.
    EXPECT_THAT(text.err, HasSubstr("sequence number is not 1"));
    EXPECT_THAT(text.out, HasSubstr("Lines outside line sets\n  Line Line1\n"));
    EXPECT_THAT(text.out, HasSubstr("C:/surveys/quarry/QUARRYC1B1.HD: 3 positions, first (0, 0, "
                                    "nan) at 0, last (0.002, 10, nan) at 1\n"));
    EXPECT_THAT(text.out, testing::Not(HasSubstr("QUARRYC1B2")));

    const Output json = Invoke(svy_tool::RunMap, kSample, true);
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

    EXPECT_EQ(Invoke(svy_tool::RunLines, kSample, true).out,
              "line,set,start_x,start_y,end_x,end_y,direction,lateral_offset_m,files,positions\r\n"
              "Line1,,0,0,0.002,20,Y,0,2,5\r\nLine2,,0,0,0,0,N,0.5,2,0\r\n");
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
}

// Names that are not UTF-8, or that hold the CSV's own characters or control characters, reach
// neither the JSON nor the terminal as they are; the CSV quotes them.
TEST(SvyInfo, NamesThatAreNotPlainText) {
    svy3_test::MessageBoxCapture boxes;
    svy3_test::TempDir dir;
    const std::string project = svy3_test::WriteFile(
        dir.File("odd.svy"),
        "<ZAR_SVY version=\"1.1.0\"><Data version=\"1.1.0\"><DataDirPath>d&#27;\xfex</DataDirPath>"
        "<Line name=\"\xff\xfe\"/><Line name=\"a,&quot;b&quot;&#27;[2J&#10;c\"/></Data></ZAR_SVY>");
    const std::string replaced = "\xef\xbf\xbd\xef\xbf\xbd";
    std::ostringstream json, text;
    ASSERT_EQ(svy_tool::RunInfo(project, true, json), svy_tool::kExitOk);
    ASSERT_EQ(svy_tool::RunInfo(project, false, text), svy_tool::kExitOk);
    EXPECT_EQ(nlohmann::json::parse(json.str())["lines"][0]["name"], replaced);
    const std::string mapJson = Invoke(svy_tool::RunMap, project, true).out;
    EXPECT_THAT(nlohmann::json::parse(mapJson)["dataDir"].get<std::string>(),
                testing::EndsWith("/d\x1b\xef\xbf\xbdx"));
    EXPECT_THAT(text.str(), HasSubstr("a,\"b\"\\x1b[2J\\x0ac"));
    const std::string mapText = Invoke(svy_tool::RunMap, project, false).out;
    EXPECT_THAT(mapText, HasSubstr("d\\x1b\xfex"));  // the data folder
    for (const std::string& out : {text.str(), mapText})
        EXPECT_THAT(out, testing::Not(HasSubstr("\x1b")));
    EXPECT_EQ(Invoke(svy_tool::RunLines, project, true).out,
              "line,set,start_x,start_y,end_x,end_y,direction,lateral_offset_m,files,positions\r\n"
              "\xff\xfe,,0,0,0,0,N,0,0,0\r\n\"a,\"\"b\"\"\x1b[2J\nc\",,0,0,0,0,N,0,0,0\r\n");
    EXPECT_EQ(
        Invoke(svy_tool::RunLines, project, false).out,
        "\xff\xfe\t\t0\t0\t0\t0\tN\t0\t0\t0\na,\"b\"\\x1b[2J\\x0ac\t\t0\t0\t0\t0\tN\t0\t0\t0\n");
}

}  // namespace
