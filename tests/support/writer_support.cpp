#include "support/writer_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include <boost/make_shared.hpp>

#include "support/test_support.h"

namespace svy3_test {

ZAR::SGprParam SampleHeader() {
    ZAR::SGprParam p;
    p.NumTraces = 201;
    p.SamplesPerTrace = 200;
    p.TimeZero = 20.0;
    p.TimeWindowNs = 160.0;
    p.StartPosition = ZAR::SMeasure(0.0, ZAR::UNIT_M);
    p.EndPosition = ZAR::SMeasure(10.0, ZAR::UNIT_M);
    p.StepSize = ZAR::SMeasure(0.05, ZAR::UNIT_M);
    p.FrequencyMHz = 100.0;
    p.AntennaSeparation = ZAR::SMeasure(1.0, ZAR::UNIT_M);
    p.PulserVoltage = 400.0;
    p.Stacks = 16;
    p.SurveyMode = "Reflection";
    p.OdometerTicksPerMetre = 500.5;
    p.DateTime = "2024-05-21 13:04:05";
    return p;
}

void SaveHeader(const std::string& path, const ZAR::SGprParam& param) {
    ZAR::GprParam header;
    header.SetGprParam(boost::make_shared<ZAR::SGprParam>(param));
    if (header.Save(path) != ZAR::GprParam::SaveOk)
        throw std::runtime_error("cannot write test header " + path);
}

void WriteSen(const std::string& path, const std::string& start, const std::string& end,
              const std::string& units) {
    WriteFile(path, "<SEN><Odometer start=\"" + start + "\" end=\"" + end + "\" units=\"" + units +
                        "\"/></SEN>");
}

pugi::xml_node SaveAndLoad(ZAR::CSVYXmlFile& file, const std::string& path,
                           pugi::xml_document& doc) {
    EXPECT_EQ(file.Save(path), 0) << path;
    EXPECT_TRUE(doc.load_file(path.c_str(), pugi::parse_default | pugi::parse_comments)) << path;
    return doc.document_element();
}

std::string Outline(const pugi::xml_node& element) {
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

std::string ChildNames(const pugi::xml_node& element) {
    std::string names;
    for (pugi::xml_node child : element.children())
        if (child.type() == pugi::node_element)
            names += (names.empty() ? "" : " ") + std::string(child.name());
    return names;
}

}  // namespace svy3_test
