#include "svy3/settings/settings_block_v110.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "support/document_support.h"

namespace {

using B = ZAR::CSvySettingsBlock_V110;
using svy3_test::Join;
using svy3_test::Joined;

std::string Position(const std::string& x, const std::string& y, const std::string& z,
                     const std::string& units, const std::string& reference) {
    return R"(<AntPosition X=")" + x + R"(" Y=")" + y + R"(" Z=")" + z + R"(" units=")" + units +
           R"(" reference=")" + reference + R"("/>)";
}

std::string Orientation(const std::string& kind, const std::string& reference,
                        const std::string& angles = R"(X="NA" Y="NA" Z="NA")") {
    return "<AntOrientation " + angles + R"( units=")" + kind + R"(" reference=")" + reference +
           R"("/>)";
}

const std::string kOrigin = Position("0", "0", "0", "m", "relative");
const std::string kOrientation = Orientation("Perpendicular", "relative");

// Antenna element whose Receiver and Transmitter hold the given children.
std::string Antenna(const std::string& receiver, const std::string& transmitter = kOrigin) {
    return "<Antenna><Receiver>" + receiver + "</Receiver><Transmitter>" + transmitter +
           "</Transmitter></Antenna>";
}

using Children = svy3_test::SettingsChildren;

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
    int32_t LoadWith(std::string Children::*child, const std::string& xml, bool fresh = true) {
        Children children;
        children.*child = xml;
        return Load(children.Xml(), fresh);
    }

    B block;
    std::string error;
};

TEST_F(SettingsBlockTest, CompleteBlockFillsEveryField) {
    error = "earlier text";
    ASSERT_EQ(Load(Children().Xml(), false), 1);
    EXPECT_EQ(error, "earlier text");
    const B& b = block;  // the sensor "NA" reads as 0
    EXPECT_EQ(
        Join(b.SampleCount, b.TimeZero, b.SampleIntervalNs, b.TimeWindowNs, b.NominalFrequencyMHz,
             b.PulseVoltage, b.OdometerTicksPerMetre, b.OdometerSensorId, b.SurveyModeCode,
             b.StepSizeMeasure.value, b.StepSizeMeasure.unit, b.ReceiverAntenna.Y,
             b.ReceiverAntenna.OrientationText, b.TransmitterAntenna.Y, Joined(b.ProcessList)),
        Join(200, 20, 0.8, 0, 100, 400, 1000.5, 0, B::CMP_WARR, 0.05, ZAR::UNIT_M, 0.5,
             "Perpendicular", -0.5, "Stacksample=16 "));
}

TEST_F(SettingsBlockTest, MissingElementsAreReportedInReadingOrderAndTheRestIsRead) {
    const std::pair<const char*, std::string Children::*> cases[] = {
        {"Trace", &Children::trace},
        {"StepSize", &Children::step},
        {"NominalFrequency", &Children::frequency},
        {"Pulse", &Children::pulse},
        {"OdometerCal", &Children::odometer},
        {"Antenna", &Children::antenna},
        {"SurveyMode", &Children::surveyMode}};  // in reading order
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
    EXPECT_EQ(LoadWith(&Children::antenna, "<Antenna><Transmitter>" +
                                               Position("0", "-25", "0", "cm", "relative") +
                                               "</Transmitter></Antenna>"),
              0);
    EXPECT_EQ(error, Missing("Receiver"));
    EXPECT_DOUBLE_EQ(block.TransmitterAntenna.Y, -0.25);
    EXPECT_EQ(block.SurveyModeCode, B::CMP_WARR);

    EXPECT_EQ(LoadWith(&Children::antenna, Antenna(kOrientation, "")), 0);
    EXPECT_EQ(error, Missing("AntPosition") + Missing("AntPosition"));
    EXPECT_EQ(block.ReceiverAntenna.OrientationType, B::Perpendicular);

    EXPECT_EQ(LoadWith(&Children::antenna, "<Antenna/>"), 0);
    EXPECT_EQ(error, Missing("Receiver") + Missing("Transmitter"));
}

TEST_F(SettingsBlockTest, ElementNotNamedSettingsIsRefusedSilently) {
    EXPECT_EQ(Load("<settings>" + Children().trace + "</settings>"), 0);
    EXPECT_EQ(Load(R"(<Trace sample_cnt="5"/>)", false), 0);
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(block.SampleCount, 0);
    EXPECT_EQ(block.LoadSettings(nullptr, error), 0);
}

TEST_F(SettingsBlockTest, NewerVersionWarnsButStillLoads) {
    const std::string warning =
        "\nWarning: SVY Settings block is of a newer version than this program.";
    const std::pair<const char*, bool> cases[] = {
        {"2.0.0", true}, {"1.2.1", true}, {"1.2.0", false}, {"1.1.9", false}, {nullptr, false}};
    for (const auto& [version, warns] : cases) {
        SCOPED_TRACE(version ? version : "none");
        const std::string attribute = version ? R"( version=")" + std::string(version) + "\"" : "";
        EXPECT_EQ(LoadWith(&Children::version, attribute), 1);
        EXPECT_EQ(error, warns ? warning : "");
    }
    // The warning comes first and does not hide errors.
    Children children;
    children.version = R"( version="9.0.0")";
    children.trace.clear();
    EXPECT_EQ(Load(children.Xml()), 0);
    EXPECT_EQ(error, warning + Missing("Trace"));
}

