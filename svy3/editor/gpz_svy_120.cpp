// The editor's node primitives over the XmlDom_ functions, and the readers of DataFile and
// Position elements.
#include "svy3/editor/gpz_svy_120.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "svy3/editor/error.h"
#include "svy3/platform/leading_number.h"
#include "svy3/platform/path_text.h"
#include "svy3/xmldom/xml_dom_api.h"

namespace ZAR {
namespace fs = boost::filesystem;

GpzSvy120::GpzSvy120() = default;
GpzSvy120::GpzSvy120(const GpzSvy120& other) = default;
GpzSvy120& GpzSvy120::operator=(const GpzSvy120& other) = default;
GpzSvy120::~GpzSvy120() = default;

bool GpzSvy120::LoadXmlSvy(const fs::path& path) {
    m_document.reset();
    XMLDOM_HANDLE handle = XmlDom_GetHandle();
    if (!handle)
        return false;
    std::shared_ptr<void> document(handle, [](void* h) { XmlDom_ReleaseHandle(h); });
    if (!XmlDom_LoadFile(handle, path.string().c_str())) {
        if (XmlDom_GetLoadResult(handle) == XMLDOM_LOAD_TOO_DEEP)
            throw CError(path.string() + " file not loaded: elements nested deeper than " +
                             std::to_string(XMLDOM_MAX_DEPTH) + " levels.",
                         -4, 5);
        return false;
    }
    m_document = std::move(document);
    m_units = UNIT_NONE;
    return true;
}

bool GpzSvy120::Save(const char* fileName) {
    if (!Handle())
        return false;
    const std::string target = fileName ? std::string(fileName) : m_svyFilePath.string();
    if (target.empty())
        return false;
    return XmlDom_SaveFile(Handle(), target.c_str()) == XMLDOM_SAVE_OK;
}

bool GpzSvy120::NextNode(bool& first, const char* name) {
    if (!Handle() || !name)
        return false;
    if (XmlDom_MoveToFirstChildNode(Handle(), name)) {
        first = false;
        return true;
    }
    return XmlDom_MoveToNextSiblingNode(Handle(), name) != 0;
}

bool GpzSvy120::ParentNode(const char* name) {
    return Handle() && XmlDom_MoveToParentNode(Handle(), name) != 0;
}

bool GpzSvy120::ChildNode(const char* name, ESvyGpzCreate mode) {
    if (!name)
        return false;
    switch (mode) {
        case eGpzFind:
            return XmlDom_MoveToFirstChildNode(Handle(), name) != 0;
        case eGpzFindOrCreate:
            return XmlDom_MoveToFirstChildNode(Handle(), name) ||
                   XmlDom_AppendChildNode(Handle(), name);
        case eGpzAppend:
            return XmlDom_AppendChildNode(Handle(), name) != 0;
    }
    return false;
}

bool GpzSvy120::ReadAttribute(const char* name, char (&buffer)[kReadBufferSize]) {
    // The name, cut to the buffer; only its bytes are copied (not a fill of the whole buffer).
    const size_t length = strnlen(name, kReadBufferSize - 1);
    std::memcpy(buffer, name, length);
    buffer[length] = '\0';
    int32_t size = kReadBufferSize;
    return XmlDom_GetNodeAttributeText(Handle(), buffer, &size) && size <= kReadBufferSize;
}

bool GpzSvy120::GetNodeTxt(std::string& text, const char* attribute) {
    if (!Handle())
        return false;
    char buffer[kReadBufferSize];
    bool read = false;
    if (attribute && *attribute) {
        read = ReadAttribute(attribute, buffer);
    } else {
        int32_t size = kReadBufferSize;
        read = (attribute ? XmlDom_GetNodeName(Handle(), buffer, &size)
                          : XmlDom_GetNodeText(Handle(), buffer, &size)) &&
               size <= kReadBufferSize;
    }
    if (read)
        text.assign(buffer);
    return read;
}

bool GpzSvy120::SetNodeTxt(std::string text, const char* attribute) {
    if (!Handle())
        return false;
    if (attribute)
        return XmlDom_SetNodeAttributeText(Handle(), attribute, text.c_str()) != 0;
    return XmlDom_SetNodeText(Handle(), text.c_str()) ||
           XmlDom_AppendTextChildNode(Handle(), text.c_str());
}

void GpzSvy120::DeleteNode() {
    if (Handle())
        XmlDom_RemoveCurrentNode(Handle());
}

void* GpzSvy120::GetNodeHandle() {
    return Handle() ? XmlDom_GetCurrentNodeHandle(Handle()) : nullptr;
}

void GpzSvy120::ReleaseNodeHandle(void* node) {
    if (Handle())
        XmlDom_ReleaseNodeHandle(Handle(), node);
}

bool GpzSvy120::MoveToHandleNode(void* node) {
    return Handle() && XmlDom_MoveToHandleNode(Handle(), node) == 1;
}

bool GpzSvy120::AppendNodeCopy(void* node, bool deep) {
    return Handle() && XmlDom_AppendNodeCopy(Handle(), node, deep ? 1 : 0) == 1;
}

bool GpzSvy120::DataFileInfo(fs::path& path, int32_t& sequence) {
    if (!Handle())
        return false;
    char buffer[kReadBufferSize];
    if (!ReadAttribute("seq", buffer))
        return false;
    const int32_t seq = LeadingInt32(buffer);
    if (!ReadAttribute("name", buffer))
        return false;
    std::string name = buffer;
    if (!ReadAttribute("ext", buffer))
        return false;
    name += '.';
    name += buffer;

    std::string directory;
    if (XmlDom_MoveToFirstChildNode(Handle(), "FileDirPath")) {
        if (!GetNodeTxt(directory, nullptr))
            directory.clear();
        XmlDom_MoveToParentNode(Handle(), nullptr);
    }
    path = fs::path(ToFileSystemPath(directory)) / ToFileSystemPath(name);
    sequence = seq;
    return true;
}

bool GpzSvy120::PosInfo(SvyLinePos& position) {
    if (!Handle())
        return false;
    char buffer[kReadBufferSize];
    if (!ReadAttribute("units", buffer))
        return false;
    const Enum<UNIT_TYPE> unit = CMeasure::StringToUnit(buffer, false);
    if (m_units == UNIT_NONE)
        m_units = unit;
    double factor = 1.0;
    CMeasure::GetConversionFactor(unit, m_units, factor);
    const double scale = unit != m_units ? factor : 1.0;

    if (!ReadAttribute("X", buffer))
        return false;
    position.X(LeadingDouble(buffer) * scale, UNIT_M);
    if (!ReadAttribute("Y", buffer))
        return false;
    position.Y(LeadingDouble(buffer) * scale, UNIT_M);
    if (!ReadAttribute("Z", buffer))
        return false;
    position.Z(std::strcmp(buffer, "NA") == 0 ? std::numeric_limits<double>::quiet_NaN()
                                              : LeadingDouble(buffer) * scale,
               UNIT_M);
    if (!ReadAttribute("normalized_file_pos", buffer))
        return false;
    // Outside 0..1 (NaN included, which would also break the ordering of the list) counts as 0.
    const double normalized = LeadingDouble(buffer);
    position.m_dNormalizedFilePos = normalized >= 0.0 && normalized <= 1.0 ? normalized : 0.0;
    return true;
}

}  // namespace ZAR

