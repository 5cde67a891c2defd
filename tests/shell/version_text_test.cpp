// The version texts of the library's modules and the version resource compiled into it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "svy3/svy3.h"

namespace {

// Calls `get` with a `size`-byte buffer inside a poisoned one: nothing around it may change and
// its last byte must be a terminator. Returns the text it holds.
std::string CallGuarded(void (*get)(char*, int32_t), int32_t size) {
    std::vector<char> memory(size + 32, '#');
    get(memory.data() + 16, size);
    EXPECT_EQ(std::string(memory.begin(), memory.begin() + 16), std::string(16, '#')) << size;
    EXPECT_EQ(std::string(memory.end() - 16, memory.end()), std::string(16, '#')) << size;
    if (size <= 0)
        return std::string();
    EXPECT_EQ(memory[16 + size - 1], '\0') << size;
    return std::string(memory.data() + 16, strnlen(memory.data() + 16, size));
}

TEST(VersionText, ModuleTextsCarryTheirFieldsAndFitOrAreCut) {
    // Module name, version, release text and date, then a part number. A text that does not fit
    // is either cut to the buffer or, for the modules that need their length plus two, empty.
    const struct {
        void (*get)(char*, int32_t);
        std::string fields;
        bool cut;
    } modules[] = {
        {&XmlDom_GetVerStr, "XMLDOM\t1.1.0.0\tVersion 1 Release 1\t2005-02-07\t", false},
        {&SVYXmlFile_GetVerStr, "SVYXmlFile\t1.1.1.0\tVersion 1 Release 1\t2005-10-14\t", false},
        {&SVYInterface_GetVerStr, "SVYInterfaceRM\t1.1.0.0\tVersion 1 Release 1\t2005-02-07\t",
         false},
        {&SVYSettingsBlock_GetVerStr,
         "SVYSettingsBlock\t1.1.1.0\tVersion 1 Release 1\t2005-10-14\t", true},
        {&SVYDataBlock_GetVerStr, "SVYDataBlock\t1.1.1.0\tVersion 1 Release 1\t2005-10-14\t", true},
        {&SVYDataBlockInterfaceRM_GetVerStr,
         "SVYDataBlockInterfaceRM\t1.1.0.0\tVersion 1 Release 1\t2005-02-07\t", true}};
    for (const auto& [get, fields, cut] : modules) {
        SCOPED_TRACE(fields);
        const std::string text = CallGuarded(get, 512);
        EXPECT_EQ(text.compare(0, fields.size(), fields), 0) << text;
        EXPECT_GT(text.size(), fields.size()) << text << ": no part number";
        EXPECT_EQ(text.find('\t', fields.size()), std::string::npos) << text;

        const int32_t length = static_cast<int32_t>(text.size());
        EXPECT_EQ(CallGuarded(get, length + 2), text);
        for (int32_t size : {length + 1, length, 8, 1})
            EXPECT_EQ(CallGuarded(get, size), cut ? text.substr(0, size - 1) : "") << size;
        for (int32_t size : {0, -1})
            EXPECT_EQ(CallGuarded(get, size), "") << size;
        get(nullptr, 64);  // must not crash
    }
}

// The version macros, the numbers and texts of the resource compiled into the library, and the
// part number all name the same release.
TEST(VersionTextResource, MacrosNumbersTextsAndPartNumberAgree) {
    const ZAR::SVersionResource& resource = ZAR::GetVersionResource();
    // "major.minor.revision.build."
    const auto dotted = [](auto... parts) { return (... + (std::to_string(parts) + ".")); };
    const std::string version = SVY3_VERSION_STRING + std::string(".");
    EXPECT_EQ(
        dotted(SVY3_VERSION_MAJOR, SVY3_VERSION_MINOR, SVY3_VERSION_PATCH, SVY3_VERSION_BUILD),
        version);
    for (const auto& [n, text] :
         {std::make_pair(resource.fileVersion, resource.fileVersionText),
          std::make_pair(resource.productVersion, resource.productVersionText)}) {
        EXPECT_EQ(dotted(n.major, n.minor, n.revision, n.build), version);
        EXPECT_STREQ(text, SVY3_VERSION_STRING);
    }
    // The product name is the product followed by the part number that "Software DIP" carries.
    EXPECT_STREQ(ZAR::GetSoftwareDipText(), resource.softwareDip);
    EXPECT_EQ(resource.productName,
              "SVY Dynamic Link Library V3 R2 " + std::string(resource.softwareDip));
    EXPECT_EQ(ZAR::GetSVYDLLApp().InitInstance(), 1);
}

}  // namespace
