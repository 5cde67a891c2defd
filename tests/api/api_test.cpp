// The svy3 interface where the tools' tests do not reach it: values of the sample no tool shows,
// creation's own refusals, edits that wait for save and what blocks saving, and the README's
// example. The tools' tests (svy info, check, create, edit, relation, plot) cover opening and its
// errors, the values they print, organising and the GPS-to-data relationship; the Python module's
// tests go through this interface too.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <boost/filesystem.hpp>
#include <functional>

#include "examples/examples.h"
#include "support/test_support.h"
#include "svy3/api.h"
#include "svy3/svy3.h"
#include "tools/samples/sample_survey.h"

namespace {
namespace fs = boost::filesystem;
using svy3::Error;
using svy3_test::Join;
using testing::HasSubstr;
using Kind = svy3::Error::Kind;

const std::string kSample = std::string(SVY3_TEST_DATA_DIR) + "/sample.svy";

// The kind of error `call` throws; fails the test when it throws none.
template <class Call>
Kind KindOf(Call call) {
    try {
        call();
    } catch (const Error& error) {
        return error.kind();
    }
    ADD_FAILURE() << "no svy3::Error";
    return Kind::interrupted;
}

// A modification's time, the settings' time zero and processing steps, the file slots of each
// line and the order of the sample counts.
TEST(ApiProject, SampleValuesNoToolShows) {
    const svy3::Project project = svy3::open(kSample);
    const svy3::Settings& settings = project.settings().front();
    EXPECT_EQ(Join(project.provenance().back().time, settings.time_zero, settings.processing.size(),
                   project.lines()[0].file_slots(), project.lines()[1].file_slots()),
              "10:00:00 25 1 2 2 ");
    EXPECT_THAT(project.lines()[0].files()[0].dimensions(), testing::ElementsAre(2, 250, 201));
}

// A sample survey of two lines of two radar files each, written into a fresh folder.
class ApiSurvey : public testing::Test {
  protected:
    void SetUp() override {
        svy3_samples::RadarSurveyShape shape;
        shape.lines = 2;
        shape.filesPerLine = 2;
        shape.tracesPerFile = 20;
        shape.samplesPerTrace = 50;
        shape.traces = false;
        shape.odometerFile = false;
        std::string error;
        m_files = svy3_samples::WriteRadarSurvey(m_dir.File("data"), shape, error);
        ASSERT_FALSE(m_files.empty()) << error;
        m_project = m_dir.File("survey.svy");
    }

    svy3::Project Create(svy3::CreateOptions options = {}) {
        options.line_spacing = 0.5;
        return svy3::create(m_project, m_files, options);
    }

    // Puts every line of the document into one line set named "Grid A" (creation makes none).
    void GroupLines() {
        std::string text = svy3_test::ReadFile(m_project);
        text.insert(text.rfind("</Line>") + 7, "</LineSet>");
        text.insert(text.find("<Line "), "<LineSet name=\"Grid A\">");
        svy3_test::WriteFile(m_project, text);
    }

    svy3_test::TempDir m_dir;
    std::vector<std::string> m_files;
    std::string m_project;
};

TEST_F(ApiSurvey, CreateRefusesWhatWouldHarmItsInputsAndLeavesNothingElse) {
    fs::create_hard_link(m_files.back(), m_dir.File("data/link.svy"));
    svy3_test::WriteFile(m_dir.File("data/kept.svy"), "");
    const struct {
        std::string path;
        std::vector<std::string> files;
        bool overwrite;
    } cases[] = {
        {m_dir.File("out.hd"), m_files, true},
        {m_dir.File("data/link.svy"), m_files, true},  // one of the inputs under another name
        {m_project, {}, true},
        {m_dir.File("data/kept.svy"), m_files, false},  // exists, and is not to be replaced
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        svy3::CreateOptions options;
        options.overwrite = c.overwrite;
        EXPECT_EQ(KindOf([&] { svy3::create(c.path, c.files, options); }), Kind::refused);
    }
    fs::remove(m_dir.File("data/link.svy"));

    // Nothing but the document is left beside it.
    EXPECT_EQ(Create().lines().size(), 2u);
    for (const auto& entry : fs::directory_iterator(m_dir.path()))
        EXPECT_THAT(entry.path().filename().string(), testing::AnyOf("survey.svy", "data"));
}

// Every edit waits for save (organising refuses until then), and a journal left by a cut-off
// batch of moves blocks saving until it is recovered.
TEST_F(ApiSurvey, EveryEditWaitsForSaveWhichAJournalBlocks) {
    Create();
    GroupLines();
    const svy3::Project grouped = svy3::open(m_project);
    const svy3::LineAddress line{grouped.lines()[0].set(), grouped.lines()[0].name()};
    const std::string before = svy3_test::ReadFile(m_project);
    const std::string journal = ZAR::RenameJournal::JournalPath(m_project).string();
    const std::pair<const char*, std::function<void(svy3::Editor&)>> edits[] = {
        {"rename", [&](svy3::Editor& e) { e.rename_line_set(line.set, "North field"); }},
        {"single set", [&](svy3::Editor& e) { e.make_single_line_set(line.set); }},
        {"positions",
         [&](svy3::Editor& e) {
             e.set_positions(line, {{0, 0}, {1, 0, 0, 1}});
         }},
        {"fiducials",
         [&](svy3::Editor& e) {
             e.set_fiducials(line, {{0, 0.5, "x"}});
         }},
        {"relationship", [&](svy3::Editor& e) { e.set_relationship({}); }},
    };
    for (const auto& [what, edit] : edits) {
        SCOPED_TRACE(what);
        svy3::Editor editor(m_project);
        EXPECT_FALSE(editor.modified());
        edit(editor);
        EXPECT_TRUE(editor.modified());
        EXPECT_EQ(KindOf([&] { editor.organise({}); }), Kind::refused);
        svy3_test::WriteFile(journal, "");
        EXPECT_EQ(KindOf([&] { editor.save(); }), Kind::interrupted);
        EXPECT_EQ(KindOf([&] { editor.save_as(m_dir.File("copy.svy")); }), Kind::interrupted);
        fs::remove(journal);
        EXPECT_EQ(svy3_test::ReadFile(m_project), before);
        editor.save();
        EXPECT_FALSE(editor.modified());
        svy3_test::WriteFile(m_project, before);
    }
}

TEST_F(ApiSurvey, ReadmeExampleRuns) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(CreateSurvey(m_project, m_files), 0);
    GroupLines();
    EXPECT_EQ(PrintSurvey(m_project), 0);
    EXPECT_EQ(RenameAndMove(m_project), 0);
    EXPECT_EQ(PrintSurvey(kSample), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(PrintSurvey(m_dir.File("missing.svy")), 1);
    EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr("no such file"));
    EXPECT_THAT(testing::internal::GetCapturedStdout(),
                testing::AllOf(HasSubstr("created 2 lines\n"),
                               HasSubstr("12.5 m is odometer 12.5 m\n"), HasSubstr("10 moves\n")));
    EXPECT_EQ(svy3::open(m_project).line_sets().front().name(), "North field");
}

}  // namespace
