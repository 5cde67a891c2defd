// Renaming survey data: the flags of Modify on a real folder tree, undo after any failed step,
// line sets, data paths and the one-line-set copy.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <boost/filesystem/operations.hpp>
#include <tuple>

#include "editor/editor_support.h"
#include "svy3/editor/rename_plan.h"

namespace {

using svy3_test::DataFileXml;
using svy3_test::ErrorOf;
using svy3_test::ReadFile;
using svy3_test::SvyDocument;
using svy3_test::TreeSnapshot;
using testing::ElementsAre;
using testing::HasSubstr;
namespace fs = boost::filesystem;

// File operations that fail the `failAt`-th change made on disk (counted from 1) with a
// file-system error, and count the changes made.
class FailingFileOperations : public ZAR::FileOperations {
  public:
    explicit FailingFileOperations(int failAt = 0) : m_failAt(failAt) {}
    void Move(const fs::path& from, const fs::path& to) override { Counted(from).Move(from, to); }
    void Copy(const fs::path& from, const fs::path& to) override { Counted(from).Copy(from, to); }
    void CreateDirectory(const fs::path& path) override { Counted(path).CreateDirectory(path); }
    void RemoveDirectory(const fs::path& path) override { Counted(path).RemoveDirectory(path); }
    void RemoveFile(const fs::path& path) override { Counted(path).RemoveFile(path); }
    int m_count = 0;

