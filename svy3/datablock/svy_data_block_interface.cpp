#include "svy3/datablock/svy_data_block_interface.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "svy3/platform/message_box.h"
#include "svy3/platform/version_text.h"
#include "svy3/settings/settings_block_v110.h"
#include "svy3/xmlfile/cursor_guard.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {

namespace {

using CLine = CSvyDataBlock_V110::CLine;
using CDataFile = CSvyDataBlock_V110::CDataFile;

constexpr int32_t kOutsideSets = -2;

const char kNoDataBlock[] = "\nError: No Datablock found!";
const char kVersionWarning[] =
    "\nWarning: The SVY Data block you are attempting to open is not supportedby the current "
    "version of the software.\nInvalid Version.  We only support 1.10 to 1.20.";
const char kMessagePrefix[] =
    "The following errors have occured while attempting to load SVY:\n(creating a new SVY file "
    "and manually importing Lines in\nSVY_Edit may solve this problem)";

// One list of lines as a lookup walks it: a set's lines by name or in display order, or the
// lines outside sets in document or display order.
class LineList {
  public:
    LineList(const std::vector<std::unique_ptr<CLine>>& owned, int32_t setIndex)
        : m_owned(&owned), m_setIndex(setIndex) {}
    LineList(const std::vector<CLine*>& view, int32_t setIndex)
        : m_view(&view), m_setIndex(setIndex) {}

    size_t size() const { return m_owned ? m_owned->size() : m_view->size(); }
    CLine* at(size_t i) const { return m_owned ? (*m_owned)[i].get() : (*m_view)[i]; }
    int32_t setIndex() const { return m_setIndex; }

