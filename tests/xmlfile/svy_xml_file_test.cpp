// Tests of the CSVYXmlFile document cursor: child selection, the text-writing rule, saved
// positions, the 256-byte text buffer, versions, loading (bad files included) and saving.
#include "svy3/xmlfile/svy_xml_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <random>
#include <string>
#include <utility>

#include "support/test_support.h"

namespace {

using svy3_test::MessageBoxCapture;
using svy3_test::ReadFile;
using svy3_test::TempDir;
using svy3_test::WriteFile;
using ZAR::CSVYXmlFile;

std::string LoadFailureText(const std::string& path) {
    return "Failed to load file:\n" + path +
           "\nFile does not appear to be in XML format.\nOperation aborted.";
}

class SvyXmlFileTest : public ::testing::Test {
  protected:
    void Open(const std::string& xml) {
        ASSERT_EQ(file.Initialize(WriteFile(dir.File("doc.xml"), xml)), 1);
    }
    std::string Name() {
        std::string name = "<none>";
        file.GetNodeName(name);
        return name;
    }
    std::string Attr(const std::string& attribute) {
        std::string value = attribute;
        return file.GetNodeAttribute(value) ? value : "<none>";
    }
    // Names of the current node's children, text nodes with their text.
    std::string Children() {
        std::string out;
        if (!file.GotoChildNode(""))
            return out;
        do {
            std::string text;
            out += Name() + (Name() == "#text" && file.GetNodeText(text) ? "=" + text : "") + ";";
        } while (file.GotoNextSibling());
        file.GotoParentNode();
        return out;
    }