  private:
    ZAR::FileOperations& Counted(const fs::path& path) {
        if (++m_count == m_failAt)
            throw fs::filesystem_error("injected failure", path,
                                       make_error_code(boost::system::errc::io_error));
        return ZAR::DefaultFileOperations();
    }
    int m_failAt;
};

// A survey folder: the document survey.svy and its data folder "data" holding
//   A.HD A.DT1 A.GPS a.txt   line "North:1" of set "Set1" (a.txt shares A's stem)
//   sub/B.HD sub/B.DT1 sub/B.mrk, odo.sen   line "South" of set "Set1"
//   C.HD C.DT1               line "East", outside line sets
class RenameTest : public svy3_test::EditorFixture, public testing::Test {
  protected:
    void SetUp() override { Reset(); }
    // The folder and the document as described above, loaded; `extraLine` goes after East.
    void Reset(const std::string& extraLine = "") {
        fs::create_directories(Data());  // emptied, not removed: it may be a mount point
        const std::vector<fs::path> old(fs::directory_iterator(Data()), {});
        for (const fs::path& path : old)
            fs::remove_all(path);
        for (const char* file : {"A.HD", "A.DT1", "A.GPS", "a.txt", "sub/B.HD", "sub/B.DT1",
                                 "sub/B.mrk", "odo.sen", "C.HD", "C.DT1"})
            Write(file, std::string("contents of ") + file);
        m_document =
            SvyDocument("<LineSet name=\"Set1\"><Line name=\"North:1\">" +
                            DataFileXml("A", "HD+DT1", 1) + "</Line><Line name=\"South\">" +
                            DataFileXml("B", "HD+DT1", 1, "<FileDirPath>sub</FileDirPath>") +
                            DataFileXml("odo", "sen", 1) + "</Line></LineSet><Line name=\"East\">" +
                            DataFileXml("C", "HD+DT1", 1) + "</Line>" + extraLine,
                        "data");
        ASSERT_EQ(Load(m_document), 1);
    }
    // A second line "West" shares odo.sen: its move becomes a copy.
    void ResetSharingTheOdometer() {
        Reset("<Line name=\"West\">" + DataFileXml("odo", "sen", 1) + "</Line>");
    }
    void Write(const std::string& file, const std::string& contents) {
        fs::create_directories(fs::path(Data(file)).parent_path());
        svy3_test::WriteFile(Data(file), contents);
    }
    std::string Data(const std::string& file = "") const {
        return m_dir.File("data") + (file.empty() ? "" : "/" + file);
    }
    // The data folder's files and folders, relative to it, each followed by a blank.
    std::string DataTree() const {
        std::string names;
        for (const auto& entry : TreeSnapshot(Data()))
            names += entry.first + " ";
        return names;
    }
    // Map entries of every line as "line:path relative to the data folder", blank-separated.
    std::string Mapped() const {
        std::string entries;
        for (const auto& [set, lines] : m_editor.Map())
            for (const auto& [line, files] : lines)
                for (const auto& [path, positions] : files)
                    entries += line + ":" + path.lexically_relative(Data()).string() + " ";
        return entries;
    }
    std::string m_document;
};

TEST_F(RenameTest, FlagsRenameFilesAfterTheirLinesAndMoveThemIntoTheDataOrLineFolders) {
    const struct {
        bool names, intoDataDirectory, lineDirectories;
        const char* tree;
    } cases[] = {
        {false, false, false,
         "A.DT1 A.GPS A.HD C.DT1 C.HD a.txt odo.sen sub sub/B.DT1 sub/B.HD sub/B.mrk "},
        {true, true, false,
         "East.DT1 East.HD North_1.DT1 North_1.GPS North_1.HD North_1.txt South.DT1 South.HD "
         "South.mrk South.sen "},
        {true, false, true,
         "East East/East.DT1 East/East.HD North_1 North_1/North_1.DT1 North_1/North_1.GPS "
         "North_1/North_1.HD North_1/North_1.txt South South/South.sen sub sub/South "
         "sub/South/South.DT1 sub/South/South.HD sub/South/South.mrk "},
        // sub/ emptied and removed
        {false, true, false, "A.DT1 A.GPS A.HD B.DT1 B.HD B.mrk C.DT1 C.HD a.txt odo.sen "},
        {false, true, true,
         "East East/C.DT1 East/C.HD North:1 North:1/A.DT1 North:1/A.GPS North:1/A.HD "
         "North:1/A.txt South South/B.DT1 South/B.HD South/B.mrk South/odo.sen "},
        {false, false, true,
         "East East/C.DT1 East/C.HD North:1 North:1/A.DT1 North:1/A.GPS North:1/A.HD "
         "North:1/A.txt South South/odo.sen sub sub/South sub/South/B.DT1 sub/South/B.HD "
         "sub/South/B.mrk "},
        // Every file takes its line's name, with its companions; the last case, checked further.
        {true, false, false,
         "East.DT1 East.HD North_1.DT1 North_1.GPS North_1.HD North_1.txt South.sen sub "
         "sub/South.DT1 sub/South.HD sub/South.mrk "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tree);
        Reset();
        m_editor.ClearChanges();
        ASSERT_TRUE(m_editor.Modify(c.names, c.intoDataDirectory, c.lineDirectories, false));
        EXPECT_EQ(DataTree(), c.tree);
        EXPECT_EQ(m_editor.DocumentChanges().empty(),
                  !c.names && !c.intoDataDirectory && !c.lineDirectories);
        ASSERT_TRUE(m_editor.Save(nullptr));  // the document follows the files
        svy3_test::OpenEditor reloaded;
        ASSERT_EQ(reloaded.Load(SvyPath().c_str()), 1);
        for (const auto& [set, lines] : reloaded.Map())
            for (const auto& [line, files] : lines)
                for (const auto& [path, positions] : files)
                    EXPECT_TRUE(fs::exists(path)) << path;
    }
    EXPECT_EQ(ReadFile(Data("North_1.GPS")), "contents of A.GPS");
    EXPECT_EQ(Mapped(),
              "East:East.DT1 East:East.HD North_1:North_1.DT1 North_1:North_1.HD "
              "South:South.sen South:sub/South.DT1 South:sub/South.HD ");
    EXPECT_THAT(m_editor.DocumentChanges(),
                testing::IsSupersetOf({"Line \"North:1\" renamed \"North_1\"",
                                       "DataFile \"A\" renamed \"North_1\""}));
    // A second pass finds every file already named after its line: nothing moves.
    const auto after = TreeSnapshot(m_dir.path());
    ASSERT_TRUE(m_editor.Modify(true, false, false, false));
    EXPECT_EQ(TreeSnapshot(m_dir.path()), after);
}

TEST_F(RenameTest, ExistingTargetsAreKeptOrReplacedAndUndoRestoresThem) {
    Write("East.HD", "someone else's header");
    ASSERT_TRUE(m_editor.Modify(true, false, false, false));  // keep: taken as made
    EXPECT_EQ(ReadFile(Data("East.HD")) + ", " + ReadFile(Data("C.HD")),
              "someone else's header, contents of C.HD");  // C.HD left in place

    Reset();
    Write("East.HD", "someone else's header");
    const auto before = TreeSnapshot(m_dir.path());
    ASSERT_TRUE(m_editor.Modify(true, false, false, true));  // overwrite
    EXPECT_EQ(ReadFile(Data("East.HD")), "contents of C.HD");
    EXPECT_TRUE(fs::exists(Data(".svy3-replaced-East.HD")));  // until the moves are kept
    ASSERT_TRUE(m_editor.UndoRenames());
    EXPECT_EQ(TreeSnapshot(m_dir.path()), before);

    ASSERT_EQ(Load(m_document), 1);  // the document in memory still names the moved files
    ASSERT_TRUE(m_editor.Modify(true, false, false, true));
    ASSERT_TRUE(m_editor.KeepRenames());
    EXPECT_FALSE(fs::exists(Data(".svy3-replaced-East.HD")));
    EXPECT_TRUE(m_editor.UndoRenames());  // nothing left to undo
    EXPECT_FALSE(fs::exists(Data("C.HD")));
}

TEST_F(RenameTest, AFailureAtAnyStepPutsEveryFileBack) {
    ResetSharingTheOdometer();
    const auto before = TreeSnapshot(m_dir.path());
    FailingFileOperations counting;
    m_editor.SetFileOperations(&counting);
    ASSERT_TRUE(m_editor.Modify(true, true, true, false));
    EXPECT_EQ(ReadFile(Data("West/West.sen")), "contents of odo.sen");
    EXPECT_EQ(ReadFile(Data("South/South.sen")), "contents of odo.sen");
    ASSERT_GT(counting.m_count, 20);
    for (int failAt = 1; failAt <= counting.m_count; ++failAt) {
        SCOPED_TRACE(failAt);
        ResetSharingTheOdometer();
        FailingFileOperations failing(failAt);
        m_editor.SetFileOperations(&failing);
        const auto error = ErrorOf([&] { m_editor.Modify(true, true, true, false); });
        EXPECT_THAT(error.code, testing::AnyOf(-14, -33, -36));
        EXPECT_THAT(error.what, HasSubstr("injected failure"));
        EXPECT_EQ(TreeSnapshot(m_dir.path()), before);
    }
    m_editor.SetFileOperations(nullptr);
}

// A full disk and a read-only one, on a small memory file system where this machine lets the test
// mount one: the batch fails with the system's error and everything is put back.
TEST_F(RenameTest, FullAndReadOnlyDisksPutEverythingBack) {
    fs::remove_all(Data());
    fs::create_directory(Data());
    if (::mount("tmpfs", Data().c_str(), "tmpfs", 0, "size=128k") != 0)
        GTEST_SKIP() << "no permission to mount a small file system here";
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{Data()};
    ResetSharingTheOdometer();
    Write("odo.sen", std::string(50000, 's'));  // copied to a second line: no room for it
    const auto before = TreeSnapshot(m_dir.path());
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly);
        if (readOnly) {
            ASSERT_EQ(::mount("tmpfs", Data().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr),
                      0);
        }
        const auto error = ErrorOf([&] { m_editor.Modify(true, true, true, false); });
        EXPECT_THAT(error.what, HasSubstr("due to the following error"));
        EXPECT_EQ(TreeSnapshot(m_dir.path()), before);
        ASSERT_EQ(Load(ReadFile(SvyPath())), 1);
    }
}

