// Loading and walking a large project document through the XmlDom_ functions, against pugixml's
// own load of the same file. Prints the load-time ratio and the walk's cost per node.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include <pugixml.hpp>

#include "svy3/xmldom/xml_dom_api.h"
#include "tools/samples/sample_document.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double LoadWithPugixml(const std::string& path) {
    const auto start = Clock::now();
    pugi::xml_document doc;
    const unsigned flags =
        pugi::parse_default | pugi::parse_declaration | pugi::parse_pi | pugi::parse_comments;
    if (!doc.load_file(path.c_str(), flags))
        std::fprintf(stderr, "pugixml failed to load\n");
    return Seconds(start);
}

double LoadWithXmlDom(const std::string& path) {
    const auto start = Clock::now();
    XMLDOM_HANDLE handle = XmlDom_GetHandle();
    if (!XmlDom_LoadFile(handle, path.c_str()))
        std::fprintf(stderr, "XmlDom failed to load\n");
    XmlDom_ReleaseHandle(handle);
    return Seconds(start);
}

// Visits every node in document order with unfiltered moves, reading each node's name.
long WalkAllNodes(XMLDOM_HANDLE handle) {
    char name[256];
    long nodes = 0;
    XmlDom_MoveToRootNode(handle);
    for (;;) {
        int32_t size = sizeof name;
        XmlDom_GetNodeName(handle, name, &size);
        ++nodes;
        if (XmlDom_MoveToFirstChildNode(handle, nullptr))
            continue;
        while (!XmlDom_MoveToNextSiblingNode(handle, nullptr)) {
            if (!XmlDom_MoveToParentNode(handle, nullptr))
                return nodes;
            size = sizeof name;
            XmlDom_GetNodeName(handle, name, &size);
            if (std::string(name) == "#document")
                return nodes;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "/tmp/svy3-bench-xmldom.svy";
    const std::size_t bytes =
        svy3_samples::WriteSurveyDocument(path, svy3_samples::ShapeForSize(50u << 20));
    std::printf("document: %s, %.1f MB\n", path.c_str(), bytes / 1048576.0);

    constexpr int kRounds = 5;
    double pugixmlBest = 1e9, xmldomBest = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        pugixmlBest = std::min(pugixmlBest, LoadWithPugixml(path));
        xmldomBest = std::min(xmldomBest, LoadWithXmlDom(path));
    }
    std::printf(
        "load, best of %d: pugixml load_file %.1f ms, XmlDom_LoadFile %.1f ms, ratio %.3f "
        "(target <= 1.2)\n",
        kRounds, pugixmlBest * 1e3, xmldomBest * 1e3, xmldomBest / pugixmlBest);

    XMLDOM_HANDLE handle = XmlDom_GetHandle();
    XmlDom_LoadFile(handle, path.c_str());
    double walkBest = 1e9;
    long nodes = 0;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        nodes = WalkAllNodes(handle);
        walkBest = std::min(walkBest, Seconds(start));
    }
    XmlDom_ReleaseHandle(handle);
    std::printf(
        "walk of %ld nodes (first child / next sibling / name), best of %d: %.1f ms, "
        "%.1f ns a node (target < 100)\n",
        nodes, kRounds, walkBest * 1e3, walkBest * 1e9 / nodes);
    std::remove(path.c_str());
    return 0;
}
