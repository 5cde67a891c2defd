// Tests of the XmlDom_ handle API: buffer protocol, name filters, the text rule, attributes,
// initialisation, loading and saving, node handles (removed nodes included) and node copies.
#include "svy3/xmldom/xml_dom_api.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <boost/filesystem.hpp>
#include <csignal>
#include <cstring>
#include <string>

#include "support/test_support.h"

namespace {

using svy3_test::ReadFile;
using svy3_test::TempDir;
using svy3_test::WriteFile;

const std::string kNone = "<none>";

// A document handle released at the end of the test.
struct Doc {
    XMLDOM_HANDLE h = XmlDom_GetHandle();
    Doc() { EXPECT_NE(h, nullptr); }
    ~Doc() { XmlDom_ReleaseHandle(h); }
    Doc(const Doc&) = delete;
    Doc& operator=(const Doc&) = delete;
    operator XMLDOM_HANDLE() const { return h; }
};

std::string Name(XMLDOM_HANDLE h) {
    char buffer[512];
    int32_t size = sizeof buffer;
    return XmlDom_GetNodeName(h, buffer, &size) ? std::string(buffer) : kNone;
}

std::string Text(XMLDOM_HANDLE h) {
    char buffer[512];
    int32_t size = sizeof buffer;
    return XmlDom_GetNodeText(h, buffer, &size) ? std::string(buffer) : kNone;
}

std::string Attr(XMLDOM_HANDLE h, const char* name) {
    char buffer[512];
    std::strcpy(buffer, name);
    int32_t size = sizeof buffer;
    return XmlDom_GetNodeAttributeText(h, buffer, &size) ? std::string(buffer) : kNone;
}

// The structure below the current node: names, and the text of text nodes. Leaves the cursor on
// the node it started from.
std::string Dump(XMLDOM_HANDLE h) {
    int16_t isText = 0;
    XmlDom_GetNodeInfo(h, nullptr, nullptr, &isText);
    std::string out = Name(h) + (isText ? "=" + Text(h) : "");
    if (XmlDom_MoveToFirstChildNode(h, nullptr)) {
        out += "[";
        do
            out += Dump(h) + ";";
        while (XmlDom_MoveToNextSiblingNode(h, nullptr));
        out += "]";
        XmlDom_MoveToParentNode(h, nullptr);
    }
    return out;
}

// The whole document, from the document node.
std::string DumpDocument(XMLDOM_HANDLE h) {
    XmlDom_MoveToRootNode(h);
    XmlDom_MoveToParentNode(h, nullptr);
    std::string out = Dump(h);
    XmlDom_MoveToRootNode(h);
    return out;
}

void Load(const Doc& doc, const TempDir& dir, const std::string& xml) {
    ASSERT_EQ(XmlDom_LoadFile(doc, WriteFile(dir.File("in.xml"), xml).c_str()), 1);
}

TEST(XmlDomBuffer, SizeProtocolForTextNameAndAttribute) {
    TempDir dir;
    Doc doc;
    Load(doc, dir, "<R k='abcd'>hello</R>");
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    int32_t size = 5;  // one byte short of "hello" plus terminator
    EXPECT_EQ(XmlDom_GetNodeText(doc, buffer, &size), 0);
    EXPECT_EQ(size, 6);
    EXPECT_EQ(buffer[0], '#') << "a buffer that is too small stays untouched";
    EXPECT_EQ(XmlDom_GetNodeText(doc, buffer, &size), 1);  // exact fit
    EXPECT_STREQ(buffer, "hello");

    size = 1;
    EXPECT_EQ(XmlDom_GetNodeName(doc, buffer, &size), 0);
    EXPECT_EQ(size, 2);

    std::strcpy(buffer, "k");
    size = 4;
    EXPECT_EQ(XmlDom_GetNodeAttributeText(doc, buffer, &size), 0);
    EXPECT_EQ(size, 5);
    EXPECT_STREQ(buffer, "k");
    EXPECT_EQ(XmlDom_GetNodeAttributeText(doc, buffer, &size), 1);
    EXPECT_STREQ(buffer, "abcd");

    std::strcpy(buffer, "missing");
    size = sizeof buffer;
    EXPECT_EQ(XmlDom_GetNodeAttributeText(doc, buffer, &size), 0);
    EXPECT_EQ(size, 0);

    // No current node: no value at all.
    Doc empty;
    size = sizeof buffer;
    EXPECT_EQ(XmlDom_GetNodeName(empty, buffer, &size), 0);
    EXPECT_EQ(size, 0);
}

TEST(XmlDomNavigation, NameFiltersSkipOtherNodes) {
    TempDir dir;
    Doc doc;
    Load(doc, dir, "<R><P><!--c--><A n='1'/><B/><A n='2'><x><y/></x></A>t</P><a/></R>");
    ASSERT_EQ(XmlDom_MoveToFirstChildNode(doc, "P"), 1);
    EXPECT_EQ(XmlDom_MoveToFirstChildNode(doc, "A"), 1);
    EXPECT_EQ(Attr(doc, "n"), "1");
    EXPECT_EQ(XmlDom_MoveToNextSiblingNode(doc, "A"), 1);
    EXPECT_EQ(Attr(doc, "n"), "2");
    EXPECT_EQ(XmlDom_MoveToNextSiblingNode(doc, "A"), 0);
    EXPECT_EQ(Attr(doc, "n"), "2") << "a failed move leaves the cursor";
    // Unfiltered moves see text nodes; filters compare case-sensitively.
    EXPECT_EQ(XmlDom_MoveToNextSiblingNode(doc, nullptr), 1);
    EXPECT_EQ(Name(doc), "#text");
    XmlDom_MoveToRootNode(doc);
    EXPECT_EQ(XmlDom_MoveToFirstChildNode(doc, "p"), 0);
    EXPECT_EQ(XmlDom_MoveToFirstChildNode(doc, "a"), 1);
    XmlDom_MoveToParentNode(doc, nullptr);
    ASSERT_EQ(XmlDom_MoveToFirstChildNode(doc, nullptr), 1);
    ASSERT_EQ(XmlDom_MoveToFirstChildNode(doc, nullptr), 1);
    EXPECT_EQ(Name(doc), "#comment");

    // Parent with a filter climbs to the nearest ancestor of that name.
    XmlDom_MoveToNextSiblingNode(doc, "A");
    XmlDom_MoveToNextSiblingNode(doc, "A");
    XmlDom_MoveToFirstChildNode(doc, "x");
    ASSERT_EQ(XmlDom_MoveToFirstChildNode(doc, "y"), 1);
    EXPECT_EQ(XmlDom_MoveToParentNode(doc, "nowhere"), 0);
    EXPECT_EQ(Name(doc), "y");
    EXPECT_EQ(XmlDom_MoveToParentNode(doc, "R"), 1);
    EXPECT_EQ(Name(doc), "R");
    EXPECT_EQ(XmlDom_MoveToParentNode(doc, nullptr), 1);
    EXPECT_EQ(Name(doc), "#document");
    EXPECT_EQ(XmlDom_MoveToParentNode(doc, nullptr), 0);
}

TEST(XmlDomNavigation, EmptyCursor) {
    Doc doc;
    EXPECT_EQ(XmlDom_MoveToFirstChildNode(doc, nullptr), 0);
    EXPECT_EQ(XmlDom_MoveToParentNode(doc, nullptr), 0) << "no root to fall back to";
    XMLDOM_NODE none = XmlDom_GetCurrentNodeHandle(doc);
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(doc, nullptr, "R"), 1);
    ASSERT_EQ(XmlDom_MoveToHandleNode(doc, none), 1);
    EXPECT_EQ(Name(doc), kNone);
    EXPECT_EQ(XmlDom_MoveToNextSiblingNode(doc, nullptr), 0);
    int16_t children = 7, attributes = 7, text = 7;
    XmlDom_GetNodeInfo(doc, &children, &attributes, &text);
    EXPECT_EQ(children + attributes + text, 0);
    EXPECT_EQ(XmlDom_MoveToParentNode(doc, nullptr), 1) << "the root is the candidate";
    EXPECT_EQ(Name(doc), "R");
}

