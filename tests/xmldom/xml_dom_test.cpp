// Tests of the XmlDom_ handle API: buffer protocol, name filters, the text rule, attributes,
// initialisation, loading and saving, node handles (removed nodes included) and node copies.
// Replacing the file on save (killed saves, leftovers) is tested with the file replacer.
#include "svy3/xmldom/xml_dom_api.h"

#include <gmock/gmock.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <boost/filesystem.hpp>
#include <csignal>
#include <cstring>
#include <string>

#include "editor/editor_support.h"
#include "support/test_support.h"
#include "svy3/svy3.h"

namespace {

using svy3_test::MessageBoxCapture;
using svy3_test::ReadFile;
using svy3_test::TempDir;
using svy3_test::WriteFile;
using testing::HasSubstr;

const std::string kNone = "<none>";

// A document handle released at the end of the test, with readers of its current node.
struct Doc {
    XMLDOM_HANDLE h = XmlDom_GetHandle();
    ~Doc() { XmlDom_ReleaseHandle(h); }
    operator XMLDOM_HANDLE() const { return h; }

    // A read through the buffer protocol into a roomy buffer that holds `in` on entry.
    template <class Reader>
    std::string Read(Reader read, const char* in = "") const {
        char buffer[512];
        std::strcpy(buffer, in);
        int32_t size = sizeof buffer;
        return read(h, buffer, &size) ? std::string(buffer) : kNone;
    }
    // A read into a buffer of `size` bytes holding `in`: the result, the size written back and
    // what the buffer holds after it.
    template <class Reader>
    std::string Raw(Reader read, int32_t size, const char* in = "#") const {
        char buffer[64];
        std::strcpy(buffer, in);
        const int result = read(h, buffer, &size);
        return std::to_string(result) + " " + std::to_string(size) + " " + buffer;
    }
    std::string Name() const { return Read(XmlDom_GetNodeName); }
    std::string Text() const { return Read(XmlDom_GetNodeText); }
    std::string Attr(const char* name) const { return Read(XmlDom_GetNodeAttributeText, name); }
    // The result of a call with the name of the node the cursor is on after it.
    std::string After(int32_t result) const { return std::to_string(result) + " " + Name(); }

