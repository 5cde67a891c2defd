// CSvyDataBlock_V110::CDataFile: one DataFile element.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "svy3/datablock/ordering.h"
#include "svy3/datablock/svy_data_block_v110.h"
#include "svy3/external/gpr_param.h"
#include "svy3/external/measure.h"
#include "svy3/external/uid.h"
#include "svy3/platform/file_lookup.h"
#include "svy3/platform/leading_number.h"
#include "svy3/platform/path_text.h"
#include "svy3/xmlfile/attribute_text.h"
#include "svy3/xmlfile/svy_node_value.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {
namespace {

constexpr Enum<UNIT_TYPE> kMetre = 1;
constexpr Enum<UNIT_TYPE> kPositionOtherUnit = 5;

// The folder of the project document, without its trailing separator.
std::string DocumentFolder(const CSVYXmlFile& file) {
    const std::string path = file.GetFilePathName();
    const std::string::size_type separator = LastSeparator(path);
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

// Reads the data header of the file and appends the DataSampleCnt element it lacks.
void CreateDataSampleCount(CSVYXmlFile& file, CSvyDataBlock_V110::CDataFile& data) {
    std::string headerPath = DocumentFolder(file) + "\\";
    if (!data.m_strDirectory.empty())
        headerPath += data.m_strDirectory + "\\";
    headerPath += data.m_strName + ".hd";
    GprParam header;
    const bool read =
        header.Load(FindFileIgnoringCase(ToFileSystemPath(headerPath)), 0) == GprParam::LoadOk;
    data.m_nDim0 = 2;
    data.m_nDim1 = read ? static_cast<int32_t>(header.GetGprParam()->SamplesPerTrace) : -1;
    data.m_nDim2 = read ? static_cast<int32_t>(header.GetGprParam()->NumTraces) : -1;
    if (file.AppendChildNode("DataSampleCnt")) {
        CSVYNodeValue::Set(data.m_nDim0, &file, "dim0");
        CSVYNodeValue::Set(data.m_nDim1, &file, "dim1");
        CSVYNodeValue::Set(data.m_nDim2, &file, "dim2");
        CSVYNodeValue::Set(std::string("NA"), &file, "dim3");
        file.GotoParentNode();
    }
}

void ReadPositions(CSVYXmlFile& file, std::vector<CSvyDataBlock_V110::CDataFile::SPosition>& out) {
    if (!file.GotoChildNode("Position"))
        return;
    do {
        CSvyDataBlock_V110::CDataFile::SPosition position;
        position.X = AttributeDouble(file, "X");
        position.Y = AttributeDouble(file, "Y");
        const std::string z = AttributeText(file, "Z");
        position.Z = z.find("NA") != std::string::npos ? 0.0 : LeadingDouble(z.c_str());
        position.normalizedFilePos = AttributeDouble(file, "normalized_file_pos");
        const std::string units = AttributeText(file, "units");
        position.unit = !units.empty() && units[0] == 'm' ? kMetre : kPositionOtherUnit;
        out.push_back(position);
    } while (file.GotoNextSibling("Position"));
    file.GotoParentNode();
    std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
        return OrderedLess(a.normalizedFilePos, b.normalizedFilePos);
    });
}

void ReadFidComments(CSVYXmlFile& file,
                     std::vector<CSvyDataBlock_V110::CDataFile::SFidComment>& out) {
    if (!file.GotoChildNode("FIDComment"))
        return;
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

    if (file->GotoChildNode("SensorID")) {
        do {
            int32_t id = 0;
            CSVYNodeValue::Get(id, file);
            m_sensorIDs.push_back(id);
        } while (file->GotoNextSibling("SensorID"));
        file->GotoParentNode();
    }
    if (file->GotoChildNode("FileType")) {
        std::string uid = "UID";
        if (file->GetNodeAttribute(uid))
            m_nFileType = static_cast<uint32_t>(Str2UID(uid));
        file->GotoParentNode();
    }
    m_strDirectory.clear();
    if (file->GotoChildNode("FileDirPath")) {
        file->GetNodeText(m_strDirectory);
        file->GotoParentNode();
    }
    if (file->GotoChildNode("DataSampleCnt")) {
        CSVYNodeValue::Get(m_nDim0, file, "dim0");
        CSVYNodeValue::Get(m_nDim1, file, "dim1");
        CSVYNodeValue::Get(m_nDim2, file, "dim2");
        file->GotoParentNode();
    } else {
        CreateDataSampleCount(*file, *this);
    }
    ReadPositions(*file, m_positions);
    ReadFidComments(*file, m_fidComments);

    if (!file->GotoChildNode("Odometer")) {
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
