#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/test_support.h"
#include "tools/svy/exit_status.h"
#include "tools/svy/info_command.h"
#include "tools/svy/map_command.h"
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
    // Settings numbered from 1 as in the text, line types by name, messages as a list.
    EXPECT_EQ(json["lines"][1]["files"][0]["settings"],
              summary.lines[1].files[0].settingsIndex + 1);
    EXPECT_EQ(json["lines"][0]["type"], "along Y");
    EXPECT_TRUE(json["messages"].is_array());
    EXPECT_EQ(json["site"]["fields"]["Operator"], "A. Surveyor");
}

TEST(SvyInfo, ReportsDocumentsThatDoNotOpen) {
    svy3_test::MessageBoxCapture boxes;
    svy3_test::TempDir dir;
    svy_tool::ProjectSummary summary;
    std::string error;
    EXPECT_FALSE(svy_tool::SummarizeProject(dir.File("missing.svy"), summary, error));
    EXPECT_NE(error.find("no such file"), std::string::npos);

    svy3_test::WriteFile(dir.File("nodata.svy"), "<ZAR_SVY version=\"1.1.0\"/>");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(svy_tool::SummarizeProject(dir.File("nodata.svy"), summary, error));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Error: No Datablock found!"),
              std::string::npos);
    EXPECT_NE(summary.messages.find("No Datablock found!"), std::string::npos);
}

// Every way a project path can fail, each told in its own words and with its exit status, by
// every command that reads a project.
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
    longPath += "a.svy";

    const struct {
        std::string path;
        int status;
        const char* message;
    } cases[] = {
        {dir.File("missing.svy"), svy_tool::kExitFileSystem, "no such file"},
        {dir.File("missing/a.svy"), svy_tool::kExitFileSystem, "no such file"},
        {dir.path(), svy_tool::kExitFileSystem, "is a folder"},
        {dir.File("locked.svy"), svy_tool::kExitFileSystem, "cannot be read"},
        {longPath, svy_tool::kExitFileSystem, "at most 255 bytes"},
        {dir.File("text.svy"), svy_tool::kExitDocument, "not an XML document"},
    };
    using Command = std::function<int(const std::string&, std::ostream&)>;
    const std::pair<const char*, Command> commands[] = {
        {"info",
         [](const std::string& p, std::ostream& o) { return svy_tool::RunInfo(p, false, o); }},
        {"info --json",
         [](const std::string& p, std::ostream& o) { return svy_tool::RunInfo(p, true, o); }},
        {"map", [](const std::string& p,
                   std::ostream& o) { return svy_tool::RunMap(p, false, o, std::cerr); }},
    };
    for (const auto& command : commands) {
        for (const auto& c : cases) {
            if (c.path == dir.File("locked.svy") && !lockWorks)
                continue;
            if (command.first == std::string("map") && c.status == svy_tool::kExitDocument)
                continue;  // the editor's own error, below
            SCOPED_TRACE(std::string(command.first) + " " + c.path);
            std::ostringstream out;
            testing::internal::CaptureStderr();
            EXPECT_EQ(command.second(c.path, out), c.status);
            const std::string err = testing::internal::GetCapturedStderr();
            EXPECT_NE(err.find(c.message), std::string::npos) << err;
            EXPECT_EQ(out.str(), "");
        }
    }
    std::ostringstream out;
    testing::internal::CaptureStderr();
    EXPECT_EQ(svy_tool::RunMap(dir.File("text.svy"), false, out, std::cerr),
              svy_tool::kExitDocument);
    testing::internal::GetCapturedStderr();
}

// Names that are not UTF-8 or that hold control characters reach neither the JSON nor the
// terminal as they are.
TEST(SvyInfo, NamesThatAreNotPlainText) {
    svy3_test::MessageBoxCapture boxes;
    svy3_test::TempDir dir;
    const std::string project = svy3_test::WriteFile(
        dir.File("odd.svy"),
        "<ZAR_SVY version=\"1.1.0\"><Data version=\"1.1.0\"><DataDirPath>d&#27;x</DataDirPath>"
        "<Line name=\"\xff\xfe\"/><Line name=\"clear&#27;[2J&#10;next\"/></Data></ZAR_SVY>");
    std::ostringstream json;
    ASSERT_EQ(svy_tool::RunInfo(project, true, json), svy_tool::kExitOk);
    const nlohmann::json parsed = nlohmann::json::parse(json.str());
    std::vector<std::string> names;
    for (const auto& line : parsed["lines"])
        names.push_back(line["name"]);
    EXPECT_NE(std::find(names.begin(), names.end(), "\xef\xbf\xbd\xef\xbf\xbd"), names.end())
        << json.str();

    std::ostringstream text;
    ASSERT_EQ(svy_tool::RunInfo(project, false, text), svy_tool::kExitOk);
    EXPECT_NE(text.str().find("clear\\x1b[2J\\x0anext"), std::string::npos) << text.str();
    EXPECT_EQ(text.str().find('\x1b'), std::string::npos);

    std::ostringstream map;
    ASSERT_EQ(svy_tool::RunMap(project, false, map, std::cerr), svy_tool::kExitOk);
    EXPECT_NE(map.str().find("d\\x1bx"), std::string::npos) << map.str();  // the data folder
    EXPECT_EQ(map.str().find('\x1b'), std::string::npos);
}

}  // namespace
