// The commands that position lines (positions, fiducials, gps, relation) and the export for a GIS:
// the CSV rows they take or refuse, what reaches the document, and the export read back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "editor/editor_support.h"
#include "svy3/api.h"
#include "tests/tools/tool_support.h"
#include "tools/svy/export_command.h"
#include "tools/svy/gps_commands.h"

namespace {

using svy3_test::DataFileXml;
using svy3_test::PositionXml;
using svy3_test::ReadFile;
using svy3_test::WriteFile;
using svy_tool_test::Invoke;
using svy_tool_test::Output;
using testing::ElementsAre;
using testing::HasSubstr;
namespace fs = boost::filesystem;

const char kOdometer[] = R"(<Odometer start="0" end="10" step="0.05" units="m"/>)";

// survey.svy with the data folder "data": line "A" outside line sets (a radar pair with two
// positions and a sen file) and line "B" in set "S" (a radar pair without positions).
class SvyGpsTest : public testing::Test {
  protected:
    void SetUp() override {
        Write(R"(<Line name="A">)" +
              DataFileXml(
                  "A", "HD+DT1", 1,
                  PositionXml("0", "0", "NA", "0") + PositionXml("1", "0", "NA", "1") + kOdometer) +
              DataFileXml("A", "sen", 1) + R"(</Line><LineSet name="S"><Line name="B">)" +
              DataFileXml("B", "HD+DT1", 1, kOdometer) + "</Line></LineSet>");
        fs::create_directories(m_dir.File("data/gps"));
    }
    void Write(const std::string& data) {
        WriteFile(Project(), svy3_test::SvyDocument(data, "data"));
    }
    std::string Project() const { return m_dir.File("survey.svy"); }
    svy_tool::LineAddress Address(const std::string& set, const std::string& line) const {
        return {Project(), set, line};
    }
    std::string Csv(const std::string& text) { return WriteFile(m_dir.File("in.csv"), text); }
    Output Positions(const std::string& set, const std::string& line, const std::string& csv,
                     const std::string& unit = "m") {
        return Invoke(svy_tool::RunPositions, Address(set, line), Csv(csv), unit);
    }
    Output Fiducials(const std::string& csv) {
        return Invoke(svy_tool::RunFiducials, Address("-", "A"), Csv(csv));
    }
    Output Relation(svy_tool::RelationOptions options) {
        options.project = Project();
        return Invoke(svy_tool::RunRelation, options);
    }
    Output Export(svy_tool::ExportOptions options) {
        options.project = Project();
        return Invoke(svy_tool::RunExport, options);
    }
    // The positions of the line's ".HD" file after a fresh load, as "x y z t" texts.
    std::vector<std::string> HeaderPositions(const std::string& set, const std::string& line) {
        const svy3::Editor editor(Project());
        std::vector<std::string> found;
        for (const auto& [path, positions] : editor.map().at(set).at(line))
            if (path.extension() == ".HD")
                for (const ZAR::SvyLinePos& p : positions)
                    found.push_back(svy3_test::Join(p.X(ZAR::UNIT_M), p.Y(ZAR::UNIT_M),
                                                    p.Z(ZAR::UNIT_M), p.m_dNormalizedFilePos));
        return found;
    }

    svy3_test::TempDir m_dir;
};

TEST_F(SvyGpsTest, PositionsGoToLinesInsideAndOutsideLineSets) {
    Output run = Positions("-", "A",
                           "x,y,z,file position\n"
                           "500123.456789,4800000.125,101.5,0\n"
                           "\n"
                           "500130.25, 4800010.5 ,NA,0.5\n"
                           "500140,4800020,99.25,1\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "wrote 3 positions to line A\nsaved " + Project() + "\n");
    EXPECT_THAT(HeaderPositions("", "A"),
                ElementsAre("500123.456789 4800000.125 101.5 0 ", "500130.25 4800010.5 nan 0.5 ",
                            "500140 4800020 99.25 1 "));
    // Feet are written in metres; equal file positions are allowed.
    run = Positions("S", "B", "10,20,30,0\n10,20,30,0\n", "ft");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(HeaderPositions("S", "B"),
                ElementsAre("3.048 6.096 9.144 0 ", "3.048 6.096 9.144 0 "));
}

TEST_F(SvyGpsTest, BadInputIsRefusedWithItsRowAndNothingIsWritten) {
    const struct {
        bool fiducials;
        const char* csv;
        const char* message;
    } cases[] = {
        {false, "x,y,z,t\n1,2,3,0\n4,5,6\n", "row 3: expected 4 columns"},
        {false, "1,2,3,0\n1,2,3,0,9\n", "row 2: expected 4 columns"},
        {false, "1,2,3,0\n1,north,3,0.5\n", "row 2: x and y must be finite"},
        {false, "1,2,3,0\n1,2,3m,0.5\n", "row 2: z must be"},
        {false, "nan,2,3,0\n", "row 1: x and y must be finite"},
        {false, "1,2,3,0\n1,2,inf,0.5\n", "row 2: z must be"},
        {false, "1,2,3,0.5\n1,2,3,0.25\n", "row 2: file positions must not go backwards"},
        {false, "1,2,3,0\n1,2,3,1.5\n", "row 2: the file position must be a number in 0..1"},
        {false, "x,y,z,t\n", "row 1: a header and no positions"},
        {false, "\n  \n", "has no rows; nothing changed"},
        {true, "D,1\n", "row 1: expected 3 columns"},
        {true, "D,1,a\nX,2,b\n", "row 2: the flag must be"},
        {true, "D,1,a\n2.5,2,b\n", "row 2: the flag must be"},
        {true, "D,1,a\nC,-2,b\n", "row 2: the odometer distance"},
        {true, "D,1,a\nC,two,b\n", "row 2: the odometer distance"},
    };
    const std::string before = ReadFile(Project());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.csv);
        const Output run = c.fiducials ? Fiducials(c.csv) : Positions("-", "A", c.csv);
        EXPECT_EQ(run.status, 1);
        EXPECT_THAT(run.err, HasSubstr(c.message));
    }
    const Output unit = Positions("-", "A", "1,2,3,0\n", "furlong");
    EXPECT_EQ(unit.status, 1);
    EXPECT_THAT(unit.err, HasSubstr("unknown unit \"furlong\"; nothing changed"));
    // The library's refusal, in the command's words.
    EXPECT_EQ(Positions("S", "A", "1,2,3,0\n").err,
              "svy positions: no line \"A\" in line set \"S\"; nothing changed\n");
    EXPECT_EQ(ReadFile(Project()), before);
    Write(R"(<Line name="C">)" + DataFileXml("C", "sen", 1) + "</Line>");
    EXPECT_THAT(Positions("-", "C", "1,2,3,0\n").err, HasSubstr("no .HD+DT1"));
}