    // The structure below the current node: names, and the text of text nodes. Leaves the cursor
    // on the node it started from.
    std::string Dump() const {
        int16_t isText = 0;
        XmlDom_GetNodeInfo(h, nullptr, nullptr, &isText);
        std::string out = Name() + (isText ? "=" + Text() : "");
        if (!XmlDom_MoveToFirstChildNode(h, nullptr))
            return out;
        out += "[";
        do
            out += Dump() + ";";
        while (XmlDom_MoveToNextSiblingNode(h, nullptr));
        XmlDom_MoveToParentNode(h, nullptr);
        return out + "]";
    }
    // The whole document, from the document node; ends on the root.
    std::string DumpDocument() const {
        XmlDom_MoveToRootNode(h);
        XmlDom_MoveToParentNode(h, nullptr);
        const std::string out = Dump();
        XmlDom_MoveToRootNode(h);
        return out;
    }
};

class XmlDom : public ::testing::Test {
  protected:
    void Load(const std::string& xml) {
        ASSERT_EQ(XmlDom_LoadFile(doc, WriteFile(dir.File("in.xml"), xml).c_str()), 1);
    }
    TempDir dir;
    Doc doc;
};

TEST_F(XmlDom, TextAndAttributeReadsAndWrites) {
    Load("<R k='abcd'>hello<T>old</T><C><!--c-->late</C><E/></R>");
    int16_t children = 0, attributes = 0, text = 1;
    XmlDom_GetNodeInfo(doc, &children, &attributes, &text);
    EXPECT_EQ(std::to_string(children) + std::to_string(attributes) + std::to_string(text), "110");
    // Buffer protocol: the bytes needed are written back; only a text that fits is copied, and
    // a buffer that is too small stays untouched.
    EXPECT_EQ(doc.Raw(XmlDom_GetNodeText, 5), "0 6 #");
    EXPECT_EQ(doc.Raw(XmlDom_GetNodeText, 6), "1 6 hello");
    // The attribute name goes in through the buffer and stays there when the value does not fit.
    EXPECT_EQ(doc.Raw(XmlDom_GetNodeAttributeText, 4, "k"), "0 5 k");
    EXPECT_EQ(doc.Raw(XmlDom_GetNodeAttributeText, 5, "k"), "1 5 abcd");
    EXPECT_EQ(doc.Raw(XmlDom_GetNodeAttributeText, 64, "missing"), "0 0 missing");

    // Attributes are created, replaced, set empty and removed by a null value.
    EXPECT_EQ(XmlDom_SetNodeAttributeText(doc, "a", "1"), 1);
    EXPECT_EQ(XmlDom_SetNodeAttributeText(doc, "a", "2"), 1);
    EXPECT_EQ(XmlDom_SetNodeAttributeText(doc, "k", ""), 1);
    EXPECT_EQ(doc.Attr("a") + "|" + doc.Attr("k"), "2|");
    EXPECT_EQ(XmlDom_SetNodeAttributeText(doc, "a", nullptr), 1);
    EXPECT_EQ(XmlDom_SetNodeAttributeText(doc, "k", nullptr), 1);
    XmlDom_GetNodeInfo(doc, nullptr, &attributes, nullptr);
    EXPECT_EQ(attributes, 0);

    // The text rule: a text node's own text, else the text of a first child that is text.
    XmlDom_MoveToFirstChildNode(doc, "T");
    EXPECT_EQ(XmlDom_SetNodeText(doc, "new"), 1);
    XmlDom_MoveToFirstChildNode(doc, nullptr);
    EXPECT_EQ(doc.Text(), "new");
    EXPECT_EQ(XmlDom_SetNodeText(doc, "own"), 1);
    EXPECT_EQ(XmlDom_SetNodeText(doc, nullptr), 0);
    EXPECT_EQ(XmlDom_SetNodeAttributeText(doc, "a", "1"), 0) << "only elements carry attributes";
    XmlDom_MoveToParentNode(doc, nullptr);
    EXPECT_EQ(doc.Text(), "own");
    XmlDom_MoveToNextSiblingNode(doc, "C");
    EXPECT_EQ(doc.Text(), kNone);
    EXPECT_EQ(XmlDom_SetNodeText(doc, "x"), 0);
    XmlDom_MoveToNextSiblingNode(doc, "E");
    EXPECT_EQ(XmlDom_SetNodeText(doc, "x"), 0);
    EXPECT_EQ(doc.Dump(), "E") << "no text node is created";
}

TEST_F(XmlDom, NameFiltersSkipOtherNodes) {
    Load("<R><P><!--c--><A n='1'/><B/><A n='2'><x><y/></x></A></P></R>");
    // The result of a move and the attribute n of the node the cursor is on after it.
    const auto n = [&](int32_t result) { return std::to_string(result) + " " + doc.Attr("n"); };
    ASSERT_EQ(XmlDom_MoveToFirstChildNode(doc, "P"), 1);
    EXPECT_EQ(n(XmlDom_MoveToFirstChildNode(doc, "A")), "1 1");
    EXPECT_EQ(n(XmlDom_MoveToNextSiblingNode(doc, "A")), "1 2");
    EXPECT_EQ(n(XmlDom_MoveToNextSiblingNode(doc, "A")), "0 2")
        << "a failed move leaves the cursor";
    // Parent with a filter climbs to the nearest ancestor of that name.
    XmlDom_MoveToFirstChildNode(doc, "x");
    ASSERT_EQ(XmlDom_MoveToFirstChildNode(doc, "y"), 1);
    EXPECT_EQ(doc.After(XmlDom_MoveToParentNode(doc, "nowhere")), "0 y");
    EXPECT_EQ(n(XmlDom_MoveToParentNode(doc, "A")), "1 2");
    EXPECT_EQ(doc.After(XmlDom_MoveToParentNode(doc, "R")), "1 R");
    EXPECT_EQ(doc.After(XmlDom_MoveToParentNode(doc, nullptr)), "1 #document");
    EXPECT_EQ(doc.After(XmlDom_MoveToParentNode(doc, nullptr)), "0 #document");
    XmlDom_MoveToRootNode(doc);
    EXPECT_EQ(XmlDom_MoveToFirstChildNode(doc, "p"), 0) << "filters compare case-sensitively";
}

TEST_F(XmlDom, NoCurrentNodeAndNoHandle) {
    EXPECT_EQ(XmlDom_MoveToFirstChildNode(doc, nullptr), 0);
    EXPECT_EQ(XmlDom_MoveToParentNode(doc, nullptr), 0) << "no root to fall back to";
    XMLDOM_NODE none = XmlDom_GetCurrentNodeHandle(doc);
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(doc, nullptr, "R"), 1);
    ASSERT_EQ(XmlDom_MoveToHandleNode(doc, none), 1);
    EXPECT_EQ(doc.Raw(XmlDom_GetNodeName, 8), "0 0 #") << "no node: no value at all";
    EXPECT_EQ(XmlDom_MoveToNextSiblingNode(doc, nullptr), 0);
    int16_t children = 7, attributes = 7, text = 7;
    XmlDom_GetNodeInfo(doc, &children, &attributes, &text);
    EXPECT_EQ(children + attributes + text, 0);
    EXPECT_EQ(doc.After(XmlDom_MoveToParentNode(doc, nullptr)), "1 R")
        << "the root is the candidate";

