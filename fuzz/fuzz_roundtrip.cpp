// Fuzz target: any bytes as a document, loaded, saved and loaded again. The second load must
// succeed and give the same tree as the first (names, values and attributes of every node; the
// declaration's encoding is written as UTF-8, and a "--" inside a comment gets a space, as XML
// requires). Nothing may crash, leak or hang.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <pugixml.hpp>

#include "fuzz_support.h"
#include "svy3/svy3.h"

namespace {

constexpr unsigned kFlags =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_pi | pugi::parse_comments;

// A comment as saving writes it: "--" cannot stand inside a comment, so a space follows every "-"
// that is followed by another "-" or ends the comment.
std::string SavedComment(const char* text) {
    std::string out;
    for (const char* c = text; *c; ++c) {
        out += *c;
        if (*c == '-' && (c[1] == '-' || c[1] == '\0'))
            out += ' ';
    }
    return out;
}

bool SameNode(pugi::xml_node a, pugi::xml_node b) {
    const bool sameValue = a.type() == pugi::node_comment ? SavedComment(a.value()) == b.value()
                                                          : std::strcmp(a.value(), b.value()) == 0;
    if (a.type() != b.type() || std::strcmp(a.name(), b.name()) != 0 || !sameValue)
        return false;
    pugi::xml_attribute x = a.first_attribute(), y = b.first_attribute();
    for (; x && y; x = x.next_attribute(), y = y.next_attribute()) {
        const bool encoding =
            a.type() == pugi::node_declaration && !std::strcmp(x.name(), "encoding");
        if (std::strcmp(x.name(), y.name()) != 0 ||
            (!encoding && std::strcmp(x.value(), y.value()) != 0))
            return false;
    }
    return !x && !y;
}

// Compares two trees node by node in one walk without recursion.
bool SameTree(pugi::xml_node a, pugi::xml_node b) {
    const pugi::xml_node topA = a;
    for (;;) {
        if (!SameNode(a, b))
            return false;
        if (a.first_child() || b.first_child()) {
            a = a.first_child();
            b = b.first_child();
            if (!a || !b)
                return false;
            continue;
        }
        while (a != topA && !a.next_sibling()) {
            if (b.next_sibling())
                return false;
            a = a.parent();
            b = b.parent();
        }
        if (a == topA)
            return true;
        a = a.next_sibling();
        b = b.next_sibling();
        if (!b)
            return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string in = svy3_fuzz::ScratchPath("roundtrip", ".svy");
    static const std::string out = svy3_fuzz::ScratchPath("roundtrip", "-saved.svy");
    if (!svy3_fuzz::WriteInput(in, data, size))
        return 0;

    XMLDOM_HANDLE first = XmlDom_GetHandle();
    if (XmlDom_LoadFile(first, in.c_str())) {
        if (XmlDom_SaveFile(first, out.c_str()) != XMLDOM_SAVE_OK)
            std::abort();
        XMLDOM_HANDLE second = XmlDom_GetHandle();
        if (!XmlDom_LoadFile(second, out.c_str()))
            std::abort();
        XmlDom_ReleaseHandle(second);
        pugi::xml_document original, saved;
        if (!original.load_file(in.c_str(), kFlags) || !saved.load_file(out.c_str(), kFlags) ||
            !SameTree(original, saved))
            std::abort();
    }
    XmlDom_ReleaseHandle(first);
    return 0;
}
