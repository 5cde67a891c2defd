// The svy3 interface against the classes below it: the same lines, files and values through both,
// its errors, creation, and editing round trips on disk. The Python module's tests check the
// values of the sample and the editor's round trips through this interface too.
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

TEST(ApiProject, SampleReadsAsTheNumberedLookupsGiveIt) {
    const svy3::Project project = svy3::open(kSample);
    svy3_test::MessageBoxCapture boxes;
    ZAR::CSVYXmlFile file;
    ASSERT_TRUE(file.Initialize(kSample));
    std::string messages;
    auto data = ZAR::CSvyDataBlockInterface::CreateAndInit(&file, 0, &messages);
    ASSERT_TRUE(data);

    EXPECT_EQ(project.data_dir(), data->GetDataDir());
    ASSERT_EQ(project.line_sets().size(), static_cast<size_t>(data->GetSetCount()));
    const int32_t lineCount = data->GetNumLines(-1, ZAR::eLineAny);
    ASSERT_EQ(project.lines().size(), static_cast<size_t>(lineCount));
    for (int32_t n = 0; n < lineCount; ++n) {
        const svy3::Line& line = project.lines()[static_cast<size_t>(n)];
        ZAR::SLineInfo info;
        ASSERT_EQ(data->GetLine(info, n, -1, ZAR::eLineAny, 1), 1);
        const svy3::Extent e = line.extent();
        EXPECT_EQ(
            Join(line.name(), static_cast<int>(line.type()), e.start_x, e.end_x, e.start_y, e.end_y,
                 e.position_count, "NYR"[static_cast<int>(line.direction())], line.file_slots()),
            Join(info.name, info.type, info.startX, info.endX, info.startY, info.endY,
                 info.positionCount, info.direction, data->GetFileCount(n, -1, ZAR::eLineAny, 2)));
    }

    // What the Python module's tests, which check every file's values against the document, leave
    // out: the rest of a modification's record, the settings' derived values, that files share
    // their settings block, and the order of the sample counts.
    const svy3::Provenance& modified = project.provenance().back();
    EXPECT_EQ(Join(modified.time, modified.comment), "10:00:00 positions added ");
    const svy3::Settings& settings = project.settings().front();
    EXPECT_EQ(Join(settings.time_zero, settings.antenna_separation, settings.processing.size()),
              "25 0.38 1 ");
    const svy3::DataFile& first = project.lines().front().files().front();
    EXPECT_EQ(first.settings(), &settings);
    EXPECT_THAT(first.dimensions(), testing::ElementsAre(2, 250, 201));
}

TEST(ApiProject, OpenErrorsSayWhatKindOfProblem) {
    svy3_test::TempDir dir;
    svy3_test::WriteFile(dir.File("text.svy"), "not a document");
    svy3_test::WriteFile(dir.File("nodata.svy"),
                         "<ZAR_SVY version=\"1.1.0\"><SiteDefinition/></ZAR_SVY>");
    const struct {
        std::string path;
        Kind kind;
    } cases[] = {
        {dir.File("missing.svy"), Kind::file_system},
        {dir.path(), Kind::file_system},
        {std::string(300, 'a') + ".svy", Kind::file_system},
        {dir.File("text.svy"), Kind::document},
        {dir.File("nodata.svy"), Kind::document},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(KindOf([&] { svy3::open(c.path); }), c.kind);
    }
    // What the library reported before failing travels with the error, never as a box.
    svy3_test::MessageBoxCapture boxes;
    try {
        svy3::open(dir.File("nodata.svy"));
    } catch (const Error& error) {
        EXPECT_FALSE(error.messages().empty());
    }
    EXPECT_TRUE(boxes.messages().empty());
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

    // Creates the project, groups its lines and returns the address of the first.
    svy3::LineAddress CreateGrouped() {
        Create();
        GroupLines();
        const svy3::Project project = svy3::open(m_project);
        return {project.lines().front().set(), project.lines().front().name()};
    }

    svy3_test::TempDir m_dir;
    std::vector<std::string> m_files;
    std::string m_project;
};

