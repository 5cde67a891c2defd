// Reading the Data element into CSvyDataBlock_V110: files, settings, sequence slots, line sets,
// extents and orders, and the sample count taken from a file's header.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "support/document_support.h"
#include "support/writer_support.h"
#include "svy3/datablock/svy_data_block_v110.h"
#include "svy3/external/uid.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace {

using ZAR::CSvyDataBlock_V110;
using CLine = CSvyDataBlock_V110::CLine;
using CDataFile = CSvyDataBlock_V110::CDataFile;

// Stands in for the settings reader: a Settings element with bad="1" cannot be loaded, any other
// gives an empty block.
std::unique_ptr<ZAR::CSvySettingsBlock_V110> TestSettings(ZAR::CSVYXmlFile* file,
                                                          std::string& /*error*/) {
    std::string bad = "bad";
    if (file->GetNodeAttribute(bad) && bad == "1")
        return nullptr;
    return std::make_unique<ZAR::CSvySettingsBlock_V110>();
}

using svy3_test::DataFileElement;
using svy3_test::Join;
using testing::HasSubstr;

std::string Position(double x, double y, double t, const char* units = "m") {
    return "<Position X=\"" + std::to_string(x) + "\" Y=\"" + std::to_string(y) +
           "\" Z=\"NA\" normalized_file_pos=\"" + std::to_string(t) + "\" units=\"" + units +
           "\"/>";
}

class DataBlockReaderTest : public svy3_test::DocumentTest {
  protected:
    // Reads <ZAR_SVY><Data>body</Data></ZAR_SVY>; returns ReadSvyDataBlock's result.
    // The document is opened by `openAs` when given (a path to the same file).
    int32_t Read(const std::string& body, bool withFactory = true, std::string openAs = "") {
        svy3_test::WriteFile(
            m_dir.File("survey.svy"),
            "<ZAR_SVY version=\"1.1.0\"><Data version=\"1.1.0\">" + body + "</Data></ZAR_SVY>");
        EXPECT_EQ(m_file.Initialize(openAs.empty() ? m_dir.File("survey.svy") : openAs), 1);
        m_file.GotoChildNode("Data");
        m_block = std::make_unique<CSvyDataBlock_V110>();
        if (withFactory)
            m_block->m_pSettingsFactory = TestSettings;
        m_error.clear();
        return m_block->ReadSvyDataBlock(&m_file, m_error);
    }
    CLine& Line(size_t i) { return *m_block->m_lines.at(i); }
    // The file in `slot` of the first extension of line `line`.
    const CDataFile& File(size_t line, size_t slot = 0) {
        return *Line(line).m_extensions.at(0)->m_files.at(slot);
    }
    // Type, start X, end X, start Y, end Y, position count and direction.
    static std::string Summary(const CLine& line) {
        return Join(static_cast<int>(line.m_eType), line.m_dStartX, line.m_dEndX, line.m_dStartY,
                    line.m_dEndY, line.m_dPositionCount, line.m_cDirection);
    }
    // The lines' names, each followed by a blank.
    template <class Lines>
    static std::string Names(const Lines& lines) {
        std::string names;
        for (const auto& line : lines)
            names += line->m_strName + " ";
        return names;
    }

    std::unique_ptr<CSvyDataBlock_V110> m_block;
    std::string m_error;
};