    TempDir dir;
    CSVYXmlFile file;
};

TEST_F(SvyXmlFileTest, GotoChildNodeIndexRules) {
    Open("<R><!--c--><Line n='0'/><Other/><Line n='1'/></R>");
    EXPECT_EQ(file.GotoChildNode("Line", 1), 1);
    EXPECT_EQ(Attr("n"), "1");
    file.GotoParentNode();
    EXPECT_EQ(file.GotoChildNode("Line", -3), 1);
    EXPECT_EQ(Attr("n"), "0");
    file.GotoParentNode();
    EXPECT_EQ(file.GotoChildNode("Line", 2), 0);
    EXPECT_EQ(Name(), "R") << "too few children of that name: back on the parent";
    EXPECT_EQ(file.GotoChildNode("Missing", 0), 0);
    EXPECT_EQ(Name(), "R");
    EXPECT_EQ(file.GotoChildNode("", 5), 1);
    EXPECT_EQ(Name(), "#comment");
    // Named sibling search skips other names; an empty name matches nothing.
    file.GotoRootNode();
    file.GotoChildNode("Line");
    EXPECT_EQ(file.GotoNextSibling(""), 0);
    EXPECT_EQ(file.GotoNextSibling("Line"), 1);
    EXPECT_EQ(Attr("n"), "1");
    EXPECT_EQ(file.GotoNextSibling("Line"), 0);
    EXPECT_EQ(file.GotoNextSibling(), 0);
}

TEST_F(SvyXmlFileTest, SubNodeReadsAndWritesReturnToTheParent) {
    const std::string longText(300, 'x');
    Open("<R><V>a</V><V k='b'>c</V><L>" + longText + "</L></R>");
    std::string value = "V";
    EXPECT_EQ(file.GetSubNodeText(value, 1), 1);
    EXPECT_EQ(value, "c");
    EXPECT_EQ(Name(), "R");
    value = "L";
    EXPECT_EQ(file.GetSubNodeText(value), 0);
    EXPECT_EQ(value, "L");
    EXPECT_EQ(Name(), "R");
    value = "V";
    EXPECT_EQ(file.GetSubNodeText(value, 2), 0);
    EXPECT_EQ(value, "V");
    value = "k";
    EXPECT_EQ(file.GetSubNodeAttribute(value, "V", 1), 1);
    EXPECT_EQ(value, "b");
    value = "k";
    EXPECT_EQ(file.GetSubNodeAttribute(value, "V", 0), 0);
    EXPECT_EQ(value, "k");
    EXPECT_EQ(Name(), "R");

    EXPECT_EQ(file.SetSubNodeText("V", "z", 1), 1);
    EXPECT_EQ(file.SetSubNodeAttribute("V", "k", "w", 0), 1);
    EXPECT_EQ(file.SetSubNodeText("Missing", "z"), 0);
    EXPECT_EQ(file.SetSubNodeAttribute("V", "k", "w", 5), 0);
    EXPECT_EQ(Name(), "R");
    EXPECT_EQ(Children(), "V;V;L;");
    value = "V";
    file.GetSubNodeText(value, 1);
    EXPECT_EQ(value, "z");
    value = "k";
    file.GetSubNodeAttribute(value, "V", 0);
    EXPECT_EQ(value, "w");
}

TEST_F(SvyXmlFileTest, SetNodeTextAppendsReplacesOrRefuses) {
    Open("<R><Empty/><Elems><a/><!--c--></Elems><Late><!--c-->t</Late></R>");
    file.GotoChildNode("Empty");
    EXPECT_EQ(file.SetNodeText("one"), 1);
    EXPECT_EQ(file.SetNodeText("two"), 1);
    EXPECT_EQ(Children(), "#text=two;");
    file.GotoNextSibling("Elems");
    EXPECT_EQ(file.SetNodeText("last"), 1);
    EXPECT_EQ(Children(), "a;#comment;#text=last;");
    EXPECT_EQ(Name(), "Elems");
    file.GotoNextSibling("Late");
    EXPECT_EQ(file.SetNodeText("no"), 0);
    EXPECT_EQ(Children(), "#comment;#text=t;");
    EXPECT_EQ(Name(), "Late");
}

TEST_F(SvyXmlFileTest, SetNodeAttributeWithEmptyValue) {
    Open("<R old='x'/>");
    EXPECT_EQ(file.SetNodeAttribute("old", ""), 1);
    EXPECT_EQ(file.SetNodeAttribute("new", ""), 1);
    EXPECT_EQ(Attr("old"), "");
    EXPECT_EQ(Attr("new"), "");
    EXPECT_EQ(Attr("gone"), "<none>");
}

TEST_F(SvyXmlFileTest, PositionStack) {
    Open("<R><A><B/></A><C/></R>");
    EXPECT_EQ(file.GotoTopPosition(), 0);
    EXPECT_EQ(file.PopPosition(), 0);
    file.GotoChildNode("A");
    file.PushPosition();
    file.GotoChildNode("B");
    file.PushPosition();
    file.GotoRootNode();
    EXPECT_EQ(file.GotoTopPosition(), 1);
    EXPECT_EQ(Name(), "B");
    EXPECT_EQ(file.PopPosition(), 1);
    EXPECT_EQ(Name(), "B") << "popping does not move";
    file.GotoRootNode();
    EXPECT_EQ(file.GotoTopPosition(), 1);
    EXPECT_EQ(Name(), "A");
    // A saved position on a removed node still leads there.
    EXPECT_EQ(file.RemoveCurrentNode(), 1);
    EXPECT_EQ(Name(), "R");
    EXPECT_EQ(Children(), "C;");
    EXPECT_EQ(file.GotoTopPosition(), 1);
    EXPECT_EQ(Name(), "A");
    EXPECT_EQ(file.PopPosition(), 1);
    EXPECT_EQ(file.PopPosition(), 0);
    // Positions left on the stack are released by the next load.
    file.PushPosition();
    Open("<S/>");
    EXPECT_EQ(file.GotoTopPosition(), 0);
}

TEST_F(SvyXmlFileTest, TextBufferLimit) {
    const std::string fits(255, 'n'), tooLong(256, 'n');
    Open("<R><" + fits + "/><" + tooLong + " " + fits + "='v' a='" + tooLong + "'/></R>");
    EXPECT_EQ(file.GotoChildNode(fits), 1);
    EXPECT_EQ(Name(), fits);
    file.GotoParentNode();
    EXPECT_EQ(file.GotoChildNode(tooLong), 0);
    EXPECT_EQ(Name(), "R");
    // A sibling name does not go through the buffer.
    file.GotoChildNode(fits);
    EXPECT_EQ(file.GotoNextSibling(tooLong), 1);
    std::string name = "kept";
    EXPECT_EQ(file.GetNodeName(name), 0);
    EXPECT_EQ(name, "kept");
    EXPECT_EQ(Attr(fits), "v");
    EXPECT_EQ(Attr("a"), "<none>") << "a value of 256 bytes does not fit";
    EXPECT_EQ(file.SetNodeAttribute(tooLong, "v"), 0);
    EXPECT_EQ(Attr(tooLong), "<none>");
    EXPECT_EQ(file.SetNodeAttribute("b", tooLong + tooLong), 1);

    file.GotoRootNode();
    EXPECT_EQ(file.AppendChildNode(tooLong), 0);
    EXPECT_EQ(file.AppendTextChildNode(tooLong), 0);
    EXPECT_EQ(file.SetNodeText(tooLong), 0);
    // The second child's name is too long to be read back through the buffer.
    EXPECT_EQ(Children(), fits + ";<none>;");
    EXPECT_EQ(file.SetNodeText(fits), 1);
    std::string text;
    EXPECT_EQ(file.GetNodeText(text), 0) << "the text node is not the first child";
    ASSERT_EQ(file.AppendChildNode("T"), 1);
    EXPECT_EQ(file.AppendTextChildNode(fits), 1);
    EXPECT_EQ(file.GetNodeText(text), 1);
    EXPECT_EQ(text, fits);
}

TEST(SvyXmlFileVersion, ParseFormatAndModuleText) {
    CSVYXmlFile::SVersion v;
    const struct {
        const char* text;
        int major, minor, revision;
    } cases[] = {{"1.1.0", 1, 1, 0}, {"10.2.3", 10, 2, 3},    {"7", 0, 0, 7},
                 {"2.5", 2, 0, 5},   {" -3.x.+4z", -3, 0, 4}, {"", 0, 0, 0}};
    for (const auto& c : cases) {
        CSVYXmlFile::SVYVersionToNum(c.text, v);
        EXPECT_EQ(v.major, c.major) << c.text;
        EXPECT_EQ(v.minor, c.minor) << c.text;
        EXPECT_EQ(v.revision, c.revision) << c.text;
        EXPECT_EQ(v.text, c.text);
    }
    v.major = 4;
    v.minor = -1;
    v.revision = 12;
    v.text = "ignored";
    EXPECT_EQ(CSVYXmlFile::SVYVersionToStr(v), "4.-1.12");

    char probe[256];
    SVYXmlFile_GetVerStr(probe, sizeof probe);
    const std::string text = probe;
    EXPECT_EQ(text.rfind("SVYXmlFile\t1.1.1.0\tVersion 1 Release 1\t2005-10-14\t", 0), 0u);
    std::string exact(text.size() + 2, '#');
    SVYXmlFile_GetVerStr(&exact[0], static_cast<int32_t>(exact.size()));
    EXPECT_STREQ(exact.c_str(), text.c_str());
}

TEST_F(SvyXmlFileTest, NodeVersionCompatibility) {
    Open("<R><N version='1.2.0'/><O version='0.9.9'/><S version='1.1.0'/><M/></R>");
    const struct {
        const char* node;
        int overall, major, minor, revision;
    } cases[] = {{"N", 1, 0, 1, 0}, {"O", -1, -1, 1, 1}, {"S", 0, 0, 0, 0}};
    for (const auto& c : cases) {
        file.GotoRootNode();
        ASSERT_EQ(file.GotoChildNode(c.node), 1);
        std::string reference = "1.1.0";
        int32_t overall = 9, major = 9, minor = 9, revision = 9;
        EXPECT_EQ(file.NodeVersionCompatibility(reference, overall, major, minor, revision), 1);
        EXPECT_EQ(reference, Attr("version"));
        EXPECT_EQ(overall, c.overall) << c.node;
        EXPECT_EQ(major, c.major) << c.node;
        EXPECT_EQ(minor, c.minor) << c.node;
        EXPECT_EQ(revision, c.revision) << c.node;
    }
    file.GotoRootNode();
    file.GotoChildNode("M");
    std::string reference = "1.1.0";
    int32_t overall = 9, major = 9, minor = 9, revision = 9;
    EXPECT_EQ(file.NodeVersionCompatibility(reference, overall, major, minor, revision), 0);
    EXPECT_EQ(reference, "1.1.0");
    EXPECT_EQ(overall + major + minor + revision, 36);
}

TEST_F(SvyXmlFileTest, InitializeAndSave) {
    MessageBoxCapture boxes;
    Open("<R><A>old</A></R>");
    EXPECT_TRUE(boxes.messages().empty());
    const std::string path = dir.File("doc.xml");
    EXPECT_EQ(file.GetFilePathName(), path);
    EXPECT_EQ(Name(), "R");
    EXPECT_EQ(file.GetMaxTxtSz(), 256);
    EXPECT_EQ(file.SetSubNodeText("A", "new"), 1);
    EXPECT_EQ(file.Save(), 0);
    EXPECT_NE(ReadFile(path).find("new"), std::string::npos);

    const std::string copy = dir.File("copy.xml");
    EXPECT_EQ(file.Save(copy), 0);
    EXPECT_EQ(file.GetFilePathName(), copy);
    file.SetFilePathName(dir.File("elsewhere.xml"));
    EXPECT_EQ(file.Save(), 0);
    EXPECT_NE(ReadFile(dir.File("elsewhere.xml")).find("new"), std::string::npos);
    EXPECT_EQ(file.Save(dir.File("missing/x.xml")), 202);
    EXPECT_EQ(file.Save(WriteFile(dir.File("plain"), "p") + "/x.xml"), 202);
    EXPECT_EQ(ReadFile(dir.File("plain")), "p");

    CSVYXmlFile back;
    ASSERT_EQ(back.Initialize(copy), 1);
    std::string text = "A";
    EXPECT_EQ(back.GetSubNodeText(text), 1);
    EXPECT_EQ(text, "new");
    EXPECT_TRUE(boxes.messages().empty());

    // A failed load draws the message and keeps a handle on an empty document.
    const std::string bad = WriteFile(dir.File("bad.xml"), "not xml");
    EXPECT_EQ(back.Initialize(bad), 0);
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages()[0].first, LoadFailureText(bad));
    EXPECT_EQ(boxes.messages()[0].second, ZAR::MessageIcon::Exclamation);
    EXPECT_NE(back.GetFileHnd(), nullptr);
    EXPECT_EQ(back.GetFilePathName(), copy) << "only a successful load takes the path";
    EXPECT_EQ(back.GotoChildNode("A"), 0);
    // A path too long for the text buffer fails without a message.
    EXPECT_EQ(back.Initialize(dir.File(std::string(300, 'p'))), 0);
    EXPECT_EQ(boxes.messages().size(), 1u);
}

