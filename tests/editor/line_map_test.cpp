// The editor's line map (orders, pairs, sequences, positions and units), Dump and the path
// navigation.
#include <gtest/gtest.h>

#include <sstream>

#include "editor/editor_support.h"

namespace {

using svy3_test::DataFileXml;
using svy3_test::EditorFixture;
using svy3_test::PositionXml;
using svy3_test::SvyDocument;

class LineMapTest : public EditorFixture, public testing::Test {
  protected:
    // The map as Dump prints it.
    std::string Dump() const {
        std::ostringstream out;
        m_editor.Dump(out);
        return out.str();
    }
    // The positions of every file, in map order.
    std::vector<ZAR::SvyLinePos> Positions() const {
        std::vector<ZAR::SvyLinePos> positions;
        for (auto set = m_editor.Begin(); set != m_editor.End(); ++set)
            for (auto line = m_editor.Begin(set); line != m_editor.End(set); ++line)
                for (auto file = m_editor.Begin(line); file != m_editor.End(line); ++file)
                    positions.insert(positions.end(), m_editor.BeginPos(file),
                                     m_editor.EndPos(file));
        return positions;
    }
    // "1" or "0" for `found`, the name of the node the cursor stands on, its name and mark
    // attributes when it has them, and a blank.
    std::string Noted(bool found) {
        std::string node, name, mark;
        m_editor.GetNodeTxt(node, "");
        m_editor.GetNodeTxt(name, "name");
        m_editor.GetNodeTxt(mark, "mark");
        return std::to_string(found) + node + (name.empty() ? "" : ":" + name) + mark + " ";
    }
    std::string Line(const std::string& name, const std::string& files) {
        return "<Line name=\"" + name + "\">" + files + "</Line>";
    }
};

TEST_F(LineMapTest, SetsLinesAndFilesAreOrderedAndPairsSplit) {
    EXPECT_EQ(Dump(), "");
    const std::string pos = PositionXml("1", "2", "NA", "0.5");
    const std::string document = SvyDocument(
        Line("b", DataFileXml("F2", "HD+DT1", 1, pos) + DataFileXml("F1", "sen", 1) +
                      DataFileXml("x-y", "HD", 1) +
                      DataFileXml("y", "HD", 1, "<FileDirPath>x</FileDirPath>")) +
            "<LineSet name=\"Set\">" + Line("Line10", DataFileXml("G", "HD", 1)) +
            Line("Line2", DataFileXml("H", "DT1", 1, "<FileDirPath>sub\\dir</FileDirPath>") +
                              DataFileXml("H", "DT1", 2)) +
            "</LineSet><LineSet name=\"A set\">" + Line("Only", DataFileXml("K", "HD", 1)) +
            "</LineSet>" + Line("B", DataFileXml("Z", "HD", 1)) + Line("Empty", ""),
        "/d");
    EXPECT_EQ(Load(document), -1);  // H with seq 2 is left out
    // Paths order element by element: x/y before x-y.
    EXPECT_EQ(Dump(),
              "[][B][/d/Z.HD]\n[][b][/d/F1.sen]\n[][b][/d/F2.DT1]\n[][b][/d/F2.HD](1,2,nan,0,0)\n"
              "[][b][/d/x/y.HD]\n[][b][/d/x-y.HD]\n[A set][Only][/d/K.HD]\n"
              "[Set][Line10][/d/G.HD]\n[Set][Line2][/d/sub/dir/H.DT1]\n");
}

TEST_F(LineMapTest, PositionsAreSortedStablyAndOutOfRangeFilePositionsCountAsZero) {
    const std::string positions =
        PositionXml("1", "0", "NA", "0.9") + PositionXml("2", "0", "0", "1.5") +
        PositionXml("3", "0", "0", "1") + PositionXml("4", "0", "0", "-0.0001") +
        PositionXml("5", "0", "0", "nan") + PositionXml("6", "0", "-1.5", "0.25");
    ASSERT_EQ(Load(SvyDocument(Line("L", DataFileXml("A", "HD+DT1", 1, positions)), "/d")), 1);
    EXPECT_EQ(Dump(),
              "[][L][/d/A.DT1]\n[][L][/d/A.HD](2,0,0,0,0)(4,0,0,0,0)(5,0,0,0,0)(6,0,-1.5,0,0)"
              "(1,0,nan,0,0)(3,0,0,0,0)\n");
    std::string normalized;
    for (const ZAR::SvyLinePos& p : Positions())
        normalized += svy3_test::Join(p.m_dNormalizedFilePos);
    EXPECT_EQ(normalized, "0 0 0 0.25 0.9 1 ");
    auto file = m_editor.Begin(m_editor.Begin(m_editor.Begin()));
    EXPECT_EQ(m_editor.Last(++file).X(ZAR::UNIT_M), 3);  // A.HD after A.DT1
}

// Numbers are read up to the first character that does not belong to one.
TEST_F(LineMapTest, TheFirstPositionSetsTheUnitAndLaterOnesAreConverted) {
    const std::string first = DataFileXml(
        "A", "HD+DT1", 1,
        PositionXml("3", "6", "NA", "0", "ft") + PositionXml("30.48", "0", "-30.48", "1", "cm"));
    const std::string second = DataFileXml("B", "HD+DT1", 1, PositionXml("1", "1", "1", "0", "m"));
    const std::string third = R"(<DataFile name="C" ext="HD+DT1" seq="1x"><FileDirPath/>)" +
                              PositionXml("1e1", "2abc", "z", "0.5x", "mm") + "</DataFile>";
    ASSERT_EQ(Load(SvyDocument(Line("L", first + second + third))), 1);
    EXPECT_EQ(m_editor.Units(), ZAR::UNIT_FT);
    std::string xyz;
    for (const ZAR::SvyLinePos& p : Positions())
        xyz += svy3_test::Join(p.X(ZAR::UNIT_M), p.Y(ZAR::UNIT_M), p.Z(ZAR::UNIT_M),
                               p.m_dNormalizedFilePos);
    // Feet kept as read; 30.48 cm is 1 ft; 1 m is 3.28083989501312 ft (15 digits); 1 mm is
    // 0.00328083989501312 ft.
    EXPECT_EQ(xyz,
              "3 6 nan 0 1 0 -1 1 3.28083989501312 3.28083989501312 3.28083989501312 0 "
              "0.0328083989501312 0.00656167979002625 0 0.5 ");

    ASSERT_EQ(Load(SvyDocument("")), 1);  // a new load forgets the unit
    EXPECT_EQ(m_editor.Units(), 0);
}

TEST_F(LineMapTest, GotoNodeWalksCreatesAndStopsWhereItFails) {
    ASSERT_EQ(Load(SvyDocument("<A><B/></A>")), 1);
    std::string walk;
    for (const auto& [path, create] : std::vector<std::pair<const char*, bool>>{
             {"/ZAR_SVY/./Data/A/B/", false},
             {"../../DataDirPath", false},
             {"/ZAR_SVY/Data/A/C/D", false},  // stops before the missing C
             {"/Other", false},
             {"/ZAR_SVY/../..", false},
             {"/ZAR_SVY/Data/A/C/D", true},
             {"/ZAR_SVY/Data/A/C/D", false}})  // created once, found now
        walk += Noted(m_editor.GotoNode(path, create));
    EXPECT_EQ(walk, "1B 1DataDirPath 0A 0#document 0#document 1D 1D ");
}

TEST_F(LineMapTest, LinesAndSetsAreFoundByNameAndAttributesMatchByteForByte) {
    ASSERT_EQ(
        Load(SvyDocument("<Line name=\"Loose\"/><LineSet name=\"S1\" k=\"x\"><Line name=\"A\"/>"
                         "</LineSet><LineSet name=\"S2\" k=\"X\"><Line name=\"A\" mark=\"2\"/>"
                         "<Line name=\"B\"/></LineSet>")),
        1);
    std::string sets;
    for (const auto& [attribute, value] : std::vector<std::pair<std::string, std::string>>{
             {"k", "X"}, {"k", "x"}, {"", ""}, {"k", ""}, {"k", "y"}, {"z", "X"}, {"name", "s2"}}) {
        ASSERT_TRUE(m_editor.GotoNode("/ZAR_SVY/Data", false));
        sets += Noted(m_editor.FindSubnode("LineSet", attribute, value));
    }
    sets += Noted(m_editor.FindSubnode("Missing", "", ""));
    EXPECT_EQ(sets, "1LineSet:S2 1LineSet:S1 1LineSet:S1 1LineSet:S1 0Data 0Data 0Data 0Data ");
    const std::string s2 = "S2", s4 = "S4";
    std::string lines;
    for (const auto& [set, line] : std::vector<std::pair<const std::string*, const char*>>{
             {&s2, "A"}, {nullptr, "A"}, {nullptr, "B"}, {&s4, "A"}, {&s2, "C"}})
        lines += Noted(m_editor.GotoLineNode(set, line));
    EXPECT_EQ(lines, "1Line:A2 1Line:A 0LineSet:S1 0Data 0LineSet:S2 ");
}

}  // namespace
