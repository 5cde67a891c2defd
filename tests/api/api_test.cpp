// The svy3 interface against the classes below it: the same lines, files and values through both,
// its errors, creation, and editing round trips on disk.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include <boost/filesystem.hpp>

#include "support/test_support.h"
#include "svy3/api.h"
#include "svy3/svy3.h"
#include "tests/api/api_example.h"
#include "tools/samples/sample_survey.h"

namespace {
namespace fs = boost::filesystem;
using svy3::Error;
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
    size_t filesCompared = 0;
    for (int32_t n = 0; n < lineCount; ++n) {
        const svy3::Line& line = project.lines()[static_cast<size_t>(n)];
        SCOPED_TRACE(line.name());
        ZAR::SLineInfo info;
        ASSERT_EQ(data->GetLine(info, n, -1, ZAR::eLineAny, 1), 1);
        EXPECT_EQ(line.name(), info.name);
        EXPECT_EQ(static_cast<int>(line.type()), info.type);
        const svy3::Extent extent = line.extent();
        EXPECT_EQ(extent.start_x, info.startX);
        EXPECT_EQ(extent.end_x, info.endX);
        EXPECT_EQ(extent.start_y, info.startY);
        EXPECT_EQ(extent.end_y, info.endY);
        EXPECT_EQ(extent.position_count, info.positionCount);
        EXPECT_EQ("NYR"[static_cast<int>(line.direction())], info.direction);
        EXPECT_EQ(line.file_slots(), data->GetFileCount(n, -1, ZAR::eLineAny, 2));

        // Every file the numbered lookups give (those with positions) is the api's file of the
        // same path, with the same values.
        for (int32_t slot = 0; slot < line.file_slots(); ++slot) {
            ZAR::SFileInfo fileInfo;
            if (data->GetFileInfo(fileInfo, slot, n, ZAR::eLineAny, -1, 2) != 1)
                continue;
            const svy3::DataFile* found = nullptr;
            for (const svy3::DataFile& candidate : line.files())
                if (candidate.path() == fileInfo.path)
                    found = &candidate;
            ASSERT_TRUE(found) << fileInfo.path;
            EXPECT_EQ(found->kind(), fileInfo.kind);
            EXPECT_EQ(found->odometer().start, fileInfo.odoStart);
            EXPECT_EQ(found->odometer().end, fileInfo.odoEnd);
            EXPECT_EQ(found->odometer().step, fileInfo.odoStep);
            EXPECT_EQ(found->dimensions(),
                      (std::array<int, 3>{fileInfo.dim0, fileInfo.dim1, fileInfo.dim2}));
            ASSERT_EQ(found->positions().size(), static_cast<size_t>(fileInfo.positionCount));
            for (size_t i = 0; i < found->positions().size(); ++i) {
                EXPECT_EQ(found->positions()[i].X, fileInfo.positions[i].X);
                EXPECT_EQ(found->positions()[i].Y, fileInfo.positions[i].Y);
                EXPECT_EQ(found->positions()[i].normalizedFilePos,
                          fileInfo.positions[i].normalizedFilePos);
            }
            ASSERT_TRUE(found->settings());
            EXPECT_EQ(found->settings()->sample_count, fileInfo.settings->SampleCount);
            ++filesCompared;
        }
    }
    EXPECT_GT(filesCompared, 1u);
}

