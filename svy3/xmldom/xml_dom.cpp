#include "svy3/xmldom/xml_dom.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <boost/filesystem/operations.hpp>

#include "svy3/platform/file_access.h"
#include "svy3/platform/file_replacer.h"
#include "svy3/xmldom/xml_dom_api.h"

namespace ZAR {
namespace {

using pugi::xml_node;
using pugi::xml_node_type;

constexpr unsigned kParseFlags =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_pi | pugi::parse_comments;

// The standard node name: the tag of an element, the target of a processing instruction or the
// declaration, and fixed names for the other kinds.
const char* NodeName(xml_node node) {
    switch (node.type()) {
        case pugi::node_element:
        case pugi::node_pi:
        case pugi::node_declaration:
            return node.name();
        case pugi::node_pcdata:
            return "#text";
        case pugi::node_cdata:
            return "#cdata-section";
        case pugi::node_comment:
            return "#comment";
        case pugi::node_document:
            return "#document";
        case pugi::node_doctype:
            return "#doctype";
        default:
            return "";
    }
}

bool IsText(xml_node node) {
    return node.type() == pugi::node_pcdata;
}

bool NameMatches(xml_node node, const char* filter) {
    return !filter || std::strcmp(NodeName(node), filter) == 0;
}

// Element and attribute names must be XML names, so that a saved document reads back.
bool IsXmlName(const char* name) {
    if (!name || !*name)
        return false;
    auto start = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' ||
               c >= 0x80;
    };
    auto rest = [&](unsigned char c) {
        return start(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
    };
    if (!start(static_cast<unsigned char>(*name)))
        return false;
    for (const char* p = name + 1; *p; ++p)
        if (!rest(static_cast<unsigned char>(*p)))
            return false;
    return true;
}

// The buffer protocol of every text read: bytes needed written back, text copied only when it fits.
int16_t CopyOut(const char* value, char* buffer, int32_t* size) {
    if (!size)
        return 0;
    if (!value) {
        *size = 0;
        return 0;
    }
    const size_t needed = std::strlen(value) + 1;
    const int32_t capacity = *size;
    if (needed > static_cast<size_t>(INT32_MAX)) {
        *size = INT32_MAX;
        return 0;
    }
    *size = static_cast<int32_t>(needed);
    if (!buffer || capacity < 0 || static_cast<size_t>(capacity) < needed)
        return 0;
    std::memcpy(buffer, value, needed);
    return 1;
}

// Removes `child` from `parent` one leaf at a time. The DOM frees a removed subtree recursively,
// which would exhaust the stack on a deeply nested document.
void RemoveSubtree(xml_node parent, xml_node child) {
    xml_node node = child;
    for (;;) {
        while (node.last_child())
            node = node.last_child();
        if (node == child)
            break;
        xml_node up = node.parent();
        up.remove_child(node);
        node = up;
    }
    parent.remove_child(child);
}

constexpr size_t kMaxDepth = XMLDOM_MAX_DEPTH;

// The levels of the subtree of `top` (1 for a node without children), found by a walk without
// recursion that stops as soon as it passes `limit`.
size_t SubtreeDepth(xml_node top, size_t limit) {
    size_t depth = 1, deepest = 1;
    xml_node node = top;
    for (;;) {
        if (xml_node child = node.first_child()) {
            node = child;
            deepest = std::max(deepest, ++depth);
            if (deepest > limit)
                return deepest;
            continue;
        }
        while (node != top && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        if (node == top)
            return deepest;
        node = node.next_sibling();
    }
}

// The level of a node: 0 for the document, 1 for its children, and so on.
size_t LevelOf(xml_node node) {
    size_t level = 0;
    for (node = node.parent(); node; node = node.parent())
        ++level;
    return level;
}

// Writes one top-level node of a saved file. The file is always UTF-8 (a document read from another
// encoding holds its text as UTF-8), so a declaration that names an encoding is written naming
// UTF-8; otherwise every non-ASCII character would be misread when the file is loaded again.
void PrintTopLevel(xml_node node, pugi::xml_writer& writer) {
    const unsigned flags = pugi::format_indent;
    if (node.type() != pugi::node_declaration || !node.attribute("encoding")) {
        node.print(writer, "\t", flags, pugi::encoding_utf8, 0);
        return;
    }
    pugi::xml_document scratch;
    xml_node copy = scratch.append_copy(node);
    copy.attribute("encoding").set_value("UTF-8");
    copy.print(writer, "\t", flags, pugi::encoding_utf8, 0);
}

class FileWriter : public pugi::xml_writer {
  public:
    explicit FileWriter(std::FILE* file) : m_file(file) {}
    void write(const void* data, size_t size) override {
        if (m_ok && std::fwrite(data, 1, size, m_file) != size)
            m_ok = false;
    }
    bool ok() const { return m_ok; }

  private:
    std::FILE* m_file;
    bool m_ok = true;
};

}  // namespace

CXmlDom::CXmlDom() : m_document(std::make_unique<pugi::xml_document>()) {}

CXmlDom::~CXmlDom() = default;

xml_node CXmlDom::DocumentElement() const {
    for (xml_node child = Document().first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && child != m_parking)
            return child;
    return {};
}

xml_node CXmlDom::ParentOf(xml_node node) const {
    xml_node parent = node.parent();
    return parent == m_parking ? xml_node() : parent;
}

xml_node CXmlDom::FirstChildOf(xml_node node) const {
    xml_node child = node.first_child();
    return child == m_parking ? xml_node() : child;
}

xml_node CXmlDom::NextSiblingOf(xml_node node) const {
    // Removed subtrees kept under the holding element are not each other's siblings.
    if (m_parking && node.parent() == m_parking)
        return {};
    xml_node sibling = node.next_sibling();
    return sibling == m_parking ? xml_node() : sibling;
}

bool CXmlDom::MayAppend(xml_node parent, xml_node_type type) const {
    if (LevelOf(parent) >= kMaxDepth)
        return false;
    if (parent.type() == pugi::node_element)
        return type != pugi::node_declaration && type != pugi::node_document;
    if (parent.type() != pugi::node_document)
        return false;
    // A document holds one element, no text, and its declaration first.
    switch (type) {
        case pugi::node_element:
            return !DocumentElement();
        case pugi::node_comment:
        case pugi::node_pi:
            return true;
        case pugi::node_declaration:
            return !FirstChildOf(parent);
        default:
            return false;
    }
}

xml_node CXmlDom::AppendNode(xml_node parent, xml_node_type type) {
    if (!MayAppend(parent, type))
        return {};
    if (m_parking && parent == Document())
        return parent.insert_child_before(type, m_parking);
    return parent.append_child(type);
}

CXmlDom::NodeHandle* CXmlDom::FindNodeHandle(const void* node) const {
    if (!node)
        return nullptr;
    for (auto it = m_nodeHandles.rbegin(); it != m_nodeHandles.rend(); ++it)
        if (it->get() == node)
            return it->get();
    return nullptr;
}

bool CXmlDom::IsReferenced(xml_node subtree, bool withCursor) const {
    auto inside = [&](xml_node node) {
        for (; node; node = node.parent())
            if (node == subtree)
                return true;
        return false;
    };
    for (const auto& handle : m_nodeHandles)
        if (inside(handle->node))
            return true;
    return withCursor && inside(m_current);
}

void CXmlDom::FreeUnreferencedParked() {
    if (!m_parking)
        return;
    for (xml_node parked = m_parking.first_child(); parked;) {
        xml_node next = parked.next_sibling();
        if (!IsReferenced(parked, true))
            RemoveSubtree(m_parking, parked);
        parked = next;
    }
    if (!m_parking.first_child()) {
        Document().remove_child(m_parking);
        m_parking = xml_node();
    }
}

int16_t CXmlDom::InitializeNewXmlFile(const char* comment, const char* rootName) {
    if (FirstChildOf(Document()) || !IsXmlName(rootName))
        return 0;
    xml_node declaration = AppendNode(Document(), pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    m_writable = 1;
    xml_node root = AppendNode(Document(), pugi::node_element);
    root.set_name(rootName);
    if (comment && *comment)
        root.prepend_child(pugi::node_comment).set_value(comment);
    m_root = DocumentElement();
    m_current = m_root;
    return 1;
}

int32_t CXmlDom::LoadFile(const char* path) {
    m_fileName = path ? path : "";
    m_writable = platform::CanOpenForWriting(m_fileName) ? 1 : 0;
    m_loadResult = XMLDOM_LOAD_NOT_READ;
    // Only a regular file is parsed: the DOM would take the size a folder reports for its length
    // (an impossible allocation) and would wait for a writer on a pipe.
    boost::system::error_code error;
    if (m_fileName.empty() || !boost::filesystem::is_regular_file(m_fileName, error))
        return 0;
    // Parse into a fresh document so that a failed load leaves the current one as it was. The
    // parser does not recurse; the depth is checked before anything else walks the tree (the
    // document node is the subtree's first level).
    auto loaded = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result parsed = loaded->load_file(m_fileName.c_str(), kParseFlags);
    if (!parsed) {
        if (parsed.status != pugi::status_file_not_found &&
            parsed.status != pugi::status_io_error && parsed.status != pugi::status_out_of_memory)
            m_loadResult = XMLDOM_LOAD_NOT_XML;
        return 0;
    }
    if (SubtreeDepth(*loaded, kMaxDepth + 1) > kMaxDepth + 1) {
        m_loadResult = XMLDOM_LOAD_TOO_DEEP;
        return 0;
    }
    m_loadResult = XMLDOM_LOAD_OK;
    for (auto& handle : m_nodeHandles)
        handle->node = xml_node();
    m_current = m_root = m_parking = xml_node();
    m_document = std::move(loaded);
    m_root = DocumentElement();
    m_current = m_root;
    return 1;
}

int16_t CXmlDom::SaveFile(const char* path) {
    std::string target = path ? path : "";
    if (target.empty()) {
        if (m_fileName.empty())
            return 201;
        target = m_fileName;
    } else {
        m_writable = platform::CanSaveTo(target) ? 1 : 0;
    }
    if (!m_writable)
        return 202;

    const bool saved = platform::ReplaceFile(target, [this](std::FILE* file) {
        FileWriter writer(file);
        for (xml_node child = FirstChildOf(Document()); child; child = NextSiblingOf(child))
            PrintTopLevel(child, writer);
        return writer.ok();
    });
    return saved ? 0 : -200;
}

void CXmlDom::MoveToRootNode() {
    m_current = DocumentElement();
}

int32_t CXmlDom::MoveToMatch(xml_node candidate, const char* name, Step next) {
    while (candidate && !NameMatches(candidate, name))
        candidate = (this->*next)(candidate);
    if (!candidate)
        return 0;
    m_current = candidate;
    return 1;
}

int32_t CXmlDom::MoveToParentNode(const char* name) {
    return MoveToMatch(m_current ? ParentOf(m_current) : DocumentElement(), name,
                       &CXmlDom::ParentOf);
}

int32_t CXmlDom::MoveToFirstChildNode(const char* name) {
    return m_current ? MoveToMatch(FirstChildOf(m_current), name, &CXmlDom::NextSiblingOf) : 0;
}

int32_t CXmlDom::MoveToNextSiblingNode(const char* name) {
    return m_current ? MoveToMatch(NextSiblingOf(m_current), name, &CXmlDom::NextSiblingOf) : 0;
}

void CXmlDom::GetNodeInfo(int16_t* hasChildren, int16_t* hasAttributes, int16_t* isText) const {
    int16_t children = 0, attributes = 0, text = 0;
    if (m_current) {
        children = FirstChildOf(m_current) ? 1 : 0;
        attributes = m_current.first_attribute() ? 1 : 0;
        text = IsText(m_current) ? 1 : 0;
    }
    if (hasChildren)
        *hasChildren = children;
    if (hasAttributes)
        *hasAttributes = attributes;
    if (isText)
        *isText = text;
}

int16_t CXmlDom::GetNodeName(char* buffer, int32_t* size) const {
    return CopyOut(m_current ? NodeName(m_current) : nullptr, buffer, size);
}

namespace {
// The text node that the text rule reads and writes: the node itself or its first child.
xml_node TextNodeOf(xml_node node, xml_node firstChild) {
    if (IsText(node))
        return node;
    if (firstChild && IsText(firstChild))
        return firstChild;
    return {};
}
}  // namespace

int16_t CXmlDom::GetNodeText(char* buffer, int32_t* size) const {
    if (!m_current)
        return CopyOut(nullptr, buffer, size);
    xml_node text = TextNodeOf(m_current, FirstChildOf(m_current));
    return CopyOut(text ? text.value() : nullptr, buffer, size);
}

int32_t CXmlDom::SetNodeText(const char* text) {
    if (!m_current || !text)
        return 0;
    xml_node node = TextNodeOf(m_current, FirstChildOf(m_current));
    return node && node.set_value(text) ? 1 : 0;
}

int32_t CXmlDom::GetNodeAttributeText(char* buffer, int32_t* size) const {
    if (!size)
        return 0;
    if (!m_current || !buffer || *size <= 0)
        return CopyOut(nullptr, buffer, size);
    if (!std::memchr(buffer, '\0', static_cast<size_t>(*size)))
        return CopyOut(nullptr, buffer, size);
    // The value lives in the document, so the name can be read from the buffer it replaces.
    pugi::xml_attribute attribute = m_current.attribute(buffer);
    return CopyOut(attribute ? attribute.value() : nullptr, buffer, size);
}

int16_t CXmlDom::SetNodeAttributeText(const char* name, const char* value) {
    if (m_current.type() != pugi::node_element || !IsXmlName(name))
        return 0;
    if (!value) {
        m_current.remove_attribute(name);
        return 1;
    }
    pugi::xml_attribute attribute = m_current.attribute(name);
    if (!attribute)
        attribute = m_current.append_attribute(name);
    return attribute && attribute.set_value(value) ? 1 : 0;
}

int32_t CXmlDom::AppendChildNode(const char* name) {
    if (!m_current || !IsXmlName(name))
        return 0;
    xml_node element = AppendNode(m_current, pugi::node_element);
    if (!element || !element.set_name(name)) {
        if (element)
            m_current.remove_child(element);
        return 0;
    }
    if (!m_root)
        m_root = DocumentElement();
    m_current = element;
    return 1;
}

int16_t CXmlDom::AppendTextChildNode(const char* text) {
    if (!m_current || !text)
        return 0;
    xml_node node = AppendNode(m_current, pugi::node_pcdata);
    return node && node.set_value(text) ? 1 : 0;
}

int16_t CXmlDom::AppendComment(const char* text) {
    if (!m_current || !text)
        return 0;
    xml_node node = AppendNode(m_current, pugi::node_comment);
    return node && node.set_value(text) ? 1 : 0;
}

int32_t CXmlDom::RemoveCurrentNode() {
    if (!m_current)
        return 0;
    xml_node parent = ParentOf(m_current);
    if (!parent)
        return 0;
    xml_node removed = m_current;
    m_current = parent;
    bool parked = false;
    if (IsReferenced(removed, false)) {
        if (!m_parking) {
            m_parking = Document().append_child(pugi::node_element);
            m_parking.set_name("svy3.removed");
        }
        parked = m_parking && m_parking.append_move(removed);
    }
    if (!parked) {
        // Only a declaration cannot be kept under the holding element; its handles lose it.
        for (auto& handle : m_nodeHandles)
            if (handle->node == removed)
                handle->node = xml_node();
        RemoveSubtree(parent, removed);
    }
    if (m_root != DocumentElement())
        m_root = DocumentElement();
    FreeUnreferencedParked();
    return 1;
}

void* CXmlDom::GetCurrentNodeHandle() {
    m_nodeHandles.push_back(std::make_unique<NodeHandle>(NodeHandle{m_current}));
    return m_nodeHandles.back().get();
}

int32_t CXmlDom::MoveToHandleNode(void* node) {
    const NodeHandle* handle = FindNodeHandle(node);
    if (!handle)
        return 0;
    m_current = handle->node;
    return 1;
}

void CXmlDom::ReleaseNodeHandle(void* node) {
    auto last =
        std::remove_if(m_nodeHandles.begin(), m_nodeHandles.end(),
                       [node](const std::unique_ptr<NodeHandle>& h) { return h.get() == node; });
    if (last == m_nodeHandles.end())
        return;
    m_nodeHandles.erase(last, m_nodeHandles.end());
    FreeUnreferencedParked();
}

int32_t CXmlDom::AppendNodeCopy(void* node, bool deep) {
    const NodeHandle* handle = FindNodeHandle(node);
    if (!handle || !handle->node || !m_current)
        return 0;
    const xml_node source = handle->node;
    if (!MayAppend(m_current, source.type()) ||
        (deep && LevelOf(m_current) + SubtreeDepth(source, kMaxDepth) > kMaxDepth))
        return 0;
    const bool beforeParking = m_parking && m_current == Document();
    xml_node copy;
    if (deep) {
        copy = beforeParking ? m_current.insert_copy_before(source, m_parking)
                             : m_current.append_copy(source);
    } else {
        copy = AppendNode(m_current, source.type());
        if (copy) {
            copy.set_name(source.name());
            copy.set_value(source.value());
            for (pugi::xml_attribute attribute : source.attributes())
                copy.append_copy(attribute);
        }
    }
    if (!copy)
        return 0;
    if (!m_root)
        m_root = DocumentElement();
    return 1;
}

}  // namespace ZAR
