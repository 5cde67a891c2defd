// CSvySettingsBlock_V110::LoadSettings: reading a Settings element into the model.
#include <cctype>
#include <string>

#include "svy3/external/measure.h"
#include "svy3/platform/leading_number.h"
#include "svy3/platform/text.h"
#include "svy3/settings/settings_block_v110.h"
#include "svy3/xmlfile/attribute_text.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {
namespace {

using Block = CSvySettingsBlock_V110;

// Version of the newest Settings element this reader knows.
const char kSettingsVersion[] = "1.2.0";

std::string MissingElement(const char* name) {
    return std::string("\nError: Missing element in <Settings> block: <") + name + ">";
}

// Text of the current element; empty when it has none.
std::string NodeText(CSVYXmlFile& file) {
    std::string text;
    file.GetNodeText(text);
    return text;
}

double NodeDouble(CSVYXmlFile& file) {
    return LeadingDouble(NodeText(file).c_str());
}

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// Reference texts of AntPosition (all four) and AntOrientation (without trace_header). Another text
// leaves `reference` unchanged.
void ReadReference(const std::string& text, bool allowTraceHeader, int32_t& reference) {
    if (text == "relative")
        reference = Block::relative;
    else if (text == "absolute")
        reference = Block::absolute;
    else if (allowTraceHeader && text == "trace_header")
        reference = Block::trace_header;
    else if (text == "file")
        reference = Block::file;
}

// AntPosition under the cursor: position converted to metres when relative or absolute.
void ReadPosition(CSVYXmlFile& file, Block::SAntenna& antenna) {
    ReadReference(AttributeText(file, "reference"), true, antenna.PositionReference);
    antenna.X = AttributeDouble(file, "X");
    antenna.Y = AttributeDouble(file, "Y");
    const std::string z = AttributeText(file, "Z");
    antenna.Z = Contains(z, "NA") ? 0.0 : LeadingDouble(z.c_str());
    const std::string units = AttributeText(file, "units");
    if (antenna.PositionReference == Block::relative ||
        antenna.PositionReference == Block::absolute) {
        const Enum<UNIT_TYPE> unit = CMeasure::StringToUnit(units, false);
        antenna.X = CMeasure::ConvertTo(antenna.X, unit, UNIT_M);
        antenna.Y = CMeasure::ConvertTo(antenna.Y, unit, UNIT_M);
        antenna.Z = CMeasure::ConvertTo(antenna.Z, unit, UNIT_M);
    }
}

// AntOrientation under the cursor.
void ReadOrientation(CSVYXmlFile& file, Block::SAntenna& antenna) {
    ReadReference(AttributeText(file, "reference"), false, antenna.OrientationReference);
    antenna.OrientationText = AttributeText(file, "units");
    const std::string& kind = antenna.OrientationText;
    if (antenna.OrientationReference == Block::file)
        return;
    if (antenna.OrientationReference == Block::relative) {
        antenna.OrientY = 90.0;
        antenna.OrientZ = 0.0;
        const bool reversed = Contains(kind, "-");
        if (Contains(kind, "Perpendicular")) {
            antenna.OrientationType = Block::Perpendicular;
            antenna.OrientX = reversed ? 180.0 : 0.0;
            if (reversed)
                antenna.Reversed = 1;
            return;
        }
        if (Contains(kind, "Parallel")) {
            antenna.OrientationType = Block::Parallel;
            antenna.OrientX = reversed ? 270.0 : 90.0;
            if (reversed)
                antenna.Reversed = 1;
            return;
        }
        // Neither kind named: read like an absolute orientation.
    }
    antenna.OrientationType = Contains(kind, "Spherical") ? Block::Spherical : Block::Unspecified;
    antenna.OrientX = AttributeDouble(file, "X");
    antenna.OrientY = AttributeDouble(file, "Y");
    antenna.OrientZ = AttributeDouble(file, "Z");
}

// Receiver or Transmitter under the Antenna element at the cursor; the cursor comes back to
// Antenna. Returns false, with a message, when the antenna or its AntPosition is missing.
bool ReadAntenna(CSVYXmlFile& file, const char* name, Block::SAntenna& antenna,
                 std::string& error) {
    if (!file.GotoChildNode(name)) {
        error += MissingElement(name);
        return false;
    }
    bool ok = true;
    if (file.GotoChildNode("AntPosition")) {
        ReadPosition(file, antenna);
        file.GotoParentNode();
    } else {
        error += MissingElement("AntPosition");
        ok = false;
    }
    antenna.Reversed = 0;
    if (file.GotoChildNode("AntOrientation")) {
        ReadOrientation(file, antenna);
        file.GotoParentNode();
    }
    file.GotoParentNode();
    return ok;
}

// One Process element under the cursor as a step text: "Stack<type>=<count>" for stacking,
// otherwise the operationUID text.
std::string ProcessStep(CSVYXmlFile& file) {
    const std::string operation = AttributeText(file, "operationUID");
    if (operation != "STACK@")
        return operation;
    std::string type = "type";
    file.GetSubNodeAttribute(type, "Stack");
    std::string count = "Stack";
    file.GetSubNodeText(count);
    return "Stack" + type + "=" + count;
}

}  // namespace

