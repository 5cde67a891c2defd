// The commands that position lines (positions, fiducials, gps, relation) and the export for a GIS:
// what they write, what they refuse with the document untouched, and the export read back.
#include <gtest/gtest.h>

#include <GeographicLib/UTMUPS.hpp>
#include <boost/filesystem/operations.hpp>
#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>

#include "editor/editor_support.h"
#include "tools/svy/export_command.h"
#include "tools/svy/gps_commands.h"

namespace {

using svy3_test::DataFileXml;
using svy3_test::PositionXml;
using svy3_test::ReadFile;
using svy3_test::SvyDocument;
using svy3_test::WriteFile;
namespace fs = boost::filesystem;

struct Output {
    int status;
    std::string out, err;
};

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
    void Write(const std::string& data) { WriteFile(Project(), SvyDocument(data, "data")); }
    std::string Project() const { return m_dir.File("survey.svy"); }
    std::string Csv(const std::string& text) { return WriteFile(m_dir.File("in.csv"), text); }
    svy_tool::LineAddress Address(const std::string& set, const std::string& line) const {
        return {Project(), set, line};
    }
    Output Positions(const std::string& set, const std::string& line, const std::string& csv,
                     const std::string& unit = "m") {
        std::ostringstream out, err;
        const int status = svy_tool::RunPositions(Address(set, line), Csv(csv), unit, out, err);
        return {status, out.str(), err.str()};
    }
    Output Fiducials(const std::string& set, const std::string& line, const std::string& csv) {
        std::ostringstream out, err;
        const int status = svy_tool::RunFiducials(Address(set, line), Csv(csv), out, err);
        return {status, out.str(), err.str()};
    }
    Output Gps(const std::string& set, const std::string& line, const std::string& file) {
        std::ostringstream out, err;
        const int status = svy_tool::RunGps(Address(set, line), file, out, err);
        return {status, out.str(), err.str()};
    }
    Output Relation(svy_tool::RelationOptions options) {
        options.project = Project();
        std::ostringstream out, err;
        const int status = svy_tool::RunRelation(options, out, err);
        return {status, out.str(), err.str()};
    }
    Output Export(svy_tool::ExportOptions options) {
        options.project = Project();
        std::ostringstream out, err;
        const int status = svy_tool::RunExport(options, out, err);
        return {status, out.str(), err.str()};
    }
    // The positions of the line's ".HD" file after a fresh load, as "x y z t" texts.
    std::vector<std::string> MapPositions(const std::string& line) {
        ZAR::GpzSvy120 editor;
        editor.Load(Project().c_str());
        std::vector<std::string> found;
        for (auto set = editor.Begin(); set != editor.End(); ++set)
            for (auto l = editor.Begin(set); l != editor.End(set); ++l)
                for (auto file = editor.Begin(l); file != editor.End(l); ++file)
                    if (l->first == line && file->first.extension() == ".HD")
                        for (auto p = editor.BeginPos(file); p != editor.EndPos(file); ++p) {
                            std::ostringstream text;
                            text.precision(12);
                            text << p->X(ZAR::UNIT_M) << " " << p->Y(ZAR::UNIT_M) << " "
                                 << p->Z(ZAR::UNIT_M) << " " << p->m_dNormalizedFilePos;
                            found.push_back(text.str());
                        }
        return found;
    }

