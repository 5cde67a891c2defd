// The editor's Load, Save, copies and node primitives.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <boost/filesystem.hpp>

#include "editor/editor_support.h"

namespace {

using svy3_test::DataFileXml;
using svy3_test::EditorFixture;
using svy3_test::Saved;
using svy3_test::SvyDocument;
using testing::HasSubstr;
namespace fs = boost::filesystem;

class EditorLoadTest : public EditorFixture, public testing::Test {};

TEST_F(EditorLoadTest, MalformedDocumentsAreRefusedWithTheirCode) {
    // A line whose one data file holds `body`.
    const auto line = [](const std::string& body) {
        return SvyDocument("<Line name=\"L\">" + body + "</Line>");
    };
    const std::string kMalformed = "Malformed SVY file: ";
    const std::string kBadPosition = "Unable to read <Position X=? Y=? Z=? ...> entry.";
    const std::string kBadFile = "Unable to read <DataFile> entry.";
    const std::string kPositionEnd = " normalized_file_pos=\"0\" units=\"m\"/>";
    const struct {
        std::string document;
        int32_t code;
        std::string message;  // after "Malformed SVY file: "; "{path}" for the file's path
        bool keepsPath;       // the document was refused before its map was built
    } refusals[] = {
        {"<ZAR_SVY><Data>", -4, "{path} file not loaded.", true},
        {"<SVY><Data><DataDirPath/></Data></SVY>", -5, "<ZAR_SVY> not found.", true},
        {"<ZAR_SVY><Other/></ZAR_SVY>", -6, "<ZAR_SVY><Data> not found.", true},
        {"<ZAR_SVY><Data><Line name=\"L\"/></Data></ZAR_SVY>", -7,
         "<ZAR_SVY><Data><DataDirPath> not found.", true},
        {SvyDocument("<Line/>"), -11, "Unable to read <Line name=\?\?\?> entry.", false},
        {line("<DataFile name=\"A\" seq=\"1\"/>"), -12, kBadFile, false},
        {line("<DataFile name=\"A\" ext=\"HD\"/>"), -12, kBadFile, false},
        {line(DataFileXml("A", "HD+DT1", 1, "<Position X=\"1\" Y=\"2\"" + kPositionEnd)), -16,
         kBadPosition, false},
        {line(DataFileXml("A", "HD+DT1", 1, "<Position X=\"1\" Z=\"2\"" + kPositionEnd)), -16,
         kBadPosition, false},
        {SvyDocument("<LineSet><Line name=\"L\"/></LineSet>"), -21,
         "<LineSet name=\?\?\?> not found.", false},
    };
    ASSERT_EQ(Load(line(DataFileXml("A", "HD+DT1", 1))), 1);
    const std::string bad = m_dir.File("bad.svy");
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.document);
        svy3_test::WriteFile(bad, refusal.document);
        const auto error = svy3_test::ErrorOf([&] { m_editor.Load(bad.c_str()); });
        const std::string message = refusal.message.compare(0, 6, "{path}") == 0
                                        ? bad + refusal.message.substr(6)
                                        : kMalformed + refusal.message;
        EXPECT_EQ(svy3_test::Join(error.code, error.level, error.source, error.what),
                  svy3_test::Join(refusal.code, 5, "gpz_svy", message));
        EXPECT_EQ(m_editor.SvyFilePathName(), fs::path(refusal.keepsPath ? SvyPath() : bad));
    }
    // File names that name no document.
    const std::string missing = m_dir.File("missing.svy");
    const auto error = [&](const char* name) {
        const auto e = svy3_test::ErrorOf([&] { m_editor.Load(name); });
        return svy3_test::Join(e.code, e.level, e.what);
    };
    EXPECT_EQ(error(nullptr).substr(0, 5), "-1 5 ");
    EXPECT_EQ(error("").substr(0, 5), "-2 3 ");
    EXPECT_EQ(error(missing.c_str()), "-3 3 " + missing + "SVY file problem: File not found. ");
    EXPECT_EQ(m_editor.SvyFilePathName(), fs::path(bad));
}