TEST_F(DataBlockReaderTest, ReadsFilesWithConversionsAndSortedRecords) {
    ASSERT_EQ(
        Read("<DataDirPath>C:\\data\\</DataDirPath><Settings/>"
             "<Line name=\"L1\">" +
             DataFileElement(
                 "F1", "HD+DT1", 1,
                 "<SensorID>7</SensorID><SensorID>3</SensorID><FileType UID=\"COR@@@\"/>"
                 "<FileDirPath>sub</FileDirPath>" +
                     Position(1, 5, 0.5) + Position(1, 2, 0.0) + Position(1, 9, 1.0, "M") +
                     "<FIDComment ododist=\"300\" units=\"cm\" fileflag=\"Fx\">b"
                     "</FIDComment><FIDComment ododist=\"1\" units=\"m\">a</FIDComment>"
                     "<Odometer start=\"100\" end=\"500\" step=\"5\" units=\"cm\"/>") +
             "</Line><Line name=\"L2\"><LinearRef ododist=\"0\" refdist=\"10\" reflateral=\"1\" "
             "units=\"m\"/><LinearRef ododist=\"500\" refdist=\"200\" reflateral=\"0\" "
             "units=\"cm\"/></Line>"),
        1);
    // L1 has no LinearRef, so no converter.
    EXPECT_EQ(Join(m_error.empty(), m_block->m_strDataDir, m_block->m_settings.size(),
                   m_block->m_lines.size(), Line(0).m_strName, Line(0).m_pConverter == nullptr,
                   Line(0).m_extensions.size()),
              "1 C:\\data\\ 1 2 L1 1 1 ");
    const CDataFile& file = File(0);
    EXPECT_EQ(file.m_nFileType, static_cast<uint32_t>(ZAR::Str2UID("COR@@@")));
    EXPECT_EQ(file.m_pSettings, m_block->m_settings[0].get());
    EXPECT_THAT(file.m_sensorIDs, testing::ElementsAre(7, 3));
    EXPECT_EQ(Join(file.m_strName, file.m_strDirectory, file.m_nDim1, file.m_dOdoStart,
                   file.m_dOdoEnd, file.m_dOdoStep),
              "F1 sub 250 1 5 0.05 ");
    // Positions by normalized file position (upper-case M is not metres), comments by distance
    // (a missing file flag is the attribute's own name).
    std::string records;
    for (const auto& p : file.m_positions)
        records += Join(p.Y, p.unit);
    for (const auto& fid : file.m_fidComments)
        records += Join(fid.comment, fid.ododist, fid.fileflag);
    EXPECT_EQ(records, "2 1 5 1 9 5 a 1 f b 3 F ");

    // Distance references, sorted by odometer distance, in metres with their unit code.
    records.clear();
    for (const auto& ref : Line(1).m_linearRefs)
        records += Join(ref.ododist, ref.refdist, ref.reflateral, ref.unit);
    EXPECT_EQ(records, "0 10 1 1 5 2 0 2 ");
    ASSERT_NE(Line(1).m_pConverter, nullptr);
    // Each list sorted by itself: reference 2 pairs with odometer 0, reference 10 with 5.
    EXPECT_DOUBLE_EQ(Line(1).m_pConverter->User2Odo(2.0), 0.0);
    EXPECT_DOUBLE_EQ(Line(1).m_pConverter->User2Odo(10.0), 5.0);
}

TEST_F(DataBlockReaderTest, SettingsAreInheritedAndReported) {
    ASSERT_EQ(Read("<Settings id=\"block\"/><Line name=\"A\"><Settings/>" +
                   DataFileElement("a1", "HD+DT1", 1) +
                   DataFileElement("a2", "HD+DT1", 2, "<Settings/><Odometer units=\"m\"/>") +
                   "</Line><Line name=\"B\">" + DataFileElement("b1", "HD+DT1", 1) +
                   "<Settings bad=\"1\"/></Line><Line name=\"C\">" +
                   DataFileElement("c1", "HD+DT1", 1) + "</Line>"),
              1);
    EXPECT_EQ(m_error, "\nWarning: <Settings> could not be correctly loaded.");
    ASSERT_EQ(m_block->m_settings.size(), 3u);  // block, line A, file a2
    const auto& settings = m_block->m_settings;
    EXPECT_EQ(File(0, 0).m_pSettings, settings[1].get());
    EXPECT_EQ(File(0, 1).m_pSettings, settings[2].get());
    // B's unreadable Settings took no place on the way down: C after it still finds the block's.
    EXPECT_EQ(File(1).m_pSettings, settings[0].get());
    EXPECT_EQ(File(2).m_pSettings, settings[0].get());

    // Without any settings the first file stops the reading; without a factory nothing is read or
    // reported, so the same happens.
    EXPECT_EQ(Read("<Line name=\"L\">" + DataFileElement("lonely", "HD+DT1", 1) + "</Line>"), 0);
    EXPECT_EQ(m_error, "\nError: Cannot find corresponding settings for filelonely");
    EXPECT_EQ(Read("<Settings/><Line>" + DataFileElement("x", "HD+DT1", 1) + "</Line>", false), 0);
    EXPECT_EQ(m_error, "\nError: Cannot find corresponding settings for filex");
}