    // The X of every Position of line A's GPS file.
    std::vector<std::string> GpsPositions() {
        ZAR::GpzSvy120 editor;
        editor.Load(Project().c_str());
        std::vector<std::string> found;
        if (editor.GotoNode("/ZAR_SVY/Data", false) && editor.FindSubnode("Line", "name", "A") &&
            editor.FindSubnode("DataFile", "ext", "GPS")) {
            bool first = true;
            std::string x;
            while (editor.NextNode(first, "Position") && editor.GetNodeTxt(x, "X"))
                found.push_back(x);
        }
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
    EXPECT_EQ(MapPositions("A"),
              (std::vector<std::string>{"500123.456789 4800000.125 101.5 0",
                                        "500130.25 4800010.5 nan 0.5", "500140 4800020 99.25 1"}));
    // Feet are written in metres; equal file positions are allowed.
    run = Positions("S", "B", "10,20,30,0\n10,20,30,0\n", "ft");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(MapPositions("B"),
              (std::vector<std::string>{"3.048 6.096 9.144 0", "3.048 6.096 9.144 0"}));
}

TEST_F(SvyGpsTest, BadInputIsRefusedWithItsRowAndNothingIsWritten) {
    struct Case {
        const char* csv;
        const char* message;
    };
    const std::vector<Case> positions = {
        {"x,y,z,t\n1,2,3,0\n4,5,6\n", "row 3: expected 4 columns"},
        {"1,2,3,0\n1,2,3,0,9\n", "row 2: expected 4 columns"},
        {"1,2,3,0\n1,north,3,0.5\n", "row 2: x and y must be finite"},
        {"1,2,3,0\n1,2,3m,0.5\n", "row 2: z must be"},
        {"nan,2,3,0\n", "row 1: x and y must be finite"},
        {"1,2,3,0\n1,2,inf,0.5\n", "row 2: z must be"},
        {"1,2,3,0.5\n1,2,3,0.25\n", "row 2: file positions must not go backwards"},
        {"1,2,3,0\n1,2,3,1.5\n", "row 2: the file position must be a number in 0..1"},
        {"x,y,z,t\n", "row 1: a header and no positions"},
        {"", "has no rows"},
        {"\n  \n", "has no rows"},
    };
    const std::string before = ReadFile(Project());
    for (const Case& c : positions) {
        SCOPED_TRACE(c.csv);
        const Output run = Positions("-", "A", c.csv);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("nothing changed"), std::string::npos);
    }
    const std::vector<Case> fiducials = {
        {"D,1\n", "row 1: expected 3 columns"},
        {"D,1,a\nX,2,b\n", "row 2: the flag must be"},
        {"D,1,a\n2.5,2,b\n", "row 2: the flag must be"},
        {"D,1,a\nC,-2,b\n", "row 2: the odometer distance"},
        {"D,1,a\nC,two,b\n", "row 2: the odometer distance"},
    };
    for (const Case& c : fiducials) {
        SCOPED_TRACE(c.csv);
        const Output run = Fiducials("-", "A", c.csv);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    // Lines that are not there, or cannot take positions.
    EXPECT_NE(Positions("S", "A", "1,2,3,0\n").err.find("no line \"A\" in line set \"S\""),
              std::string::npos);
    EXPECT_NE(Positions("", "B", "1,2,3,0\n").err.find("no line \"B\" outside line sets"),
              std::string::npos);
    EXPECT_EQ(Positions("-", "A", "1,2,3,0\n", "furlong").status, 1);
    EXPECT_EQ(ReadFile(Project()), before);
    Write(R"(<Line name="C">)" + DataFileXml("C", "sen", 1) + "</Line>");
    const std::string noPair = ReadFile(Project());
    EXPECT_NE(Positions("-", "C", "1,2,3,0\n").err.find("no .HD+DT1"), std::string::npos);
    EXPECT_EQ(ReadFile(Project()), noPair);
}

TEST_F(SvyGpsTest, FiducialsTakeLettersCodesAndCommasInComments) {
    const Output run = Fiducials("-", "A",
                                 "flag,ododist,comment\n"
                                 "D,0.5,start\n"
                                 "c,2.25,road, north side\n"
                                 "2,4,pipe\n"
                                 "7,6,\"other\"\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string document = ReadFile(Project());
    for (const char* expected :
         {R"(ododist="0.5" fileflag="D">start<)", R"(ododist="2.25" fileflag="C">road,north side<)",
          R"(ododist="4" fileflag="I">pipe<)", R"(ododist="6" fileflag="N">"other"<)"})
        EXPECT_NE(document.find(expected), std::string::npos) << expected;
}

TEST_F(SvyGpsTest, GpsFilesMustLieInTheDataFolderOnALineWithPositions) {
    const std::string track = WriteFile(m_dir.File("data/gps/track.GPS"), "gps");
    const std::string outside = WriteFile(m_dir.File("elsewhere.GPS"), "gps");
    const std::string before = ReadFile(Project());
    EXPECT_NE(Gps("-", "A", outside).err.find("outside the data folder"), std::string::npos);
    EXPECT_NE(Gps("-", "A", m_dir.File("data/gps/none.GPS")).err.find("does not exist"),
              std::string::npos);
    EXPECT_NE(Gps("-", "A", WriteFile(m_dir.File("data/x.txt"), "")).err.find("not a .GPS"),
              std::string::npos);
    EXPECT_NE(Gps("S", "B", track).err.find("two positions and an odometer"), std::string::npos);
    EXPECT_EQ(ReadFile(Project()), before);

    ASSERT_EQ(Gps("-", "A", track).status, 0);
    ASSERT_EQ(Gps("-", "A", track).status, 0);  // again: still one GPS file
    const std::string document = ReadFile(Project());
    EXPECT_EQ(document.find("ext=\"GPS\""), document.rfind("ext=\"GPS\""));
    EXPECT_NE(document.find("<FileDirPath>gps</FileDirPath>"), std::string::npos);
    EXPECT_EQ(GpsPositions(), (std::vector<std::string>{"0", "1"}));
    // New positions now reach the GPS file too.
    ASSERT_EQ(Positions("-", "A", "5,6,7,0\n8,9,10,0.5\n11,12,13,1\n").status, 0);
    EXPECT_EQ(GpsPositions(), (std::vector<std::string>{"5", "8", "11"}));
}

TEST_F(SvyGpsTest, RelationIsShownSetAndRefusedWhenDegenerate) {
    EXPECT_EQ(Relation({}).out, "no GPS-to-data relationship\n");
    const std::string before = ReadFile(Project());
    svy_tool::RelationOptions same;
    same.points = {0, 0, 45, 15, 0, 0, 45.001, 15.001};
    Output run = Relation(same);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("coincide"), std::string::npos);
    same.points = {0, 0, 45, 15, 10, 10, 45, 15};
    EXPECT_NE(Relation(same).err.find("coincide"), std::string::npos);
    svy_tool::RelationOptions shift;
    shift.shift = {500000, 5000000};
    EXPECT_NE(Relation(shift).err.find("needs a UTM zone"), std::string::npos);
    svy_tool::RelationOptions polar;
    polar.points = {0, 0, 85, 15, 10, 10, 45, 15};
    EXPECT_EQ(Relation(polar).status, 1);
    EXPECT_EQ(ReadFile(Project()), before);

    shift.zone = "33T";
    shift.rotation = 30;
    run = Relation(shift);
    ASSERT_EQ(run.status, 0) << run.err;
    run = Relation({});
    EXPECT_NE(run.out.find("shift and rotation"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("rotation: 30 degrees"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("UTM zone: 33T"), std::string::npos) << run.out;
}

// Positions on a grid turned 25 degrees from east and shifted into UTM zone 33 north; the
// relationship is given by two points whose latitude and longitude come from GeographicLib.
TEST_F(SvyGpsTest, ExportPlacesTracksAndFiducialsInLongitudeAndLatitude) {
    const double east0 = 500123.4, north0 = 5100456.7, angle = 25.0 * std::acos(-1.0) / 180.0;
    auto utm = [&](double x, double y) {
        return std::make_pair(east0 + x * std::cos(angle) - y * std::sin(angle),
                              north0 + x * std::sin(angle) + y * std::cos(angle));
    };
    auto latLong = [&](double x, double y) {
        const auto [e, n] = utm(x, y);
        double lat, lon;
        GeographicLib::UTMUPS::Reverse(33, true, e, n, lat, lon);
        return std::make_pair(lat, lon);
    };
    Write(R"(<LineSet name="S"><Line name="L1">)" +
          DataFileXml("F", "HD+DT1", 1,
                      PositionXml("0", "0", "NA", "0") + PositionXml("30", "10", "NA", "0.25") +
                          PositionXml("6000", "2500", "NA", "1", "cm") + kOdometer +
                          R"(<FIDComment units="m" ododist="5" fileflag="C">pipe</FIDComment>)" +
                          R"(<FIDComment units="m" ododist="50" fileflag="C">far</FIDComment>)") +
          "</Line></LineSet>");
    svy_tool::ExportOptions options;
    options.latlon = true;
    Output run = Export(options);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no GPS-to-data relationship"), std::string::npos);

    const auto [lat1, lon1] = latLong(0, 0);
    const auto [lat2, lon2] = latLong(100, 50);
    svy_tool::RelationOptions relation;
    relation.points = {0, 0, lat1, lon1, 100, 50, lat2, lon2};
    ASSERT_EQ(Relation(relation).status, 0);

    run = Export(options);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("fiducial at 50 m lies outside"), std::string::npos);
    const auto collection = nlohmann::json::parse(run.out);
    ASSERT_EQ(collection["type"], "FeatureCollection");
    const auto& features = collection["features"];
    ASSERT_EQ(features.size(), 2u);
    for (const auto& feature : features) {
        EXPECT_EQ(feature["type"], "Feature");
        ASSERT_TRUE(feature["geometry"]["coordinates"].is_array());
        EXPECT_EQ(feature["properties"]["lineSet"], "S");
        EXPECT_EQ(feature["properties"]["line"], "L1");
        EXPECT_EQ(feature["properties"]["file"], "F.HD+DT1");
    }
    // Every exported [longitude, latitude] back in UTM, against the grid's own placing.
    auto expectAt = [&](const nlohmann::json& coordinates, double x, double y) {
        ASSERT_EQ(coordinates.size(), 2u);
        double e, n, gamma, k;
        int zone;
        bool north;
        GeographicLib::UTMUPS::Forward(coordinates[1].get<double>(), coordinates[0].get<double>(),
                                       zone, north, e, n, gamma, k, 33);
        const auto [expectedE, expectedN] = utm(x, y);
        EXPECT_NEAR(e, expectedE, 0.01);
        EXPECT_NEAR(n, expectedN, 0.01);
    };
    const auto& track = features[0]["geometry"];
    ASSERT_EQ(track["type"], "LineString");
    ASSERT_EQ(track["coordinates"].size(), 3u);
    expectAt(track["coordinates"][0], 0, 0);
    expectAt(track["coordinates"][1], 30, 10);
    expectAt(track["coordinates"][2], 60, 25);  // centimetres in the document
    const auto& fiducial = features[1];
    EXPECT_EQ(fiducial["geometry"]["type"], "Point");
    EXPECT_EQ(fiducial["properties"]["kind"], "fiducial");
    EXPECT_EQ(fiducial["properties"]["comment"], "pipe");
    // 5 m of 10 is file position 0.5: a third of the way from (30, 10) at 0.25 to (60, 25) at 1.
    expectAt(fiducial["geometry"]["coordinates"], 40, 15);
}

TEST_F(SvyGpsTest, ExportWritesLocalCoordinatesAsGeoJsonOrCsvToAFile) {
    svy_tool::ExportOptions options;
    Output run = Export(options);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto collection = nlohmann::json::parse(run.out);
    ASSERT_EQ(collection["features"].size(), 1u);  // line B has no positions
    const auto& track = collection["features"][0];
    EXPECT_EQ(track["geometry"]["coordinates"], nlohmann::json::parse("[[0,0],[1,0]]"));
    EXPECT_EQ(track["properties"]["unit"], "m");
    EXPECT_EQ(track["properties"]["lineSet"], "");

    ASSERT_EQ(Fiducials("-", "A", "N,2.5,a \"quoted\", text\n").status, 0);
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
