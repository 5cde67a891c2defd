#include "tools/svy/demo_survey.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>

#include <boost/filesystem.hpp>
#include <boost/make_shared.hpp>

#include "svy3/svy3.h"
#include "tools/svy/create_command.h"
#include "tools/svy/project_summary.h"
#include "tools/svy/summary_output.h"

namespace svy_tool {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kStep = 0.05;           // metres between traces
constexpr double kIntervalNs = 0.4;      // sampling interval
constexpr double kFrequencyMHz = 250.0;  // nominal antenna frequency
constexpr double kLineSpacing = 0.5;     // metres between lines

// A Ricker wavelet of the antenna's frequency, t in nanoseconds from its peak.
double Ricker(double t) {
    const double a = kPi * kFrequencyMHz * 1e-3 * t;
    return (1.0 - 2.0 * a * a) * std::exp(-a * a);
}

// One trace: the direct wave, a flat layer at 40 ns, and the hyperbola of a pipe buried across the
// lines at 12 m along them and 30 ns deep.
std::vector<int16_t> Trace(double along, int samples, int timeZero) {
    std::vector<int16_t> trace(samples);
    const double pipeDepthNs = 30.0;
    const double velocity = 0.1;  // m/ns
    const double offset = along - 12.0;
    const double pipeNs =
        std::sqrt(pipeDepthNs * pipeDepthNs + 4.0 * offset * offset / (velocity * velocity));
    for (int i = 0; i < samples; ++i) {
        const double t = (i - timeZero) * kIntervalNs;
        const double value = 12000.0 * Ricker(t) + 4000.0 * Ricker(t - 40.0) +
                             6000.0 * Ricker(t - pipeNs) / (1.0 + 0.2 * std::fabs(offset)) +
                             150.0 * std::sin(0.37 * i + along);
        trace[i] = static_cast<int16_t>(std::lround(std::max(-32767.0, std::min(32767.0, value))));
    }
    return trace;
}

bool WriteTraces(const std::string& path, const DemoShape& shape, double start, int timeZero) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int n = 0; n < shape.tracesPerFile; ++n) {
        // A 128-byte trace header: trace number, position, samples, then zeros.
        float header[32] = {};
        header[0] = static_cast<float>(n + 1);
        header[1] = static_cast<float>(start + n * kStep);
        header[2] = static_cast<float>(shape.samplesPerTrace);
        out.write(reinterpret_cast<const char*>(header), sizeof header);
        const std::vector<int16_t> trace =
            Trace(start + n * kStep, shape.samplesPerTrace, timeZero);
        out.write(reinterpret_cast<const char*>(trace.data()),
                  static_cast<std::streamsize>(trace.size() * sizeof(int16_t)));
    }
    return static_cast<bool>(out);
}

}  // namespace

std::vector<std::string> WriteDemoSurvey(const std::string& folder, const DemoShape& shape,
                                         std::string& error) {
    namespace fs = boost::filesystem;
    boost::system::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot create " + folder + ": " + ec.message();
        return {};
    }
    const int timeZero = 25;
    const double fileLength = shape.tracesPerFile * kStep;
    std::vector<std::string> files;
    for (int line = 1; line <= shape.lines; ++line) {
        for (int seq = 1; seq <= shape.filesPerLine; ++seq) {
            const double start = (seq - 1) * fileLength;
            auto param = boost::make_shared<ZAR::SGprParam>();
            param->NumTraces = static_cast<uint32_t>(shape.tracesPerFile);
            param->SamplesPerTrace = static_cast<uint32_t>(shape.samplesPerTrace);
            param->TimeZero = timeZero;
            param->TimeWindowNs = shape.samplesPerTrace * kIntervalNs;
            param->SamplingIntervalNs = kIntervalNs;
            param->StartPosition = ZAR::SMeasure(start, 1);
            param->EndPosition = ZAR::SMeasure(start + fileLength - kStep, 1);
            param->StepSize = ZAR::SMeasure(kStep, 1);
            param->FrequencyMHz = kFrequencyMHz;
            param->AntennaSeparation = ZAR::SMeasure(0.38, 1);
            param->PulserVoltage = 400;
            param->Stacks = 16;
            param->SurveyMode = "Reflection";
            param->OdometerTicksPerMetre = 500;
            param->DateTime = ZAR::CDateTime::GetCurrentTime().Format("%Y-%m-%d %H:%M:%S");
            ZAR::GprParam header;
            header.SetGprParam(param);
            const std::string base =
                (fs::path(folder) / ("DEMOC" + std::to_string(line) + "B" + std::to_string(seq)))
                    .string();
            if (header.Save(base + ".HD") != 0 ||
                !WriteTraces(base + ".DT1", shape, start, timeZero)) {
                error = "cannot write " + base;
                return {};
            }
            files.push_back(base + ".DT1");
        }
    }
    const std::string sen = (fs::path(folder) / "DEMOC1B1.sen").string();
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

int RunDemo(const std::string& folder, std::ostream& out) {
    std::string error;
    const std::vector<std::string> files = WriteDemoSurvey(folder, DemoShape(), error);
    if (files.empty()) {
        std::cerr << "svy demo: " << error << "\n";
        return 1;
    }
    out << "Sample survey: " << files.size() << " radar and odometer files in " << folder << "\n";
    CreateOptions options;
    options.output = (boost::filesystem::path(folder) / "demo.svy").string();
    options.inputs = files;
    options.dataDir = folder;
    options.lineSpacing = kLineSpacing;
    options.createdBy = "svy demo";
    if (const int status = RunCreate(options, out))
        return status;

    ProjectSummary summary;
    if (!SummarizeProject(options.output, summary, error)) {
        std::cerr << "svy demo: " << error << "\n";
        return 1;
    }
    out << "\n";
    PrintSummary(summary, out);
    return 0;
}

}  // namespace svy_tool
