// The editing commands: organise (planned, journaled, recoverable when killed), rename-set,
// single-set, prefix and recover.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <boost/filesystem/operations.hpp>
#include <sstream>

#include "editor/editor_support.h"
#include "svy3/editor/rename_journal.h"
#include "tools/svy/edit_commands.h"

namespace {

using svy3_test::DataFileXml;
using svy3_test::SvyDocument;
using svy3_test::TreeSnapshot;
namespace fs = boost::filesystem;

struct Output {
    int status;
    std::string out, err;
};

// A project survey.svy with the data folder "data": line "North:1" (A pair and a companion) and
// "South" (B pair in sub/) in set "Set1", and "East" (C pair) outside line sets.
class SvyEditTest : public testing::Test {
  protected:
    void SetUp() override { Build(""); }
    void Build(const std::string& extraLine) {
        fs::remove_all(m_dir.path());
        fs::create_directories(m_dir.path());
        for (const char* file :
             {"A.HD", "A.DT1", "A.GPS", "sub/B.HD", "sub/B.DT1", "sub/B.mrk", "C.HD", "C.DT1"}) {
            fs::create_directories(fs::path(Data(file)).parent_path());
            svy3_test::WriteFile(Data(file), std::string("contents of ") + file);
        }
        svy3_test::WriteFile(
            Project(),
            SvyDocument("<LineSet name=\"Set1\"><Line name=\"North:1\">" +
                            DataFileXml("A", "HD+DT1", 1) + "</Line><Line name=\"South\">" +
                            DataFileXml("B", "HD+DT1", 1, "<FileDirPath>sub</FileDirPath>") +
                            "</Line></LineSet><Line name=\"East\">" +
                            DataFileXml("C", "HD+DT1", 1) + "</Line>" + extraLine,
                        "data"));
    }
    std::string Project() const { return m_dir.File("survey.svy"); }
    std::string Data(const std::string& file) const { return m_dir.File("data/" + file); }
    Output Organise(svy_tool::OrganiseOptions options,
                    const svy_tool::EditHooks& hooks = svy_tool::EditHooks()) {
        options.project = Project();
        std::ostringstream out, err;
        const int status = svy_tool::RunOrganise(options, out, err, hooks);
        return {status, out.str(), err.str()};
    }
    static svy_tool::OrganiseOptions AllFlags() {
        svy_tool::OrganiseOptions options;
        options.nameFiles = options.lineDirs = options.intoDataDir = true;
        return options;
    }
    // Every file the saved document names exists.
    void ExpectDocumentMatchesDisk() {
        svy3_test::OpenEditor editor;
        ASSERT_EQ(editor.Load(Project().c_str()), 1);
        for (auto set = editor.Begin(); set != editor.End(); ++set)
            for (auto line = editor.Begin(set); line != editor.End(set); ++line)
                for (auto file = editor.Begin(line); file != editor.End(line); ++file)
                    EXPECT_TRUE(fs::exists(file->first)) << file->first;
    }
    svy3_test::TempDir m_dir;
};

TEST_F(SvyEditTest, OrganiseDryRunPrintsThePlanAndTouchesNothing) {
    const auto before = TreeSnapshot(m_dir.path());
    svy_tool::OrganiseOptions options = AllFlags();
    options.dryRun = true;
    const Output run = Organise(options);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("would move " + Data("A.HD") + " -> " + Data("North_1.HD")),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("would make folder " + Data("North_1")), std::string::npos);
    EXPECT_NE(run.out.find("would change: Line \"North:1\" renamed \"North_1\""),
              std::string::npos);
    EXPECT_EQ(TreeSnapshot(m_dir.path()), before);
}

TEST_F(SvyEditTest, OrganiseMovesTheFilesAndSavesTheDocument) {
    const Output run = Organise(AllFlags());
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* file : {"North_1/North_1.HD", "North_1/North_1.DT1", "North_1/North_1.GPS",
                             "South/South.HD", "South/South.mrk", "East/East.DT1"})
        EXPECT_TRUE(fs::exists(Data(file))) << file;
    EXPECT_FALSE(fs::exists(Data("sub")));
    EXPECT_FALSE(fs::exists(ZAR::RenameJournal::JournalPath(Project())));
    ExpectDocumentMatchesDisk();
    // Done once, nothing is left to do.
    const auto after = TreeSnapshot(m_dir.path());
    EXPECT_EQ(Organise(AllFlags()).status, 0);
    EXPECT_EQ(TreeSnapshot(m_dir.path()), after);
}