TEST(ApiProject, DocumentLevelValuesAndViews) {
    const svy3::Project project = svy3::open(kSample);
    EXPECT_EQ(project.version(), "1.1.0");
    EXPECT_EQ(project.path(), kSample);
    EXPECT_EQ(project.site().fields.at("Operator"), "A. Surveyor");
    EXPECT_EQ(
        project.site().comments,
        (std::vector<std::string>{"Ground frozen to 5 cm.", "Grid origin at the fence post."}));
    EXPECT_EQ(project.site().job_date, "2024-05-21 08:30:00");

    const std::vector<svy3::Provenance>& provenance = project.provenance();
    ASSERT_EQ(provenance.size(), 3u);
    EXPECT_EQ(provenance[0].block, "SiteDefinition");
    EXPECT_EQ(provenance[2].block, "Data");
    EXPECT_FALSE(provenance[1].modified);
    EXPECT_TRUE(provenance[2].modified);
    EXPECT_EQ(provenance[2].program, "Office Tool");
    EXPECT_EQ(provenance[2].date, "2024-05-22");
    EXPECT_EQ(provenance[2].time, "10:00:00");
    EXPECT_EQ(provenance[2].comment, "positions added");

    ASSERT_FALSE(project.settings().empty());
    const svy3::Settings& settings = project.settings().front();
    EXPECT_EQ(settings.sample_count, 250);
    EXPECT_DOUBLE_EQ(settings.time_zero, 25.0);
    EXPECT_DOUBLE_EQ(settings.step_size, 0.05);
    EXPECT_DOUBLE_EQ(settings.antenna_separation, 0.38);
    EXPECT_EQ(settings.survey_mode, "Reflection");
    EXPECT_EQ(settings.processing.size(), 1u);

    const svy3::Line* line = project.find_line("Line1");
    ASSERT_TRUE(line);
    EXPECT_EQ(project.find_line(line->set(), "Line1"), line);
    EXPECT_EQ(project.find_line("no such line"), nullptr);
    EXPECT_EQ(project.find_line("no such set", "Line1"), nullptr);
    ASSERT_GE(line->files().size(), 2u);
    const svy3::DataFile& first = line->files().front();
    EXPECT_EQ(first.name(), "QUARRYC1B1");
    EXPECT_TRUE(first.is_radar());
    EXPECT_EQ(first.sequence(), 1);
    EXPECT_EQ(first.settings(), &settings);  // files share their settings block
    ASSERT_EQ(first.positions().size(), 3u);
    EXPECT_DOUBLE_EQ(first.positions().back().Y, 10.0);
    EXPECT_DOUBLE_EQ(first.positions()[1].normalizedFilePos, 0.5);
    ASSERT_EQ(first.fiducials().size(), 1u);
    EXPECT_EQ(first.fiducials().front().comment, "pipe crossing");
    EXPECT_DOUBLE_EQ(first.fiducials().front().ododist, 4.0);

    // Each line set's span covers exactly its lines.
    size_t inSets = 0;
    for (const svy3::LineSet& set : project.line_sets()) {
        for (const svy3::Line& member : set.lines())
            EXPECT_EQ(member.set(), set.name());
        inSets += set.lines().size();
    }
    for (size_t i = inSets; i < project.lines().size(); ++i)
        EXPECT_EQ(project.lines()[i].set(), "");
}

TEST(ApiProject, ConverterAgreesWithTheLinesTables) {
    const svy3::Project project = svy3::open(kSample);
    size_t converted = 0;
    for (const svy3::Line& line : project.lines()) {
        std::optional<svy3::DistanceConverter> converter = line.converter();
        ASSERT_EQ(converter.has_value(), line.model().m_pConverter != nullptr);
        if (!converter)
            continue;
        ZAR::CReferenceConverter tables(*line.model().m_pConverter);
        for (double d : {-3.0, 0.0, 4.25, 12.5, 100.0}) {
            EXPECT_DOUBLE_EQ(converter->user_to_odometer(d), tables.User2Odo(d));
            EXPECT_DOUBLE_EQ(converter->odometer_to_user(d), tables.Odo2User(d));
            EXPECT_DOUBLE_EQ(converter->index_to_user(d, 1.0, 0.05), tables.Idx2User(d, 1.0, 0.05));
            double user = d;
            const double index = tables.User2Idx(user, 1.0, 0.05, ZAR::RoundNearest);
            EXPECT_DOUBLE_EQ(converter->user_to_index(d, 1.0, 0.05, svy3::Rounding::nearest),
                             index);
            EXPECT_EQ(converter->user_to_index(d, 1.0, 0.05, svy3::Rounding::down),
                      std::floor(converter->user_to_index(d, 1.0, 0.05)));
        }
        svy3::DistanceConverter copy = *converter;  // copies are independent values
        EXPECT_DOUBLE_EQ(copy.user_to_odometer(7.0), converter->user_to_odometer(7.0));
        ++converted;
    }
    EXPECT_GT(converted, 0u);
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

    // The first line set's name and the first line in it.
    svy3::LineAddress FirstLine() {
        const svy3::Project project = svy3::open(m_project);
        return {project.lines().front().set(), project.lines().front().name()};
    }

    svy3_test::TempDir m_dir;
    std::vector<std::string> m_files;
    std::string m_project;
};

