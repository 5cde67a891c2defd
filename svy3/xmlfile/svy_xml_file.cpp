#include "svy3/xmlfile/svy_xml_file.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "svy3/platform/leading_number.h"
#include "svy3/platform/message_box.h"
#include "svy3/platform/version_text.h"

namespace ZAR {

CSVYXmlFile::CSVYXmlFile() : m_pTmpTxt(std::make_unique<char[]>(kTextBufferSize)) {
    SVYVersionToNum("1.1.0", m_version);
}

CSVYXmlFile::~CSVYXmlFile() {
    Uninitialize();
}

CSVYXmlFile::CSVYXmlFile(CSVYXmlFile&& other) noexcept
    : m_version(std::move(other.m_version)),
      m_pTmpTxt(std::exchange(other.m_pTmpTxt, std::make_unique<char[]>(kTextBufferSize))),
      m_hFile(std::exchange(other.m_hFile, nullptr)),
      m_strFilePathName(std::move(other.m_strFilePathName)),
      m_positionStack(std::move(other.m_positionStack)) {
    other.m_positionStack.clear();
}

CSVYXmlFile& CSVYXmlFile::operator=(CSVYXmlFile&& other) noexcept {
    if (this != &other) {
        Uninitialize();
        m_version = std::move(other.m_version);
        std::swap(m_pTmpTxt, other.m_pTmpTxt);
        m_hFile = std::exchange(other.m_hFile, nullptr);
        m_strFilePathName = std::move(other.m_strFilePathName);
        m_positionStack = std::move(other.m_positionStack);
        other.m_positionStack.clear();
    }
    return *this;
}

bool CSVYXmlFile::ToBuffer(const std::string& text) {
    if (text.size() >= static_cast<size_t>(m_nMaxTxtSz))
        return false;
    std::memcpy(m_pTmpTxt.get(), text.c_str(), text.size() + 1);
    return true;
}

template <class Reader>
int32_t CSVYXmlFile::ReadThroughBuffer(Reader reader, std::string& out) {
    int32_t size = m_nMaxTxtSz;
    if (!reader(m_hFile, m_pTmpTxt.get(), &size))
        return 0;
    out.assign(m_pTmpTxt.get(), static_cast<size_t>(size - 1));
    return 1;
}

int32_t CSVYXmlFile::Initialize(const std::string& path) {
    Uninitialize();
    m_hFile = XmlDom_GetHandle();
    if (!m_hFile)
        return 0;
    if (!ToBuffer(path))
        return 0;
    if (!XmlDom_LoadFile(m_hFile, m_pTmpTxt.get())) {
        const std::string reason = XmlDom_GetLoadResult(m_hFile) == XMLDOM_LOAD_TOO_DEEP
                                       ? "Its elements are nested deeper than " +
                                             std::to_string(XMLDOM_MAX_DEPTH) +
                                             " levels; a project document uses about ten."
                                       : "File does not appear to be in XML format.";
        ShowMessageBox("Failed to load file:\n" + path + "\n" + reason + "\nOperation aborted.",
                       MessageIcon::Exclamation);
        return 0;
    }
    m_strFilePathName = path;
    return 1;
}

int32_t CSVYXmlFile::Uninitialize() {
    while (PopPosition()) {
    }
    if (m_hFile)
        XmlDom_ReleaseHandle(std::exchange(m_hFile, nullptr));
    return 1;
}

int32_t CSVYXmlFile::Save(const std::string& path) {
    if (!path.empty())
        m_strFilePathName = path;
    return XmlDom_SaveFile(m_hFile, m_strFilePathName.c_str());
}

int32_t CSVYXmlFile::GotoRootNode() {
    XmlDom_MoveToRootNode(m_hFile);
    return 1;
}

int32_t CSVYXmlFile::GotoParentNode() {
    return XmlDom_MoveToParentNode(m_hFile, nullptr);
}

int32_t CSVYXmlFile::GotoNextSibling() {
    return XmlDom_MoveToNextSiblingNode(m_hFile, nullptr);
}

int32_t CSVYXmlFile::GotoNextSibling(const std::string& name) {
    if (name.empty())
        return 0;
    return XmlDom_MoveToNextSiblingNode(m_hFile, name.c_str());
}

int32_t CSVYXmlFile::GotoChildNode(const std::string& name, int32_t index) {
    if (!ToBuffer(name))
        return 0;
    if (name.empty())
        return XmlDom_MoveToFirstChildNode(m_hFile, nullptr);
    const char* filter = m_pTmpTxt.get();
    if (!XmlDom_MoveToFirstChildNode(m_hFile, filter))
        return 0;
    for (; index > 0; --index) {
        if (!XmlDom_MoveToNextSiblingNode(m_hFile, filter)) {
            XmlDom_MoveToParentNode(m_hFile, nullptr);
            return 0;
        }
    }
    return 1;
}

XMLDOM_NODE CSVYXmlFile::GetCurrentNodeHandle() {
    return XmlDom_GetCurrentNodeHandle(m_hFile);
}

void CSVYXmlFile::MoveToHandleNode(XMLDOM_NODE node) {
    XmlDom_MoveToHandleNode(m_hFile, node);
}

void CSVYXmlFile::ReleaseNodeHandle(XMLDOM_NODE node) {
    XmlDom_ReleaseNodeHandle(m_hFile, node);
}

void CSVYXmlFile::PushPosition() {
    m_positionStack.push_back(GetCurrentNodeHandle());
}

int32_t CSVYXmlFile::GotoTopPosition() {
    if (m_positionStack.empty())
        return 0;
    MoveToHandleNode(m_positionStack.back());
    return 1;
}

int32_t CSVYXmlFile::PopPosition() {
    if (m_positionStack.empty())
        return 0;
    ReleaseNodeHandle(m_positionStack.back());
    m_positionStack.pop_back();
    return 1;
}

int32_t CSVYXmlFile::GetNodeName(std::string& out) {
    return ReadThroughBuffer(XmlDom_GetNodeName, out);
}

int32_t CSVYXmlFile::GetNodeText(std::string& out) {
    return ReadThroughBuffer(XmlDom_GetNodeText, out);
}

int32_t CSVYXmlFile::GetNodeAttribute(std::string& nameInValueOut) {
    if (!ToBuffer(nameInValueOut))
        return 0;
    return ReadThroughBuffer(XmlDom_GetNodeAttributeText, nameInValueOut);
}

int32_t CSVYXmlFile::GetSubNodeText(std::string& nameInTextOut, int32_t index) {
    if (!GotoChildNode(nameInTextOut, index))
        return 0;
    const int32_t ok = GetNodeText(nameInTextOut);
    XmlDom_MoveToParentNode(m_hFile, nullptr);
    return ok;
}

int32_t CSVYXmlFile::GetSubNodeAttribute(std::string& attrNameInValueOut,
                                         const std::string& childName, int32_t index) {
    if (!GotoChildNode(childName, index))
        return 0;
    const int32_t ok = GetNodeAttribute(attrNameInValueOut);
    XmlDom_MoveToParentNode(m_hFile, nullptr);
    return ok;
}

int32_t CSVYXmlFile::SetNodeText(const std::string& text) {
    if (!ToBuffer(text))
        return 0;
    const char* buffered = m_pTmpTxt.get();
    if (XmlDom_SetNodeText(m_hFile, buffered))
        return 1;
    int16_t hasChildren = 0;
    XmlDom_GetNodeInfo(m_hFile, &hasChildren, nullptr, nullptr);
    if (hasChildren && XmlDom_MoveToFirstChildNode(m_hFile, nullptr)) {
        // A text child that is not the first child: leave the element alone.
        bool textChild = false;
        do {
            int16_t isText = 0;
            XmlDom_GetNodeInfo(m_hFile, nullptr, nullptr, &isText);
            textChild = isText != 0;
        } while (!textChild && XmlDom_MoveToNextSiblingNode(m_hFile, nullptr));
        XmlDom_MoveToParentNode(m_hFile, nullptr);
        if (textChild)
            return 0;
    }
    return XmlDom_AppendTextChildNode(m_hFile, buffered) ? 1 : 0;
}

int32_t CSVYXmlFile::SetNodeAttribute(const std::string& name, const std::string& value) {
    if (!ToBuffer(name))
        return 0;
    return XmlDom_SetNodeAttributeText(m_hFile, m_pTmpTxt.get(), value.c_str()) ? 1 : 0;
}

int32_t CSVYXmlFile::SetSubNodeText(const std::string& childName, const std::string& text,
                                    int32_t index) {
    if (!GotoChildNode(childName, index))
        return 0;
    const int32_t ok = SetNodeText(text);
    XmlDom_MoveToParentNode(m_hFile, nullptr);
    return ok;
}

int32_t CSVYXmlFile::SetSubNodeAttribute(const std::string& childName, const std::string& attrName,
                                         const std::string& value, int32_t index) {
    if (!GotoChildNode(childName, index))
        return 0;
    const int32_t ok = SetNodeAttribute(attrName, value);
    XmlDom_MoveToParentNode(m_hFile, nullptr);
    return ok;
}

int32_t CSVYXmlFile::AppendChildNode(const std::string& name) {
    if (!ToBuffer(name))
        return 0;
    return XmlDom_AppendChildNode(m_hFile, m_pTmpTxt.get());
}

int32_t CSVYXmlFile::AppendTextChildNode(const std::string& text) {
    if (!ToBuffer(text))
        return 0;
    return XmlDom_AppendTextChildNode(m_hFile, m_pTmpTxt.get()) ? 1 : 0;
}

int32_t CSVYXmlFile::RemoveCurrentNode() {
    return XmlDom_RemoveCurrentNode(m_hFile);
}

std::string CSVYXmlFile::SVYVersionToStr(const SVersion& version) {
    char text[48];
    std::snprintf(text, sizeof text, "%i.%i.%i", version.major, version.minor, version.revision);
    return text;
}

void CSVYXmlFile::SVYVersionToNum(const std::string& text, SVersion& version) {
    version.text = text;
    std::string rest = text;
    auto takeUpToDot = [&rest]() {
        const size_t dot = rest.find('.');
        if (dot == std::string::npos)
            return std::string();
        std::string part = rest.substr(0, dot);
        rest.erase(0, dot + 1);
        return part;
    };
    version.major = LeadingInt32(takeUpToDot().c_str());
    version.minor = LeadingInt32(takeUpToDot().c_str());
    version.revision = LeadingInt32(rest.c_str());
}

int32_t CSVYXmlFile::NodeVersionCompatibility(std::string& referenceVersion, int32_t& overall,
                                              int32_t& majorCmp, int32_t& minorCmp,
                                              int32_t& revisionCmp) {
    std::string nodeText = "version";
    if (!GetNodeAttribute(nodeText))
        return 0;
    SVersion node, reference;
    SVYVersionToNum(nodeText, node);
    SVYVersionToNum(referenceVersion, reference);
    referenceVersion = node.text;
    auto compare = [](int32_t a, int32_t b) { return a < b ? -1 : (a > b ? 1 : 0); };
    overall = 0;
    revisionCmp = compare(node.revision, reference.revision);
    if (revisionCmp)
        overall = revisionCmp;
    minorCmp = compare(node.minor, reference.minor);
    if (minorCmp)
        overall = minorCmp;
    majorCmp = compare(node.major, reference.major);
    if (majorCmp)
        overall = majorCmp;
    return 1;
}

}  // namespace ZAR

extern "C" void SVYXmlFile_GetVerStr(char* buffer, int32_t size) {
    ZAR::platform::CopyVersionText(
        "SVYXmlFile\t1.1.1.0\tVersion 1 Release 1\t2005-10-14\tSVY3-XMLFILE", buffer, size);
}
