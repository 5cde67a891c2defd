#include "svy3/settings/settings_block_v110.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace {

using ZAR::CSvySettingsBlock_V110;
using Antenna = CSvySettingsBlock_V110::SAntenna;

const std::string kTrace =
    R"(<Trace sample_cnt="200" time_zero_cnt="20.000000" interval_ns="0.800000"/>)";
const std::string kOdometer = R"(<OdometerCal ticks_per_m="1000.500000" sensorID="NA"/>)";
const std::string kStep = R"(<StepSize units="m">0.050000</StepSize>)";
const std::string kFrequency = R"(<NominalFrequency units="Mhz">100.000000</NominalFrequency>)";
const std::string kPulse = R"(<Pulse units="Vpp">400.000000</Pulse>)";
const std::string kSurveyMode = "<SurveyMode>CMP/WARR</SurveyMode>";
const std::string kProcess =
    R"(<Process operationUID="STACK@" implementation="GPR System" version="NA" DIP="NA" )"
    R"(buffer="no" ID="-1"><Stack type="sample">16</Stack></Process>)";

std::string AntennaXml(const std::string& name, const std::string& position,
                       const std::string& orientation) {
    return "<" + name + ">" + position + orientation + "</" + name + ">";
}

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

const std::string kOrientation = Orientation("Perpendicular", "relative");
const std::string kAntenna =
    "<Antenna>" +
    AntennaXml("Receiver", Position("0", "0.500000", "0", "m", "relative"), kOrientation) +
    AntennaXml("Transmitter", Position("0", "-0.500000", "0", "m", "relative"), kOrientation) +
    "</Antenna>";

// The children of a complete Settings element, as the block writer produces them.
struct Children {
    std::string version = R"( version="1.2.0")";
    std::string trace = kTrace;
    std::string odometer = kOdometer;
    std::string step = kStep;
    std::string frequency = kFrequency;
    std::string pulse = kPulse;
    std::string antenna = kAntenna;
    std::string surveyMode = kSurveyMode;
    std::string process = kProcess;

    std::string Xml() const {
        return "<Settings" + version + ">" + trace + odometer + step + frequency + pulse + antenna +
               surveyMode + process + "</Settings>";
    }
};

// Antenna element with the given receiver position and orientation and a plain transmitter.
std::string ReceiverOnly(const std::string& position, const std::string& orientation) {
    return "<Antenna>" + AntennaXml("Receiver", position, orientation) +
           AntennaXml("Transmitter", Position("0", "0", "0", "m", "relative"), "") + "</Antenna>";
}

class SettingsBlockTest : public ::testing::Test {
  protected:
    // Writes a document holding `settingsXml` under Data, puts the cursor on that element and
    // loads it into `block`. Checks that the cursor ends on the element it started on.
    int32_t Load(const std::string& settingsXml) {
        const std::string path = WriteDocument(settingsXml);
        EXPECT_EQ(file.Initialize(path), 1);
        file.GotoRootNode();
        EXPECT_EQ(file.GotoChildNode("Data"), 1);
        EXPECT_EQ(file.GotoChildNode(""), 1);
        std::string before;
        file.GetNodeName(before);
        const int32_t result = block.LoadSettings(&file, error);
        std::string after;
        file.GetNodeName(after);
        EXPECT_EQ(after, before) << "cursor not back on the element";
        EXPECT_EQ(file.GotoParentNode(), 1);
        file.GetNodeName(after);
        EXPECT_EQ(after, "Data");
        return result;
    }
    int32_t Load(const Children& children) { return Load(children.Xml()); }

    std::string WriteDocument(const std::string& settingsXml) {
        return svy3_test::WriteFile(dir.File("doc.svy"),
                                    "<?xml version='1.0'?><ZAR_SVY version=\"1.1.0\"><Data>" +
                                        settingsXml + "</Data></ZAR_SVY>");
    }

    svy3_test::TempDir dir;
    ZAR::CSVYXmlFile file;
    CSvySettingsBlock_V110 block;
    std::string error;
};

std::string Missing(const std::string& name) {
    return "\nError: Missing element in <Settings> block: <" + name + ">";
}

