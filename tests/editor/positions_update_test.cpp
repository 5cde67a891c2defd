// Positions, fiducial comments and GPS files written into a line: what the document holds
// afterwards, read back through the editor's map and through the library's data block reader.
#include <gtest/gtest.h>

#include <limits>
#include <list>
#include <string>
#include <vector>

#include "editor/editor_support.h"
#include "support/document_support.h"

namespace {

using svy3_test::DataFileXml;
using svy3_test::PositionXml;
using svy3_test::SvyDocument;
using ZAR::SvyLineFid;
using ZAR::SvyLinePos;
using ZAR::UNIT_M;
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
    position.Set(x, y, z, UNIT_M);
    position.m_dNormalizedFilePos = normalized;
    return position;
}

class PositionsUpdateTest : public svy3_test::EditorWriteTest {
  protected:
    void Load(const std::string& line) {
        LoadData(svy3_test::SettingsChildren().Xml() + line);
        m_editor.m_bCompactNumbers = false;
    }
    void GotoLine() {
        ASSERT_TRUE(m_editor.GotoNode("/ZAR_SVY/Data", false));
        ASSERT_TRUE(m_editor.FindSubnode("Line", "", ""));
    }
    // Attributes `attributes` of every `name` child of each DataFile of the line, as
    // "ext:a=v,b=v" ("#" for the element's text); the cursor ends on the line.
    std::vector<std::string> Children(const std::string& name,
                                      const std::vector<const char*>& attributes) {
        std::vector<std::string> found;
        bool first = true;
        while (m_editor.NextNode(first, "DataFile")) {
            std::string ext;
            m_editor.GetNodeTxt(ext, "ext");
            if (m_editor.ChildNode(name.c_str(), ZAR::GpzSvy::eGpzFind)) {
                bool sibling = false;
                do {
                    std::string entry = ext + ":";
                    for (const char* attribute : attributes) {
                        std::string value = "?";
                        m_editor.GetNodeTxt(value, *attribute == '#' ? nullptr : attribute);
                        entry += std::string(attribute) + "=" + value + ",";
                    }
                    found.push_back(entry);
                } while (m_editor.NextNode(sibling, name.c_str()));
                m_editor.ParentNode(nullptr);
            }
        }
        if (!first)
            m_editor.ParentNode(nullptr);
        return found;
    }
    int DataFileCount() {
        int count = 0;
        bool first = true;
        while (m_editor.NextNode(first, "DataFile"))
            ++count;
        if (!first)
            m_editor.ParentNode(nullptr);
        return count;
    }
    // Saves, reloads into a fresh editor and gives the map's positions per file path.
    std::map<std::string, std::vector<SvyLinePos>> Reloaded() {
        EXPECT_TRUE(m_editor.Save(nullptr));
        svy3_test::OpenEditor fresh;
        EXPECT_EQ(fresh.Load(Path().c_str()), 1);
        std::map<std::string, std::vector<SvyLinePos>> files;
        svy3_test::ForEachMapFile(fresh, [&](auto, auto, auto file) {
            files[file->first.filename().string()] = {fresh.BeginPos(file), fresh.EndPos(file)};
        });
        return files;
    }
    // The line's radar pair as the library's data block reader sees the saved document.
    const ZAR::CSvyDataBlock_V110::CDataFile* RadarPairReadBack() {
        const ZAR::CSvyDataBlock_V110* block = ReadBack();
        if (!block)
            return nullptr;
        const auto& line = *block->m_lines.at(0);
        const int32_t extension = line.GetExtension("HD+DT1");
        return extension < 0 ? nullptr : line.m_extensions[extension]->m_files.at(0).get();
    }
};

// X, Y, Z (NaN for none) and normalized file position of each position, in metres.
std::string Summary(const std::vector<SvyLinePos>& positions) {
    std::string text;
    for (const SvyLinePos& p : positions)
        text += svy3_test::Join(p.X(UNIT_M), p.Y(UNIT_M), p.Z(UNIT_M), p.m_dNormalizedFilePos);
    return text;
}

