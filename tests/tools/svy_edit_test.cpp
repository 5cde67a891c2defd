// The editing commands: organise (planned, journaled, recoverable when killed), rename-set,
// single-set, prefix and recover.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "editor/editor_support.h"
#include "svy3/api.h"
#include "svy3/editor/rename_journal.h"
#include "tests/tools/tool_support.h"
#include "tools/svy/edit_commands.h"

namespace {

using svy3_test::DataFileXml;
using svy3_test::ReadFile;
using svy3_test::TreeSnapshot;
using svy3_test::WriteFile;
using svy_tool_test::Captured;
using svy_tool_test::Output;
using testing::HasSubstr;
namespace fs = boost::filesystem;

// A project survey.svy with the data folder "data": line "North:1" (A pair and a companion) and
// "South" (B pair in sub/) in set "Set1", and "East" (C pair) outside line sets.
class SvyEditTest : public testing::Test {
  protected:
    void SetUp() override { Build(""); }
    void Build(const std::string& extraLine) {
        fs::remove_all(m_dir.path());
        for (const char* file :
             {"A.HD", "A.DT1", "A.GPS", "sub/B.HD", "sub/B.DT1", "sub/B.mrk", "C.HD", "C.DT1"}) {
            fs::create_directories(fs::path(Data(file)).parent_path());
            WriteFile(Data(file), std::string("contents of ") + file);
        }
        WriteFile(Project(),
                  svy3_test::SvyDocument(
                      "<LineSet name=\"Set1\"><Line name=\"North:1\">" +
                          DataFileXml("A", "HD+DT1", 1) + "</Line><Line name=\"South\">" +
                          DataFileXml("B", "HD+DT1", 1, "<FileDirPath>sub</FileDirPath>") +
                          "</Line></LineSet><Line name=\"East\">" + DataFileXml("C", "HD+DT1", 1) +
                          "</Line>" + extraLine,
                      "data"));
    }
    std::string Project() const { return m_dir.File("survey.svy"); }
    std::string Data(const std::string& file) const { return m_dir.File("data/" + file); }
    Output Organise(svy_tool::OrganiseOptions options) {
        options.project = Project();
        return Captured([&](std::ostream& out, std::ostream& err) {
            return svy_tool::RunOrganise(options, out, err);
        });
    }
    static svy_tool::OrganiseOptions AllFlags() {
        svy_tool::OrganiseOptions options;
        options.nameFiles = options.lineDirs = options.intoDataDir = true;
        return options;
    }
    // Every file the saved document names exists, and no backup of a replaced file is left.
    void ExpectDocumentMatchesDisk() {
        const svy3::Editor saved(Project());
        for (const auto& [set, lines] : saved.map())
            for (const auto& [line, files] : lines)
                for (const auto& [path, positions] : files)
                    EXPECT_TRUE(fs::exists(path)) << path;
        for (const auto& entry : TreeSnapshot(m_dir.path()))
            EXPECT_THAT(entry.first, testing::Not(HasSubstr(".svy3-")));
    }
    svy3_test::TempDir m_dir;
};

TEST_F(SvyEditTest, OrganisePrintsItsPlanThenMovesAndSaves) {
    const auto before = TreeSnapshot(m_dir.path());
    svy_tool::OrganiseOptions options = AllFlags();
    options.dryRun = true;
    const Output dry = Organise(options);
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_THAT(dry.out, HasSubstr("would move " + Data("A.HD") + " -> " + Data("North_1.HD")));
    EXPECT_THAT(dry.out, HasSubstr("would make folder " + Data("North_1")));
    EXPECT_THAT(dry.out, HasSubstr("would change: Line \"North:1\" renamed \"North_1\""));
    EXPECT_EQ(TreeSnapshot(m_dir.path()), before);

    const Output run = Organise(AllFlags());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("will make folder " + Data("North_1")));
    EXPECT_THAT(run.out, HasSubstr("will change: Line \"North:1\" renamed \"North_1\""));
    EXPECT_THAT(run.out, testing::EndsWith(" files and folders; saved " + Project() + "\n"));
    for (const char* file : {"North_1/North_1.GPS", "South/South.mrk", "East/East.DT1"})
        EXPECT_TRUE(fs::exists(Data(file))) << file;
    EXPECT_FALSE(fs::exists(Data("sub")));
    ExpectDocumentMatchesDisk();
}

