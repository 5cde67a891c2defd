#include "support/radar_files.h"

#include <stdexcept>

#include <boost/make_shared.hpp>

#include "support/test_support.h"

namespace svy3_test {

ZAR::SGprParam SampleHeader() {
    ZAR::SGprParam param;
    param.NumTraces = 201;
    param.SamplesPerTrace = 200;
    param.TimeZero = 20.0;
    param.TimeWindowNs = 160.0;
    param.StartPosition = ZAR::SMeasure(0.0, ZAR::UNIT_M);
    param.EndPosition = ZAR::SMeasure(10.0, ZAR::UNIT_M);
    param.StepSize = ZAR::SMeasure(0.05, ZAR::UNIT_M);
    param.FrequencyMHz = 100.0;
    param.AntennaSeparation = ZAR::SMeasure(1.0, ZAR::UNIT_M);
    param.PulserVoltage = 400.0;
    param.Stacks = 16;
    param.SurveyMode = "Reflection";
    param.OdometerTicksPerMetre = 500.5;
    param.DateTime = "2024-05-21 13:04:05";
    return param;
}

std::string SaveHeader(const std::string& path, const ZAR::SGprParam& param) {
    ZAR::GprParam header;
    header.SetGprParam(boost::make_shared<ZAR::SGprParam>(param));
    if (header.Save(path) != ZAR::GprParam::SaveOk)
        throw std::runtime_error("cannot write test header " + path);
    return path;
}

std::string WriteSen(const std::string& path, const std::string& start, const std::string& end,
                     const std::string& units) {
    return WriteFile(path, "<?xml version=\"1.0\"?>\n<SEN><Odometer start=\"" + start +
                               "\" end=\"" + end + "\" units=\"" + units + "\"/></SEN>\n");
}

}  // namespace svy3_test
