// CSVYXmlFile::CreateNewFile_V110: a new project document from a selection of data files, in one
// call.
#include <string>
#include <vector>

#include "svy3/datablock/writer_error.h"
#include "svy3/platform/file_lookup.h"
#include "svy3/platform/message_box.h"
#include "svy3/platform/path_text.h"
#include "svy3/platform/text.h"
#include "svy3/xmlfile/svy_node_value.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {
namespace {

const char kDescription[] =
    "ZAR survey project file: the SVY document (XML, format version 1.1.0) of a "
    "ground-penetrating-radar survey, made by the ZAR SVY3 library.";
const char kFailureIntro[] = "The SVY file could not be created due to the following error(s):\n";

// File name of a path, split at either separator.
std::string FileName(const std::string& path) {
    const auto separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// Path of the header of the first ".dt1" file, in the data folder; empty when there is none.
std::string FirstRadarHeader(const std::vector<std::string>& files, const std::string& dataDir) {
    for (const std::string& file : files) {
        const std::string name = FileName(file);
        const auto dot = name.rfind('.');
        if (dot != std::string::npos && EqualIgnoringCase(name.substr(dot), ".dt1"))
            return FindFileIgnoringCase(ToFileSystemPath(dataDir + name.substr(0, dot) + ".hd"));
    }
    return std::string();
}

}  // namespace

int32_t CSVYXmlFile::CreateNewFile_V110(const std::string& path, const SCreatedBy& createdBy,
                                        const std::vector<std::string>& files,
                                        const char* dataDir) {
    // Saved positions belong to the released document, so they go with it.
    Uninitialize();
    m_hFile = XmlDom_GetHandle();
    m_strFilePathName = path;
    XmlDom_InitializeNewXmlFile(m_hFile, kDescription, "ZAR_SVY");
    CSVYNodeValue::Set(std::string("1.1.0"), this, "version");
    if (files.empty())
        return 1;

    std::string folder;
    if (dataDir) {
        folder = dataDir;
    } else {
        const auto separator = LastSeparator(files.front());
        if (separator != std::string::npos)
            folder = files.front().substr(0, separator + 1);
    }

    try {
        const std::string header = FirstRadarHeader(files, folder);
        if (!header.empty())
            WriteSiteDefinition(createdBy, header);
        WriteDataBlock_V110(createdBy, files, folder);
    } catch (const CWriterError& error) {
        ShowMessageBox(kFailureIntro + std::string(error.what()), MessageIcon::None);
        return -1;
    }
    return Save(path);
}

}  // namespace ZAR