// Each call's error as "code message".
template <class Call>
std::string Error(Call call) {
    const svy3_test::Thrown error = ErrorOf(call);
    return std::to_string(error.code) + " " + error.what;
}

TEST_F(RenameTest, RenameErrorsNameTheMoveThatFailedAndUnusableNamesAreMalformed) {
    FailingFileOperations failing(1);
    m_editor.SetFileOperations(&failing);
    EXPECT_THAT(
        Error([&] { m_editor.Modify(true, false, false, false); }),
        testing::StartsWith("-33 SVY file problem: Unable to rename file \"" + Data("C.HD") +
                            "\" to \"" + Data("East.HD") + "\"\" due to the following error.\r\n"));
    m_editor.SetFileOperations(nullptr);

    const std::string line = "<Line name=\"...\">" + DataFileXml("A", "HD+DT1", 1) + "</Line>";
    ASSERT_EQ(Load(SvyDocument(line, "data")), 1);
    const auto before = TreeSnapshot(m_dir.path());
    EXPECT_EQ(Error([&] { m_editor.Modify(true, false, false, false); }),
              "-28 Malformed SVY file: Unsupported SVY file content <Line name=\"...\">");
    EXPECT_EQ(TreeSnapshot(m_dir.path()), before);
}

// Line set edits change the document only: nothing on disk moves.
TEST_F(RenameTest, LineSetsAreRenamedOrReduced) {
    const auto before = TreeSnapshot(m_dir.path());
    const auto setNames = [&] {
        std::vector<std::string> names;
        for (const auto& set : m_editor.Map())
            names.push_back(set.first);
        return names;
    };
    ASSERT_TRUE(m_editor.RenameLineSet("Set1", "Main"));
    EXPECT_THAT(setNames(), ElementsAre("", "Main"));
    EXPECT_EQ(Error([&] { m_editor.RenameLineSet(nullptr, "x"); }).substr(0, 4), "-27 ");
    EXPECT_EQ(Error([&] { m_editor.RenameLineSet("x", nullptr); }).substr(0, 4), "-27 ");
    EXPECT_EQ(Error([&] { m_editor.RenameLineSet("Set1", "x"); }),
              "-31 Malformed SVY file: Uable to find <LineSet name=??"
              "?> to rename.");

    m_editor.MakeSingleLineSet("Main");  // the lines outside line sets go, Main stays
    EXPECT_THAT(setNames(), ElementsAre("Main"));
    ASSERT_EQ(Load(m_document), 1);
    m_editor.MakeSingleLineSet("");  // every line set goes, the loose lines stay
    EXPECT_THAT(setNames(), ElementsAre(""));
    EXPECT_THROW(m_editor.MakeSingleLineSet(nullptr), ZAR::CError);
    EXPECT_EQ(TreeSnapshot(m_dir.path()), before);

    // Without a Data element.
    ASSERT_TRUE(m_editor.GotoNode("/ZAR_SVY/Data", false));
    m_editor.DeleteNode();
    const std::string missing = " Malformed SVY file: <ZAR_SVY><Data> not found.";
    EXPECT_EQ(Error([&] { m_editor.RenameLineSet("S", "T"); }), "-28" + missing);
    EXPECT_EQ(Error([&] { m_editor.MakeSingleLineSet("S"); }), "-18" + missing);
    ASSERT_EQ(Load(SvyDocument("")), 1);  // no data directory
    ASSERT_TRUE(m_editor.GotoNode("/ZAR_SVY/Data", false));
    m_editor.DeleteNode();
    EXPECT_EQ(Error([&] { m_editor.PrefixDataPath("x\\"); }), "-23" + missing);
}