TEST(XmlDomText, ReadAndReplaceOnlyTheFirstTextChild) {
    TempDir dir;
    Doc doc;
    Load(doc, dir, "<R><T>old</T><C><!--c-->late</C><E/></R>");
    XmlDom_MoveToFirstChildNode(doc, "T");
    EXPECT_EQ(XmlDom_SetNodeText(doc, "new"), 1);
    EXPECT_EQ(Text(doc), "new");
    XmlDom_MoveToFirstChildNode(doc, nullptr);
    EXPECT_EQ(Text(doc), "new") << "a text node reads its own text";
    EXPECT_EQ(XmlDom_SetNodeText(doc, "own"), 1);
    XmlDom_MoveToParentNode(doc, nullptr);
    EXPECT_EQ(Text(doc), "own");

    XmlDom_MoveToNextSiblingNode(doc, "C");
    char buffer[16];
    int32_t size = sizeof buffer;
    EXPECT_EQ(XmlDom_GetNodeText(doc, buffer, &size), 0);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(XmlDom_SetNodeText(doc, "x"), 0);

    XmlDom_MoveToNextSiblingNode(doc, "E");
    EXPECT_EQ(XmlDom_SetNodeText(doc, "x"), 0);
    int16_t children = 1;
    XmlDom_GetNodeInfo(doc, &children, nullptr, nullptr);
    EXPECT_EQ(children, 0) << "no text node is created";
}

