#include "svy3/external/cfile.h"

#include <gtest/gtest.h>

namespace {

using ZAR::cfile::IsLegalFilename;
using ZAR::cfile::SanitizeName;

TEST(CFile, LegalNames) {
    for (const char* name : {"LINE01", "a.b.c", "Line 3 (repeat)", ".hidden", "x", "CONSOLE",
                             "COM10", "LPT0", "my con", "con_1", "\xC3\xA9t\xC3\xA9", "a..b"})
        EXPECT_TRUE(IsLegalFilename(name, false)) << name;
    EXPECT_TRUE(IsLegalFilename(std::string(255, 'a'), false));
}

TEST(CFile, IllegalNames) {
    for (const char* name :
         {"",      ".",     "..",       "a<b",  "a>b",   "a:b",       "a\"b",
          "a/b",   "a\\b",  "a|b",      "a?b",  "a*b",   "tab\there", "bell\a",
          "name.", "name ", "name. ",   "CON",  "con",   "Prn.txt",   "aux.tar.gz",
          "NUL",   "COM1",  "com9.log", "LPT1", "lpt5.x"})
        EXPECT_FALSE(IsLegalFilename(name, false)) << name;
    EXPECT_FALSE(IsLegalFilename(std::string("a\0b", 3), false));
    EXPECT_FALSE(IsLegalFilename(std::string(256, 'a'), false));
}

TEST(CFile, SeparatorsAllowedBetweenLegalElements) {
    EXPECT_TRUE(IsLegalFilename("data/line1/file.hd", true));
    EXPECT_TRUE(IsLegalFilename("data\\file.hd", true));
    for (const char* path : {"/abs", "dir/", "a//b", "dir/CON", "dir/../x", "a:b/c", ""})
        EXPECT_FALSE(IsLegalFilename(path, true)) << path;
}

TEST(CFile, SanitizeRepairsIntoLegalNames) {
    const struct {
        const char* in;
        bool replace;
        const char* out;
    } cases[] = {{"a<b>c", true, "a_b_c"},       {"a<b>c", false, "abc"},
                 {"dir/file", true, "dir_file"}, {"CON", true, "_CON"},
                 {"con.txt", false, "_con.txt"}, {"name. . ", true, "name"},
                 {"ok name", true, "ok name"},   {"end?", true, "end_"},
                 {"end?", false, "end"},         {"tab\tx", true, "tab_x"},
                 {"COM1 .", true, "_COM1"},      {"???", true, "___"}};
    for (const auto& c : cases) {
        std::string name = c.in;
        ASSERT_TRUE(SanitizeName(name, c.replace)) << c.in;
        EXPECT_EQ(name, c.out) << c.in;
        EXPECT_TRUE(IsLegalFilename(name, false)) << c.in;
    }
}

TEST(CFile, SanitizeCutsLongNamesAtCharacterBoundaries) {
    // 254 ASCII bytes then a two-byte character: the character would straddle byte 255.
    std::string name = std::string(254, 'a') + "\xC3\xA9" + "tail";
    ASSERT_TRUE(SanitizeName(name, true));
    EXPECT_EQ(name, std::string(254, 'a'));
    std::string dotted = std::string(254, 'b') + ".x";
    ASSERT_TRUE(SanitizeName(dotted, true));
    EXPECT_EQ(dotted, std::string(254, 'b'));  // the cut leaves a trailing dot, which goes
}

TEST(CFile, SanitizeFailsAndLeavesNameWhenNothingLegalRemains) {
    for (const char* name : {"", ".", "..", "...", " . "}) {
        std::string text = name;
        EXPECT_FALSE(SanitizeName(text, true)) << "'" << name << "'";
        EXPECT_EQ(text, name);
    }
    std::string marks = "???";
    EXPECT_FALSE(SanitizeName(marks, false));
    EXPECT_EQ(marks, "???");
}

}  // namespace
