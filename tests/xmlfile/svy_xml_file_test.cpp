// Tests of the CSVYXmlFile document cursor: child selection, the text-writing rule, saved
// positions, the 256-byte text buffer, versions, loading (bad files included) and saving.
#include "svy3/xmlfile/svy_xml_file.h"

#include <gmock/gmock.h>
#include <sys/stat.h>

#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/document_support.h"
#include "support/test_support.h"
#include "svy3/xmldom/xml_dom_api.h"

namespace {

using svy3_test::MessageBoxCapture;
using svy3_test::NodeName;
using svy3_test::ReadFile;
using svy3_test::TempDir;
using svy3_test::WriteFile;
using testing::HasSubstr;
using ZAR::CSVYXmlFile;

class SvyXmlFileTest : public ::testing::Test {
  protected:
    // Initialize: 1 with no message, or 0 with exactly the load-failure message box.
    int32_t Load(const std::string& path) {
        MessageBoxCapture boxes;
        const int32_t result = file.Initialize(path);
        const std::string text = "Failed to load file:\n" + path +
                                 "\nFile does not appear to be in XML format.\nOperation aborted.";
        std::vector<std::pair<std::string, ZAR::MessageIcon>> expected;
        if (!result)
            expected.emplace_back(text, ZAR::MessageIcon::Exclamation);
        EXPECT_EQ(boxes.messages(), expected) << path;
        return result;
    }
    void Open(const std::string& xml) { ASSERT_EQ(Load(WriteFile(dir.File("doc.xml"), xml)), 1); }
    std::string Name() { return NodeName(file); }
    // The result of a call with the name of the node the cursor is on after it.
    std::string After(int32_t result) { return std::to_string(result) + " " + Name(); }
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
using SvyXmlFileBadInput = SvyXmlFileTest;

TEST_F(SvyXmlFileTest, GotoChildNodeIndexRules) {
    Open("<R><!--c--><Line n='0'/><Other/><Line n='1'/></R>");
    // The result, the node the cursor is on and its attribute n.
    const auto child = [&](const std::string& name, int32_t index) {
        file.GotoRootNode();
        const std::string moved = After(file.GotoChildNode(name, index));
        return moved + " " + Attr("n");
    };
    EXPECT_EQ(child("Line", 1), "1 Line 1");
    EXPECT_EQ(child("Line", -3), "1 Line 0");
    EXPECT_EQ(child("Line", 2), "0 R <none>") << "too few: back on the parent";
    EXPECT_EQ(child("Missing", 0), "0 R <none>");
    EXPECT_EQ(child("", 5), "1 #comment <none>");
    // Named sibling search skips other names; an empty name matches nothing.
    child("Line", 0);
    EXPECT_EQ(file.GotoNextSibling(""), 0);
    EXPECT_EQ(file.GotoNextSibling("Line"), 1);
    EXPECT_EQ(Attr("n"), "1");
    EXPECT_EQ(file.GotoNextSibling("Line") + file.GotoNextSibling(), 0);
}

TEST_F(SvyXmlFileTest, SubNodeReadsAndWritesReturnToTheParent) {
    Open("<R><V>a</V><V k='b'>c</V><L>" + std::string(300, 'x') + "</L></R>");
    // Each read gives its result, the value (the name kept on failure) and where the cursor is.
    auto text = [&](std::string value, int32_t index) {
        const int32_t ok = file.GetSubNodeText(value, index);
        return std::to_string(ok) + " " + value + " " + Name();
    };
    auto attr = [&](std::string value, int32_t index) {
        const int32_t ok = file.GetSubNodeAttribute(value, "V", index);
        return std::to_string(ok) + " " + value + " " + Name();
    };
    EXPECT_EQ(text("V", 1), "1 c R");
    EXPECT_EQ(text("L", 0), "0 L R") << "a text too long for the buffer";
    EXPECT_EQ(text("V", 2), "0 V R");
    EXPECT_EQ(attr("k", 1), "1 b R");
    EXPECT_EQ(attr("k", 0), "0 k R");

    EXPECT_EQ(file.SetSubNodeText("V", "z", 1) + file.SetSubNodeAttribute("V", "k", "w", 0), 2);
    EXPECT_EQ(file.SetSubNodeText("Missing", "z") + file.SetSubNodeAttribute("V", "k", "w", 5), 0);
    EXPECT_EQ(text("V", 1), "1 z R");
    EXPECT_EQ(attr("k", 0), "1 w R");
}

TEST_F(SvyXmlFileTest, SetNodeTextAndAttribute) {
    Open("<R old='x'><Empty/><Elems><a/><!--c--></Elems><Late><!--c-->t</Late></R>");
    // An empty value sets the empty text; it does not remove.
    EXPECT_EQ(file.SetNodeAttribute("old", "") + file.SetNodeAttribute("new", ""), 2);
    EXPECT_EQ(Attr("old") + "|" + Attr("new") + "|" + Attr("gone"), "||<none>");
    // Text is replaced, appended when there is no text child, refused when it is not the first.
    file.GotoChildNode("Empty");
    EXPECT_EQ(file.SetNodeText("one"), 1);
    EXPECT_EQ(file.SetNodeText("two"), 1);
    EXPECT_EQ(Children(), "#text=two;");
    file.GotoNextSibling("Elems");
    EXPECT_EQ(file.SetNodeText("last"), 1);
    EXPECT_EQ(Children(), "a;#comment;#text=last;");
    file.GotoNextSibling("Late");
    EXPECT_EQ(file.SetNodeText("no"), 0);
    EXPECT_EQ(Children(), "#comment;#text=t;");
}

TEST_F(SvyXmlFileTest, PositionStack) {
    Open("<R><A><B/></A><C/></R>");
    EXPECT_EQ(file.GotoTopPosition() + file.PopPosition(), 0);
    file.GotoChildNode("A");
    file.PushPosition();
    file.GotoChildNode("B");
    file.PushPosition();
    file.GotoRootNode();
    EXPECT_EQ(After(file.GotoTopPosition()), "1 B");
    EXPECT_EQ(After(file.PopPosition()), "1 B") << "popping does not move";
    file.GotoRootNode();
    EXPECT_EQ(After(file.GotoTopPosition()), "1 A");
    EXPECT_EQ(After(file.RemoveCurrentNode()), "1 R");
    EXPECT_EQ(file.PopPosition() + file.PopPosition(), 1) << "one position was left";
    // Positions left on the stack are released by the next load.
    file.PushPosition();
    Open("<S/>");
    EXPECT_EQ(file.GotoTopPosition(), 0);
}

TEST_F(SvyXmlFileTest, TextBufferLimit) {
    const std::string fits(255, 'n'), tooLong(256, 'n');
    Open("<R><" + fits + "/><" + tooLong + " " + fits + "='v' a='" + tooLong + "'/></R>");
    EXPECT_EQ(After(file.GotoChildNode(fits)), "1 " + fits);
    file.GotoParentNode();
    EXPECT_EQ(After(file.GotoChildNode(tooLong)), "0 R");
    // A sibling name does not go through the buffer.
    file.GotoChildNode(fits);
    EXPECT_EQ(After(file.GotoNextSibling(tooLong)), "1 <none>") << "a name too long to read back";
    EXPECT_EQ(Attr(fits), "v");
    EXPECT_EQ(Attr("a"), "<none>") << "a value of 256 bytes does not fit";
    EXPECT_EQ(Attr(tooLong), "<none>") << "nor does a name of 256 bytes";
    EXPECT_EQ(file.SetNodeAttribute(tooLong, "v"), 0);
    EXPECT_EQ(file.SetNodeAttribute("b", tooLong + tooLong), 1);

    file.GotoRootNode();
    EXPECT_EQ(file.AppendChildNode(tooLong) + file.AppendTextChildNode(tooLong) +
                  file.SetNodeText(tooLong),
              0);
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

TEST(SvyXmlFileVersion, ParseAndFormat) {
    const std::pair<const char*, const char*> cases[] = {
        {"1.1.0", "1.1.0"}, {"10.2.3", "10.2.3"},    {"7", "0.0.7"},
        {"2.5", "2.0.5"},   {" -3.x.+4z", "-3.0.4"}, {"", "0.0.0"}};
    for (const auto& [text, numbers] : cases) {
        CSVYXmlFile::SVersion v;
        CSVYXmlFile::SVYVersionToNum(text, v);
        EXPECT_EQ(CSVYXmlFile::SVYVersionToStr(v), numbers) << text;
        EXPECT_EQ(v.text, text);
    }
    EXPECT_EQ(CSVYXmlFile::SVYVersionToStr({4, -1, 12, "ignored"}), "4.-1.12");
}

TEST_F(SvyXmlFileTest, NodeVersionCompatibility) {
    Open("<R><N version='1.2.0'/><O version='0.9.9'/><S version='1.1.0'/><M/></R>");
    // The result, the reference text after the call, then overall, major, minor and revision.
    auto compare = [&](const std::string& node) {
        file.GotoRootNode();
        file.GotoChildNode(node);
        std::string reference = "1.1.0";
        int32_t overall = 9, major = 9, minor = 9, revision = 9;
        std::ostringstream out;
        out << file.NodeVersionCompatibility(reference, overall, major, minor, revision);
        out << " " << reference << " " << overall << major << minor << revision;
        return out.str();
    };
    EXPECT_EQ(compare("N"), "1 1.2.0 1010");
    EXPECT_EQ(compare("O"), "1 0.9.9 -1-111") << "overall follows the most significant";
    EXPECT_EQ(compare("S"), "1 1.1.0 0000");
    EXPECT_EQ(compare("M"), "0 1.1.0 9999") << "no version attribute: nothing changes";
}

TEST_F(SvyXmlFileTest, InitializeAndSave) {
    Open("<R><A>old</A></R>");
    const std::string path = dir.File("doc.xml");
    EXPECT_EQ(file.GetFilePathName(), path);
    EXPECT_EQ(file.SetSubNodeText("A", "new"), 1);
    EXPECT_EQ(file.Save(), 0);
    // A path given to Save becomes the stored one, as does one set directly.
    const std::string copy = dir.File("copy.xml");
    EXPECT_EQ(file.Save(copy), 0);
    EXPECT_EQ(file.GetFilePathName(), copy);
    file.SetFilePathName(dir.File("elsewhere.xml"));
    EXPECT_EQ(file.Save(), 0);
    for (const std::string& saved : {path, copy, dir.File("elsewhere.xml")})
        EXPECT_THAT(ReadFile(saved), HasSubstr("<A>new</A>")) << saved;

    // A failed load (message checked by Load) leaves a handle on an empty document.
    file.SetFilePathName(copy);
    EXPECT_EQ(Load(WriteFile(dir.File("bad.xml"), "not xml")), 0);
    EXPECT_NE(file.GetFileHnd(), nullptr);
    EXPECT_EQ(file.GetFilePathName(), copy) << "only a successful load takes the path";
    EXPECT_EQ(file.GotoChildNode("A"), 0);
    // A path too long for the text buffer fails without a message.
    MessageBoxCapture boxes;
    EXPECT_EQ(file.Initialize(dir.File(std::string(300, 'p'))), 0);
    EXPECT_TRUE(boxes.messages().empty());
}

TEST_F(SvyXmlFileTest, MoveTransfersTheDocument) {
    Open("<R><A/></R>");
    file.GotoChildNode("A");
    file.PushPosition();
    file.GotoRootNode();
    CSVYXmlFile moved(std::move(file));
    EXPECT_EQ(file.GetFileHnd(), nullptr);
    EXPECT_EQ(file.GotoTopPosition(), 0);
    EXPECT_EQ(moved.GotoTopPosition(), 1);
    EXPECT_EQ(NodeName(moved), "A");

    CSVYXmlFile target;
    ASSERT_EQ(target.Initialize(WriteFile(dir.File("other.xml"), "<Other/>")), 1);
    target.PushPosition();
    target = std::move(moved);
    EXPECT_EQ(moved.GetFileHnd(), nullptr);
    EXPECT_EQ(target.GotoTopPosition(), 1);
    EXPECT_EQ(target.PopPosition(), 1);
    EXPECT_EQ(target.PopPosition(), 0) << "the target's own positions went with its document";
    EXPECT_EQ(target.GetFilePathName(), dir.File("doc.xml"));
    // The moved-from object can be used again.
    EXPECT_EQ(moved.Initialize(dir.File("other.xml")), 1);
    EXPECT_EQ(NodeName(moved), "Other");
}

// Whatever the file holds, loading gives 1, or 0 with exactly one load-failure message.
TEST_F(SvyXmlFileBadInput, UnreadableOrMalformedFilesFail) {
    std::mt19937 random(12345);
    std::string garbage(4096, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);  // a pipe is not read
    for (const std::string& path :
         {WriteFile(dir.File("garbage.bin"), garbage), WriteFile(dir.File("empty.xml"), ""),
          WriteFile(dir.File("truncated.xml"), "<?xml version='1.0'?><R><A k='"), dir.path(),
          dir.File("pipe"), dir.File("missing.xml")})
        EXPECT_EQ(Load(path), 0);
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

}  // namespace