namespace ZAR {

bool GpzSvy120::ModifyFileDirPath(bool replace, std::string directory) {
    if (!Handle() || (!replace && directory.empty()))
        return false;
    if (!ChildNode("FileDirPath", eGpzFindOrCreate))
        return false;
    if (replace && !SetNodeTxt(std::string(), nullptr))
        return false;
    if (!directory.empty()) {
        std::string text;
        if (!GetNodeTxt(text, nullptr))
            text.clear();  // an element without text holds the empty path
        if (!text.empty())
            text += '\\';
        if (!SetNodeTxt(text + directory, nullptr))
            return false;
    }
    ParentNode(nullptr);
    return true;
}

bool GpzSvy120::CreateSingleLinesetSvy(const std::string& output, const std::string& source,
                                       const std::string& lineSet, const std::string& newName,
                                       const std::string& prefix) {
    GpzSvy120 editor;
    editor.Load(source.c_str());
    if (!lineSet.empty()) {
        editor.MakeSingleLineSet(lineSet.c_str());
        if (!newName.empty() && !editor.RenameLineSet(lineSet.c_str(), newName.c_str()))
            return false;
    }
    if (!prefix.empty() && !editor.PrefixDataPath(prefix.c_str()))
        return false;
    return editor.Save(output.empty() ? nullptr : output.c_str());
}

}  // namespace ZAR