TEST_F(DataBlockReaderTest, SequenceSlotsPairingAndRefusals) {
    const std::string hd = DataFileElement("P", ".hd", 1, "<FileType UID=\"COR@@@\"/>");
    const std::string dt1 = DataFileElement("P", ".DT1", 1, "<FileType UID=\"COR@@@\"/>");
    const std::string other = DataFileElement("P", ".DT1", 1, "<FileType UID=\"XYZ@@@\"/>");
    ASSERT_EQ(Read("<Settings/><Line name=\"paired\">" + hd + dt1 + "</Line><Line name=\"apart\">" +
                   hd + other + "</Line><Line name=\"gaps\">" + DataFileElement("g1", "HD+DT1", 1) +
                   DataFileElement("g3", "hd+dt1", 3) + "</Line>"),
              1)
        << m_error;
    ASSERT_EQ(Line(0).m_extensions.size(), 1u);  // the emptied .hd extension is cleared
    EXPECT_EQ(Line(0).m_extensions[0]->m_strName, "HD+DT1");
    EXPECT_EQ(Line(0).m_extensions[0]->m_files[0]->m_strExt, "HD+DT1");
    ASSERT_EQ(Line(1).m_extensions.size(), 2u);
    EXPECT_EQ(Line(1).m_extensions[0]->m_strName + Line(1).m_extensions[1]->m_strName, ".hd.DT1");
    const auto& slots = Line(2).m_extensions.at(0)->m_files;
    ASSERT_EQ(slots.size(), 3u);
    EXPECT_NE(slots[0], nullptr);
    EXPECT_EQ(slots[1], nullptr);
    EXPECT_EQ(slots[2]->m_strName, "g3");

    // A taken slot (the slots themselves are checked with CExtension::AddFile below).
    EXPECT_EQ(Read("<Settings/><Line name=\"dup\">" + DataFileElement("a", "HD+DT1", 2) +
                   DataFileElement("b", "HD+DT1", 2) + "</Line>"),
              0);
    EXPECT_EQ(m_error, "\nError: Invalid file sequence in line:dup");
}

TEST_F(DataBlockReaderTest, LineSetsAreReadAndOrderedByName) {
    ASSERT_EQ(Read("<Settings/><LineSet name=\"b\"/><LineSet name=\"A\"><Line name=\"z\"/>"
                   "<Line name=\"y\"/></LineSet><LineSet name=\"a\"/><Line name=\"outside\"/>"),
              1);
    EXPECT_TRUE(m_block->m_lines.empty());  // direct lines are not read beside line sets
    std::string names;
    for (const auto& set : m_block->m_lineSets)
        names += set->m_strName + "(" + Names(set->m_lines) + ")";
    EXPECT_EQ(names, "A(y z )a()b()");
    EXPECT_EQ(Names(m_block->m_lineSets[0]->m_displayLines), "y z ");
}

TEST_F(DataBlockReaderTest, LineTypesExtentsDirectionsAndDisplayOrder) {
    ASSERT_EQ(
        Read(
            "<Settings/>"
            "<Line name=\"alongY\">" +
            DataFileElement("a", "HD+DT1", 1,
                            Position(5.0, 1, 0) + Position(5.004, 3, 0.5) + Position(4.998, 2, 1)) +
            "</Line><Line name=\"alongX\">" +
            DataFileElement("b", "HD+DT1", 1, Position(3, 7, 0) + Position(1, 7.005, 1)) +
            "</Line><Line name=\"diagonal\">" +
            DataFileElement("c", "HD+DT1", 1, Position(0, 2, 0) + Position(2, 0, 1)) +
            "</Line><Line name=\"empty\">" + DataFileElement("d", "HD+DT1", 1) +
            "</Line><Line name=\"alongY2\">" +
            DataFileElement("e", "HD+DT1", 1, Position(2, 0, 0) + Position(2, 4, 1)) + "</Line>"),
        1)
        << m_error;
    EXPECT_EQ(Summary(Line(0)), "3 4.998 5.004 1 3 3 Y ");  // more than two positions: Y
    EXPECT_EQ(Summary(Line(1)), "2 1 3 7 7.005 2 R ");      // X decreases within the file
    EXPECT_EQ(Summary(Line(2)), "0 0 2 0 2 2 N ");  // Y decreases, but only X and Y lines turn
    EXPECT_EQ(Summary(Line(3)), "3 0 0 0 0 0 N ");  // no positions
    EXPECT_EQ(Summary(Line(4)), "3 2 2 0 4 2 N ");

    // Display order: type 0, then 2, then 3 by (start X, start Y).
    EXPECT_EQ(Names(m_block->m_displayLines), "diagonal alongX empty alongY2 alongY ");
}