TEST_F(SvyEditTest, UnsafeBatchesAreRefusedBeforeAnyMove) {
    const auto line = [](const std::string& file, const std::string& body = "") {
        return "<Line name=\"W\">" + DataFileXml(file, "HD", 1, body) + "</Line>";
    };
    const struct {
        const char* what;
        std::string line;  // an extra line for the document
        std::string message;
        bool overwrite = false;
    } cases[] = {
        {"parent folder", line("D", "<FileDirPath>..\\outside</FileDirPath>"),
         "outside the data folder"},
        {"absolute folder", line("D", "<FileDirPath>" + m_dir.File("outside") + "</FileDirPath>"),
         "outside the data folder"},
        {"name with ..", line("..\\outside\\D"), "outside the data folder"},
        {"symbolic link", line("D", "<FileDirPath>link</FileDirPath>"), "outside the data folder"},
        {"name taken", "<Line name=\"East\">" + DataFileXml("A", "HD+DT1", 1) + "</Line>",
         "already exists"},
        {"letter case", "<Line name=\"east\">" + DataFileXml("A", "HD+DT1", 1) + "</Line>",
         "differ only by letter case"},
        {"two files, one name", "<Line name=\"East\">" + DataFileXml("A", "HD+DT1", 1) + "</Line>",
         "two files would be moved to", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Build(c.line);
        fs::create_directories(m_dir.File("outside"));
        WriteFile(m_dir.File("outside/D.HD"), "not survey data");
        fs::create_directory_symlink(m_dir.File("outside"), Data("link"));
        const auto before = TreeSnapshot(m_dir.path());
        svy_tool::OrganiseOptions options = AllFlags();
        options.overwrite = c.overwrite;
        const Output run = Organise(options);
        EXPECT_EQ(run.status, 1);
        EXPECT_THAT(run.err, testing::AllOf(HasSubstr("svy organise: "), HasSubstr(c.message),
                                            HasSubstr("nothing was moved")));
        EXPECT_EQ(TreeSnapshot(m_dir.path()), before);
    }
}

// File operations that end the process at the `killAt`-th change on disk, as a kill would.
class KillingFileOperations : public ZAR::FileOperations {
    using Base = ZAR::FileOperations;

  public:
    explicit KillingFileOperations(int killAt) : m_killAt(killAt) {}
    void Move(const fs::path& from, const fs::path& to) override { Base::Move(Step(from), to); }
    void CreateDirectory(const fs::path& dir) override { Base::CreateDirectory(Step(dir)); }
    void RemoveDirectory(const fs::path& dir) override { Base::RemoveDirectory(Step(dir)); }
    void RemoveFile(const fs::path& path) override { Base::RemoveFile(Step(path)); }

  private:
    // Counts a change on disk; the path it changes.
    const fs::path& Step(const fs::path& path) {
        if (++m_count == m_killAt)
            _exit(9);
        return path;
    }
    int m_killAt;
    int m_count = 0;
};

// Organise (replacing an existing file) runs in a child process that dies at each change on disk
// in turn, or at a stage; svy recover then puts the disk and the document in agreement again.
TEST_F(SvyEditTest, ABatchKilledAtAnyPointIsRecovered) {
    svy_tool::OrganiseOptions options = AllFlags();
    options.overwrite = true;
    options.project = Project();
    // False when the batch was not killed (and ran to its end).
    const auto killAndRecover = [&](int killAt, const std::string& killStage) {
        Build("");
        fs::create_directories(Data("East"));
        WriteFile(Data("East/East.HD"), "old header");  // replaced, with a backup
        const auto before = TreeSnapshot(m_dir.path());
        const pid_t child = fork();
        if (child == 0) {
            KillingFileOperations killing(killAt);
            svy_tool::EditHooks hooks;
            hooks.fileOperations = &killing;
            hooks.stage = [&](const std::string& stage) {
                if (stage == killStage)
                    _exit(9);
            };
            std::ostringstream out, err;
            _exit(svy_tool::RunOrganise(options, out, err, hooks) == 0 ? 0 : 1);
        }
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, 0), child);
        const bool killed = WIFEXITED(status) && WEXITSTATUS(status) == 9;
        std::ostringstream out, err;
        if (killed) {
            EXPECT_EQ(svy_tool::RunRecover(Project(), out, err), 0) << err.str();
            EXPECT_FALSE(fs::exists(ZAR::RenameJournal::JournalPath(Project())));
        } else {
            EXPECT_EQ(WEXITSTATUS(status), 0);
        }
        if (out.str().find("rolled back") != std::string::npos) {
            EXPECT_EQ(TreeSnapshot(m_dir.path()), before);
            return true;
        }
        EXPECT_EQ(out.str().find("completed") != std::string::npos, killed);
        EXPECT_EQ(ReadFile(Data("East/East.HD")), "contents of C.HD");
        ExpectDocumentMatchesDisk();
        return killed;
    };
    int killAt = 1;
    while (killAndRecover(killAt, "")) {
        SCOPED_TRACE(killAt);
        ++killAt;
    }
    EXPECT_GT(killAt, 20);  // every change of a batch of this size was a kill point
    EXPECT_TRUE(killAndRecover(0, "moved"));
    EXPECT_TRUE(killAndRecover(0, "saved"));
}