    // Without a document handle every call fails without effect.
    children = attributes = text = 7;
    XmlDom_GetNodeInfo(nullptr, &children, &attributes, &text);
    EXPECT_EQ(children + attributes + text, 0);
    EXPECT_EQ(XmlDom_LoadFile(nullptr, "x.xml"), 0);
    EXPECT_EQ(XmlDom_SaveFile(nullptr, "x.xml"), XMLDOM_SAVE_WRITE_FAILED);
    XmlDom_ReleaseHandle(nullptr);
}

TEST_F(XmlDom, NodeNamesAndFailedLoadKeepsDocument) {
    Load("<?xml version='1.0'?><?app do?><R><!--c--><![CDATA[d]]>t<E/></R>");
    EXPECT_EQ(doc.DumpDocument(), "#document[xml;app;R[#comment;#cdata-section;#text=t;E;];]");
    XMLDOM_NODE previous = XmlDom_GetCurrentNodeHandle(doc);
    // Failed loads (the kinds of bad files are in the document cursor's tests) keep the document.
    EXPECT_EQ(XmlDom_LoadFile(doc, WriteFile(dir.File("bad.xml"), "<R><E></R>").c_str()), 0);
    EXPECT_EQ(XmlDom_LoadFile(doc, nullptr), 0);
    EXPECT_EQ(doc.Name(), "R");
    // A failed load still takes the path and tests it: a missing file cannot be saved over.
    const std::string missing = dir.File("missing.xml");
    EXPECT_EQ(XmlDom_LoadFile(doc, missing.c_str()), 0);
    EXPECT_EQ(XmlDom_SaveFile(doc, nullptr), XMLDOM_SAVE_NOT_WRITABLE);
    EXPECT_NE(access(missing.c_str(), F_OK), 0);
    // A successful load leaves handles on the previous document without a node.
    Load("<?xml version='1.0' encoding='ISO-8859-1'?><R a='\xE9'>\xE9t\xE9</R>");
    EXPECT_EQ(XmlDom_MoveToHandleNode(doc, previous), 1);
    EXPECT_EQ(doc.Name(), kNone);
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, previous, 1), 0);
    // Text read from Latin-1 is held as UTF-8, and the saved file must say what it holds.
    XmlDom_MoveToRootNode(doc);
    EXPECT_EQ(doc.Text(), "\xC3\xA9t\xC3\xA9");
    ASSERT_EQ(XmlDom_SaveFile(doc, nullptr), XMLDOM_SAVE_OK);
    Doc back;
    ASSERT_EQ(XmlDom_LoadFile(back, dir.File("in.xml").c_str()), 1);
    EXPECT_EQ(back.Text() + back.Attr("a"), "\xC3\xA9t\xC3\xA9\xC3\xA9");

    // Element and attribute names must be XML names (any byte from 0x80 up counts as a letter),
    // so that a saved document reads back: one digit per name, attribute then element.
    std::string taken;
    for (const char* name : std::initializer_list<const char*>{
             "_a", ":b", "c-1.d", "\xC3\xA9", "\x80", "", "1a", "-a", ".a", "a b", "a<", nullptr}) {
        taken += std::to_string(XmlDom_SetNodeAttributeText(doc, name, "v"));
        taken += std::to_string(XmlDom_AppendChildNode(doc, name));
        if (taken.back() == '1')
            XmlDom_MoveToParentNode(doc, nullptr);
    }
    EXPECT_EQ(taken, "111111111100000000000000");
}