TEST_F(SvyEditTest, UnsafeBatchesAreRefusedBeforeAnyMove) {
    struct Case {
        const char* what;
        std::string line;  // an extra line for the document
        std::string message;
        bool overwrite = false;
    } cases[] = {
        {"parent folder",
         "<Line name=\"W\">" + DataFileXml("D", "HD", 1, "<FileDirPath>..\\outside</FileDirPath>") +
             "</Line>",
         "outside the data folder"},
        {"absolute folder",
         "<Line name=\"W\">" +
             DataFileXml("D", "HD", 1, "<FileDirPath>" + m_dir.File("outside") + "</FileDirPath>") +
             "</Line>",
         "outside the data folder"},
        {"name with ..", "<Line name=\"W\">" + DataFileXml("..\\outside\\D", "HD", 1) + "</Line>",
         "outside the data folder"},
        {"symbolic link",
         "<Line name=\"W\">" + DataFileXml("D", "HD", 1, "<FileDirPath>link</FileDirPath>") +
             "</Line>",
         "outside the data folder"},
        {"name taken", "<Line name=\"East\">" + DataFileXml("A", "HD+DT1", 1) + "</Line>",
         "already exists"},
        {"letter case", "<Line name=\"east\">" + DataFileXml("A", "HD+DT1", 1) + "</Line>",
         "differ only by letter case"},
        {"two files, one name", "<Line name=\"East\">" + DataFileXml("A", "HD+DT1", 1) + "</Line>",
         "two files would be moved to", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Build(c.line);
        fs::create_directories(m_dir.File("outside"));
        svy3_test::WriteFile(m_dir.File("outside/D.HD"), "not survey data");
        fs::create_directory_symlink(m_dir.File("outside"), Data("link"));
        const auto before = TreeSnapshot(m_dir.path());
        svy_tool::OrganiseOptions options = AllFlags();
        options.overwrite = c.overwrite;
        const Output run = Organise(options);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("nothing was moved"), std::string::npos);
        EXPECT_EQ(TreeSnapshot(m_dir.path()), before);
    }
}

TEST_F(SvyEditTest, ExistingTargetsNeedOverwriteAndLeaveNoBackup) {
    svy_tool::OrganiseOptions options;
    options.nameFiles = true;
    svy3_test::WriteFile(Data("East.HD"), "old header");
    const auto before = TreeSnapshot(m_dir.path());
    const Output refused = Organise(options);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find(Data("East.HD") + " already exists"), std::string::npos);
    EXPECT_EQ(TreeSnapshot(m_dir.path()), before);

    options.overwrite = true;
    ASSERT_EQ(Organise(options).status, 0);
    EXPECT_EQ(svy3_test::ReadFile(Data("East.HD")), "contents of C.HD");
    for (const auto& entry : TreeSnapshot(m_dir.path()))
        EXPECT_EQ(entry.first.find(".svy3-"), std::string::npos) << entry.first;
    ExpectDocumentMatchesDisk();
}

// Runs organise in a child process that dies at the `killAt`-th change on disk (or at a stage),
// as a killed program would, then recovers; the disk must match the document again.
class KillingFileOperations : public ZAR::FileOperations {
  public:
    explicit KillingFileOperations(int killAt) : m_killAt(killAt) {}
    void Move(const fs::path& from, const fs::path& to) override {
        Step();
        FileOperations::Move(from, to);
    }
    void CreateDirectory(const fs::path& directory) override {
        Step();
        FileOperations::CreateDirectory(directory);
    }
    void RemoveDirectory(const fs::path& directory) override {
        Step();
        FileOperations::RemoveDirectory(directory);
    }
    void RemoveFile(const fs::path& path) override {
        Step();
        FileOperations::RemoveFile(path);
    }

  private:
    void Step() {
        if (++m_count == m_killAt)
            _exit(9);
    }
    int m_killAt;
    int m_count = 0;
};

