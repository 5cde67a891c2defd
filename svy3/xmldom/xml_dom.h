// CXmlDom: the object behind an XmlDom_ document handle. Internal to the library; callers use the
// functions of xml_dom_api.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

namespace ZAR {

class CXmlDom {
  public:
    CXmlDom();
    virtual ~CXmlDom();
    CXmlDom(const CXmlDom&) = delete;
    CXmlDom& operator=(const CXmlDom&) = delete;

    int16_t InitializeNewXmlFile(const char* comment, const char* rootName);
    int32_t LoadFile(const char* path);
    int32_t LoadResult() const { return m_loadResult; }
    int16_t SaveFile(const char* path);

    void MoveToRootNode();
    int32_t MoveToParentNode(const char* name);
    int32_t MoveToFirstChildNode(const char* name);
    int32_t MoveToNextSiblingNode(const char* name);

    void GetNodeInfo(int16_t* hasChildren, int16_t* hasAttributes, int16_t* isText) const;
    int16_t GetNodeName(char* buffer, int32_t* size) const;
    int16_t GetNodeText(char* buffer, int32_t* size) const;
    int32_t SetNodeText(const char* text);
    int32_t GetNodeAttributeText(char* buffer, int32_t* size) const;
    int16_t SetNodeAttributeText(const char* name, const char* value);

    int32_t AppendChildNode(const char* name);
    int16_t AppendTextChildNode(const char* text);
    int16_t AppendComment(const char* text);
    int32_t RemoveCurrentNode();

    void* GetCurrentNodeHandle();
    int32_t MoveToHandleNode(void* node);
    void ReleaseNodeHandle(void* node);
    int32_t AppendNodeCopy(void* node, bool deep);

    // Direct reads for the library's own readers, which walk large documents: the cursor's node
    // and the nodes around it as the navigation functions see them, read in place without the
    // buffer protocol's copies. MoveTo takes a node reached from the cursor's node this way.
    pugi::xml_node Current() const { return m_current; }
    void MoveTo(pugi::xml_node node) { m_current = node; }
    pugi::xml_node FirstChildOf(pugi::xml_node node) const;
    pugi::xml_node NextSiblingOf(pugi::xml_node node) const;

  private:
    // A node handle: keeps one node reachable by the caller.
    struct NodeHandle {
        pugi::xml_node node;
    };

    pugi::xml_node Document() const { return *m_document; }
    pugi::xml_node DocumentElement() const;
    // Tree navigation that never shows the holding node of removed subtrees.
    pugi::xml_node ParentOf(pugi::xml_node node) const;
    // Moves the cursor to the first of `candidate` and the nodes `next` leads to from it whose
    // name matches the filter (any node when it is null); 0 when there is none.
    using Step = pugi::xml_node (CXmlDom::*)(pugi::xml_node) const;
    int32_t MoveToMatch(pugi::xml_node candidate, const char* name, Step next);
    // Creates a child of `type` as the last visible child of `parent`; null when not allowed.
    pugi::xml_node AppendNode(pugi::xml_node parent, pugi::xml_node_type type);
    bool MayAppend(pugi::xml_node parent, pugi::xml_node_type type) const;
    NodeHandle* FindNodeHandle(const void* node) const;
    // Whether a node handle (or the cursor, when `withCursor`) holds a node inside `subtree`.
    bool IsReferenced(pugi::xml_node subtree, bool withCursor) const;
    // Frees parked subtrees that nothing refers to any more.
    void FreeUnreferencedParked();

    pugi::xml_node m_current;
    int32_t m_loadResult = 0;
    std::unique_ptr<pugi::xml_document> m_document;
    pugi::xml_node m_root;
    std::string m_fileName;
    int32_t m_writable = 0;
    std::vector<std::unique_ptr<NodeHandle>> m_nodeHandles;
    // Hidden last child of the document under which removed subtrees that a node handle still
    // holds are kept alive; navigation never shows it and saving never writes it.
    pugi::xml_node m_parking;
};

// The object behind a document handle of the XmlDom_ functions (null for a null handle).
inline CXmlDom* DomOf(void* handle) {
    return static_cast<CXmlDom*>(handle);
}

}  // namespace ZAR