int32_t CSvySettingsBlock_V110::LoadSettings(CSVYXmlFile* file, std::string& error) {
    if (!file)
        return 0;
    std::string name;
    if (!file->GetNodeName(name) || name != "Settings")
        return 0;

    std::string version = kSettingsVersion;
    int32_t overall = 0, majorCmp = 0, minorCmp = 0, revisionCmp = 0;
    if (file->NodeVersionCompatibility(version, overall, majorCmp, minorCmp, revisionCmp) &&
        overall > 0)
        error += "\nWarning: SVY Settings block is of a newer version than this program.";

    int32_t result = 1;

    if (file->GotoChildNode("Trace")) {
        SampleCount = AttributeInt32(*file, "sample_cnt");
        TimeZero = AttributeDouble(*file, "time_zero_cnt");
        SampleIntervalNs = AttributeDouble(*file, "interval_ns");
        file->GotoParentNode();
    } else {
        error += MissingElement("Trace");
        result = 0;
    }

    if (file->GotoChildNode("StepSize")) {
        const Enum<UNIT_TYPE> unit = CMeasure::StringToUnit(AttributeText(*file, "units"), false);
        StepSizeMeasure = SMeasure(NodeDouble(*file), unit);
        file->GotoParentNode();
    } else {
        error += MissingElement("StepSize");
        result = 0;
    }

    if (file->GotoChildNode("NominalFrequency")) {
        const double value = NodeDouble(*file);
        NominalFrequencyMHz =
            EqualIgnoringCase(AttributeText(*file, "units"), "mhz") ? value : value / 1000000.0;
        file->GotoParentNode();
    } else {
        error += MissingElement("NominalFrequency");
        result = 0;
    }

    if (file->GotoChildNode("Pulse")) {
        if (AttributeText(*file, "units") != "Vpp")
            error += "\nError: <Pulse> must be in units of \"Vpp\".";
        PulseVoltage = NodeDouble(*file);
        file->GotoParentNode();
    } else {
        error += MissingElement("Pulse");
        result = 0;
    }

    if (file->GotoChildNode("OdometerCal")) {
        OdometerTicksPerMetre = AttributeDouble(*file, "ticks_per_m");
        OdometerSensorId = AttributeInt32(*file, "sensorID");
        file->GotoParentNode();
    } else {
        error += MissingElement("OdometerCal");
        result = 0;
    }

    if (file->GotoChildNode("Antenna")) {
        if (!ReadAntenna(*file, "Receiver", ReceiverAntenna, error))
            result = 0;
        if (!ReadAntenna(*file, "Transmitter", TransmitterAntenna, error))
            result = 0;
        file->GotoParentNode();
    } else {
        error += MissingElement("Antenna");
        result = 0;
    }

    if (file->GotoChildNode("SurveyMode")) {
        const std::string mode = NodeText(*file);
        if (mode == "Reflection")
            SurveyModeCode = Reflection;
        else if (mode == "CMP/WARR")
            SurveyModeCode = CMP_WARR;
        else if (mode == "Trans. - ZOP")
            SurveyModeCode = ZOP;
        else if (mode == "Trans. - MOP")
            SurveyModeCode = MOP;
        else if (mode == "Trans. - VRP")
            SurveyModeCode = VRP;
        file->GotoParentNode();
    } else {
        error += MissingElement("SurveyMode");
        result = 0;
    }

    // A chain of steps is nested: each Process holds the next one.
    int32_t levels = 0;
    while (file->GotoChildNode("Process")) {
        ++levels;
        ProcessList.push_back(ProcessStep(*file));
    }
    for (; levels > 0; --levels)
        file->GotoParentNode();

    return result;
}

}  // namespace ZAR