TEST(XmlDomAttributes, SetReplaceClearAndRemove) {
    Doc doc;
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(doc, nullptr, "R"), 1);
    int16_t attributes = 1;
    XmlDom_GetNodeInfo(doc, nullptr, &attributes, nullptr);
    EXPECT_EQ(attributes, 0);
    EXPECT_EQ(XmlDom_SetNodeAttributeText(doc, "a", "1"), 1);
    EXPECT_EQ(XmlDom_SetNodeAttributeText(doc, "a", "2"), 1);
    EXPECT_EQ(Attr(doc, "a"), "2");
    XmlDom_GetNodeInfo(doc, nullptr, &attributes, nullptr);
    EXPECT_EQ(attributes, 1);
    EXPECT_EQ(XmlDom_SetNodeAttributeText(doc, "a", ""), 1);
    EXPECT_EQ(Attr(doc, "a"), "");
    EXPECT_EQ(XmlDom_SetNodeAttributeText(doc, "a", nullptr), 1);
    EXPECT_EQ(Attr(doc, "a"), kNone);
    XmlDom_GetNodeInfo(doc, nullptr, &attributes, nullptr);
    EXPECT_EQ(attributes, 0);

    // Only elements carry attributes.
    ASSERT_EQ(XmlDom_AppendTextChildNode(doc, "t"), 1);
    XmlDom_MoveToFirstChildNode(doc, nullptr);
    EXPECT_EQ(XmlDom_SetNodeAttributeText(doc, "a", "1"), 0);
    EXPECT_EQ(Attr(doc, "a"), kNone);
}

TEST(XmlDomInitialize, SkeletonAndSecondCallRefused) {
    Doc doc;
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(doc, "made here", "Survey"), 1);
    EXPECT_EQ(Name(doc), "Survey");
    EXPECT_EQ(DumpDocument(doc), "#document[xml;Survey[#comment;];]");
    EXPECT_EQ(XmlDom_InitializeNewXmlFile(doc, "again", "Other"), 0);
    EXPECT_EQ(DumpDocument(doc), "#document[xml;Survey[#comment;];]");

    Doc bare;
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(bare, "", "R"), 1);
    EXPECT_EQ(DumpDocument(bare), "#document[xml;R;]");
}

TEST(XmlDomLoad, NodeNamesAndFailedLoadKeepsDocument) {
    TempDir dir;
    Doc doc;
    Load(doc, dir, "<?xml version='1.0'?><?app do?><R><!--c--><![CDATA[d]]>t<E/></R>");
    EXPECT_EQ(DumpDocument(doc), "#document[xml;app;R[#comment;#cdata-section;#text=t;E;];]");
    XMLDOM_NODE previous = XmlDom_GetCurrentNodeHandle(doc);
    EXPECT_EQ(XmlDom_LoadFile(doc, WriteFile(dir.File("bad.xml"), "<R><E></R>").c_str()), 0);
    EXPECT_EQ(Name(doc), "R");
    EXPECT_EQ(XmlDom_LoadFile(doc, dir.path().c_str()), 0);
    EXPECT_EQ(XmlDom_LoadFile(doc, nullptr), 0);
    // A failed load still takes the path and tests it: a missing file cannot be saved over.
    const std::string missing = dir.File("missing.xml");
    EXPECT_EQ(XmlDom_LoadFile(doc, missing.c_str()), 0);
    EXPECT_EQ(XmlDom_SaveFile(doc, nullptr), XMLDOM_SAVE_NOT_WRITABLE);
    EXPECT_NE(access(missing.c_str(), F_OK), 0);
    // A successful load leaves handles on the previous document without a node.
    Load(doc, dir, "<S/>");
    EXPECT_EQ(XmlDom_MoveToHandleNode(doc, previous), 1);
    EXPECT_EQ(Name(doc), kNone);
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, previous, 1), 0);
}