TEST_F(SettingsBlockTest, UnitsOfPulseFrequencyAndStep) {
    // Pulse must be exactly "Vpp"; the value is read anyway and the block still counts as whole.
    for (const char* pulse : {R"(<Pulse units="vpp">250</Pulse>)",
                              R"(<Pulse units="V">250</Pulse>)", "<Pulse>250</Pulse>"}) {
        SCOPED_TRACE(pulse);
        EXPECT_EQ(LoadWith(&Children::pulse, pulse), 1);
        EXPECT_EQ(error, "\nError: <Pulse> must be in units of \"Vpp\".");
        EXPECT_DOUBLE_EQ(block.PulseVoltage, 250.0);
    }
    // Frequency units other than "mhz", in any case, are taken as hertz.
    const std::pair<const char*, double> frequencies[] = {
        {R"( units="mhz")", 250.0},   {R"( units="MHz")", 250.0},    {R"( units="Hz")", 0.00025},
        {R"( units="kHz")", 0.00025}, {R"( units=" mhz")", 0.00025}, {"", 0.00025}};
    for (const auto& [units, mhz] : frequencies) {
        SCOPED_TRACE(units);
        EXPECT_EQ(LoadWith(&Children::frequency,
                           std::string("<NominalFrequency") + units + ">250</NominalFrequency>"),
                  1);
        EXPECT_DOUBLE_EQ(block.NominalFrequencyMHz, mhz);
    }
    // The step keeps its value and unit code, unconverted.
    const std::pair<const char*, int32_t> steps[] = {{"cm", ZAR::UNIT_CM},
                                                     {"feet", ZAR::UNIT_FT},
                                                     {"M", ZAR::UNIT_M},
                                                     {"furlong", ZAR::UNIT_NONE}};
    for (const auto& [units, unit] : steps) {
        SCOPED_TRACE(units);
        EXPECT_EQ(LoadWith(&Children::step,
                           std::string(R"(<StepSize units=")") + units + R"(">2.5</StepSize>)"),
                  1);
        EXPECT_EQ(block.StepSizeMeasure, ZAR::SMeasure(2.5, unit));
    }
}

TEST_F(SettingsBlockTest, LeadingNumbersAnyChildOrderAndTheFirstOfEachName) {
    Children c;
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
    struct Case {
        std::string position;
        double x, y, z;
        int32_t reference;
    };
    const Case cases[] = {
        {Position("10", "50", "-200", "cm", "relative"), 0.1, 0.5, -2.0, B::relative},
        {Position("1", "2", "3", "ft", "absolute"), 0.3048, 0.6096, 0.9144, B::absolute},
        {Position("10", "50", "3", "cm", "file"), 10.0, 50.0, 3.0, B::file},
        {Position("10", "50", "3", "cm", "trace_header"), 10.0, 50.0, 3.0, B::trace_header},
        // Wrong case is not a reference: the starting value (relative) stays and converts.
        {Position("10", "50", "3", "cm", "File"), 0.1, 0.5, 0.03, B::relative},
        // A Z containing "NA" is 0; other texts are leading numbers.
        {Position("10", "abc", "5NA", "km", "relative"), 10000.0, 0.0, 0.0, B::relative},
        // An unknown unit converts nothing.
        {Position("10", "50", "3", "parsec", "relative"), 10.0, 50.0, 3.0, B::relative},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(LoadWith(&Children::antenna, Antenna(c.position)), 1);
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
        const std::string orientation = Orientation(c.kind, c.reference, R"(X="10" Y="20" Z="30")");
        EXPECT_EQ(LoadWith(&Children::antenna, Antenna(kOrigin + orientation)), 1);
        const B::SAntenna& rx = block.ReceiverAntenna;
        EXPECT_EQ(Join(rx.OrientX, rx.OrientY, rx.OrientZ, rx.OrientationType, rx.Reversed,
                       rx.OrientationReference, rx.OrientationText),
                  Join(c.x, c.y, c.z, c.type, c.reversed, c.orientationReference, c.kind));
    }

    // Reversed is reset by every load, the other orientation fields stay without AntOrientation.
    block.ReceiverAntenna.OrientX = 45.0;
    block.ReceiverAntenna.OrientationType = B::Parallel;
    block.ReceiverAntenna.Reversed = 1;
    EXPECT_EQ(LoadWith(&Children::antenna, Antenna(kOrigin), false), 1);
    const B::SAntenna& rx = block.ReceiverAntenna;
    EXPECT_EQ(Join(rx.Reversed, rx.OrientX, rx.OrientationType), Join(0, 45, B::Parallel));
}

TEST_F(SettingsBlockTest, SurveyModeTextsAreMatchedExactly) {
    const std::pair<const char*, int32_t> cases[] = {
        {"Reflection", 0},   {"CMP/WARR", 1},    {"Trans. - MOP", 2},   {"Trans. - ZOP", 3},
        {"Trans. - VRP", 4}, {"reflection", -1}, {"Trans. - ZOP ", -1}, {"", -1}};
    for (const auto& [text, code] : cases) {
        SCOPED_TRACE(text);
        block.SurveyModeCode = -1;  // an unknown text keeps this
        EXPECT_EQ(LoadWith(&Children::surveyMode,
                           std::string("<SurveyMode>") + text + "</SurveyMode>", false),
                  1);
        EXPECT_EQ(block.SurveyModeCode, code);
        EXPECT_TRUE(error.empty());
    }
}

TEST_F(SettingsBlockTest, ProcessChainIsReadLevelByLevelAndAppended) {
    const std::string chain =
        R"(<Process operationUID="STACK@" ID="-1"><Stack type="sample">16</Stack>)"
        R"(<Process operationUID="FILTER@" ID="-2">)"
        R"(<Process operationUID="STACK@"><Stack type="trace">4</Stack></Process>)"
        R"(</Process></Process>)";
    EXPECT_EQ(LoadWith(&Children::process, chain), 1);
    EXPECT_EQ(LoadWith(&Children::process, chain, false), 1);
    EXPECT_EQ(block.ProcessList,
              std::vector<std::string>({"Stacksample=16", "FILTER@", "Stacktrace=4",
                                        "Stacksample=16", "FILTER@", "Stacktrace=4"}));

    // Siblings are not a chain: only the first counts. "stack@" is not a stacking step.
    EXPECT_EQ(LoadWith(&Children::process,
                       R"(<Process operationUID="stack@"><Stack type="sample">2</Stack></Process>)"
                       R"(<Process operationUID="OTHER@"/>)"),
              1);
    EXPECT_EQ(block.ProcessList, std::vector<std::string>{"stack@"});
}

TEST_F(SettingsBlockTest, CompareAndAssignmentCoverExactlyTheComparedFields) {
    ASSERT_EQ(Load(Children().Xml()), 1);
    const B loaded = block;
    const std::pair<const char*, std::function<void(B&)>> changes[] = {
        {"SampleIntervalNs", [](B& b) { b.SampleIntervalNs += 1e-9; }},
        {"NominalFrequencyMHz", [](B& b) { b.NominalFrequencyMHz = 200; }},
        {"OdometerTicksPerMetre", [](B& b) { b.OdometerTicksPerMetre = 1; }},
        {"PulseVoltage", [](B& b) { b.PulseVoltage = 1; }},
        {"step value", [](B& b) { b.StepSizeMeasure.value = 0.1; }},
        {"step unit", [](B& b) { b.StepSizeMeasure.unit = ZAR::UNIT_CM; }},
        {"TimeWindowNs", [](B& b) { b.TimeWindowNs = 160; }},
        {"TimeZero", [](B& b) { b.TimeZero = 21; }},
        {"SurveyModeCode", [](B& b) { b.SurveyModeCode = B::VRP; }},
        {"OdometerSensorId", [](B& b) { b.OdometerSensorId = 3; }},
        {"SampleCount", [](B& b) { b.SampleCount = 201; }},
        {"Reversed", [](B& b) { b.ReceiverAntenna.Reversed = 1; }},
        {"OrientationReference", [](B& b) { b.ReceiverAntenna.OrientationReference = B::file; }},
        {"OrientationText", [](B& b) { b.ReceiverAntenna.OrientationText = "Parallel"; }},
        {"OrientationType", [](B& b) { b.ReceiverAntenna.OrientationType = B::Spherical; }},
        {"OrientX", [](B& b) { b.ReceiverAntenna.OrientX = 1; }},
        {"OrientY", [](B& b) { b.ReceiverAntenna.OrientY = 1; }},
        {"OrientZ", [](B& b) { b.ReceiverAntenna.OrientZ = 1; }},
        {"PositionReference", [](B& b) { b.ReceiverAntenna.PositionReference = B::absolute; }},
        {"X", [](B& b) { b.ReceiverAntenna.X = 1; }},
        {"Y", [](B& b) { b.ReceiverAntenna.Y = 1; }},
        {"Z", [](B& b) { b.ReceiverAntenna.Z = 1; }}};
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        B other = loaded;
        change(other);
        EXPECT_EQ(loaded.Compare(&other), 0);
        EXPECT_EQ(other.Compare(&loaded), 0);
        // Assignment through the pointer copies the field back, and nothing else.
        B target = loaded;
        target.TransmitterAntenna.X = 99.0;
        target.ProcessList = {"kept"};
        target = &other;
        EXPECT_EQ(target.Compare(&other), 1);
        EXPECT_EQ(target.TransmitterAntenna.X, 99.0);
        EXPECT_EQ(target.ProcessList, std::vector<std::string>{"kept"});
    }

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