TEST_F(SvyXmlFileTest, MoveTransfersTheDocument) {
    Open("<R><A/></R>");
    file.GotoChildNode("A");
    file.PushPosition();
    file.GotoRootNode();
    CSVYXmlFile moved(std::move(file));
    EXPECT_EQ(file.GetFileHnd(), nullptr);
    EXPECT_EQ(file.GotoChildNode("A"), 0);
    EXPECT_EQ(file.GotoTopPosition(), 0);
    EXPECT_EQ(moved.GotoTopPosition(), 1);
    std::string name;
    EXPECT_EQ(moved.GetNodeName(name), 1);
    EXPECT_EQ(name, "A");

    CSVYXmlFile target;
    ASSERT_EQ(target.Initialize(WriteFile(dir.File("other.xml"), "<Other/>")), 1);
    target.PushPosition();
    target = std::move(moved);
    EXPECT_EQ(moved.GetFileHnd(), nullptr);
    EXPECT_EQ(target.GotoTopPosition(), 1);
    EXPECT_EQ(target.PopPosition(), 1);
    EXPECT_EQ(target.PopPosition(), 0) << "the target's own positions went with its document";
    EXPECT_EQ(target.GetFilePathName(), dir.File("doc.xml"));
    EXPECT_EQ(target.Save(), 0);
    // The moved-from object can be used again.
    EXPECT_EQ(moved.Initialize(dir.File("other.xml")), 1);
    EXPECT_EQ(moved.GetNodeName(name), 1);
    EXPECT_EQ(name, "Other");
}

