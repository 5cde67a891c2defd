#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <boost/filesystem.hpp>
#include <nlohmann/json.hpp>

#include "support/test_support.h"
#include "tools/samples/sample_survey.h"
#include "tools/svy/check_command.h"
#include "tools/svy/create_command.h"
#include "tools/svy/exit_status.h"

namespace {

// A survey of two lines of two radar files and an odometer file in data/, and its project in
// project/ (so that the data files are found through the document's data folder only).
class SvyCheck : public testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        svy3_samples::RadarSurveyShape shape;
        shape.lines = 2;
        shape.filesPerLine = 2;
        shape.tracesPerFile = 10;
        ASSERT_EQ(svy3_samples::WriteRadarSurvey(m_dir.File("data"), shape, error).size(), 5u)
            << error;
        boost::filesystem::create_directory(m_dir.File("project"));
        svy_tool::CreateOptions options;
        options.inputs = {m_dir.File("data/*.DT1"), m_dir.File("data/*.sen")};
        options.output = m_project;
        options.lineSpacing = 0.75;
        options.quiet = true;
        std::ostringstream out;
        ASSERT_EQ(svy_tool::RunCreate(options, out), 0);
    }
    // Runs the check; returns its exit status, with the text report in `text` and the JSON one
    // in `json`.
    int Check(std::string& text, nlohmann::json& json) {
        std::ostringstream out, jsonOut, err;
        const int status = svy_tool::RunCheck(m_project, false, out, err);
        EXPECT_EQ(svy_tool::RunCheck(m_project, true, jsonOut, err), status);
        text = out.str();
        json = nlohmann::json::parse(jsonOut.str());
        return status;
    }

    svy3_test::TempDir m_dir;
    const std::string m_project = m_dir.File("project/survey.svy");
};

TEST_F(SvyCheck, EachDamageIsOneProblem) {
    std::string text;
    nlohmann::json json;
    ASSERT_EQ(Check(text, json), svy_tool::kExitOk) << text;
    EXPECT_NE(text.find("5 data files, all on disk"), std::string::npos) << text;
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
            svy3_test::WriteFile(m_dir.File("data/") + damage.file, damage.contents);
        else
            ASSERT_EQ(std::remove((m_dir.File("data/") + damage.file).c_str()), 0);
        expected += damage.problems.size();  // the damages add up
        EXPECT_EQ(Check(text, json), svy_tool::kExitDocument);
        for (const std::string& problem : damage.problems)
            EXPECT_NE(text.find(problem), std::string::npos) << text;
        EXPECT_EQ(json["problems"].size(), expected) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(expected));
    }
    std::ostringstream out, err;
    EXPECT_EQ(svy_tool::RunCheck(m_dir.File("project/none.svy"), false, out, err),
              svy_tool::kExitFileSystem);
}

// Splits CSV text into rows of fields (quoted fields with doubled quotes; rows end with CRLF).
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                rows.back().back() += text[++i];
            else if (c == '"')
                quoted = false;
            else
                rows.back().back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            rows.emplace_back(1);
        } else {
            rows.back().back() += c;
        }
    }
    rows.pop_back();  // after the last row's end
    return rows;
}

TEST_F(SvyCheck, LinesAsCsv) {
    std::ostringstream out, err;
    ASSERT_EQ(svy_tool::RunLines(m_project, true, out, err), svy_tool::kExitOk);
    const auto rows = ParseCsv(out.str());
    ASSERT_EQ(rows.size(), 3u) << out.str();
    EXPECT_EQ(rows[0][0], "line");
    EXPECT_EQ(rows[2][0], "Line2");
    EXPECT_EQ(std::stod(rows[2][7]), 0.75);  // the lateral offset reads back exactly
    EXPECT_EQ(rows[1][8], "3");              // two radar files and the odometer file

    // Names with the CSV's own characters, and a control character in the text table.
    const std::string odd =
        svy3_test::WriteFile(m_dir.File("odd.svy"),
                             "<ZAR_SVY version=\"1.1.0\"><Data version=\"1.1.0\">"
                             "<Line name=\"a,&quot;b&quot;&#10;c\"/><Line name=\"x&#27;\"/>"
                             "</Data></ZAR_SVY>");
    std::ostringstream csv, text;
    ASSERT_EQ(svy_tool::RunLines(odd, true, csv, err), svy_tool::kExitOk);
    const auto oddRows = ParseCsv(csv.str());
    ASSERT_EQ(oddRows.size(), 3u) << csv.str();
    EXPECT_EQ(oddRows[1].size(), oddRows[0].size());
    EXPECT_EQ(oddRows[1][0] + oddRows[2][0], "a,\"b\"\ncx\x1b");
    ASSERT_EQ(svy_tool::RunLines(odd, false, text, err), svy_tool::kExitOk);
    const std::string table = text.str();
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 2) << table;
}

}  // namespace
