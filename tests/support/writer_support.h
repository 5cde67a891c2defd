// Radar files and XML outlines for the tests of the document writers.
#pragma once

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <stdexcept>
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
inline ZAR::SGprParam SampleHeader() {
    ZAR::SGprParam p;
    const auto metres = [](double value) { return ZAR::SMeasure(value, ZAR::UNIT_M); };
    p.NumTraces = 201, p.SamplesPerTrace = 200, p.TimeZero = 20.0, p.TimeWindowNs = 160.0;
    p.StartPosition = metres(0.0), p.EndPosition = metres(10.0), p.StepSize = metres(0.05);
    p.FrequencyMHz = 100.0, p.AntennaSeparation = metres(1.0), p.PulserVoltage = 400.0;
    p.Stacks = 16, p.SurveyMode = "Reflection", p.OdometerTicksPerMetre = 500.5;
    p.DateTime = "2024-05-21 13:04:05";
    return p;
}

// Writes `param` as a header at `path`.
inline void SaveHeader(const std::string& path, const ZAR::SGprParam& param) {
    ZAR::GprParam header;
    header.SetGprParam(boost::make_shared<ZAR::SGprParam>(param));
    if (header.Save(path) != ZAR::GprParam::SaveOk)
        throw std::runtime_error("cannot write test header " + path);
}

// Writes an odometer file: <SEN><Odometer start end units/></SEN>.
inline void WriteSen(const std::string& path, const std::string& start, const std::string& end,
                     const std::string& units) {
    WriteFile(path, "<SEN><Odometer start=\"" + start + "\" end=\"" + end + "\" units=\"" + units +
                        "\"/></SEN>");
}

// Saves the cursor's document at `path` (failing the test when it cannot) and loads the file
// into `doc`, comments kept; returns the document element.
inline pugi::xml_node SaveAndLoad(ZAR::CSVYXmlFile& file, const std::string& path,
                                  pugi::xml_document& doc) {
    EXPECT_EQ(file.Save(path), 0) << path;
    EXPECT_TRUE(doc.load_file(path.c_str(), pugi::parse_default | pugi::parse_comments)) << path;
    return doc.document_element();
}

// Names of the child elements, blank-separated.
inline std::string ChildNames(const pugi::xml_node& element) {
    std::string names;
    for (pugi::xml_node child : element.children())
        if (child.type() == pugi::node_element)
            names += (names.empty() ? "" : " ") + std::string(child.name());
    return names;
}

// name[attr=value,...]"text"{child child ...}, attributes and children in document order.
inline std::string Outline(const pugi::xml_node& element) {
    std::string text = element.name(), attributes, children;
    for (pugi::xml_attribute a : element.attributes())
        attributes += (attributes.empty() ? "" : ",") + std::string(a.name()) + "=" + a.value();
    if (!attributes.empty())
        text += "[" + attributes + "]";
    if (*element.text().get())
        text += "\"" + std::string(element.text().get()) + "\"";
    for (pugi::xml_node child : element.children())
        if (child.type() == pugi::node_element)
            children += (children.empty() ? "" : " ") + Outline(child);
    return children.empty() ? text : text + "{" + children + "}";
}

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
