// A document cursor on a file in a temporary folder, and builders of the XML of complete
// Settings and DataFile elements, for the tests of code that reads documents.
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

// The children of a complete Settings element as the block writer produces them: 200 samples,
// time zero 20, 0.8 ns, 1000.5 ticks/m, step 0.05 m, 100 MHz, 400 Vpp, receiver and transmitter
// 0.5 m either side, CMP/WARR, one stacking step of 16. A test replaces or empties one of them.
struct SettingsChildren {
    std::string version = R"( version="1.2.0")";
    std::string trace =
        R"(<Trace sample_cnt="200" time_zero_cnt="20.000000" interval_ns="0.800000"/>)";
    std::string odometer = R"(<OdometerCal ticks_per_m="1000.500000" sensorID="NA"/>)";
    std::string step = R"(<StepSize units="m">0.050000</StepSize>)";
    std::string frequency = R"(<NominalFrequency units="Mhz">100.000000</NominalFrequency>)";
    std::string pulse = R"(<Pulse units="Vpp">400.000000</Pulse>)";
    std::string antenna =
        R"(<Antenna><Receiver><AntPosition X="0" Y="0.500000" Z="0" units="m" )"
        R"(reference="relative"/><AntOrientation X="NA" Y="NA" Z="NA" units="Perpendicular" )"
        R"(reference="relative"/></Receiver><Transmitter><AntPosition X="0" Y="-0.500000" Z="0" )"
        R"(units="m" reference="relative"/><AntOrientation X="NA" Y="NA" Z="NA" )"
        R"(units="Perpendicular" reference="relative"/></Transmitter></Antenna>)";
    std::string surveyMode = "<SurveyMode>CMP/WARR</SurveyMode>";
    std::string process =
        R"(<Process operationUID="STACK@" implementation="GPR System" version="NA" DIP="NA" )"
        R"(buffer="no" ID="-1"><Stack type="sample">16</Stack></Process>)";

    std::string Xml() const {
        return "<Settings" + version + ">" + trace + odometer + step + frequency + pulse + antenna +
               surveyMode + process + "</Settings>";
    }
};

// A DataFile element with sample counts (2 x 250 x 100) and, unless `body` has one, an odometer
// from 0 to 10 m by 0.05 m, so that no header needs to be read.
inline std::string DataFileElement(const std::string& name, const std::string& ext, int seq,
                                   const std::string& body = "") {
    const std::string odometer = body.find("<Odometer") == std::string::npos
                                     ? R"(<Odometer start="0" end="10" step="0.05" units="m"/>)"
                                     : "";
    return R"(<DataFile name=")" + name + R"(" ext=")" + ext + R"(" seq=")" + std::to_string(seq) +
           R"("><DataSampleCnt dim0="2" dim1="250" dim2="100" dim3="NA"/>)" + body + odometer +
           "</DataFile>";
}

}  // namespace svy3_test
