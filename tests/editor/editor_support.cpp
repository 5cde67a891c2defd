#include "editor/editor_support.h"

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

int32_t EditorFixture::Load(const std::string& document) {
    WriteFile(SvyPath(), document);
    return m_editor.Load(SvyPath().c_str());
}

}  // namespace svy3_test