TEST_F(SettingsBlockTest, CompleteBlockFillsEveryField) {
    error = "earlier text";
    ASSERT_EQ(Load(Children()), 1);
    EXPECT_EQ(error, "earlier text");
    EXPECT_EQ(block.SampleCount, 200);
    EXPECT_DOUBLE_EQ(block.TimeZero, 20.0);
    EXPECT_DOUBLE_EQ(block.SampleIntervalNs, 0.8);
    EXPECT_DOUBLE_EQ(block.TimeWindowNs, 0.0);
    EXPECT_DOUBLE_EQ(block.StepSizeMeasure.value, 0.05);
    EXPECT_EQ(block.StepSizeMeasure.unit, ZAR::UNIT_M);
    EXPECT_DOUBLE_EQ(block.NominalFrequencyMHz, 100.0);
    EXPECT_DOUBLE_EQ(block.PulseVoltage, 400.0);
    EXPECT_DOUBLE_EQ(block.OdometerTicksPerMetre, 1000.5);
    EXPECT_EQ(block.OdometerSensorId, 0);  // "NA"
    EXPECT_EQ(block.SurveyModeCode, CSvySettingsBlock_V110::CMP_WARR);
    EXPECT_EQ(block.ProcessList, std::vector<std::string>{"Stacksample=16"});
    const Antenna& rx = block.ReceiverAntenna;
    EXPECT_DOUBLE_EQ(rx.Y, 0.5);
    EXPECT_EQ(rx.PositionReference, CSvySettingsBlock_V110::relative);
    EXPECT_EQ(rx.OrientationType, CSvySettingsBlock_V110::Perpendicular);
    EXPECT_EQ(rx.OrientationText, "Perpendicular");
    EXPECT_DOUBLE_EQ(rx.OrientY, 90.0);
    EXPECT_DOUBLE_EQ(block.TransmitterAntenna.Y, -0.5);
    EXPECT_EQ(block.TransmitterAntenna.OrientationType, CSvySettingsBlock_V110::Perpendicular);
}

TEST_F(SettingsBlockTest, EachMissingRequiredElementIsReportedAloneAndTheRestIsRead) {
    struct Case {
        const char* name;
        std::string Children::*member;
    };
    const Case cases[] = {{"Trace", &Children::trace},
                          {"StepSize", &Children::step},
                          {"NominalFrequency", &Children::frequency},
                          {"Pulse", &Children::pulse},
                          {"OdometerCal", &Children::odometer},
                          {"Antenna", &Children::antenna},
                          {"SurveyMode", &Children::surveyMode}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Children children;
        children.*(c.member) = "";
        block = CSvySettingsBlock_V110();
        error.clear();
        EXPECT_EQ(Load(children), 0);
        EXPECT_EQ(error, Missing(c.name));
        // Something from before and after the missing element in reading order is still there.
        const std::string name = c.name;
        if (name != "Trace") {
            EXPECT_EQ(block.SampleCount, 200);
        }
        if (name != "Pulse") {
            EXPECT_DOUBLE_EQ(block.PulseVoltage, 400.0);
        }
        if (name != "Antenna") {
            EXPECT_DOUBLE_EQ(block.TransmitterAntenna.Y, -0.5);
        }
        if (name != "SurveyMode") {
            EXPECT_EQ(block.SurveyModeCode, CSvySettingsBlock_V110::CMP_WARR);
        }
        EXPECT_EQ(block.ProcessList.size(), 1u);
    }
}

TEST_F(SettingsBlockTest, EmptySettingsReportsEveryRequiredElementInReadingOrder) {
    EXPECT_EQ(Load("<Settings/>"), 0);
    EXPECT_EQ(error, Missing("Trace") + Missing("StepSize") + Missing("NominalFrequency") +
                         Missing("Pulse") + Missing("OdometerCal") + Missing("Antenna") +
                         Missing("SurveyMode"));
}

