#include "svy3/external/cfile.h"

#include <gtest/gtest.h>

namespace {

using ZAR::cfile::IsLegalFilename;
using ZAR::cfile::SanitizeName;

TEST(CFile, LegalAndIllegalNames) {
    for (const char* name :
         {"LINE01", "a..b", ".hidden", "CONSOLE", "COM10", "LPT0", "my con", "\xC3\xA9t\xC3\xA9"})
        EXPECT_TRUE(IsLegalFilename(name, false)) << name;
    EXPECT_TRUE(IsLegalFilename(std::string(255, 'a'), false));
    for (const char* name : {"",     ".",   "..",      "a<b",        "a:b",       "a\"b",  "a/b",
                             "a\\b", "a|b", "a?b",     "a*b",        "tab\there", "name.", "name ",
                             "CON",  "con", "Prn.txt", "aux.tar.gz", "com9.log",  "LPT1"})
        EXPECT_FALSE(IsLegalFilename(name, false)) << name;
    EXPECT_FALSE(IsLegalFilename(std::string("a\0b", 3), false));
    EXPECT_FALSE(IsLegalFilename(std::string(256, 'a'), false));
    // As a relative path, each element must be legal.
    EXPECT_TRUE(IsLegalFilename("data/line1\\file.hd", true));
    for (const char* path : {"/abs", "dir/", "a//b", "dir/CON", "dir/../x"})
        EXPECT_FALSE(IsLegalFilename(path, true)) << path;
}

TEST(CFile, SanitizeRepairsIntoLegalNamesOrFailsLeavingTheName) {
    const struct {
        const char* in;
        bool replace;
        const char* out;  // null: nothing legal remains, the call fails
    } cases[] = {{"a<b>c", true, "a_b_c"},       {"a<b>c", false, "abc"},
                 {"dir/file", true, "dir_file"}, {"CON", true, "_CON"},
                 {"con.txt", false, "_con.txt"}, {"name. . ", true, "name"},
                 {"ok name", true, "ok name"},   {"COM1 .", true, "_COM1"},
                 {"???", false, nullptr},        {"..", true, nullptr},
                 {" . ", true, nullptr},         {"", true, nullptr}};
    for (const auto& [in, replace, out] : cases) {
        std::string name = in;
        EXPECT_EQ(SanitizeName(name, replace), out != nullptr) << "'" << in << "'";
        EXPECT_EQ(name, out ? out : in) << "'" << in << "'";
    }
    // Long names are cut before a character that would straddle byte 255.
    std::string name = std::string(254, 'a') + "\xC3\xA9" + "tail";
    ASSERT_TRUE(SanitizeName(name, true));
    EXPECT_EQ(name, std::string(254, 'a'));
}

}  // namespace
