// CSvyDataBlock_V110::CDataFile: one DataFile element.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "svy3/datablock/ordering.h"
#include "svy3/datablock/svy_data_block_v110.h"
#include "svy3/external/gpr_param.h"
#include "svy3/external/measure.h"
#include "svy3/external/uid.h"
#include "svy3/platform/file_lookup.h"
#include "svy3/platform/leading_number.h"
#include "svy3/platform/path_text.h"
#include "svy3/xmlfile/attribute_text.h"
#include "svy3/xmlfile/direct_read.h"
#include "svy3/xmlfile/svy_node_value.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {
namespace {

constexpr Enum<UNIT_TYPE> kMetre = 1;
constexpr Enum<UNIT_TYPE> kPositionOtherUnit = 5;

// The folder of the project document, without its trailing separator; "." for a document opened
// by a bare name, whose folder is the current one.
std::string DocumentFolder(const CSVYXmlFile& file) {
    const std::string path = file.GetFilePathName();
    const std::string::size_type separator = LastSeparator(path);
    if (separator == std::string::npos)
        return ".";
    return separator == 0 ? path.substr(0, 1) : path.substr(0, separator);
}

// The DataDirPath text of the Data element the cursor is in; "" when there is none.
std::string DataDirOf(const CSVYXmlFile& file) {
    for (pugi::xml_node node = CursorNode(file); node; node = node.parent())
        if (std::strcmp(node.name(), "Data") == 0)
            return node.child("DataDirPath").text().get();
    return std::string();
}

bool IsAbsolute(const std::string& path) {
    return !path.empty() &&
           (path[0] == '/' || path[0] == '\\' || (path.size() > 1 && path[1] == ':'));
}

// Reads the radar header `name`.hd of a data file: beside the document (in the file's FileDirPath
// there), else in the document's data folder (DataDirPath, relative to the document's folder when
// relative). Counts of 2^31 or more make the header unreadable.
bool ReadDataHeader(const CSVYXmlFile& file, const CSvyDataBlock_V110::CDataFile& data,
                    int32_t& samples, int32_t& traces) {
    const std::string folder = DocumentFolder(file);
    std::string relative;
    if (!data.m_strDirectory.empty())
        relative += data.m_strDirectory + "\\";
    relative += data.m_strName + ".hd";
    std::vector<std::string> candidates{folder + "\\" + relative};
    std::string dataDir = DataDirOf(file);
    if (!dataDir.empty()) {
        if (!IsAbsolute(dataDir))
            dataDir = folder + "\\" + dataDir;
        const char last = dataDir.back();
        candidates.push_back(dataDir + (last == '\\' || last == '/' ? "" : "\\") + relative);
    }
    for (const std::string& candidate : candidates) {
        GprParam header;
        if (header.Load(FindFileIgnoringCase(ToFileSystemPath(candidate)), 0) != GprParam::LoadOk)
            continue;
        const SGprParam& param = *header.GetGprParam();
        constexpr uint32_t kLargest = static_cast<uint32_t>(INT32_MAX);
        if (param.SamplesPerTrace > kLargest || param.NumTraces > kLargest)
            return false;
        samples = static_cast<int32_t>(param.SamplesPerTrace);
        traces = static_cast<int32_t>(param.NumTraces);
        return true;
    }
    return false;
}

// Reads the data header of the file and appends the DataSampleCnt element it lacks.
void CreateDataSampleCount(CSVYXmlFile& file, CSvyDataBlock_V110::CDataFile& data) {
    int32_t samples = -1, traces = -1;
    const bool read = ReadDataHeader(file, data, samples, traces);
    data.m_nDim0 = 2;
    data.m_nDim1 = read ? samples : -1;
    data.m_nDim2 = read ? traces : -1;
    if (file.AppendChildNode("DataSampleCnt")) {
        CSVYNodeValue::Set(data.m_nDim0, &file, "dim0");
        CSVYNodeValue::Set(data.m_nDim1, &file, "dim1");
        CSVYNodeValue::Set(data.m_nDim2, &file, "dim2");
        CSVYNodeValue::Set(std::string("NA"), &file, "dim3");
        file.GotoParentNode();
    }
}

using SPosition = CSvyDataBlock_V110::CDataFile::SPosition;

// The text an attribute reads as: its value, or its name where the cursor's read fails (no such
// attribute, or a value too long for the cursor's text buffer).
const char* TextOf(const char* value, const char* name) {
    return value && FitsTextBuffer(value) ? value : name;
}

// Whether the text holds "NA" (a height that was not measured).
bool HoldsNA(const char* text) {
    for (; *text; ++text)
        if (text[0] == 'N' && text[1] == 'A')
            return true;
    return false;
}

// One Position element, its attributes taken in one pass; as in a lookup by name, the first
// attribute of a name counts.
SPosition ReadPosition(pugi::xml_node node) {
    const char *x = nullptr, *y = nullptr, *z = nullptr, *normalized = nullptr, *units = nullptr;
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        const char** slot = nullptr;
        switch (name[0]) {
            case 'X':
                slot = name[1] ? nullptr : &x;
                break;
            case 'Y':
                slot = name[1] ? nullptr : &y;
                break;
            case 'Z':
                slot = name[1] ? nullptr : &z;
                break;
            case 'n':
                slot = std::strcmp(name, "normalized_file_pos") == 0 ? &normalized : nullptr;
                break;
            case 'u':
                slot = std::strcmp(name, "units") == 0 ? &units : nullptr;
                break;
        }
        if (slot && !*slot)
            *slot = a.value();
    }
    SPosition position;
    position.X = LeadingDouble(TextOf(x, "X"));
    position.Y = LeadingDouble(TextOf(y, "Y"));
    const char* zText = TextOf(z, "Z");
    position.Z = HoldsNA(zText) ? 0.0 : LeadingDouble(zText);
    position.normalizedFilePos = LeadingDouble(TextOf(normalized, "normalized_file_pos"));
    position.unit = TextOf(units, "units")[0] == 'm' ? kMetre : kPositionOtherUnit;
    return position;
}