TEST_F(SettingsBlockTest, MissingAntennaPartsAreReportedLikeRequiredElements) {
    Children children;
    children.antenna = "<Antenna>" +
                       AntennaXml("Transmitter", Position("0", "-25", "0", "cm", "relative"), "") +
                       "</Antenna>";
    EXPECT_EQ(Load(children), 0);
    EXPECT_EQ(error, Missing("Receiver"));
    EXPECT_DOUBLE_EQ(block.TransmitterAntenna.Y, -0.25);
    EXPECT_EQ(block.SurveyModeCode, CSvySettingsBlock_V110::CMP_WARR);

    error.clear();
    children.antenna = "<Antenna>" + AntennaXml("Receiver", kOrientation, "") +
                       AntennaXml("Transmitter", "", "") + "</Antenna>";
    block = CSvySettingsBlock_V110();
    EXPECT_EQ(Load(children), 0);
    EXPECT_EQ(error, Missing("AntPosition") + Missing("AntPosition"));
    // The receiver's orientation is still read without a position.
    EXPECT_EQ(block.ReceiverAntenna.OrientationType, CSvySettingsBlock_V110::Perpendicular);

    error.clear();
    children.antenna = "<Antenna/>";
    EXPECT_EQ(Load(children), 0);
    EXPECT_EQ(error, Missing("Receiver") + Missing("Transmitter"));
}

TEST_F(SettingsBlockTest, ElementNotNamedSettingsIsRefusedSilently) {
    Children children;
    std::string xml = children.Xml();
    xml.replace(0, 9, "<settings");
    xml.replace(xml.size() - 11, 11, "</settings>");
    EXPECT_EQ(Load(xml), 0);
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(block.SampleCount, 0);
    EXPECT_EQ(Load("<Trace sample_cnt=\"5\"/>"), 0);
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(block.LoadSettings(nullptr, error), 0);
}

