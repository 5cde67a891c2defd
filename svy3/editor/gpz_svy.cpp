// The editor's state, copies and Load.
#include "svy3/editor/gpz_svy.h"

#include <boost/filesystem/operations.hpp>

#include "svy3/editor/error.h"
#include "svy3/platform/path_text.h"

namespace ZAR {
namespace fs = boost::filesystem;

namespace {

std::unique_ptr<Transform::SCoordinateRelationship> CopyOf(
    const std::unique_ptr<Transform::SCoordinateRelationship>& record) {
    return record ? std::make_unique<Transform::SCoordinateRelationship>(*record) : nullptr;
}

}  // namespace

GpzSvy::GpzSvy() = default;

GpzSvy::GpzSvy(const GpzSvy& other)
    : m_bCompactNumbers(other.m_bCompactNumbers),
      m_svyFilePath(other.m_svyFilePath),
      m_dataDirectory(other.m_dataDirectory),
      m_lineMap(other.m_lineMap),
      m_renames(other.m_renames),
      m_pFileOperations(other.m_pFileOperations),
      m_documentChanges(other.m_documentChanges),
      m_pGpsToDataRelationship(CopyOf(other.m_pGpsToDataRelationship)) {}

GpzSvy& GpzSvy::operator=(const GpzSvy& other) {
    if (this != &other) {
        m_bCompactNumbers = other.m_bCompactNumbers;
        m_svyFilePath = other.m_svyFilePath;
        m_dataDirectory = other.m_dataDirectory;
        m_lineMap = other.m_lineMap;
        m_renames = other.m_renames;
        m_pFileOperations = other.m_pFileOperations;
        m_documentChanges = other.m_documentChanges;
        m_pGpsToDataRelationship = CopyOf(other.m_pGpsToDataRelationship);
    }
    return *this;
}

GpzSvy::~GpzSvy() = default;

int32_t GpzSvy::Load(const fs::path& path) {
    return Load(path.string().c_str());
}

int32_t GpzSvy::Load(const char* fileName) {
    if (!fileName)
        throw CError("Null parameter not allowed.", -1, 5);
    if (!*fileName)
        throw CError("Need SVY file name.", -2, 3);
    const fs::path file = fs::absolute(fs::path(fileName));
    boost::system::error_code ec;
    if (!fs::exists(file, ec))
        throw CError(file.string() + "SVY file problem: File not found.", -3, 3);
    if (!LoadXmlSvy(file))
        throw CError(file.string() + " file not loaded.", -4, 5);

    std::string root;
    if (!GetNodeTxt(root, "") || root != "ZAR_SVY")
        throw CError("Malformed SVY file: <ZAR_SVY> not found.", -5, 5);
    bool first = true;
    if (!NextNode(first, "Data"))
        throw CError("Malformed SVY file: <ZAR_SVY><Data> not found.", -6, 5);
    first = true;
    if (!NextNode(first, "DataDirPath"))
        throw CError("Malformed SVY file: <ZAR_SVY><Data><DataDirPath> not found.", -7, 5);
    std::string dataDir;
    m_dataDirectory =
        GetNodeTxt(dataDir, nullptr) ? fs::path(ToFileSystemPath(dataDir)) : fs::path();
    if (!ParentNode("Data"))
        throw CError("Malformed SVY file: XML file navigation failure.", -9, 5);

    if (!m_pGpsToDataRelationship)
        m_pGpsToDataRelationship = std::make_unique<Transform::SCoordinateRelationship>();
    if (!GpsToDataRelationship(*m_pGpsToDataRelationship))
        m_pGpsToDataRelationship.reset();

    m_svyFilePath = file;
    return FillMap(0) ? 1 : -1;
}

bool GpzSvy::Empty() const {
    return !m_pGpsToDataRelationship && m_lineMap.empty() && m_svyFilePath.empty();
}

bool GpzSvy::GetGpsToDataRelationship(Transform::SCoordinateRelationship& relationship) const {
    if (!m_pGpsToDataRelationship)
        return false;
    relationship = *m_pGpsToDataRelationship;
    return true;
}

}  // namespace ZAR