TEST_F(PositionsUpdateTest, PositionsAndFiducialsReplaceTheOldAndReadBackEverywhere) {
    Load(R"(<Line name="L1">)" +
         RadarPair(PositionXml("9", "9", "9", "0") + PositionXml("8", "8", "8", "1") +
                   R"(<FIDComment units="m" ododist="3" fileflag="D">old</FIDComment>)") +
         "</Line>");
    const std::vector<SvyLinePos> positions = {Pos(1000.125, -2.5, 101.75, 0),
                                               Pos(1003.0625, 7.25, kNaN, 0.4),
                                               Pos(1010.5, 12.0, 99.5, 1)};
    // Any container of fiducials will do: a list here. Codes beyond 2 are all "N".
    std::list<SvyLineFid> fids = {{0, 1.5, "start"},  {1, 4.25, "road"}, {2, 8, "pipe"},
                                  {7, 12.5, "other"}, {-1, 15, ""},      {3, 19.75, "end"}};
    GotoLine();
    ASSERT_TRUE(m_editor.SetPos(positions.begin(), positions.end()));
    EXPECT_TRUE(m_editor.IsNode("Line"));
    ASSERT_TRUE(m_editor.SetFids(ZAR::SvyLineFidIterator(fids.begin()),
                                 ZAR::SvyLineFidIterator(fids.end())));
    EXPECT_TRUE(m_editor.IsNode("Line"));

    EXPECT_EQ(Children("Position", {"X", "Y", "Z", "units", "normalized_file_pos"}),
              (std::vector<std::string>{
                  "HD+DT1:X=1000.125,Y=-2.5,Z=101.75,units=m,normalized_file_pos=0,",
                  "HD+DT1:X=1003.0625,Y=7.25,Z=NA,units=m,normalized_file_pos=0.40000000000000002,",
                  "HD+DT1:X=1010.5,Y=12,Z=99.5,units=m,normalized_file_pos=1,"}));
    EXPECT_EQ(Children("FIDComment", {"units", "ododist", "fileflag", "#"}),
              (std::vector<std::string>{"HD+DT1:units=m,ododist=1.5,fileflag=D,#=start,",
                                        "HD+DT1:units=m,ododist=4.25,fileflag=C,#=road,",
                                        "HD+DT1:units=m,ododist=8,fileflag=I,#=pipe,",
                                        "HD+DT1:units=m,ododist=12.5,fileflag=N,#=other,",
                                        "HD+DT1:units=m,ododist=15,fileflag=N,#=,",
                                        "HD+DT1:units=m,ododist=19.75,fileflag=N,#=end,"}));

    EXPECT_EQ(Summary(Reloaded().at("F1.HD")), Summary(positions));

    const auto* file = RadarPairReadBack();
    ASSERT_NE(file, nullptr);
    std::string read, flags;
    for (const auto& p : file->m_positions)
        read += svy3_test::Join(p.X, p.normalizedFilePos, p.unit);
    EXPECT_EQ(read,
              svy3_test::Join(1000.125, 0, UNIT_M, 1003.0625, 0.4, UNIT_M, 1010.5, 1, UNIT_M));
    ASSERT_EQ(file->m_fidComments.size(), fids.size());
    for (const auto& fid : file->m_fidComments)
        flags += fid.fileflag;
    EXPECT_EQ(flags, "DCINNN");
    EXPECT_EQ(file->m_fidComments[1].comment, "road");
    EXPECT_DOUBLE_EQ(file->m_fidComments[5].ododist, 19.75);
}

TEST_F(PositionsUpdateTest, LinesWithoutARadarPairAreRefusedAndEmptyRangesClear) {
    Load(R"(<Line name="L1">)" + DataFileXml("F1", "sen", 1, PositionXml("1", "2", "3", "0")) +
         "</Line>");
    std::vector<SvyLinePos> none;
    std::vector<SvyLineFid> noFids;
    GotoLine();
    EXPECT_FALSE(m_editor.SetPos(none.begin(), none.end()));
    EXPECT_FALSE(m_editor.SetFids(ZAR::SvyLineFidIterator(noFids.begin()),
                                  ZAR::SvyLineFidIterator(noFids.end())));
    EXPECT_FALSE(m_editor.SetGpsFile("gps", ""));
    EXPECT_TRUE(m_editor.IsNode("Line"));
    EXPECT_EQ(Children("Position", {"X"}).size(), 1u);  // the sen file's position is untouched

    Load(R"(<Line name="L1">)" + RadarPair(PositionXml("1", "2", "3", "0")) + "</Line>");
    GotoLine();
    EXPECT_TRUE(m_editor.SetPos(none.begin(), none.end()));  // no GPS file: still true
    EXPECT_TRUE(m_editor.SetFids(ZAR::SvyLineFidIterator(noFids.begin()),
                                 ZAR::SvyLineFidIterator(noFids.end())));
    EXPECT_TRUE(Children("Position", {"X"}).empty());
    EXPECT_TRUE(Reloaded().at("F1.HD").empty());
}

