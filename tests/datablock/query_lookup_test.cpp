// Lookups of CSvyDataBlockInterface_V110 on data block models built by hand.
#include "svy3/datablock/svy_data_block_interface.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "svy3/reference/reference_converter.h"
#include "svy3/settings/settings_block_v110.h"

namespace {

using ZAR::CSvyDataBlock_V110;
using ZAR::CSvyDataBlockInterface_V110;
using ZAR::ELineType;
using CLine = CSvyDataBlock_V110::CLine;
using std::make_tuple;
using std::string;

// One file slot of an extension; an empty name is an empty slot.
struct Slot {
    string name;
    int32_t positions = 1;
    std::vector<double> fids = {};  // odometer distances of its fiducial comments
};
using Extensions = std::vector<std::pair<string, std::vector<Slot>>>;

// The query interface with a model filled by the test.
class HandBuiltBlock : public CSvyDataBlockInterface_V110 {
  public:
    CSvyDataBlock_V110& Model() { return m_dataBlock; }
};

constexpr ELineType kAny = ZAR::eLineAny;
constexpr ELineType kX = ZAR::eLineAlongX;
constexpr ELineType kY = ZAR::eLineAlongY;
constexpr auto kBadType = static_cast<ELineType>(4);

// Model used by the tests (display orders: type 0, 1, 2, 3, each by start X):
//   set 0 "A", by name: A1 (type 2), A2 (type 3), A3 (type 0); display: A3, A1, A2
//   set 1 "B", by name: B1 (type 3), B2 (type 2);               display: B2, B1
//   outside, document order: L2 (type 2), L1 (type 3), L3 (type 1); display: L3, L2, L1
// File slots (extension: slots):
//   A1  HD+DT1: A1_1 (2 fiducials), A1_2               -> 2
//   A2  HD+DT1: A2_1 | .SEN: A2_S                       -> 2
//   A3  HD+DT1: A3_1, (empty), A3_3                     -> 3
//   B1  HD+DT1: B1_1                                    -> 1
//   B2  HD+DT1: B2_1, B2_2                              -> 2
//   L2  HD+DT1: L2_1, (empty), L2_3 | .SEN: L2_S        -> 4
//   L1  HD+DT1: L1_1 (no positions)                     -> 1
//   L3  no extensions                                   -> 0
class DataBlockQueryLookup : public ::testing::Test {
  protected:
    void SetUp() override {
        auto& model = block.Model();
        model.m_strDataDir = "C:\\survey\\data\\";
        model.m_settings.push_back(std::make_unique<ZAR::CSvySettingsBlock_V110>());
        settings = model.m_settings.back().get();

        auto& a = *model.m_lineSets.emplace_back(std::make_unique<CSvyDataBlock_V110::CSetLines>());
        a.m_strName = "A";
        a.m_lines.push_back(Line("A1", kX, {{"HD+DT1", {{"A1_1", 3, {0.5, 2.0}}, {"A1_2"}}}}));
        a.m_lines.push_back(Line("A2", kY, {{"HD+DT1", {{"A2_1"}}}, {".SEN", {{"A2_S"}}}}));
        a.m_lines.push_back(
            Line("A3", ZAR::eLineUnknown, {{"HD+DT1", {{"A3_1", 1, {7.0}}, {""}, {"A3_3"}}}}));
        a.m_displayLines = {a.m_lines[2].get(), a.m_lines[0].get(), a.m_lines[1].get()};

        auto& b = *model.m_lineSets.emplace_back(std::make_unique<CSvyDataBlock_V110::CSetLines>());
        b.m_strName = "B";
        b.m_lines.push_back(Line("B1", kY, {{"HD+DT1", {{"B1_1"}}}}));
        b.m_lines.push_back(Line("B2", kX, {{"HD+DT1", {{"B2_1"}, {"B2_2"}}}}));
        b.m_displayLines = {b.m_lines[1].get(), b.m_lines[0].get()};

        model.m_lines.push_back(Line(
            "L2", kX, {{"HD+DT1", {{"L2_1"}, {""}, {"L2_3", 2, {1.0}}}}, {".SEN", {{"L2_S", 0}}}}));
        model.m_lines.push_back(Line("L1", kY, {{"HD+DT1", {{"L1_1", 0}}}}));
        model.m_lines.push_back(Line("L3", ZAR::eLineReserved, {}));
        model.m_displayLines = {model.m_lines[2].get(), model.m_lines[0].get(),
                                model.m_lines[1].get()};
    }