TEST(XmlDomSave, RoundTripKeepsStructure) {
    TempDir dir;
    Doc doc;
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(doc, "c", "Survey"), 1);
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
    const std::string before = DumpDocument(doc);

    const std::string path = dir.File("out.xml");
    ASSERT_EQ(XmlDom_SaveFile(doc, path.c_str()), XMLDOM_SAVE_OK);
    Doc back;
    ASSERT_EQ(XmlDom_LoadFile(back, path.c_str()), 1);
    EXPECT_EQ(DumpDocument(back), before);
    EXPECT_EQ(Attr(back, "q"), "a<&\"'>b\tc");
    // Saving to a path does not make it the path of a save without one.
    EXPECT_EQ(XmlDom_SaveFile(doc, nullptr), XMLDOM_SAVE_NO_FILE_NAME);
    EXPECT_EQ(XmlDom_SaveFile(doc, ""), XMLDOM_SAVE_NO_FILE_NAME);
    // A loaded document saves back to its own path, which keeps its permissions.
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(XmlDom_SetNodeAttributeText(back, "q", "changed"), 1);
    ASSERT_EQ(XmlDom_SaveFile(back, nullptr), XMLDOM_SAVE_OK);
    Doc again;
    ASSERT_EQ(XmlDom_LoadFile(again, path.c_str()), 1);
    EXPECT_EQ(Attr(again, "q"), "changed");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// Text read from a Latin-1 document is held as UTF-8; the saved file must say what it holds.
TEST(XmlDomSave, DocumentReadFromLatin1ReadsBackTheSame) {
    TempDir dir;
    Doc doc;
    Load(doc, dir, "<?xml version='1.0' encoding='ISO-8859-1'?><R a='\xE9'>\xE9t\xE9</R>");
    EXPECT_EQ(Text(doc), "\xC3\xA9t\xC3\xA9");
    const std::string path = dir.File("out.xml");
    ASSERT_EQ(XmlDom_SaveFile(doc, path.c_str()), XMLDOM_SAVE_OK);
    Doc back;
    ASSERT_EQ(XmlDom_LoadFile(back, path.c_str()), 1);
    EXPECT_EQ(Text(back), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(Attr(back, "a"), "\xC3\xA9");
}

TEST(XmlDomSave, FailedSaveLeavesFilesAlone) {
    TempDir dir;
    Doc doc;
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(doc, nullptr, "R"), 1);
    const std::string plain = WriteFile(dir.File("plain.txt"), "keep");
    // Nobody, root included, can create a file below a regular file or in a missing folder.
    EXPECT_EQ(XmlDom_SaveFile(doc, (plain + "/x.xml").c_str()), XMLDOM_SAVE_NOT_WRITABLE);
    EXPECT_EQ(ReadFile(plain), "keep");
    const std::string missing = dir.File("no/such/folder/x.xml");
    EXPECT_EQ(XmlDom_SaveFile(doc, missing.c_str()), XMLDOM_SAVE_NOT_WRITABLE);
    EXPECT_NE(access(dir.File("no").c_str(), F_OK), 0);
    EXPECT_EQ(XmlDom_SaveFile(doc, dir.path().c_str()), XMLDOM_SAVE_NOT_WRITABLE);
}

