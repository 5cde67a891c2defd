#include "editor/editor_support.h"

#include <boost/filesystem/operations.hpp>

namespace svy3_test {

std::string SvyDocument(const std::string& data, const std::string& dataDir,
                        const std::string& rest) {
    return "<?xml version=\"1.0\"?><ZAR_SVY version=\"1.2.0\"><Data "
           "version=\"1.2.0\"><DataDirPath>" +
           dataDir + "</DataDirPath>" + data + "</Data>" + rest + "</ZAR_SVY>";
}

std::string DataFileXml(const std::string& name, const std::string& ext, int seq,
                        const std::string& body) {
    return "<DataFile name=\"" + name + "\" ext=\"" + ext + "\" seq=\"" + std::to_string(seq) +
           "\">" + body + "</DataFile>";
}

std::string PositionXml(const std::string& x, const std::string& y, const std::string& z,
                        const std::string& normalized, const std::string& units) {
    return "<Position X=\"" + x + "\" Y=\"" + y + "\" Z=\"" + z + "\" normalized_file_pos=\"" +
           normalized + "\" units=\"" + units + "\"/>";
}

std::string Saved(ZAR::GpzSvy& editor) {
    EXPECT_TRUE(editor.Save(nullptr));
    std::string text;
    for (const char c : ReadFile(editor.SvyFilePathName().string())) {
        if (c == '/' && !text.empty() && text.back() == ' ')
            text.back() = '/';
        else if (c != '\n' && c != '\t')
            text += c;
    }
    return text;
}

int32_t EditorFixture::Load(const std::string& document) {
    WriteFile(SvyPath(), document);
    return m_editor.Load(SvyPath().c_str());
}

bool RecordingEditor::SetNodeTxt(std::string text, const char* attribute) {
    std::string name, parent;
    GetNodeTxt(name, "");
    void* node = GetNodeHandle();
    if (ParentNode(nullptr))
        GetNodeTxt(parent, "");
    MoveToHandleNode(node);
    ReleaseNodeHandle(node);
    writes.push_back(parent + "/" + name + (attribute ? std::string("@") + attribute : "#") + "=" +
                     text);
    if (static_cast<int>(writes.size()) == failAt)
        return false;
    return GpzSvy120::SetNodeTxt(text, attribute);
}

void EditorWriteTest::LoadData(const std::string& data) {
    const std::string path = WriteFile(m_dir.File("survey.svy"), SvyDocument(data));
    ASSERT_EQ(m_editor.Load(path.c_str()), 1);
    m_editor.writes.clear();
    m_editor.failAt = 0;
}

namespace fs = boost::filesystem;

std::map<std::string, std::string> TreeSnapshot(const std::string& root) {
    std::map<std::string, std::string> tree;
    for (fs::recursive_directory_iterator it(root), end; it != end; ++it) {
        const std::string relative = it->path().lexically_relative(root).string();
        tree[relative] = fs::is_directory(it->path()) ? "/" : ReadFile(it->path().string());
    }
    return tree;
}

}  // namespace svy3_test