TEST_F(SvyEditTest, ABatchKilledAtAnyPointIsRecovered) {
    svy_tool::OrganiseOptions options = AllFlags();
    options.overwrite = true;
    // Kills the batch at its `killAt`-th change on disk or at `killStage`, then recovers and
    // checks that the disk agrees with the document; false when the batch was not killed.
    const auto killAndRecover = [&](int killAt, const std::string& killStage) {
        Build("");
        fs::create_directories(Data("East"));
        svy3_test::WriteFile(Data("East/East.HD"), "old header");  // replaced, with a backup
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
            options.project = Project();
            _exit(svy_tool::RunOrganise(options, out, err, hooks) == 0 ? 0 : 1);
        }
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, 0), child);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 9) {
            EXPECT_EQ(WEXITSTATUS(status), 0);
            return false;
        }
        std::ostringstream out, err;
        EXPECT_EQ(svy_tool::RunRecover(Project(), out, err), 0) << err.str();
        EXPECT_FALSE(fs::exists(ZAR::RenameJournal::JournalPath(Project())));
        const auto after = TreeSnapshot(m_dir.path());
        if (out.str().find("rolled back") != std::string::npos) {
            EXPECT_EQ(after, before);
        } else {
            EXPECT_NE(out.str().find("completed"), std::string::npos) << out.str();
            EXPECT_EQ(svy3_test::ReadFile(Data("East/East.HD")), "contents of C.HD");
            for (const auto& entry : after)
                EXPECT_EQ(entry.first.find(".svy3-"), std::string::npos) << entry.first;
            ExpectDocumentMatchesDisk();
        }
        return true;
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
    EXPECT_NE(svy3_test::ReadFile(Project()).find("<LineSet name=\"Main\">"), std::string::npos);
    EXPECT_EQ(svy_tool::RunRenameSet(Project(), "Set1", "Other", false, out, err), 1);
    EXPECT_NE(err.str().find("error -31"), std::string::npos);

    EXPECT_EQ(svy_tool::RunPrefix(Project(), "x\\", false, out, err), 1);  // names a data folder

    svy_tool::SingleSetOptions single;
    single.project = Project();
    single.lineSet = "Main";
    single.newName = "Only";
    single.output = Project();
    const std::string original = svy3_test::ReadFile(Project());
    EXPECT_EQ(svy_tool::RunSingleSet(single, out, err), 3);  // never over the project
    single.output = m_dir.File("one.svy");
    svy3_test::WriteFile(single.output, "keep me");
    EXPECT_EQ(svy_tool::RunSingleSet(single, out, err), 3);  // exists: needs --force
    EXPECT_EQ(svy3_test::ReadFile(single.output), "keep me");
    single.force = true;
    EXPECT_EQ(svy_tool::RunSingleSet(single, out, err), 0) << err.str();
    EXPECT_EQ(svy3_test::ReadFile(Project()), original);
    svy3_test::OpenEditor copy;
    ASSERT_EQ(copy.Load(single.output.c_str()), 1);
    EXPECT_EQ(copy.Begin()->first, "Only");

    // A journal left by a cut-off batch stops every editing command until recovered.
    svy3_test::WriteFile(ZAR::RenameJournal::JournalPath(Project()).string(), "");
    std::ostringstream blocked;
    EXPECT_EQ(svy_tool::RunRenameSet(Project(), "Main", "X", false, out, blocked), 1);
    EXPECT_NE(blocked.str().find("svy recover"), std::string::npos);
    EXPECT_EQ(svy_tool::RunRecover(Project(), out, err), 1);  // not a journal: left alone

    // A journal may come from anyone: recovery touches nothing outside the data folder.
    const std::string outside = m_dir.File(".svy3-replaced-keep");
    svy3_test::WriteFile(outside, "not survey data");
    svy3_test::WriteFile(ZAR::RenameJournal::JournalPath(Project()).string(),
                         "svy3 rename journal 1\ndocument\tchanged\t/\nbegin\tmove\t" +
                             Data("A.HD") + "\t" + outside + "\ndone\n");
    std::ostringstream report;
    EXPECT_EQ(svy_tool::RunRecover(Project(), report, err), 1);
    EXPECT_NE(report.str().find("not touched (outside the data folder)"), std::string::npos);
    EXPECT_EQ(svy3_test::ReadFile(outside), "not survey data");
}

}  // namespace