TEST_F(SvyEditTest, DocumentOnlyCommandsAndTheirRefusals) {
    std::ostringstream out, err;
    EXPECT_EQ(svy_tool::RunRenameSet(Project(), "Set1", "Main", true, out, err), 0);
    EXPECT_EQ(out.str(), "would change: LineSet \"Set1\" renamed \"Main\"\n");
    EXPECT_EQ(svy_tool::RunRenameSet(Project(), "Set1", "Main", false, out, err), 0);
    EXPECT_THAT(ReadFile(Project()), HasSubstr("<LineSet name=\"Main\">"));
    EXPECT_EQ(svy_tool::RunRenameSet(Project(), "Set1", "Other", false, out, err), 1);
    EXPECT_THAT(err.str(), HasSubstr("svy rename-set: error -31: "));

    EXPECT_EQ(svy_tool::RunPrefix(Project(), "x\\", false, out, err), 1);  // names a data folder

    svy_tool::SingleSetOptions single{Project(), "Main", Project(), "Only", "", false, false};
    const std::string original = ReadFile(Project());
    EXPECT_EQ(svy_tool::RunSingleSet(single, out, err), 3);  // never over the project
    single.output = WriteFile(m_dir.File("one.svy"), "keep me");
    EXPECT_EQ(svy_tool::RunSingleSet(single, out, err), 3);  // exists: needs --force
    EXPECT_EQ(ReadFile(single.output), "keep me");
    single.force = true;
    EXPECT_EQ(svy_tool::RunSingleSet(single, out, err), 0) << err.str();
    EXPECT_EQ(ReadFile(Project()), original);
    EXPECT_EQ(svy3::Editor(single.output).map().begin()->first, "Only");

    // A journal left by a cut-off batch stops every editing command until recovered.
    const std::string journal = ZAR::RenameJournal::JournalPath(Project()).string();
    WriteFile(journal, "");
    std::ostringstream blocked;
    EXPECT_EQ(svy_tool::RunRenameSet(Project(), "Main", "X", false, out, blocked), 1);
    EXPECT_THAT(blocked.str(), HasSubstr("run 'svy recover " + Project() + "' first"));
    EXPECT_EQ(svy_tool::RunRecover(Project(), out, err), 1);  // not a journal: left alone

    // A journal may come from anyone: recovery touches nothing outside the data folder.
    const std::string outside = WriteFile(m_dir.File(".svy3-replaced-keep"), "not survey data");
    WriteFile(journal, "svy3 rename journal 1\ndocument\tchanged\t/\nbegin\tmove\t" + Data("A.HD") +
                           "\t" + outside + "\ndone\n");
    std::ostringstream report;
    EXPECT_EQ(svy_tool::RunRecover(Project(), report, err), 1);
    EXPECT_THAT(report.str(), HasSubstr("not touched (outside the data folder)"));
    EXPECT_EQ(ReadFile(outside), "not survey data");
}

}  // namespace