// A write that fails part way (here: the process's file size limit, which binds root too) gives
// -200 and leaves the previous file as it was, with no temporary or empty file behind.
TEST(XmlDomSave, FailedWriteKeepsThePreviousFile) {
    TempDir dir;
    Doc doc;
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(doc, nullptr, "R"), 1);
    XmlDom_SetNodeAttributeText(doc, "long", std::string(4096, 'v').c_str());
    const std::string old = WriteFile(dir.File("old.xml"), "<R a='1'/>");
    const std::string fresh = dir.File("fresh.xml");

    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 1024;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int16_t overOld = XmlDom_SaveFile(doc, old.c_str());
    const int16_t overFresh = XmlDom_SaveFile(doc, fresh.c_str());
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(overOld, XMLDOM_SAVE_WRITE_FAILED);
    EXPECT_EQ(overFresh, XMLDOM_SAVE_WRITE_FAILED);
    EXPECT_EQ(ReadFile(old), "<R a='1'/>");
    EXPECT_NE(access(fresh.c_str(), F_OK), 0);
    int files = 0;
    for (boost::filesystem::directory_iterator it(dir.path()), end; it != end; ++it)
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(XmlDomSave, ReadOnlyFileIsNotWritten) {
    TempDir dir;
    const std::string xml = "<R a='1'/>";
    const std::string path = WriteFile(dir.File("ro.xml"), xml);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    if (access(path.c_str(), W_OK) == 0)
        GTEST_SKIP() << "read-only files are writable for this user (root)";
    Doc doc;
    ASSERT_EQ(XmlDom_LoadFile(doc, path.c_str()), 1);
    XmlDom_SetNodeAttributeText(doc, "a", "2");
    EXPECT_EQ(XmlDom_SaveFile(doc, nullptr), XMLDOM_SAVE_NOT_WRITABLE);
    EXPECT_EQ(XmlDom_SaveFile(doc, path.c_str()), XMLDOM_SAVE_NOT_WRITABLE);
    EXPECT_EQ(ReadFile(path), xml);
}

TEST(XmlDomNodeHandles, RemovedNodesStayNavigableAndAreNeverSaved) {
    TempDir dir;
    Doc doc;
    Load(doc, dir, "<R><Gone k='v'><Child>text</Child></Gone><Kept/></R>");
    XmlDom_MoveToFirstChildNode(doc, "Gone");
    XmlDom_MoveToFirstChildNode(doc, "Child");
    XMLDOM_NODE child = XmlDom_GetCurrentNodeHandle(doc);
    XmlDom_MoveToParentNode(doc, nullptr);
    ASSERT_EQ(XmlDom_RemoveCurrentNode(doc), 1);
    EXPECT_EQ(Name(doc), "R");
    EXPECT_EQ(DumpDocument(doc), "#document[R[Kept;];]");

    ASSERT_EQ(XmlDom_MoveToHandleNode(doc, child), 1);
    EXPECT_EQ(Text(doc), "text");
    ASSERT_EQ(XmlDom_MoveToParentNode(doc, nullptr), 1);
    EXPECT_EQ(Attr(doc, "k"), "v");
    EXPECT_EQ(XmlDom_MoveToParentNode(doc, nullptr), 0) << "a removed subtree has no parent";
    EXPECT_EQ(XmlDom_MoveToNextSiblingNode(doc, nullptr), 0);
    EXPECT_EQ(XmlDom_RemoveCurrentNode(doc), 0);
    EXPECT_EQ(XmlDom_AppendChildNode(doc, "Added"), 1);

    const std::string path = dir.File("out.xml");
    ASSERT_EQ(XmlDom_SaveFile(doc, path.c_str()), XMLDOM_SAVE_OK);
    const std::string saved = ReadFile(path);
    EXPECT_EQ(saved.find("Gone"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Added"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("removed"), std::string::npos) << saved;
    XmlDom_ReleaseNodeHandle(doc, child);
    EXPECT_EQ(XmlDom_MoveToHandleNode(doc, child), 0) << "a released handle is not accepted";

    // Handles belong to the document that issued them; foreign values are ignored.
    Doc other;
    XMLDOM_NODE foreign = XmlDom_GetCurrentNodeHandle(other);
    XmlDom_MoveToRootNode(doc);
    EXPECT_EQ(XmlDom_MoveToHandleNode(doc, foreign), 0);
    XmlDom_ReleaseNodeHandle(doc, foreign);
    EXPECT_EQ(XmlDom_MoveToHandleNode(other, foreign), 1);
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, foreign, 1), 0);
    EXPECT_EQ(Name(doc), "R");
}

