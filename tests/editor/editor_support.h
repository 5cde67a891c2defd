// A project document written into a temporary folder and loaded into the editor, for the editor
// and mapper settings tests.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "svy3/datablock/svy_data_block_interface.h"
#include "svy3/editor/error.h"
#include "svy3/editor/gpz_svy_120.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace svy3_test {

// The editor with its protected members reachable from the tests.
class OpenEditor : public ZAR::GpzSvy120 {
  public:
    using GpzSvy::CopyLinesetSettingsToLine;
    using GpzSvy::GetSubNodeText;
    using GpzSvy::GetSubNodeValue;
    using GpzSvy::m_bCompactNumbers;
    using GpzSvy::SetAntennaSeperation;
    using GpzSvy::SetSettings;
    using GpzSvy::SetSubNodeText;
    using GpzSvy::SetSubNodeValue;
    using GpzSvy120::DataFileInfo;
    using GpzSvy120::PosInfo;
};

// "<ZAR_SVY><Data><DataDirPath>dataDir</DataDirPath>data</Data>rest</ZAR_SVY>".
std::string SvyDocument(const std::string& data, const std::string& dataDir = "",
                        const std::string& rest = "");
// A DataFile element; `body` goes inside it.
std::string DataFileXml(const std::string& name, const std::string& ext, int seq,
                        const std::string& body = "");
// A Position element.
std::string PositionXml(const std::string& x, const std::string& y, const std::string& z,
                        const std::string& normalized, const std::string& units = "m");

// Saves the editor's document to its file and gives the text without the layout between elements
// (and "<a/>" for "<a />").
std::string Saved(ZAR::GpzSvy& editor);

// The editor's error that `call` threw: code, level, message and source; code 0 and the message
// "no error" when it returned.
struct Thrown {
    int32_t code = 0, level = 0;
    std::string what = "no error", source;
};
template <class Call>
Thrown ErrorOf(Call call) {
    try {
        call();
    } catch (const ZAR::CError& error) {
        return {error.Code(), error.Level(), error.what(), error.Source()};
    }
    return {};
}

// A temporary folder holding one project document and an editor that loads it.
class EditorFixture {
  public:
    // Writes `document` as survey.svy and loads it; returns Load's result (CError propagates).
    int32_t Load(const std::string& document);
    std::string SvyPath() const { return m_dir.File("survey.svy"); }

    TempDir m_dir;
    OpenEditor m_editor;
};

// The editor with every text or attribute write logged as "Parent/Element@attribute=text" ("#"
// for the element's own text); the write numbered `failAt` (from 1) is logged and then fails.
class RecordingEditor : public OpenEditor {
  public:
    bool SetNodeTxt(std::string text, const char* attribute) override;

    std::vector<std::string> writes;
    int failAt = 0;
};

// A recording editor on survey.svy in a temporary folder.
class EditorWriteTest : public testing::Test {
  protected:
    // Writes the document whose Data element holds `data` and loads it; the log starts empty.
    void LoadData(const std::string& data);

    TempDir m_dir;
    RecordingEditor m_editor;
};

// Every file below `root` (relative path -> contents) and every folder (relative path -> "/"),
// for checking that a tree is back as it was, byte for byte.
std::map<std::string, std::string> TreeSnapshot(const std::string& root);

}  // namespace svy3_test
