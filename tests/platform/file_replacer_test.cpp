// Tests of the safe file replacement and the save test: every step failing in turn, leftovers of
// killed replacements, a full disk, and a writability test that creates nothing.
#include "svy3/platform/file_replacer.h"

#include <gmock/gmock.h>
#include <sys/mount.h>
#include <unistd.h>

#include <boost/filesystem.hpp>
#include <set>
#include <string>

#include "support/test_support.h"
#include "svy3/platform/file_access.h"

namespace {

namespace fs = boost::filesystem;
using svy3_test::ReadFile;
using svy3_test::TempDir;
using svy3_test::WriteFile;
using testing::ElementsAre;
using ZAR::platform::ReplaceStep;

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (fs::directory_iterator it(folder), end; it != end; ++it)
        names.insert(it->path().filename().string());
    return names;
}

bool Replace(const std::string& path, const std::string& bytes) {
    return ZAR::platform::ReplaceFile(path, [&](std::FILE* file) {
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    });
}

TEST(FileReplacer, EveryFailingStepLeavesThePreviousFile) {
    TempDir dir;
    const std::string existing = WriteFile(dir.File("doc.svy"), "old");
    const std::string missing = dir.File("new.svy");
    for (ReplaceStep step : {ReplaceStep::Create, ReplaceStep::Write, ReplaceStep::Sync,
                             ReplaceStep::Close, ReplaceStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        ZAR::platform::FailReplaceStepForTesting(step);
        EXPECT_FALSE(Replace(existing, "new"));
        EXPECT_FALSE(Replace(missing, "new"));
        EXPECT_EQ(ReadFile(existing), "old");
        EXPECT_THAT(Names(dir.path()), ElementsAre("doc.svy"));
    }
    ZAR::platform::FailReplaceStepForTesting(ReplaceStep::None);
    ASSERT_TRUE(Replace(existing, "new") && Replace(missing, "made"));
    EXPECT_EQ(ReadFile(existing) + ReadFile(missing), "newmade");
}

// Only regular files of the replacement's own naming for the same file are taken as leftovers.
TEST(FileReplacer, RemovesOnlyItsOwnLeftovers) {
    TempDir dir;
    const std::string doc = WriteFile(dir.File("doc.svy"), "old");
    const std::set<std::string> kept = {
        "doc.svy",         "doc.svy.svy3-abc12",   "doc.svy.svy3-abc1234",  "doc.svy.svy3-ab.123",
        "doc.svy3-abc123", "xdoc.svy.svy3-abc123", "other.svy.svy3-abc123", "doc.svy.svy3-Dir9Z"};
    for (const std::string& name : kept)
        if (name != "doc.svy" && name != "doc.svy.svy3-Dir9Z")
            WriteFile(dir.File(name), "keep");
    fs::create_directory(dir.File("doc.svy.svy3-Dir9Z"));
    WriteFile(dir.File("doc.svy.svy3-aB3xY9"), "left by a killed save");
    WriteFile(dir.File("doc.svy.svy3-000000"), "left by another");
    ASSERT_TRUE(Replace(doc, "new"));
    EXPECT_EQ(Names(dir.path()), kept);
    EXPECT_EQ(ReadFile(doc), "new");
}

TEST(FileReplacer, SaveTestCreatesNothingAndRemovingSaysWhetherItRemoved) {
    TempDir dir;
    const std::string file = WriteFile(dir.File("doc.svy"), "x");
    for (const std::string& path : {file, dir.File("new.svy")})
        EXPECT_TRUE(ZAR::platform::CanSaveTo(path)) << path;
    for (const std::string& path :
         {dir.path(), file + "/below.svy", dir.File("no/such.svy"), std::string()})
        EXPECT_FALSE(ZAR::platform::CanSaveTo(path)) << path;
    EXPECT_THAT(Names(dir.path()), ElementsAre("doc.svy"));

    EXPECT_FALSE(ZAR::platform::RemoveFile(dir.File("missing.svy")));
    EXPECT_TRUE(ZAR::platform::RemoveFile(file));
    EXPECT_THAT(Names(dir.path()), testing::IsEmpty());
}

// A full disk: a small memory file system, where this machine lets the test mount one.
TEST(FileReplacer, FullDiskKeepsTheOldFile) {
    TempDir dir;
    const std::string disk = dir.File("disk");
    fs::create_directory(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no permission to mount a small file system here";
    const std::string old(20000, 'o');
    const std::string doc = WriteFile(disk + "/doc.svy", old);
    const bool replaced = Replace(doc, std::string(200000, 'n'));
    const std::string after = ReadFile(doc);
    const std::set<std::string> names = Names(disk);
    ::umount2(disk.c_str(), MNT_DETACH);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(after, old);
    EXPECT_THAT(names, ElementsAre("doc.svy"));
}

}  // namespace
