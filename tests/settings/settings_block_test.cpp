#include "svy3/settings/settings_block_v110.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "support/document_support.h"

namespace {

using B = ZAR::CSvySettingsBlock_V110;
using C = svy3_test::SettingsChildren;
using svy3_test::Join;
using svy3_test::Joined;

const std::string kOrigin = R"(<AntPosition X="0" Y="0" Z="0" units="m" reference="relative"/>)";

// Antenna element whose Receiver and Transmitter hold the given children.
std::string Antenna(const std::string& receiver, const std::string& transmitter = kOrigin) {
    return "<Antenna><Receiver>" + receiver + "</Receiver><Transmitter>" + transmitter +
           "</Transmitter></Antenna>";
}

std::string Missing(const std::string& name) {
    return "\nError: Missing element in <Settings> block: <" + name + ">";
}

class SettingsBlockTest : public svy3_test::DocumentTest {
  protected:
    // Loads `settingsXml`, placed under Data, into `block` (first reset, with `error` cleared,
    // when `fresh`) and checks that the cursor ends on the element it started on.
    int32_t Load(const std::string& settingsXml, bool fresh = true) {
        if (fresh) {
            block = B();
            error.clear();
        }
        Open("<ZAR_SVY version=\"1.1.0\"><Data>" + settingsXml + "</Data></ZAR_SVY>");
        EXPECT_EQ(m_file.GotoChildNode("Data") + m_file.GotoChildNode(""), 2);
        const std::string before = Name();
        const int32_t result = block.LoadSettings(&m_file, error);
        EXPECT_EQ(Name(), before) << "cursor not back on the element";
        EXPECT_EQ(m_file.GotoParentNode(), 1);
        EXPECT_EQ(Name(), "Data");
        return result;
    }
    // Loads a complete block with one child replaced by `xml`.
    int32_t LoadWith(std::string C::*child, const std::string& xml, bool fresh = true) {
        C children;
        children.*child = xml;
        return Load(children.Xml(), fresh);
    }