TEST_F(XmlDom, InitializeBuildRoundTripAndPermissions) {
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(doc, "c", "Survey"), 1);
    EXPECT_EQ(XmlDom_InitializeNewXmlFile(doc, "again", "Other"), 0) << "only once";
    XmlDom_SetNodeAttributeText(doc, "q", "a<&\"'>b\tc");
    XmlDom_AppendChildNode(doc, "Line");
    XmlDom_AppendTextChildNode(doc, "x < y & z ]]> \"q\" \xC3\xA9");
    XmlDom_MoveToParentNode(doc, nullptr);
    XmlDom_AppendChildNode(doc, "Mixed");
    XmlDom_AppendTextChildNode(doc, "lead");
    XmlDom_AppendChildNode(doc, "b");
    XmlDom_MoveToParentNode(doc, nullptr);
    XmlDom_AppendTextChildNode(doc, "tail");
    XmlDom_AppendComment(doc, "note");
    const std::string built =
        "#document[xml;Survey[#comment;Line[#text=x < y & z ]]> \"q\" \xC3\xA9;];"
        "Mixed[#text=lead;b;#text=tail;#comment;];];]";
    EXPECT_EQ(doc.DumpDocument(), built);
    Doc bare;
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(bare, "", "R"), 1);
    EXPECT_EQ(bare.DumpDocument(), "#document[xml;R;]") << "no empty comment";

    const std::string path = dir.File("out.xml");
    ASSERT_EQ(XmlDom_SaveFile(doc, path.c_str()), XMLDOM_SAVE_OK);
    Doc back;
    ASSERT_EQ(XmlDom_LoadFile(back, path.c_str()), 1);
    EXPECT_EQ(back.DumpDocument(), built);
    EXPECT_EQ(back.Attr("q"), "a<&\"'>b\tc");
    EXPECT_THAT(ReadFile(path), HasSubstr("<!--note-->"));
    // Saving to a path does not make it the path of a save without one.
    EXPECT_EQ(XmlDom_SaveFile(doc, nullptr), XMLDOM_SAVE_NO_FILE_NAME);
    EXPECT_EQ(XmlDom_SaveFile(doc, ""), XMLDOM_SAVE_NO_FILE_NAME);
    // A loaded document saves back to its own path, which keeps its permissions.
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(XmlDom_SetNodeAttributeText(back, "q", "changed"), 1);
    ASSERT_EQ(XmlDom_SaveFile(back, nullptr), XMLDOM_SAVE_OK);
    EXPECT_THAT(ReadFile(path), HasSubstr("q=\"changed\""));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// A refused or failed save gives its code and leaves the file as it was, with no temporary or