TEST_F(EditorLoadTest, DataDirPathIsTakenAsWrittenOrRelativeToTheDocument) {
    // A relative document name is made absolute; an empty DataDirPath means its folder.
    svy3_test::WriteFile(SvyPath(), SvyDocument(""));
    const fs::path previous = fs::current_path();
    fs::current_path(m_dir.path());
    const int32_t result = m_editor.Load(fs::path("survey.svy"));
    fs::current_path(previous);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(m_editor.SvyFilePathName(), fs::path(m_dir.path()) / "survey.svy");
    EXPECT_EQ(m_editor.DataDir(), fs::path(m_dir.path()));
    EXPECT_FALSE(m_editor.Empty());
    const std::pair<const char*, std::string> cases[] = {{"/data/survey", "/data/survey"},
                                                         {"raw\\day1", m_dir.path() + "/raw/day1"},
                                                         {"raw", m_dir.path() + "/raw"},
                                                         {"C:\\surveys\\", "C:/surveys/"},
                                                         {"z:\\", "z:/"},
                                                         {"C:", "C:"},
                                                         {"Z:\\", "Z:/"}};
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        ASSERT_EQ(Load(SvyDocument("", text)), 1);
        EXPECT_EQ(m_editor.DataDir(), fs::path(expected));
    }
}

TEST_F(EditorLoadTest, SaveWritesTheLoadedFileOrANamedOne) {
    EXPECT_FALSE(m_editor.Save(nullptr));  // no document
    ASSERT_EQ(Load(SvyDocument("")), 1);
    ASSERT_TRUE(m_editor.GotoNode("/ZAR_SVY/Data/Added", true));
    EXPECT_FALSE(m_editor.Save(""));
    ASSERT_TRUE(m_editor.Save(nullptr));
    EXPECT_THAT(svy3_test::ReadFile(SvyPath()), HasSubstr("<Added"));
    const std::string other = m_dir.File("other.svy");
    ASSERT_TRUE(m_editor.Save(other.c_str()));
    EXPECT_EQ(svy3_test::ReadFile(other), svy3_test::ReadFile(SvyPath()));
    EXPECT_FALSE(m_editor.Save((m_dir.path() + "/no/such/folder.svy").c_str()));
}

TEST_F(EditorLoadTest, CopiesShareTheDocumentAndOwnTheirState) {
    ASSERT_EQ(Load(SvyDocument("<Line name=\"L\">" + DataFileXml("A", "HD", 1) + "</Line>")), 1);
    ZAR::GpzSvy120 copy(m_editor);
    EXPECT_EQ(copy.SvyFilePathName(), m_editor.SvyFilePathName());
    ASSERT_NE(copy.Begin(), copy.End());
    EXPECT_EQ(copy.Begin()->second.begin()->first, "L");
    // One document, one cursor: a move through the copy is seen by the original.
    ASSERT_TRUE(copy.GotoNode("/ZAR_SVY/Data/Line", false));
    EXPECT_TRUE(m_editor.IsNode("Line"));
    {
        ZAR::GpzSvy120 assigned;
        assigned = copy;
        EXPECT_TRUE(assigned.IsNode("Line"));
    }  // the document outlives the copies that go
    static_cast<ZAR::GpzSvy120&>(m_editor) = ZAR::GpzSvy120();
    EXPECT_TRUE(m_editor.Empty());
    EXPECT_TRUE(copy.IsNode("Line"));
    EXPECT_TRUE(copy.Save(nullptr));
}

// The node primitives, on a document loaded without a map to speak of.
class NodePrimitiveTest : public EditorLoadTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(Load(SvyDocument("<A a=\"1\"><B>text</B><B>second</B><C/></A>")), 1);
        ASSERT_TRUE(m_editor.GotoNode("/ZAR_SVY/Data/A", false));
    }
    std::string Text(const char* attribute) {
        std::string text = "unchanged";
        return m_editor.GetNodeTxt(text, attribute) ? text : "failed:" + text;
    }
};

TEST_F(NodePrimitiveTest, NextNodeEntersTheFirstChildThenWalksSiblings) {
    bool first = true;
    std::vector<std::string> seen;
    while (m_editor.NextNode(first, "B"))
        seen.push_back(Text(nullptr));
    EXPECT_EQ(seen, (std::vector<std::string>{"text", "second"}));
    EXPECT_FALSE(first);
    ASSERT_TRUE(m_editor.ParentNode(nullptr));
    EXPECT_TRUE(m_editor.IsNode("A"));

    first = true;
    EXPECT_FALSE(m_editor.NextNode(first, "Missing"));
    EXPECT_TRUE(first);
    EXPECT_FALSE(m_editor.NextNode(first, nullptr));
    EXPECT_TRUE(m_editor.IsNode("A"));
    EXPECT_TRUE(m_editor.ParentNode("ZAR_SVY"));
    EXPECT_TRUE(m_editor.IsNode("ZAR_SVY"));
}