    B block;
    std::string error;
};

TEST_F(SettingsBlockTest, MissingElementsAreReportedInReadingOrderAndTheRestIsRead) {
    // In reading order.
    const std::pair<const char*, std::string C::*> cases[] = {{"Trace", &C::trace},
                                                              {"StepSize", &C::step},
                                                              {"NominalFrequency", &C::frequency},
                                                              {"Pulse", &C::pulse},
                                                              {"OdometerCal", &C::odometer},
                                                              {"Antenna", &C::antenna},
                                                              {"SurveyMode", &C::surveyMode}};
    std::string all;
    for (const auto& [name, member] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(LoadWith(member, ""), 0);
        EXPECT_EQ(error, Missing(name));
        EXPECT_EQ(block.ProcessList.size(), 1u);  // read last
        all += Missing(name);
    }
    EXPECT_EQ(Load("<Settings/>"), 0);
    EXPECT_EQ(error, all);

    // Receiver, Transmitter and AntPosition are required too; the rest is still read.
    EXPECT_EQ(LoadWith(&C::antenna,
                       R"(<Antenna><Transmitter><AntPosition X="0" Y="-25" Z="0" units="cm" )"
                       R"(reference="relative"/></Transmitter></Antenna>)"),
              0);
    EXPECT_EQ(error, Missing("Receiver"));
    EXPECT_DOUBLE_EQ(block.TransmitterAntenna.Y, -0.25);
    EXPECT_EQ(block.SurveyModeCode, B::CMP_WARR);

    const std::string orientation =
        R"(<AntOrientation units="Perpendicular" reference="relative"/>)";
    EXPECT_EQ(LoadWith(&C::antenna, Antenna(orientation, "")), 0);
    EXPECT_EQ(error, Missing("AntPosition") + Missing("AntPosition"));
    EXPECT_EQ(block.ReceiverAntenna.OrientationType, B::Perpendicular);

    EXPECT_EQ(LoadWith(&C::antenna, "<Antenna/>"), 0);
    EXPECT_EQ(error, Missing("Receiver") + Missing("Transmitter"));

    // An element not named Settings is refused silently, without reading its children.
    EXPECT_EQ(Load("<settings>" + C().trace + "</settings>"), 0);
    EXPECT_EQ(Load(R"(<Trace sample_cnt="5"/>)", false), 0);
    EXPECT_EQ(Join(error, block.SampleCount), " 0 ");
    EXPECT_EQ(block.LoadSettings(nullptr, error), 0);
}

// One child replaced at a time: the pulse voltage, the frequency in MHz, the step and its unit
// code and the survey mode code read, then the error; the block always counts as whole.
TEST_F(SettingsBlockTest, VersionUnitsAndSurveyMode) {
    const std::string vpp = "\nError: <Pulse> must be in units of \"Vpp\".";
    const std::string newer =
        "\nWarning: SVY Settings block is of a newer version than this program.";
    const std::string whole = Join(400, 100, 0.05, ZAR::UNIT_M, 1);  // the complete block
    const struct {
        std::string C::*child;
        std::string xml, read;
    } cases[] = {
        // A newer version warns but still loads.
        {&C::version, R"( version="2.0.0")", whole + newer},
        {&C::version, R"( version="1.2.1")", whole + newer},
        {&C::version, R"( version="1.2.0")", whole},
        {&C::version, R"( version="1.1.9")", whole},
        {&C::version, "", whole},
        // Pulse must be exactly "Vpp"; the value is read anyway.
        {&C::pulse, R"(<Pulse units="vpp">250</Pulse>)", "250 100 0.05 1 1 " + vpp},
        {&C::pulse, R"(<Pulse units="V">250</Pulse>)", "250 100 0.05 1 1 " + vpp},
        {&C::pulse, "<Pulse>250</Pulse>", "250 100 0.05 1 1 " + vpp},
        // Frequency units other than "mhz", in any case, are taken as hertz.
        {&C::frequency, R"(<NominalFrequency units="mhz">2</NominalFrequency>)", "400 2 0.05 1 1 "},
        {&C::frequency, R"(<NominalFrequency units="MHz">2</NominalFrequency>)", "400 2 0.05 1 1 "},
        {&C::frequency, R"(<NominalFrequency units="Hz">2</NominalFrequency>)",
         "400 2e-06 0.05 1 1 "},
        {&C::frequency, R"(<NominalFrequency units=" mhz">2</NominalFrequency>)",
         "400 2e-06 0.05 1 1 "},
        {&C::frequency, "<NominalFrequency>2</NominalFrequency>", "400 2e-06 0.05 1 1 "},
        // The step keeps its value and unit code, unconverted; unit names count too.
        {&C::step, R"(<StepSize units="cm">2.5</StepSize>)", Join(400, 100, 2.5, ZAR::UNIT_CM, 1)},
        {&C::step, R"(<StepSize units="feet">2.5</StepSize>)",
         Join(400, 100, 2.5, ZAR::UNIT_FT, 1)},
        // Survey mode texts are matched exactly; an unknown one keeps the code there was (-1).
        {&C::surveyMode, "<SurveyMode>Reflection</SurveyMode>", "400 100 0.05 1 0 "},
        {&C::surveyMode, "<SurveyMode>CMP/WARR</SurveyMode>", "400 100 0.05 1 1 "},
        {&C::surveyMode, "<SurveyMode>Trans. - MOP</SurveyMode>", "400 100 0.05 1 2 "},
        {&C::surveyMode, "<SurveyMode>Trans. - ZOP</SurveyMode>", "400 100 0.05 1 3 "},
        {&C::surveyMode, "<SurveyMode>Trans. - VRP</SurveyMode>", "400 100 0.05 1 4 "},
        {&C::surveyMode, "<SurveyMode>reflection</SurveyMode>", "400 100 0.05 1 -1 "},
        {&C::surveyMode, "<SurveyMode>Trans. - ZOP </SurveyMode>", "400 100 0.05 1 -1 "},
        {&C::surveyMode, "<SurveyMode></SurveyMode>", "400 100 0.05 1 -1 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        block = B();
        block.SurveyModeCode = -1;
        error.clear();
        EXPECT_EQ(LoadWith(c.child, c.xml, false), 1);
        const B& b = block;
        EXPECT_EQ(Join(b.PulseVoltage, b.NominalFrequencyMHz, b.StepSizeMeasure.value,
                       b.StepSizeMeasure.unit, b.SurveyModeCode) +
                      error,
                  c.read);
    }
    // The version warning comes first and does not hide errors.
    C children;
    children.version = R"( version="9.0.0")";
    children.trace.clear();
    EXPECT_EQ(Load(children.Xml()), 0);
    EXPECT_EQ(error, newer + Missing("Trace"));
}

TEST_F(SettingsBlockTest, LeadingNumbersAnyChildOrderAndTheFirstOfEachName) {
    C c;
    c.trace = R"(<Trace sample_cnt="512.9abc" time_zero_cnt="abc" interval_ns=" 1.5e-1x"/>)";
    c.odometer = R"(<OdometerCal sensorID="42"/>)";
    c.step = R"(<StepSize units="m">x1</StepSize>)";
    block.OdometerTicksPerMetre = 7.0;
    block.TimeZero = 7.0;
    // Reversed order, and a second Pulse and Trace that are not read.
    EXPECT_EQ(Load("<Settings><SurveyMode>Trans. - ZOP</SurveyMode>" + c.process + c.antenna +
                       c.pulse + R"(<Pulse units="V">1</Pulse>)" + c.frequency + c.step +
                       c.odometer + c.trace + R"(<Trace sample_cnt="1"/></Settings>)",
                   false),
              1);
    EXPECT_TRUE(error.empty());
    const B& b = block;  // a missing ticks_per_m reads as 0
    EXPECT_EQ(Join(b.SampleCount, b.TimeZero, b.SampleIntervalNs, b.OdometerTicksPerMetre,
                   b.OdometerSensorId, b.StepSizeMeasure.value, b.PulseVoltage, b.SurveyModeCode,
                   b.ProcessList.size()),
              Join(512, 0, 0.15, 0, 42, 0, 400, B::ZOP, 1));
}

TEST_F(SettingsBlockTest, PositionsAreConvertedToMetresOnlyWhenRelativeOrAbsolute) {
    const struct {
        std::string attributes;
        double x, y, z;
        int32_t reference;
    } cases[] = {
        {R"(X="10" Y="50" Z="-200" units="cm" reference="relative")", 0.1, 0.5, -2.0, B::relative},
        {R"(X="1" Y="2" Z="3" units="feet" reference="absolute")", 0.3048, 0.6096, 0.9144,
         B::absolute},
        {R"(X="10" Y="50" Z="3" units="cm" reference="file")", 10.0, 50.0, 3.0, B::file},
        {R"(X="10" Y="50" Z="3" units="cm" reference="trace_header")", 10, 50, 3, B::trace_header},
        // Wrong case is not a reference: the starting value (relative) stays and converts.
        {R"(X="10" Y="50" Z="3" units="cm" reference="File")", 0.1, 0.5, 0.03, B::relative},
        // A Z containing "NA" is 0; other texts are leading numbers.
        {R"(X="10" Y="abc" Z="5NA" units="km" reference="relative")", 10000, 0, 0, B::relative},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributes);
        EXPECT_EQ(LoadWith(&C::antenna, Antenna("<AntPosition " + c.attributes + "/>")), 1);
        const B::SAntenna& rx = block.ReceiverAntenna;
        EXPECT_EQ(Join(rx.X, rx.Y, rx.Z, rx.PositionReference), Join(c.x, c.y, c.z, c.reference));
    }
}

TEST_F(SettingsBlockTest, OrientationKindAndReferenceDecideTheAngles) {
    struct Case {
        const char *kind, *reference;
        double x, y, z;
        int32_t type, reversed, orientationReference;
    };
    const Case cases[] = {
        {"Perpendicular", "relative", 0, 90, 0, B::Perpendicular, 0, B::relative},
        {"Perpendicular-", "relative", 180, 90, 0, B::Perpendicular, 1, B::relative},
        {"Parallel", "relative", 90, 90, 0, B::Parallel, 0, B::relative},
        {"-Parallel", "relative", 270, 90, 0, B::Parallel, 1, B::relative},
        {"Parallel or Perpendicular", "relative", 0, 90, 0, B::Perpendicular, 0, B::relative},
        // A relative orientation naming neither kind is read as an absolute one.
        {"Spherical-", "relative", 10, 20, 30, B::Spherical, 0, B::relative},
        {"perpendicular", "relative", 10, 20, 30, B::Unspecified, 0, B::relative},
        {"Spherical", "absolute", 10, 20, 30, B::Spherical, 0, B::absolute},
        {"Perpendicular-", "absolute", 10, 20, 30, B::Unspecified, 0, B::absolute},
        // File: only the reference and the text.
        {"Parallel-", "file", 0, 0, 0, B::Spherical, 0, B::file},
        // trace_header is not an orientation reference: relative stays.
        {"Parallel", "trace_header", 90, 90, 0, B::Parallel, 0, B::relative},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.reference);
        const std::string orientation = R"(<AntOrientation X="10" Y="20" Z="30" units=")" +
                                        std::string(c.kind) + R"(" reference=")" + c.reference +
                                        R"("/>)";
        EXPECT_EQ(LoadWith(&C::antenna, Antenna(kOrigin + orientation)), 1);
        const B::SAntenna& rx = block.ReceiverAntenna;
        EXPECT_EQ(Join(rx.OrientX, rx.OrientY, rx.OrientZ, rx.OrientationType, rx.Reversed,
                       rx.OrientationReference, rx.OrientationText),
                  Join(c.x, c.y, c.z, c.type, c.reversed, c.orientationReference, c.kind));
    }

    // Reversed is reset by every load, the other orientation fields stay without AntOrientation.
    block.ReceiverAntenna.OrientX = 45.0;
    block.ReceiverAntenna.OrientationType = B::Parallel;
    block.ReceiverAntenna.Reversed = 1;
    EXPECT_EQ(LoadWith(&C::antenna, Antenna(kOrigin), false), 1);
    const B::SAntenna& rx = block.ReceiverAntenna;
    EXPECT_EQ(Join(rx.Reversed, rx.OrientX, rx.OrientationType), Join(0, 45, B::Parallel));
}