    std::unique_ptr<CLine> Line(const string& name, ELineType type, const Extensions& exts) {
        auto line = std::make_unique<CLine>();
        line->m_strName = name;
        line->m_eType = type;
        for (const auto& [kind, slots] : exts) {
            auto& ext = *line->m_extensions.emplace_back(
                std::make_unique<CSvyDataBlock_V110::CExtension>(kind));
            for (const Slot& slot : slots) {
                auto file = std::make_unique<CSvyDataBlock_V110::CDataFile>();
                file->m_strName = slot.name;
                file->m_strExt = kind;
                file->m_pSettings = settings;
                file->m_positions.resize(static_cast<size_t>(slot.positions));
                for (double d : slot.fids)
                    file->m_fidComments.push_back({slot.name + "@" + std::to_string(d), d, 'F'});
                ext.m_files.push_back(slot.name.empty() ? nullptr : std::move(file));
            }
        }
        return line;
    }

    // "result name set index" of GetLine (order 1 by name) or, when `numbered`, of GetLineInfo
    // by running number (order 2 by name, 1 display); a record left alone reads "? 0 0".
    string LineAt(int32_t n, int32_t set, ELineType type, int32_t order, bool numbered = false) {
        ZAR::SLineInfo info;
        info.name = "?";
        const int32_t result = numbered ? block.GetLineInfo(info, n, type, set, order)
                                        : block.GetLine(info, n, set, type, order);
        return std::to_string(result) + " " + info.name + " " + std::to_string(info.setIndex) +
               " " + std::to_string(info.index);
    }
    // Path GetFileInfo (SFileInfo) finds; otherwise its result followed by any path written.
    string FileAt(int32_t file, int32_t line, ELineType type, int32_t set, int32_t order) {
        ZAR::SFileInfo info;
        const int32_t result = block.GetFileInfo(info, file, line, type, set, order);
        return result == 1 ? info.path : std::to_string(result) + info.path;
    }