TEST_F(NodePrimitiveTest, GetNodeTxtReadsTextNameOrAttributeUpTo1023Bytes) {
    ASSERT_TRUE(m_editor.SetNodeTxt(std::string(1023, 'x'), "fits"));
    ASSERT_TRUE(m_editor.SetNodeTxt(std::string(1024, 'x'), "long"));
    // Its name, an attribute, a missing one, its own text (A has none), and the long attributes.
    EXPECT_EQ(svy3_test::Join(Text(""), Text("a"), Text("missing"), Text(nullptr), Text("long"),
                              Text("fits") == std::string(1023, 'x')),
              "A 1 failed:unchanged failed:unchanged failed:unchanged 1 ");
}

TEST_F(NodePrimitiveTest, SetNodeTxtAndChildNodeWriteAttributesTextAndChildren) {
    EXPECT_TRUE(m_editor.SetNodeTxt("2", "a"));
    EXPECT_FALSE(m_editor.ChildNode("D", ZAR::GpzSvy::eGpzFind));
    EXPECT_TRUE(m_editor.IsNode("A"));
    EXPECT_FALSE(m_editor.ChildNode(nullptr, ZAR::GpzSvy::eGpzFindOrCreate));
    EXPECT_FALSE(m_editor.ChildNode("D", static_cast<ZAR::GpzSvy::ESvyGpzCreate>(3)));
    for (const char* mark : {"created", "found"}) {
        ASSERT_TRUE(m_editor.ChildNode("D", ZAR::GpzSvy::eGpzFindOrCreate));
        ASSERT_TRUE(m_editor.SetNodeTxt("", mark));
        ASSERT_TRUE(m_editor.ParentNode(nullptr));
    }
    ASSERT_TRUE(m_editor.ChildNode("B", ZAR::GpzSvy::eGpzAppend));  // a third B
    ASSERT_TRUE(m_editor.GotoNode("../C", false));
    EXPECT_TRUE(m_editor.SetNodeTxt("own", nullptr));  // no text yet: a text child is appended
    EXPECT_EQ(Text(nullptr), "own");
    EXPECT_TRUE(m_editor.SetNodeTxt("again", nullptr));
    EXPECT_TRUE(m_editor.SetNodeVal(0.25, "d"));
    EXPECT_TRUE(m_editor.SetNodeVal(1.0f / 3.0f, "f"));
    EXPECT_THAT(Saved(m_editor), HasSubstr(R"(<A a="2"><B>text</B><B>second</B>)"
                                           R"(<C d="0.25" f="0.333333343">again</C>)"
                                           R"(<D created="" found=""/><B/></A>)"));
}

TEST_F(NodePrimitiveTest, HandlesRememberNodesForCopiesAndReturns) {
    ASSERT_TRUE(m_editor.ChildNode("B", ZAR::GpzSvy::eGpzFind));
    void* b = m_editor.GetNodeHandle();
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(m_editor.GotoNode("../C", false));
    EXPECT_TRUE(m_editor.AppendNodeCopy(b, true));
    EXPECT_TRUE(m_editor.AppendNodeCopy(b, false));
    ASSERT_TRUE(m_editor.MoveToHandleNode(b));
    EXPECT_EQ(Text(nullptr), "text");
    m_editor.DeleteNode();  // the cursor goes to A
    EXPECT_TRUE(m_editor.IsNode("A"));
    m_editor.ReleaseNodeHandle(b);
    EXPECT_FALSE(m_editor.MoveToHandleNode(b));
    EXPECT_FALSE(m_editor.AppendNodeCopy(b, true));
    // The copies: deep, then shallow.
    EXPECT_THAT(Saved(m_editor), HasSubstr(R"(<A a="1"><B>second</B><C><B>text</B><B/></C></A>)"));
}

TEST(EditorWithoutDocumentTest, EveryPrimitiveFails) {
    svy3_test::OpenEditor editor;
    std::string text;
    bool first = true;
    fs::path path;
    int32_t sequence = 0;
    ZAR::SvyLinePos position;
    EXPECT_EQ(svy3_test::Join(editor.NextNode(first, "A"), editor.ParentNode(nullptr),
                              editor.ChildNode("A", ZAR::GpzSvy::eGpzFindOrCreate),
                              editor.GetNodeTxt(text, ""), editor.SetNodeTxt("x", nullptr),
                              editor.GetNodeHandle(), editor.MoveToHandleNode(nullptr),
                              editor.DataFileInfo(path, sequence), editor.PosInfo(position),
                              editor.GotoNode("/ZAR_SVY", true), editor.Empty()),
              "0 0 0 0 0 0 0 0 0 0 1 ");
    EXPECT_EQ(editor.Units(), 0);
}

}  // namespace