  private:
    const std::vector<std::unique_ptr<CLine>>* m_owned = nullptr;
    const std::vector<CLine*>* m_view = nullptr;
    int32_t m_setIndex;
};

// Visits the lists a lookup walks, in order, until `visit` returns true; returns whether it did.
// set -1: every set, then the lines outside sets; -2: the lines outside sets only; n >= 0: set n,
// and the later sets too when `throughLast`. `display` picks the display orders instead of the
// lines by name / in document order.
template <class Visit>
bool WalkLists(const CSvyDataBlock_V110& block, int32_t set, bool throughLast, bool display,
               Visit&& visit) {
    const auto setCount = static_cast<int32_t>(block.m_lineSets.size());
    if (set == -1 || set >= 0) {
        const int32_t first = set == -1 ? 0 : set;
        const int32_t last =
            (set == -1 || throughLast) ? setCount - 1 : std::min(set, setCount - 1);
        for (int32_t s = first; s <= last; ++s) {
            const auto& lineSet = *block.m_lineSets[static_cast<size_t>(s)];
            const LineList list =
                display ? LineList(lineSet.m_displayLines, s) : LineList(lineSet.m_lines, s);
            if (visit(list))
                return true;
        }
    }
    if (set == -1 || set == kOutsideSets) {
        const LineList list = display ? LineList(block.m_displayLines, kOutsideSets)
                                      : LineList(block.m_lines, kOutsideSets);
        if (visit(list))
            return true;
    }
    return false;
}

bool Matches(const CLine& line, ELineType type) {
    return type == eLineAny || line.m_eType == type;
}

// Visits the lines that match `type` across the walked lists, with their index within their list
// and their set index, until `visit` returns true; returns whether it did.
template <class Visit>
bool WalkLines(const CSvyDataBlock_V110& block, int32_t set, bool throughLast, bool display,
               ELineType type, Visit&& visit) {
    return WalkLists(block, set, throughLast, display, [&](const LineList& list) {
        for (size_t i = 0; i < list.size(); ++i) {
            CLine* line = list.at(i);
            if (Matches(*line, type) && visit(*line, static_cast<int32_t>(i), list.setIndex()))
                return true;
        }
        return false;
    });
}

// The n-th line matching `type`; null when there is none.
struct FoundLine {
    CLine* line = nullptr;
    int32_t index = 0;
    int32_t setIndex = 0;
};

FoundLine FindLine(const CSvyDataBlock_V110& block, int32_t n, int32_t set, bool throughLast,
                   bool display, ELineType type) {
    FoundLine found;
    if (n < 0)
        return found;
    int32_t running = 0;
    WalkLines(block, set, throughLast, display, type,
              [&](CLine& line, int32_t index, int32_t setIndex) {
                  if (running++ != n)
                      return false;
                  found = {&line, index, setIndex};
                  return true;
              });
    return found;
}

int32_t SlotCount(const CLine& line) {
    size_t count = 0;
    for (const auto& extension : line.m_extensions)
        count += extension->m_files.size();
    return static_cast<int32_t>(count);
}

// The file in the given file slot of a line, counted over all extensions; null when the number is
// out of range or the slot is empty.
const CDataFile* FileAtSlot(const CLine& line, int32_t file) {
    if (file < 0)
        return nullptr;
    auto remaining = static_cast<size_t>(file);
    for (const auto& extension : line.m_extensions) {
        if (remaining < extension->m_files.size())
            return extension->m_files[remaining].get();
        remaining -= extension->m_files.size();
    }
    return nullptr;
}

bool ValidType(ELineType type) {
    return type >= eLineAny && type <= eLineAlongY;
}

bool ValidSet(const CSvyDataBlock_V110& block, int32_t set) {
    return set >= kOutsideSets && set <= static_cast<int32_t>(block.m_lineSets.size());
}

void FillLineInfo(SLineInfo& info, const CLine& line, int32_t index, int32_t setIndex) {
    info.name = line.m_strName;
    info.type = line.m_eType;
    info.startX = line.m_dStartX;
    info.endX = line.m_dEndX;
    info.startY = line.m_dStartY;
    info.endY = line.m_dEndY;
    info.positionCount = line.m_dPositionCount;
    info.direction = line.m_cDirection;
    info.index = index;
    info.setIndex = setIndex;
}

// A line outside sets by its index in document order; null when out of range.
const CLine* OutsideLine(const CSvyDataBlock_V110& block, int32_t line) {
    if (line < 0 || static_cast<size_t>(line) >= block.m_lines.size())
        return nullptr;
    return block.m_lines[static_cast<size_t>(line)].get();
}

int32_t FillExtensionInfo(const CLine* line, int32_t extension, ExtensionInfo& info) {
    if (!line || extension < 0 || static_cast<size_t>(extension) >= line->m_extensions.size())
        return 0;
    const auto& ext = *line->m_extensions[static_cast<size_t>(extension)];
    info.index = extension;
    info.kind = ext.m_strName;
    info.fileCount = static_cast<int32_t>(ext.m_files.size());
    return 1;
}

int32_t FillFileInfo(const CLine* line, int32_t extension, int32_t slot, FileInfo& info) {
    if (!line || extension < 0 || static_cast<size_t>(extension) >= line->m_extensions.size())
        return 0;
    const auto& files = line->m_extensions[static_cast<size_t>(extension)]->m_files;
    if (slot < 0 || static_cast<size_t>(slot) >= files.size() || !files[static_cast<size_t>(slot)])
        return 0;
    const CDataFile& file = *files[static_cast<size_t>(slot)];
    info.name = file.m_strName;
    info.dir = file.m_strDirectory;
    info.kind = file.m_strExt;
    info.odoStart = file.m_dOdoStart;
    info.odoEnd = file.m_dOdoEnd;
    info.odoStep = file.m_dOdoStep;
    info.settings = file.m_pSettings;
    info.dim0 = file.m_nDim0;
    info.dim1 = file.m_nDim1;
    info.dim2 = file.m_nDim2;
    return 1;
}

void FillFileInfo(SFileInfo& info, const CDataFile& file, ELineType lineType) {
    info.path = file.GetPath();
    info.positions = file.m_positions.data();
    info.positionCount = static_cast<int32_t>(file.m_positions.size());
    info.kind = file.m_strExt;
    info.lineType = lineType;
    info.odoStart = file.m_dOdoStart;
    info.odoEnd = file.m_dOdoEnd;
    info.odoStep = file.m_dOdoStep;
    info.dim0 = file.m_nDim0;
    info.dim1 = file.m_nDim1;
    info.dim2 = file.m_nDim2;
    info.settings = file.m_pSettings;
}

// True when the cursor's node has no version attribute or its version equals `reference`.
bool VersionMatches(CSVYXmlFile& file, const char* reference) {
    std::string version = reference;
    int32_t overall = 0, majorCmp = 0, minorCmp = 0, revisionCmp = 0;
    if (!file.NodeVersionCompatibility(version, overall, majorCmp, minorCmp, revisionCmp))
        return true;
    return overall == 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Opening

CSvyDataBlockInterface::~CSvyDataBlockInterface() = default;

std::unique_ptr<CSvyDataBlockInterface_V110> CSvyDataBlockInterface::CreateAndInit(
    CSVYXmlFile* file, int32_t showMessages, std::string* error) {
    std::string errors;
    std::unique_ptr<CSvyDataBlockInterface_V110> result;
    if (!file) {
        if (error)
            error->clear();
        return result;
    }

    CCursorGuard cursor(*file);
    file->GotoRootNode();
    if (!file->GotoChildNode("Data")) {
        errors += kNoDataBlock;
    } else {
        if (!VersionMatches(*file, "1.2.0") && !VersionMatches(*file, "1.1.0")) {
            errors += kVersionWarning;
        }
        auto opened = std::make_unique<CSvyDataBlockInterface_V110>();
        // Initialize is protected; it is reached through this class, which declares it.
        CSvyDataBlockInterface& base = *opened;
        if (base.Initialize(file, errors))
            result = std::move(opened);
    }

    if (!errors.empty() && showMessages != 0)
        ShowMessageBox(kMessagePrefix + errors, MessageIcon::Exclamation);
    if (error)
        *error = errors;
    return result;
}

CSvyDataBlockInterface_V110::CSvyDataBlockInterface_V110() = default;
CSvyDataBlockInterface_V110::~CSvyDataBlockInterface_V110() = default;

std::unique_ptr<CSvySettingsBlock_V110> CSvyDataBlockInterface_V110::CreateSettings(
    CSVYXmlFile* file, std::string& error) {
    if (!file)
        return nullptr;
    auto settings = std::make_unique<CSvySettingsBlock_V110>();
    if (!settings->LoadSettings(file, error))
        return nullptr;
    return settings;
}

int32_t CSvyDataBlockInterface_V110::Initialize(CSVYXmlFile* file, std::string& error) {
    m_dataBlock.m_pSettingsFactory = &CSvyDataBlockInterface_V110::CreateSettings;
    if (!file)
        return 0;
    return m_dataBlock.ReadSvyDataBlock(file, error);
}

void CSvyDataBlockInterface_V110::SetStepSizeTolerance(double tolerance) {
    m_dataBlock.SetStepSizeTolerance(tolerance);
}

int32_t CSvyDataBlockInterface_V110::CompareLines(const LineInfo& first, const LineInfo& second) {
    return first.lateralOffset < second.lateralOffset ? 1 : 0;
}

bool CSvyDataBlockInterface_V110::IsGPRData(const std::string& kind) {
    std::string upper = kind;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find("DT1") != std::string::npos;
}

// ---------------------------------------------------------------------------------------------
// Lookups of the virtual interface

std::string CSvyDataBlockInterface_V110::GetDataDir() {
    return m_dataBlock.m_strDataDir;
}

int32_t CSvyDataBlockInterface_V110::GetNumLines(int32_t set, ELineType type) {
    int32_t count = 0;
    WalkLines(m_dataBlock, set, false, false, type, [&](CLine&, int32_t, int32_t) {
        ++count;
        return false;
    });
    return count;
}

int32_t CSvyDataBlockInterface_V110::GetLineInfo(int32_t line, LineInfo& info) {
    const CLine* found = OutsideLine(m_dataBlock, line);
    if (!found)
        return 0;
    info.index = line;
    info.name = found->m_strName;
    info.extensionCount = static_cast<int32_t>(found->m_extensions.size());
    info.converter = found->m_pConverter.get();
    info.lateralOffset = found->m_linearRefs.empty() ? 0.0 : found->m_linearRefs[0].reflateral;
    return 1;
}

int32_t CSvyDataBlockInterface_V110::GetExtensionInfo(int32_t line, int32_t extension,
                                                      ExtensionInfo& info) {
    return FillExtensionInfo(OutsideLine(m_dataBlock, line), extension, info);
}

int32_t CSvyDataBlockInterface_V110::GetExtensionInfo(int32_t line, const std::string& kind,
                                                      ExtensionInfo& info) {
    const CLine* found = OutsideLine(m_dataBlock, line);
    if (!found)
        return 0;
    return FillExtensionInfo(found, found->GetExtension(kind), info);
}

int32_t CSvyDataBlockInterface_V110::GetFileInfo(int32_t line, int32_t extension, int32_t slot,
                                                 FileInfo& info) {
    return FillFileInfo(OutsideLine(m_dataBlock, line), extension, slot, info);
}

int32_t CSvyDataBlockInterface_V110::GetFileInfo(int32_t line, const std::string& kind,
                                                 int32_t slot, FileInfo& info) {
    const CLine* found = OutsideLine(m_dataBlock, line);
    if (!found)
        return 0;
    return FillFileInfo(found, found->GetExtension(kind), slot, info);
}

int32_t CSvyDataBlockInterface_V110::GetLine(SLineInfo& info, int32_t n, int32_t set,
                                             ELineType type, int32_t order) {
    const FoundLine found = FindLine(m_dataBlock, n, set, true, order != 1, type);
    if (!found.line)
        return 0;
    FillLineInfo(info, *found.line, found.index, found.setIndex);
    return 1;
}

int32_t CSvyDataBlockInterface_V110::GetLineSet(SLineSetInfo& info, int32_t set) {
    if (set < 0 || static_cast<size_t>(set) >= m_dataBlock.m_lineSets.size())
        return 0;
    info.name = m_dataBlock.m_lineSets[static_cast<size_t>(set)]->m_strName;
    info.index = set;
    info.values[0] = info.values[1] = info.values[2] = 0.0;
    info.values[6] = 1.0;
    info.values[7] = info.values[8] = 0.0;
    return 0;
}

int32_t CSvyDataBlockInterface_V110::GetSetCount() {
    return static_cast<int32_t>(m_dataBlock.m_lineSets.size());
}

// ---------------------------------------------------------------------------------------------
// Lookups by running number

int32_t CSvyDataBlockInterface_V110::GetLineInfo(SLineInfo& info, int32_t n, ELineType type,
                                                 int32_t set, int32_t order) {
    if (n < 0 || !ValidType(type) || !ValidSet(m_dataBlock, set) || (order != 1 && order != 2))
        return -1;
    const FoundLine found = FindLine(m_dataBlock, n, set, true, order == 1, type);
    if (!found.line)
        return 0;
    FillLineInfo(info, *found.line, found.index, found.setIndex);
    return 1;
}

int32_t CSvyDataBlockInterface_V110::GetLineAddress(int32_t* line, ELineType* type, int32_t* set,
                                                    int32_t order) {
    if (!line || !type || !set || *line < 0 || !ValidType(*type) || !ValidSet(m_dataBlock, *set) ||
        (order != 1 && order != 2))
        return -1;
    const FoundLine found = FindLine(m_dataBlock, *line, *set, true, order == 1, *type);
    if (!found.line)
        return 0;
    *line = found.index;
    *type = found.line->m_eType;
    *set = found.setIndex;
    return 1;
}

int32_t CSvyDataBlockInterface_V110::GetFileCount(int32_t line, int32_t set, ELineType type,
                                                  int32_t order) {
    const bool display = order != 2;
    if (line == -1) {
        int32_t count = 0;
        WalkLines(m_dataBlock, set, false, display, type, [&](CLine& each, int32_t, int32_t) {
            count += SlotCount(each);
            return false;
        });
        return count;
    }
    const FoundLine found = FindLine(m_dataBlock, line, set, false, display, type);
    return found.line ? SlotCount(*found.line) : 0;
}

int32_t CSvyDataBlockInterface_V110::GetFileInfo(SFileInfo& info, int32_t file, int32_t line,
                                                 ELineType type, int32_t set, int32_t order) {
    if (file < 0 || line < -1 || !ValidType(type) || !ValidSet(m_dataBlock, set) ||
        (order != 1 && order != 2))
        return -1;
    const bool display = order == 1;
    // Order 2 numbers the lines of every type; only lines of the type offer files.
    const ELineType lineFilter = display ? type : eLineAny;

    const CLine* owner = nullptr;
    const CDataFile* found = nullptr;
    if (line == -1) {
        int32_t running = 0;
        WalkLines(m_dataBlock, set, true, display, type, [&](CLine& each, int32_t, int32_t) {
            const int32_t slots = SlotCount(each);
            if (file < running + slots) {
                owner = &each;
                found = FileAtSlot(each, file - running);
                return true;
            }
            running += slots;
            return false;
        });
    } else {
        const FoundLine byNumber = FindLine(m_dataBlock, line, set, true, display, lineFilter);
        if (byNumber.line && Matches(*byNumber.line, type)) {
            owner = byNumber.line;
            found = FileAtSlot(*owner, file);
        }
    }
    if (!found || found->m_positions.empty())
        return 0;
    FillFileInfo(info, *found, owner->m_eType);
    return 1;
}

int32_t CSvyDataBlockInterface_V110::GetFileAddress(int32_t* file, int32_t* line, ELineType* type,
                                                    int32_t* set, int32_t order) {
    if (!file || !line || !type || !set || *file < 0 || *line < 0 || !ValidType(*type) ||
        !ValidSet(m_dataBlock, *set) || (order != 1 && order != 2))
        return -1;
    const int32_t target = *file;
    const int32_t skip = *line;
    const ELineType filter = *type;
    int32_t running = 0;
    int32_t result = 0;
    WalkLists(m_dataBlock, *set, true, order == 1, [&](const LineList& list) {
        int32_t passed = 0;
        for (size_t i = 0; i < list.size(); ++i) {
            const CLine& each = *list.at(i);
            const bool matches = Matches(each, filter);
            if (passed < skip) {
                if (order == 2 || matches)
                    ++passed;
                continue;
            }
            if (!matches)
                continue;
            const int32_t slots = SlotCount(each);
            if (target < running + slots) {
                int32_t slot = target - running;
                for (const auto& extension : each.m_extensions) {
                    const auto size = static_cast<int32_t>(extension->m_files.size());
                    if (slot < size)
                        break;
                    slot -= size;
                }
                *file = slot;
                *line = static_cast<int32_t>(i);
                *type = each.m_eType;
                *set = list.setIndex();
                result = target + 1;
                return true;
            }
            running += slots;
        }
        return false;
    });
    return result;
}

bool CSvyDataBlockInterface_V110::GetFidComment(CSvyDataBlock_V110::CDataFile::SFidComment& comment,
                                                int32_t set, int32_t line, int32_t file,
                                                int32_t commentIndex, ELineType type,
                                                int32_t order) {
    if (commentIndex < 0)
        return false;
    const FoundLine found = FindLine(m_dataBlock, line, set, true, order != 2, type);
    if (!found.line)
        return false;
    const CDataFile* dataFile = FileAtSlot(*found.line, file);
    if (!dataFile || static_cast<size_t>(commentIndex) >= dataFile->m_fidComments.size())
        return false;
    comment = dataFile->m_fidComments[static_cast<size_t>(commentIndex)];
    return true;
}

}  // namespace ZAR

extern "C" void SVYDataBlockInterfaceRM_GetVerStr(char* buffer, int32_t size) {
    ZAR::platform::CopyVersionTextTruncated(
        "SVYDataBlockInterfaceRM\t1.1.0.0\tVersion 1 Release 1\t2005-02-07\tSVY3-DATABLOCK-QUERY",
        buffer, size);
}