TEST_F(RenameTest, DataPathsArePrefixedOnlyWithoutADataDirectory) {
    EXPECT_FALSE(m_editor.PrefixDataPath("x\\"));  // the document names its data folder
    EXPECT_THROW(m_editor.PrefixDataPath(nullptr), ZAR::CError);
    ASSERT_EQ(Load(SvyDocument("<LineSet name=\"S\"><Line name=\"L\">" +
                               DataFileXml("B", "HD", 1, "<FileDirPath>sub</FileDirPath>") +
                               DataFileXml("N", "HD", 1) + "</Line></LineSet><Line name=\"M\">" +
                               DataFileXml("E", "HD", 1, "<FileDirPath/>") + "</Line>")),
              1);
    ASSERT_TRUE(m_editor.PrefixDataPath("data\\"));
    EXPECT_EQ(Mapped(), "M:E.HD L:../N.HD L:sub/B.HD ");
    // Without loose lines, the line sets' files are prefixed all the same.
    ASSERT_EQ(Load(SvyDocument("<LineSet name=\"S\"><Line name=\"L\">" +
                               DataFileXml("N", "HD", 1, "<FileDirPath/>") + "</Line></LineSet>")),
              1);
    ASSERT_TRUE(m_editor.PrefixDataPath("data\\"));
    EXPECT_EQ(Mapped(), "L:N.HD ");
}