TEST_F(ApiSurvey, CreateWritesAndReturnsTheProject) {
    svy3::CreateOptions options;
    options.created_by = "api test";
    const svy3::Project project = Create(options);
    EXPECT_EQ(project.path(), m_project);
    ASSERT_EQ(project.lines().size(), 2u);
    EXPECT_DOUBLE_EQ(project.lines()[1].lateral_offset() - project.lines()[0].lateral_offset(),
                     0.5);
    for (const svy3::Line& line : project.lines()) {
        EXPECT_EQ(line.files().size(), 2u);
        for (const svy3::DataFile& file : line.files()) {
            EXPECT_TRUE(file.positions().empty());  // a new project has no positions yet
            EXPECT_EQ(file.dimensions()[1], 50);
        }
    }
    EXPECT_EQ(project.provenance().front().program, "api test");
    EXPECT_EQ(project.data_dir(), "data/");  // named from the document's folder
    // The same document read again gives the same lines; nothing but it was left beside it.
    EXPECT_EQ(svy3::open(m_project).lines().size(), 2u);
    for (const auto& entry : fs::directory_iterator(m_dir.path()))
        EXPECT_TRUE(entry.path().filename() == "survey.svy" || entry.path().filename() == "data")
            << entry.path();
}

TEST_F(ApiSurvey, CreateRefusesWhatWouldHarmItsInputs) {
    svy3_test::WriteFile(m_project, "precious");
    const std::string header = fs::path(m_files.front()).replace_extension(".HD").string();
    const struct {
        std::string path;
        std::vector<std::string> files;
        bool overwrite;
    } cases[] = {
        {m_project, m_files, false},                   // exists
        {m_dir.File("out.hd"), m_files, true},         // a radar file's extension
        {m_files.front() + ".svy", {}, true},          // no files
        {m_dir.File("data/link.svy"), m_files, true},  // the input itself (below)
    };
    fs::create_hard_link(m_files.back(), m_dir.File("data/link.svy"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        svy3::CreateOptions options;
        options.overwrite = c.overwrite;
        EXPECT_EQ(KindOf([&] { svy3::create(c.path, c.files, options); }), Kind::refused);
    }
    EXPECT_EQ(svy3_test::ReadFile(m_project), "precious");
    // Replacing is asked for explicitly.
    svy3::CreateOptions overwrite;
    overwrite.overwrite = true;
    EXPECT_EQ(Create(overwrite).lines().size(), 2u);

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

TEST_F(ApiSurvey, EditsRoundTripThroughTheDocument) {
    Create();
    GroupLines();
    const svy3::LineAddress line = FirstLine();
    ASSERT_FALSE(line.set.empty());
    {
        svy3::Editor editor(m_project);
        EXPECT_FALSE(editor.modified());
        ASSERT_EQ(editor.map().count(line.set), 1u);
        EXPECT_EQ(editor.map().at(line.set).size(), 2u);
        editor.set_positions(line, {{1.0, 2.0, std::nan(""), 0.0}, {1.0, 12.0, 0.25, 1.0}}, "m");
        editor.set_fiducials(line, {{1, 3.5, "fence"}, {0, 7.25, "pipe, shallow"}});
        editor.rename_line_set(line.set, "North field");
        EXPECT_TRUE(editor.modified());
        EXPECT_FALSE(editor.changes().empty());
        editor.save();
        EXPECT_FALSE(editor.modified());
    }
    const svy3::Project project = svy3::open(m_project);
    const svy3::Line* edited = project.find_line("North field", line.line);
    ASSERT_TRUE(edited);
    const svy3::DataFile& radar = edited->files().front();
    ASSERT_EQ(radar.positions().size(), 2u);
    EXPECT_DOUBLE_EQ(radar.positions()[1].Y, 12.0);
    EXPECT_DOUBLE_EQ(radar.positions()[1].Z, 0.25);
    EXPECT_EQ(radar.positions()[0].Z, 0.0);  // no height is written "NA" and read as 0
    ASSERT_EQ(radar.fiducials().size(), 2u);
    EXPECT_EQ(radar.fiducials()[1].comment, "pipe, shallow");
    EXPECT_DOUBLE_EQ(radar.fiducials()[1].ododist, 7.25);
    EXPECT_EQ(edited->direction(), svy3::Direction::none);  // two positions: too few to tell
}

TEST_F(ApiSurvey, RefusedEditsWriteNothing) {
    Create();
    GroupLines();
    const svy3::LineAddress line = FirstLine();
    const std::string before = svy3_test::ReadFile(m_project);
    svy3::Editor editor(m_project);
    const svy3::LineAddress missing[] = {{line.set, "nope"}, {"nope", line.line}, {"", line.line}};
    for (const svy3::LineAddress& address : missing) {
        SCOPED_TRACE(address.set + "/" + address.line);
        EXPECT_EQ(KindOf([&] { editor.set_positions(address, {{0, 0, 0, 0}}); }), Kind::refused);
        EXPECT_EQ(KindOf([&] { editor.set_fiducials(address, {}); }), Kind::refused);
    }
    EXPECT_EQ(KindOf([&] {
                  editor.set_positions(line, {{0, 0, 0, 0}}, "furlong");
              }),
              Kind::refused);
    EXPECT_EQ(KindOf([&] { editor.attach_gps_file(line, m_dir.File("../outside.GPS")); }),
              Kind::refused);
    try {
        editor.rename_line_set("nope", "x");
        ADD_FAILURE();
    } catch (const Error& error) {
        EXPECT_EQ(error.code(), -31);
        EXPECT_EQ(error.kind(), Kind::document);
    }
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(svy3_test::ReadFile(m_project), before);
    // Edits wait for save(); organising needs them saved first.
    editor.rename_line_set(line.set, "B");
    EXPECT_EQ(KindOf([&] { editor.organise({}); }), Kind::refused);
    EXPECT_EQ(svy3_test::ReadFile(m_project), before);
}

TEST_F(ApiSurvey, OrganisePlansThenMovesAndSaves) {
    Create();
    const std::string before = svy3_test::ReadFile(m_project);
    svy3::Editor editor(m_project);
    svy3::OrganiseOptions options;
    options.line_dirs = true;
    options.dry_run = true;
    size_t planned = 0;
    options.on_plan = [&](const svy3::OrganiseReport& plan) { planned = plan.moves.size(); };
    const svy3::OrganiseReport dry = editor.organise(options);
    EXPECT_FALSE(dry.done);
    EXPECT_TRUE(dry.problems.empty());
    EXPECT_EQ(planned, dry.moves.size());
    ASSERT_FALSE(dry.moves.empty());
    for (const std::string& file : m_files)
        EXPECT_TRUE(fs::exists(file)) << file;
    EXPECT_EQ(svy3_test::ReadFile(m_project), before);

    options.dry_run = false;
    std::vector<std::string> stages;
    options.stage = [&](const std::string& stage) { stages.push_back(stage); };
    const svy3::OrganiseReport report = editor.organise(options);
    EXPECT_TRUE(report.done);
    EXPECT_EQ(report.moves, dry.moves);
    EXPECT_EQ(stages, (std::vector<std::string>{"moved", "saved"}));
    EXPECT_FALSE(fs::exists(ZAR::RenameJournal::JournalPath(m_project)));
    // Every file the saved document names is on disk, none where it was.
    const svy3::Project project = svy3::open(m_project);
    for (const svy3::Line& line : project.lines())
        for (const svy3::DataFile& file : line.files()) {
            std::string relative = file.path();
            std::replace(relative.begin(), relative.end(), '\\', '/');
            for (const char* extension : {".HD", ".DT1"})  // a radar pair is named by its stem
                EXPECT_TRUE(fs::exists(fs::absolute(project.data_dir(), m_dir.path()) /
                                       (relative + extension)))
                    << relative;
        }
    for (const std::string& file : m_files)
        EXPECT_FALSE(fs::exists(file)) << file;
}

TEST_F(ApiSurvey, AJournalBlocksWritingUntilRecovered) {
    Create();
    GroupLines();
    const std::string before = svy3_test::ReadFile(m_project);
    std::vector<std::string> report;
    EXPECT_EQ(svy3::Editor::recover(m_project, report), svy3::Recovery::nothing_to_do);

    const svy3::LineAddress line = FirstLine();
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
    const svy3::Editor editor(m_project);
    const std::optional<svy3::Relationship> read = editor.relationship();
    ASSERT_TRUE(read);
    EXPECT_DOUBLE_EQ(read->source1.x, 43.987654321);  // 6 digits would move it by metres
    EXPECT_DOUBLE_EQ(read->source2.y, -80.122222222);
    EXPECT_DOUBLE_EQ(read->destination2.x, 100.0);
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
    EXPECT_NE(printed.find("created 2 lines\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("12.5 m is odometer 12.5 m\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("10 moves\n"), std::string::npos) << printed;
    EXPECT_NE(errors.find("no such file"), std::string::npos) << errors;
    EXPECT_EQ(svy3::open(m_project).line_sets().front().name(), "North field");

    const std::string source =
        svy3_test::ReadFile(std::string(SVY3_TEST_DATA_DIR) + "/../api/api_example.cpp");
    const std::string readme =
        svy3_test::ReadFile(std::string(SVY3_TEST_DATA_DIR) + "/../../README.md");
    const std::string begin = "// README-API-EXAMPLE-BEGIN\n", end = "// README-API-EXAMPLE-END\n";
    const size_t from = source.find(begin) + begin.size();
    const std::string example = source.substr(from, source.find(end) - from);
    EXPECT_NE(readme.find("```cpp\n" + example + "```"), std::string::npos)
        << "the README's example differs from tests/api/api_example.cpp";
}

}  // namespace
