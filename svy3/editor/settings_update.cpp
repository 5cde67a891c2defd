// Acquisition settings of a line rewritten from a radar header record: the odometer and sample
// counts of its radar pairs, their Settings elements (or the line's own), and the antenna
// positions under a Settings element.
#include "svy3/editor/gpz_svy.h"
#include "svy3/external/measure.h"

namespace ZAR {
namespace {

const char kSettings[] = "Settings";
// The data file kind whose odometer, sample counts and settings come from a radar header.
const char kRadarPairExtension[] = "HD+DT1";
// The Settings version written: the newest the settings reader knows.
const char kSettingsVersion[] = "1.2.0";

}  // namespace

bool GpzSvy::SetGprParamSettings(const SGprParam& param) {
    if (!IsNode("Line"))
        return false;
    const Enum<UNIT_TYPE> stepUnit = param.StepSize.unit;
    bool ok = true;
    bool settingsSeen = false;
    bool first = true;
    while (NextNode(first, "DataFile")) {
        std::string extension;
        if (!GetNodeTxt(extension, "ext"))
            continue;
        if (extension == kRadarPairExtension) {
            // Each group stops at its first failing write; a failure also skips the later groups.
            ok = ok && SetSubNodeText(CMeasure::UnitToString(stepUnit), "Odometer", "units") &&
                 SetSubNodeValue(param.StepSize.value, "Odometer", "step") &&
                 SetSubNodeValue(param.StartPosition.Convert(stepUnit, -1).value, "Odometer",
                                 "start") &&
                 SetSubNodeValue(param.EndPosition.Convert(stepUnit, -1).value, "Odometer", "end");
            ok = ok && SetSubNodeText("NA", "DataSampleCnt", "dim3") &&
                 SetSubNodeValue(param.NumTraces, "DataSampleCnt", "dim2") &&
                 SetSubNodeValue(param.SamplesPerTrace, "DataSampleCnt", "dim1") &&
                 SetSubNodeText("2", "DataSampleCnt", "dim0");
            if (ChildNode(kSettings, eGpzFind)) {
                settingsSeen = true;
                ok = ok && SetSettings(param);
                ParentNode(nullptr);
            }
        } else if (ChildNode(kSettings, eGpzFind)) {
            // Settings of any other kind of file no longer match the line: drop them.
            DeleteNode();
        }
    }
    // Back from the last DataFile to the Line; after a failure the cursor stays where it is.
    if (!first)
        ok = ok && ParentNode(nullptr);

    if (!settingsSeen) {
        // The line's own Settings take the values, copied first from the nearest line set (or
        // the Data element) when the line has none, so that the values not written here survive.
        bool onSettings = ChildNode(kSettings, eGpzFind);
        if (!onSettings) {
            ok = ok && CopyLinesetSettingsToLine() != 0;
            onSettings = ChildNode(kSettings, eGpzFindOrCreate);
        }
        if (onSettings) {
            ok = ok && SetSettings(param);
            ParentNode(nullptr);
        }
    }
    return ok;
}

bool GpzSvy::SetSettings(const SGprParam& param) {
    if (!IsNode(kSettings))
        return false;
    const std::string stepUnit = CMeasure::UnitToString(param.StepSize.unit);
    return SetNodeTxt(kSettingsVersion, "version") &&
           SetSubNodeValue(param.OdometerTicksPerMetre, "OdometerCal", "ticks_per_m") &&
           SetSubNodeValue(param.SamplingIntervalNs, "Trace", "interval_ns") &&
           SetSubNodeValue(param.TimeZero, "Trace", "time_zero_cnt") &&
           SetSubNodeValue(param.SamplesPerTrace, "Trace", "sample_cnt") &&
           SetSubNodeText(stepUnit, "StepSize", "units") &&
           SetSubNodeValue(param.StepSize.value, "StepSize", nullptr) &&
           SetSubNodeText("MHz", "NominalFrequency", "units") &&
           SetSubNodeValue(param.FrequencyMHz, "NominalFrequency", nullptr) &&
           SetSubNodeText("Vpp", "Pulse", "units") &&
           SetSubNodeValue(param.PulserVoltage, "Pulse", nullptr) &&
           SetAntennaSeperation(param.AntennaSeparation.value,
                                CMeasure::UnitToString(param.AntennaSeparation.unit)) &&
           SetSubNodeText(param.SurveyMode, "SurveyMode", nullptr);
}

bool GpzSvy::SetAntennaSeperation(double separation, const std::string& unit) {
    if (!ChildNode("Antenna", eGpzFindOrCreate))
        return false;
    // The antennas stand symmetric about the origin on the Y axis, the receiver on the positive
    // side. A failed write can leave the cursor below the antenna, so the climbs go by name.
    bool receiver = false;
    if (ChildNode("Receiver", eGpzFindOrCreate)) {
        receiver = SetSubNodeText(unit, "AntPosition", "units") &&
                   SetSubNodeValue(separation * 0.5, "AntPosition", "Y");
        ParentNode("Antenna");
    }
    bool transmitter = false;
    if (ChildNode("Transmitter", eGpzFindOrCreate)) {
        transmitter = receiver && SetSubNodeText(unit, "AntPosition", "units") &&
                      SetSubNodeValue(separation * -0.5, "AntPosition", "Y");
        ParentNode("Antenna");
    }
    ParentNode(kSettings);
    return receiver && transmitter;
}

int32_t GpzSvy::CopyLinesetSettingsToLine() {
    void* const start = GetNodeHandle();
    void* settings = nullptr;
    while (ParentNode(nullptr)) {
        if (ChildNode(kSettings, eGpzFind)) {
            settings = GetNodeHandle();
            break;
        }
    }
    if (settings) {
        const bool appended = MoveToHandleNode(start) && AppendNodeCopy(settings, true);
        ReleaseNodeHandle(settings);
        ReleaseNodeHandle(start);
        return appended ? 1 : 0;
    }
    if (MoveToHandleNode(start)) {
        ReleaseNodeHandle(start);
        return -1;
    }
    ReleaseNodeHandle(start);
    return 0;
}

}  // namespace ZAR