TEST_F(PositionsUpdateTest, AFailedWriteIsReportedAndKeepsWhatWasWritten) {
    Load(R"(<Line name="L1">)" + RadarPair("") + "</Line>");
    const std::vector<SvyLinePos> positions = {Pos(1, 2, 3, 0), Pos(4, 5, 6, 0.5), Pos(7, 8, 9, 1)};
    GotoLine();
    m_editor.failAt = 6;  // the second position's X
    EXPECT_FALSE(m_editor.SetPos(positions.begin(), positions.end()));
    EXPECT_TRUE(m_editor.IsNode("Line"));
    const auto written = Children("Position", {"X", "Y"});
    ASSERT_EQ(written.size(), 3u);  // every Position was appended; only the first is complete
    EXPECT_EQ(written[0], "HD+DT1:X=1,Y=2,");
    EXPECT_EQ(written[1], "HD+DT1:X=?,Y=?,");
    EXPECT_EQ(written[2], "HD+DT1:X=?,Y=?,");
}

TEST_F(PositionsUpdateTest, GpsFileCopiesTheStartOfTheRadarPairAndReplacesAnEarlierOne) {
    Load(R"(<Line name="L1">)" + DataFileXml("F1", "sen", 1) +
         RadarPair(PositionXml("1", "2", "NA", "0") + PositionXml("3", "4", "5", "0.5") +
                   PositionXml("6", "7", "8", "1")) +
         "</Line>");
    GotoLine();
    ASSERT_TRUE(m_editor.SetGpsFile("track0", "gps"));
    ASSERT_TRUE(m_editor.SetGpsFile("track", "gps\\day1"));
    EXPECT_TRUE(m_editor.IsNode("Line"));
    EXPECT_EQ(Children("Position", {"X"}),
              (std::vector<std::string>{"HD+DT1:X=1,", "HD+DT1:X=3,", "HD+DT1:X=6,", "GPS:X=1,",
                                        "GPS:X=3,"}));
    EXPECT_EQ(Children("Odometer", {"end"}),
              (std::vector<std::string>{"HD+DT1:end=20,", "GPS:end=20,"}));
    EXPECT_EQ(Children("FileType", {"UID"}), (std::vector<std::string>{"GPS:UID=GPS@@@,"}));
    EXPECT_EQ(Children("FileDirPath", {"#"}), (std::vector<std::string>{"GPS:#=gps\\day1,"}));
    ASSERT_TRUE(m_editor.FindSubnode("DataFile", "ext", "GPS"));
    std::string name, seq;
    EXPECT_TRUE(m_editor.GetNodeTxt(name, "name") && m_editor.GetNodeTxt(seq, "seq"));
    EXPECT_EQ(name + "/" + seq, "track/1");
    m_editor.ParentNode(nullptr);

    // Positions now go into both files.
    const std::vector<SvyLinePos> positions = {Pos(10, 20, kNaN, 0), Pos(11, 21, 31, 1)};
    ASSERT_TRUE(m_editor.SetPos(positions.begin(), positions.end()));
    EXPECT_EQ(
        Children("Position", {"X", "Z", "normalized_file_pos"}),
        (std::vector<std::string>{
            "HD+DT1:X=10,Z=NA,normalized_file_pos=0,", "HD+DT1:X=11,Z=31,normalized_file_pos=1,",
            "GPS:X=10,Z=NA,normalized_file_pos=0,", "GPS:X=11,Z=31,normalized_file_pos=1,"}));
    EXPECT_EQ(Summary(Reloaded().at("F1.HD")), Summary(positions));
}

TEST_F(PositionsUpdateTest, GpsFileNeedsTwoPositionsAndAnOdometer) {
    struct Case {
        const char* what;
        std::string body;
    };
    const std::string two = PositionXml("1", "2", "3", "0") + PositionXml("4", "5", "6", "1");
    const std::vector<Case> cases = {
        {"one position", RadarPair(PositionXml("1", "2", "3", "0"))},
        {"no position", RadarPair("")},
        {"no odometer", DataFileXml("F1", "HD+DT1", 1, two)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load(R"(<Line name="L1">)" + c.body + "</Line>");
        GotoLine();
        EXPECT_FALSE(m_editor.SetGpsFile("track", "gps"));
        EXPECT_TRUE(m_editor.IsNode("Line"));
        EXPECT_EQ(DataFileCount(), 1);
        EXPECT_FALSE(m_editor.FindSubnode("DataFile", "ext", "GPS"));
    }
    // Not on a Line.
    Load(R"(<Line name="L1">)" + RadarPair(two) + "</Line>");
    ASSERT_TRUE(m_editor.GotoNode("/ZAR_SVY/Data", false));
    EXPECT_FALSE(m_editor.SetGpsFile("track", "gps"));
}

}  // namespace
