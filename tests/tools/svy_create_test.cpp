#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <boost/filesystem.hpp>

#include "support/test_support.h"
#include "tools/samples/sample_survey.h"
#include "tools/svy/create_command.h"
#include "tools/svy/demo_survey.h"
#include "tools/svy/exit_status.h"
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
    EXPECT_EQ(svy_tool::RunCreate(options, out), svy_tool::kExitUsage);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no .DT1, .HD or .sen files"),
              std::string::npos);

    // An unwritable target: nothing is left behind.
    options.inputs = {dir.File("*.DT1")};
    options.lineSpacing = 0.25;
    options.output = dir.File("missing-folder/out.svy");
    testing::internal::CaptureStderr();
    EXPECT_EQ(svy_tool::RunCreate(options, out), svy_tool::kExitFileSystem);
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

// The names in the survey's folder, which a failed run must leave as they were.
std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : boost::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SvyCreateRefusal : public testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        svy3_samples::RadarSurveyShape shape;
        shape.lines = 2;
        shape.filesPerLine = 1;
        shape.tracesPerFile = 10;
        ASSERT_EQ(svy3_samples::WriteRadarSurvey(m_dir.path(), shape, error).size(), 3u) << error;
        svy3_test::WriteFile(m_dir.File("kept.svy"), "<ZAR_SVY>the user's own project</ZAR_SVY>");
        m_options.inputs = {m_dir.File("*.DT1"), m_dir.File("*.sen")};
        m_options.lineSpacing = 0.5;
    }
    // Runs the command; the file at `guarded` and the folder's listing must stay as they were.
    void ExpectRefused(const std::string& guarded, int status, const std::string& message) {
        const std::string before = svy3_test::ReadFile(guarded);
        const std::vector<std::string> listing = Listing(m_dir.path());
        std::ostringstream out;
        testing::internal::CaptureStderr();
        EXPECT_EQ(svy_tool::RunCreate(m_options, out), status);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(message), std::string::npos) << err;
        EXPECT_EQ(svy3_test::ReadFile(guarded), before);
        EXPECT_FALSE(before.empty());
        EXPECT_EQ(Listing(m_dir.path()), listing);
        EXPECT_EQ(out.str(), "");
    }

    svy3_test::TempDir m_dir;
    svy_tool::CreateOptions m_options;
};

TEST_F(SvyCreateRefusal, OutputThatIsAnInputOrRadarData) {
    // The same file under another name, with --force: still refused.
    ASSERT_EQ(symlink(m_dir.File("DEMOC1B1.DT1").c_str(), m_dir.File("link.svy").c_str()), 0);
    m_options.output = m_dir.File("link.svy");
    m_options.force = true;
    ExpectRefused(m_dir.File("DEMOC1B1.DT1"), svy_tool::kExitUsage, "is one of the input files");
    // Radar data, named in any case, existing or not.
    m_options.output = m_dir.path() + "/./DEMOC1B1.sen";
    ExpectRefused(m_dir.File("DEMOC1B1.sen"), svy_tool::kExitUsage, "radar data file");
    for (const char* name : {"DEMOC2B1.HD", "DEMOC2B1.hd", "x.Dt1", "y.SEN"}) {
        SCOPED_TRACE(name);
        m_options.output = m_dir.File(name);
        ExpectRefused(m_dir.File("DEMOC2B1.HD"), svy_tool::kExitUsage, "radar data file");
    }
}

TEST_F(SvyCreateRefusal, ExistingOutputNeedsForce) {
    m_options.output = m_dir.File("kept.svy");
    ExpectRefused(m_options.output, svy_tool::kExitFileSystem, "use --force to replace it");
    // Paths the library could not open the document by: 256 bytes, in a folder or not.
    const std::string name256 = m_dir.File(std::string(251 - m_dir.path().size(), 'n') + ".svy");
    ASSERT_EQ(name256.size(), 256u);
    for (const std::string& output : {name256, m_dir.File(std::string(300, 'f') + "/a.svy")}) {
        m_options.output = output;
        ExpectRefused(m_dir.File("kept.svy"), svy_tool::kExitFileSystem, "at most 255 bytes");
    }
    boost::filesystem::create_directory(m_dir.File("folder.svy"));
    m_options.output = m_dir.File("folder.svy");
    m_options.force = true;
    ExpectRefused(m_dir.File("kept.svy"), svy_tool::kExitFileSystem, "is a folder");

    // With --force the document is replaced, keeping its permissions, and nothing else is left
    // in the folder; a new document gets the permissions of any new file.
    const mode_t mask = umask(0);
    umask(mask);
    const std::pair<const char*, mode_t> outputs[] = {{"kept.svy", 0640},
                                                      {"new.svy", 0666 & ~mask}};
    ASSERT_EQ(chmod(m_dir.File("kept.svy").c_str(), 0640), 0);
    for (const auto& output : outputs) {
        SCOPED_TRACE(output.first);
        m_options.output = m_dir.File(output.first);
        std::vector<std::string> listing = Listing(m_dir.path());
        listing.push_back(output.first);
        std::sort(listing.begin(), listing.end());
        listing.erase(std::unique(listing.begin(), listing.end()), listing.end());
        std::ostringstream out;
        EXPECT_EQ(svy_tool::RunCreate(m_options, out), svy_tool::kExitOk);
        EXPECT_NE(svy3_test::ReadFile(m_options.output).find("<Line name=\"Line2\""),
                  std::string::npos);
        EXPECT_EQ(Listing(m_dir.path()), listing);
        struct stat info {};
        ASSERT_EQ(stat(m_options.output.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, output.second);
    }
}

TEST_F(SvyCreateRefusal, NoReadableDataFileWritesNothing) {
    for (const char* header : {"DEMOC1B1.HD", "DEMOC2B1.HD"})
        ASSERT_EQ(std::remove(m_dir.File(header).c_str()), 0);
    m_options.inputs = {m_dir.File("*.DT1"), m_dir.File("NAMED.DT1")};
    m_options.output = m_dir.File("kept.svy");
    m_options.force = true;
    ExpectRefused(m_options.output, svy_tool::kExitDocument, "no data file could be read");
    m_options.output = m_dir.File("new.svy");
    ExpectRefused(m_dir.File("kept.svy"), svy_tool::kExitDocument, "NAMED.DT1: No such file");
}

TEST_F(SvyCreateRefusal, SpacingUsedWithoutATerminalIsTold) {
    if (isatty(STDIN_FILENO))
        GTEST_SKIP() << "standard input is a terminal: the spacing would be asked";
    m_options.lineSpacing = -1.0;
    m_options.output = m_dir.File("new.svy");
    std::ostringstream out;
    testing::internal::CaptureStderr();
    ASSERT_EQ(svy_tool::RunCreate(m_options, out), svy_tool::kExitOk);
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string intro = "no terminal and no --line-spacing: lines are ";
    const size_t at = err.find(intro);
    ASSERT_NE(at, std::string::npos) << err;
    const double told = std::strtod(err.c_str() + at + intro.size(), nullptr);

    svy_tool::ProjectSummary summary;
    std::string error;
    ASSERT_TRUE(svy_tool::SummarizeProject(m_options.output, summary, error)) << error;
    ASSERT_EQ(summary.lines.size(), 2u);
    EXPECT_GT(told, 0.0);
    EXPECT_DOUBLE_EQ(summary.lines[1].lateralOffset, told);
}

}  // namespace