TEST_F(SettingsBlockTest, NewerVersionWarnsButStillLoads) {
    const std::string warning =
        "\nWarning: SVY Settings block is of a newer version than this program.";
    struct Case {
        std::string version;
        bool warns;
    };
    const Case cases[] = {{R"( version="1.3.0")", true},  {R"( version="2.0.0")", true},
                          {R"( version="1.2.1")", true},  {R"( version="1.2.0")", false},
                          {R"( version="1.1.9")", false}, {"", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        Children children;
        children.version = c.version;
        error.clear();
        EXPECT_EQ(Load(children), 1);
        EXPECT_EQ(error, c.warns ? warning : "");
    }
    // The warning comes first and does not hide errors.
    Children children;
    children.version = R"( version="9.0.0")";
    children.trace.clear();
    error.clear();
    EXPECT_EQ(Load(children), 0);
    EXPECT_EQ(error, warning + Missing("Trace"));
}

TEST_F(SettingsBlockTest, PulseUnitsMustBeExactlyVppButValueIsStillRead) {
    const std::string message = "\nError: <Pulse> must be in units of \"Vpp\".";
    const std::string pulses[] = {R"(<Pulse units="vpp">250</Pulse>)",
                                  R"(<Pulse units="VPP">250</Pulse>)",
                                  R"(<Pulse units="V">250</Pulse>)", "<Pulse>250</Pulse>"};
    for (const std::string& pulse : pulses) {
        SCOPED_TRACE(pulse);
        Children children;
        children.pulse = pulse;
        error.clear();
        EXPECT_EQ(Load(children), 1);
        EXPECT_EQ(error, message);
        EXPECT_DOUBLE_EQ(block.PulseVoltage, 250.0);
    }
}

TEST_F(SettingsBlockTest, FrequencyUnitsOtherThanMhzAreTakenAsHertz) {
    struct Case {
        const char* units;
        double mhz;
    };
    const Case cases[] = {{"mhz", 250.0},   {"MHZ", 250.0},         {"MHz", 250.0},
                          {"hz", 0.00025},  {"Hz", 0.00025},        {"HZ", 0.00025},
                          {"kHz", 0.00025}, {"megahertz", 0.00025}, {" mhz", 0.00025}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.units);
        Children children;
        children.frequency =
            std::string(R"(<NominalFrequency units=")") + c.units + R"(">250</NominalFrequency>)";
        EXPECT_EQ(Load(children), 1);
        EXPECT_DOUBLE_EQ(block.NominalFrequencyMHz, c.mhz);
    }
    Children children;
    children.frequency = "<NominalFrequency>250</NominalFrequency>";
    EXPECT_EQ(Load(children), 1);
    EXPECT_DOUBLE_EQ(block.NominalFrequencyMHz, 0.00025);
}

TEST_F(SettingsBlockTest, StepSizeKeepsItsValueAndUnitCode) {
    struct Case {
        const char* units;
        int32_t unit;
    };
    const Case cases[] = {{"cm", ZAR::UNIT_CM},
                          {"feet", ZAR::UNIT_FT},
                          {"M", ZAR::UNIT_M},
                          {"furlong", ZAR::UNIT_NONE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.units);
        Children children;
        children.step = std::string(R"(<StepSize units=")") + c.units + R"(">2.5</StepSize>)";
        EXPECT_EQ(Load(children), 1);
        EXPECT_DOUBLE_EQ(block.StepSizeMeasure.value, 2.5);  // not converted
        EXPECT_EQ(block.StepSizeMeasure.unit, c.unit);
    }
}

TEST_F(SettingsBlockTest, NumbersAreReadAsLeadingNumbers) {
    Children children;
    children.trace = R"(<Trace sample_cnt="512.9abc" time_zero_cnt="abc" interval_ns=" 1.5e-1x"/>)";
    children.odometer = R"(<OdometerCal sensorID="42"/>)";
    children.step = R"(<StepSize units="m">x1</StepSize>)";
    block.OdometerTicksPerMetre = 7.0;
    block.TimeZero = 7.0;
    EXPECT_EQ(Load(children), 1);
    EXPECT_EQ(block.SampleCount, 512);
    EXPECT_EQ(block.TimeZero, 0.0);
    EXPECT_DOUBLE_EQ(block.SampleIntervalNs, 0.15);
    EXPECT_EQ(block.OdometerTicksPerMetre, 0.0);  // missing attribute reads as 0
    EXPECT_EQ(block.OdometerSensorId, 42);
    EXPECT_EQ(block.StepSizeMeasure.value, 0.0);
}

TEST_F(SettingsBlockTest, PositionsAreConvertedToMetresOnlyWhenRelativeOrAbsolute) {
    struct Case {
        std::string position;
        double x, y, z;
        int32_t reference;
    };
    const Case cases[] = {
        {Position("10", "50", "-200", "cm", "relative"), 0.1, 0.5, -2.0,
         CSvySettingsBlock_V110::relative},
        {Position("1", "2", "3", "ft", "absolute"), 0.3048, 0.6096, 0.9144,
         CSvySettingsBlock_V110::absolute},
        {Position("10", "50", "3", "cm", "file"), 10.0, 50.0, 3.0, CSvySettingsBlock_V110::file},
        {Position("10", "50", "3", "cm", "trace_header"), 10.0, 50.0, 3.0,
         CSvySettingsBlock_V110::trace_header},
        // Wrong case is not a reference: the starting value (relative) stays and converts.
        {Position("10", "50", "3", "cm", "File"), 0.1, 0.5, 0.03, CSvySettingsBlock_V110::relative},
        {Position("10", "50", "NA", "cm", "relative"), 0.1, 0.5, 0.0,
         CSvySettingsBlock_V110::relative},
        {Position("10", "abc", "5NA", "km", "relative"), 10000.0, 0.0, 0.0,
         CSvySettingsBlock_V110::relative},
        // An unknown unit converts nothing.
        {Position("10", "50", "3", "parsec", "relative"), 10.0, 50.0, 3.0,
         CSvySettingsBlock_V110::relative},
        {"<AntPosition/>", 0.0, 0.0, 0.0, CSvySettingsBlock_V110::relative},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        Children children;
        children.antenna = ReceiverOnly(c.position, "");
        block = CSvySettingsBlock_V110();
        EXPECT_EQ(Load(children), 1);
        const Antenna& rx = block.ReceiverAntenna;
        EXPECT_NEAR(rx.X, c.x, 1e-12);
        EXPECT_NEAR(rx.Y, c.y, 1e-12);
        EXPECT_NEAR(rx.Z, c.z, 1e-12);
        EXPECT_EQ(rx.PositionReference, c.reference);
    }
}

TEST_F(SettingsBlockTest, OrientationKindAndReferenceDecideTheAngles) {
    const std::string angles = R"(X="10" Y="20" Z="30")";
    struct Case {
        std::string orientation;
        double x, y, z;
        int32_t type, reversed, reference;
    };
    using B = CSvySettingsBlock_V110;
    const Case cases[] = {
        {Orientation("Perpendicular", "relative", angles), 0, 90, 0, B::Perpendicular, 0,
         B::relative},
        {Orientation("Perpendicular-", "relative", angles), 180, 90, 0, B::Perpendicular, 1,
         B::relative},
        {Orientation("Parallel", "relative", angles), 90, 90, 0, B::Parallel, 0, B::relative},
        {Orientation("-Parallel", "relative", angles), 270, 90, 0, B::Parallel, 1, B::relative},
        {Orientation("Parallel or Perpendicular", "relative", angles), 0, 90, 0, B::Perpendicular,
         0, B::relative},
        // A relative orientation naming neither kind is read as an absolute one.
        {Orientation("Spherical-", "relative", angles), 10, 20, 30, B::Spherical, 0, B::relative},
        {Orientation("perpendicular", "relative", angles), 10, 20, 30, B::Unspecified, 0,
         B::relative},
        {Orientation("Spherical", "absolute", angles), 10, 20, 30, B::Spherical, 0, B::absolute},
        {Orientation("Perpendicular-", "absolute", angles), 10, 20, 30, B::Unspecified, 0,
         B::absolute},
        {Orientation("Spherical", "absolute"), 0, 0, 0, B::Spherical, 0, B::absolute},
        // File: only the reference and the text.
        {Orientation("Parallel-", "file", angles), 0, 0, 0, B::Spherical, 0, B::file},
        // trace_header is not an orientation reference: relative stays.
        {Orientation("Parallel", "trace_header", angles), 90, 90, 0, B::Parallel, 0, B::relative},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        Children children;
        children.antenna = ReceiverOnly(Position("0", "0", "0", "m", "relative"), c.orientation);
        block = CSvySettingsBlock_V110();
        EXPECT_EQ(Load(children), 1);
        const Antenna& rx = block.ReceiverAntenna;
        EXPECT_DOUBLE_EQ(rx.OrientX, c.x);
        EXPECT_DOUBLE_EQ(rx.OrientY, c.y);
        EXPECT_DOUBLE_EQ(rx.OrientZ, c.z);
        EXPECT_EQ(rx.OrientationType, c.type);
        EXPECT_EQ(rx.Reversed, c.reversed);
        EXPECT_EQ(rx.OrientationReference, c.reference);
    }
}

TEST_F(SettingsBlockTest, OrientationTextIsKeptAndMissingOrientationChangesNothing) {
    Children children;
    children.antenna =
        ReceiverOnly(Position("0", "0", "0", "m", "relative"), Orientation("Parallel-", "file"));
    EXPECT_EQ(Load(children), 1);
    EXPECT_EQ(block.ReceiverAntenna.OrientationText, "Parallel-");
    EXPECT_TRUE(block.TransmitterAntenna.OrientationText.empty());

    // Reversed is reset by every load, the other orientation fields stay without AntOrientation.
    block = CSvySettingsBlock_V110();
    block.ReceiverAntenna.Reversed = 1;
    block.ReceiverAntenna.OrientX = 45.0;
    block.ReceiverAntenna.OrientationType = CSvySettingsBlock_V110::Parallel;
    children.antenna = ReceiverOnly(Position("0", "0", "0", "m", "relative"), "");
    EXPECT_EQ(Load(children), 1);
    EXPECT_EQ(block.ReceiverAntenna.Reversed, 0);
    EXPECT_EQ(block.ReceiverAntenna.OrientX, 45.0);
    EXPECT_EQ(block.ReceiverAntenna.OrientationType, CSvySettingsBlock_V110::Parallel);
}

TEST_F(SettingsBlockTest, SurveyModeTextsAreMatchedExactly) {
    struct Case {
        const char* text;
        int32_t code;
    };
    using B = CSvySettingsBlock_V110;
    const Case cases[] = {
        {"Reflection", B::Reflection}, {"CMP/WARR", B::CMP_WARR}, {"Trans. - MOP", B::MOP},
        {"Trans. - ZOP", B::ZOP},      {"Trans. - VRP", B::VRP},  {"reflection", B::VRP},
        {"Trans. -  ZOP", B::VRP},     {"Trans. - ZOP ", B::VRP}, {"", B::VRP}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Children children;
        children.surveyMode = std::string("<SurveyMode>") + c.text + "</SurveyMode>";
        block.SurveyModeCode = B::VRP;  // an unknown text keeps this
        error.clear();
        EXPECT_EQ(Load(children), 1);
        EXPECT_EQ(block.SurveyModeCode, c.code);
        EXPECT_TRUE(error.empty());
    }
    EXPECT_EQ(B::MOP, 2);
    EXPECT_EQ(B::ZOP, 3);
}

TEST_F(SettingsBlockTest, ProcessChainIsReadLevelByLevel) {
    const std::string chain =
        R"(<Process operationUID="STACK@" ID="-1"><Stack type="sample">16</Stack>)"
        R"(<Process operationUID="FILTER@" ID="-2">)"
        R"(<Process operationUID="STACK@"><Stack type="trace">4</Stack></Process>)"
        R"(</Process></Process>)";
    Children children;
    children.process = chain;
    EXPECT_EQ(Load(children), 1);
    const std::vector<std::string> steps = {"Stacksample=16", "FILTER@", "Stacktrace=4"};
    EXPECT_EQ(block.ProcessList, steps);

    // Loading again appends the steps again.
    EXPECT_EQ(Load(children), 1);
    ASSERT_EQ(block.ProcessList.size(), 6u);
    EXPECT_EQ(block.ProcessList[3], "Stacksample=16");

    // Siblings are not a chain: only the first counts. "stack@" is not a stacking step.
    block = CSvySettingsBlock_V110();
    children.process = R"(<Process operationUID="stack@"><Stack type="sample">2</Stack></Process>)"
                       R"(<Process operationUID="OTHER@"/>)";
    EXPECT_EQ(Load(children), 1);
    EXPECT_EQ(block.ProcessList, std::vector<std::string>{"stack@"});

    // No Process: no steps.
    block = CSvySettingsBlock_V110();
    children.process.clear();
    EXPECT_EQ(Load(children), 1);
    EXPECT_TRUE(block.ProcessList.empty());
}

TEST_F(SettingsBlockTest, ChildOrderDoesNotMatterAndOnlyTheFirstOfANameIsRead) {
    Children children;
    const std::string xml = "<Settings><SurveyMode>Trans. - ZOP</SurveyMode>" + children.process +
                            children.antenna + children.pulse + R"(<Pulse units="V">1</Pulse>)" +
                            children.frequency + children.step + children.odometer +
                            children.trace + R"(<Trace sample_cnt="1"/></Settings>)";
    EXPECT_EQ(Load(xml), 1);
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(block.SampleCount, 200);
    EXPECT_DOUBLE_EQ(block.PulseVoltage, 400.0);
    EXPECT_EQ(block.SurveyModeCode, CSvySettingsBlock_V110::ZOP);
    EXPECT_EQ(block.ProcessList.size(), 1u);
}

// Changes to a loaded block, each of which Compare must notice.
std::vector<std::pair<const char*, std::function<void(CSvySettingsBlock_V110&)>>> Changes() {
    using B = CSvySettingsBlock_V110;
    return {
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
        {"Z", [](B& b) { b.ReceiverAntenna.Z = 1; }},
        {"NaN", [](B& b) { b.PulseVoltage = std::numeric_limits<double>::quiet_NaN(); }},
    };
}

TEST_F(SettingsBlockTest, CompareSeesEveryComparedFieldAndAssignmentCopiesThem) {
    ASSERT_EQ(Load(Children()), 1);
    const CSvySettingsBlock_V110 loaded = block;
    for (const auto& change : Changes()) {
        SCOPED_TRACE(change.first);
        CSvySettingsBlock_V110 other = loaded;
        change.second(other);
        EXPECT_EQ(loaded.Compare(&other), 0);
        EXPECT_EQ(other.Compare(&loaded), 0);

        // Assignment through the pointer copies the field back, and nothing else.
        CSvySettingsBlock_V110 target = loaded;
        target.TransmitterAntenna.X = 99.0;
        target.ProcessList = {"kept"};
        target = &other;
        EXPECT_EQ(target.Compare(&other), std::string(change.first) == "NaN" ? 0 : 1);
        EXPECT_EQ(target.TransmitterAntenna.X, 99.0);
        EXPECT_EQ(target.ProcessList, std::vector<std::string>{"kept"});
    }
}

TEST_F(SettingsBlockTest, CompareIgnoresTransmitterProcessStepsAndTextCase) {
    ASSERT_EQ(Load(Children()), 1);
    CSvySettingsBlock_V110 other = block;
    other.TransmitterAntenna.Y = 3.0;
    other.TransmitterAntenna.OrientationText = "x";
    other.ProcessList.clear();
    other.ReceiverAntenna.OrientationText = "PERPENDICULAR";
    EXPECT_EQ(block.Compare(&other), 1);
    EXPECT_EQ(block.Compare(&block), 1);
    EXPECT_EQ(block.Compare(nullptr), 0);
    block.SampleIntervalNs = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(block.Compare(&block), 0);
    // Inequality is about identity, not contents.
    EXPECT_EQ(block != &other, 1);
    EXPECT_EQ(other != &other, 0);
    other = &block;
    EXPECT_EQ(other != &block, 1);
}

TEST_F(SettingsBlockTest, AntennaSeparationIsTheStraightLineDistance) {
    Antenna rx, tx;
    rx.Y = 0.5;
    tx.Y = -0.5;
    EXPECT_DOUBLE_EQ(CSvySettingsBlock_V110::AntennaSeparation(rx, tx), 1.0);
    // (1, 2, 3) to (4, 6, 15): sqrt(9 + 16 + 144) = 13.
    rx.X = 1, rx.Y = 2, rx.Z = 3;
    tx.X = 4, tx.Y = 6, tx.Z = 15;
    EXPECT_DOUBLE_EQ(CSvySettingsBlock_V110::AntennaSeparation(rx, tx), 13.0);
    EXPECT_DOUBLE_EQ(CSvySettingsBlock_V110::AntennaSeparation(tx, rx), 13.0);
    EXPECT_EQ(CSvySettingsBlock_V110::AntennaSeparation(rx, rx), 0.0);
}

TEST(SettingsBlockVersion, TextHasFiveFieldsAndIsCutToSmallBuffers) {
    const std::string text = "SVYSettingsBlock\t1.1.1.0\tVersion 1 Release 1\t2005-10-14\t";
    char buffer[128];
    SVYSettingsBlock_GetVerStr(buffer, sizeof buffer);
    const std::string whole = buffer;
    EXPECT_EQ(whole.compare(0, text.size(), text), 0) << whole;
    EXPECT_GT(whole.size(), text.size());  // a part number follows
    EXPECT_EQ(whole.find('\t', text.size()), std::string::npos);

    char small[8];
    std::fill(std::begin(small), std::end(small), 'x');
    SVYSettingsBlock_GetVerStr(small, sizeof small);
    EXPECT_EQ(std::string(small), "SVYSett");

    // The text plus its terminator fits exactly.
    std::vector<char> exact(whole.size() + 1, 'x');
    SVYSettingsBlock_GetVerStr(exact.data(), static_cast<int32_t>(exact.size()));
    EXPECT_EQ(std::string(exact.data()), whole);

    char one = 'x';
    SVYSettingsBlock_GetVerStr(&one, 1);
    EXPECT_EQ(one, '\0');
    SVYSettingsBlock_GetVerStr(nullptr, 10);
}

}  // namespace