// Whatever the file holds, loading gives 1, or 0 with exactly one load-failure message.
class SvyXmlFileBadInput : public ::testing::Test {
  protected:
    int32_t Load(const std::string& path) {
        MessageBoxCapture boxes;
        const int32_t result = file.Initialize(path);
        if (result) {
            EXPECT_TRUE(boxes.messages().empty());
        } else {
            EXPECT_EQ(boxes.messages().size(), 1u);
            if (!boxes.messages().empty()) {
                EXPECT_EQ(boxes.messages()[0].first, LoadFailureText(path));
            }
        }
        return result;
    }

    TempDir dir;
    CSVYXmlFile file;
};

TEST_F(SvyXmlFileBadInput, UnreadableOrMalformedFilesFail) {
    std::mt19937 random(12345);
    std::string garbage(4096, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    EXPECT_EQ(Load(WriteFile(dir.File("garbage.bin"), garbage)), 0);
    EXPECT_EQ(Load(WriteFile(dir.File("empty.xml"), "")), 0);
    EXPECT_EQ(Load(WriteFile(dir.File("truncated.xml"), "<?xml version='1.0'?><R><A k='")), 0);
    EXPECT_EQ(Load(WriteFile(dir.File("unclosed.xml"), "<R><A></R>")), 0);
    EXPECT_EQ(Load(dir.path()), 0);
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
    EXPECT_EQ(Load(dir.File("pipe")), 0) << "a pipe is not read";
    EXPECT_EQ(Load(dir.File("missing.xml")), 0);
    // Markup that may or may not be accepted: unexpanded entities, a NUL byte, several roots.
    Load(WriteFile(dir.File("entities.xml"),
                   "<!DOCTYPE R [<!ENTITY a 'aaaa'><!ENTITY b '&a;&a;&a;'>]><R>&b;&b;</R>"));
    Load(WriteFile(dir.File("nul.xml"), std::string("<R>a\0b</R>", 11)));
    Load(WriteFile(dir.File("roots.xml"), "<R/><S/>text"));
    // Bytes that are not UTF-8 inside otherwise well-formed markup.
    if (Load(WriteFile(dir.File("latin.xml"), "<R a='\xE9\xFF'>\xC3\x28\x80</R>"))) {
        std::string text;
        EXPECT_EQ(file.GetNodeText(text), 1);
        EXPECT_EQ(file.Save(dir.File("latin-out.xml")), 0);
    }
}

TEST_F(SvyXmlFileBadInput, HugeTextNodeLoadsButDoesNotFitTheBuffer) {
    const size_t length = 100u << 20;
    const std::string path = dir.File("huge.xml");
    {
        std::ofstream out(path, std::ios::binary);
        out << "<R><T>";
        const std::string block(1u << 20, 'x');
        for (size_t i = 0; i < length / block.size(); ++i)
            out << block;
        out << "</T></R>";
        ASSERT_TRUE(out.good());
    }
    ASSERT_EQ(Load(path), 1);
    std::string text = "T";
    EXPECT_EQ(file.GetSubNodeText(text), 0);
    EXPECT_EQ(text, "T");
    file.GotoChildNode("T");
    int32_t size = 16;
    char buffer[16];
    EXPECT_EQ(XmlDom_GetNodeText(file.GetFileHnd(), buffer, &size), 0);
    EXPECT_EQ(size, static_cast<int32_t>(length + 1));
}

TEST_F(SvyXmlFileBadInput, DeeplyNestedElements) {
    const int depth = 200000;
    std::string xml;
    xml.reserve(depth * 7u);
    for (int i = 0; i < depth; ++i)
        xml += "<a>";
    for (int i = 0; i < depth; ++i)
        xml += "</a>";
    const std::string path = WriteFile(dir.File("deep.xml"), xml);
    if (!Load(path))
        return;
    // Walk down a stretch, keep a handle there, then drop the whole tree.
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(file.GotoChildNode("a"), 1);
    file.PushPosition();
    file.GotoRootNode();
    EXPECT_EQ(file.RemoveCurrentNode(), 1);
    EXPECT_EQ(file.GotoTopPosition(), 1);
    EXPECT_EQ(file.PopPosition(), 1);
    file.GotoRootNode();
    std::string name;
    EXPECT_EQ(file.GetNodeName(name), 0) << "the document has no element any more";
    // Nothing refers to the removed tree now; the next released handle frees it.
    file.PushPosition();
    EXPECT_EQ(file.PopPosition(), 1);
    // An unreferenced deep subtree is dropped directly.
    ASSERT_EQ(Load(path), 1);
    EXPECT_EQ(file.RemoveCurrentNode(), 1);
}

}  // namespace