TEST_F(SvyGpsTest, FiducialsTakeLettersCodesAndCommasInComments) {
    const Output run = Fiducials(
        "flag,ododist,comment\nD,0.5,start\nc,2.25,road, north side\n2,4,pipe\n7,6,\"other\"\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("wrote 4 fiducials to line A\n"));
    const std::string document = ReadFile(Project());
    for (const char* expected :
         {R"(ododist="0.5" fileflag="D">start<)", R"(ododist="2.25" fileflag="C">road,north side<)",
          R"(ododist="4" fileflag="I">pipe<)", R"(ododist="6" fileflag="N">"other"<)"})
        EXPECT_THAT(document, HasSubstr(expected));
}

TEST_F(SvyGpsTest, GpsFilesMustLieInTheDataFolderOnALineWithPositions) {
    const std::string track = WriteFile(m_dir.File("data/gps/track.GPS"), "gps");
    const std::string before = ReadFile(Project());
    const std::pair<std::string, const char*> refused[] = {
        {WriteFile(m_dir.File("elsewhere.GPS"), "gps"), "outside the data folder"},
        {m_dir.File("data/gps/none.GPS"), "does not exist"},
        {WriteFile(m_dir.File("data/x.txt"), ""), "not a .GPS"},
    };
    for (const auto& [file, message] : refused) {
        const Output run = Invoke(svy_tool::RunGps, Address("-", "A"), file);
        EXPECT_EQ(run.status, 1);
        EXPECT_THAT(run.err, HasSubstr(message));
    }
    EXPECT_THAT(Invoke(svy_tool::RunGps, Address("S", "B"), track).err,
                HasSubstr("two positions and an odometer"));
    EXPECT_EQ(ReadFile(Project()), before);

    const Output run = Invoke(svy_tool::RunGps, Address("-", "A"), track);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "attached track.GPS to line A\nsaved " + Project() + "\n");
    EXPECT_THAT(ReadFile(Project()), testing::AllOf(HasSubstr(R"(name="track" ext="GPS")"),
                                                    HasSubstr("<FileDirPath>gps</FileDirPath>")));
}

TEST_F(SvyGpsTest, RelationIsShownSetAndRefusedWhenDegenerate) {
    EXPECT_EQ(Relation({}).out, "no GPS-to-data relationship\n");
    const std::string before = ReadFile(Project());
    using Points = std::vector<double>;
    const std::pair<svy_tool::RelationOptions, const char*> refused[] = {
        {{"", false, {}, 0, Points{0, 0, 45, 15, 0, 0, 45.001, 15.001}, ""}, "coincide"},
        {{"", false, {}, 0, Points{0, 0, 45, 15, 10, 10, 45, 15}, ""}, "coincide"},
        {{"", false, {}, 0, Points{0, 0, 85, 15, 10, 10, 45, 15}, ""},
         "latitudes must lie in -80..84"},
        {{"", false, {500000, 5000000}, 0, {}, ""}, "needs a UTM zone"},
    };
    for (const auto& [options, message] : refused) {
        SCOPED_TRACE(message);
        const Output run = Relation(options);
        EXPECT_EQ(run.status, 1);
        EXPECT_THAT(run.err, HasSubstr(message));
    }
    EXPECT_EQ(ReadFile(Project()), before);

    const Output set = Relation({"", false, {500000, 5000000}, 30, {}, "33T"});
    ASSERT_EQ(set.status, 0) << set.err;
    for (const Output& shown : {set, Relation({})}) {
        EXPECT_EQ(shown.status, 0);
        EXPECT_THAT(shown.out, HasSubstr("(shift and rotation)\n"));
        EXPECT_THAT(shown.out, HasSubstr("rotation: 30 degrees\n  UTM zone: 33T\n"));
    }
}

