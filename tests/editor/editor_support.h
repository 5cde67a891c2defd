// A project document written into a temporary folder and loaded into the editor, for the editor
// and mapper settings tests.
#pragma once

#include <string>

#include "support/test_support.h"
#include "svy3/editor/gpz_svy_120.h"

namespace svy3_test {

// The editor with its protected members reachable from the tests.
class OpenEditor : public ZAR::GpzSvy120 {
  public:
    using GpzSvy::CopyLinesetSettingsToLine;
    using GpzSvy::FillMap;
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

// A temporary folder holding one project document and an editor that loads it.
class EditorFixture {
  public:
    // Writes `document` as survey.svy and loads it; returns Load's result (CError propagates).
    int32_t Load(const std::string& document);
    std::string SvyPath() const { return m_dir.File("survey.svy"); }

    TempDir m_dir;
    OpenEditor m_editor;
};

}  // namespace svy3_test
