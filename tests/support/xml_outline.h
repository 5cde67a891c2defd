// A compact text form of an XML element tree, for comparing written blocks in one expectation.
#pragma once

#include <string>

#include <pugixml.hpp>

namespace svy3_test {

// name[attr=value,...]"text"{child child ...}: attributes in document order, the text of the
// element's text children, child elements in document order; comments are left out.
std::string Outline(const pugi::xml_node& element);

// The element at `path` ("Data/Line[1]/DataFile": the second Line) below the document element
// of the XML file at `file`, as an outline; "missing" when there is no such element.
std::string OutlineOf(const std::string& file, const std::string& path);

}  // namespace svy3_test
