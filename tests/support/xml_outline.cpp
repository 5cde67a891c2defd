#include "support/xml_outline.h"

#include <cstdlib>
#include <sstream>

namespace svy3_test {

std::string Outline(const pugi::xml_node& element) {
    std::string text = element.name();
    if (element.first_attribute()) {
        text += '[';
        for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
            if (a != element.first_attribute())
                text += ',';
            text += std::string(a.name()) + "=" + a.value();
        }
        text += ']';
    }
    std::string body;
    std::string children;
    for (pugi::xml_node child : element.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            body += child.value();
        else if (child.type() == pugi::node_element)
            children += (children.empty() ? "" : " ") + Outline(child);
    }
    if (!body.empty())
        text += "\"" + body + "\"";
    if (!children.empty())
        text += "{" + children + "}";
    return text;
}

std::string OutlineOf(const std::string& file, const std::string& path) {
    pugi::xml_document document;
    if (!document.load_file(file.c_str()))
        return "not XML";
    pugi::xml_node node = document.document_element();
    std::istringstream steps(path);
    std::string step;
    while (node && std::getline(steps, step, '/')) {
        int index = 0;
        const auto bracket = step.find('[');
        if (bracket != std::string::npos) {
            index = std::atoi(step.c_str() + bracket + 1);
            step.resize(bracket);
        }
        node = node.child(step.c_str());
        for (; node && index > 0; --index)
            node = node.next_sibling(step.c_str());
    }
    return node ? Outline(node) : "missing";
}

}  // namespace svy3_test