// Positions in the order of their normalized file position; equal ones keep document order.
void SortPositions(std::vector<SPosition>& positions) {
    auto less = [](const SPosition& a, const SPosition& b) {
        return OrderedLess(a.normalizedFilePos, b.normalizedFilePos);
    };
    // Positions are usually written in order; sorting a sorted list would change nothing.
    if (!std::is_sorted(positions.begin(), positions.end(), less))
        std::stable_sort(positions.begin(), positions.end(), less);
}

// The children of a DataFile that its reader takes, found in one walk over them: the first child
// of each name (null when there is none, where a search by name would fail) and the positions,
// read on the way.
struct SDataFileChildren {
    pugi::xml_node sensorID, fileType, fileDirPath, dataSampleCnt, fidComment, odometer;
    bool positionsRead = false;

    SDataFileChildren(const CSVYXmlFile& file, std::vector<SPosition>& positions) {
        const std::pair<const char*, pugi::xml_node*> firsts[] = {
            {"SensorID", &sensorID},       {"FileType", &fileType},
            {"FileDirPath", &fileDirPath}, {"DataSampleCnt", &dataSampleCnt},
            {"FIDComment", &fidComment},   {"Odometer", &odometer}};
        for (pugi::xml_node child = FirstChild(file, CursorNode(file)); child;
             child = NextSibling(file, child)) {
            const char* name = child.name();
            if (std::strcmp(name, "Position") == 0) {
                positions.push_back(ReadPosition(child));
                positionsRead = true;
                continue;
            }
            for (const auto& first : firsts) {
                if (std::strcmp(name, first.first) == 0) {
                    if (!*first.second)
                        *first.second = child;
                    break;
                }
            }
        }
        // The list is kept for the life of the survey: no room left over from its growth.
        positions.shrink_to_fit();
    }
};