// empty file behind. Which targets are refused, and each failing step of the replacement, are the
// file replacer's tests.
TEST_F(XmlDom, FailedSavesLeaveFilesAlone) {
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(doc, nullptr, "R"), 1);
    XmlDom_SetNodeAttributeText(doc, "long", std::string(4096, 'v').c_str());
    const std::string old = WriteFile(dir.File("old.xml"), "<R a='1'/>");
    EXPECT_EQ(XmlDom_SaveFile(doc, dir.File("no/x.xml").c_str()), XMLDOM_SAVE_NOT_WRITABLE);

    // A write that fails part way (the process's file size limit binds root too) gives -200.
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 1024;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int16_t result = XmlDom_SaveFile(doc, old.c_str());
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, XMLDOM_SAVE_WRITE_FAILED);
    EXPECT_EQ(ReadFile(old), "<R a='1'/>");
    EXPECT_TRUE(++boost::filesystem::directory_iterator(dir.path()) ==
                boost::filesystem::directory_iterator())
        << "one file in the folder";
}

TEST_F(XmlDom, RemovedNodesStayNavigableAndAreNeverSaved) {
    Load("<R><Gone k='v'><Child>text</Child></Gone><Kept/></R>");
    XmlDom_MoveToFirstChildNode(doc, "Gone");
    XmlDom_MoveToFirstChildNode(doc, "Child");
    XMLDOM_NODE child = XmlDom_GetCurrentNodeHandle(doc);
    XmlDom_MoveToParentNode(doc, nullptr);
    ASSERT_EQ(doc.After(XmlDom_RemoveCurrentNode(doc)), "1 R");
    EXPECT_EQ(doc.DumpDocument(), "#document[R[Kept;];]");

    ASSERT_EQ(XmlDom_MoveToHandleNode(doc, child), 1);
    EXPECT_EQ(doc.Text(), "text");
    ASSERT_EQ(XmlDom_MoveToParentNode(doc, nullptr), 1);
    EXPECT_EQ(doc.Attr("k"), "v");
    EXPECT_EQ(XmlDom_MoveToParentNode(doc, nullptr), 0) << "a removed subtree has no parent";
    EXPECT_EQ(XmlDom_RemoveCurrentNode(doc), 0);
    EXPECT_EQ(XmlDom_AppendChildNode(doc, "Added"), 1);
    ASSERT_EQ(XmlDom_SaveFile(doc, nullptr), XMLDOM_SAVE_OK);
    Doc back;
    ASSERT_EQ(XmlDom_LoadFile(back, dir.File("in.xml").c_str()), 1);
    EXPECT_EQ(back.DumpDocument(), "#document[R[Kept;];]") << ReadFile(dir.File("in.xml"));
    // Two removed nodes are not each other's siblings, so a walk from one stays in its subtree.
    XmlDom_MoveToRootNode(doc);
    XmlDom_MoveToFirstChildNode(doc, "Kept");
    XMLDOM_NODE kept = XmlDom_GetCurrentNodeHandle(doc);
    ASSERT_EQ(XmlDom_RemoveCurrentNode(doc), 1);
    for (XMLDOM_NODE removed : {child, kept}) {
        XmlDom_MoveToHandleNode(doc, removed);
        XmlDom_MoveToParentNode(doc, nullptr);
        EXPECT_EQ(XmlDom_MoveToNextSiblingNode(doc, nullptr), 0) << doc.Name();
        EXPECT_EQ(XmlDom_MoveToParentNode(doc, nullptr), 0) << doc.Name();
    }
    XmlDom_ReleaseNodeHandle(doc, kept);
    XmlDom_ReleaseNodeHandle(doc, child);
    EXPECT_EQ(XmlDom_MoveToHandleNode(doc, child), 0) << "a released handle is not accepted";

    // Handles belong to the document that issued them; foreign values are ignored.
    XMLDOM_NODE foreign = XmlDom_GetCurrentNodeHandle(back);
    XmlDom_MoveToRootNode(doc);
    XmlDom_ReleaseNodeHandle(doc, foreign);
    EXPECT_EQ(XmlDom_MoveToHandleNode(back, foreign), 1);
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, foreign, 1), 0);
    EXPECT_EQ(doc.Dump(), "R");
}