    HandBuiltBlock block;
    ZAR::CSvySettingsBlock_V110* settings = nullptr;
};

TEST_F(DataBlockQueryLookup, CountsOfLinesAndFileSlots) {
    EXPECT_EQ(block.GetSetCount(), 2);
    EXPECT_EQ(block.GetNumLines(-1, kAny), 8);
    EXPECT_EQ(block.GetNumLines(-2, kAny), 3);
    EXPECT_EQ(block.GetNumLines(0, kAny), 3);  // neither later sets nor outside lines
    EXPECT_EQ(block.GetNumLines(1, kY), 1);
    EXPECT_EQ(block.GetNumLines(-3, kAny), 0);
    EXPECT_EQ(block.GetNumLines(2, kAny), 0);
    // File slots, empty ones included; set n counts that set only.
    EXPECT_EQ(block.GetFileCount(-1, -1, kAny, 2), 15);
    EXPECT_EQ(block.GetFileCount(-1, 0, kAny, 2), 7);
    EXPECT_EQ(block.GetFileCount(-1, -2, kX, 2), 4);
    EXPECT_EQ(block.GetFileCount(2, 0, kAny, 2), 3);  // A3 by name
    EXPECT_EQ(block.GetFileCount(0, 0, kAny, 0), 3);  // A3 leads the display order
    EXPECT_EQ(block.GetFileCount(1, 0, kY, 2), 0);
    EXPECT_EQ(block.GetFileCount(3, 0, kAny, 2), 0);
}

TEST_F(DataBlockQueryLookup, LinesByRunningNumberFromTheGivenSetOnwards) {
    // GetLine, order 1: lines by name, then outside lines in document order.
    EXPECT_EQ(LineAt(3, 0, kAny, 1), "1 B1 1 0");  // n = lines of set 0 reaches set 1
    EXPECT_EQ(LineAt(5, -1, kAny, 1), "1 L2 -2 0");
    EXPECT_EQ(LineAt(2, 1, kAny, 1), "0 ? 0 0");  // set n >= 0 does not reach the outside lines
    EXPECT_EQ(LineAt(1, -2, kAny, 1), "1 L1 -2 1");
    EXPECT_EQ(LineAt(1, -1, kY, 1), "1 B1 1 0");
    EXPECT_EQ(LineAt(8, -1, kAny, 1), "0 ? 0 0");
    // Any other order: display orders, the index being the place in the display list.
    EXPECT_EQ(LineAt(2, -1, kAny, 0), "1 A2 0 2");
    EXPECT_EQ(LineAt(5, -1, kAny, 2), "1 L3 -2 0");
    EXPECT_EQ(LineAt(2, -1, kY, 7), "1 L1 -2 2");

    // GetLineInfo: order 2 by name, 1 display; it copies the whole line.
    CLine& a3 = *block.Model().m_lineSets[0]->m_lines[2];
    a3.m_dStartX = 1.5, a3.m_dEndX = 2.5, a3.m_dStartY = 3.5, a3.m_dEndY = 4.5;
    a3.m_dPositionCount = 6.0;
    a3.m_cDirection = 'R';
    ZAR::SLineInfo info;
    ASSERT_EQ(block.GetLineInfo(info, 2, kAny, 0, 2), 1);
    EXPECT_EQ(make_tuple(info.name, info.type, info.startX, info.endX, info.startY, info.endY,
                         info.positionCount, info.direction, info.index, info.setIndex),
              make_tuple(string("A3"), ZAR::eLineUnknown, 1.5, 2.5, 3.5, 4.5, 6.0, 'R', 2, 0));
    EXPECT_EQ(LineAt(5, -1, kAny, 1, true), "1 L3 -2 0");
    EXPECT_EQ(LineAt(8, -1, kAny, 2, true), "0 ? 0 0");
    EXPECT_EQ(LineAt(0, 2, kAny, 2, true), "0 ? 0 0");  // set == count: valid, holds nothing
    EXPECT_EQ(LineAt(-1, -1, kAny, 2, true), "-1 ? 0 0");
    EXPECT_EQ(LineAt(0, -1, kBadType, 2, true), "-1 ? 0 0");
    EXPECT_EQ(LineAt(0, -1, static_cast<ELineType>(-2), 2, true), "-1 ? 0 0");
    EXPECT_EQ(LineAt(0, -3, kAny, 2, true), "-1 ? 0 0");
    EXPECT_EQ(LineAt(0, 3, kAny, 2, true), "-1 ? 0 0");
    EXPECT_EQ(LineAt(0, -1, kAny, 0, true), "-1 ? 0 0");
}

TEST_F(DataBlockQueryLookup, GetLineAddressTurnsARunningNumberIntoAnAddress) {
    // "result line type set" after the call.
    auto call = [&](int32_t line, ELineType type, int32_t set, int32_t order) {
        const int32_t result = block.GetLineAddress(&line, &type, &set, order);
        return std::to_string(result) + " " + std::to_string(line) + " " + std::to_string(type) +
               " " + std::to_string(set);
    };
    EXPECT_EQ(call(4, kAny, -1, 2), "1 1 2 1");  // B2
    EXPECT_EQ(call(2, kY, -1, 1), "1 2 3 -2");   // display, type 3: A2, B1, then L1 at place 2
    EXPECT_EQ(call(3, kY, -1, 1), "0 3 3 -1");   // not found: outputs untouched
    EXPECT_EQ(call(0, kAny, -1, 0), "-1 0 -1 -1");
    EXPECT_EQ(call(-1, kAny, 0, 2), "-1 -1 -1 0");
    EXPECT_EQ(call(0, kBadType, 0, 2), "-1 0 4 0");
    EXPECT_EQ(call(0, kAny, -3, 2), "-1 0 -1 -3");
    int32_t line = 0, set = -1;
    ELineType type = kAny;
    EXPECT_EQ(block.GetLineAddress(nullptr, &type, &set, 2), -1);
    EXPECT_EQ(block.GetLineAddress(&line, nullptr, &set, 2), -1);
    EXPECT_EQ(block.GetLineAddress(&line, &type, nullptr, 2), -1);
}

TEST_F(DataBlockQueryLookup, FileRecordByRunningNumbers) {
    auto& a12 = *block.Model().m_lineSets[0]->m_lines[0]->m_extensions[0]->m_files[1];
    a12.m_strDirectory = "sub\\dir";
    a12.m_dOdoStart = 1.0, a12.m_dOdoEnd = 2.0, a12.m_dOdoStep = 0.25;
    a12.m_nDim0 = 2, a12.m_nDim1 = 512, a12.m_nDim2 = 40;
    a12.m_positions.resize(4);
    ZAR::SFileInfo info;
    ASSERT_EQ(block.GetFileInfo(info, 1, 0, kAny, 0, 2), 1);
    EXPECT_EQ(
        make_tuple(info.path, info.positions, info.positionCount, info.kind, info.lineType),
        make_tuple(string("sub\\dir\\A1_2"), a12.m_positions.data(), 4, string("HD+DT1"), kX));
    EXPECT_EQ(make_tuple(info.odoStart, info.odoEnd, info.odoStep, info.dim0, info.dim1, info.dim2),
              make_tuple(1.0, 2.0, 0.25, 2, 512, 40));
    EXPECT_EQ(info.settings, settings);

    EXPECT_EQ(FileAt(1, 1, kAny, 0, 2), "A2_S");  // file numbers run on into the next extension
    // Order 2 numbers lines of every type; a line of another type offers no file.
    EXPECT_EQ(FileAt(0, 1, kY, 0, 2), "A2_1");
    EXPECT_EQ(FileAt(0, 0, kY, 0, 2), "0");
    // Order 1 numbers only lines of the type, in display order.
    EXPECT_EQ(FileAt(0, 0, kY, 0, 1), "A2_1");
    EXPECT_EQ(FileAt(0, 1, kY, 0, 1), "B1_1");
    // Line -1: files counted across all lines, from the given set onwards.
    EXPECT_EQ(FileAt(6, -1, kAny, 0, 2), "A3_3");
    EXPECT_EQ(FileAt(7, -1, kAny, 0, 2), "B1_1");
    EXPECT_EQ(FileAt(2, -1, kY, -1, 2), "B1_1");
    EXPECT_EQ(FileAt(0, -1, kAny, -2, 1), "L2_1");  // L3 comes first in display, without files

    EXPECT_EQ(FileAt(1, 2, kAny, 0, 2), "0");   // empty slot
    EXPECT_EQ(FileAt(3, 2, kAny, 0, 2), "0");   // past the last slot
    EXPECT_EQ(FileAt(0, 1, kAny, -2, 2), "0");  // L1_1 has no positions
    EXPECT_EQ(FileAt(15, -1, kAny, -1, 2), "0");
    EXPECT_EQ(FileAt(-1, 0, kAny, 0, 2), "-1");
    EXPECT_EQ(FileAt(0, -2, kAny, 0, 2), "-1");
    EXPECT_EQ(FileAt(0, 0, kBadType, 0, 2), "-1");
    EXPECT_EQ(FileAt(0, 0, kAny, -3, 2), "-1");
    EXPECT_EQ(FileAt(0, 0, kAny, 3, 2), "-1");
    EXPECT_EQ(FileAt(0, 0, kAny, 0, 0), "-1");
}

TEST_F(DataBlockQueryLookup, GetFileAddressFindsSlotLineAndSetByRunningFileNumber) {
    // "result file line type set" after the call.
    auto call = [&](int32_t file, int32_t line, ELineType type, int32_t set, int32_t order) {
        const int32_t result = block.GetFileAddress(&file, &line, &type, &set, order);
        return std::to_string(result) + " " + std::to_string(file) + " " + std::to_string(line) +
               " " + std::to_string(type) + " " + std::to_string(set);
    };
    EXPECT_EQ(call(3, 0, kAny, -1, 2), "4 0 1 3 0");  // A2's .SEN file: slot 0 of its extension
    EXPECT_EQ(call(5, 0, kAny, -1, 2), "6 1 2 0 0");  // an empty slot has an address too
    EXPECT_EQ(call(14, 0, kAny, -1, 2), "15 0 1 3 -2");
    EXPECT_EQ(call(2, 0, kAny, 1, 2), "3 1 1 2 1");
    EXPECT_EQ(call(3, 0, kAny, 1, 2), "0 3 0 -1 1");  // set n: the outside lines are not reached
    EXPECT_EQ(call(1, 0, kY, -1, 1), "2 0 2 3 0");    // display order
    EXPECT_EQ(call(15, 0, kAny, -1, 2), "0 15 0 -1 -1");
    // *line lines are passed over at the start of each list: order 2 counts every line ...
    EXPECT_EQ(call(5, 1, kAny, -1, 2), "6 0 1 2 1");
    EXPECT_EQ(call(0, 1, kY, 0, 2), "1 0 1 3 0");
    // ... order 1 only lines of the type: passing one type-3 line per list leaves none.
    EXPECT_EQ(call(0, 1, kY, -1, 1), "0 0 1 3 -1");
    EXPECT_EQ(call(0, 1, kAny, -2, 1), "1 0 1 2 -2");  // passes L3 (display first): L2's slot

    EXPECT_EQ(call(0, 0, kAny, -1, 0), "-1 0 0 -1 -1");
    EXPECT_EQ(call(0, 0, kAny, -1, 3), "-1 0 0 -1 -1");
    EXPECT_EQ(call(-1, 0, kAny, -1, 2), "-1 -1 0 -1 -1");
    EXPECT_EQ(call(0, -1, kAny, -1, 2), "-1 0 -1 -1 -1");
    EXPECT_EQ(call(0, 0, kBadType, -1, 2), "-1 0 0 4 -1");
    EXPECT_EQ(call(0, 0, kAny, 3, 2), "-1 0 0 -1 3");
    int32_t file = 0, line = 0, set = -1;
    ELineType type = kAny;
    EXPECT_EQ(block.GetFileAddress(nullptr, &line, &type, &set, 2), -1);
    EXPECT_EQ(block.GetFileAddress(&file, nullptr, &type, &set, 2), -1);
    EXPECT_EQ(block.GetFileAddress(&file, &line, nullptr, &set, 2), -1);
    EXPECT_EQ(block.GetFileAddress(&file, &line, &type, nullptr, 2), -1);
}

TEST_F(DataBlockQueryLookup, GetFidCommentCopiesTheCommentOfALineFileSlot) {
    CSvyDataBlock_V110::CDataFile::SFidComment fid;
    ASSERT_TRUE(block.GetFidComment(fid, 0, 0, 0, 1, kAny, 2));
    EXPECT_EQ(make_tuple(fid.comment, fid.ododist, fid.fileflag),
              make_tuple("A1_1@" + std::to_string(2.0), 2.0, 'F'));
    ASSERT_TRUE(block.GetFidComment(fid, 0, 0, 0, 0, kAny, 1));  // display order: A3 first
    EXPECT_EQ(fid.ododist, 7.0);
    // Walks on into the outside lines; L2's slot 2 lies behind an empty slot.
    ASSERT_TRUE(block.GetFidComment(fid, -1, 2, 2, 0, kX, 2));
    EXPECT_EQ(fid.comment, "L2_3@" + std::to_string(1.0));

    fid.comment = "untouched";
    EXPECT_FALSE(block.GetFidComment(fid, 0, 0, 0, 2, kAny, 2));   // comment out of range
    EXPECT_FALSE(block.GetFidComment(fid, 0, 0, 0, -1, kAny, 2));  // negative comment
    EXPECT_FALSE(block.GetFidComment(fid, 0, 2, 1, 0, kAny, 2));   // empty slot
    EXPECT_FALSE(block.GetFidComment(fid, 0, 0, 2, 0, kAny, 2));   // past the last slot
    EXPECT_FALSE(block.GetFidComment(fid, 0, 8, 0, 0, kAny, 2));   // past the last line
    EXPECT_EQ(fid.comment, "untouched");
}

TEST_F(DataBlockQueryLookup, IndexedLookupsSeeOnlyOutsideLinesInDocumentOrder) {
    auto& l2 = *block.Model().m_lines[0];
    l2.m_pConverter = std::make_unique<ZAR::CReferenceConverter>();
    l2.m_linearRefs = {{0.0, 0.0, 1.5, 1}, {4.0, 3.0, 9.0, 1}};
    ZAR::LineInfo line;
    ASSERT_EQ(block.GetLineInfo(0, line), 1);
    EXPECT_EQ(make_tuple(line.index, line.name, line.extensionCount, line.lateralOffset),
              make_tuple(0, string("L2"), 2, 1.5));
    EXPECT_EQ(line.converter, l2.m_pConverter.get());
    ASSERT_EQ(block.GetLineInfo(1, line), 1);
    EXPECT_EQ(make_tuple(line.index, line.name, line.lateralOffset),
              make_tuple(1, string("L1"), 0.0));
    EXPECT_EQ(line.converter, nullptr);
    EXPECT_EQ(block.GetLineInfo(3, line), 0);

    ZAR::ExtensionInfo ext;
    ASSERT_EQ(block.GetExtensionInfo(0, ".sen", ext), 1);
    EXPECT_EQ(make_tuple(ext.index, ext.kind, ext.fileCount), make_tuple(1, string(".SEN"), 1));
    ASSERT_EQ(block.GetExtensionInfo(0, 0, ext), 1);
    EXPECT_EQ(ext.fileCount, 3);  // the empty slot counts
    EXPECT_EQ(block.GetExtensionInfo(0, 2, ext), 0);
    EXPECT_EQ(block.GetExtensionInfo(0, "GPS", ext), 0);
    EXPECT_EQ(block.GetExtensionInfo(2, 0, ext), 0);  // L3 has no extensions

    auto& l23 = *l2.m_extensions[0]->m_files[2];
    l23.m_strDirectory = "d";
    l23.m_dOdoStart = 3.0, l23.m_dOdoEnd = 4.0, l23.m_dOdoStep = 0.5;
    l23.m_nDim0 = 2, l23.m_nDim1 = 7, l23.m_nDim2 = 9;
    ZAR::FileInfo file;
    ASSERT_EQ(block.GetFileInfo(0, "hd+dt1", 2, file), 1);
    EXPECT_EQ(make_tuple(file.name, file.dir, file.kind, file.odoStart, file.odoEnd, file.odoStep,
                         file.dim0, file.dim1, file.dim2, file.settings),
              make_tuple(string("L2_3"), string("d"), string("HD+DT1"), 3.0, 4.0, 0.5, 2, 7, 9,
                         settings));
    EXPECT_EQ(block.GetFileInfo(0, 0, 1, file), 0);  // empty slot
    EXPECT_EQ(block.GetFileInfo(0, 0, 3, file), 0);  // just past the last slot
    EXPECT_EQ(block.GetFileInfo(0, "gps", 0, file), 0);
    EXPECT_EQ(block.GetFileInfo(3, "HD+DT1", 0, file), 0);  // no fourth line outside sets
    ASSERT_EQ(block.GetFileInfo(0, ".Sen", 0, file), 1);
    EXPECT_EQ(file.name, "L2_S");

    // A block whose lines all sit in sets has nothing to offer here.
    block.Model().m_displayLines.clear();
    block.Model().m_lines.clear();
    EXPECT_EQ(block.GetLineInfo(0, line), 0);
}

TEST_F(DataBlockQueryLookup, LineSetRecordFileKindsAndLineOrder) {
    ZAR::SLineSetInfo set;
    for (int i = 0; i < 9; ++i)
        set.values[i] = 100.0 + i;
    EXPECT_EQ(block.GetLineSet(set, 1), 0);  // always 0, filled or not
    EXPECT_EQ(make_tuple(set.name, set.index), make_tuple(string("B"), 1));
    EXPECT_EQ(std::vector<double>(set.values, set.values + 9),
              (std::vector<double>{0.0, 0.0, 0.0, 103.0, 104.0, 105.0, 1.0, 0.0, 0.0}));
    EXPECT_EQ(block.GetLineSet(set, 2), 0);
    EXPECT_EQ(set.name, "B");

    EXPECT_TRUE(CSvyDataBlockInterface_V110::IsGPRData(".dt1"));
    EXPECT_FALSE(CSvyDataBlockInterface_V110::IsGPRData(".hd"));
    ZAR::LineInfo near, far;
    near.lateralOffset = 0.5;
    far.lateralOffset = 1.0;
    EXPECT_EQ(CSvyDataBlockInterface_V110::CompareLines(near, far), 1);
    EXPECT_EQ(CSvyDataBlockInterface_V110::CompareLines(far, near), 0);
    EXPECT_EQ(CSvyDataBlockInterface_V110::CompareLines(near, near), 0);
}

}  // namespace
