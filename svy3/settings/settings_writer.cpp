// Settings blocks built from the acquisition parameters of a radar data header: written into the
// document (CSVYXmlFile::WriteSettingsBlock_V110) or as an in-memory model
// (CSVYXmlFile::LoadSettings110FromHd).
#include <cctype>
#include <string>

#include "svy3/external/gpr_param.h"
#include "svy3/external/measure.h"
#include "svy3/settings/settings_block_v110.h"
#include "svy3/xmlfile/cursor_guard.h"
#include "svy3/xmlfile/svy_node_value.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {
namespace {

using Block = CSvySettingsBlock_V110;

bool EqualsIgnoringCase(const std::string& text, const char* upper) {
    std::string::size_type i = 0;
    for (; i < text.size() && upper[i]; ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != upper[i])
            return false;
    }
    return i == text.size() && !upper[i];
}

// An element with one attribute set; the cursor stays on it.
void AppendWithAttribute(CSVYXmlFile& file, const char* name, const char* attribute,
                         const std::string& value) {
    file.AppendChildNode(name);
    file.SetNodeAttribute(attribute, value);
}

// Receiver or Transmitter with its AntPosition and AntOrientation; the cursor returns to the
// element it started on.
void WriteAntenna(CSVYXmlFile& file, const char* name, double y, const std::string& units) {
    file.AppendChildNode(name);
    file.AppendChildNode("AntPosition");
    file.SetNodeAttribute("X", "0");
    CSVYNodeValue::Set(y, &file, "Y");
    file.SetNodeAttribute("Z", "0");
    file.SetNodeAttribute("units", units);
    file.SetNodeAttribute("reference", "relative");
    file.GotoParentNode();
    file.AppendChildNode("AntOrientation");
    file.SetNodeAttribute("X", "NA");
    file.SetNodeAttribute("Y", "NA");
    file.SetNodeAttribute("Z", "NA");
    file.SetNodeAttribute("units", "Perpendicular");
    file.SetNodeAttribute("reference", "relative");
    file.GotoParentNode();
    file.GotoParentNode();
}

// A Process element of a step done by the acquisition system; the cursor stays on it.
void AppendStackProcess(CSVYXmlFile& file, const char* id) {
    file.AppendChildNode("Process");
    file.SetNodeAttribute("operationUID", "STACK@");
    file.SetNodeAttribute("implementation", "GPR System");
    file.SetNodeAttribute("version", "NA");
    file.SetNodeAttribute("DIP", "NA");
    file.SetNodeAttribute("buffer", "no");
    file.SetNodeAttribute("ID", id);
}

void SetAntenna(Block::SAntenna& antenna, double y) {
    antenna.X = 0.0;
    antenna.Y = y;
    antenna.Z = 0.0;
    antenna.PositionReference = Block::relative;
    antenna.OrientX = -1.0;
    antenna.OrientY = -1.0;
    antenna.OrientZ = -1.0;
    antenna.OrientationType = Block::Perpendicular;
    antenna.OrientationReference = Block::relative;
}

}  // namespace

int32_t CSVYXmlFile::WriteSettingsBlock_V110(const GprParam& header, double stepSize) {
    const SGprParam& param = *header.GetGprParam();
    const std::string stepUnits = CMeasure(param.StepSize).GetUnitSymbol();

    CCursorGuard cursor(*this);
    AppendWithAttribute(*this, "Settings", "version", "1.2.0");

    AppendChildNode("Trace");
    CSVYNodeValue::Set(param.SamplesPerTrace, this, "sample_cnt");
    CSVYNodeValue::Set(param.TimeZero, this, "time_zero_cnt");
    // No check for a header without samples: the interval is then written as it comes out.
    CSVYNodeValue::Set(param.TimeWindowNs / static_cast<double>(param.SamplesPerTrace), this,
                       "interval_ns");
    GotoParentNode();

    AppendChildNode("OdometerCal");
    CSVYNodeValue::Set(param.OdometerTicksPerMetre, this, "ticks_per_m");
    SetNodeAttribute("sensorID", "NA");
    GotoParentNode();

    AppendChildNode("StepSize");
    CSVYNodeValue::Set(stepSize == 0.0 ? param.StepSize.value : stepSize, this);
    SetNodeAttribute("units", stepUnits);
    GotoParentNode();

    AppendChildNode("NominalFrequency");
    CSVYNodeValue::Set(param.FrequencyMHz, this);
    SetNodeAttribute("units", "Mhz");
    GotoParentNode();

    AppendChildNode("Pulse");
    CSVYNodeValue::Set(param.PulserVoltage, this);
    SetNodeAttribute("units", "Vpp");
    GotoParentNode();

    // The antenna midpoint is the origin. The separation is taken as a number in the step's unit.
    AppendChildNode("Antenna");
    WriteAntenna(*this, "Receiver", param.AntennaSeparation.value * 0.5, stepUnits);
    WriteAntenna(*this, "Transmitter", param.AntennaSeparation.value * -0.5, stepUnits);
    GotoParentNode();

    AppendChildNode("SurveyMode");
    SetNodeText(param.SurveyMode);
    GotoParentNode();

    AppendStackProcess(*this, "-1");
    AppendWithAttribute(*this, "Stack", "type", "sample");
    CSVYNodeValue::Set(param.Stacks, this);
    GotoParentNode();
    if (!param.TraceStacking.empty()) {
        AppendStackProcess(*this, "-2");
        AppendWithAttribute(*this, "Stack", "type", "trace");
        SetNodeText(param.TraceStacking);
    }
    return 1;
}

std::unique_ptr<CSvySettingsBlock_V110> CSVYXmlFile::LoadSettings110FromHd(const GprParam& header) {
    const SGprParam& param = *header.GetGprParam();
    auto block = std::make_unique<CSvySettingsBlock_V110>();

    block->SampleCount = static_cast<int32_t>(param.SamplesPerTrace);
    block->TimeWindowNs = param.TimeWindowNs;
    block->SampleIntervalNs = param.TimeWindowNs / static_cast<double>(param.SamplesPerTrace);
    block->TimeZero = param.TimeZero;
    block->OdometerTicksPerMetre = param.OdometerTicksPerMetre;
    block->OdometerSensorId = 0;
    block->StepSizeMeasure = param.StepSize;
    block->NominalFrequencyMHz = param.FrequencyMHz;
    block->PulseVoltage = param.PulserVoltage;

    const double halfSeparation = param.AntennaSeparation(UNIT_M) * 0.5;
    SetAntenna(block->ReceiverAntenna, halfSeparation);
    SetAntenna(block->TransmitterAntenna, -halfSeparation);

    block->SurveyModeCode =
        EqualsIgnoringCase(param.SurveyMode, "CMP") || EqualsIgnoringCase(param.SurveyMode, "WARR")
            ? Block::CMP_WARR
            : Block::Reflection;
    return block;
}

}  // namespace ZAR
