// svy create and svy demo: the selection, the report, and the outputs refused before anything is
// written; svy check on a created project whose files are then damaged.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "editor/editor_support.h"
#include "support/test_support.h"
#include "tests/tools/tool_support.h"
#include "tools/samples/sample_survey.h"
#include "tools/svy/check_command.h"
#include "tools/svy/create_command.h"
#include "tools/svy/demo_survey.h"
#include "tools/svy/exit_status.h"
#include "tools/svy/project_summary.h"

namespace {

using svy3_test::TreeSnapshot;
using svy_tool_test::Captured;
using svy_tool_test::Invoke;
using svy_tool_test::Output;
using testing::HasSubstr;

// A sample survey of `lines` lines of `filesPerLine` radar files and an odometer file.
class SvyCreate : public testing::Test {
  protected:
    void Survey(int lines, int filesPerLine, const std::string& folder = "") {
        svy3_samples::RadarSurveyShape shape;
        shape.lines = lines;
        shape.filesPerLine = filesPerLine;
        shape.tracesPerFile = 10;
        std::string error;
        ASSERT_EQ(svy3_samples::WriteRadarSurvey(m_dir.File(folder), shape, error).size(),
                  static_cast<size_t>(lines * filesPerLine + 1))
            << error;
    }
    Output Create() {
        return Captured(
            [&](std::ostream& out, std::ostream&) { return svy_tool::RunCreate(m_options, out); });
    }
    svy_tool::ProjectSummary Summary() {
        svy_tool::ProjectSummary summary;
        std::string error;
        EXPECT_TRUE(svy_tool::SummarizeProject(m_options.output, summary, error)) << error;
        return summary;
    }

    svy3_test::TempDir m_dir;
    svy_tool::CreateOptions m_options;
};

TEST_F(SvyCreate, DemoSurveyIsCreatedAndReadsBack) {
    const Output run = Captured(
        [&](std::ostream& out, std::ostream&) { return svy_tool::RunDemo(m_dir.path(), out); });
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("3 lines, 10 data files from 10 selected files"));
    // What the demo generates (files of 250 samples, 200 traces each, 10 m apart), selects and
    // passes on: the library's reading of a created document is tested with the library.
    m_options.output = m_dir.File("demo.svy");
    const svy_tool::ProjectSummary summary = Summary();
    ASSERT_EQ(summary.lines.size(), 3u);
    const svy_tool::FileSummary& third = summary.lines[1].files.at(2);
    EXPECT_EQ(svy3_test::Join(summary.lines[0].files.size(), summary.lines[2].lateralOffset,
                              summary.provenance.at(0).name, summary.settings.at(0).sampleCount,
                              third.dim2, third.odoStart),
              "4 1 svy demo 250 200 20 ");  // three radar files and the odometer file; 2 x 0.5 m
}

TEST_F(SvyCreate, SelectionsAndFailures) {
    Survey(2, 2);
    svy3_test::WriteFile(m_dir.File("notes.txt"), "not data");

    // Globs keep data files only; a name is taken as it is, a pattern that matches nothing is not.
    const Output expanded = Captured([&](std::ostream&, std::ostream&) {
        EXPECT_EQ(svy_tool::ExpandSelection({m_dir.File("*"), m_dir.File("missing.DT1")}).size(),
                  4u + 4u + 1u + 1u);  // .HD, .DT1, .sen and the named missing file
        EXPECT_TRUE(svy_tool::ExpandSelection({m_dir.File("*.none")}).empty());
        return 0;
    });
    EXPECT_THAT(expanded.err, HasSubstr("no file matches " + m_dir.File("*.none")));

    m_options.inputs = {m_dir.File("*.txt")};
    m_options.output = m_dir.File("none.svy");
    Output run = Create();
    EXPECT_EQ(run.status, svy_tool::kExitUsage);
    EXPECT_THAT(run.err, HasSubstr("no .DT1, .HD or .sen files"));

    m_options.inputs = {m_dir.File("*.DT1")};
    m_options.lineSpacing = 0.25;
    m_options.output = m_dir.File("missing-folder/out.svy");
    run = Create();
    EXPECT_EQ(run.status, svy_tool::kExitFileSystem);
    EXPECT_THAT(run.err, HasSubstr("cannot write"));

    // A radar file without its header is named and skipped; the rest is written.
    ASSERT_EQ(std::remove(m_dir.File("DEMOC2B2.HD").c_str()), 0);
    m_options.output = m_dir.File("out.svy");
    run = Create();
    EXPECT_EQ(run.status, 0);
    EXPECT_THAT(run.err, HasSubstr("DEMOC2B2.DT1: its header"));
    EXPECT_EQ(run.out, "Wrote " + m_options.output +
                           ": 2 lines, 3 data files from 4 selected files (1 without a readable "
                           "header), data folder " +
                           Summary().dataDir + "\n");

    // With no header left, and a named file missing, nothing is written.
    for (const char* header : {"DEMOC1B1.HD", "DEMOC1B2.HD", "DEMOC2B1.HD"})
        ASSERT_EQ(std::remove(m_dir.File(header).c_str()), 0);
    m_options.inputs = {m_dir.File("*.DT1"), m_dir.File("NAMED.DT1")};
    m_options.output = m_dir.File("new.svy");
    const auto before = TreeSnapshot(m_dir.path());
    run = Create();
    EXPECT_EQ(run.status, svy_tool::kExitDocument);
    EXPECT_THAT(run.err, HasSubstr("NAMED.DT1: No such file"));
    EXPECT_THAT(run.err, HasSubstr("no data file could be read; nothing written"));
    EXPECT_EQ(TreeSnapshot(m_dir.path()), before);
}

