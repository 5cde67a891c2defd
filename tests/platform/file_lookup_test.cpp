#include "svy3/platform/file_lookup.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

TEST(FileLookup, FindsNamesThatDifferOnlyInLetterCase) {
    svy3_test::TempDir dir;
    svy3_test::WriteFile(dir.File("LINE01.HD"), "x");
    svy3_test::WriteFile(dir.File("Mixed.Hd"), "x");
    svy3_test::WriteFile(dir.File("exact.hd"), "x");

    EXPECT_EQ(ZAR::FindFileIgnoringCase(dir.File("exact.hd")), dir.File("exact.hd"));
    EXPECT_EQ(ZAR::FindFileIgnoringCase(dir.File("LINE01.hd")), dir.File("LINE01.HD"));
    EXPECT_EQ(ZAR::FindFileIgnoringCase(dir.File("line01.hd")), dir.File("LINE01.HD"));
    EXPECT_EQ(ZAR::FindFileIgnoringCase(dir.File("MIXED.HD")), dir.File("Mixed.Hd"));  // by scan
    // Nothing matches: the path comes back unchanged, also in a missing folder.
    EXPECT_EQ(ZAR::FindFileIgnoringCase(dir.File("other.hd")), dir.File("other.hd"));
    EXPECT_EQ(ZAR::FindFileIgnoringCase(dir.File("no/such.hd")), dir.File("no/such.hd"));
    EXPECT_EQ(ZAR::FindFileIgnoringCase(""), "");
}

}  // namespace