// The FIDComment under the cursor and the ones after it.
void ReadFidComments(CSVYXmlFile& file,
                     std::vector<CSvyDataBlock_V110::CDataFile::SFidComment>& out) {
    do {
        CSvyDataBlock_V110::CDataFile::SFidComment fid;
        file.GetNodeText(fid.comment);
        const Enum<UNIT_TYPE> unit = CMeasure::StringToUnit(AttributeText(file, "units"), false);
        fid.ododist = CMeasure::ConvertTo(AttributeDouble(file, "ododist"), unit, kMetre);
        const std::string flag = AttributeText(file, "fileflag");
        fid.fileflag = flag.empty() ? '\0' : flag[0];
        out.push_back(std::move(fid));
    } while (file.GotoNextSibling("FIDComment"));
    file.GotoParentNode();
    std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
        return OrderedLess(a.ododist, b.ododist);
    });
}

}  // namespace

CSvyDataBlock_V110::CDataFile::~CDataFile() = default;

int32_t CSvyDataBlock_V110::CDataFile::ReadFileBlock(CSVYXmlFile* file, std::string& error) {
    m_strName = AttributeText(*file, "name");
    m_strExt = AttributeText(*file, "ext");
    CSVYNodeValue::Get(m_nSequence, file, "seq");

    // One walk over the children reads the positions and finds the first child of each other
    // name; the cursor then moves straight to those instead of searching from the first child.
    const SDataFileChildren children(*file, m_positions);
    auto gotoChild = [file](pugi::xml_node child) {
        if (child)
            MoveCursorTo(*file, child);
        return bool(child);
    };
    if (gotoChild(children.sensorID)) {
        do {
            int32_t id = 0;
            CSVYNodeValue::Get(id, file);
            m_sensorIDs.push_back(id);
        } while (file->GotoNextSibling("SensorID"));
        file->GotoParentNode();
    }
    if (gotoChild(children.fileType)) {
        std::string uid = "UID";
        if (file->GetNodeAttribute(uid))
            m_nFileType = static_cast<uint32_t>(Str2UID(uid));
        file->GotoParentNode();
    }
    m_strDirectory.clear();
    if (gotoChild(children.fileDirPath)) {
        file->GetNodeText(m_strDirectory);
        file->GotoParentNode();
    }
    if (gotoChild(children.dataSampleCnt)) {
        CSVYNodeValue::Get(m_nDim0, file, "dim0");
        CSVYNodeValue::Get(m_nDim1, file, "dim1");
        CSVYNodeValue::Get(m_nDim2, file, "dim2");
        file->GotoParentNode();
    } else {
        CreateDataSampleCount(*file, *this);
    }
    if (children.positionsRead)
        SortPositions(m_positions);
    if (gotoChild(children.fidComment))
        ReadFidComments(*file, m_fidComments);

    if (!gotoChild(children.odometer)) {
        error += "\nError: Missing element: <Odometer>";
        return 0;
    }
    const Enum<UNIT_TYPE> unit = CMeasure::StringToUnit(AttributeText(*file, "units"), false);
    m_dOdoStart = CMeasure::ConvertTo(AttributeDouble(*file, "start"), unit, kMetre);
    m_dOdoEnd = CMeasure::ConvertTo(AttributeDouble(*file, "end"), unit, kMetre);
    m_dOdoStep = CMeasure::ConvertTo(AttributeDouble(*file, "step"), unit, kMetre);
    file->GotoParentNode();
    return 1;
}

std::string CSvyDataBlock_V110::CDataFile::GetPath() const {
    return m_strDirectory.empty() ? m_strName : m_strDirectory + "\\" + m_strName;
}

int32_t CSvyDataBlock_V110::CDataFile::operator==(const CDataFile& other) const {
    return m_dOdoEnd == other.m_dOdoEnd && m_dOdoStart == other.m_dOdoStart &&
                   m_dOdoStep == other.m_dOdoStep && m_nSequence == other.m_nSequence &&
                   m_nFileType == other.m_nFileType && m_pSettings == other.m_pSettings &&
                   m_strDirectory == other.m_strDirectory && m_strName == other.m_strName
               ? 1
               : 0;
}

}  // namespace ZAR