TEST_F(ApiSurvey, CreateRefusesWhatWouldHarmItsInputsAndLeavesNothingElse) {
    // The Python module's tests refuse an existing document and a path with a radar extension.
    const struct {
        std::string path;
        std::vector<std::string> files;
    } cases[] = {
        {m_dir.File("out.hd"), m_files},
        {m_dir.File("data/link.svy"), m_files},  // the input itself (below)
        {m_project, {}},
    };
    fs::create_hard_link(m_files.back(), m_dir.File("data/link.svy"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        svy3::CreateOptions options;
        options.overwrite = true;
        EXPECT_EQ(KindOf([&] { svy3::create(c.path, c.files, options); }), Kind::refused);
    }
    fs::remove(m_dir.File("data/link.svy"));

    // Nothing but the document is left beside it.
    EXPECT_EQ(Create().lines().size(), 2u);
    for (const auto& entry : fs::directory_iterator(m_dir.path()))
        EXPECT_THAT(entry.path().filename().string(), testing::AnyOf("survey.svy", "data"));

    // Without a spacing the question is asked, with the preset; its answer is taken.
    svy3::CreateOptions ask;
    std::string preset;
    ask.ask_line_spacing = [&preset](std::string& text) {
        preset = text;
        text = "2";
        return true;
    };
    const svy3::Project asked = svy3::create(m_dir.File("asked.svy"), m_files, ask);
    EXPECT_FALSE(preset.empty());
    EXPECT_DOUBLE_EQ(asked.lines()[1].lateral_offset(), 2.0);
}

// The Python module's tests save and read back positions, fiducials and renamed sets, and refuse
// edits of missing lines.
TEST_F(ApiSurvey, EveryEditWaitsForSaveAndOrganisingNeedsItSaved) {
    const svy3::LineAddress line = CreateGrouped();
    const std::string before = svy3_test::ReadFile(m_project);
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
        EXPECT_EQ(svy3_test::ReadFile(m_project), before);
        editor.save();
        EXPECT_FALSE(editor.modified());
        svy3_test::WriteFile(m_project, before);
    }
}

// The Python module's tests check the plan and the moves; here the calls made on the way.
TEST_F(ApiSurvey, OrganiseReportsItsPlanAndStages) {
    Create();
    svy3::Editor editor(m_project);
    svy3::OrganiseOptions options;
    options.line_dirs = true;
    size_t planned = 0;
    options.on_plan = [&](const svy3::OrganiseReport& plan) { planned = plan.moves.size(); };
    std::vector<std::string> stages;
    options.stage = [&](const std::string& stage) { stages.push_back(stage); };
    const svy3::OrganiseReport report = editor.organise(options);
    EXPECT_TRUE(report.done);
    EXPECT_EQ(planned, report.moves.size());
    EXPECT_THAT(stages, testing::ElementsAre("moved", "saved"));
    EXPECT_FALSE(fs::exists(ZAR::RenameJournal::JournalPath(m_project)));
}

TEST_F(ApiSurvey, AJournalBlocksWritingUntilRecovered) {
    const svy3::LineAddress line = CreateGrouped();
    const std::string before = svy3_test::ReadFile(m_project);
    svy3::Editor editor(m_project);  // reading is allowed
    svy3_test::WriteFile(ZAR::RenameJournal::JournalPath(m_project).string(), "");
    editor.rename_line_set(line.set, "B");
    EXPECT_EQ(KindOf([&] { editor.save(); }), Kind::interrupted);
    EXPECT_EQ(KindOf([&] { editor.save_as(m_dir.File("copy.svy")); }), Kind::interrupted);
    EXPECT_EQ(svy3_test::ReadFile(m_project), before);
}

TEST_F(ApiSurvey, RelationshipRoundTripsWithFullPrecision) {
    Create();
    {
        svy3::Editor editor(m_project);
        EXPECT_FALSE(editor.relationship());
        using ZAR::Transform::S2DPoint;
        editor.set_relationship(svy3::Relationship(
            S2DPoint(43.987654321, -80.123456789), S2DPoint(0.0, 0.0),
            S2DPoint(43.987777777, -80.122222222), S2DPoint(100.0, 0.0), 0.0, 0));
        editor.save();
    }
    const std::optional<svy3::Relationship> read = svy3::Editor(m_project).relationship();
    ASSERT_TRUE(read);
    EXPECT_DOUBLE_EQ(read->source1.x, 43.987654321);  // 6 digits would move it by metres
    EXPECT_DOUBLE_EQ(read->source2.y, -80.122222222);
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
    const std::string errors = testing::internal::GetCapturedStderr();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_THAT(printed, HasSubstr("created 2 lines\n"));
    EXPECT_THAT(printed, HasSubstr("12.5 m is odometer 12.5 m\n"));
    EXPECT_THAT(printed, HasSubstr("10 moves\n"));
    EXPECT_THAT(errors, HasSubstr("no such file"));
    EXPECT_EQ(svy3::open(m_project).line_sets().front().name(), "North field");
}

}  // namespace
