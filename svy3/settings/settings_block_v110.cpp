#include "svy3/settings/settings_block_v110.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "svy3/platform/text.h"
#include "svy3/platform/version_text.h"

namespace ZAR {
CSvySettingsBlock_V110::CSvySettingsBlock_V110() : StepSizeMeasure(0.0, UNIT_M) {}

CSvySettingsBlock_V110::~CSvySettingsBlock_V110() = default;

int32_t CSvySettingsBlock_V110::Compare(const CSvySettingsBlock_V110* other) const {
    if (!other)
        return 0;
    // Doubles are compared with != so that a NaN differs from everything, itself included.
    if (SampleIntervalNs != other->SampleIntervalNs ||
        NominalFrequencyMHz != other->NominalFrequencyMHz ||
        OdometerTicksPerMetre != other->OdometerTicksPerMetre ||
        PulseVoltage != other->PulseVoltage ||
        StepSizeMeasure.value != other->StepSizeMeasure.value ||
        StepSizeMeasure.unit != other->StepSizeMeasure.unit ||
        TimeWindowNs != other->TimeWindowNs || TimeZero != other->TimeZero ||
        SurveyModeCode != other->SurveyModeCode || OdometerSensorId != other->OdometerSensorId ||
        SampleCount != other->SampleCount)
        return 0;
    const SAntenna& a = ReceiverAntenna;
    const SAntenna& b = other->ReceiverAntenna;
    if (a.Reversed != b.Reversed || a.OrientationReference != b.OrientationReference ||
        !EqualIgnoringCase(a.OrientationText, b.OrientationText) ||
        a.OrientationType != b.OrientationType || a.OrientX != b.OrientX ||
        a.OrientY != b.OrientY || a.OrientZ != b.OrientZ ||
        a.PositionReference != b.PositionReference || a.X != b.X || a.Y != b.Y || a.Z != b.Z)
        return 0;
    return 1;
}

void CSvySettingsBlock_V110::operator=(const CSvySettingsBlock_V110* other) {
    if (!other || other == this)
        return;
    SampleIntervalNs = other->SampleIntervalNs;
    NominalFrequencyMHz = other->NominalFrequencyMHz;
    OdometerTicksPerMetre = other->OdometerTicksPerMetre;
    PulseVoltage = other->PulseVoltage;
    StepSizeMeasure = other->StepSizeMeasure;
    TimeWindowNs = other->TimeWindowNs;
    TimeZero = other->TimeZero;
    SurveyModeCode = other->SurveyModeCode;
    OdometerSensorId = other->OdometerSensorId;
    SampleCount = other->SampleCount;
    ReceiverAntenna = other->ReceiverAntenna;
}

int32_t CSvySettingsBlock_V110::operator!=(const CSvySettingsBlock_V110* other) const {
    return other != this ? 1 : 0;
}

double CSvySettingsBlock_V110::AntennaSeparation(SAntenna a, SAntenna b) {
    const double dx = a.X - b.X;
    const double dy = a.Y - b.Y;
    const double dz = a.Z - b.Z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace ZAR

extern "C" void SVYSettingsBlock_GetVerStr(char* buffer, int32_t size) {
    // Unlike the cursor's version text, this one is cut short to fit a small buffer.
    ZAR::platform::CopyVersionTextTruncated(
        "SVYSettingsBlock\t1.1.1.0\tVersion 1 Release 1\t2005-10-14\tSVY3-SETTINGS", buffer, size);
}