TEST_F(SettingsBlockTest, ProcessChainIsReadLevelByLevelAndAppended) {
    const std::string chain =
        R"(<Process operationUID="STACK@" ID="-1"><Stack type="sample">16</Stack>)"
        R"(<Process operationUID="FILTER@" ID="-2">)"
        R"(<Process operationUID="STACK@"><Stack type="trace">4</Stack></Process>)"
        R"(</Process></Process>)";
    EXPECT_EQ(LoadWith(&C::process, chain), 1);
    EXPECT_EQ(LoadWith(&C::process, chain, false), 1);
    EXPECT_EQ(Joined(block.ProcessList),
              "Stacksample=16 FILTER@ Stacktrace=4 Stacksample=16 "
              "FILTER@ Stacktrace=4 ");

    // Siblings are not a chain: only the first counts. "stack@" is not a stacking step.
    EXPECT_EQ(LoadWith(&C::process,
                       R"(<Process operationUID="stack@"><Stack type="sample">2</Stack></Process>)"
                       R"(<Process operationUID="OTHER@"/>)"),
              1);
    EXPECT_EQ(Joined(block.ProcessList), "stack@ ");
}

TEST_F(SettingsBlockTest, CompleteBlockAndTheFieldsCompareAndAssignmentCover) {
    error = "earlier text";
    ASSERT_EQ(Load(C().Xml(), false), 1);
    EXPECT_EQ(error, "earlier text");
    const B loaded = block;  // the sensor "NA" reads as 0
    const B& b = loaded;
    EXPECT_EQ(
        Join(b.SampleCount, b.TimeZero, b.SampleIntervalNs, b.TimeWindowNs, b.NominalFrequencyMHz,
             b.PulseVoltage, b.OdometerTicksPerMetre, b.OdometerSensorId, b.SurveyModeCode,
             b.StepSizeMeasure.value, b.StepSizeMeasure.unit, b.ReceiverAntenna.Y,
             b.ReceiverAntenna.OrientationText, b.TransmitterAntenna.Y, Joined(b.ProcessList)),
        Join(200, 20, 0.8, 0, 100, 400, 1000.5, 0, B::CMP_WARR, 0.05, ZAR::UNIT_M, 0.5,
             "Perpendicular", -0.5, "Stacksample=16 "));

    // One compared field of a copy changed: the blocks differ, and assignment through the pointer
    // copies the field back and nothing else. Doubles change by a hair: they must be equal exactly.
    using A = B::SAntenna;
    const auto changed = [&](const std::function<void(B&)>& change) {
        B other = loaded;
        change(other);
        EXPECT_EQ(loaded.Compare(&other) + other.Compare(&loaded), 0);
        B target = loaded;
        target.TransmitterAntenna.X = 99.0;
        target.ProcessList = {"kept"};
        target = &other;
        EXPECT_EQ(
            Join(target.Compare(&other), target.TransmitterAntenna.X, Joined(target.ProcessList)),
            "1 99 kept  ");
    };
    for (double B::*field : {&B::SampleIntervalNs, &B::NominalFrequencyMHz, &B::TimeZero,
                             &B::OdometerTicksPerMetre, &B::PulseVoltage, &B::TimeWindowNs})
        changed([&](B& b) { b.*field += 1e-9; });
    for (int32_t B::*field : {&B::SurveyModeCode, &B::OdometerSensorId, &B::SampleCount})
        changed([&](B& b) { ++(b.*field); });
    for (double A::*field : {&A::X, &A::Y, &A::Z, &A::OrientX, &A::OrientY, &A::OrientZ})
        changed([&](B& b) { b.ReceiverAntenna.*field += 1e-9; });
    for (int32_t A::*field :
         {&A::Reversed, &A::OrientationReference, &A::OrientationType, &A::PositionReference})
        changed([&](B& b) { ++(b.ReceiverAntenna.*field); });
    changed([](B& b) { b.StepSizeMeasure.value += 1e-9; });
    changed([](B& b) { b.StepSizeMeasure.unit = ZAR::UNIT_CM; });
    changed([](B& b) { b.ReceiverAntenna.OrientationText = "Parallel"; });

    // Not compared: the transmitter, the processing steps and the case of the orientation text.
    B other = loaded;
    other.TransmitterAntenna.Y = 3.0;
    other.ProcessList.clear();
    other.ReceiverAntenna.OrientationText = "PERPENDICULAR";
    EXPECT_EQ(loaded.Compare(&other), 1);
    EXPECT_EQ(loaded.Compare(nullptr), 0);
    // A NaN differs from everything, itself included.
    other.PulseVoltage = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(other.Compare(&other), 0);
    // Inequality is about identity, not contents.
    EXPECT_EQ(loaded != &other, 1);
    EXPECT_EQ(other != &other, 0);
}

TEST(SettingsBlockGeometry, AntennaSeparationIsTheStraightLineDistance) {
    B::SAntenna rx, tx;  // (1, 2, 3) to (4, 6, 15): sqrt(9 + 16 + 144) = 13
    rx.X = 1, rx.Y = 2, rx.Z = 3, tx.X = 4, tx.Y = 6, tx.Z = 15;
    EXPECT_DOUBLE_EQ(B::AntennaSeparation(rx, tx), 13.0);
}

}  // namespace
