// Positions, fiducial comments and GPS files written into a line: what the saved document holds
// afterwards.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <list>
#include <regex>
#include <string>
#include <vector>

#include "editor/editor_support.h"
#include "support/document_support.h"

namespace {

using svy3_test::DataFileXml;
using svy3_test::PositionXml;
using svy3_test::Saved;
using ZAR::SvyLineFid;
using ZAR::SvyLinePos;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

const char kOdometer[] = R"(<Odometer start="0" end="20" step="0.05" units="m"/>)";

// A radar pair with counts, an odometer and the given body.
std::string RadarPair(const std::string& body) {
    return DataFileXml("F1", "HD+DT1", 1,
                       R"(<DataSampleCnt dim0="2" dim1="200" dim2="400" dim3="NA"/>)" +
                           std::string(kOdometer) + body);
}

SvyLinePos Pos(double x, double y, double z, double normalized) {
    SvyLinePos position;
    position.Set(x, y, z, ZAR::UNIT_M);
    position.m_dNormalizedFilePos = normalized;
    return position;
}

class PositionsUpdateTest : public svy3_test::EditorWriteTest {
  protected:
    // Loads a document whose one line holds `files`; the cursor stands on the line.
    void Load(const std::string& files) {
        LoadData(svy3_test::SettingsChildren().Xml() + R"(<Line name="L1">)" + files + "</Line>");
        m_editor.m_bCompactNumbers = false;
        ASSERT_TRUE(m_editor.GotoNode("/ZAR_SVY/Data/Line", false));
    }
    // The saved document's `name` elements in document order, each DataFile marked "[ext]".
    std::string Elements(const std::string& name) {
        const std::string text = Saved(m_editor);
        const std::regex pattern("<DataFile [^>]*ext=\"([^\"]*)\"|<" + name +
                                 "\\b[^>]*?(/>|>[^<]*</" + name + ">)");
        std::string found;
        for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
            found += (*it)[1].matched ? "[" + (*it)[1].str() + "]" : it->str();
        return found;
    }
    bool SetFids(std::list<SvyLineFid> fids) {
        return m_editor.SetFids(ZAR::SvyLineFidIterator(fids.begin()),
                                ZAR::SvyLineFidIterator(fids.end()));
    }
    bool SetPos(const std::vector<SvyLinePos>& positions) {
        return m_editor.SetPos(positions.begin(), positions.end());
    }
};

TEST_F(PositionsUpdateTest, PositionsAndFiducialsReplaceTheOld) {
    Load(RadarPair(PositionXml("9", "9", "9", "0") + PositionXml("8", "8", "8", "1") +
                   R"(<FIDComment units="m" ododist="3" fileflag="D">old</FIDComment>)"));
    ASSERT_TRUE(SetPos({Pos(1000.125, -2.5, 101.75, 0), Pos(1003.0625, 7.25, kNaN, 0.4),
                        Pos(1010.5, 12.0, 99.5, 1)}));
    EXPECT_TRUE(m_editor.IsNode("Line"));
    // Any container of fiducials will do: a list here. Codes beyond 2 are all "N".
    ASSERT_TRUE(SetFids({{0, 1.5, "start"},
                         {1, 4.25, "road"},
                         {2, 8, "pipe"},
                         {7, 12.5, "other"},
                         {-1, 15, ""},
                         {3, 19.75, "end"}}));
    EXPECT_TRUE(m_editor.IsNode("Line"));

    EXPECT_EQ(Elements("Position"),
              R"([HD+DT1]<Position X="1000.125" Y="-2.5" Z="101.75" units="m" )"
              R"(normalized_file_pos="0"/><Position X="1003.0625" Y="7.25" Z="NA" units="m" )"
              R"(normalized_file_pos="0.40000000000000002"/><Position X="1010.5" Y="12" )"
              R"(Z="99.5" units="m" normalized_file_pos="1"/>)");
    EXPECT_EQ(Elements("FIDComment"),
              R"([HD+DT1]<FIDComment units="m" ododist="1.5" fileflag="D">start</FIDComment>)"
              R"(<FIDComment units="m" ododist="4.25" fileflag="C">road</FIDComment>)"
              R"(<FIDComment units="m" ododist="8" fileflag="I">pipe</FIDComment>)"
              R"(<FIDComment units="m" ododist="12.5" fileflag="N">other</FIDComment>)"
              R"(<FIDComment units="m" ododist="15" fileflag="N"></FIDComment>)"
              R"(<FIDComment units="m" ododist="19.75" fileflag="N">end</FIDComment>)");
}

TEST_F(PositionsUpdateTest, LinesWithoutARadarPairAreRefusedAndEmptyRangesClear) {
    Load(DataFileXml("F1", "sen", 1, PositionXml("1", "2", "3", "0")));
    const std::string before = Saved(m_editor);
    EXPECT_FALSE(SetPos({}));
    EXPECT_FALSE(SetFids({}));
    EXPECT_FALSE(m_editor.SetGpsFile("gps", ""));
    EXPECT_TRUE(m_editor.IsNode("Line"));
    EXPECT_EQ(Saved(m_editor), before);

    Load(
        RadarPair(PositionXml("1", "2", "3", "0") + R"(<FIDComment ododist="3">old</FIDComment>)"));
    EXPECT_TRUE(SetPos({}));  // no GPS file: still true
    EXPECT_TRUE(SetFids({}));
    EXPECT_EQ(Elements("Position") + Elements("FIDComment"), "[HD+DT1][HD+DT1]");
}

TEST_F(PositionsUpdateTest, AFailedWriteIsReportedAndKeepsWhatWasWritten) {
    Load(RadarPair(""));
    m_editor.failAt = 6;  // the second position's X
    EXPECT_FALSE(SetPos({Pos(1, 2, 3, 0), Pos(4, 5, 6, 0.5), Pos(7, 8, 9, 1)}));
    EXPECT_TRUE(m_editor.IsNode("Line"));
    // Every Position was appended; only the first is complete.
    EXPECT_EQ(Elements("Position"), R"([HD+DT1]<Position X="1" Y="2" Z="3" units="m" )"
                                    R"(normalized_file_pos="0"/><Position/><Position/>)");
}

TEST_F(PositionsUpdateTest, GpsFileCopiesTheStartOfTheRadarPairAndReplacesAnEarlierOne) {
    Load(DataFileXml("F1", "sen", 1) +
         RadarPair(PositionXml("1", "2", "NA", "0") + PositionXml("3", "4", "5", "0.5") +
                   PositionXml("6", "7", "8", "1")));
    ASSERT_TRUE(m_editor.SetGpsFile("track0", "gps"));
    ASSERT_TRUE(m_editor.SetGpsFile("track", "gps\\day1"));
    EXPECT_TRUE(m_editor.IsNode("Line"));
    EXPECT_THAT(
        Saved(m_editor),
        testing::EndsWith(R"(<DataFile name="track" ext="GPS" seq="1"><FileType UID="GPS@@@"/>)"
                          R"(<FileDirPath>gps\day1</FileDirPath>)" +
                          PositionXml("1", "2", "NA", "0") + PositionXml("3", "4", "5", "0.5") +
                          kOdometer + "</DataFile></Line></Data></ZAR_SVY>"));

    // Positions now go into both files.
    ASSERT_TRUE(SetPos({Pos(10, 20, kNaN, 0), Pos(11, 21, 31, 1)}));
    const std::string positions =
        R"(<Position X="10" Y="20" Z="NA" units="m" normalized_file_pos="0"/>)"
        R"(<Position X="11" Y="21" Z="31" units="m" normalized_file_pos="1"/>)";
    EXPECT_EQ(Elements("Position"), "[sen][HD+DT1]" + positions + "[GPS]" + positions);
}

TEST_F(PositionsUpdateTest, GpsFileNeedsTwoPositionsAndAnOdometerOnALine) {
    const std::string two = PositionXml("1", "2", "3", "0") + PositionXml("4", "5", "6", "1");
    const struct {
        const char* what;
        std::string files;
        const char* node;  // where the cursor stands
    } cases[] = {
        {"one position", RadarPair(PositionXml("1", "2", "3", "0")), "Line"},
        {"no position", RadarPair(""), "Line"},
        {"no odometer", DataFileXml("F1", "HD+DT1", 1, two), "Line"},
        {"not on a line", RadarPair(two), "Data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.files);
        if (c.node == std::string("Data"))
            m_editor.ParentNode(nullptr);
        const std::string before = Saved(m_editor);
        EXPECT_FALSE(m_editor.SetGpsFile("track", "gps"));
        EXPECT_TRUE(m_editor.IsNode(c.node));
        EXPECT_EQ(Saved(m_editor), before);
    }
}

}  // namespace