// Where the header of a file without DataSampleCnt is looked for, and which counts it may hold.
TEST_F(DataBlockReaderTest, CreatedSampleCountFindsHeadersWhereUsersKeepThem) {
    const std::string absolute = m_dir.File("abs");
    const struct {
        const char* what;
        bool bareName;        // the document opened by its name from its own folder
        std::string dataDir;  // DataDirPath; none when empty
        std::string header;   // where F.HD is, relative to the document's folder
        uint32_t traces;      // its trace count
        bool readable;
    } cases[] = {
        {"bare name", true, "", "F.HD", 321, true},
        {"bare name, relative data folder", true, "data\\", "data/F.HD", 40, true},
        {"relative data folder", false, "data", "data/F.HD", 41, true},
        {"absolute data folder", false, absolute + "/", "abs/F.HD", 42, true},
        {"beside the document first", false, "data\\", "F.HD", 43, true},
        {"count of 2^31", false, "", "F.HD", 0x80000000u, false},
        {"count of 2^32 - 1", false, "", "F.HD", 0xFFFFFFFFu, false},
        {"not found", false, "elsewhere\\", "data/F.HD", 44, false},
    };
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    mkdir(m_dir.File("data").c_str(), 0755);
    mkdir(absolute.c_str(), 0755);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* header : {"F.HD", "data/F.HD", "abs/F.HD"})
            std::remove(m_dir.File(header).c_str());
        ZAR::SGprParam param;
        param.NumTraces = c.traces;
        param.SamplesPerTrace = 256;
        svy3_test::SaveHeader(m_dir.File(c.header), param);
        if (c.what == std::string("beside the document first")) {
            param.NumTraces = 1;  // the one in the data folder is not taken
            svy3_test::SaveHeader(m_dir.File("data/F.HD"), param);
        }
        const std::string dataDir =
            c.dataDir.empty() ? "" : "<DataDirPath>" + c.dataDir + "</DataDirPath>";
        ASSERT_EQ(chdir(c.bareName ? m_dir.path().c_str() : cwd), 0);
        const int32_t read =
            Read(dataDir +
                     "<Settings/><Line name=\"L\"><DataFile name=\"F\" ext=\"HD+DT1\" "
                     "seq=\"1\"><Odometer start=\"0\" end=\"1\" step=\"0.1\" "
                     "units=\"m\"/></DataFile></Line>",
                 true, c.bareName ? "survey.svy" : "");
        ASSERT_EQ(chdir(cwd), 0);
        ASSERT_EQ(read, 1) << m_error;
        const std::string dim1 = c.readable ? "256" : "-1";
        const std::string dim2 = c.readable ? std::to_string(c.traces) : "-1";
        EXPECT_EQ(Join(File(0).m_nDim1, File(0).m_nDim2), Join(dim1, dim2));
        // The created element is in the in-memory document too.
        ASSERT_EQ(m_file.Save(m_dir.File("saved.svy")), 0);
        EXPECT_THAT(svy3_test::ReadFile(m_dir.File("saved.svy")),
                    HasSubstr("<DataSampleCnt dim0=\"2\" dim1=\"" + dim1 + "\" dim2=\"" + dim2 +
                              "\" dim3=\"NA\" />"));
    }
}

TEST_F(DataBlockReaderTest, MissingElementsAndTheDefaultDataFolder) {
    ASSERT_EQ(Read("<Settings/><Line name=\"L\"><DataFile name=\"F1\" ext=\"HD+DT1\" seq=\"1\"/>"
                   "<DataFile name=\"F2\" ext=\"HD+DT1\" seq=\"2\"><Odometer step=\"NA\" "
                   "units=\"m\"/></DataFile></Line>"),
              1);
    EXPECT_EQ(m_error, "\nError: Missing element: <Odometer>");
    EXPECT_EQ(File(0, 1).m_dOdoStep, 0.0);
    // Without DataDirPath the document's folder is the data folder.
    EXPECT_EQ(m_block->m_strDataDir, m_dir.path() + "\\");

    // Not on Data: nothing is read.
    m_file.GotoRootNode();
    CSvyDataBlock_V110 block;
    EXPECT_EQ(block.ReadSvyDataBlock(&m_file, m_error), 0);
}

