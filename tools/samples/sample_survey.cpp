#include "tools/samples/sample_survey.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

#include <boost/filesystem.hpp>
#include <boost/make_shared.hpp>

#include "svy3/svy3.h"
#include "tools/samples/sample_parameters.h"

namespace svy3_samples {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A Ricker wavelet of the antenna's frequency, t in nanoseconds from its peak.
double Ricker(double t) {
    const double a = kPi * kFrequencyMHz * 1e-3 * t;
    return (1.0 - 2.0 * a * a) * std::exp(-a * a);
}

// One trace: the direct wave, a flat layer at 40 ns, and the hyperbola of a pipe buried across the
// lines at 12 m along them and 30 ns deep.
std::vector<int16_t> Trace(double along, int samples) {
    std::vector<int16_t> trace(samples);
    const double pipeDepthNs = 30.0;
    const double velocity = 0.1;  // m/ns
    const double offset = along - 12.0;
    const double pipeNs =
        std::sqrt(pipeDepthNs * pipeDepthNs + 4.0 * offset * offset / (velocity * velocity));
    for (int i = 0; i < samples; ++i) {
        const double t = (i - kTimeZero) * kIntervalNs;
        const double value = 12000.0 * Ricker(t) + 4000.0 * Ricker(t - 40.0) +
                             6000.0 * Ricker(t - pipeNs) / (1.0 + 0.2 * std::fabs(offset)) +
                             150.0 * std::sin(0.37 * i + along);
        trace[i] = static_cast<int16_t>(std::lround(std::max(-32767.0, std::min(32767.0, value))));
    }
    return trace;
}

// The trace file of one sequence starting `start` metres along the line; empty when the shape
// asks for no traces.
bool WriteTraces(const std::string& path, const RadarSurveyShape& shape, double start) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int n = 0; shape.traces && n < shape.tracesPerFile; ++n) {
        // A 128-byte trace header: trace number, position, samples, then zeros.
        float header[32] = {};
        header[0] = static_cast<float>(n + 1);
        header[1] = static_cast<float>(start + n * kStepMetres);
        header[2] = static_cast<float>(shape.samplesPerTrace);
        out.write(reinterpret_cast<const char*>(header), sizeof header);
        const std::vector<int16_t> trace = Trace(start + n * kStepMetres, shape.samplesPerTrace);
        out.write(reinterpret_cast<const char*>(trace.data()),
                  static_cast<std::streamsize>(trace.size() * sizeof(int16_t)));
    }
    return static_cast<bool>(out);
}

// The header of one sequence of `shape` starting `start` metres along the line.
ZAR::GprParam Header(const RadarSurveyShape& shape, double start) {
    const double fileLength = shape.tracesPerFile * kStepMetres;
    auto param = boost::make_shared<ZAR::SGprParam>();
    param->NumTraces = static_cast<uint32_t>(shape.tracesPerFile);
    param->SamplesPerTrace = static_cast<uint32_t>(shape.samplesPerTrace);
    param->TimeZero = kTimeZero;
    param->TimeWindowNs = shape.samplesPerTrace * kIntervalNs;
    param->SamplingIntervalNs = kIntervalNs;
    param->StartPosition = ZAR::SMeasure(start, 1);
    param->EndPosition = ZAR::SMeasure(start + fileLength - kStepMetres, 1);
    param->StepSize = ZAR::SMeasure(kStepMetres, 1);
    param->FrequencyMHz = kFrequencyMHz;
    param->AntennaSeparation = ZAR::SMeasure(kAntennaSeparation, 1);
    param->PulserVoltage = kPulserVoltage;
    param->Stacks = kStacks;
    param->SurveyMode = "Reflection";
    param->OdometerTicksPerMetre = kOdometerTicksPerMetre;
    param->DateTime = shape.dateTime.empty()
                          ? ZAR::CDateTime::GetCurrentTime().Format("%Y-%m-%d %H:%M:%S")
                          : shape.dateTime;
    ZAR::GprParam header;
    header.SetGprParam(param);
    return header;
}

}  // namespace

std::vector<std::string> WriteRadarSurvey(const std::string& folder, const RadarSurveyShape& shape,
                                          std::string& error) {
    namespace fs = boost::filesystem;
    boost::system::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot create " + folder + ": " + ec.message();
        return {};
    }
    const double fileLength = shape.tracesPerFile * kStepMetres;
    std::vector<std::string> files;
    for (int line = 1; line <= shape.lines; ++line) {
        for (int seq = 1; seq <= shape.filesPerLine; ++seq) {
            const double start = (seq - 1) * fileLength;
            const std::string base =
                (fs::path(folder) /
                 (shape.prefix + "C" + std::to_string(line) + "B" + std::to_string(seq)))
                    .string();
            if (Header(shape, start).Save(base + ".HD") != 0 ||
                !WriteTraces(base + ".DT1", shape, start)) {
                error = "cannot write " + base;
                return {};
            }
            files.push_back(base + ".DT1");
        }
    }
    if (!shape.odometerFile)
        return files;
    const std::string sen = (fs::path(folder) / (shape.prefix + "C1B1.sen")).string();
    std::ofstream odometer(sen, std::ios::trunc);
    odometer << "<?xml version=\"1.0\"?>\n<SEN>\n\t<Odometer start=\"0.000000\" end=\""
             << shape.filesPerLine * fileLength << "\" units=\"m\" />\n</SEN>\n";
    if (!odometer) {
        error = "cannot write " + sen;
        return {};
    }
    files.push_back(sen);
    return files;
}

}  // namespace svy3_samples
