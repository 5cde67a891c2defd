#include "svy3/xmlfile/direct_read.h"

#include <cstring>

#include "svy3/xmldom/xml_dom.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {

pugi::xml_node CursorNode(const CSVYXmlFile& file) {
    const CXmlDom* dom = DomOf(file.GetFileHnd());
    return dom ? dom->Current() : pugi::xml_node();
}

void MoveCursorTo(CSVYXmlFile& file, pugi::xml_node node) {
    if (CXmlDom* dom = DomOf(file.GetFileHnd()))
        dom->MoveTo(node);
}

pugi::xml_node FirstChild(const CSVYXmlFile& file, pugi::xml_node node) {
    const CXmlDom* dom = DomOf(file.GetFileHnd());
    return dom ? dom->FirstChildOf(node) : pugi::xml_node();
}

pugi::xml_node NextSibling(const CSVYXmlFile& file, pugi::xml_node node) {
    const CXmlDom* dom = DomOf(file.GetFileHnd());
    return dom ? dom->NextSiblingOf(node) : pugi::xml_node();
}

bool FitsTextBuffer(const char* text) {
    constexpr size_t kCapacity = CSVYXmlFile::kTextBufferSize;
    return strnlen(text, kCapacity) < kCapacity;
}

const char* AttributeValue(pugi::xml_node node, const char* name) {
    // A name that does not fit the buffer cannot be asked for.
    return FitsTextBuffer(name) ? BufferedValue(node.attribute(name)) : nullptr;
}

}  // namespace ZAR