TEST(XmlDomNodeHandles, RemovingTheRootLetsANewRootBeAppended) {
    TempDir dir;
    Doc doc;
    ASSERT_EQ(XmlDom_InitializeNewXmlFile(doc, nullptr, "Old"), 1);
    XMLDOM_NODE old = XmlDom_GetCurrentNodeHandle(doc);
    EXPECT_EQ(XmlDom_AppendChildNode(doc, "In"), 1);
    XmlDom_MoveToParentNode(doc, nullptr);
    XmlDom_MoveToParentNode(doc, nullptr);
    EXPECT_EQ(XmlDom_AppendChildNode(doc, "Second"), 0) << "one element per document";
    XmlDom_MoveToRootNode(doc);
    ASSERT_EQ(XmlDom_RemoveCurrentNode(doc), 1);
    EXPECT_EQ(Name(doc), "#document");
    XMLDOM_NODE document = XmlDom_GetCurrentNodeHandle(doc);
    XmlDom_MoveToRootNode(doc);
    EXPECT_EQ(Name(doc), kNone);
    XmlDom_MoveToHandleNode(doc, document);
    ASSERT_EQ(XmlDom_AppendChildNode(doc, "New"), 1);
    XmlDom_MoveToRootNode(doc);
    EXPECT_EQ(Name(doc), "New");
    EXPECT_EQ(DumpDocument(doc), "#document[xml;New;]");
    ASSERT_EQ(XmlDom_MoveToHandleNode(doc, old), 1);
    EXPECT_EQ(Dump(doc), "Old[In;]");
    const std::string path = dir.File("out.xml");
    ASSERT_EQ(XmlDom_SaveFile(doc, path.c_str()), XMLDOM_SAVE_OK);
    Doc back;
    ASSERT_EQ(XmlDom_LoadFile(back, path.c_str()), 1);
    EXPECT_EQ(DumpDocument(back), "#document[xml;New;]");
}

TEST(XmlDomNodeCopy, ShallowAndDeep) {
    TempDir dir;
    Doc doc;
    Load(doc, dir, "<R><S a='1' b='2'><x>t</x><!--c--></S><D/></R>");
    XmlDom_MoveToFirstChildNode(doc, "S");
    XMLDOM_NODE source = XmlDom_GetCurrentNodeHandle(doc);
    XmlDom_MoveToNextSiblingNode(doc, "D");
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, source, 0), 1);
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, source, 1), 1);
    EXPECT_EQ(Name(doc), "D") << "the cursor stays";
    EXPECT_EQ(Dump(doc), "D[S;S[x[#text=t;];#comment;];]");
    XmlDom_MoveToFirstChildNode(doc, "S");
    EXPECT_EQ(Attr(doc, "a") + Attr(doc, "b"), "12");

    // A subtree copied into itself is copied once.
    XmlDom_MoveToRootNode(doc);
    XMLDOM_NODE root = XmlDom_GetCurrentNodeHandle(doc);
    XmlDom_MoveToFirstChildNode(doc, "D");
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, root, 1), 1);
    XmlDom_MoveToRootNode(doc);
    EXPECT_EQ(Dump(doc),
              "R[S[x[#text=t;];#comment;];D[S;S[x[#text=t;];#comment;];R[S[x[#text=t;];#comment;"
              "];D[S;S[x[#text=t;];#comment;];];];];]");
    XmlDom_MoveToParentNode(doc, nullptr);
    EXPECT_EQ(XmlDom_AppendNodeCopy(doc, root, 1), 0) << "a second element at document level";
}

TEST(XmlDomVersion, TextFieldsAndBufferSize) {
    char probe[256];
    XmlDom_GetVerStr(probe, sizeof probe);
    const std::string text = probe;
    EXPECT_EQ(text.rfind("XMLDOM\t1.1.0.0\tVersion 1 Release 1\t2005-02-07\t", 0), 0u) << text;
    std::string exact(text.size() + 2, '#');
    XmlDom_GetVerStr(&exact[0], static_cast<int32_t>(exact.size()));
    EXPECT_STREQ(exact.c_str(), text.c_str());
    std::string small(text.size() + 1, '#');
    XmlDom_GetVerStr(&small[0], static_cast<int32_t>(small.size()));
    EXPECT_STREQ(small.c_str(), "") << "a buffer one byte short receives the empty text";
}

TEST(XmlDomNullHandle, CallsFailWithoutEffect) {
    char buffer[8] = "x";
    int32_t size = sizeof buffer;
    EXPECT_EQ(XmlDom_LoadFile(nullptr, "x.xml"), 0);
    EXPECT_EQ(XmlDom_GetNodeName(nullptr, buffer, &size), 0);
    EXPECT_EQ(XmlDom_AppendChildNode(nullptr, "a"), 0);
    EXPECT_EQ(XmlDom_SaveFile(nullptr, "x.xml"), XMLDOM_SAVE_WRITE_FAILED);
    XmlDom_ReleaseHandle(nullptr);
}

}  // namespace
