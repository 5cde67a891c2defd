// Radar files and XML outlines for the tests of the document writers.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <pugixml.hpp>

#include "support/test_support.h"
#include "svy3/external/gpr_param.h"
#include "svy3/shell/scoped_line_offset_prompt.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace svy3_test {

// 201 traces of 200 samples over 160 ns, time zero at sample 20, step 0.05 m from 0 m to 10 m,
// 100 MHz, 400 V, 16 stacks, antennas 1.0 m apart, 500.5 ticks/m, "Reflection", dated
// 2024-05-21 13:04:05.
ZAR::SGprParam SampleHeader();
// Writes `param` as a header at `path`.
void SaveHeader(const std::string& path, const ZAR::SGprParam& param);
// Writes an odometer file: <SEN><Odometer start end units/></SEN>.
void WriteSen(const std::string& path, const std::string& start, const std::string& end,
              const std::string& units);

// Saves the cursor's document at `path` (failing the test when it cannot) and loads the file
// into `doc`, comments kept; returns the document element.
pugi::xml_node SaveAndLoad(ZAR::CSVYXmlFile& file, const std::string& path,
                           pugi::xml_document& doc);

// name[attr=value,...]"text"{child child ...}, attributes and children in document order.
std::string Outline(const pugi::xml_node& element);
// Names of the child elements, blank-separated.
std::string ChildNames(const pugi::xml_node& element);

// The set-up of the document writers' tests: a folder, captured message boxes, a cursor, a
// provenance record, and the user's part of the line offset dialog, who types m_answer and
// confirms it or, when it is empty, closes the window; the texts the dialog shows are recorded.
class WriterTest : public testing::Test {
  protected:
    WriterTest()
        : m_prompt([this](std::string& text) {
              m_promptTexts.push_back(text);
              text = m_answer;
              return !m_answer.empty();
          }) {}

    TempDir m_dir;
    MessageBoxCapture m_boxes;
    ZAR::CSVYXmlFile m_file;
    ZAR::SCreatedBy m_createdBy{"writer test", "1.0", "42", ZAR::CDateTime(2024, 1, 2, 3, 4, 5),
                                ""};
    std::string m_answer;
    std::vector<std::string> m_promptTexts;
    pugi::xml_document m_doc;

  private:
    ZAR::CScopedLineOffsetPrompt m_prompt;
};

}  // namespace svy3_test