// Each case gives the FileDirPath text (no element when null), whether to replace it and the
// folder; noted as the result, whether the cursor is back on the DataFile, and the text after.
TEST_F(RenameTest, FileDirPathIsReplacedOrExtended) {
    std::string noted;
    for (const auto& [present, replace, folder] :
         std::vector<std::tuple<const char*, bool, const char*>>{{"a", false, "sub"},
                                                                 {"a", true, "sub"},
                                                                 {nullptr, false, "sub"},
                                                                 {"a", true, ""},
                                                                 {"a", false, ""}}) {
        const std::string body =
            present ? "<FileDirPath>" + std::string(present) + "</FileDirPath>" : "";
        ASSERT_EQ(Load(SvyDocument(DataFileXml("A", "HD", 1, body))), 1);
        ASSERT_TRUE(m_editor.GotoNode("/ZAR_SVY/Data/DataFile", false));
        const bool ok = m_editor.ModifyFileDirPath(replace, folder);
        const bool onFile = m_editor.IsNode("DataFile");
        std::string text;
        m_editor.GetSubNodeText(text, "FileDirPath", nullptr);
        noted += svy3_test::Join(ok, onFile, text);
    }
    EXPECT_EQ(noted, "1 1 a\\sub 1 1 sub 1 1 sub 1 1  0 1 a ");
}

TEST_F(RenameTest, ASingleLineSetCopyIsWrittenWhereAsked) {
    const std::string copy = m_dir.File("copy.svy");
    ASSERT_TRUE(ZAR::GpzSvy120::CreateSingleLinesetSvy(copy, SvyPath(), "Set1", "Only", ""));
    svy3_test::OpenEditor reduced;
    ASSERT_EQ(reduced.Load(copy.c_str()), 1);
    EXPECT_EQ(reduced.Map().size(), 1u);
    EXPECT_EQ(reduced.Begin()->first, "Only");
    EXPECT_EQ(ReadFile(SvyPath()), m_document);  // the source is untouched

    // With no output path the source itself is replaced; a prefix needs no data directory.
    ASSERT_EQ(Load(SvyDocument("<Line name=\"L\">" + DataFileXml("A", "HD", 1, "<FileDirPath/>") +
                               "</Line>")),
              1);
    ASSERT_TRUE(ZAR::GpzSvy120::CreateSingleLinesetSvy("", SvyPath(), "", "", "raw"));
    EXPECT_THAT(ReadFile(SvyPath()), HasSubstr("<FileDirPath>raw</FileDirPath>"));
    EXPECT_THROW(ZAR::GpzSvy120::CreateSingleLinesetSvy(copy, m_dir.File("none.svy"), "", "", ""),
                 ZAR::CError);
}