TEST_F(XmlDom, RemovingTheRootLetsANewRootBeAppended) {
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(doc, nullptr, "Old"), 1);
    XMLDOM_NODE old = XmlDom_GetCurrentNodeHandle(doc);
    EXPECT_EQ(XmlDom_AppendChildNode(doc, "In"), 1);
    XmlDom_MoveToRootNode(doc);
    XmlDom_MoveToParentNode(doc, nullptr);
    EXPECT_EQ(XmlDom_AppendChildNode(doc, "Second"), 0) << "one element per document";
    XmlDom_MoveToRootNode(doc);
    ASSERT_EQ(doc.After(XmlDom_RemoveCurrentNode(doc)), "1 #document");
    XMLDOM_NODE document = XmlDom_GetCurrentNodeHandle(doc);
    EXPECT_EQ(doc.After(XmlDom_MoveToRootNode(doc)), "1 " + kNone);
    XmlDom_MoveToHandleNode(doc, document);
    EXPECT_EQ(XmlDom_AppendComment(doc, "top"), 1) << "a comment may stand beside the element";
    ASSERT_EQ(doc.After(XmlDom_AppendChildNode(doc, "New")), "1 New");
    EXPECT_EQ(doc.DumpDocument(), "#document[xml;#comment;New;]");
    ASSERT_EQ(XmlDom_MoveToHandleNode(doc, old), 1);
    EXPECT_EQ(doc.Dump(), "Old[In;]");
    const std::string path = dir.File("out.xml");
    ASSERT_EQ(XmlDom_SaveFile(doc, path.c_str()), XMLDOM_SAVE_OK);
    Doc back;
    ASSERT_EQ(XmlDom_LoadFile(back, path.c_str()), 1);
    EXPECT_EQ(back.DumpDocument(), "#document[xml;#comment;New;]");
}

TEST_F(XmlDom, ShallowAndDeepCopies) {
    Load("<R><S a='1' b='2'><x>t</x><!--c--></S><D/></R>");
    XmlDom_MoveToFirstChildNode(doc, "S");
    XMLDOM_NODE source = XmlDom_GetCurrentNodeHandle(doc);
    XmlDom_MoveToNextSiblingNode(doc, "D");
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, source, 0), 1);
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, source, 1), 1);
    EXPECT_EQ(doc.Dump(), "D[S;S[x[#text=t;];#comment;];]") << "the cursor stays";
    XmlDom_MoveToFirstChildNode(doc, "S");
    EXPECT_EQ(doc.Attr("a") + doc.Attr("b"), "12");

    // A subtree copied into itself is copied once.
    XmlDom_MoveToRootNode(doc);
    XMLDOM_NODE root = XmlDom_GetCurrentNodeHandle(doc);
    XmlDom_MoveToFirstChildNode(doc, "D");
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, root, 1), 1);
    XmlDom_MoveToRootNode(doc);
    EXPECT_EQ(doc.Dump(),
              "R[S[x[#text=t;];#comment;];D[S;S[x[#text=t;];#comment;];R[S[x[#text=t;];#comment;"
              "];D[S;S[x[#text=t;];#comment;];];];];]");
    XmlDom_MoveToParentNode(doc, nullptr);
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, root, 1), 0) << "a second element at document level";
}