// Positions on a grid turned 25 degrees from east and shifted into UTM zone 33 north; the
// relationship is given by two points whose latitude and longitude come from GeographicLib.
TEST_F(SvyGpsTest, ExportPlacesTracksAndFiducialsInLongitudeAndLatitude) {
    const svy_tool_test::TurnedGrid grid;
    Write(R"(<LineSet name="S"><Line name="L1">)" +
          DataFileXml("F", "HD+DT1", 1,
                      PositionXml("0", "0", "NA", "0") + PositionXml("30", "10", "NA", "0.25") +
                          PositionXml("6000", "2500", "NA", "1", "cm") + kOdometer +
                          R"(<FIDComment units="m" ododist="5" fileflag="C">pipe</FIDComment>)" +
                          R"(<FIDComment units="m" ododist="50" fileflag="C">far</FIDComment>)") +
          "</Line></LineSet>");
    const svy_tool::ExportOptions options{"", false, false, true, ""};
    Output run = Export(options);
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("no GPS-to-data relationship"));

    ASSERT_EQ(Relation({"", false, {}, 0, grid.Points(), ""}).status, 0);

    run = Export(options);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("fiducial at 50 m lies outside"));
    const auto collection = nlohmann::json::parse(run.out);
    ASSERT_EQ(collection["type"], "FeatureCollection");
    const auto& features = collection["features"];
    ASSERT_EQ(features.size(), 2u);
    EXPECT_EQ(features[0]["properties"].dump() + features[1]["properties"].dump(),
              R"({"file":"F.HD+DT1","kind":"track","line":"L1","lineSet":"S","unit":"degree"})"
              R"({"comment":"pipe","file":"F.HD+DT1","flag":"C","kind":"fiducial","line":"L1",)"
              R"("lineSet":"S","ododist":5.0,"unit":"degree"})");
    // Every exported [longitude, latitude] against the grid's own placing (1e-7 degrees: 1 cm).
    auto expectAt = [&](const nlohmann::json& coordinates, double x, double y) {
        const auto [latitude, longitude] = grid.LatLong(x, y);
        EXPECT_THAT(
            coordinates.get<std::vector<double>>(),
            ElementsAre(testing::DoubleNear(longitude, 1e-7), testing::DoubleNear(latitude, 1e-7)));
    };
    const auto& track = features[0]["geometry"];
    ASSERT_EQ(track["type"], "LineString");
    ASSERT_EQ(track["coordinates"].size(), 3u);
    expectAt(track["coordinates"][0], 0, 0);
    expectAt(track["coordinates"][1], 30, 10);
    expectAt(track["coordinates"][2], 60, 25);  // centimetres in the document
    EXPECT_EQ(features[1]["geometry"]["type"], "Point");
    // 5 m of 10 is file position 0.5: a third of the way from (30, 10) at 0.25 to (60, 25) at 1.
    expectAt(features[1]["geometry"]["coordinates"], 40, 15);
}

TEST_F(SvyGpsTest, ExportWritesLocalCoordinatesAsGeoJsonOrCsvToAFile) {
    svy_tool::ExportOptions options;
    Output run = Export(options);
    ASSERT_EQ(run.status, 0) << run.err;
    // Line B has no positions.
    EXPECT_EQ(
        nlohmann::json::parse(run.out)["features"].dump(),
        R"([{"geometry":{"coordinates":[[0.0,0.0],[1.0,0.0]],"type":"LineString"},)"
        R"("properties":{"file":"A.HD+DT1","kind":"track","line":"A","lineSet":"","unit":"m"},)"
        R"("type":"Feature"}])");

    ASSERT_EQ(Fiducials("N,2.5,a \"quoted\", text\n").status, 0);
    options.csv = true;
    options.output = m_dir.File("out.csv");
    run = Export(options);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(options.output),
              "kind,line_set,line,file,unit,x,y,z,file_position,ododist,flag,comment\n"
              "position,,A,A.HD+DT1,m,0,0,NA,0,,,\n"
              "position,,A,A.HD+DT1,m,1,0,NA,1,,,\n"
              "fiducial,,A,A.HD+DT1,m,0.25,0,NA,0.25,2.5,N,\"a \"\"quoted\"\",text\"\n");
    EXPECT_FALSE(fs::exists(options.output + ".partial"));

    // Never over what it reads: the project (under any name) or a survey file.
    const std::string project = ReadFile(Project());
    fs::create_hard_link(Project(), m_dir.File("alias.geojson"));
    for (const std::string& output : {Project(), m_dir.File("alias.geojson"), m_dir.File("x.HD")}) {
        options.output = output;
        EXPECT_EQ(Export(options).status, 3) << output;
    }
    EXPECT_EQ(ReadFile(Project()), project);
    EXPECT_FALSE(fs::exists(m_dir.File("x.HD")));
}

}  // namespace
