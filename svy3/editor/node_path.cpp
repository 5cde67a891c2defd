// Navigation by element path and by child name and attribute.
#include "svy3/editor/gpz_svy.h"

namespace ZAR {
namespace fs = boost::filesystem;

bool GpzSvy::GotoNode(const fs::path& path, bool create) {
    auto element = path.begin();
    if (path.has_root_directory()) {
        while (ParentNode(nullptr)) {
        }
        // Skip the root name and directory; the next element names the root element.
        while (element != path.end() && (element->has_root_name() || element->has_root_directory()))
            ++element;
    }
    const ESvyGpzCreate mode = create ? eGpzFindOrCreate : eGpzFind;
    for (; element != path.end(); ++element) {
        const std::string name = element->string();
        if (name == ".")
            continue;
        if (name == "..") {
            if (!ParentNode(nullptr))
                return false;
        } else if (!ChildNode(name.c_str(), mode)) {
            return false;
        }
    }
    return true;
}

bool GpzSvy::GotoLineNode(const std::string* lineSetName, std::string lineName) {
    if (!GotoNode(fs::path("/ZAR_SVY") / "Data", false))
        return false;
    const bool found = lineSetName ? FindSubnode("LineSet", "name", *lineSetName)
                                   : FindSubnode("LineSet", std::string(), std::string());
    return found && FindSubnode("Line", "name", lineName);
}

bool GpzSvy::FindSubnode(const std::string& name, const std::string& attribute,
                         const std::string& value) {
    bool first = true;
    std::string text;
    while (NextNode(first, name.c_str())) {
        if (attribute.empty() || value.empty())
            return true;
        if (GetNodeTxt(text, attribute.c_str()) && text == value)
            return true;
    }
    if (!first)
        ParentNode(nullptr);
    return false;
}

bool GpzSvy::IsNode(const std::string& name) {
    std::string current;
    return GetNodeTxt(current, "") && current == name;
}

}  // namespace ZAR