// A document of `depth` nested elements <e>..</e> with a text in the deepest.
std::string Nested(size_t depth) {
    std::string xml;
    for (size_t i = 0; i < depth; ++i)
        xml += "<e>";
    xml += "t";
    for (size_t i = 0; i < depth; ++i)
        xml += "</e>";
    return xml;
}

// Loading refuses documents nested deeper than the limit and tells why; appends and copies stop at
// the limit, so every document the layer holds saves in proportion to its size.
TEST_F(XmlDom, NestingIsLimited) {
    const size_t limit = XMLDOM_MAX_DEPTH;
    struct Case {
        std::string name, xml;
        int32_t loaded, result;
    } cases[] = {
        {"at the limit (text one level deeper)", Nested(limit - 1), 1, XMLDOM_LOAD_OK},
        {"one level too deep", Nested(limit), 0, XMLDOM_LOAD_TOO_DEEP},
        {"32000 levels", Nested(32000), 0, XMLDOM_LOAD_TOO_DEEP},
        {"not XML", "<e><f></e>", 0, XMLDOM_LOAD_NOT_XML},
    };
    for (const Case& c : cases) {
        Doc d;
        const std::string path = WriteFile(dir.File("deep.xml"), c.xml);
        EXPECT_EQ(XmlDom_LoadFile(d, path.c_str()), c.loaded) << c.name;
        EXPECT_EQ(XmlDom_GetLoadResult(d), c.result) << c.name;
        if (!c.loaded)
            continue;
        // The deepest legal document saves and reads back whole.
        ASSERT_EQ(XmlDom_SaveFile(d, dir.File("saved.xml").c_str()), XMLDOM_SAVE_OK);
        EXPECT_LT(ReadFile(dir.File("saved.xml")).size(), limit * limit + 16 * limit);
        Doc back;
        ASSERT_EQ(XmlDom_LoadFile(back, dir.File("saved.xml").c_str()), 1);
        EXPECT_EQ(back.DumpDocument(), d.DumpDocument());
    }
    EXPECT_EQ(XmlDom_LoadFile(doc, dir.File("missing.xml").c_str()), 0);
    EXPECT_EQ(XmlDom_GetLoadResult(doc), XMLDOM_LOAD_NOT_READ);
    EXPECT_EQ(XmlDom_GetLoadResult(nullptr), XMLDOM_LOAD_NOT_READ);

    // The reasons reach the document cursor's message and the editor's error.
    WriteFile(dir.File("deep.svy"), Nested(32000));
    {
        MessageBoxCapture capture;
        EXPECT_EQ(ZAR::CSVYXmlFile().Initialize(dir.File("deep.svy")), 0);
        EXPECT_THAT(capture.messages(),
                    testing::ElementsAre(testing::Key(HasSubstr("nested deeper than 256 levels"))));
    }
    ZAR::GpzSvy120 editor;
    EXPECT_THAT(svy3_test::ErrorOf([&] { editor.Load(dir.File("deep.svy").c_str()); }).what,
                HasSubstr("nested deeper"));

    // Appends: element, text and comment stop at the limit.
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(doc, nullptr, "e"), 1);
    XMLDOM_NODE top = XmlDom_GetCurrentNodeHandle(doc);
    size_t levels = 1;
    while (levels < 2 * limit && XmlDom_AppendChildNode(doc, "e"))
        ++levels;
    EXPECT_EQ(levels, limit);
    EXPECT_EQ(XmlDom_AppendTextChildNode(doc, "t") + XmlDom_AppendComment(doc, "c"), 0);
    // Copies: a subtree fits only where its depth keeps within the limit.
    XmlDom_MoveToParentNode(doc, nullptr);
    XMLDOM_NODE twoLevels = XmlDom_GetCurrentNodeHandle(doc);
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, twoLevels, 1), 0);
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, twoLevels, 0), 1) << "one level fits";
    XmlDom_MoveToHandleNode(doc, top);
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, top, 1), 0);
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, twoLevels, 1), 1);
}

}  // namespace
