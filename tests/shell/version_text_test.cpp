#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "svy3/document/svy_interface.h"
#include "svy3/shell/svy_dll_app.h"
#include "svy3/shell/version_resource.h"
#include "svy3/xmldom/xml_dom_api.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace {

struct ModuleText {
    void (*get)(char*, int32_t);
    std::vector<std::string> fields;  // module name, version, release text, date
};

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

TEST(VersionText, ModuleTextsCarryTheirFieldsAndNeedTheirLengthPlusTwo) {
    const ModuleText modules[] = {
        {&XmlDom_GetVerStr, {"XMLDOM", "1.1.0.0", "Version 1 Release 1", "2005-02-07"}},
        {&SVYXmlFile_GetVerStr, {"SVYXmlFile", "1.1.1.0", "Version 1 Release 1", "2005-10-14"}},
        {&SVYInterface_GetVerStr,
         {"SVYInterfaceRM", "1.1.0.0", "Version 1 Release 1", "2005-02-07"}}};
    for (const ModuleText& module : modules) {
        const std::string text = CallGuarded(module.get, 512);
        std::vector<std::string> fields;
        std::istringstream in(text);
        for (std::string field; std::getline(in, field, '\t');)
            fields.push_back(field);
        ASSERT_EQ(fields.size(), 5u) << text;
        EXPECT_FALSE(fields[4].empty()) << text << ": no part number";
        fields.pop_back();
        EXPECT_EQ(fields, module.fields);

        const int32_t length = static_cast<int32_t>(text.size());
        EXPECT_EQ(CallGuarded(module.get, length + 2), text);
        for (int32_t size : {length + 1, length, 8, 1, 0}) {  // too small: a beginning at most
            const std::string cut = CallGuarded(module.get, size);
            EXPECT_EQ(text.compare(0, cut.size(), cut), 0) << module.fields[0] << " " << size;
        }
        module.get(nullptr, 64);  // must not crash
    }
}

TEST(VersionTextResource, NumbersTextsAndPartNumberAgree) {
    const ZAR::SVersionResource& resource = ZAR::GetVersionResource();
    for (const auto& [n, text] :
         {std::make_pair(resource.fileVersion, resource.fileVersionText),
          std::make_pair(resource.productVersion, resource.productVersionText)})
        EXPECT_EQ(std::to_string(n.major) + "." + std::to_string(n.minor) + "." +
                      std::to_string(n.revision) + "." + std::to_string(n.build),
                  text);
    EXPECT_STREQ(resource.fileVersionText, "3.3.0.5628");
    EXPECT_STREQ(resource.originalFilename, "SVYDLL.DLL");
    // The product name is the product followed by the part number that "Software DIP" carries.
    const std::string dip = ZAR::GetSoftwareDipText();
    EXPECT_FALSE(dip.empty());
    EXPECT_EQ(dip, resource.softwareDip);
    EXPECT_EQ(resource.productName, "SVY Dynamic Link Library V3 R2 " + dip);
    EXPECT_EQ(ZAR::GetSVYDLLApp().InitInstance(), 1);
}

}  // namespace
