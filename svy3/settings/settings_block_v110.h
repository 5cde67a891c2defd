// CSvySettingsBlock_V110: the acquisition settings of one Settings element of a version 1.1
// project document, and the reader that fills them from the document.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "svy3/external/measure.h"
#include "svy3/platform/export.h"
#include "svy3/settings/settings_block.h"

namespace ZAR {

class CSVYXmlFile;

// Trace sampling, step, frequency, pulser voltage, odometer calibration, survey mode, processing
// steps and the geometry of both antennas. Lengths are held in metres (unit code 1). Fields that
// the document does not give keep their starting value, which is zero.
class SVY3_API CSvySettingsBlock_V110 : public CSvySettingsBlock {
  public:
    // How an antenna position or orientation is given (AntPosition/AntOrientation "reference").
    enum EAntennaReference { relative = 0, absolute = 1, file = 2, trace_header = 3 };
    // Kind of antenna orientation.
    enum EOrientationType { Spherical = 0, Perpendicular = 1, Parallel = 2, Unspecified = 3 };
    // Survey mode; texts "Reflection", "CMP/WARR", "Trans. - MOP", "Trans. - ZOP", "Trans. - VRP".
    enum ESurveyMode { Reflection = 0, CMP_WARR = 1, MOP = 2, ZOP = 3, VRP = 4 };

    // Position and orientation of one antenna.
    struct SAntenna {
        // Position; in metres when PositionReference is relative or absolute, as written otherwise.
        double X = 0.0;
        double Y = 0.0;
        double Z = 0.0;
        int32_t PositionReference = relative;  // EAntennaReference
        // Orientation angles in degrees.
        double OrientX = 0.0;
        double OrientY = 0.0;
        double OrientZ = 0.0;
        int32_t OrientationType = Spherical;      // EOrientationType
        int32_t Reversed = 0;                     // 1: turned by 180 degrees
        int32_t OrientationReference = relative;  // EAntennaReference: relative, absolute or file
        std::string OrientationText;              // the AntOrientation "units" text as read
    };

    // StepSizeMeasure starts at 0.0 metres; every other number, code and reference at 0, the
    // list and the texts empty.
    CSvySettingsBlock_V110();
    CSvySettingsBlock_V110(const CSvySettingsBlock_V110&) = default;
    CSvySettingsBlock_V110& operator=(const CSvySettingsBlock_V110&) = default;
    ~CSvySettingsBlock_V110() override;

    // Reads the Settings element under the cursor. Problems are appended to `error`, one message
    // per line, each beginning with a line break; `error` is never cleared. Returns 1 when every
    // required element (Trace, StepSize, NominalFrequency, Pulse, OdometerCal, Antenna with
    // Receiver and Transmitter, each with AntPosition, and SurveyMode) was found, else 0; a missing
    // element does not stop the others from being read. Returns 0 without a message, and without
    // moving, when the current element is not named "Settings". Otherwise the cursor is back on
    // the Settings element afterwards. Processing steps are appended to ProcessList, which is not
    // cleared first.
    int32_t LoadSettings(CSVYXmlFile* file, std::string& error);

    // 1 when every compared field equals the other block's, else 0 (also for null). Compared:
    // the trace, step, frequency, voltage, odometer and survey mode fields and the receiver
    // antenna (its OrientationText without regard to case); doubles must be exactly equal. The
    // transmitter antenna and ProcessList take no part.
    int32_t Compare(const CSvySettingsBlock_V110* other) const;
    // Copies exactly the fields that Compare compares; the transmitter antenna and ProcessList
    // keep their values. A null argument changes nothing.
    void operator=(const CSvySettingsBlock_V110* other);
    // Identity, not contents: 1 when `other` is another object than this one, 0 when it is this.
    int32_t operator!=(const CSvySettingsBlock_V110* other) const;

    // Straight-line distance between the positions of two antennas, as stored (references and
    // units are not considered).
    static double AntennaSeparation(SAntenna a, SAntenna b);

    int32_t SampleCount = 0;
    double TimeWindowNs = 0.0;  // not in the document; set when built from a data header
    double TimeZero = 0.0;      // in samples
    double SampleIntervalNs = 0.0;
    SMeasure StepSizeMeasure;
    double NominalFrequencyMHz = 0.0;
    double PulseVoltage = 0.0;  // Vpp
    double OdometerTicksPerMetre = 0.0;
    int32_t OdometerSensorId = 0;
    int32_t SurveyModeCode = Reflection;   // ESurveyMode
    std::vector<std::string> ProcessList;  // processing steps in document order
    SAntenna ReceiverAntenna;
    SAntenna TransmitterAntenna;
};

}  // namespace ZAR

// Fills `buffer` of `size` bytes with the settings block module's version text (five
// tab-separated fields). At most size - 1 characters are copied and the last byte receives a
// terminator, so a short buffer gets the text cut short.
extern "C" SVY3_API void SVYSettingsBlock_GetVerStr(char* buffer, int32_t size);
