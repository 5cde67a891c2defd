// A document cursor on a file in a temporary folder, for the tests of code that works through it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace svy3_test {

// Name of the node the cursor is on; "<none>" without one.
inline std::string NodeName(ZAR::CSVYXmlFile& file) {
    std::string name = "<none>";
    file.GetNodeName(name);
    return name;
}

class DocumentTest : public ::testing::Test {
  protected:
    // Writes `xml` to a file of the folder and loads it; the cursor stands on the root element.
    void Open(const std::string& xml, const std::string& name = "doc.xml") {
        ASSERT_EQ(m_file.Initialize(WriteFile(m_dir.File(name), xml)), 1) << xml;
    }
    std::string Name() { return NodeName(m_file); }

    TempDir m_dir;
    ZAR::CSVYXmlFile m_file;
};

}  // namespace svy3_test