// Each refused output leaves the folder, and every file in it, as they were.
TEST_F(SvyCreate, OutputsThatWouldHarmAFileAreRefused) {
    Survey(2, 1);
    const std::string kept =
        svy3_test::WriteFile(m_dir.File("kept.svy"), "<ZAR_SVY>the user's own project</ZAR_SVY>");
    ASSERT_EQ(symlink(m_dir.File("DEMOC1B1.DT1").c_str(), m_dir.File("link.svy").c_str()), 0);
    boost::filesystem::create_directory(m_dir.File("folder.svy"));
    // Paths the library could not open the document by: 256 bytes, in a folder or not.
    const std::string name256 = m_dir.File(std::string(251 - m_dir.path().size(), 'n') + ".svy");
    ASSERT_EQ(name256.size(), 256u);
    const struct {
        std::string output;
        bool force;
        int status;
        const char* message;
    } cases[] = {
        // The same file under another name, even with --force.
        {m_dir.File("link.svy"), true, svy_tool::kExitUsage, "is one of the input files"},
        // Radar data, named in any case, existing or not.
        {m_dir.path() + "/./DEMOC1B1.sen", true, svy_tool::kExitUsage, "radar data file"},
        {m_dir.File("DEMOC2B1.HD"), false, svy_tool::kExitUsage, "radar data file"},
        {m_dir.File("DEMOC2B1.hd"), false, svy_tool::kExitUsage, "radar data file"},
        {m_dir.File("x.Dt1"), false, svy_tool::kExitUsage, "radar data file"},
        {m_dir.File("y.SEN"), false, svy_tool::kExitUsage, "radar data file"},
        {kept, false, svy_tool::kExitFileSystem, "use --force to replace it"},
        {name256, false, svy_tool::kExitFileSystem, "at most 255 bytes"},
        {m_dir.File(std::string(300, 'f') + "/a.svy"), false, svy_tool::kExitFileSystem,
         "at most 255 bytes"},
        {m_dir.File("folder.svy"), true, svy_tool::kExitFileSystem, "is a folder"},
    };
    m_options.inputs = {m_dir.File("*.DT1"), m_dir.File("*.sen")};
    m_options.lineSpacing = 0.5;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        const auto before = TreeSnapshot(m_dir.path());
        m_options.output = c.output;
        m_options.force = c.force;
        const Output run = Create();
        EXPECT_EQ(run.status, c.status);
        EXPECT_THAT(run.err, HasSubstr(c.message));
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(TreeSnapshot(m_dir.path()), before);
    }

    // With --force the document is replaced, keeping its permissions, and nothing else is left
    // in the folder; a new document gets the permissions of any new file.
    const mode_t mask = umask(0);
    umask(mask);
    const std::pair<const char*, mode_t> outputs[] = {{"kept.svy", 0640},
                                                      {"new.svy", 0666 & ~mask}};
    ASSERT_EQ(chmod(kept.c_str(), 0640), 0);
    m_options.force = true;
    for (const auto& [name, mode] : outputs) {
        SCOPED_TRACE(name);
        m_options.output = m_dir.File(name);
        std::map<std::string, std::string> expected = TreeSnapshot(m_dir.path());
        EXPECT_EQ(Create().status, svy_tool::kExitOk);
        std::map<std::string, std::string> tree = TreeSnapshot(m_dir.path());
        EXPECT_THAT(tree[name], HasSubstr("<Line name=\"Line2\""));
        expected[name] = tree[name];
        EXPECT_EQ(tree, expected);
        struct stat info {};
        ASSERT_EQ(stat(m_options.output.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
    }
}

TEST_F(SvyCreate, SpacingUsedWithoutATerminalIsTold) {
    if (isatty(STDIN_FILENO))
        GTEST_SKIP() << "standard input is a terminal: the spacing would be asked";
    Survey(2, 1);
    m_options.inputs = {m_dir.File("*.DT1")};
    m_options.output = m_dir.File("new.svy");
    const Output run = Create();
    ASSERT_EQ(run.status, svy_tool::kExitOk);
    const std::string intro = "no terminal and no --line-spacing: lines are ";
    const size_t at = run.err.find(intro);
    ASSERT_NE(at, std::string::npos) << run.err;
    const double told = std::strtod(run.err.c_str() + at + intro.size(), nullptr);
    EXPECT_GT(told, 0.0);
    EXPECT_DOUBLE_EQ(Summary().lines.at(1).lateralOffset, told);
}

// svy check on a survey of two lines of two radar files and an odometer file in data/, and its
// project in project/ (so that the data files are found through the document's data folder only).
TEST_F(SvyCreate, CheckTellsEachDamageOnce) {
    Survey(2, 2, "data");
    boost::filesystem::create_directory(m_dir.File("project"));
    m_options.inputs = {m_dir.File("data/*.DT1"), m_dir.File("data/*.sen")};
    m_options.output = m_dir.File("project/survey.svy");
    m_options.lineSpacing = 0.75;
    ASSERT_EQ(Create().status, 0);
    const auto check = [&](int status) {
        const Output text = Invoke(svy_tool::RunCheck, m_options.output, false);
        const Output json = Invoke(svy_tool::RunCheck, m_options.output, true);
        EXPECT_EQ(text.status, status);
        EXPECT_EQ(json.status, status);
        return std::make_pair(text.out, nlohmann::json::parse(json.out));
    };
    auto [text, json] = check(svy_tool::kExitOk);
    EXPECT_EQ(text, m_options.output + ": 5 data files, all on disk and readable\n");
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
        std::tie(text, json) = check(svy_tool::kExitDocument);
        for (const std::string& problem : damage.problems)
            EXPECT_THAT(text, HasSubstr(problem));
        EXPECT_EQ(json["problems"].size(), expected) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(expected));
    }
}

}  // namespace
