// Direct reads of a cursor's document for the readers of large documents: the nodes around the
// cursor and their attributes read in place, with the results the cursor's own reads through its
// text buffer give, without copying names and values through that buffer. Internal to the
// library.
#pragma once

#include <pugixml.hpp>

namespace ZAR {

class CSVYXmlFile;

// The cursor's node; a null node when the file holds no document.
pugi::xml_node CursorNode(const CSVYXmlFile& file);
// Moves the cursor to `node`, a node of the file's document reached from the cursor's node with
// the functions below.
void MoveCursorTo(CSVYXmlFile& file, pugi::xml_node node);
// First child and next sibling as the cursor's navigation sees them.
pugi::xml_node FirstChild(const CSVYXmlFile& file, pugi::xml_node node);
pugi::xml_node NextSibling(const CSVYXmlFile& file, pugi::xml_node node);

// Whether a name or value fits the cursor's text buffer with its terminator.
bool FitsTextBuffer(const char* text);
// The value of `attribute` as the cursor reads it: null when it is missing or too long for the
// text buffer (the cursor's read fails then). Valid until the document changes.
inline const char* BufferedValue(pugi::xml_attribute attribute) {
    return attribute && FitsTextBuffer(attribute.value()) ? attribute.value() : nullptr;
}
// The attribute `name` of `node` as the cursor reads it (see BufferedValue).
const char* AttributeValue(pugi::xml_node node, const char* name);

}  // namespace ZAR