// A DataFile's children are read in one walk and a Position's attributes in one pass over them,
// as the cursor's own reads, one attribute at a time, would make of the document: children in any
// order, a Settings after the positions, a repeated attribute (the first counts), a value too long
// for the cursor's text buffer (it reads as the attribute's name, so as 0), a number as strtod
// takes it, "NA" anywhere in Z (0), a missing unit (not metres), and positions stably sorted by
// normalized file position.
TEST_F(DataBlockReaderTest, OnePassReadsAgreeWithTheCursorsReads) {
    const std::string tooLong(300, '7');
    ASSERT_EQ(Read("<Settings/><Line name=\"L\"><DataFile name=\"F\" ext=\"HD+DT1\" seq=\"1\">"
                   "<Position X=\"1.5\" X=\"9\" Y=\"-2.25\" Z=\"3e2\" normalized_file_pos=\"0.75\" "
                   "units=\"m\"/><FIDComment ododist=\"1\" units=\"m\">c</FIDComment>"
                   "<Position units=\"ft\" normalized_file_pos=\"0.5\" Z=\"xNAx\" Y=\"" +
                   tooLong +
                   "\" X=\"0x10\"/><Odometer start=\"0\" end=\"1\" step=\"0.1\" units=\"m\"/>"
                   "<Position X=\" 1234.5\" Y=\"-0.000\" normalized_file_pos=\"0.5\"/>"
                   "<Settings/><DataSampleCnt dim0=\"2\" dim1=\"3\" dim2=\"4\" dim3=\"NA\"/>"
                   "<SensorID>5</SensorID><Position X=\"2\" normalized_file_pos=\"0.1\" "
                   "units=\"mm\" Z=\"-1.25\"/></DataFile></Line>"),
              1);
    EXPECT_EQ(m_error, "");
    const CDataFile& file = File(0);
    std::string positions;
    for (const auto& p : file.m_positions)
        positions += Join(p.X, p.Y, p.Z, p.normalizedFilePos, p.unit);
    EXPECT_EQ(positions, "2 0 -1.25 0.1 1 16 0 0 0.5 5 1234.5 -0 0 0.5 5 1.5 -2.25 300 0.75 1 ");

    // The other children, wherever they stand: the DataFile's own Settings, the sample count, the
    // sensor, the comment and the odometer.
    ASSERT_EQ(m_block->m_settings.size(), 2u);
    EXPECT_EQ(file.m_pSettings, m_block->m_settings[1].get());
    EXPECT_EQ(Join(file.m_nDim1, file.m_nDim2, file.m_dOdoStep, file.m_fidComments.size()),
              "3 4 0.1 1 ");
    EXPECT_EQ(file.m_sensorIDs, (std::vector<int32_t>{5}));
}

// A sequence number from 1 to kMaxSequence takes slot sequence - 1. Others are refused by an
// extension and, before it adds an extension, by a line; the file stays with the caller.
TEST(DataBlockAddFile, SequenceNumbersOutsideTheSlotsAreRefused) {
    using CExtension = CSvyDataBlock_V110::CExtension;
    const std::pair<int32_t, int32_t> cases[] = {
        {1, 0},
        {CExtension::kMaxSequence, CExtension::kMaxSequence - 1},
        {0, -1},
        {-1, -1},
        {CExtension::kMaxSequence + 1, -1}};
    for (const auto& [seq, slot] : cases) {
        SCOPED_TRACE(seq);
        auto file = std::make_unique<CDataFile>();
        file->m_strExt = "HD+DT1";
        file->m_nSequence = seq;
        CExtension extension("HD+DT1");
        EXPECT_EQ(extension.AddFile(file), slot);
        EXPECT_EQ(extension.m_files.size(), static_cast<size_t>(slot + 1));
        EXPECT_EQ(file == nullptr, slot >= 0);
        if (slot >= 0)
            continue;
        CLine line;
        EXPECT_EQ(line.AddFile(file), -1);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(line.m_extensions.size(), seq < 1 ? 0u : 1u);
    }
}

TEST(DataBlockTolerance, ComparesWithinTheToleranceInTheGivenUnit) {
    CSvyDataBlock_V110 block;
    EXPECT_TRUE(block.CheckStepSizeTolerance(1.0, 1.005, 1));
    EXPECT_TRUE(block.CheckStepSizeTolerance(1.005, 1.0, 1));
    EXPECT_FALSE(block.CheckStepSizeTolerance(1.0, 1.02, 1));
    EXPECT_FALSE(block.CheckStepSizeTolerance(1.02, 1.0, 1));
    EXPECT_TRUE(block.CheckStepSizeTolerance(100.0, 100.9, 2));  // 0.01 m is 1 cm
    block.SetStepSizeTolerance(0.5);
    EXPECT_TRUE(block.CheckStepSizeTolerance(1.0, 1.4, 1));
    block.SetStepSizeTolerance(0.0);  // equal values always match
    EXPECT_TRUE(block.CheckStepSizeTolerance(1.0, 1.0, 1));
}

}  // namespace