TEST(RenamePlanTest, ThePictureAnswersForWhatThePlanChanged) {
    svy3_test::TempDir dir;
    const fs::path root(dir.path());
    svy3_test::WriteFile(dir.File("A.HD"), "a");
    fs::create_directories(root / "empty");
    ZAR::RenamePlan plan(root);
    EXPECT_TRUE(plan.IsEmptyDirectory(root / "empty"));
    plan.Move(root / "A.HD", root / "empty" / "B.HD");
    EXPECT_FALSE(plan.Exists(root / "A.HD"));
    EXPECT_TRUE(fs::exists(root / "A.HD"));  // nothing really moved
    EXPECT_FALSE(plan.IsEmptyDirectory(root / "empty"));
    EXPECT_THAT(plan.FilesWithStem(root / "empty", "b"), ElementsAre(root / "empty" / "B.HD"));
    EXPECT_TRUE(plan.FilesWithStem(root, "A").empty());
    EXPECT_THROW(plan.Move(root / "A.HD", root / "C.HD"), fs::filesystem_error);
    EXPECT_THROW(plan.RemoveDirectory(root / "empty"), fs::filesystem_error);
    plan.Copy(root / "empty" / "B.HD", root / ".." / "outside.HD");
    EXPECT_THAT(plan.Problems(false), ElementsAre(HasSubstr("outside the data folder")));
    EXPECT_EQ(plan.Describe().front(),
              "move " + (root / "A.HD").string() + " -> " + (root / "empty" / "B.HD").string());
}

TEST(RenameFilesTest, CopyRuleSiblingRunsAndBadModes) {
    svy3_test::TempDir dir;
    const fs::path root(dir.path());
    svy3_test::WriteFile(dir.File("X.HD"), "x");
    svy3_test::WriteFile(dir.File("x.mrk"), "m");
    ZAR::RenameFiles list;
    list.Add(root / "X.HD", root / "one" / "X.HD");
    ASSERT_TRUE(list.Run(nullptr, ZAR::RenameFiles::kKeepExisting));
    list.Add(root / "X.HD", root / "two" / "X.HD");  // moved already: copied from where it went
    EXPECT_EQ(std::to_string(list.Entries()[0].copy) + std::to_string(list.Entries()[1].copy),
              "01");
    ASSERT_TRUE(list.Run(nullptr, ZAR::RenameFiles::kKeepExisting));
    EXPECT_EQ(ReadFile(dir.File("one/X.HD")) + ReadFile(dir.File("two/X.HD")), "xx");
    EXPECT_EQ(list.Description(),
              ZAR::RenameFiles::Describe(root / "one" / "X.HD", root / "two" / "X.HD"));

    ZAR::RenameFiles pairs;
    pairs.Add(root / "x.HD+DT1", root / "three" / "Y.HD+DT1");
    const std::string given = "given";
    ASSERT_TRUE(pairs.SiblingRun(&given, ZAR::RenameFiles::kKeepExisting));
    EXPECT_EQ(ReadFile(dir.File("three/Y.mrk")), "m");
    EXPECT_EQ(pairs.Description(), "given");

    ZAR::RenameFiles bad;
    svy3_test::WriteFile(dir.File("Z"), "z");
    bad.Add(root / "Z", root / "W");
    EXPECT_FALSE(bad.Run(nullptr, 2));
    EXPECT_TRUE(fs::exists(root / "Z"));
    ASSERT_TRUE(list.Undo());
    EXPECT_EQ(ReadFile(dir.File("X.HD")), "x");
    EXPECT_FALSE(fs::exists(root / "one"));
    EXPECT_FALSE(fs::exists(root / "two"));
}

}  // namespace
